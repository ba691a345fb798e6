// The syntax shared by every command line: kinds, tokens, options, quoting
// and the name check.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

class CmdSyntax : public testing::Test {
protected:
    std::vector<std::string> messagesUtf8() const {
        std::vector<std::string> texts;
        for (const std::string& text : prompter.messages())
            texts.push_back(toUtf8(text));
        return texts;
    }

    ScriptedPrompter prompter;
    TCmdCtrl syntax{prompter};
};

struct KindCase {
    const char* line;
    CmdKind kind;
};

class CommandKind : public testing::TestWithParam<KindCase> {};

TEST_P(CommandKind, ComesFromTheKeywordIgnoringLetterCase) {
    EXPECT_EQ(TCmdCtrl::GetCommandKind(GetParam().line), GetParam().kind) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandKind,
    testing::Values(KindCase{"// note", CmdKind::Comment}, KindCase{"//", CmdKind::Comment},
                    KindCase{"/// old", CmdKind::Comment},
                    KindCase{"msgdlg \"a\",", CmdKind::MsgDlg}, KindCase{"MSGDLG", CmdKind::MsgDlg},
                    KindCase{"MusicStop", CmdKind::MusicStop},
                    KindCase{"ClickAble \"b\",", CmdKind::ClickAble},
                    KindCase{"ClickAbleClear ,", CmdKind::ClickAbleClear},
                    KindCase{"System \"Return\",", CmdKind::System},
                    KindCase{"MsgDlg,\"a\"", CmdKind::Unknown}, KindCase{"", CmdKind::Unknown},
                    KindCase{" MsgDlg", CmdKind::Unknown}, KindCase{"Play x", CmdKind::Unknown}));

TEST(ParamText, StartsAfterTheFirstBlankAndFurtherBlanks) {
    EXPECT_EQ(TCmdCtrl::GetParamText("MsgDlg   \"a\", b"), "\"a\", b");
    EXPECT_EQ(TCmdCtrl::GetParamText("MusicStop"), "");
    EXPECT_EQ(TCmdCtrl::GetParamText("WaitTime    "), "");
}

std::vector<std::string> tokens(std::string_view text) {
    std::vector<std::string> all;
    std::string token;
    while (TCmdCtrl::NextParam(text, token))
        all.push_back(token);
    return all;
}

TEST(NextParam, SplitsOnCommasOutsideQuotes) {
    using Tokens = std::vector<std::string>;
    EXPECT_EQ(tokens("a,b,c"), (Tokens{"a", "b", "c"}));
    EXPECT_EQ(tokens("\"a,b\",c,"), (Tokens{"a,b", "c"}));
    EXPECT_EQ(tokens("a,,b"), (Tokens{"a", "", "b"}));
    EXPECT_EQ(tokens(",\"x\""), (Tokens{"", "x"}));
    // Text between a closing quote and the next comma is dropped.
    EXPECT_EQ(tokens("\"a\"junk,b"), (Tokens{"a", "b"}));
    // A quote before the first comma opens a quoted token, whatever stands before it.
    EXPECT_EQ(tokens("ab\"c,\"d\""), (Tokens{"c,"}));
    EXPECT_EQ(tokens("ab,\"c\""), (Tokens{"ab", "c"}));
    // A quote never closed gives an empty token and reading goes on after the next comma.
    EXPECT_EQ(tokens("\"open,b"), (Tokens{"", "b"}));
    EXPECT_EQ(tokens("\"open"), (Tokens{""}));
    EXPECT_EQ(tokens(""), Tokens{});
}

TEST(NextParam, WalksAHugeLineInLinearTime) {
    // Thousands of commas or an unclosed quote over megabytes must not be quadratic.
    EXPECT_EQ(tokens(std::string(200'000, ',')).size(), 200'000u);
    const std::string unclosed = "\"" + std::string(100'000, ',');
    EXPECT_EQ(tokens(unclosed).size(), 100'000u);
}

TEST(IsPositional, RefusesEmptyTokensAndOptions) {
    EXPECT_TRUE(TCmdCtrl::IsPositional("a"));
    EXPECT_TRUE(TCmdCtrl::IsPositional("a/b"));
    EXPECT_FALSE(TCmdCtrl::IsPositional(""));
    EXPECT_FALSE(TCmdCtrl::IsPositional("/WIN:1"));
}

TEST(OptionValue, TheLastTokenOfTheExactKeyWins) {
    const std::string line = "MsgDlg \"a\",\"/IFS:%s%==x\",\"/WIN:1\",\"/TIMEHIDE:4\",\"/WIN:2\"";
    EXPECT_EQ(TCmdCtrl::GetOptionValue(line, "WIN"), "2");
    EXPECT_EQ(TCmdCtrl::GetOptionValue(line, "IFS"), "%s%==x");
    EXPECT_EQ(TCmdCtrl::GetOptionValue(line, "IF"), std::nullopt);
    EXPECT_EQ(TCmdCtrl::GetOptionValue(line, "TIME"), std::nullopt);
    EXPECT_EQ(TCmdCtrl::GetOptionValue(line, "win"), std::nullopt);
    EXPECT_EQ(TCmdCtrl::GetOptionValue("MsgDlg \"/WIN:\",", "WIN"), "");
}

TEST_F(CmdSyntax, ParsesEveryConditionOperator) {
    const char* operators[] = {"==", "<>", ">=", "<=", ">>", "<<", "<-"};
    for (int i = 0; i < 7; ++i) {
        const TIfParam condition = syntax.ParseCondition(std::string("%a%") + operators[i] + "3");
        EXPECT_EQ(condition.Operator, i) << operators[i];
        EXPECT_EQ(condition.Left, "%a%");
        EXPECT_EQ(condition.Right, "3");
    }
    EXPECT_EQ(syntax.ParseCondition("%a%==%b%").Right, "%b%");
    EXPECT_EQ(syntax.ParseCondition("%a%==").Right, "");
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(CmdSyntax, ABadConditionIsReportedAndDropped) {
    EXPECT_EQ(syntax.ParseCondition("a%==1").Operator, -1);
    EXPECT_EQ(syntax.ParseCondition("").Operator, -1);
    EXPECT_EQ(syntax.ParseCondition("%a%=>1").Operator, -1);
    EXPECT_EQ(syntax.ParseCondition("%a%=").Operator, -1);
    EXPECT_EQ(messagesUtf8(),
              (std::vector<std::string>{
                  "オプションパラメータ\"/IF\"の左辺は\r\n変数名を指定する必要があります",
                  "オプションパラメータ\"/IF\"の左辺は\r\n変数名を指定する必要があります",
                  "比較演算子が適切ではありません", "比較演算子が適切ではありません"}));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
}

TEST_F(CmdSyntax, ReadsEveryOption) {
    const TOptParam option = syntax.ParseOptions(
        "MsgDlg \"a\",\"/WIN:3\",\"/SIZE:12\",\"/COLOR:clRed\",\"/POS:1,2,30,40\","
        "\"/TIMEHIDE:5\",\"/TIME:7\",\"/IFS:%s%<-x\",\"/IF:%a%>=3\"");
    EXPECT_EQ(option.If, (TIfParam{"%a%", "3", 2}));
    EXPECT_EQ(option.IfS, (TIfParam{"%s%", "x", 6}));
    EXPECT_EQ(option.Time, 7);
    EXPECT_EQ(option.TimeHide, 5);
    EXPECT_EQ(option.PosLeft, 1);
    EXPECT_EQ(option.PosTop, 2);
    EXPECT_EQ(option.PosRight, 30);
    EXPECT_EQ(option.PosBottom, 40);
    EXPECT_EQ(option.Color, 0x0000FFu);
    EXPECT_EQ(option.Size, 12);
    EXPECT_EQ(option.Win, 3);
}

TEST_F(CmdSyntax, PositionNumbersAreLenientOtherNumbersStrict) {
    const TOptParam option = syntax.ParseOptions("MsgDlg \"a\",\"/POS:x,2\"");
    EXPECT_EQ(option.PosLeft, 0);
    EXPECT_EQ(option.PosTop, 2);
    EXPECT_EQ(option.PosRight, 0);
    EXPECT_THROW(syntax.ParseOptions("MsgDlg \"a\",\"/WIN:one\""), ConversionError);
    EXPECT_THROW(syntax.ParseOptions("MsgDlg \"a\",\"/TIME:\""), ConversionError);
    EXPECT_THROW(syntax.ParseOptions("MsgDlg \"a\",\"/COLOR:pink\""), ConversionError);
}

TEST(BuildOptions, WritesTheFixedOrderWhateverTheOrderRead) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    const TOptParam option = syntax.ParseOptions(
        "MsgDlg \"a\",\"/WIN:1\",\"/SIZE:9\",\"/COLOR:0x123456\",\"/POS:0,0,10,10\","
        "\"/TIME:3\",\"/IFS:%s%==\",\"/IF:%a%>=3\"");
    EXPECT_EQ(TCmdCtrl::BuildOptions(option),
              "\"/IF:%a%>=3\",\"/IFS:%s%==\",\"/TIME:3\",\"/POS:0,0,10,10\","
              "\"/COLOR:0x00123456\",\"/SIZE:9\",\"/WIN:1\"");
}

TEST(BuildOptions, LeavesOutWhatHasNoEffect) {
    TOptParam option;
    EXPECT_EQ(TCmdCtrl::BuildOptions(option), "");
    option.If = {"%a%", "", 0};   // a numeric condition needs a right side
    option.IfS = {"%s%", "x", 2}; // ">=" is not a string operator
    option.PosLeft = 20;          // left beyond right
    option.PosRight = 10;
    option.PosBottom = 5;
    option.Size = -1;
    option.Win = 0;
    option.TimeHide = 4;
    EXPECT_EQ(TCmdCtrl::BuildOptions(option), "\"/TIMEHIDE:4\"");
    option.Time = 2;
    EXPECT_EQ(TCmdCtrl::BuildOptions(option), "\"/TIME:2\"");
    option.If.Operator = 6; // "<-" is not a numeric operator
    option.If.Right = "1";
    EXPECT_EQ(TCmdCtrl::BuildOptions(option), "\"/TIME:2\"");
}

TEST(ColorText, UsesNamesWhereTheyExist) {
    EXPECT_EQ(TCmdCtrl::ColorText(0x0000FF), "clRed");
    EXPECT_EQ(TCmdCtrl::ColorText(0xC0C0C0), "clSilver");
    EXPECT_EQ(TCmdCtrl::ColorText(0x123456), "0x00123456");
    EXPECT_EQ(TCmdCtrl::ColorText(0x8000000F), "clBtnFace");
    EXPECT_EQ(TCmdCtrl::ColorText(0x80000018), "clInfoBk");
    EXPECT_EQ(TCmdCtrl::ColorText(0xABCDEF01), "0xabcdef01");
    EXPECT_EQ(TCmdCtrl::ParseColor("clbtnface"), 0x8000000Fu);
    EXPECT_EQ(TCmdCtrl::ParseColor("0x00123456"), 0x123456u);
    EXPECT_EQ(TCmdCtrl::ParseColor("255"), 255u);
    EXPECT_EQ(TCmdCtrl::ParseColor("-2147483633"), 0x8000000Fu);
}

TEST_F(CmdSyntax, QuotingCutsTheTextAtADoubleQuote) {
    EXPECT_EQ(syntax.QuoteParam("abc"), "\"abc\"");
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(syntax.QuoteParam("ab\"c\"d"), "\"ab\"");
    EXPECT_EQ(messagesUtf8(),
              std::vector<std::string>{"文字列にダブルクォーテーション(\")は\n\r使用できません。"});
}

TEST_F(CmdSyntax, BooleansAreStrictNumbersAboveZero) {
    EXPECT_EQ(TCmdCtrl::BoolParam(true), "1");
    EXPECT_EQ(TCmdCtrl::BoolParam(false), "0");
    EXPECT_TRUE(TCmdCtrl::ParamBool("1"));
    EXPECT_TRUE(TCmdCtrl::ParamBool("7"));
    EXPECT_FALSE(TCmdCtrl::ParamBool("0"));
    EXPECT_FALSE(TCmdCtrl::ParamBool("-1"));
    EXPECT_THROW(TCmdCtrl::ParamBool("yes"), ConversionError);
}

TEST_F(CmdSyntax, NameCheckListsForbiddenCharactersInListOrder) {
    EXPECT_TRUE(syntax.CheckName(toCp932("スタートページ")));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_FALSE(syntax.CheckName("a:b!c"));
    EXPECT_FALSE(syntax.CheckName("p/q"));
    const std::string tail =
        "）が使用されています。\n\r文字列に !\"$'()=?;:*/は\n\r使用できません。";
    EXPECT_EQ(messagesUtf8(), (std::vector<std::string>{"文字列に不正な文字（!:" + tail,
                                                        "文字列に不正な文字（/" + tail}));
}

TEST_F(CmdSyntax, NameCheckSeesEveryForbiddenCharacter) {
    for (const char c : std::string_view("!\"$'()=?;:*/")) {
        prompter.clear();
        EXPECT_FALSE(syntax.CheckName(std::string("a") + c)) << c;
        const std::string expected = "文字列に不正な文字（" + std::string(1, c) + "）";
        EXPECT_EQ(messagesUtf8().at(0).rfind(expected, 0), 0u) << messagesUtf8().at(0);
    }
    // Double-byte characters whose second byte is a letter or "@" are allowed.
    EXPECT_TRUE(syntax.CheckName(toCp932("ソ表能ー")));
}

} // namespace
} // namespace pagora
