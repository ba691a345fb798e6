#include "editor/main_actions.h"

#include "editor/editor_icons.h"
#include "gui/qt_text.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace pagora {
namespace {

constexpr char kNotBuilt[] = "pagoraNotBuilt";
constexpr int kToolButtonSize = 25;

void setHint(QAction* action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void setAvailable(QAction* action, bool available) {
    action->setEnabled(available && MainActions::isBuilt(*action));
}

} // namespace

MainActions::MainActions(QMainWindow& window)
    : QObject(&window)
    , window_(window) {
    menuNewFile = makeAction("menuNewFile", QStringLiteral("新規作成(&N)"),
                             QStringLiteral("新規作成|新しいコミックファイルを作成します"));
    menuFileOpen = makeAction("menuFileOpen", QStringLiteral("開く(&O)"),
                              QStringLiteral("開く|コミックファイルを開きます"));
    menuFileSave = makeAction("menuFileSave", QStringLiteral("上書き保存(&S)"),
                              QStringLiteral("上書き保存|コミックファイルを上書き保存します"));
    menuFileSaveName =
        makeAction("menuFileSaveName", QStringLiteral("名前を付けて保存(&A)"),
                   QStringLiteral("名前を付けて保存|コミックファイルに名前を付けて保存します"));
    menuPlayerExecFirst = makeAction(
        "menuPlayerExecFirst", QStringLiteral("プレーヤーの実行(&R)"),
        QStringLiteral("プレーヤーの実行|保存したコミックファイルをパゴラプレーヤーで実行します"));
    menuErrorCheck = makeAction("menuErrorCheck", QStringLiteral("エラーチェック(&E)"),
                                QStringLiteral("エラーチェック|コミック全体のエラーを調べます"));
    menuPackageMake = makeAction("menuPackageMake", QStringLiteral("パッケージの作成(&P)"),
                                 QStringLiteral("パッケージの作成|配布用のパッケージを作成します"));
    for (std::size_t i = 0; i < menuHistory.size(); ++i) {
        QAction* item =
            makeAction(("menuHistory" + std::to_string(i + 1)).c_str(), QString(), QString());
        item->setData(static_cast<int>(i));
        item->setVisible(false);
        menuHistory[i] = item;
    }
    menuExit = makeAction("menuExit", QStringLiteral("終了(&X)"),
                          QStringLiteral("終了|パゴラを終了します"));

    menuUndo = makeAction("menuUndo", QStringLiteral("元に戻す(&U)"),
                          QStringLiteral("元に戻す|直前の操作を取り消します"));
    menuRedo = makeAction("menuRedo", QStringLiteral("やり直し(&R)"),
                          QStringLiteral("やり直し|取り消した操作をやり直します"));
    menuCut = makeAction("menuCut", QStringLiteral("切り取り(&T)"),
                         QStringLiteral("切り取り|選択したコマンドを切り取ります"));
    menuCopy = makeAction("menuCopy", QStringLiteral("コピー(&C)"),
                          QStringLiteral("コピー|選択したコマンドをコピーします"));
    menuPaste =
        makeAction("menuPaste", QStringLiteral("貼り付け(&P)"),
                   QStringLiteral("貼り付け|コピーしたコマンドを選択した行の前に貼り付けます"));
    menuDelete = makeAction("menuDelete", QStringLiteral("削除(&D)"),
                            QStringLiteral("削除|選択したコマンドを削除します"));
    menuCmdPaletteAdd =
        makeAction("menuCmdPaletteAdd", QStringLiteral("コマンドパレットに追加(&A)"),
                   QStringLiteral("パレットに追加|選択したコマンドをコマンドパレットに登録します"));

    menuCmdEdit = makeAction("menuCmdEdit", QStringLiteral("選択したコマンドを編集(&E)"),
                             QStringLiteral("コマンドの編集|選択したコマンドを編集します"));
    menuCmdInsert =
        makeAction("menuCmdInsert", QStringLiteral("選択した行の前にコマンドを追加(&I)"),
                   QStringLiteral("コマンドの挿入|選択した行の前にコマンドを追加します"));
    menuCmdAdd = makeAction("menuCmdAdd", QStringLiteral("リストの最後尾にコマンドを追加(&A)"),
                            QStringLiteral("コマンドの追加|リストの最後尾にコマンドを追加します"));
    menuCmdPaletteShow =
        makeAction("menuCmdPaletteShow", QStringLiteral("コマンドパレットを表示(&P)"),
                   QStringLiteral("コマンドパレット|コマンドパレットを表示します"));

    menuAddBook = makeAction("menuAddBook", QStringLiteral("ブックの追加(&B)"),
                             QStringLiteral("ブックの追加|新しいブックを追加します"));
    menuAddPage = makeAction("menuAddPage", QStringLiteral("ページの追加(&P)"),
                             QStringLiteral("ページの追加|開いているブックにページを追加します"));
    menuBookDelete = makeAction("menuBookDelete", QStringLiteral("ブックの削除(&K)"),
                                QStringLiteral("ブックの削除|開いているブックを削除します"));
    menuPageDelete = makeAction("menuPageDelete", QStringLiteral("ページの削除(&D)"),
                                QStringLiteral("ページの削除|開いているページを削除します"));
    menuBookRename = makeAction("menuBookRename", QStringLiteral("ブック名の変更(&N)"),
                                QStringLiteral("ブック名の変更|開いているブックの名前を変えます"));
    menuPageRename = makeAction("menuPageRename", QStringLiteral("ページ名の変更(&M)"),
                                QStringLiteral("ページ名の変更|開いているページの名前を変えます"));

    menuSystemSetting = makeAction("menuSystemSetting", QStringLiteral("システム設定(&S)"),
                                   QStringLiteral("システム設定|コミック全体の設定をします"));
    menuFlagSetting = makeAction("menuFlagSetting", QStringLiteral("変数の設定(&F)"),
                                 QStringLiteral("変数の設定|数値変数と文字列変数を設定します"));
    menuWindowSetting =
        makeAction("menuWindowSetting", QStringLiteral("ウインドウの配置設定(&W)"),
                   QStringLiteral("ウインドウの配置|ウインドウの大きさと位置を設定します"));
    menuMenuSetting = makeAction("menuMenuSetting", QStringLiteral("メニューの設定(&M)"),
                                 QStringLiteral("メニューの設定|プレーヤーのメニューを設定します"));
    menuCondition = makeAction("menuCondition", QStringLiteral("環境設定(&C)"),
                               QStringLiteral("環境設定|エディタの環境を設定します"));
    menuSetupWiz = makeAction("menuSetupWiz", QStringLiteral("セットアップ"),
                              QStringLiteral("セットアップ|セットアップを実行します"));

    menuHelpContents = makeAction("menuHelpContents", QStringLiteral("目次(&C)"),
                                  QStringLiteral("目次|ヘルプの目次を表示します"));
    menuHelpKeyword = makeAction("menuHelpKeyword", QStringLiteral("キーワードで検索(&K)"),
                                 QStringLiteral("キーワードで検索|ヘルプをキーワードで探します"));
    menuHelpOnHelp = makeAction("menuHelpOnHelp", QStringLiteral("ヘルプの使い方(&H)"),
                                QStringLiteral("ヘルプの使い方|ヘルプの使い方を表示します"));
    menuVersion = makeAction("menuVersion", QStringLiteral("バージョン情報(&V)"),
                             QStringLiteral("バージョン情報|バージョン情報を表示します"));

    menuNewFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    menuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuPlayerExecFirst->setShortcut(QKeySequence(Qt::Key_F5));
    menuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    menuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    menuCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    menuCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    menuPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    menuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    // The menu shows the Delete key; it acts only where the command list adds
    // the action, so that the key keeps its meaning in the tree and in texts.
    menuDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    menuDelete->setShortcutContext(Qt::WidgetShortcut);

    // Commands whose dialogs and editing come later stay in the menus, disabled.
    for (QAction* action : {menuPackageMake, menuSystemSetting, menuFlagSetting, menuWindowSetting,
                            menuMenuSetting, menuSetupWiz})
        markNotBuilt(action);

    buildMenus(window);
    buildToolBar();
    buildPopups();
}

QAction* MainActions::makeAction(const char* name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, &window_);
    action->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        setHint(action, hint);
    return action;
}

void MainActions::markNotBuilt(QAction* action) {
    action->setProperty(kNotBuilt, true);
    action->setEnabled(false);
}

bool MainActions::isBuilt(const QAction& action) {
    return !action.property(kNotBuilt).toBool();
}

void MainActions::buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    const auto addMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        // Menu items show their long hint in the status bar, not as tooltips.
        menu->setToolTipsVisible(false);
        return menu;
    };
    QMenu* file = addMenu("menuFile", QStringLiteral("ファイル(&F)"));
    file->addActions({menuNewFile, menuFileOpen, menuFileSave, menuFileSaveName});
    file->addSeparator();
    file->addActions({menuPlayerExecFirst, menuErrorCheck, menuPackageMake});
    menuHistoryLine = file->addSeparator();
    menuHistoryLine->setObjectName(QStringLiteral("menuHistoryLine"));
    menuHistoryLine->setVisible(false);
    for (QAction* item : menuHistory)
        file->addAction(item);
    file->addSeparator();
    file->addAction(menuExit);

    QMenu* edit = addMenu("menuEdit", QStringLiteral("編集(&E)"));
    edit->addActions({menuUndo, menuRedo});
    edit->addSeparator();
    edit->addActions({menuCut, menuCopy, menuPaste, menuDelete});
    edit->addSeparator();
    edit->addAction(menuCmdPaletteAdd);

    QMenu* command = addMenu("menuCommand", QStringLiteral("コマンド(&C)"));
    command->addActions({menuCmdEdit, menuCmdInsert, menuCmdAdd});
    command->addSeparator();
    command->addAction(menuCmdPaletteShow);

    QMenu* page = addMenu("menuPage", QStringLiteral("ページ(&P)"));
    page->addActions({menuAddBook, menuAddPage});
    page->addSeparator();
    page->addActions({menuBookDelete, menuPageDelete});
    page->addSeparator();
    page->addActions({menuBookRename, menuPageRename});

    QMenu* option = addMenu("menuOption", QStringLiteral("オプション(&O)"));
    option->addActions({menuSystemSetting, menuFlagSetting, menuWindowSetting, menuMenuSetting});
    option->addSeparator();
    option->addActions({menuCondition, menuSetupWiz});

    QMenu* help = addMenu("menuHelp", QStringLiteral("ヘルプ(&H)"));
    help->addActions({menuHelpContents, menuHelpKeyword, menuHelpOnHelp});
    help->addSeparator();
    help->addAction(menuVersion);
}

void MainActions::addToolButton(QAction* action, const char* buttonName, const char* icon) {
    action->setIcon(EditorIcons::tool(icon));
    toolBar->addAction(action);
    QWidget* button = toolBar->widgetForAction(action);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setFixedSize(kToolButtonSize, kToolButtonSize);
}

// A button that does what its menu item does but is not shown.
QAction* MainActions::addHiddenToolButton(QAction* action, const char* buttonName,
                                          const char* icon) {
    auto* twin = new QAction(action->text(), this);
    twin->setToolTip(action->toolTip());
    twin->setStatusTip(action->statusTip());
    twin->setEnabled(action->isEnabled());
    twin->setVisible(false);
    connect(twin, &QAction::triggered, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, twin, &QAction::setEnabled);
    addToolButton(twin, buttonName, icon);
    return twin;
}

void MainActions::buildToolBar() {
    toolBar = window_.addToolBar(QStringLiteral("ツールバー"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolButton(menuNewFile, "spdbtnNew", "new");
    addToolButton(menuFileOpen, "spdbtnOpen", "open");
    addToolButton(menuFileSave, "spdbtnSave", "save");
    addToolButton(menuPlayerExecFirst, "spdbtnPlayer", "player");
    toolBar->addSeparator();
    addToolButton(menuCut, "spdbtnCut", "cut");
    addToolButton(menuCopy, "spdbtnCopy", "copy");
    addToolButton(menuPaste, "spdbtnPaste", "paste");
    addToolButton(menuUndo, "spdbtnUndo", "undo");
    addToolButton(menuRedo, "spdbtnRedo", "redo");
    toolBar->addSeparator();
    addToolButton(menuAddBook, "spdbtnAddBook", "addbook");
    addToolButton(menuAddPage, "spdbtnAddPage", "addpage");
    toolBar->addSeparator();
    addToolButton(menuSystemSetting, "spdbtnSystemSetting", "system");
    addToolButton(menuFlagSetting, "spdbtnFlagSetting", "variables");
    addToolButton(menuWindowSetting, "spdbtnWindowSetting", "window");
    addToolButton(menuMenuSetting, "spdbtnMenuSetting", "menu");
    addHiddenToolButton(menuCondition, "spdbtnCondition", "environment");
    addHiddenToolButton(menuCmdEdit, "spdbtnCmdEdit", "edit");
    addHiddenToolButton(menuCmdInsert, "spdbtnCmdInsert", "insert");
    addHiddenToolButton(menuCmdAdd, "spdbtnCmdAdd", "append");
    for (QAction* action : toolBar->actions())
        if (auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action)))
            button->setAutoRaise(true);
}

void MainActions::addPopupItem(QMenu* menu, QAction* action, const char* name,
                               const QString& caption) {
    auto* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setStatusTip(action->statusTip());
    item->setEnabled(action->isEnabled());
    connect(item, &QAction::triggered, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
}

void MainActions::buildPopups() {
    listPopup = new QMenu(&window_);
    listPopup->setObjectName(QStringLiteral("popCmdList"));
    addPopupItem(listPopup, menuCmdEdit, "popCmdEdit", QStringLiteral("コマンドの編集"));
    addPopupItem(listPopup, menuCmdInsert, "popCmdInsert", QStringLiteral("コマンドの挿入"));
    addPopupItem(listPopup, menuCmdAdd, "popCmdAdd", QStringLiteral("コマンドの追加"));
    listPopup->addSeparator();
    addPopupItem(listPopup, menuCut, "popCut", menuCut->text());
    addPopupItem(listPopup, menuCopy, "popCopy", menuCopy->text());
    addPopupItem(listPopup, menuPaste, "popPaste", menuPaste->text());
    addPopupItem(listPopup, menuDelete, "popDelete", menuDelete->text());
    listPopup->addSeparator();
    addPopupItem(listPopup, menuCmdPaletteAdd, "popCmdPaletteAdd",
                 QStringLiteral("コマンドパレットに追加"));

    treePopup = new QMenu(&window_);
    treePopup->setObjectName(QStringLiteral("popTree"));
    treePopup->addActions({menuAddBook, menuAddPage});
    treePopup->addSeparator();
    treePopup->addActions({menuBookDelete, menuPageDelete});
    treePopup->addSeparator();
    treePopup->addActions({menuBookRename, menuPageRename});
}

void MainActions::rebuildHistory(const FileHistory& history) {
    for (std::size_t i = 0; i < history.size(); ++i) {
        if (history[i].empty())
            continue;
        menuHistory[i]->setText(historyCaption(static_cast<int>(i), history[i]));
        menuHistory[i]->setStatusTip(utf8Text(history[i]));
        menuHistory[i]->setVisible(true);
    }
    if (!history[0].empty())
        menuHistoryLine->setVisible(true);
}

void MainActions::UpdateMenuState(int selectedLines, bool clipboardEmpty) {
    for (QAction* action : {menuCut, menuCopy})
        setAvailable(action, selectedLines >= 1);
    for (QAction* action : {menuCmdEdit, menuCmdInsert, menuCmdPaletteAdd})
        setAvailable(action, selectedLines == 1);
    setAvailable(menuPaste, selectedLines == 1 && !clipboardEmpty);
}

void MainActions::UpdateUndoState(const std::string& undoLabel, const std::string& redoLabel) {
    const auto name = [](QAction* action, const QString& caption, const std::string& label) {
        action->setText(label.empty() ? caption : caption + QStringLiteral(" - ") + qtText(label));
        setAvailable(action, !label.empty());
    };
    name(menuUndo, QStringLiteral("元に戻す(&U)"), undoLabel);
    name(menuRedo, QStringLiteral("やり直し(&R)"), redoLabel);
}

} // namespace pagora
