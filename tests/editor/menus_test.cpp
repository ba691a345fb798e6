#include "editor/command_list_view.h"
#include "editor/main_actions.h"
#include "editor_fixture.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <ostream>
#include <set>
#include <string>

namespace pagora::test {
namespace {

class Menus : public EditorTest {};

// The row of the main window's action that has a tool button of that name.
const MainActions::Row* rowWithButton(const QString& button) {
    for (const MainActions::Row& row : MainActions::rows())
        if (row.button.name != nullptr && button == QLatin1String(row.button.name))
            return &row;
    return nullptr;
}

TEST_F(Menus, EveryActionIsARowWithACaptionAUniqueNameAUniqueKeyAndATwoPartHint) {
    const auto window = makeWindow();
    MainActions& actions = window->actions();
    ASSERT_EQ(actions.entries().size(), MainActions::rows().size());
    std::set<QString> keys;
    for (const auto& [row, action] : actions.entries()) {
        const QString name = action->objectName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(action->text().isEmpty());
        EXPECT_EQ(window->findChildren<QAction*>(name).size(), 1) << "the name is taken twice";
        EXPECT_FALSE(action->toolTip().isEmpty());
        EXPECT_FALSE(action->statusTip().isEmpty());
        EXPECT_FALSE(action->toolTip().contains(QLatin1Char('|')));
        EXPECT_NE(action->toolTip(), action->statusTip());
        if (row->member != nullptr) {
            EXPECT_EQ(actions.*(row->member), action);
        }
        for (const QKeySequence& key : action->shortcuts())
            EXPECT_TRUE(keys.insert(key.toString()).second) << "key taken twice";
    }
    // Redo answers to both keys of the desktop conventions.
    EXPECT_EQ(actions.menuRedo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                   QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
}

TEST_F(Menus, TheMenuBarShowsEveryActionAndNothingElseButTheHistory) {
    const auto window = makeWindow();
    QSet<QAction*> unplaced;
    for (const MainActions::Entry& entry : window->actions().entries())
        unplaced.insert(entry.action);
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions()) {
        menus.append(menu->text());
        for (QAction* item : menu->menu()->actions()) {
            const bool history = item->objectName().startsWith(QStringLiteral("menuHistory"));
            EXPECT_TRUE(unplaced.remove(item) || item->isSeparator() || history)
                << item->objectName().toStdString() << " is not a row or shown twice";
        }
    }
    for (QAction* action : unplaced)
        ADD_FAILURE() << action->objectName().toStdString() << " is in no menu";
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
                               "spdbtnMenuSetting",   "spdbtnPreview",     "spdbtnPreviewStart"};
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

TEST_F(Menus, EveryToolButtonRunsARowsAction) {
    const auto window = showWindow(writeSample());
    int buttons = 0;
    for (QToolButton* button : window->actions().toolBar->findChildren<QToolButton*>()) {
        if (!button->objectName().startsWith(QStringLiteral("spdbtn")))
            continue;
        ++buttons;
        SCOPED_TRACE(button->objectName().toStdString());
        const MainActions::Row* row = rowWithButton(button->objectName());
        ASSERT_NE(row, nullptr);
        auto* action = window->findChild<QAction*>(QString::fromLatin1(row->name));
        ASSERT_NE(action, nullptr);
        if (row->button.hidden) {
            EXPECT_NE(button->defaultAction(), action);
            EXPECT_EQ(button->defaultAction()->text(), action->text());
            EXPECT_EQ(button->defaultAction()->toolTip(), action->toolTip());
        } else {
            EXPECT_EQ(button->defaultAction(), action);
        }
    }
    EXPECT_EQ(buttons, std::count_if(MainActions::rows().begin(), MainActions::rows().end(),
                                     [](const auto& row) { return row.button.name != nullptr; }));

    // A hidden twin does what its menu item does.
    QAbstractItemModel& lines = *window->commandList().model();
    const int before = lines.rowCount();
    window->findChild<QToolButton*>(QStringLiteral("spdbtnCmdAdd"))->defaultAction()->trigger();
    EXPECT_EQ(lines.rowCount(), before + 1);
}

TEST_F(Menus, EveryCommandIsEnabledOnAnOpenComic) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    for (QAction* action :
         {a.menuNewFile,         a.menuFileOpen,    a.menuFileSave,      a.menuFileSaveName,
          a.menuPlayerExecFirst, a.menuErrorCheck,  a.menuCondition,     a.menuVersion,
          a.menuHelpContents,    a.menuExit,        a.menuCut,           a.menuCopy,
          a.menuDelete,          a.menuCmdInsert,   a.menuCmdAdd,        a.menuAddBook,
          a.menuAddPage,         a.menuBookDelete,  a.menuPageDelete,    a.menuBookRename,
          a.menuPageRename,      a.menuCmdEdit,     a.menuCmdPaletteAdd, a.menuCmdPaletteShow,
          a.menuSystemSetting,   a.menuPackageMake, a.menuSetupWiz,      a.menuWindowSetting,
          a.menuFlagSetting,     a.menuMenuSetting, a.menuPreview,       a.menuPreviewStart})
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

// The actions a state enables among those with a rule; every other built
// action is always enabled and an action not built is never.
struct RuleCase {
    const char* name;
    MenuState state;
    std::set<std::string> enabled;
};

void PrintTo(const RuleCase& rule, std::ostream* out) {
    *out << rule.name;
}

class MenuRules : public EditorTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(MenuRules, EveryActionIsEnabledByItsRule) {
    const auto window = showWindow(writeSample());
    MainActions& actions = window->actions();
    // A hidden button is disabled while hidden; shown, it follows its action.
    for (const MainActions::Row& row : MainActions::rows())
        if (row.button.hidden)
            child<QToolButton>(*window, row.button.name).defaultAction()->setVisible(true);
    const RuleCase& rule = GetParam();
    actions.update(rule.state);
    for (const auto& [row, action] : actions.entries()) {
        const bool expected = row->handler != nullptr &&
                              (row->enabled == nullptr || rule.enabled.contains(row->name));
        EXPECT_EQ(action->isEnabled(), expected) << row->name;
        if (row->button.name != nullptr) {
            QAction* button = child<QToolButton>(*window, row->button.name).defaultAction();
            EXPECT_EQ(button->isEnabled(), expected) << row->button.name;
        }
    }
}

// The rules look only at whether there is a step, not at its name.
const std::string kStep = "step";

const RuleCase kRuleCases[] = {
    {"NoLine", {0, true, "", ""}, {}},
    {"NoLineButAClipboard", {0, false, "", ""}, {}},
    {"OneLine",
     {1, true, "", ""},
     {"menuCut", "menuCopy", "menuCmdPaletteAdd", "menuCmdEdit", "menuCmdInsert"}},
    {"OneLineAndAClipboard",
     {1, false, "", ""},
     {"menuCut", "menuCopy", "menuPaste", "menuCmdPaletteAdd", "menuCmdEdit", "menuCmdInsert"}},
    {"TwoLinesAndAClipboard", {2, false, "", ""}, {"menuCut", "menuCopy"}},
    {"AStepToUndo", {0, true, kStep, ""}, {"menuUndo"}},
    {"StepsBothWays", {0, true, kStep, kStep}, {"menuUndo", "menuRedo"}},
};

INSTANTIATE_TEST_SUITE_P(States, MenuRules, ::testing::ValuesIn(kRuleCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(Menus, UndoAndRedoNameTheirStep) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    EXPECT_FALSE(a.menuUndo->isEnabled()) << "nothing to undo yet";
    EXPECT_EQ(a.menuUndo->text(), QStringLiteral("元に戻す(&U)"));
    // The author written back by the version dialog is a step of its own,
    // though the dialog changes no view.
    modal = [](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtUserName").setText(QStringLiteral("新しい作者"));
        dialog.reject();
        return 0;
    };
    a.menuVersion->trigger();
    EXPECT_TRUE(a.menuUndo->isEnabled());
    EXPECT_TRUE(a.menuUndo->text().startsWith(QStringLiteral("元に戻す(&U) - ")))
        << a.menuUndo->text().toStdString();
    EXPECT_FALSE(a.menuRedo->isEnabled());

    a.menuUndo->trigger();
    EXPECT_FALSE(a.menuUndo->isEnabled());
    EXPECT_EQ(a.menuUndo->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_TRUE(a.menuRedo->isEnabled());
    EXPECT_TRUE(a.menuRedo->text().startsWith(QStringLiteral("やり直し(&R) - ")));
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
