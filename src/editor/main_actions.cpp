#include "editor/main_actions.h"

#include "editor/editor_icons.h"
#include "editor/main_window.h"
#include "gui/qt_text.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>

namespace pagora {
namespace {

constexpr int kToolButtonSize = 25;
constexpr std::string_view kSeparator = "-";
constexpr std::string_view kHistory = "menuHistory";

bool anyLineSelected(const MenuState& state) {
    return state.selectedLines >= 1;
}

bool oneLineSelected(const MenuState& state) {
    return state.selectedLines == 1;
}

bool pasteAvailable(const MenuState& state) {
    return oneLineSelected(state) && !state.clipboardEmpty;
}

bool undoAvailable(const MenuState& state) {
    return !state.undoLabel.empty();
}

bool redoAvailable(const MenuState& state) {
    return !state.redoLabel.empty();
}

// A menu of the menu bar: the names of its actions in order, kSeparator for a
// line, kHistory for the file history.
struct MenuLayout {
    const char* name;
    const char* caption;
    std::vector<std::string_view> items;
};

// An item of the command list's pop-up menu: an action of its own under its
// own name that does what the named action does, under its own caption (none:
// the action's).
struct PopupItem {
    std::string_view action;
    const char* name = nullptr;
    const char* caption = nullptr;
};

// The page menu, which is also the tree's pop-up menu.
const std::vector<std::string_view>& bookAndPageItems() {
    static const std::vector<std::string_view> items = {
        "menuAddBook", "menuAddPage",    kSeparator,       "menuBookDelete", "menuPageDelete",
        kSeparator,    "menuBookRename", "menuPageRename", kSeparator,       "menuPageReferences"};
    return items;
}

const std::vector<MenuLayout>& menuBarLayout() {
    static const std::vector<MenuLayout> layout = {
        {"menuFile",
         "ファイル(&F)",
         {"menuNewFile", "menuFileOpen", "menuFileSave", "menuFileSaveName", kSeparator,
          "menuPlayerExecFirst", "menuPreview", "menuPreviewStart", "menuErrorCheck",
          "menuPackageMake", kHistory, kSeparator, "menuExit"}},
        {"menuEdit",
         "編集(&E)",
         {"menuUndo", "menuRedo", kSeparator, "menuCut", "menuCopy", "menuPaste", "menuDelete",
          kSeparator, "menuCmdPaletteAdd", kSeparator, "menuFind", "menuFindNext"}},
        {"menuCommand",
         "コマンド(&C)",
         {"menuCmdEdit", "menuCmdInsert", "menuCmdAdd", kSeparator, "menuCmdPaletteShow"}},
        {"menuPage", "ページ(&P)", bookAndPageItems()},
        {"menuOption",
         "オプション(&O)",
         {"menuSystemSetting", "menuFlagSetting", "menuWindowSetting", "menuMenuSetting",
          kSeparator, "menuCondition", "menuSetupWiz"}},
        {"menuHelp",
         "ヘルプ(&H)",
         {"menuHelpContents", "menuHelpKeyword", "menuHelpOnHelp", kSeparator, "menuVersion"}},
    };
    return layout;
}

const std::vector<std::string_view>& toolBarItems() {
    static const std::vector<std::string_view> items = {
        "menuNewFile",       "menuFileOpen",     "menuFileSave",      "menuPlayerExecFirst",
        "menuPreview",       "menuPreviewStart", kSeparator,          "menuCut",
        "menuCopy",          "menuPaste",        "menuUndo",          "menuRedo",
        kSeparator,          "menuAddBook",      "menuAddPage",       kSeparator,
        "menuSystemSetting", "menuFlagSetting",  "menuWindowSetting", "menuMenuSetting",
        "menuCondition",     "menuCmdEdit",      "menuCmdInsert",     "menuCmdAdd"};
    return items;
}

const std::vector<PopupItem>& listPopupItems() {
    static const std::vector<PopupItem> items = {
        {"menuCmdEdit", "popCmdEdit", "コマンドの編集"},
        {"menuCmdInsert", "popCmdInsert", "コマンドの挿入"},
        {"menuCmdAdd", "popCmdAdd", "コマンドの追加"},
        {kSeparator},
        {"menuCut", "popCut"},
        {"menuCopy", "popCopy"},
        {"menuPaste", "popPaste"},
        {"menuDelete", "popDelete"},
        {kSeparator},
        {"menuCmdPaletteAdd", "popCmdPaletteAdd", "コマンドパレットに追加"},
    };
    return items;
}

void setHint(QAction& action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action.setToolTip(bar < 0 ? hint : hint.left(bar));
    action.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

#define PAGORA_NAMED(id) .name = #id, .member = &MainActions::id

const std::vector<MainActions::Row>& MainActions::rows() {
    static const std::vector<Row> table = {
        {
            PAGORA_NAMED(menuNewFile),
            .caption = "新規作成(&N)",
            .hint = "新規作成|新しいコミックファイルを作成します",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_N)},
            .button = {"spdbtnNew", "new"},
            .handler = &TfrmMain::menuNewFileClick,
        },
        {
            PAGORA_NAMED(menuFileOpen),
            .caption = "開く(&O)",
            .hint = "開く|コミックファイルを開きます",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_O)},
            .button = {"spdbtnOpen", "open"},
            .handler = &TfrmMain::menuFileOpenClick,
        },
        {
            PAGORA_NAMED(menuFileSave),
            .caption = "上書き保存(&S)",
            .hint = "上書き保存|コミックファイルを上書き保存します",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_S)},
            .button = {"spdbtnSave", "save"},
            .handler = &TfrmMain::menuFileSaveClick,
        },
        {
            PAGORA_NAMED(menuFileSaveName),
            .caption = "名前を付けて保存(&A)",
            .hint = "名前を付けて保存|コミックファイルに名前を付けて保存します",
            .handler = &TfrmMain::menuFileSaveNameClick,
        },
        {
            PAGORA_NAMED(menuPlayerExecFirst),
            .caption = "プレーヤーの実行(&R)",
            .hint = "プレーヤーの実行|保存したコミックファイルをパゴラプレーヤーで実行します",
            .shortcuts = {QKeySequence(Qt::Key_F5)},
            .button = {"spdbtnPlayer", "player"},
            .handler = &TfrmMain::menuPlayerExecFirstClick,
        },
        {
            PAGORA_NAMED(menuPreview),
            .caption = "プレビュー(&V)",
            .hint = "プレビュー|開いているページの最初の行からコミックを動かして確かめます",
            .shortcuts = {QKeySequence(Qt::Key_F6)},
            .button = {"spdbtnPreview", "preview"},
            .handler = &TfrmMain::menuPreviewClick,
        },
        {
            PAGORA_NAMED(menuPreviewStart),
            .caption = "スタートページからプレビュー",
            .hint = "スタートページからプレビュー|スタートページからコミックを動かして確かめます",
            .button = {"spdbtnPreviewStart", "preview_start"},
            .handler = &TfrmMain::menuPreviewStartClick,
        },
        {
            PAGORA_NAMED(menuErrorCheck),
            .caption = "エラーチェック(&E)",
            .hint = "エラーチェック|コミック全体のエラーを調べます",
            .handler = &TfrmMain::menuErrorCheckClick,
        },
        {
            PAGORA_NAMED(menuPackageMake),
            .caption = "パッケージの作成(&P)",
            .hint = "パッケージの作成|配布用のパッケージを作成します",
            .handler = &TfrmMain::menuPackageMakeClick,
        },
        {
            PAGORA_NAMED(menuExit),
            .caption = "終了(&X)",
            .hint = "終了|パゴラを終了します",
            .handler = &TfrmMain::menuExitClick,
        },

        {
            PAGORA_NAMED(menuUndo),
            .caption = "元に戻す(&U)",
            .hint = "元に戻す|直前の操作を取り消します",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Z)},
            .button = {"spdbtnUndo", "undo"},
            .handler = &TfrmMain::menuUndoClick,
            .enabled = undoAvailable,
            .step = &MenuState::undoLabel,
        },
        {
            PAGORA_NAMED(menuRedo),
            .caption = "やり直し(&R)",
            .hint = "やり直し|取り消した操作をやり直します",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Y),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
            .button = {"spdbtnRedo", "redo"},
            .handler = &TfrmMain::menuRedoClick,
            .enabled = redoAvailable,
            .step = &MenuState::redoLabel,
        },
        {
            PAGORA_NAMED(menuCut),
            .caption = "切り取り(&T)",
            .hint = "切り取り|選択したコマンドを切り取ります",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_X)},
            .button = {"spdbtnCut", "cut"},
            .handler = &TfrmMain::menuCutClick,
            .enabled = anyLineSelected,
        },
        {
            PAGORA_NAMED(menuCopy),
            .caption = "コピー(&C)",
            .hint = "コピー|選択したコマンドをコピーします",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_C)},
            .button = {"spdbtnCopy", "copy"},
            .handler = &TfrmMain::menuCopyClick,
            .enabled = anyLineSelected,
        },
        {
            PAGORA_NAMED(menuPaste),
            .caption = "貼り付け(&P)",
            .hint = "貼り付け|コピーしたコマンドを選択した行の前に貼り付けます",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_V)},
            .button = {"spdbtnPaste", "paste"},
            .handler = &TfrmMain::menuPasteClick,
            .enabled = pasteAvailable,
        },
        // The menu shows the Delete key; it acts only where the command list
        // adds the action, so that the key keeps its meaning in the tree and
        // in texts.
        {
            PAGORA_NAMED(menuDelete),
            .caption = "削除(&D)",
            .hint = "削除|選択したコマンドを削除します",
            .shortcuts = {QKeySequence(Qt::Key_Delete)},
            .shortcutContext = Qt::WidgetShortcut,
            .handler = &TfrmMain::menuDeleteClick,
        },
        {
            PAGORA_NAMED(menuCmdPaletteAdd),
            .caption = "コマンドパレットに追加(&A)",
            .hint = "パレットに追加|選択したコマンドをコマンドパレットに登録します",
            .handler = &TfrmMain::menuCmdPaletteAddClick,
            .enabled = oneLineSelected,
        },
        {
            PAGORA_NAMED(menuFind),
            .caption = "検索(&F)...",
            .hint = "検索|全ページのコマンドから文字列を探します",
            .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_F)},
            .handler = &TfrmMain::menuFindClick,
        },
        {
            PAGORA_NAMED(menuFindNext),
            .caption = "次を検索(&N)",
            .hint = "次を検索|最後に検索した文字列を、選択している行の次から探します",
            .shortcuts = {QKeySequence(Qt::Key_F3)},
            .handler = &TfrmMain::menuFindNextClick,
        },

        {
            PAGORA_NAMED(menuCmdEdit),
            .caption = "選択したコマンドを編集(&E)",
            .hint = "コマンドの編集|選択したコマンドを編集します",
            .button = {"spdbtnCmdEdit", "edit", true},
            .handler = &TfrmMain::EditCommandAt,
            .enabled = oneLineSelected,
        },
        {
            PAGORA_NAMED(menuCmdInsert),
            .caption = "選択した行の前にコマンドを追加(&I)",
            .hint = "コマンドの挿入|選択した行の前にコマンドを追加します",
            .button = {"spdbtnCmdInsert", "insert", true},
            .handler = &TfrmMain::menuCmdInsertClick,
            .enabled = oneLineSelected,
        },
        {
            PAGORA_NAMED(menuCmdAdd),
            .caption = "リストの最後尾にコマンドを追加(&A)",
            .hint = "コマンドの追加|リストの最後尾にコマンドを追加します",
            .button = {"spdbtnCmdAdd", "append", true},
            .handler = &TfrmMain::menuCmdAddClick,
        },
        {
            PAGORA_NAMED(menuCmdPaletteShow),
            .caption = "コマンドパレットを表示(&P)",
            .hint = "コマンドパレット|コマンドパレットを表示します",
            .handler = &TfrmMain::menuCmdPaletteShowClick,
        },

        {
            PAGORA_NAMED(menuAddBook),
            .caption = "ブックの追加(&B)",
            .hint = "ブックの追加|新しいブックを追加します",
            .button = {"spdbtnAddBook", "addbook"},
            .handler = &TfrmMain::menuAddBookClick,
        },
        {
            PAGORA_NAMED(menuAddPage),
            .caption = "ページの追加(&P)",
            .hint = "ページの追加|開いているブックにページを追加します",
            .button = {"spdbtnAddPage", "addpage"},
            .handler = &TfrmMain::menuAddPageClick,
        },
        {
            PAGORA_NAMED(menuBookDelete),
            .caption = "ブックの削除(&K)",
            .hint = "ブックの削除|開いているブックを削除します",
            .handler = &TfrmMain::menuBookDeleteClick,
        },
        {
            PAGORA_NAMED(menuPageDelete),
            .caption = "ページの削除(&D)",
            .hint = "ページの削除|開いているページを削除します",
            .handler = &TfrmMain::menuPageDeleteClick,
        },
        {
            PAGORA_NAMED(menuBookRename),
            .caption = "ブック名の変更(&N)",
            .hint = "ブック名の変更|開いているブックの名前を変えます",
            .handler = &TfrmMain::menuBookRenameClick,
        },
        {
            PAGORA_NAMED(menuPageRename),
            .caption = "ページ名の変更(&M)",
            .hint = "ページ名の変更|開いているページの名前を変えます",
            .handler = &TfrmMain::menuPageRenameClick,
        },

        {
            PAGORA_NAMED(menuPageReferences),
            .caption = "このページへの参照(&R)",
            .hint = "このページへの参照|開いているページへ移動する行を一覧にします",
            .handler = &TfrmMain::menuPageReferencesClick,
        },

        {
            PAGORA_NAMED(menuSystemSetting),
            .caption = "システム設定(&S)",
            .hint = "システム設定|コミック全体の設定をします",
            .button = {"spdbtnSystemSetting", "system"},
            .handler = &TfrmMain::menuSystemSettingClick,
        },
        {
            PAGORA_NAMED(menuFlagSetting),
            .caption = "変数の設定(&F)",
            .hint = "変数の設定|数値変数と文字列変数を設定します",
            .button = {"spdbtnFlagSetting", "variables"},
            .handler = &TfrmMain::menuFlagSettingClick,
        },
        {
            PAGORA_NAMED(menuWindowSetting),
            .caption = "ウインドウの配置設定(&W)",
            .hint = "ウインドウの配置|ウインドウの大きさと位置を設定します",
            .button = {"spdbtnWindowSetting", "window"},
            .handler = &TfrmMain::menuWindowSettingClick,
        },
        {
            PAGORA_NAMED(menuMenuSetting),
            .caption = "メニューの設定(&M)",
            .hint = "メニューの設定|プレーヤーのメニューを設定します",
            .button = {"spdbtnMenuSetting", "menu"},
            .handler = &TfrmMain::menuMenuSettingClick,
        },
        {
            PAGORA_NAMED(menuCondition),
            .caption = "環境設定(&C)",
            .hint = "環境設定|エディタの環境を設定します",
            .button = {"spdbtnCondition", "environment", true},
            .handler = &TfrmMain::menuConditionClick,
        },
        {
            PAGORA_NAMED(menuSetupWiz),
            .caption = "セットアップ",
            .hint = "セットアップ|セットアップを実行します",
            .handler = &TfrmMain::menuSetupWizClick,
        },

        {
            PAGORA_NAMED(menuHelpContents),
            .caption = "目次(&C)",
            .hint = "目次|ヘルプの目次を表示します",
            .shortcuts = {QKeySequence(Qt::Key_F1)},
            .handler = &TfrmMain::menuHelpContentsClick,
        },
        {
            PAGORA_NAMED(menuHelpKeyword),
            .caption = "キーワードで検索(&K)",
            .hint = "キーワードで検索|ヘルプをキーワードで探します",
            .handler = &TfrmMain::menuHelpKeywordClick,
        },
        {
            PAGORA_NAMED(menuHelpOnHelp),
            .caption = "ヘルプの使い方(&H)",
            .hint = "ヘルプの使い方|ヘルプの使い方を表示します",
            .handler = &TfrmMain::menuHelpOnHelpClick,
        },
        {
            PAGORA_NAMED(menuVersion),
            .caption = "バージョン情報(&V)",
            .hint = "バージョン情報|バージョン情報を表示します",
            .handler = &TfrmMain::menuVersionClick,
        },
    };
    return table;
}

#undef PAGORA_NAMED

bool MainActions::isEnabled(const Row& row, const MenuState& state) {
    return row.handler != nullptr && (row.enabled == nullptr || row.enabled(state));
}

QString MainActions::caption(const Row& row, const MenuState& state) {
    const QString caption = utf8Text(row.caption);
    if (row.step == nullptr || (state.*row.step).empty())
        return caption;
    return caption + QStringLiteral(" - ") + qtText(state.*row.step);
}

MainActions::MainActions(QMainWindow& window)
    : QObject(&window)
    , window_(window) {
    for (const Row& row : rows()) {
        QAction* action = makeAction(row);
        if (row.member != nullptr)
            this->*row.member = action;
        entries_.push_back({&row, action});
    }
    update(MenuState{});
    buildMenus(window);
    buildToolBar();
    buildPopups();
}

QAction* MainActions::makeAction(const Row& row) {
    auto* action = new QAction(utf8Text(row.caption), &window_);
    action->setObjectName(QString::fromLatin1(row.name));
    setHint(*action, utf8Text(row.hint));
    action->setShortcuts(row.shortcuts);
    action->setShortcutContext(row.shortcutContext);
    return action;
}

const MainActions::Entry& MainActions::entry(std::string_view name) const {
    for (const Entry& entry : entries_)
        if (entry.row->name == name)
            return entry;
    throw std::logic_error("no main window action " + std::string(name));
}

void MainActions::update(const MenuState& state) {
    for (const auto& [row, action] : entries_) {
        action->setText(caption(*row, state));
        action->setEnabled(isEnabled(*row, state));
    }
}

void MainActions::follow(QAction& follower, QAction& action) {
    follower.setStatusTip(action.statusTip());
    follower.setEnabled(action.isEnabled());
    connect(&follower, &QAction::triggered, &action, &QAction::trigger);
    connect(&action, &QAction::enabledChanged, &follower, &QAction::setEnabled);
}

void MainActions::addItems(QMenu& menu, const std::vector<std::string_view>& items) {
    for (const std::string_view item : items) {
        if (item == kSeparator)
            menu.addSeparator();
        else if (item == kHistory)
            addHistory(menu);
        else
            menu.addAction(entry(item).action);
    }
}

void MainActions::addHistory(QMenu& menu) {
    menuHistoryLine = menu.addSeparator();
    menuHistoryLine->setObjectName(QStringLiteral("menuHistoryLine"));
    menuHistoryLine->setVisible(false);
    for (std::size_t i = 0; i < menuHistory.size(); ++i) {
        auto* item = new QAction(&window_);
        item->setObjectName(QStringLiteral("menuHistory") + QString::number(i + 1));
        item->setData(static_cast<int>(i));
        item->setVisible(false);
        menu.addAction(item);
        menuHistory[i] = item;
    }
}

void MainActions::buildMenus(QMainWindow& window) {
    for (const MenuLayout& layout : menuBarLayout()) {
        QMenu* menu = window.menuBar()->addMenu(utf8Text(layout.caption));
        menu->setObjectName(QString::fromLatin1(layout.name));
        // Menu items show their long hint in the status bar, not as tooltips.
        menu->setToolTipsVisible(false);
        addItems(*menu, layout.items);
    }
}

void MainActions::buildToolBar() {
    toolBar = window_.addToolBar(QStringLiteral("ツールバー"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const std::string_view item : toolBarItems()) {
        if (item == kSeparator)
            toolBar->addSeparator();
        else
            addToolButton(entry(item));
    }
}

void MainActions::addToolButton(const Entry& entry) {
    const ToolButton& button = entry.row->button;
    QAction* shown = entry.action;
    if (button.hidden) {
        // A button of its own that does what the menu item does but is not shown.
        shown = new QAction(entry.action->text(), this);
        shown->setToolTip(entry.action->toolTip());
        follow(*shown, *entry.action);
        shown->setVisible(false);
    }
    shown->setIcon(EditorIcons::tool(button.icon));
    toolBar->addAction(shown);
    auto* widget = qobject_cast<QToolButton*>(toolBar->widgetForAction(shown));
    widget->setObjectName(QString::fromLatin1(button.name));
    widget->setFixedSize(kToolButtonSize, kToolButtonSize);
    widget->setAutoRaise(true);
}

void MainActions::buildPopups() {
    listPopup = new QMenu(&window_);
    listPopup->setObjectName(QStringLiteral("popCmdList"));
    for (const PopupItem& item : listPopupItems()) {
        if (item.action == kSeparator) {
            listPopup->addSeparator();
            continue;
        }
        QAction* original = entry(item.action).action;
        QAction* own = listPopup->addAction(item.caption != nullptr ? utf8Text(item.caption)
                                                                    : original->text());
        own->setObjectName(QString::fromLatin1(item.name));
        follow(*own, *original);
    }

    treePopup = new QMenu(&window_);
    treePopup->setObjectName(QStringLiteral("popTree"));
    addItems(*treePopup, bookAndPageItems());
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

} // namespace pagora
