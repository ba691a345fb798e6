#pragma once

#include "editor/file_history.h"

#include <QObject>
#include <array>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace pagora {

// The main window's menus and tool bar. Menu items and the tool buttons that
// do the same thing share one action (named as the menu item); each hint is
// "short text|long text": the short text is the tooltip, the long text goes
// to the status bar.
class MainActions : public QObject {
    Q_OBJECT

public:
    explicit MainActions(QMainWindow& window);

    // ファイル
    QAction* menuNewFile;
    QAction* menuFileOpen;
    QAction* menuFileSave;
    QAction* menuFileSaveName;
    QAction* menuPlayerExecFirst;
    QAction* menuErrorCheck;
    QAction* menuPackageMake;
    QAction* menuHistoryLine; // the separator before the history
    std::array<QAction*, 3> menuHistory;
    QAction* menuExit;
    // 編集
    QAction* menuUndo;
    QAction* menuRedo;
    QAction* menuCut;
    QAction* menuCopy;
    QAction* menuPaste;
    QAction* menuDelete;
    QAction* menuCmdPaletteAdd;
    // コマンド
    QAction* menuCmdEdit;
    QAction* menuCmdInsert;
    QAction* menuCmdAdd;
    QAction* menuCmdPaletteShow;
    // ページ
    QAction* menuAddBook;
    QAction* menuAddPage;
    QAction* menuBookDelete;
    QAction* menuPageDelete;
    QAction* menuBookRename;
    QAction* menuPageRename;
    // オプション
    QAction* menuSystemSetting;
    QAction* menuFlagSetting;
    QAction* menuWindowSetting;
    QAction* menuMenuSetting;
    QAction* menuCondition;
    QAction* menuSetupWiz;
    // ヘルプ
    QAction* menuHelpContents;
    QAction* menuHelpKeyword;
    QAction* menuHelpOnHelp;
    QAction* menuVersion;

    QToolBar* toolBar;
    // The pop-up menus of the command list and of the tree.
    QMenu* listPopup;
    QMenu* treePopup;

    // Shows the filled entries of the history; items once shown stay shown.
    void rebuildHistory(const FileHistory& history);
    // Enables the list commands by the number of selected lines and whether
    // the command clipboard holds anything.
    void UpdateMenuState(int selectedLines, bool clipboardEmpty);

    // Names the step each would take back or again (CP932 labels, empty for
    // none) and enables each only when there is such a step.
    void UpdateUndoState(const std::string& undoLabel, const std::string& redoLabel);

    // Whether the command behind an action is part of this editor yet.
    static bool isBuilt(const QAction& action);

private:
    QAction* makeAction(const char* name, const QString& caption, const QString& hint);
    void addToolButton(QAction* action, const char* buttonName, const char* icon);
    QAction* addHiddenToolButton(QAction* action, const char* buttonName, const char* icon);
    void buildMenus(QMainWindow& window);
    void buildToolBar();
    void buildPopups();
    // An item of a pop-up menu that does what action does, under its own caption.
    void addPopupItem(QMenu* menu, QAction* action, const char* name, const QString& caption);
    static void markNotBuilt(QAction* action);

    QMainWindow& window_;
};

} // namespace pagora
