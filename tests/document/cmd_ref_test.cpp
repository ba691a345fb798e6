// The sentence and the marks the command list shows for each kind of line.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

struct RefCase {
    const char* name;
    const char* line; // UTF-8, converted to CP932
    const char* text;
    bool condition = false;
    bool timeLimit = false;
};

class DisplayText : public testing::TestWithParam<RefCase> {};

TEST_P(DisplayText, SaysWhatTheLineDoes) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    const TCmdRef ref = syntax.MakeCmdRef(toCp932(GetParam().line));
    EXPECT_EQ(toUtf8(ref.Text), GetParam().text);
    EXPECT_EQ(ref.HasCondition, GetParam().condition);
    EXPECT_EQ(ref.HasTimeLimit, GetParam().timeLimit);
    EXPECT_EQ(ref.Kind, TCmdCtrl::GetCommandKind(toCp932(GetParam().line)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, DisplayText,
    testing::Values(
        RefCase{"Unknown", "Play \"x\",\"/IF:%a%==1\"", "未知のコマンドです"},
        RefCase{"EmptyComment", "// ", "-- 注釈 --"}, RefCase{"BareComment", "//", "-- 注釈 --"},
        RefCase{"Comment", "//  二つの空白", "  二つの空白"},
        RefCase{"Message", "MsgDlg \"<B>やあ#元気\",0,\"KeyWait\",\"Normal\",0,0,1,\"/TIME:3\"",
                "メッセージを表示します：<B>やあ#元気", false, true},
        RefCase{"Graphic", "Graphic \"pict\\a.bmp\",0,0,0,1,\"None\",0,0,0,\"/IFS:%s%==\"",
                "グラフィックを表示します \"pict\\a.bmp\"", true},
        RefCase{"Music", "Music \"m.mid\",0,", "音楽を演奏します \"m.mid\""},
        RefCase{"Sound", "Sound \"s.wav\",1,\"/TIMEHIDE:1\"", "効果音を鳴らします \"s.wav\"", false,
                true},
        RefCase{"MusicStop", "MusicStop", "音楽を止めます"},
        RefCase{"WaitSeconds", "WaitTime 2000,", "2秒 待ちます。"},
        RefCase{"WaitMilliseconds", "WaitTime 1500,", "1500ミリ秒 待ちます。"},
        RefCase{"WaitZero", "WaitTime 0,", "0秒 待ちます。"},
        RefCase{"FlagOn", "FlagCtrl \"%f%\",0,", "フラグ［%f%］をＯＮにします"},
        RefCase{"FlagOff", "FlagCtrl \"%f%\",1,", "フラグ［%f%］をＯＦＦにします"},
        RefCase{"FlagInvert", "FlagCtrl \"%f%\",2,", "フラグ［%f%］を反転します"},
        RefCase{"FlagOther", "FlagCtrl \"%f%\",9,", "フラグ［%f%］を"},
        RefCase{"Select", "SelectDlg \"はい\",\"$次$\",\"いいえ\",\"$前$\",\"/TIME:9\"",
                "選択肢を表示。移動先は、次、前 です", false, true},
        RefCase{"SelectNone", "SelectDlg ", "選択肢を表示。移動先は、 です"},
        RefCase{"PageJump", "PageJump \"本\",\"頁\",0,", "「本」の「頁」に移動します"},
        RefCase{"MouseClick", "MouseClick 1,\"/IF:%a%<>2\"",
                "マウスで画面をクリックするまで待ちます", true},
        RefCase{"ValueVariables", "ValueCtrl \"%a%\",1,\"%b%\",\"%c%\",", "［a］←［b］＋［c］"},
        RefCase{"ValueLiteral", "ValueCtrl \"%a%\",5,\"5\",\"%c%\",", "［a］←［5］mod［c］"},
        RefCase{"ValueSubtract", "ValueCtrl \"%a%\",2,\"1\",\"2\",", "［a］←［1］－［2］"},
        RefCase{"ValueMultiply", "ValueCtrl \"%a%\",3,\"1\",\"2\",", "［a］←［1］×［2］"},
        RefCase{"ValueDivide", "ValueCtrl \"%a%\",4,\"1\",\"2\",", "［a］←［1］÷［2］"},
        RefCase{"ValueNoOperator", "ValueCtrl \"%a%\",0,\"1\",\"2\",", "［a］←［1］［2］"},
        RefCase{"StringCtrl", "StringCtrl \"$名前$\",\"花子\",",
                "［名前］にテキストを代入。内容：花子"},
        RefCase{"ClickAbleJump", "ClickAble \"本\",\"頁\",\"\",0,0,1,0,",
                "クリッカブル領域を定義。移動先は、「本」「頁」です。"},
        RefCase{"ClickAbleCall", "ClickAble \"本\",\"頁\",\"\",0,0,1,1,",
                "クリッカブル領域を定義。コール先は、「本」「頁」です。"},
        RefCase{"ClickAbleClear", "ClickAbleClear ,\"/IF:%a%==1\"",
                "クリッカブル領域をクリアします。"},
        RefCase{"StrInput", "StrInput \"t\",\"m\",\"$名前$\",", "「名前」に文字列を入力します。"},
        RefCase{"WindowShow", "WindowShow 1,", "ウインドウを表示します"},
        RefCase{"WindowHide", "WindowShow 0,", "ウインドウを消去します"},
        RefCase{"AllDataSave", "System \"AllDataSave\",\"b\",",
                "全てのデータを、ブロック「b」に保存します"},
        RefCase{"AllDataLoad", "System \"AllDataLoad\",\"b\",",
                "全てのデータを、ブロック「b」から読み込みます"},
        RefCase{"ValDataSave", "System \"ValDataSave\",\"v\",", "数値変数「v」を保存します"},
        RefCase{"ValDataLoad", "System \"ValDataLoad\",\"v\",", "数値変数「v」を読み込みます"},
        RefCase{"StrDataSave", "System \"StrDataSave\",\"s\",", "文字列変数「s」を保存します"},
        RefCase{"StrDataLoad", "System \"StrDataLoad\",\"s\",", "文字列変数「s」を読み込みます"},
        RefCase{"Call", "System \"Call\",\"本\",\"頁\",",
                "サブルーチンコール　「本」の「頁」をコールします"},
        RefCase{"Return", "System \"Return\",", "サブルーチンから復帰します"},
        RefCase{"MenuCtrl", "System \"MenuCtrl\",\"Exit\",", "メニュー操作 - Exit"},
        RefCase{"SaveNameSet", "System \"SaveNameSet\",\"n\",", "セーブ名変更「n」"},
        RefCase{"SystemUnknown", "System \"Reboot\",", "システムコマンド－パラメータ不正です"}),
    [](const testing::TestParamInfo<RefCase>& param) { return std::string(param.param.name); });

TEST(DisplayText, ShowsTheFirstSixtyTwoBytesWithoutSplittingACharacter) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "あ";
    const TCmdRef ref = syntax.MakeCmdRef(toCp932("MsgDlg \"" + hundred + "\","));
    EXPECT_EQ(toUtf8(ref.Text), "メッセージを表示します：" + hundred.substr(0, 31 * 3));
    // One single-byte character first: 62 bytes would end inside a character.
    const TCmdRef odd = syntax.MakeCmdRef(toCp932("StringCtrl \"$s$\",\"x" + hundred + "\","));
    EXPECT_EQ(toUtf8(odd.Text), "［s］にテキストを代入。内容：x" + hundred.substr(0, 30 * 3));
}

TEST(DisplayText, AStrictFieldThatIsNotANumberFailsTheSummary) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    EXPECT_THROW(syntax.MakeCmdRef("WaitTime soon,"), ConversionError);
    // Only the options of a mouse click are read.
    EXPECT_NO_THROW(syntax.MakeCmdRef("MouseClick maybe,"));
}

TEST(DisplayText, KindsWithoutOptionsNeverShowMarks) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    for (const char* line : {"MusicStop \"/TIME:3\"", "// \"/TIME:3\"", "Nope \"/TIME:3\"",
                             "ClickAbleClear ,\"/TIME:3\",\"/IF:%a%==1\""}) {
        const TCmdRef ref = syntax.MakeCmdRef(line);
        EXPECT_FALSE(ref.HasCondition) << line;
        EXPECT_FALSE(ref.HasTimeLimit) << line;
    }
}

TEST(CommandIcons, FollowTheKindTable) {
    EXPECT_EQ(CommandIconIndex(CmdKind::Comment), -1);
    EXPECT_EQ(CommandIconIndex(CmdKind::Unknown), 0);
    EXPECT_EQ(CommandIconIndex(CmdKind::MsgDlg), 3);
    EXPECT_EQ(CommandIconIndex(CmdKind::MusicStop), CommandIconIndex(CmdKind::Music));
    EXPECT_EQ(CommandIconIndex(CmdKind::ValueCtrl), CommandIconIndex(CmdKind::FlagCtrl));
    EXPECT_EQ(CommandIconIndex(CmdKind::ClickAbleClear), 16);
    EXPECT_EQ(CommandIconIndex(CmdKind::StrInput), 14);
    EXPECT_EQ(CommandIconIndex(CmdKind::WindowShow), 13);
    EXPECT_EQ(CommandIconIndex(CmdKind::System), 15);
}

} // namespace
} // namespace pagora
