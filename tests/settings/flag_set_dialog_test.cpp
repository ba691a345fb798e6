#include "dialog_fixture.h"
#include "gui/help_topics.h"
#include "platform/encoding.h"
#include "settings/flag_set_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

// The comic's variables, with lines of 第一章/次 that use some of them:
// score twice on one line and once on another, 天気 once, and 未定義, which
// the comic does not declare, once.
std::vector<std::string> comicUsingVariables() {
    std::vector<std::string> lines = comicWithVariables();
    const auto page = std::ranges::find(lines, std::string("<Page=\"次\">"));
    lines.insert(page + 1, {"ValueCtrl \"%score%\",1,\"%score%\",\"1\",",
                            "MsgDlg \"&天気&で%score%点\",0,\"None\",\"Normal\",0,1,0,",
                            "FlagCtrl \"%未定義%\",0,"});
    return lines;
}

class FlagSetDialog : public DialogTest {
protected:
    FlagSetDialog() {
        openComic(comicUsingVariables());
        prompter.clear();
    }

    QStringList names(const char* list) {
        QStringList texts;
        auto& widget = child<QListWidget>(dialog, list);
        for (int i = 0; i < widget.count(); ++i)
            texts << widget.item(i)->text();
        return texts;
    }
    std::vector<int> lineCounts(const char* list) {
        std::vector<int> counts;
        auto& widget = child<QListWidget>(dialog, list);
        for (int i = 0; i < widget.count(); ++i)
            counts.push_back(widget.item(i)->data(TfrmFlagSet::kLinesRole).toInt());
        return counts;
    }
    void type(const char* control, const QString& text) {
        if (auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(control)))
            edit->setText(text);
        else
            child<QComboBox>(dialog, control).setEditText(text);
    }
    void click(const char* list, int row) { child<QListWidget>(dialog, list).setCurrentRow(row); }
    using Entries = std::vector<std::pair<std::string, std::string>>;
    Entries entries(const char* block) { return comic.GetHeaderEntries(block); }

    int declared = 0;
    TfrmFlagSet dialog{
        context,
        {[this](VariableKind kind, std::string_view name, std::string_view value) {
             ++declared;
             return declareVariable(comic, kind, name, value);
         },
         [this](VariableKind kind, std::string_view name) {
             return deleteVariable(comic, kind, name);
         },
         [this](VariableKind kind, std::string_view oldName, std::string_view newName) {
             return renameVariable(comic, context.syntax, kind, oldName, newName,
                                   ReferenceUpdate::Rewrite)
                 .verdict;
         },
         [this](VariableKind, std::string_view name) {
             referencesShown.emplace_back(name);
         }}};
    std::vector<std::string> referencesShown;
};

TEST_F(FlagSetDialog, ListsBothBlocksInFileOrderWithTheLinesThatUseEachName) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("変数の設定"));
    auto& tabs = child<QTabWidget>(dialog, "PageControl");
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("数値変数の設定"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("文字列変数の設定"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnValueFlagAdd").text(), QStringLiteral("<< 追加/変更"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnStringFlagDelete").text(), QStringLiteral("削除"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnOK").text(), QStringLiteral("閉じる"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnCancel")), nullptr);

    dialog.load();
    EXPECT_EQ(names("lstValueFlag"), QStringList({"score", "回数"}));
    EXPECT_EQ(lineCounts("lstValueFlag"), (std::vector<int>{2, 0}));
    EXPECT_EQ(names("lstStringFlag"), QStringList({"name", "天気"}));
    EXPECT_EQ(lineCounts("lstStringFlag"), (std::vector<int>{0, 1}));
    EXPECT_EQ(child<QListWidget>(dialog, "lstValueFlag").item(0)->toolTip(),
              QStringLiteral("2 行のコマンドがこの変数を使っています"));
}

TEST_F(FlagSetDialog, ClickingANameShowsItAndItsInitialValue) {
    dialog.load();
    click("lstValueFlag", 1);
    EXPECT_EQ(child<QLineEdit>(dialog, "edtValueFlag").text(), QStringLiteral("回数"));
    EXPECT_EQ(child<QComboBox>(dialog, "cmbValueFlagInit").currentText(), QStringLiteral("0"));
    click("lstValueFlag", 0);
    EXPECT_EQ(child<QComboBox>(dialog, "cmbValueFlagInit").currentText(), QStringLiteral("10"));
    click("lstStringFlag", 1);
    dialog.lstStringFlagClick();
    EXPECT_EQ(child<QLineEdit>(dialog, "edtStringFlag").text(), QStringLiteral("天気"));
    EXPECT_EQ(child<QLineEdit>(dialog, "edtStringFlagInit").text(), QStringLiteral("晴れ"));
}

TEST_F(FlagSetDialog, AnExistingNameKeepsItsPlaceAndANewOneGoesLastEachAStep) {
    dialog.load();
    type("edtValueFlag", QStringLiteral("score"));
    type("cmbValueFlagInit", QStringLiteral("42"));
    dialog.btnValueFlagAddClick();
    type("edtValueFlag", QStringLiteral("未定義"));
    type("cmbValueFlagInit", QStringLiteral("-7"));
    dialog.btnValueFlagAddClick();
    EXPECT_EQ(entries("ValueFlag"),
              (Entries{{"score", "42"}, {sj("回数"), "0"}, {sj("未定義"), "-7"}}));
    EXPECT_EQ(names("lstValueFlag"), QStringList({"score", "回数", "未定義"}));
    EXPECT_EQ(lineCounts("lstValueFlag"), (std::vector<int>{2, 0, 1}))
        << "a line that used the name before it was declared counts";
    EXPECT_EQ(child<QListWidget>(dialog, "lstValueFlag").currentRow(), 2);
    EXPECT_EQ(comic.History().undoCount(), 2u);
    EXPECT_TRUE(prompter.records().empty());

    comic.History().undo();
    EXPECT_EQ(entries("ValueFlag"), (Entries{{"score", "42"}, {sj("回数"), "0"}}));
}

TEST_F(FlagSetDialog, TheFirstVariableMakesItsBlockAtTheEndAndAnEmptyTextIsAValue) {
    comic.CreateNew();
    dialog.load();
    type("edtStringFlag", QStringLiteral("名前"));
    dialog.btnStringFlagAddClick();
    const std::vector<std::string> body = comic.Lines();
    ASSERT_GE(body.size(), 4u);
    EXPECT_EQ(
        std::vector<std::string>(body.end() - 4, body.end()),
        (std::vector<std::string>{"<Head=\"StringFlag\">", "// ", sj("名前="), "<Head End>"}));
    EXPECT_EQ(names("lstStringFlag"), QStringList({"名前"}));
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(FlagSetDialog, EnterInTheEditsAddsInsteadOfClosing) {
    dialog.load();
    dialog.show();
    type("edtValueFlag", QStringLiteral("x"));
    type("cmbValueFlagInit", QStringLiteral("3"));
    QTest::keyClick(&child<QLineEdit>(dialog, "edtValueFlag"), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(comic.ReadHeader("ValueFlag", "x", "-"), "3");
    type("edtStringFlagInit", QStringLiteral("y"));
    type("edtStringFlag", QStringLiteral("s"));
    QTest::keyClick(&child<QLineEdit>(dialog, "edtStringFlagInit"), Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(comic.ReadHeader("StringFlag", "s", "-"), "y");
}

// A refused name or value: what the user is told, and the control focused.
struct Refusal {
    std::string name;
    VariableKind kind;
    QString variable;
    QString value;
    std::string message; // UTF-8, through the prompter; empty: an error box
    const char* focused;
    bool byEditingRules = false; // refused by the comic's rules, not by the dialog
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class FlagSetRefusals : public FlagSetDialog, public testing::WithParamInterface<Refusal> {};

TEST_P(FlagSetRefusals, WriteNothingAndKeepTheDialogOnTheField) {
    const Refusal& c = GetParam();
    const bool numeric = c.kind == VariableKind::Numeric;
    dialog.load();
    dialog.show();
    child<QTabWidget>(dialog, "PageControl").setCurrentIndex(numeric ? 1 : 0);
    const std::string before = comic.SaveToBytes();
    type(numeric ? "edtValueFlag" : "edtStringFlag", c.variable);
    type(numeric ? "cmbValueFlagInit" : "edtStringFlagInit", c.value);
    numeric ? dialog.btnValueFlagAddClick() : dialog.btnStringFlagAddClick();

    EXPECT_EQ(comic.SaveToBytes(), before);
    EXPECT_EQ(declared, c.byEditingRules ? 1 : 0);
    if (c.message.empty()) {
        EXPECT_TRUE(prompter.records().empty());
        ASSERT_EQ(errorBoxes.size(), 1u);
    } else {
        ASSERT_EQ(prompter.messages().size(), 1u);
        EXPECT_EQ(toUtf8(prompter.messages()[0]), c.message);
        EXPECT_TRUE(errorBoxes.empty()) << "told once";
    }
    ASSERT_NE(dialog.focusWidget(), nullptr);
    EXPECT_EQ(dialog.focusWidget()->objectName(), QString::fromLatin1(c.focused));
    EXPECT_EQ(child<QTabWidget>(dialog, "PageControl").currentIndex(), numeric ? 0 : 1)
        << "the field's tab comes forward";
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, FlagSetRefusals,
    testing::Values(
        Refusal{"EmptyName", VariableKind::Numeric, "", "1", "変数名を入力して下さい",
                "edtValueFlag"},
        Refusal{"EmptyStringName", VariableKind::String, "", "x", "変数名を入力して下さい",
                "edtStringFlag"},
        Refusal{"ForbiddenCharacters", VariableKind::Numeric, "a:b=c", "1",
                "文字列に不正な文字（=:）が使用されています。\n\r文字列に !\"$'()=?;:*/は\n\r"
                "使用できません。",
                "edtValueFlag"},
        Refusal{"EmptyNumericValue", VariableKind::Numeric, "a", "",
                "変数の初期値が指定されていません", "cmbValueFlagInit"},
        Refusal{"NameTheCodePageCannotHold", VariableKind::String, "絵\U0001F3A8", "x", "",
                "edtStringFlag"},
        Refusal{"ValueTheCodePageCannotHold", VariableKind::String, "a", "\U0001F3A8", "",
                "edtStringFlagInit"},
        Refusal{"BuiltInName", VariableKind::Numeric, "@点数", "1",
                "「@」で始まる名前は組み込み変数のものです\n別の変数名を指定して下さい",
                "edtValueFlag", true},
        Refusal{"MarkerName", VariableKind::String, "<Head End>", "x",
                "この変数名はコミックファイルに書き込めません\n"
                "「<」や「//」で始まる名前、「=」や改行を含む名前は使えません",
                "edtStringFlag", true}),
    [](const testing::TestParamInfo<Refusal>& test) { return test.param.name; });

TEST_F(FlagSetDialog, DeletingAsksAndDeletesOnlyADeclaredNameOnYes) {
    dialog.load();
    type("edtValueFlag", QStringLiteral("score"));
    prompter.queueAnswer(Answer::No);
    dialog.btnValueFlagDeleteClick();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(toUtf8(prompter.messages()[0]),
              "この変数を使っている行が 2 行あります\n"
              "パゴラは変数削除の安全性をチェックしません\n数値変数「score」を削除してもよろし"
              "いですか？");
    EXPECT_EQ(names("lstValueFlag"), QStringList({"score", "回数"}));

    prompter.queueAnswer(Answer::Yes);
    dialog.btnValueFlagDeleteClick();
    EXPECT_EQ(names("lstValueFlag"), QStringList({"回数"}));
    EXPECT_EQ(comic.GetCommand(sj("第一章"), sj("次"), 0),
              "ValueCtrl \"%score%\",1,\"%score%\",\"1\",")
        << "the lines that use it stay";

    prompter.clear();
    type("edtStringFlag", QStringLiteral("天気"));
    prompter.queueAnswer(Answer::Yes);
    dialog.btnStringFlagDeleteClick();
    EXPECT_EQ(toUtf8(prompter.messages().at(0)),
              "この変数を使っている行が 1 行あります\n"
              "パゴラは変数削除の安全性をチェックしません\n文字列変数「天気」を削除してもよろし"
              "いですか？");
    EXPECT_EQ(names("lstStringFlag"), QStringList({"name"}));
    EXPECT_EQ(comic.History().undoCount(), 2u);

    prompter.clear();
    type("edtStringFlag", QStringLiteral("score")); // a numeric name only
    dialog.btnStringFlagDeleteClick();
    type("edtValueFlag", QString());
    dialog.btnValueFlagDeleteClick();
    EXPECT_TRUE(prompter.records().empty()) << "nothing to ask about";
    EXPECT_EQ(comic.History().undoCount(), 2u);
}

TEST_F(FlagSetDialog, ClosingWritesNothingMoreAndHelpOpensItsTopic) {
    modal = [this](QDialog&) {
        type("edtValueFlag", QStringLiteral("typed"));
        dialog.btnOKClick();
        return 0;
    };
    const std::string before = comic.SaveToBytes();
    dialog.run();
    EXPECT_EQ(comic.SaveToBytes(), before) << "what was typed but not added";
    dialog.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("variables.html"));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic%1").arg(kFlagSetHelpTopic));
}

TEST_F(FlagSetDialog, RenameKeepsThePlaceAndLineCountAndRefusesANameInUse) {
    dialog.load();
    click("lstValueFlag", 0);
    prompter.queueInput(sj("点数"));
    child<QPushButton>(dialog, "btnValueFlagRename").click();
    ASSERT_FALSE(prompter.records().empty());
    EXPECT_EQ(prompter.records()[0].initial, "score");
    EXPECT_EQ(names("lstValueFlag"), QStringList({"点数", "回数"}));
    EXPECT_EQ(lineCounts("lstValueFlag"), (std::vector<int>{2, 0})) << "its lines were rewritten";
    EXPECT_EQ(child<QLineEdit>(dialog, "edtValueFlag").text(), QStringLiteral("点数"));

    prompter.clear();
    prompter.queueInput(sj("回数"));
    child<QPushButton>(dialog, "btnValueFlagRename").click();
    ASSERT_EQ(prompter.records().size(), 2u) << "the input, then the refusal";
    EXPECT_EQ(toUtf8(prompter.records()[1].text),
              "変数名「回数」はすでに使用されています\n別の変数名を指定して下さい");
    EXPECT_EQ(names("lstValueFlag"), QStringList({"点数", "回数"}));

    child<QPushButton>(dialog, "btnValueFlagReferences").click();
    EXPECT_EQ(referencesShown, std::vector<std::string>{sj("点数")});
}

} // namespace
} // namespace pagora::test
