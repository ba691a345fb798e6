// Adding, deleting, renaming and moving books and pages.
#include "document/comic_editing.h"
#include "editor/comic_tree_view.h"
#include "editor/main_window.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

namespace pagora {
namespace {

// What the window asks the user about a book or a page.
struct NodeQuestions {
    const std::string& addCaption;
    const std::string& addPrompt;
    const std::string& renameCaption;
    const std::string& renamePrompt;
    const std::string& deleteQuestion;
};

const NodeQuestions& questionsFor(TreeLevel level) {
    static const NodeQuestions book{
        PAGORA_CP932("ブック名の入力"),
        PAGORA_CP932("新しく追加するブックの名前を入力してください"),
        PAGORA_CP932("ブック名の変更"), PAGORA_CP932("新しいブック名を入力してください"),
        PAGORA_CP932("現在開いているブックを削除します\r\nよろしいですか？")};
    static const NodeQuestions page{
        PAGORA_CP932("ページ名の入力"),
        PAGORA_CP932("新しく追加するページの名前を入力してください"),
        PAGORA_CP932("ページ名の変更"), PAGORA_CP932("新しいページ名を入力してください"),
        PAGORA_CP932("現在開いているページを削除します\r\nよろしいですか？")};
    return level == TreeLevel::Page ? page : book;
}

const std::string& anotherBookQuestion() {
    return PAGORA_CP932("別のブックに移動しようとしています\n"
                        "このページ内に選択肢コマンドがある場合や、\n"
                        "このページに移動するコマンドが存在する場合\n"
                        "正しく動作できなくなるかもしれません。\n"
                        "ページを移動してよろしいですか？");
}

TreeNode treeNodeOf(const QTreeWidgetItem& item) {
    switch (ComicTreeView::levelOf(item)) {
    case ComicTreeView::PageLevel:
        return {TreeLevel::Page, ComicTreeView::nameOf(*item.parent()),
                ComicTreeView::nameOf(item)};
    case ComicTreeView::BookLevel:
        return {TreeLevel::Book, ComicTreeView::nameOf(item), {}};
    case ComicTreeView::RootLevel:
        break;
    }
    return {};
}

} // namespace

bool TfrmMain::showRefusal(const std::optional<EditMessage>& refusal) {
    if (refusal)
        services_.prompter.message(refusal->kind, refusal->text, Buttons::Ok);
    return refusal.has_value();
}

bool TfrmMain::applyVerdict(const EditVerdict& verdict) {
    showRefusal(verdict.refusal);
    return verdict.done();
}

TreeNode TfrmMain::openNode(TreeLevel level) const {
    return TreeNode::openAt(level, {file_.currentBook, file_.currentPage, -1});
}

void TfrmMain::addTreeNode(TreeLevel level) {
    const TreeNode open = openNode(level);
    const NodeQuestions& questions = questionsFor(level);
    const std::optional<std::string> name = services_.prompter.inputText(
        questions.addCaption, questions.addPrompt, proposeName(objects_.comic, open));
    // The open page stays open.
    if (name && applyVerdict(addNode(objects_.comic, objects_.syntax, open.named(*name))))
        RefreshAll();
}

void TfrmMain::renameTreeNode(TreeLevel level) {
    const TreeNode open = openNode(level);
    if (showRefusal(checkRename(objects_.comic, open)))
        return;
    const NodeQuestions& questions = questionsFor(level);
    const std::string name =
        services_.prompter.inputText(questions.renameCaption, questions.renamePrompt, open.name())
            .value_or(open.name());
    if (const std::optional<EditVerdict> problem =
            renameProblem(objects_.comic, objects_.syntax, open, name)) {
        applyVerdict(*problem);
        return;
    }
    const std::optional<ReferenceUpdate> update = askReferenceUpdate(referenceTarget(open));
    if (!update)
        return;
    const RenameVerdict renamed =
        renameNodeAndReferences(objects_.comic, objects_.syntax, open, name, *update);
    // The renamed book or page stays open.
    if (applyRename(renamed))
        showTreeEdit(*renamed.verdict.focus);
}

void TfrmMain::deleteTreeNode(TreeLevel level) {
    const TreeNode open = openNode(level);
    if (showRefusal(checkDelete(objects_.comic, open)))
        return;
    const std::string question =
        referencesLine(referenceTarget(open),
                       level == TreeLevel::Page ? PAGORA_CP932("このページ")
                                                : PAGORA_CP932("このブック"),
                       "\r\n") +
        questionsFor(level).deleteQuestion;
    if (services_.prompter.message(MessageKind::Information, question, Buttons::YesNo) !=
        Answer::Yes)
        return;
    const EditVerdict verdict = deleteNode(objects_.comic, open);
    if (applyVerdict(verdict))
        showTreeEdit(*verdict.focus);
}

void TfrmMain::showTreeEdit(const EditPlace& focus) {
    file_.currentBook = focus.book;
    if (!focus.page.empty())
        file_.currentPage = focus.page;
    RefreshAll();
}

void TfrmMain::menuAddBookClick() {
    addTreeNode(TreeLevel::Book);
}

void TfrmMain::menuAddPageClick() {
    addTreeNode(TreeLevel::Page);
}

void TfrmMain::menuBookDeleteClick() {
    deleteTreeNode(TreeLevel::Book);
}

void TfrmMain::menuPageDeleteClick() {
    deleteTreeNode(TreeLevel::Page);
}

void TfrmMain::menuBookRenameClick() {
    renameTreeNode(TreeLevel::Book);
}

void TfrmMain::menuPageRenameClick() {
    renameTreeNode(TreeLevel::Page);
}

void TfrmMain::TreeViewDragDrop(QTreeWidgetItem* source, QTreeWidgetItem* target) {
    if (source == nullptr || target == nullptr)
        return;
    TComicFileCtrl& comic = objects_.comic;
    const std::optional<TreeMove> move =
        decodeDrop(comic, treeNodeOf(*source), treeNodeOf(*target));
    if (!move || showRefusal(checkMove(comic, *move)))
        return;
    if (move->toAnotherBook() &&
        services_.prompter.message(MessageKind::Warning, anotherBookQuestion(), Buttons::YesNo) !=
            Answer::Yes)
        return;
    const EditVerdict verdict = moveNode(comic, *move);
    if (!applyVerdict(verdict))
        return;
    BuildTree();
    if (move->source.level == TreeLevel::Page) {
        OpenPage(verdict.focus->book, verdict.focus->page, -1);
        return;
    }
    // A moved book leaves the open page open.
    treeView_->expandItem(treeView_->topLevelItem(0));
    Reanchor();
}

} // namespace pagora
