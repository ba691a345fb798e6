#include "commands/flag_ctrl_dialog.h"
#include "commands/str_input_dialog.h"
#include "commands/string_ctrl_dialog.h"
#include "commands/value_ctrl_dialog.h"
#include "dialog_fixture.h"
#include "gui/help_topics.h"
#include "test_command_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>
#include <memory>

namespace pagora::test {
namespace {

const std::string kQuoteMessage = "文字列にダブルクォーテーション(\")は\n\r使用できません。\n";

const QStringList kBuiltInNumbers = {"@乱数",   "@年月日", "@年", "@月", "@日",
                                     "@時分秒", "@時",     "@分", "@秒", "@経過時間"};

// A dialog of one kind over the comic with the variables score, 回数 (numeric)
// and name, 天気 (string).
template <typename Dialog> class VariableDialog : public DialogTest {
protected:
    VariableDialog() { openComic(comicWithVariables()); }

    template <typename T> T& control(const char* name) { return child<T>(dialog, name); }
    QComboBox& list(const char* name) { return control<QComboBox>(name); }

    std::optional<std::string> pressOK() { return test::pressOK(dialog); }
    // Loads line, presses OK without changing anything and gives what was written.
    std::optional<std::string> reopen(const std::string& line) {
        dialog.loadLine(line);
        return pressOK();
    }

    Dialog dialog{context};
};

using FlagCtrlDialog = VariableDialog<TfrmFlagCtrl>;

TEST_F(FlagCtrlDialog, ReadsAsASentenceWhoseEndFollowsTheOperation) {
    const std::string line = sj(R"(FlagCtrl "%回数%",2,"/IF:%score%==1")");
    dialog.loadLine(line);
    EXPECT_EQ(itemsOf(list("cmbFlagName")), QStringList({"score", "回数"}));
    EXPECT_EQ(list("cmbFlagName").currentText(), QStringLiteral("回数"));
    EXPECT_EQ(itemsOf(list("cmbFlagCtrl")), QStringList({"ＯＮ", "ＯＦＦ", "反転"}));
    EXPECT_EQ(list("cmbFlagCtrl").currentIndex(), 2);
    QLabel& end = control<QLabel>("Label2");
    EXPECT_EQ(end.text(), QStringLiteral("する"));
    list("cmbFlagCtrl").setCurrentIndex(0);
    EXPECT_EQ(end.text(), QStringLiteral("にする"));
    list("cmbFlagCtrl").setCurrentIndex(2);
    EXPECT_EQ(end.text(), QStringLiteral("する"));
    EXPECT_EQ(pressOK(), line) << "nothing changed, the condition kept";

    list("cmbFlagCtrl").setCurrentIndex(1);
    list("cmbFlagName").setCurrentIndex(0);
    EXPECT_EQ(pressOK(), sj(R"(FlagCtrl "%score%",1,"/IF:%score%==1")"));
}

// Lines that cannot be shown whole open with what can be read; OK is refused,
// naming the control, until the user has chosen what is missing.
struct PartialLine {
    const char* name;
    const char* line;
    int flag;      // the flag chosen on opening, -1 none
    int operation; // the operation chosen on opening, -1 none
    const char* refusal;
};

class FlagCtrlPartialLines : public FlagCtrlDialog,
                             public ::testing::WithParamInterface<PartialLine> {};

TEST_P(FlagCtrlPartialLines, OpenWithWhatCanBeReadAndOKWaitsForTheRest) {
    const PartialLine& given = GetParam();
    dialog.loadLine(sj(given.line));
    EXPECT_EQ(list("cmbFlagName").currentIndex(), given.flag);
    EXPECT_EQ(list("cmbFlagCtrl").currentIndex(), given.operation);
    EXPECT_EQ(control<QLabel>("Label2").text(), QStringLiteral("にする"));
    EXPECT_EQ(pressOK(), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0], QString::fromUtf8(given.refusal));
    EXPECT_TRUE(prompter.messages().empty());

    list("cmbFlagName").setCurrentIndex(1);
    list("cmbFlagCtrl").setCurrentIndex(0);
    EXPECT_EQ(pressOK(), sj(R"(FlagCtrl "%回数%",0,)"));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FlagCtrlPartialLines,
    ::testing::Values(
        PartialLine{"New", "", -1, 0, "変数が選択されていません"},
        PartialLine{"Undeclared", R"(FlagCtrl "%消えた%",1,)", -1, 1, "変数が選択されていません"},
        PartialLine{"WithoutParameters", "FlagCtrl ", -1, 0, "変数が選択されていません"},
        PartialLine{"OperationOutOfRange", R"(FlagCtrl "%score%",7,)", 0, -1,
                    "フラグの操作が選択されていません"},
        PartialLine{"NegativeOperation", R"(FlagCtrl "score",-1,)", 0, -1,
                    "フラグの操作が選択されていません"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

using ValueCtrlDialog = VariableDialog<TfrmValueCtrl>;

TEST_F(ValueCtrlDialog, OffersBuiltInVariablesAsOperandsOnly) {
    dialog.loadLine("");
    EXPECT_EQ(itemsOf(list("cmbValueFlag")), QStringList({"score", "回数"}));
    const QStringList operands = kBuiltInNumbers + QStringList{"score", "回数"};
    EXPECT_EQ(itemsOf(list("cmbValueFlag1")), operands);
    EXPECT_EQ(itemsOf(list("cmbValueFlag2")), operands);
    EXPECT_EQ(itemsOf(list("cmbValueCtrlType")), QStringList({"＋", "－", "×", "÷", "mod"}));
    for (const char* number : {"cmbValue1", "cmbValue2"}) {
        EXPECT_EQ(list(number).currentText(), QStringLiteral("0")) << number;
        EXPECT_TRUE(list(number).isEnabled()) << number;
    }
    EXPECT_TRUE(control<QRadioButton>("rbValue1").isChecked());
    EXPECT_FALSE(list("cmbValueFlag1").isEnabled());
    EXPECT_EQ(list("cmbValueCtrlType").currentIndex(), -1);
}

TEST_F(ValueCtrlDialog, AVariableOperandOpensWithItsListAndANumberWithItsBox) {
    const std::string line = sj(R"(ValueCtrl "%回数%",4,"%@乱数%","12","/IF:%score%>=1")");
    dialog.loadLine(line);
    EXPECT_EQ(list("cmbValueFlag").currentText(), QStringLiteral("回数"));
    EXPECT_TRUE(control<QRadioButton>("rbValueFlag1").isChecked());
    EXPECT_EQ(list("cmbValueFlag1").currentText(), QStringLiteral("@乱数"));
    EXPECT_TRUE(list("cmbValueFlag1").isEnabled());
    EXPECT_FALSE(list("cmbValue1").isEnabled());
    EXPECT_TRUE(control<QRadioButton>("rbValue2").isChecked());
    EXPECT_EQ(list("cmbValue2").currentText(), QStringLiteral("12"));
    EXPECT_EQ(list("cmbValueFlag2").currentIndex(), -1);
    EXPECT_EQ(list("cmbValueCtrlType").currentText(), QStringLiteral("÷"));
    EXPECT_EQ(pressOK(), line) << "operator 4 is stored as 4 again";

    // Each operand switches between its box and its list on its own.
    control<QRadioButton>("rbValue1").setChecked(true);
    EXPECT_TRUE(list("cmbValue1").isEnabled());
    EXPECT_FALSE(list("cmbValueFlag1").isEnabled());
    EXPECT_TRUE(control<QRadioButton>("rbValue2").isChecked()) << "the other pair is untouched";
    list("cmbValue1").setEditText(QStringLiteral("007"));
    control<QRadioButton>("rbValueFlag2").setChecked(true);
    list("cmbValueFlag2").setCurrentText(QStringLiteral("score"));
    list("cmbValueCtrlType").setCurrentIndex(4);
    EXPECT_EQ(pressOK(), sj(R"(ValueCtrl "%回数%",5,"7","%score%","/IF:%score%>=1")"));
}

// The stored operator, the list position it opens with, and what OK then stores.
struct OperatorCase {
    int stored;
    int position;
    int written;
};

class ValueCtrlOperators : public ValueCtrlDialog,
                           public ::testing::WithParamInterface<OperatorCase> {};

TEST_P(ValueCtrlOperators, OpenAtTheirPositionAndAreStoredOneHigher) {
    const OperatorCase given = GetParam();
    dialog.loadLine("ValueCtrl \"%score%\"," + std::to_string(given.stored) + ",\"1\",\"2\",");
    EXPECT_EQ(list("cmbValueCtrlType").currentIndex(), given.position);
    EXPECT_EQ(pressOK(),
              "ValueCtrl \"%score%\"," + std::to_string(given.written) + ",\"1\",\"2\",");
}

INSTANTIATE_TEST_SUITE_P(Operators, ValueCtrlOperators,
                         ::testing::Values(OperatorCase{1, 0, 1}, OperatorCase{3, 2, 3},
                                           OperatorCase{5, 4, 5}, OperatorCase{0, -1, 0},
                                           OperatorCase{6, -1, 0}, OperatorCase{-2, -1, 0}));

TEST_F(ValueCtrlDialog, PartialLinesOpenWithWhatCanBeRead) {
    // Undeclared variables, a number that is not one, a missing operand.
    dialog.loadLine(sj(R"(ValueCtrl "%消えた%",2,"%無い%","abc")"));
    EXPECT_EQ(list("cmbValueFlag").currentIndex(), -1);
    EXPECT_TRUE(control<QRadioButton>("rbValueFlag1").isChecked());
    EXPECT_EQ(list("cmbValueFlag1").currentIndex(), -1);
    EXPECT_EQ(list("cmbValue2").currentText(), QStringLiteral("0"));
    EXPECT_EQ(pressOK(), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0], QStringLiteral("変数が選択されていません"));

    list("cmbValueFlag").setCurrentIndex(0);
    EXPECT_EQ(pressOK(), std::nullopt) << "the first operand's variable is still missing";
    list("cmbValueFlag1").setCurrentText(QStringLiteral("@経過時間"));
    EXPECT_EQ(pressOK(), sj(R"(ValueCtrl "%score%",2,"%@経過時間%","0",)"));
    EXPECT_EQ(errorBoxes.size(), 2u);
}

using StringCtrlDialog = VariableDialog<TfrmStringCtrl>;

TEST_F(StringCtrlDialog, ShowsTheTextAsLinesAndWritesItBackUnchecked) {
    const std::string line = sj(R"(StringCtrl "$天気$","くもり# #&name&",)");
    dialog.loadLine(line);
    EXPECT_EQ(itemsOf(list("cmbStringFlag")), QStringList({"name", "天気"}))
        << "no built-in variable can be assigned";
    EXPECT_EQ(list("cmbStringFlag").currentText(), QStringLiteral("天気"));
    QPlainTextEdit& memo = control<QPlainTextEdit>("memText");
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("くもり\n \n&name&"));
    EXPECT_EQ(pressOK(), line);

    // Neither the delimiters nor the characters of a name are checked here.
    memo.setPlainText(QStringLiteral("100%\n\nです!"));
    list("cmbStringFlag").setCurrentIndex(0);
    EXPECT_EQ(pressOK(), sj(R"(StringCtrl "$name$","100%# #です!",)"));
    EXPECT_TRUE(prompter.messages().empty());

    // A double quote would end the text inside the line: refused, not cut.
    memo.setPlainText(QStringLiteral("「\"やあ\"」"));
    EXPECT_EQ(pressOK(), std::nullopt);
    EXPECT_EQ(utf8Messages(prompter), kQuoteMessage);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("「\"やあ\"」")) << "nothing is lost";
}

TEST_F(StringCtrlDialog, SharesTheMessageTagButtons) {
    dialog.loadLine(sj(R"(StringCtrl "$name$","abc",)"));
    control<QPlainTextEdit>("memText").selectAll();
    control<QToolButton>("spdbtnFontItalic").click();
    modal = [](QDialog& chooser) {
        auto& names = child<QListWidget>(chooser, "lstFlagList");
        names.setCurrentRow(static_cast<int>(names.count()) - 1);
        static_cast<DialogFrame&>(chooser).btnOKClick();
        return 0;
    };
    control<QToolButton>("spdbtnStringFlag").click();
    EXPECT_EQ(pressOK(), sj(R"(StringCtrl "$name$","<I>abc<N>&@曜日&",)"));
}

TEST_F(StringCtrlDialog, AnUndeclaredTargetOpensWithoutAChoice) {
    dialog.loadLine(sj(R"(StringCtrl "$消えた$","x")"));
    EXPECT_EQ(list("cmbStringFlag").currentIndex(), -1);
    EXPECT_EQ(pressOK(), std::nullopt);
    EXPECT_EQ(errorBoxes.size(), 1u);
}

using StrInputDialog = VariableDialog<TfrmStrInput>;

TEST_F(StrInputDialog, ANewInputIsTitledAndTheLinesOptionsPassThrough) {
    dialog.loadLine("");
    EXPECT_EQ(control<QLineEdit>("edtCaption").text(), QStringLiteral("文字列の入力"));
    EXPECT_EQ(control<QLineEdit>("edtMessages").text(), QString());
    EXPECT_EQ(itemsOf(list("cmbFlagName")), QStringList({"name", "天気"}));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnOption")), nullptr);

    const std::string line = sj(R"(StrInput "お名前","名前は？","$name$","/IFS:%天気%==晴れ")");
    EXPECT_EQ(reopen(line), line);
    control<QLineEdit>("edtMessages").setText(QStringLiteral("あなたの名前"));
    list("cmbFlagName").setCurrentIndex(1);
    EXPECT_EQ(pressOK(), sj(R"(StrInput "お名前","あなたの名前","$天気$","/IFS:%天気%==晴れ")"));
}

TEST_F(StrInputDialog, RefusesWhatTheComicCannotHold) {
    dialog.loadLine(sj(R"(StrInput "t","m","$消えた$",)"));
    EXPECT_EQ(list("cmbFlagName").currentIndex(), -1) << "the variable is not in the table";
    list("cmbFlagName").setCurrentIndex(0);
    control<QLineEdit>("edtMessages").setText(QStringLiteral("雪☃"));
    EXPECT_EQ(pressOK(), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("☃"))) << errorBoxes[0].toStdString();

    // A double quote would end the text inside the line: refused, not cut.
    control<QLineEdit>("edtCaption").setText(QStringLiteral("\"名前\""));
    control<QLineEdit>("edtMessages").setText(QStringLiteral("雪"));
    EXPECT_EQ(pressOK(), std::nullopt);
    EXPECT_EQ(utf8Messages(prompter), kQuoteMessage);
    control<QLineEdit>("edtCaption").setText(QStringLiteral("名前"));
    EXPECT_EQ(pressOK(), sj(R"(StrInput "名前","雪","$name$",)"));
}

// What every variable dialog shares, by kind: the help topic, and for the
// dialogs with a "変数セット"/"フラグセット" button the list it refills.
struct DialogKind {
    const char* name;
    std::function<std::unique_ptr<TCommandDialog>(DialogContext&)> make;
    int helpTopic;
    const char* page;
    // For the dialogs with the button: the list it refills, the block a new
    // variable of that list is declared in, a line whose target is the
    // list's first variable.
    const char* targetList;
    const char* block;
    const char* line;
};

class VariableDialogs : public DialogTest, public ::testing::WithParamInterface<DialogKind> {
protected:
    VariableDialogs() { openComic(comicWithVariables()); }
};

TEST_P(VariableDialogs, HelpOpensTheirTopic) {
    const DialogKind& kind = GetParam();
    const std::unique_ptr<TCommandDialog> dialog = kind.make(context);
    dialog->loadLine("");
    dialog->btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QString::fromLatin1(kind.page));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic%1").arg(kind.helpTopic));
    const std::string page =
        readFile(std::filesystem::path(PAGORA_SOURCE_DIR) / "docs" / "help" / kind.page);
    EXPECT_NE(page.find("id=\"topic" + std::to_string(kind.helpTopic) + "\""), std::string::npos);
}

class VariableTableButtons : public VariableDialogs {};

TEST_P(VariableTableButtons, OfferANewNameAtOnce) {
    const DialogKind& kind = GetParam();
    const std::unique_ptr<TCommandDialog> dialog = kind.make(context);
    context.editVariables = [this, &kind](QWidget* parent) {
        variableTableRuns.push_back(parent);
        comic.WriteHeader(kind.block, sj("新しい"), "1");
        flags.LoadFlags();
    };
    dialog->loadLine(sj(kind.line));
    QComboBox& list = child<QComboBox>(*dialog, kind.targetList);
    ASSERT_EQ(list.currentIndex(), 0);
    child<QPushButton>(*dialog, "btnFlagSet").click();
    ASSERT_EQ(variableTableRuns.size(), 1u);
    EXPECT_EQ(variableTableRuns[0], dialog.get()) << "the table opens over the dialog";
    EXPECT_EQ(list.itemText(list.count() - 1), QStringLiteral("新しい"));
    EXPECT_EQ(list.currentIndex(), 0) << "the choice made stays";
    list.setCurrentIndex(list.count() - 1);
    dialog->btnOKClick();
    EXPECT_NE(dialog->line().find(sj("新しい")), std::string::npos) << dialog->line();
}

template <typename Dialog> std::unique_ptr<TCommandDialog> make(DialogContext& context) {
    return std::make_unique<Dialog>(context);
}

const DialogKind kWithTableButton[] = {
    {"FlagCtrl", make<TfrmFlagCtrl>, kFlagCtrlHelpTopic, "variable-commands.html", "cmbFlagName",
     "ValueFlag", R"(FlagCtrl "%score%",0,)"},
    {"ValueCtrl", make<TfrmValueCtrl>, kValueCtrlHelpTopic, "variable-commands.html",
     "cmbValueFlag", "ValueFlag", R"(ValueCtrl "%score%",1,"1","2",)"},
    {"StringCtrl", make<TfrmStringCtrl>, kStringCtrlHelpTopic, "variable-commands.html",
     "cmbStringFlag", "StringFlag", R"(StringCtrl "$name$","x",)"},
};

const auto kindName = [](const auto& testCase) {
    return std::string(testCase.param.name);
};

INSTANTIATE_TEST_SUITE_P(Kinds, VariableTableButtons, ::testing::ValuesIn(kWithTableButton),
                         kindName);

INSTANTIATE_TEST_SUITE_P(Kinds, VariableDialogs,
                         ::testing::Values(kWithTableButton[0], kWithTableButton[1],
                                           kWithTableButton[2],
                                           DialogKind{"StrInput", make<TfrmStrInput>,
                                                      kStrInputHelpTopic, "variable-commands.html",
                                                      nullptr, nullptr, nullptr}),
                         kindName);

} // namespace
} // namespace pagora::test
