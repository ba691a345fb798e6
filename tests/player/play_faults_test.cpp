// What goes wrong at play time is reported with its place, never a crash:
// play goes on where it can and ends where it cannot.
#include "played_comic.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::playedTrace;

std::string quiet(const std::string& text) {
    return "MsgDlg \"" + text + "\",0,\"None\",\"Normal\",0,0,0,";
}

TEST(PlayFaults, AJumpToAMissingPageEndsPlay) {
    EXPECT_EQ(playedTrace({{"始", {"PageJump \"本\",\"無い\",0,", quiet("never")}}}),
              "本/始:0\tfault\t移動先のページ“本/無い”は存在しません\n"
              "本/始:0\tend\tfault\n");
    EXPECT_EQ(playedTrace({{"始", {"SelectDlg \"一\",\"$無い$\","}}}, "choose 1\n"),
              "本/始:0\tchoices\twin=0 | 1 一 -> 無い\n"
              "本/始:0\tanswer\tchoose 1\n"
              "本/始:0\tfault\t移動先のページ“本/無い”は存在しません\n"
              "本/始:0\tend\tfault\n");
}

TEST(PlayFaults, CallsDeeperThan256EndPlay) {
    // Each call of the page calls it again until the stack is full.
    EXPECT_EQ(playedTrace({{"始", {"System \"Call\",\"本\",\"始\","}}}),
              "本/始:0\tfault\tサブルーチンコールが256段を超えました\n"
              "本/始:0\tend\tfault\n");
    // 256 calls deep is allowed: the page counts down and returns.
    EXPECT_EQ(
        playedTrace({{"始",
                      {"ValueCtrl \"%b%\",1,\"256\",\"0\",", "System \"Call\",\"本\",\"下\",",
                       quiet("%a%")}},
                     {"下",
                      {"ValueCtrl \"%b%\",2,\"%b%\",\"1\",", "ValueCtrl \"%a%\",1,\"%a%\",\"1\",",
                       "System \"Call\",\"本\",\"下\",\"/IF:%b%>>0\"", "System \"Return\","}}}),
        "本/始:2\tmessage\twin=0 mode=None speed=Normal temporary | 256\n"
        "本/始:3\tend\tpage end\n");
}

TEST(PlayFaults, AReturnWithoutACallEndsPlay) {
    EXPECT_EQ(playedTrace({{"始", {"System \"Return\",", quiet("never")}}}),
              "本/始:0\tfault\tサブルーチンコールされていないのに復帰しようとしました\n"
              "本/始:0\tend\tfault\n");
}

TEST(PlayFaults, TenThousandLinesWithoutAWaitAreALoop) {
    EXPECT_EQ(
        playedTrace({{"始", {"ValueCtrl \"%a%\",1,\"%a%\",\"1\",", "PageJump \"本\",\"始\",0,"}}}),
        "本/始:1\tfault\t待ちのないまま10000行を実行しました（無限ループ）\n"
        "本/始:1\tend\tfault\n");
    // A wait starts the count again: 4,000 rounds of three lines play on
    // until the limit of events.
    const std::string waiting = playedTrace(
        {{"始",
          {"ValueCtrl \"%a%\",1,\"%a%\",\"1\",", "WaitTime 0,", "PageJump \"本\",\"始\",0,"}}},
        "", 4000);
    EXPECT_EQ(waiting.find("fault"), std::string::npos);
    EXPECT_EQ(waiting.substr(waiting.rfind("本/始")), "本/始:2\tstop\tafter 4000 events\n");
}

TEST(PlayFaults, AnUndefinedVariableIsToldOncePerName) {
    EXPECT_EQ(
        playedTrace({{"始",
                      {quiet("%x%&y&%x%"), "FlagCtrl \"%x%\",0,", quiet("%x%"),
                       "ValueCtrl \"%@乱数%\",1,\"1\",\"1\",", "StringCtrl \"$z$\",\"a\","}}}),
        "本/始:0\tfault\t文字列変数“y”は存在しません\n"
        "本/始:0\tfault\t数値変数“x”は存在しません\n"
        "本/始:0\tmessage\twin=0 mode=None speed=Normal temporary | 0<未定義変数>0\n"
        "本/始:2\tmessage\twin=0 mode=None speed=Normal temporary | 0\n"
        "本/始:3\tfault\t読み取り専用の変数“@乱数”には代入できません\n"
        "本/始:4\tfault\t文字列変数“z”は存在しません\n"
        "本/始:5\tend\tpage end\n");
}

TEST(PlayFaults, LinesThatDoNotReadAreNamedWithTheirPlaceAndSkipped) {
    EXPECT_EQ(playedTrace({{"始",
                            {"WaitTime すぐ,", "Teleport 3,",
                             "MsgDlg \"x\",0,\"None\",\"Normal\",0,0,0,"
                             "\"/IF:a==1\"",
                             "ValueCtrl \"%a%\",1,\"abc\",\"1\",", "FlagCtrl \"%a%\",7,",
                             "ValueCtrl \"%a%\",0,\"1\",\"1\",", "SelectDlg ,", "System \"None\",",
                             "// a comment does nothing", quiet("end")}}}),
              "本/始:0\tfault\t“本/始:0”の行が読めません：'すぐ' is not a valid integer value\n"
              "本/始:1\tfault\t“本/始:1”の行が読めません：未知のコマンドです\n"
              "本/始:2\tfault\t“本/始:2”の行が読めません：オプションパラメータ\"/IF\"の左辺は\\r\\n"
              "変数名を指定する必要があります\n"
              "本/始:2\tmessage\twin=0 mode=None speed=Normal temporary | x\n"
              "本/始:3\tfault\t“本/始:3”の行が読めません：“abc”は数値ではありません\n"
              "本/始:4\tfault\t“本/始:4”の行が読めません：フラグの操作7はありません\n"
              "本/始:5\tfault\t“本/始:5”の行が読めません：演算子0はありません\n"
              "本/始:6\tfault\t“本/始:6”の行が読めません：選択肢がありません\n"
              "本/始:7\tfault\t“本/始:7”の行が読めません：システムコマンドの種類がありません\n"
              "本/始:9\tmessage\twin=0 mode=None speed=Normal temporary | end\n"
              "本/始:10\tend\tpage end\n");
}

TEST(PlayFaults, AWaitWithoutAnswersStopsPlay) {
    EXPECT_EQ(playedTrace({{"始", {"MouseClick 1,"}}}, "key\n"),
              "本/始:0\tclick-wait\tareas-only\n"
              "本/始:0\tignored\tkey\n"
              "本/始:0\tstop\twaiting for a click\n");
}

} // namespace
} // namespace pagora
