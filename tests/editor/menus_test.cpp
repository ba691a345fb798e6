#include "editor/command_list_view.h"
#include "editor/main_actions.h"
#include "editor_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

namespace pagora::test {
namespace {

class Menus : public EditorTest {};

struct Item {
    const char* name;
    QString caption;
    QKeySequence shortcut;
};

TEST_F(Menus, EveryMenuItemHasItsCaptionShortcutAndTwoPartHint) {
    const auto window = makeWindow();
    const std::vector<Item> items = {
        {"menuNewFile", QStringLiteral("新規作成(&N)"), QKeySequence(QStringLiteral("Ctrl+N"))},
        {"menuFileOpen", QStringLiteral("開く(&O)"), QKeySequence(QStringLiteral("Ctrl+O"))},
        {"menuFileSave", QStringLiteral("上書き保存(&S)"), QKeySequence(QStringLiteral("Ctrl+S"))},
        {"menuFileSaveName", QStringLiteral("名前を付けて保存(&A)"), {}},
        {"menuPlayerExecFirst", QStringLiteral("プレーヤーの実行(&R)"),
         QKeySequence(QStringLiteral("F5"))},
        {"menuErrorCheck", QStringLiteral("エラーチェック(&E)"), {}},
        {"menuPackageMake", QStringLiteral("パッケージの作成(&P)"), {}},
        {"menuExit", QStringLiteral("終了(&X)"), {}},
        {"menuCut", QStringLiteral("切り取り(&T)"), QKeySequence(QStringLiteral("Ctrl+X"))},
        {"menuCopy", QStringLiteral("コピー(&C)"), QKeySequence(QStringLiteral("Ctrl+C"))},
        {"menuPaste", QStringLiteral("貼り付け(&P)"), QKeySequence(QStringLiteral("Ctrl+V"))},
        {"menuDelete", QStringLiteral("削除(&D)"), QKeySequence(QStringLiteral("Del"))},
        {"menuCmdPaletteAdd", QStringLiteral("コマンドパレットに追加(&A)"), {}},
        {"menuCmdEdit", QStringLiteral("選択したコマンドを編集(&E)"), {}},
        {"menuCmdInsert", QStringLiteral("選択した行の前にコマンドを追加(&I)"), {}},
        {"menuCmdAdd", QStringLiteral("リストの最後尾にコマンドを追加(&A)"), {}},
        {"menuCmdPaletteShow", QStringLiteral("コマンドパレットを表示(&P)"), {}},
        {"menuAddBook", QStringLiteral("ブックの追加(&B)"), {}},
        {"menuAddPage", QStringLiteral("ページの追加(&P)"), {}},
        {"menuBookDelete", QStringLiteral("ブックの削除(&K)"), {}},
        {"menuPageDelete", QStringLiteral("ページの削除(&D)"), {}},
        {"menuBookRename", QStringLiteral("ブック名の変更(&N)"), {}},
        {"menuPageRename", QStringLiteral("ページ名の変更(&M)"), {}},
        {"menuSystemSetting", QStringLiteral("システム設定(&S)"), {}},
        {"menuFlagSetting", QStringLiteral("変数の設定(&F)"), {}},
        {"menuWindowSetting", QStringLiteral("ウインドウの配置設定(&W)"), {}},
        {"menuMenuSetting", QStringLiteral("メニューの設定(&M)"), {}},
        {"menuCondition", QStringLiteral("環境設定(&C)"), {}},
        {"menuSetupWiz", QStringLiteral("セットアップ"), {}},
        {"menuHelpContents", QStringLiteral("目次(&C)"), QKeySequence(QStringLiteral("F1"))},
        {"menuHelpKeyword", QStringLiteral("キーワードで検索(&K)"), {}},
        {"menuHelpOnHelp", QStringLiteral("ヘルプの使い方(&H)"), {}},
        {"menuVersion", QStringLiteral("バージョン情報(&V)"), {}},
    };
    for (const Item& item : items) {
        const auto* action = window->findChild<QAction*>(QString::fromLatin1(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), item.caption) << item.name;
        EXPECT_EQ(action->shortcut(), item.shortcut) << item.name;
        EXPECT_FALSE(action->toolTip().isEmpty()) << item.name;
        EXPECT_FALSE(action->statusTip().isEmpty()) << item.name;
        EXPECT_FALSE(action->toolTip().contains(QLatin1Char('|'))) << item.name;
        EXPECT_NE(action->toolTip(), action->statusTip()) << item.name;
    }
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions())
        menus.append(menu->text());
    EXPECT_EQ(menus, QStringList({QStringLiteral("ファイル(&F)"), QStringLiteral("編集(&E)"),
                                  QStringLiteral("コマンド(&C)"), QStringLiteral("ページ(&P)"),
                                  QStringLiteral("オプション(&O)"), QStringLiteral("ヘルプ(&H)")}));
}

TEST_F(Menus, ToolButtonsAreFlat25PixelSquaresAndFourAreHidden) {
    const auto window = showWindow();
    const QStringList shown = {"spdbtnNew",           "spdbtnOpen",        "spdbtnSave",
                               "spdbtnPlayer",        "spdbtnCut",         "spdbtnCopy",
                               "spdbtnPaste",         "spdbtnAddBook",     "spdbtnAddPage",
                               "spdbtnSystemSetting", "spdbtnFlagSetting", "spdbtnWindowSetting",
                               "spdbtnMenuSetting"};
    const QStringList hidden = {"spdbtnCondition", "spdbtnCmdEdit", "spdbtnCmdInsert",
                                "spdbtnCmdAdd"};
    QStringList visibleOrder;
    for (QToolButton* button : window->findChildren<QToolButton*>())
        if (button->objectName().startsWith(QStringLiteral("spdbtn")) && button->isVisible())
            visibleOrder.append(button->objectName());
    for (const QString& name : shown) {
        auto* button = window->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_TRUE(button->isVisible()) << name.toStdString();
        EXPECT_TRUE(button->autoRaise()) << name.toStdString();
        EXPECT_EQ(button->size(), QSize(25, 25)) << name.toStdString();
        EXPECT_FALSE(button->icon().isNull()) << name.toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << name.toStdString();
    }
    for (const QString& name : hidden) {
        auto* button = window->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_FALSE(button->isVisible()) << name.toStdString();
    }
    EXPECT_EQ(window->findChild<QToolButton*>(QStringLiteral("spdbtnPlayer"))->toolTip(),
              QStringLiteral("プレーヤーの実行"));
}

TEST_F(Menus, CommandsBuiltLaterStayDisabled) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    for (QAction* action : {a.menuPackageMake, a.menuSystemSetting, a.menuSetupWiz})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    for (QAction* action :
         {a.menuNewFile,         a.menuFileOpen,   a.menuFileSave,      a.menuFileSaveName,
          a.menuPlayerExecFirst, a.menuErrorCheck, a.menuCondition,     a.menuVersion,
          a.menuHelpContents,    a.menuExit,       a.menuCut,           a.menuCopy,
          a.menuDelete,          a.menuCmdInsert,  a.menuCmdAdd,        a.menuAddBook,
          a.menuAddPage,         a.menuBookDelete, a.menuPageDelete,    a.menuBookRename,
          a.menuPageRename,      a.menuCmdEdit,    a.menuCmdPaletteAdd, a.menuCmdPaletteShow})
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(Menus, ListCommandsFollowTheSelectionAndTheClipboard) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    // A hidden button follows its menu item once it is shown.
    auto* hiddenEdit = window->findChild<QToolButton*>(QStringLiteral("spdbtnCmdEdit"));
    hiddenEdit->defaultAction()->setVisible(true);

    window->UpdateStatus();
    EXPECT_TRUE(a.menuCut->isEnabled());
    EXPECT_TRUE(a.menuCmdEdit->isEnabled());
    EXPECT_TRUE(hiddenEdit->isEnabled());
    EXPECT_FALSE(a.menuPaste->isEnabled()) << "the clipboard is empty";

    window->objects().clipboard.push_back("// x");
    window->UpdateStatus();
    EXPECT_TRUE(a.menuPaste->isEnabled());

    CommandListView& list = window->commandList();
    list.selectionModel()->select(list.model()->index(3, 0), QItemSelectionModel::Select);
    EXPECT_EQ(list.selectedRows().size(), 2u);
    EXPECT_TRUE(a.menuCopy->isEnabled());
    EXPECT_FALSE(a.menuCmdEdit->isEnabled());
    EXPECT_FALSE(hiddenEdit->isEnabled());
    EXPECT_FALSE(a.menuCmdInsert->isEnabled());
    EXPECT_FALSE(a.menuPaste->isEnabled());
    EXPECT_FALSE(a.menuCmdPaletteAdd->isEnabled());

    list.clearSelection();
    EXPECT_FALSE(a.menuCut->isEnabled());
    EXPECT_FALSE(a.menuCopy->isEnabled());
}

TEST_F(Menus, TheWindowIsSplitByThreePixelBars) {
    const auto window = showWindow(writeSample());
    auto* treeBar = window->findChild<QSplitterHandle*>(QStringLiteral("pnlTreeOutlineMove"));
    auto* errorBar = window->findChild<QSplitterHandle*>(QStringLiteral("pnlErrorListOutlineMove"));
    ASSERT_NE(treeBar, nullptr);
    ASSERT_NE(errorBar, nullptr);
    auto* tree = window->findChild<QWidget*>(QStringLiteral("pnlTree"));
    auto* errors = window->findChild<QWidget*>(QStringLiteral("pnlErrorList"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(errors, nullptr);
    // The bars take 3 pixels between their neighbours (their grab area may be wider).
    EXPECT_EQ(window->commandList().x() - tree->geometry().right() - 1, 3);
    // Before an error check only the error panel's bar shows under the editor.
    EXPECT_EQ(window->errorSplitter().height() - window->treeSplitter().height(), 3);
    EXPECT_EQ(window->currentGeometry().treeBorder, 145);
    EXPECT_EQ(window->statusPanel1().width(), 100);
    EXPECT_TRUE(window->statusPanel1().alignment() & Qt::AlignRight);
}

} // namespace
} // namespace pagora::test
