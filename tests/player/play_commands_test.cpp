// Comics made in the test, played with scripted answers and compared as
// traces: what each kind and option does, and how waits take their answers.
#include "played_comic.h"

#include <gtest/gtest.h>
#include <ostream>

namespace pagora {
namespace {

using test::playedTrace;
using test::TestPage;

std::string quiet(const std::string& text) {
    return "MsgDlg \"" + text + "\",0,\"None\",\"Normal\",0,0,0,";
}

struct TraceCase {
    std::string name;
    std::vector<TestPage> pages;
    std::string answers;
    std::string expected;
};

void PrintTo(const TraceCase& c, std::ostream* out) {
    *out << c.name;
}

class PlayedTrace : public testing::TestWithParam<TraceCase> {};

TEST_P(PlayedTrace, IsAsExpected) {
    EXPECT_EQ(playedTrace(GetParam().pages, GetParam().answers), GetParam().expected);
}

const std::string kShown = "message\twin=0 mode=None speed=Normal temporary | ";

INSTANTIATE_TEST_SUITE_P(
    Commands, PlayedTrace,
    testing::Values(
        TraceCase{"FlagsGoOnOffAndOver",
                  {{"始",
                    {"FlagCtrl \"%a%\",0,", quiet("%a%"), "FlagCtrl \"%a%\",2,", quiet("%a%"),
                     "FlagCtrl \"%b%\",2,", "FlagCtrl \"%a%\",2,", quiet("%a%%b%"),
                     "FlagCtrl \"%a%\",1,", quiet("%a%")}}},
                  "",
                  "本/始:1\t" + kShown + "1\n" + "本/始:3\t" + kShown + "0\n" + "本/始:6\t" +
                      kShown + "10\n" + "本/始:8\t" + kShown + "0\n" + "本/始:9\tend\tpage end\n"},
        TraceCase{
            "NumbersWrapAndDivisionByZeroWarnsOnce",
            {{"始",
              {"ValueCtrl \"%a%\",1,\"%b%\",\"7\",", "ValueCtrl \"%a%\",2,\"%a%\",\"20\",",
               "ValueCtrl \"%a%\",3,\"%a%\",\"%b%\",", "ValueCtrl \"%a%\",4,\"%a%\",\"3\",",
               "ValueCtrl \"%a%\",5,\"%a%\",\"5\",", quiet("%a%"),
               "ValueCtrl \"%a%\",3,\"2147483647\",\"2\",", "ValueCtrl \"%b%\",4,\"%b%\",\"0\",",
               "ValueCtrl \"%b%\",5,\"7\",\"0\",", quiet("%a% %b%")}}},
            "",
            "本/始:5\t" + kShown + "-3\n" + "本/始:7\twarning\t0で割りました。結果は0になります\n" +
                "本/始:9\t" + kShown + "-2 0\n" + "本/始:10\tend\tpage end\n"},
        TraceCase{"TextsEmbedVariablesAndTheClock",
                  {{"始",
                    {"StringCtrl \"$t$\",\"&s&と%b%\",", quiet("&t&/%@年月日%/&@曜日&/%@時分秒%"),
                     "WaitTime 2500,", quiet("%@経過時間%/%@乱数%/%@時分秒%")}}},
                  "",
                  "本/始:1\t" + kShown + "はれと5/20261208/火/100000\n" +
                      "本/始:2\twait\t2500 ms\n" + "本/始:3\t" + kShown + "2/845/100002\n" +
                      "本/始:4\tend\tpage end\n"},
        TraceCase{"MessagesCarryEveryOptionAndTheirTimeLimits",
                  {{"始",
                    {"MsgDlg \"x\",1,\"Char-Scroll\",\"Slow\",1,1,1,\"/TIME:3\","
                     "\"/POS:1,2,30,40\",\"/COLOR:clRed\",\"/SIZE:20\",\"/WIN:5\"",
                     "MsgDlg \"y\",0,\"Line-KeyWait\",\"Fast\",0,1,0,\"/TIMEHIDE:2\",\"/WIN:9\"",
                     "MsgDlg \"z\",0,\"KeyWait\",\"Normal\",0,1,1,"}}},
                  "timeout\nclick 5 5\ntimeout\nkey\n",
                  "本/始:0\tmessage\twin=5 mode=Char-Scroll speed=Slow normal key-each-line "
                  "key-after areas pos=1,2,30,40 size=20 color=clRed time=3 gauge | x\n"
                  "本/始:0\tanswer\ttimeout\n"
                  "本/始:1\tmessage\twin=0 mode=Line-KeyWait speed=Fast temporary key-after "
                  "time=2 no-gauge | y\n"
                  "本/始:1\tanswer\tclick 5 5\n"
                  "本/始:2\tmessage\twin=0 mode=KeyWait speed=Normal temporary key-after "
                  "areas | z\n"
                  "本/始:2\tignored\ttimeout\n"
                  "本/始:2\tanswer\tkey\n"
                  "本/始:3\tend\tpage end\n"},
        TraceCase{"PicturesMusicSoundAndWaits",
                  {{"始",
                    {"Graphic \"p.bmp\",3,4,1,0,\"ZoomDownSect\",1,1,0,\"/POS:0,0,9,9\","
                     "\"/COLOR:clLime\",\"/WIN:1\"",
                     "Graphic \"q.bmp\",0,0,1,1,\"Bogus\",0,0,1,", "Music \"m.mid\",3,",
                     "Sound \"s.wav\",0,\"/TIME:4\"", "Sound \"s.wav\",1,", "MusicStop",
                     "WaitTime 0,\"/TIME:9\""}}},
                  "",
                  "本/始:0\tpicture\twin=1 file=p.bmp effect=ZoomDownSect pos=0,0,9,9 "
                  "view=3,4 transparent=clLime fit half later\n"
                  "本/始:1\tpicture\twin=0 file=q.bmp effect=None transparent=auto\n"
                  "本/始:2\tmusic\tm.mid loop=3\n"
                  "本/始:3\tsound\ts.wav\n"
                  "本/始:4\tsound\ts.wav wait\n"
                  "本/始:5\tmusic-stop\t\n"
                  "本/始:6\twait\t0 ms\n"
                  "本/始:7\tend\tpage end\n"},
        TraceCase{"AChoiceJumpsToItsPageOfTheLinesBook",
                  {{"始",
                    {"SelectDlg \"一\",\"$甲$\",\"&s&\",\"$乙$\",\"/TIME:5\",\"/WIN:2\"",
                     quiet("timed out")}},
                   {"甲", {quiet("甲")}},
                   {"乙", {quiet("乙")}}},
                  "key\nchoose 3\nchoose 2\n",
                  "本/始:0\tchoices\twin=2 time=5 gauge | 1 一 -> 甲 | 2 はれ -> 乙\n"
                  "本/始:0\tignored\tkey\n"
                  "本/始:0\tignored\tchoose 3\n"
                  "本/始:0\tanswer\tchoose 2\n"
                  "本/乙:0\t" +
                      kShown + "乙\n" + "本/乙:1\tend\tpage end\n"},
        TraceCase{"AChoiceTimedOutGoesOnWithTheNextLine",
                  {{"始", {"SelectDlg \"一\",\"$甲$\",\"/TIMEHIDE:5\"", quiet("timed out")}},
                   {"甲", {quiet("甲")}}},
                  "timeout\n",
                  "本/始:0\tchoices\twin=0 time=5 no-gauge | 1 一 -> 甲\n"
                  "本/始:0\tanswer\ttimeout\n"
                  "本/始:1\t" +
                      kShown + "timed out\n" + "本/始:2\tend\tpage end\n"},
        TraceCase{"JumpsObeyTheirConditions",
                  {{"始",
                    {"PageJump \"本\",\"甲\",0,\"/IF:%a%==1\"", "PageJump \"本\",\"乙\",0,",
                     quiet("never")}},
                   {"甲", {quiet("甲")}},
                   {"乙", {quiet("乙")}}},
                  "",
                  "本/乙:0\t" + kShown + "乙\n" + "本/乙:1\tend\tpage end\n"},
        TraceCase{"ATypedTextGoesIntoItsVariable",
                  {{"始",
                    {"StrInput \"題\",\"名前は？\",\"$t$\",\"/TIMEHIDE:4\"", quiet("[&t&]"),
                     "StrInput \"題\",\"again\",\"$t$\",", quiet("[&t&]")}}},
                  "key\ntext 花子\ntimeout\ntext  空白 \n",
                  "本/始:0\tinput\ttitle=題 var=t time=4 no-gauge | 名前は？\n"
                  "本/始:0\tignored\tkey\n"
                  "本/始:0\tanswer\ttext 花子\n"
                  "本/始:1\t" +
                      kShown + "[花子]\n" +
                      "本/始:2\tinput\ttitle=題 var=t | again\n"
                      "本/始:2\tignored\ttimeout\n"
                      "本/始:2\tanswer\ttext  空白 \n"
                      "本/始:3\t" +
                      kShown + "[ 空白 ]\n" + "本/始:4\tend\tpage end\n"},
        TraceCase{
            "SubroutinesReturnAfterTheirCall",
            {{"始", {"System \"Call\",\"本\",\"甲\",", quiet("after")}},
             {"甲", {"System \"Call\",\"本\",\"乙\",", quiet("甲 after"), "System \"Return\","}},
             {"乙", {"System \"Return\","}}},
            "",
            "本/甲:1\t" + kShown + "甲 after\n" + "本/始:1\t" + kShown + "after\n" +
                "本/始:2\tend\tpage end\n"},
        TraceCase{
            "SlotsKeepAllDataOrOneVariable",
            {{"始",
              {"System \"ValDataLoad\",\"a\",", "ValueCtrl \"%a%\",1,\"1\",\"0\",",
               "System \"AllDataSave\",\"x\",", "System \"ValDataSave\",\"a\",",
               "StringCtrl \"$s$\",\"あめ\",", "System \"StrDataSave\",\"s\",",
               "ValueCtrl \"%a%\",1,\"9\",\"0\",", "StringCtrl \"$s$\",\"ゆき\",",
               "System \"ValDataLoad\",\"a\",", quiet("%a%&s&"), "System \"AllDataLoad\",\"x\",",
               quiet("%a%&s&"), "System \"StrDataLoad\",\"s\",", "System \"AllDataLoad\",\"y\",",
               quiet("&s&"), "System \"SaveNameSet\",\"&s&の記録\",",
               "System \"MenuCtrl\",\"DataSave\","}}},
            "",
            "本/始:0\tload\tvalue a (nothing saved)\n"
            "本/始:2\tsave\tall x\n"
            "本/始:3\tsave\tvalue a\n"
            "本/始:5\tsave\tstring s\n"
            "本/始:8\tload\tvalue a\n"
            "本/始:9\t" +
                kShown + "1ゆき\n" + "本/始:10\tload\tall x\n" + "本/始:11\t" + kShown + "1はれ\n" +
                "本/始:12\tload\tstring s\n" + "本/始:13\tload\tall y (nothing saved)\n" +
                "本/始:14\t" + kShown + "あめ\n" + "本/始:15\tsave-name\tあめの記録\n" +
                "本/始:16\tmenu\tDataSave\n" + "本/始:17\tend\tpage end\n"}),
    [](const testing::TestParamInfo<TraceCase>& param) { return param.param.name; });

// A condition decides whether its line runs; a = 0, b = 5, s = "はれ", t = "".
struct ConditionCase {
    std::string option;
    bool holds;
};

void PrintTo(const ConditionCase& c, std::ostream* out) {
    *out << c.option;
}

class Condition : public testing::TestWithParam<ConditionCase> {};

TEST_P(Condition, SkipsItsLineWhenFalse) {
    const std::string trace =
        playedTrace({{"始", {"MsgDlg \"yes\",0,\"None\",\"Normal\",0,0,0," + GetParam().option}}});
    const std::string ran = "本/始:0\t" + kShown + "yes\n";
    EXPECT_EQ(trace, (GetParam().holds ? ran : "") + "本/始:1\tend\tpage end\n");
}

INSTANTIATE_TEST_SUITE_P(
    Operators, Condition,
    testing::Values(
        ConditionCase{"\"/IF:%b%==5\"", true}, ConditionCase{"\"/IF:%b%==4\"", false},
        ConditionCase{"\"/IF:%b%<>4\"", true}, ConditionCase{"\"/IF:%b%<>5\"", false},
        ConditionCase{"\"/IF:%b%>=5\"", true}, ConditionCase{"\"/IF:%b%>=6\"", false},
        ConditionCase{"\"/IF:%b%<=5\"", true}, ConditionCase{"\"/IF:%b%<=4\"", false},
        ConditionCase{"\"/IF:%b%>>4\"", true}, ConditionCase{"\"/IF:%b%>>5\"", false},
        ConditionCase{"\"/IF:%b%<<6\"", true}, ConditionCase{"\"/IF:%b%<<5\"", false},
        ConditionCase{"\"/IF:%a%<<%b%\"", true}, ConditionCase{"\"/IF:%a%==%b%\"", false},
        ConditionCase{"\"/IF:%b%==-5\"", false}, ConditionCase{"\"/IFS:%s%==はれ\"", true},
        ConditionCase{"\"/IFS:%s%<>はれ\"", false}, ConditionCase{"\"/IFS:%s%<-は\"", true},
        ConditionCase{"\"/IFS:%s%<-あめ\"", false}, ConditionCase{"\"/IFS:%t%==\"", true},
        ConditionCase{"\"/IFS:%s%==%s%\"", true}, ConditionCase{"\"/IFS:%s%==%t%\"", false},
        ConditionCase{"\"/IF:%b%==5\",\"/IFS:%s%==はれ\"", true},
        ConditionCase{"\"/IF:%b%==5\",\"/IFS:%s%==あめ\"", false},
        ConditionCase{"\"/IF:%b%==4\",\"/IFS:%s%==はれ\"", false}));

} // namespace
} // namespace pagora
