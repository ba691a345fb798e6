// Adding, deleting, renaming and moving books and pages.
#include "editor/comic_tree_view.h"
#include "editor/main_window.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <algorithm>

namespace pagora {
namespace {

constexpr std::string_view kComicBlock = "Comic";

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The base followed by the smallest number from 1 that no name uses yet.
std::string proposeName(const std::string& base, const std::vector<std::string>& names) {
    for (int k = 1;; ++k) {
        std::string name = base + std::to_string(k);
        if (!contains(names, name))
            return name;
    }
}

const std::string& bookInUseMessage() {
    return PAGORA_CP932("指定されたブック名はすでに使用されてます。");
}

const std::string& pageInUseMessage() {
    return PAGORA_CP932("指定されたページ名はすでに使用されてます。");
}

} // namespace

std::string TfrmMain::startBook() {
    return objects_.comic.ReadHeader(kComicBlock, "StartBook", PAGORA_CP932("スタートブック"));
}

std::string TfrmMain::startPage() {
    return objects_.comic.ReadHeader(kComicBlock, "StartPage", PAGORA_CP932("スタートページ"));
}

void TfrmMain::menuAddBookClick() {
    TComicFileCtrl& comic = objects_.comic;
    const std::vector<std::string> books = comic.GetBookList();
    const std::optional<std::string> name =
        services_.prompter.inputText(PAGORA_CP932("ブック名の入力"),
                                     PAGORA_CP932("新しく追加するブックの名前を入力してください"),
                                     proposeName(PAGORA_CP932("ブック"), books));
    if (!name || !objects_.syntax.CheckName(*name))
        return;
    if (contains(books, *name)) {
        services_.prompter.warning(bookInUseMessage());
        return;
    }
    if (!comic.AddBook(*name))
        return;
    RefreshAll();
}

void TfrmMain::menuAddPageClick() {
    TComicFileCtrl& comic = objects_.comic;
    const std::vector<std::string> pages = comic.GetPageList(session_.currentBook);
    const std::optional<std::string> name =
        services_.prompter.inputText(PAGORA_CP932("ページ名の入力"),
                                     PAGORA_CP932("新しく追加するページの名前を入力してください"),
                                     proposeName(PAGORA_CP932("ページ"), pages));
    if (!name || !objects_.syntax.CheckName(*name))
        return;
    if (contains(pages, *name)) {
        services_.prompter.warning(pageInUseMessage());
        return;
    }
    if (!comic.AddPage(session_.currentBook, *name))
        return;
    RefreshAll();
}

void TfrmMain::menuBookDeleteClick() {
    TComicFileCtrl& comic = objects_.comic;
    Prompter& prompter = services_.prompter;
    if (comic.GetBookList().size() == 1) {
        prompter.information(PAGORA_CP932("コミックには、最低１つのブックが必要です。\r\n"
                                          "ブックを削除することはできません。"));
        return;
    }
    if (startBook() == session_.currentBook) {
        prompter.information(
            PAGORA_CP932("指定されたブックは、\r\nスタートブックに設定されています。"
                         "\r\n削除することはできません。"));
        return;
    }
    if (prompter.message(MessageKind::Information,
                         PAGORA_CP932("現在開いているブックを削除します\r\nよろしいですか？"),
                         Buttons::YesNo) != Answer::Yes)
        return;
    comic.DeleteBook(session_.currentBook);
    RefreshAll();
}

void TfrmMain::menuPageDeleteClick() {
    TComicFileCtrl& comic = objects_.comic;
    Prompter& prompter = services_.prompter;
    if (comic.GetPageList(session_.currentBook).size() == 1) {
        prompter.information(PAGORA_CP932("ブックには、最低１つのページが必要です。\r\n"
                                          "ページを削除することはできません。"));
        return;
    }
    if (startBook() == session_.currentBook && startPage() == session_.currentPage) {
        prompter.information(
            PAGORA_CP932("指定されたページは、\r\nスタートページに設定されています。"
                         "\r\n削除することはできません。"));
        return;
    }
    if (prompter.message(MessageKind::Information,
                         PAGORA_CP932("現在開いているページを削除します\r\nよろしいですか？"),
                         Buttons::YesNo) != Answer::Yes)
        return;
    comic.DeletePage(session_.currentBook, session_.currentPage);
    RefreshAll();
}

void TfrmMain::menuBookRenameClick() {
    TComicFileCtrl& comic = objects_.comic;
    Prompter& prompter = services_.prompter;
    const std::string current = session_.currentBook;
    if (startBook() == current) {
        prompter.information(
            PAGORA_CP932("指定されたブックは、\r\nスタートブックに設定されています。"
                         "\r\n名前を変更することはできません。"));
        return;
    }
    const std::string name =
        prompter
            .inputText(PAGORA_CP932("ブック名の変更"),
                       PAGORA_CP932("新しいブック名を入力してください"), current)
            .value_or(current);
    if (name == current || !objects_.syntax.CheckName(name))
        return;
    if (comic.BookExists(name)) {
        prompter.warning(bookInUseMessage());
        return;
    }
    comic.RenameBook(current, name);
    // The renamed book stays open.
    session_.currentBook = name;
    RefreshAll();
}

void TfrmMain::menuPageRenameClick() {
    TComicFileCtrl& comic = objects_.comic;
    Prompter& prompter = services_.prompter;
    const std::string current = session_.currentPage;
    if (startBook() == session_.currentBook && startPage() == current) {
        prompter.information(
            PAGORA_CP932("指定されたページは、\r\nスタートページに設定されています。"
                         "\r\n名前を変更することはできません。"));
        return;
    }
    const std::string name =
        prompter
            .inputText(PAGORA_CP932("ページ名の変更"),
                       PAGORA_CP932("新しいページ名を入力してください"), current)
            .value_or(current);
    if (name == current || !objects_.syntax.CheckName(name))
        return;
    if (comic.PageExists(session_.currentBook, name)) {
        prompter.warning(pageInUseMessage());
        return;
    }
    comic.RenamePage(session_.currentBook, current, name);
    // The renamed page stays open.
    session_.currentPage = name;
    RefreshAll();
}

void TfrmMain::TreeViewDragDrop(QTreeWidgetItem* source, QTreeWidgetItem* target) {
    if (source == nullptr || target == nullptr)
        return;
    const ComicTreeView::Level sourceLevel = ComicTreeView::levelOf(*source);
    const ComicTreeView::Level targetLevel = ComicTreeView::levelOf(*target);
    if (sourceLevel == ComicTreeView::RootLevel)
        return;
    const bool movingPage = sourceLevel == ComicTreeView::PageLevel;
    TComicFileCtrl& comic = objects_.comic;
    Prompter& prompter = services_.prompter;

    std::string targetBook;
    std::string targetPage;
    bool before = false;
    switch (targetLevel) {
    case ComicTreeView::PageLevel:
        targetBook = ComicTreeView::nameOf(*target->parent());
        targetPage = ComicTreeView::nameOf(*target);
        break;
    case ComicTreeView::BookLevel: {
        targetBook = ComicTreeView::nameOf(*target);
        const std::vector<std::string> pages = comic.GetPageList(targetBook);
        targetPage = pages.empty() ? std::string() : pages.front();
        before = movingPage;
        break;
    }
    case ComicTreeView::RootLevel: {
        if (movingPage)
            return;
        const std::vector<std::string> books = comic.GetBookList();
        if (books.empty())
            return;
        targetBook = books.front();
        before = true;
        break;
    }
    }

    if (!movingPage) {
        const std::string sourceBook = ComicTreeView::nameOf(*source);
        if (sourceBook == targetBook)
            return; // onto itself: nothing moves
        comic.MoveBook(targetBook, sourceBook, before);
        BuildTree();
        treeView_->expandItem(treeView_->topLevelItem(0));
        Reanchor();
        return;
    }

    const std::string sourcePage = ComicTreeView::nameOf(*source);
    const std::string sourceBook = ComicTreeView::nameOf(*source->parent());
    if (comic.GetPageList(sourceBook).size() == 1) {
        prompter.information(PAGORA_CP932("ブックには、最低１つのページが必要です。\r\n"
                                          "ページを移動することはできません。"));
        return;
    }
    if (targetBook != sourceBook) {
        if (comic.PageExists(targetBook, sourcePage)) {
            prompter.warning(PAGORA_CP932("移動先のブックに同名のページが存在します\n"
                                          "移動することはできません"));
            return;
        }
        if (prompter.message(MessageKind::Warning,
                             PAGORA_CP932("別のブックに移動しようとしています\n"
                                          "このページ内に選択肢コマンドがある場合や、\n"
                                          "このページに移動するコマンドが存在する場合\n"
                                          "正しく動作できなくなるかもしれません。\n"
                                          "ページを移動してよろしいですか？"),
                             Buttons::YesNo) != Answer::Yes)
            return;
    } else if (targetPage == sourcePage) {
        prompter.error(PAGORA_CP932("移動先と移動元のページが同じです\n移動することはできません"));
        return;
    }
    comic.MovePage(targetBook, targetPage, before, sourcePage, sourceBook);
    BuildTree();
    OpenPage(targetBook, sourcePage, -1);
}

} // namespace pagora
