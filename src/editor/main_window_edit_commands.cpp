// Editing the command lines of the open page and the views' pop-up menus.
#include "commands/command_chooser.h"
#include "editor/comic_tree_view.h"
#include "editor/command_list_view.h"
#include "editor/command_palette.h"
#include "editor/main_actions.h"
#include "editor/main_window.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <QAction>
#include <QMenu>

namespace pagora {
namespace {

constexpr std::string_view kEmptyLine = "// ";

} // namespace

int TfrmMain::focusedLine() const {
    return lstCmdList_->focusedIndex();
}

void TfrmMain::menuCmdInsertClick() {
    objects_.comic.InsertCommand(session_.currentBook, session_.currentPage,
                                 std::max(focusedLine(), 0));
    RefreshCommandList(-1);
}

void TfrmMain::menuCmdAddClick() {
    TComicFileCtrl& comic = objects_.comic;
    comic.AppendCommand(session_.currentBook, session_.currentPage);
    RefreshCommandList(comic.GetCommandCount(session_.currentBook, session_.currentPage) - 1);
}

void TfrmMain::InsertNewCommand(const std::string& text, CmdKind kind) {
    const std::string line = frmCommand_->EditCommand(text, kind);
    if (frmCommand_->confirmed()) {
        TComicFileCtrl& comic = objects_.comic;
        const std::string& book = session_.currentBook;
        const std::string& page = session_.currentPage;
        const int count = comic.GetCommandCount(book, page);
        const int focused = focusedLine();
        int index = 0;
        if (focused + 1 < count) {
            index = focused + 1;
            comic.InsertCommand(book, page, index);
        } else {
            comic.AppendCommand(book, page);
            index = count;
        }
        comic.SetCommand(book, page, line, index);
        RefreshCommandList(index);
    }
    UpdateStatus();
}

void TfrmMain::EditCommandAt() {
    const int focused = focusedLine();
    if (focused >= 0) {
        TComicFileCtrl& comic = objects_.comic;
        const std::string& book = session_.currentBook;
        const std::string& page = session_.currentPage;
        const std::string current = comic.GetCommand(book, page, focused);
        const std::string line =
            frmCommand_->EditCommand(current, TCmdCtrl::GetCommandKind(current));
        if (frmCommand_->confirmed()) {
            comic.SetCommand(book, page, line, focused);
            RefreshCommandList(-1);
        }
    }
    UpdateStatus();
}

void TfrmMain::menuDeleteClick() {
    TComicFileCtrl& comic = objects_.comic;
    const std::string& book = session_.currentBook;
    const std::string& page = session_.currentPage;
    const std::vector<int> rows = lstCmdList_->selectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        comic.DeleteCommand(book, page, *row);
    if (comic.GetCommandCount(book, page) == 0)
        comic.AppendCommand(book, page);
    if (!rows.empty())
    RefreshCommandList(-1);
}

void TfrmMain::menuCopyClick() {
    std::vector<std::string>& clipboard = objects_.clipboard;
    clipboard.clear();
    for (const int row : lstCmdList_->selectedRows())
        clipboard.push_back(
            objects_.comic.GetCommand(session_.currentBook, session_.currentPage, row));
    UpdateMenuState();
}

void TfrmMain::menuCutClick() {
    menuCopyClick();
    menuDeleteClick();
}

void TfrmMain::menuPasteClick() {
    const std::vector<std::string>& clipboard = objects_.clipboard;
    if (clipboard.empty())
        return;
    TComicFileCtrl& comic = objects_.comic;
    const int at = std::max(focusedLine(), 0);
    for (auto line = clipboard.rbegin(); line != clipboard.rend(); ++line) {
        comic.InsertCommand(session_.currentBook, session_.currentPage, at);
        comic.SetCommand(session_.currentBook, session_.currentPage, *line, at);
    }
    RefreshCommandList(at);
}

void TfrmMain::menuCmdPaletteAddClick() {
    const int focused = focusedLine();
    if (focused < 0)
        return;
    const std::string line =
        objects_.comic.GetCommand(session_.currentBook, session_.currentPage, focused);
    const std::optional<std::string> name = services_.prompter.inputText(
        PAGORA_CP932("コマンドパレットに登録"),
        PAGORA_CP932("コマンドパレットへの登録名を入力して下さい"), "");
    if (!name || name->empty())
        return;
    frmCmdPalette_->AddPaletteEntry(line, *name);
    frmCmdPalette_->show();
}

void TfrmMain::menuCmdPaletteShowClick() {
    frmCmdPalette_->show();
}

void TfrmMain::connectEditing() {
    MainActions& a = *actions_;
    connectCommand(a.menuAddBook, &TfrmMain::menuAddBookClick);
    connectCommand(a.menuAddPage, &TfrmMain::menuAddPageClick);
    connectCommand(a.menuBookDelete, &TfrmMain::menuBookDeleteClick);
    connectCommand(a.menuPageDelete, &TfrmMain::menuPageDeleteClick);
    connectCommand(a.menuBookRename, &TfrmMain::menuBookRenameClick);
    connectCommand(a.menuPageRename, &TfrmMain::menuPageRenameClick);
    connectCommand(a.menuCmdInsert, &TfrmMain::menuCmdInsertClick);
    connectCommand(a.menuCmdAdd, &TfrmMain::menuCmdAddClick);
    connectCommand(a.menuDelete, &TfrmMain::menuDeleteClick);
    connectCommand(a.menuCopy, &TfrmMain::menuCopyClick);
    connectCommand(a.menuCut, &TfrmMain::menuCutClick);
    connectCommand(a.menuPaste, &TfrmMain::menuPasteClick);
    connectCommand(a.menuCmdEdit, &TfrmMain::EditCommandAt);
    connectCommand(a.menuCmdPaletteAdd, &TfrmMain::menuCmdPaletteAddClick);
    connectCommand(a.menuCmdPaletteShow, &TfrmMain::menuCmdPaletteShowClick);
    lstCmdList_->addAction(a.menuDelete);
    connect(lstCmdList_, &QAbstractItemView::doubleClicked, this,
            [this] { guarded([&] { EditCommandAt(); }); });

    lstCmdList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstCmdList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showListMenu(position); });
    connect(treeView_, &ComicTreeView::nodeDropped, this,
            [this](QTreeWidgetItem* source, QTreeWidgetItem* target) {
                guarded([&] { TreeViewDragDrop(source, target); });
            });
    treeView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treeView_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showTreeMenu(position); });
}

void TfrmMain::showListMenu(const QPoint& position) {
    MainActions& a = *actions_;
    UpdateStatus();
    a.listPopup->popup(lstCmdList_->viewport()->mapToGlobal(position));
}

void TfrmMain::showTreeMenu(const QPoint& position) {
    actions_->treePopup->popup(treeView_->viewport()->mapToGlobal(position));
}

} // namespace pagora
