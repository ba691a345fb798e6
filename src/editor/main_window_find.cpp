// Finding texts, listing references, and the questions of renames that
// rewrite them.
#include "document/comic_find.h"
#include "editor/find_dialog.h"
#include "editor/main_window.h"
#include "editor/results_panel.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

namespace pagora {

void TfrmMain::showResults(ResultsQuery query) {
    const bool firstShown = pnlResultList_->isHidden();
    pnlResultList_->showResults(std::move(query), objects_.comic.ChangeCount());
    // The panel comes up at a quarter of the window, leaving the views room.
    if (firstShown)
        resizeDocks({pnlResultList_}, {height() / 4}, Qt::Vertical);
}

void TfrmMain::menuFindClick() {
    TfrmFind dialog(services_, this);
    const std::optional<FindRequest> request = dialog.run(lastFind_.value_or(FindRequest{}));
    if (!request)
        return;
    lastFind_ = request;
    showResults(
        {QStringLiteral("「%1」の検索結果").arg(qtText(request->text)),
         [this, found = *request] { return findText(objects_.comic, found.text, found.options); },
         TextMatcher(request->text, request->options.matchCase)});
}

void TfrmMain::menuFindNextClick() {
    if (!lastFind_) {
        menuFindClick();
        return;
    }
    const std::optional<FoundLine> found =
        findNext(objects_.comic, lastFind_->text, lastFind_->options, focusedPlace());
    if (!found) {
        services_.prompter.information(PAGORA_CP932("「") + lastFind_->text +
                                       PAGORA_CP932("」は見つかりませんでした"));
        return;
    }
    OpenPage(found->book, found->page, found->line);
}

void TfrmMain::menuPageReferencesClick() {
    const TreeNode page = openNode(TreeLevel::Page);
    showResults(
        {QStringLiteral("ページ「%1 / %2」への参照").arg(qtText(page.book), qtText(page.page)),
         [this, target = referenceTarget(page)] { return findReferences(objects_.comic, target); },
         std::nullopt});
}

void TfrmMain::lstResultListDblClick() {
    const FoundLine* found = pnlResultList_->currentResult();
    if (found == nullptr || found->inHeader() ||
        !objects_.comic.PageExists(found->book, found->page))
        return;
    OpenPage(found->book, found->page, found->line);
}

std::string TfrmMain::referencesLine(const NameTarget& target, const std::string& what,
                                     const std::string& lineBreak) const {
    const int lines = countReferencingLines(objects_.comic, target);
    if (lines == 0)
        return {};
    return what + PAGORA_CP932("を参照している行が ") + std::to_string(lines) +
           PAGORA_CP932(" 行あります") + lineBreak;
}

std::optional<ReferenceUpdate> TfrmMain::askReferenceUpdate(const NameTarget& target) {
    const int lines = countReferencingLines(objects_.comic, target);
    if (lines == 0)
        return ReferenceUpdate::Keep;
    const std::string question =
        PAGORA_CP932("参照している ") + std::to_string(lines) + PAGORA_CP932(" 行も変更しますか？");
    switch (services_.prompter.message(MessageKind::Confirmation, question, Buttons::YesNoCancel)) {
    case Answer::Yes:
        return ReferenceUpdate::Rewrite;
    case Answer::No:
        return ReferenceUpdate::Keep;
    default:
        return std::nullopt;
    }
}

bool TfrmMain::applyRename(const RenameVerdict& renamed) {
    if (!applyVerdict(renamed.verdict))
        return false;
    showLeftAlone(renamed.references);
    return true;
}

void TfrmMain::showLeftAlone(const ReferenceRewrite& references) {
    const std::vector<EditPlace>& leftAlone = references.leftAlone;
    if (leftAlone.empty())
        return;
    QuietPrompter quiet;
    TCmdCtrl syntax(quiet);
    std::vector<FoundLine> lines;
    for (const EditPlace& place : leftAlone)
        lines.push_back({place.book, place.page, place.line,
                         displayTextOf(syntax, objects_.comic.PeekCommand(place.book, place.page,
                                                                          place.line))});
    // A fixed list: these lines are not looked for again after later edits.
    showResults({QStringLiteral("変更されなかった参照"),
                 [lines = std::move(lines)] { return lines; }, std::nullopt});
    services_.prompter.warning(std::to_string(leftAlone.size()) +
                               PAGORA_CP932(" 行は読み取れないか、パゴラの書く形と違うため、"
                                            "変更しませんでした\n変更しなかった行は検索結果に"
                                            "表示しています"));
}

EditVerdict TfrmMain::renameVariableAsked(VariableKind kind, std::string_view oldName,
                                          std::string_view newName) {
    TComicFileCtrl& comic = objects_.comic;
    if (std::optional<EditVerdict> problem =
            variableRenameProblem(comic, objects_.syntax, kind, oldName, newName))
        return *problem;
    const std::optional<ReferenceUpdate> update =
        askReferenceUpdate({nameKindOf(kind), std::string(oldName)});
    if (!update)
        return EditVerdict::unchanged();
    const RenameVerdict renamed =
        renameVariable(comic, objects_.syntax, kind, oldName, newName, *update);
    if (renamed.verdict.done())
        showLeftAlone(renamed.references);
    return renamed.verdict;
}

} // namespace pagora
