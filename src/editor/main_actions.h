#pragma once

#include "editor/file_history.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <array>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace pagora {

class TfrmMain;

// What the enabled rules of the main window's actions look at.
struct MenuState {
    int selectedLines = 0;
    bool clipboardEmpty = true;
    // The steps undo and redo would take back or again (CP932, empty for none).
    std::string undoLabel;
    std::string redoLabel;
};

// The main window's menus, tool bar and pop-up menus, built from one table of
// actions. Menu items and the tool buttons that do the same thing share one
// action (named as the menu item); each hint is "short text|long text": the
// short text is the tooltip, the long text goes to the status bar.
class MainActions : public QObject {
    Q_OBJECT

public:
    // The tool button of an action. A hidden twin is a button of its own
    // that is on the tool bar but not shown.
    struct ToolButton {
        const char* name = nullptr; // none: the action has no button
        const char* icon = nullptr;
        bool hidden = false;
    };

    // One action of the main window. Captions and hints are UTF-8.
    struct Row {
        const char* name; // the action's objectName
        // The member below that keeps the action for the program, if any.
        QAction* MainActions::*member = nullptr;
        const char* caption;
        const char* hint;
        QList<QKeySequence> shortcuts{};
        Qt::ShortcutContext shortcutContext = Qt::WindowShortcut;
        ToolButton button{};
        // What the action runs. A command that is not part of the editor yet
        // has none and its action stays disabled.
        void (TfrmMain::*handler)() = nullptr;
        // When the action may run; none: whenever it is built.
        bool (*enabled)(const MenuState&) = nullptr;
        // The step the caption names after " - " (for undo and redo).
        std::string MenuState::*step = nullptr;
    };

    // A row and the action made from it.
    struct Entry {
        const Row* row;
        QAction* action;
    };

    explicit MainActions(QMainWindow& window);

    // Every action of the main window, in the order they are made.
    static const std::vector<Row>& rows();
    static bool isEnabled(const Row& row, const MenuState& state);
    // The caption of a row's action in a state.
    static QString caption(const Row& row, const MenuState& state);

    const std::vector<Entry>& entries() const { return entries_; }

    // Re-evaluates every action's caption and enabled flag from its row.
    void update(const MenuState& state);
    // Shows the filled entries of the history; items once shown stay shown.
    void rebuildHistory(const FileHistory& history);

    // ファイル
    QAction* menuNewFile = nullptr;
    QAction* menuFileOpen = nullptr;
    QAction* menuFileSave = nullptr;
    QAction* menuFileSaveName = nullptr;
    QAction* menuPlayerExecFirst = nullptr;
    QAction* menuPreview = nullptr;
    QAction* menuPreviewStart = nullptr;
    QAction* menuErrorCheck = nullptr;
    QAction* menuPackageMake = nullptr;
    QAction* menuHistoryLine = nullptr; // the separator before the history
    std::array<QAction*, 3> menuHistory{};
    QAction* menuExit = nullptr;
    // 編集
    QAction* menuUndo = nullptr;
    QAction* menuRedo = nullptr;
    QAction* menuCut = nullptr;
    QAction* menuCopy = nullptr;
    QAction* menuPaste = nullptr;
    QAction* menuDelete = nullptr;
    QAction* menuCmdPaletteAdd = nullptr;
    QAction* menuFind = nullptr;
    QAction* menuFindNext = nullptr;
    // コマンド
    QAction* menuCmdEdit = nullptr;
    QAction* menuCmdInsert = nullptr;
    QAction* menuCmdAdd = nullptr;
    QAction* menuCmdPaletteShow = nullptr;
    // ページ
    QAction* menuAddBook = nullptr;
    QAction* menuAddPage = nullptr;
    QAction* menuBookDelete = nullptr;
    QAction* menuPageDelete = nullptr;
    QAction* menuBookRename = nullptr;
    QAction* menuPageRename = nullptr;
    QAction* menuPageReferences = nullptr;
    // オプション
    QAction* menuSystemSetting = nullptr;
    QAction* menuFlagSetting = nullptr;
    QAction* menuWindowSetting = nullptr;
    QAction* menuMenuSetting = nullptr;
    QAction* menuCondition = nullptr;
    QAction* menuSetupWiz = nullptr;
    // ヘルプ
    QAction* menuHelpContents = nullptr;
    QAction* menuHelpKeyword = nullptr;
    QAction* menuHelpOnHelp = nullptr;
    QAction* menuVersion = nullptr;

    QToolBar* toolBar = nullptr;
    // The pop-up menus of the command list and of the tree.
    QMenu* listPopup = nullptr;
    QMenu* treePopup = nullptr;

private:
    QAction* makeAction(const Row& row);
    const Entry& entry(std::string_view name) const;
    // Adds the named actions, separators and (in the file menu) the history.
    void addItems(QMenu& menu, const std::vector<std::string_view>& items);
    void addHistory(QMenu& menu);
    void buildMenus(QMainWindow& window);
    void buildToolBar();
    void addToolButton(const Entry& entry);
    void buildPopups();
    // Makes follower run action and be enabled with it.
    void follow(QAction& follower, QAction& action);

    QMainWindow& window_;
    std::vector<Entry> entries_;
};

} // namespace pagora
