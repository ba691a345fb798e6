// Editing the command lines of the open page and the views' pop-up menus.
#include "commands/command_chooser.h"
#include "document/comic_editing.h"
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

int TfrmMain::focusedLine() const {
    return lstCmdList_->focusedIndex();
}

EditPlace TfrmMain::focusedPlace() const {
    return {file_.currentBook, file_.currentPage, focusedLine()};
}

void TfrmMain::showLineEdit(const EditVerdict& verdict) {
    RefreshCommandList(verdict.done() ? verdict.focus->line : -1);
}

void TfrmMain::menuCmdInsertClick() {
    showLineEdit(insertEmptyLine(objects_.comic, focusedPlace()));
}

void TfrmMain::menuCmdAddClick() {
    showLineEdit(appendEmptyLine(objects_.comic, focusedPlace()));
}

void TfrmMain::InsertNewCommand(const std::string& text, CmdKind kind) {
    const std::string line = frmCommand_->EditCommand(text, kind);
    if (frmCommand_->confirmed())
        showLineEdit(insertLineAfter(objects_.comic, focusedPlace(), line));
    UpdateStatus();
}

void TfrmMain::EditCommandAt() {
    const EditPlace focused = focusedPlace();
    if (focused.line >= 0) {
        const std::string current =
            objects_.comic.GetCommand(focused.book, focused.page, focused.line);
        const std::string line =
            frmCommand_->EditCommand(current, TCmdCtrl::GetCommandKind(current));
        if (frmCommand_->confirmed())
            showLineEdit(setLine(objects_.comic, focused, line));
    }
    UpdateStatus();
}

void TfrmMain::menuDeleteClick() {
    showLineEdit(deleteLines(objects_.comic, focusedPlace(), lstCmdList_->selectedRows()));
}

void TfrmMain::menuCopyClick() {
    objects_.clipboard = copyLines(objects_.comic, focusedPlace(), lstCmdList_->selectedRows());
    UpdateMenuState();
}

void TfrmMain::menuCutClick() {
    showLineEdit(
        cutLines(objects_.comic, focusedPlace(), lstCmdList_->selectedRows(), objects_.clipboard));
}

void TfrmMain::menuPasteClick() {
    showLineEdit(pasteLines(objects_.comic, focusedPlace(), objects_.clipboard));
}

void TfrmMain::menuCmdPaletteAddClick() {
    const EditPlace focused = focusedPlace();
    if (focused.line < 0)
        return;
    const std::string line = objects_.comic.GetCommand(focused.book, focused.page, focused.line);
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
    lstCmdList_->addAction(actions_->menuDelete);
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
    UpdateStatus();
    actions_->listPopup->popup(lstCmdList_->viewport()->mapToGlobal(position));
}

void TfrmMain::showTreeMenu(const QPoint& position) {
    actions_->treePopup->popup(treeView_->viewport()->mapToGlobal(position));
}

} // namespace pagora
