#include "editor/script/control_driver.h"
#include "editor/script/printing_prompter.h"
#include "editor/script/script_parser.h"
#include "editor/script/script_steps.h"
#include "editor/script/step_errors.h"
#include "editor/script/user_input.h"
#include "editor/script/window_lookup.h"
#include "editor_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace pagora::test {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
    std::string line;
    Words words;
};

class SplitScriptLine : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitScriptLine, GivesTheArguments) {
    EXPECT_EQ(splitScriptLine(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitScriptLine,
    ::testing::Values(SplitCase{"set  edtName\tabc ", {"set", "edtName", "abc"}},
                      SplitCase{R"(input "two words")", {"input", "two words"}},
                      SplitCase{R"(input "")", {"input", ""}},
                      SplitCase{R"(set a "q\"b\\s\n\r\t")", {"set", "a", "q\"b\\s\n\r\t"}},
                      SplitCase{"menu 上書き保存", {"menu", "上書き保存"}},
                      SplitCase{R"(set a b\n)", {"set", "a", "b\\n"}}));

TEST(SplitScriptLineErrors, RefusesOpenQuotesBadEscapesAndStrayQuotes) {
    for (const char* line : {R"(input "open)", R"(input "a\qb")", R"(input a"b")", R"(input "a"b)",
                             R"(input "ends in\)"})
        EXPECT_THROW(splitScriptLine(line), std::invalid_argument) << line;
}

TEST(ParseScript, SkipsCommentsAndBlankLinesAndKeepsLineNumbers) {
    const std::vector<ScriptStep> steps = parseScript(
        "\xEF\xBB\xBF# exit: 1\r\n\r\n  \nmenu menuFileSave\r\n  # note\nanswer Yes No\n");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].line, 4);
    EXPECT_EQ(steps[0].verb, "menu");
    EXPECT_EQ(steps[0].args, Words{"menuFileSave"});
    EXPECT_EQ(steps[1].line, 6);
    EXPECT_EQ(steps[1].args, (Words{"Yes", "No"}));
}

struct BadScript {
    std::string text;
    int line;
    std::string reason;
};

class ParseScriptErrors : public ::testing::TestWithParam<BadScript> {};

TEST_P(ParseScriptErrors, NameTheLineAndTheFault) {
    try {
        parseScript(GetParam().text);
        FAIL() << "no error for " << GetParam().text;
    } catch (const ScriptSyntaxError& error) {
        EXPECT_EQ(error.line(), GetParam().line);
        EXPECT_EQ(error.what(), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ParseScriptErrors,
    ::testing::Values(BadScript{"print-page\nfly away\n", 2, "unknown step fly"},
                      BadScript{"\n\nset edtName\n", 3, "wrong number of arguments for set"},
                      BadScript{"print-page extra", 1, "wrong number of arguments for print-page"},
                      BadScript{"answer", 1, "wrong number of arguments for answer"},
                      BadScript{"# c\ninput \"open\n", 2, "missing closing quote"},
                      BadScript{"mouse a click 1 2 right more", 1,
                                "wrong number of arguments for mouse"}));

TEST(PlainCaption, DropsAccessKeysAndTrailingAccelerators) {
    EXPECT_EQ(plainCaption(QStringLiteral("上書き保存(&S)")), QStringLiteral("上書き保存"));
    EXPECT_EQ(plainCaption(QStringLiteral("&Open")), QStringLiteral("Open"));
    EXPECT_EQ(plainCaption(QStringLiteral("Save && &Quit")), QStringLiteral("Save & Quit"));
    EXPECT_EQ(plainCaption(QStringLiteral("１０ｄｏｔ")), QStringLiteral("１０ｄｏｔ"));
}

// A small window with one control of each kind the driver knows.
class ControlDriver : public ::testing::Test {
protected:
    ControlDriver() {
        window.setObjectName(QStringLiteral("TfrmTest"));
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 &edit, &combo, &editable, &check, &radioA, &radioB, &list, &table, &button})
            layout->addWidget(control);
        edit.setObjectName(QStringLiteral("edtName"));
        combo.setObjectName(QStringLiteral("cmbEffect"));
        combo.addItems({QStringLiteral("Normal"), QStringLiteral("FadeIn")});
        editable.setObjectName(QStringLiteral("cmbTime"));
        editable.setEditable(true);
        editable.addItems({QStringLiteral("10"), QStringLiteral("20")});
        check.setObjectName(QStringLiteral("chkTime"));
        radioA.setText(QStringLiteral("&Left"));
        radioB.setText(QStringLiteral("Right"));
        list.setObjectName(QStringLiteral("lstItems"));
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        list.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        table.setObjectName(QStringLiteral("grdValues"));
        table.setRowCount(2);
        table.setColumnCount(2);
        button.setObjectName(QStringLiteral("btnOK"));
        button.setText(QStringLiteral("ＯＫ(&O)"));
        window.show();
    }

    QWidget window;
    QLineEdit edit;
    QComboBox combo;
    QComboBox editable;
    QCheckBox check;
    QRadioButton radioA;
    QRadioButton radioB;
    QListWidget list;
    QTableWidget table;
    QPushButton button;
};

TEST_F(ControlDriver, SettingEmitsWhatAUserChangeEmits) {
    QSignalSpy edited(&edit, &QLineEdit::textEdited);
    setControlValue(edit, QStringLiteral("新しい名前"));
    EXPECT_EQ(edit.text(), QStringLiteral("新しい名前"));
    EXPECT_EQ(edited.count(), 1);

    QSignalSpy activated(&combo, &QComboBox::activated);
    setControlValue(combo, QStringLiteral("FadeIn"));
    EXPECT_EQ(combo.currentIndex(), 1);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toInt(), 1);
    setControlValue(combo, QStringLiteral("#-1"));
    EXPECT_EQ(combo.currentIndex(), -1);

    setControlValue(editable, QStringLiteral("35"));
    EXPECT_EQ(editable.currentText(), QStringLiteral("35"));

    QSignalSpy toggled(&check, &QCheckBox::toggled);
    setControlValue(check, QStringLiteral("1"));
    setControlValue(check, QStringLiteral("1"));
    EXPECT_EQ(toggled.count(), 1);
    setControlValue(radioB, QStringLiteral("1"));
    EXPECT_FALSE(radioA.isChecked());
    EXPECT_TRUE(radioB.isChecked());
}

TEST_F(ControlDriver, MissingItemsAreWaitedForAndBadValuesRefused) {
    EXPECT_THROW(setControlValue(combo, QStringLiteral("Wipe")), LookupMiss);
    EXPECT_THROW(setControlValue(combo, QStringLiteral("#2")), LookupMiss);
    EXPECT_THROW(setControlValue(list, QStringLiteral("#-1")), LookupMiss);
    try {
        setControlValue(check, QStringLiteral("yes"));
        FAIL() << "a check box took yes";
    } catch (const LookupMiss&) {
        FAIL() << "a bad value is no missing item";
    } catch (const StepError&) {
    }
    edit.setEnabled(false);
    EXPECT_THROW(setControlValue(edit, QStringLiteral("x")), StepError);
}

TEST_F(ControlDriver, ADisabledItemCannotBeSelected) {
    list.item(1)->setFlags(list.item(1)->flags() & ~Qt::ItemIsEnabled);
    setControlValue(list, QStringLiteral("a"));
    EXPECT_THROW(setControlValue(list, QStringLiteral("b")), StepError);
    EXPECT_THROW(setControlValue(list, QStringLiteral("#0,#1")), StepError);
    EXPECT_EQ(list.currentRow(), 0);
}

TEST_F(ControlDriver, ListsSelectSeveralItemsAndReportTheirProperties) {
    setControlValue(list, QStringLiteral("#0,#2"));
    EXPECT_EQ(list.selectedItems().size(), 2);
    EXPECT_EQ(list.currentRow(), 0);
    setControlValue(list, QStringLiteral("b"));
    EXPECT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(controlProperty(list, QStringLiteral("text")), QStringLiteral("b"));
    EXPECT_EQ(controlProperty(list, QStringLiteral("index")), QStringLiteral("1"));
    EXPECT_EQ(controlProperty(list, QStringLiteral("items")), QStringLiteral("a|b|c"));
    EXPECT_EQ(controlProperty(list, QStringLiteral("count")), QStringLiteral("3"));
    EXPECT_EQ(controlProperty(combo, QStringLiteral("items")), QStringLiteral("Normal|FadeIn"));
    EXPECT_EQ(controlProperty(check, QStringLiteral("text")), QStringLiteral("0"));
    EXPECT_EQ(controlProperty(button, QStringLiteral("text")), QStringLiteral("ＯＫ"));
    EXPECT_THROW(controlProperty(edit, QStringLiteral("colour")), StepError);
    EXPECT_THROW(controlProperty(edit, QStringLiteral("items")), StepError);
}

TEST_F(ControlDriver, ControlsAreFoundByNameCaptionOrWindow) {
    EXPECT_EQ(&findControl(window, QStringLiteral("edtName")), &edit);
    EXPECT_EQ(&findControl(window, QStringLiteral("Left")), &radioA);
    EXPECT_EQ(&findControl(window, QStringLiteral("ＯＫ")), &button);
    EXPECT_EQ(&findControl(window, QStringLiteral("TfrmTest/btnOK")), &button);
    EXPECT_THROW(findControl(window, QStringLiteral("TfrmNone/btnOK")), LookupMiss);
    EXPECT_THROW(findControl(window, QStringLiteral("btnCancel")), LookupMiss);
}

TEST_F(ControlDriver, CellsAreEditedThroughTheDelegate) {
    QSignalSpy changed(&table, &QTableWidget::cellChanged);
    editCell(table, 1, 0, QStringLiteral("値"));
    ASSERT_NE(table.item(1, 0), nullptr);
    EXPECT_EQ(table.item(1, 0)->text(), QStringLiteral("値"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_THROW(editCell(table, 2, 0, QStringLiteral("x")), LookupMiss);
}

TEST_F(ControlDriver, SelectingTextCountsCharactersFromZero) {
    setControlValue(edit, QStringLiteral("あいうえお"));
    selectControlText(edit, 1, 3);
    EXPECT_EQ(edit.selectedText(), QStringLiteral("いう"));
    selectControlText(edit, 5, 5);
    EXPECT_EQ(edit.cursorPosition(), 5);
    EXPECT_THROW(selectControlText(edit, 2, 6), StepError);
}

TEST_F(ControlDriver, KeysReachTheShortcutsOfTheControl) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QAction remove(&list);
    remove.setShortcut(QKeySequence::Delete);
    remove.setShortcutContext(Qt::WidgetShortcut);
    list.addAction(&remove);
    QSignalSpy triggered(&remove, &QAction::triggered);
    sendKeys(list, QStringLiteral("Delete"));
    EXPECT_EQ(triggered.count(), 1);
    sendKeys(edit, QStringLiteral("A"));
    EXPECT_EQ(edit.text(), QStringLiteral("a"));
    EXPECT_THROW(sendKeys(edit, QStringLiteral("Ctrl+Nothing")), StepError);
}

TEST_F(ControlDriver, ARightClickAsksForTheContextMenu) {
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy asked(&list, &QWidget::customContextMenuRequested);
    sendMouse(list, MouseAction::Click, QPoint(5, 5), true);
    EXPECT_EQ(asked.count(), 1);
}

TEST_F(ControlDriver, ClicksOfSeparateStepsNeverMakeADoubleClick) {
    QSignalSpy doubled(&list, &QListWidget::itemDoubleClicked);
    const QPoint onFirstRow = list.visualItemRect(list.item(0)).center();
    sendMouse(*list.viewport(), MouseAction::Click, onFirstRow, false);
    sendMouse(*list.viewport(), MouseAction::Click, onFirstRow, false);
    EXPECT_EQ(doubled.count(), 0);
    EXPECT_EQ(list.currentRow(), 0);
}

TEST_F(ControlDriver, ADoubleClickOnARowFiresTheItemSignal) {
    QSignalSpy doubled(&list, &QListWidget::itemDoubleClicked);
    doubleClickRow(list, 2);
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_THROW(doubleClickRow(list, 3), LookupMiss);
}

// Steps on the main window, with the queues of a printing prompter.
class ScriptStepsTest : public EditorTest {
protected:
    void run(const std::string& verb, const std::vector<std::string>& args) {
        steps.run(ScriptStep{1, verb, args});
    }
    std::unique_ptr<TfrmMain> window = showWindow(writeSample());
    PrintingPrompter queues;
    ScriptSteps steps{*window, queues};
};

TEST_F(ScriptStepsTest, PagesAreOpenedByTheirNamesAndMissingOnesWaitedFor) {
    run("page", {"第二章", "居間"});
    EXPECT_EQ(window->file().currentBook, sj("第二章"));
    EXPECT_EQ(window->file().currentPage, sj("居間"));
    EXPECT_THROW(run("page", {"第二章", "どこにもない"}), LookupMiss);
    EXPECT_EQ(window->file().currentPage, sj("居間"));
    run("focus", {"9"});
    EXPECT_EQ(window->commandList().focusedIndex(), 9);
    EXPECT_THROW(run("focus", {"10"}), LookupMiss);
}

TEST_F(ScriptStepsTest, TextTheComicCannotHoldOrUnknownWordsAreNoStep) {
    const std::string painting = "絵\xF0\x9F\x8E\xA8";
    EXPECT_THROW(run("input", {painting}), StepError);
    EXPECT_THROW(run("page", {painting, "居間"}), StepError);
    EXPECT_THROW(run("answer", {"Yes", "Maybe"}), StepError);
    EXPECT_THROW(run("color", {"clNoColour"}), StepError);
    EXPECT_THROW(run("focus", {"1x"}), StepError);
    // Nothing of a refused step was queued: the next box gets its safe default.
    EXPECT_EQ(queues.ScriptedPrompter::message(MessageKind::Confirmation, "?", Buttons::YesNo),
              Answer::No);
    EXPECT_FALSE(queues.inputText("", "", ""));
}

TEST_F(ScriptStepsTest, ExpectNamesTheControlAndBothValues) {
    run("page", {"第一章", "次"});
    run("expect", {"lstCmdList:count", "3"});
    try {
        run("expect", {"lstCmdList:count", "4"});
        FAIL() << "the expect held";
    } catch (const ExpectFailure& failure) {
        EXPECT_EQ(failure.name, "lstCmdList:count");
        EXPECT_EQ(failure.expected, "4");
        EXPECT_EQ(failure.actual, "3");
    }
    run("expect", {"menuPaste:enabled", "0"});
}

} // namespace
} // namespace pagora::test
