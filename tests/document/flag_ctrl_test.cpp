// The variable table: loading the declarations, lookups with their messages,
// the special variables under a fixed clock, and text expansion.
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"

#include <chrono>
#include <gtest/gtest.h>
#include <ostream>
#include <set>

namespace pagora {
namespace {

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

std::vector<std::string> sj(std::initializer_list<std::string_view> utf8Texts) {
    std::vector<std::string> texts;
    for (const std::string_view text : utf8Texts)
        texts.push_back(toCp932(text));
    return texts;
}

const char* const kAmpersandsUnpaired =
    "\"&\"の数が合いません\r\n文に文字列変数を埋め込む場合は \"&\"で囲む必要があります";
const char* const kPercentsUnpaired =
    "\"%\"の数が合いません\r\n文に数値変数を埋め込む場合は \"%\"で囲む必要があります";

// Tuesday 2026-12-08 09:05:07, ticks from 5000 ms.
class FakeClock : public Clock {
public:
    LocalTime time{2026, 12, 8, 9, 5, 7, 2};
    std::int64_t ticks = 5000;

    LocalTime now() const override { return time; }
    std::int64_t ticksMs() const override { return ticks; }
};

class FakeRandom : public RandomSource {
public:
    int reseeds = 0;
    std::vector<int> bounds;
    int draw = 4;

    void reseed() override { ++reseeds; }
    int below(int bound) override {
        bounds.push_back(bound);
        return draw;
    }
};

std::string comicOf(const std::vector<std::string>& cp932HeaderLines) {
    std::string bytes;
    for (const std::string& line : cp932HeaderLines)
        bytes += line + "\r\n";
    return bytes + "<Book=\"b\">\r\n<Page=\"p\">\r\nx\r\n<Page End>\r\n<Book End>\r\n";
}

const std::vector<std::string>& declaredComic() {
    static const std::vector<std::string> lines = sj({
        "<Head=\"Comic\">",
        "FileType=PGR95",
        "RandomFlagMax=6",
        "<Head End>",
        "<Head=\"ValueFlag\">",
        "score=10",
        "回数=-3",
        "// a comment line is no variable",
        "残り=abc",
        "<Head End>",
        "<Head=\"StringFlag\">",
        "name=花子",
        "empty=",
        "score=文字",
        "式=%score%点",
        "<Head End>",
    });
    return lines;
}

class FlagTable : public testing::Test {
protected:
    void load(const std::vector<std::string>& cp932HeaderLines) {
        comic.LoadFromBytes(comicOf(cp932HeaderLines));
        flags.LoadFlags();
        prompter.clear();
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    FakeClock clock;
    FakeRandom random;
    TFlagCtrl flags{comic, prompter, clock, random};
};

TEST_F(FlagTable, LoadsBothBlocksInDeclarationOrder) {
    clock.ticks = 123456;
    load(declaredComic());
    EXPECT_EQ(flags.GetValueFlagNames(), sj({"score", "回数", "残り"}));
    EXPECT_EQ(flags.ValueFlagCount(), 3);
    EXPECT_EQ(flags.ValueFlags[0].Value, 10);
    EXPECT_EQ(flags.ValueFlags[1].Value, -3);
    EXPECT_EQ(flags.ValueFlags[2].Value, 0); // not a number
    EXPECT_EQ(flags.GetStringFlagNames(), sj({"name", "empty", "score", "式"}));
    EXPECT_EQ(flags.StringFlagCount(), 4);
    EXPECT_EQ(flags.StringFlags[0].Value, sj("花子"));
    EXPECT_EQ(flags.StringFlags[1].Value, "");
    EXPECT_EQ(flags.StringFlags[3].Value, sj("%score%点"));
    EXPECT_EQ(flags.RandomMax, 6);
    EXPECT_EQ(flags.StartTicks, 123456);
    EXPECT_EQ(random.reseeds, 1);
}

TEST_F(FlagTable, ADeclarationRepeatedTakesTheFirstValue) {
    load(sj({"<Head=\"ValueFlag\">", "a=1", "b=2", "a=3", "<Head End>"}));
    EXPECT_EQ(flags.GetValueFlagNames(), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(flags.ValueFlags[2].Value, 1);
}

TEST_F(FlagTable, AComicWithoutTheBlocksHasNoVariablesAndSaysNothing) {
    comic.LoadFromBytes(comicOf({"<Head=\"Comic\">", "FileType=PGR95", "<Head End>"}));
    flags.LoadFlags();
    EXPECT_EQ(flags.ValueFlagCount(), 0);
    EXPECT_EQ(flags.StringFlagCount(), 0);
    EXPECT_TRUE(flags.GetValueFlagNames().empty());
    EXPECT_TRUE(flags.GetStringFlagNames().empty());
    EXPECT_EQ(flags.RandomMax, 1000);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

TEST_F(FlagTable, IsASnapshotThatReloadingReplacesWhole) {
    load(declaredComic());
    comic.WriteHeader("ValueFlag", "added", "5");
    comic.DeleteHeader("StringFlag", "name");
    EXPECT_EQ(flags.ValueFlagCount(), 3);
    EXPECT_EQ(flags.GetStringFlag("name"), sj("花子"));

    clock.ticks = 9000;
    load(sj({"<Head=\"ValueFlag\">", "other=7", "<Head End>"}));
    EXPECT_EQ(flags.GetValueFlagNames(), std::vector<std::string>{"other"});
    EXPECT_EQ(flags.StringFlagCount(), 0);
    EXPECT_EQ(flags.RandomMax, 1000);
    EXPECT_EQ(flags.StartTicks, 9000);
    EXPECT_EQ(random.reseeds, 2);
    EXPECT_EQ(flags.GetValueFlag("score"), 0);
    EXPECT_EQ(prompter.messages(), sj({"数値変数“score”は存在しません"}));
}

TEST_F(FlagTable, LoadsEveryDeclarationPastFourHundredAndOne) {
    std::vector<std::string> lines{"<Head=\"ValueFlag\">"};
    for (int i = 0; i < 450; ++i)
        lines.push_back("v" + std::to_string(i) + "=" + std::to_string(i * 2));
    lines.push_back("<Head End>");
    lines.push_back("<Head=\"StringFlag\">");
    for (int i = 0; i < 250; ++i)
        lines.push_back("s" + std::to_string(i) + "=t" + std::to_string(i));
    lines.push_back("<Head End>");
    load(lines);

    EXPECT_EQ(flags.ValueFlagCount(), 450);
    EXPECT_EQ(flags.StringFlagCount(), 250);
    EXPECT_EQ(flags.GetValueFlag("v400"), 800);
    EXPECT_EQ(flags.GetValueFlag("v449"), 898);
    EXPECT_EQ(flags.GetStringFlag("s200"), "t200");
    EXPECT_EQ(flags.GetStringFlag("s249"), "t249");
    EXPECT_EQ(flags.GetValueFlagNames().back(), "v449");
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

struct RandomMaxCase {
    const char* name;
    const char* line; // the Comic block's entry, or nothing
    int expected;
};

void PrintTo(const RandomMaxCase& c, std::ostream* out) {
    *out << c.name;
}

class RandomFlagMax : public FlagTable, public testing::WithParamInterface<RandomMaxCase> {};

TEST_P(RandomFlagMax, IsReadLenientlyWithAThousandAsFallback) {
    std::vector<std::string> lines{"<Head=\"Comic\">"};
    if (*GetParam().line != '\0')
        lines.emplace_back(GetParam().line);
    lines.emplace_back("<Head End>");
    load(lines);
    EXPECT_EQ(flags.RandomMax, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RandomFlagMax,
                         testing::Values(RandomMaxCase{"Missing", "", 1000},
                                         RandomMaxCase{"Letters", "RandomFlagMax=abc", 1000},
                                         RandomMaxCase{"Empty", "RandomFlagMax=", 1000},
                                         RandomMaxCase{"Decimal", "RandomFlagMax=25", 25},
                                         RandomMaxCase{"Zero", "RandomFlagMax=0", 0},
                                         RandomMaxCase{"Negative", "RandomFlagMax=-5", -5}),
                         [](const testing::TestParamInfo<RandomMaxCase>& param) {
                             return param.param.name;
                         });

TEST_F(FlagTable, LookupsMatchNamesExactlyAndNameTheMissingOne) {
    load(declaredComic());
    EXPECT_EQ(flags.GetValueFlag("score"), 10);
    EXPECT_EQ(flags.GetStringFlag("score"), sj("文字"));
    EXPECT_EQ(flags.GetValueFlag(sj("回数")), -3);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});

    EXPECT_EQ(flags.GetValueFlag("Score"), 0);
    EXPECT_EQ(flags.GetStringFlag("Name"), sj("<未定義変数>"));
    EXPECT_EQ(flags.GetValueFlag("name"), 0); // a string variable is no numeric one
    EXPECT_EQ(prompter.messages(),
              sj({"数値変数“Score”は存在しません", "文字列変数“Name”は存在しません",
                  "数値変数“name”は存在しません"}));
    for (const ScriptedPrompter::Record& record : prompter.records()) {
        EXPECT_EQ(record.kind, MessageKind::Error);
        EXPECT_EQ(record.buttons, Buttons::Ok);
    }
}

struct SpecialCase {
    const char* name;
    const char* variable;
    int expected;
};

void PrintTo(const SpecialCase& c, std::ostream* out) {
    *out << c.name;
}

class SpecialValue : public FlagTable, public testing::WithParamInterface<SpecialCase> {};

TEST_P(SpecialValue, IsComputedFromTheClockWithoutAMessage) {
    load(declaredComic()); // StartTicks 5000
    clock.ticks = 12999;
    EXPECT_EQ(flags.GetValueFlag(sj(GetParam().variable)), GetParam().expected);
    EXPECT_EQ(flags.GetSpecialValue(sj(GetParam().variable)), GetParam().expected);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpecialValue,
    testing::Values(SpecialCase{"Date", "@年月日", 20261208}, SpecialCase{"Year", "@年", 2026},
                    SpecialCase{"Month", "@月", 12}, SpecialCase{"Day", "@日", 8},
                    SpecialCase{"Time", "@時分秒", 90507}, SpecialCase{"Hour", "@時", 9},
                    SpecialCase{"Minute", "@分", 5}, SpecialCase{"Second", "@秒", 7},
                    SpecialCase{"ElapsedSecondsTruncated", "@経過時間", 7},
                    SpecialCase{"Random", "@乱数", 4}, SpecialCase{"WeekdayIsNoNumber", "@曜日", 0},
                    SpecialCase{"Unknown", "@未知", 0}, SpecialCase{"AtAlone", "@", 0}),
    [](const testing::TestParamInfo<SpecialCase>& param) { return param.param.name; });

TEST_F(FlagTable, RandomDrawsBelowRandomMaxAndAnEmptyRangeGivesZero) {
    load(declaredComic());
    random.draw = 5;
    EXPECT_EQ(flags.GetValueFlag(sj("@乱数")), 5);
    EXPECT_EQ(random.bounds, std::vector<int>{6});

    for (const int max : {0, -1}) {
        flags.RandomMax = max;
        EXPECT_EQ(flags.GetValueFlag(sj("@乱数")), 0);
    }
    EXPECT_EQ(random.bounds, std::vector<int>{6});
}

TEST_F(FlagTable, ElapsedTimeCountsFromTheLastLoad) {
    clock.ticks = 1000;
    load(declaredComic());
    clock.ticks = 61000;
    EXPECT_EQ(flags.GetValueFlag(sj("@経過時間")), 60);
    load(declaredComic());
    EXPECT_EQ(flags.GetValueFlag(sj("@経過時間")), 0);
}

class Weekday : public FlagTable, public testing::WithParamInterface<int> {};

TEST_P(Weekday, IsOneKanjiFromSundayToSaturday) {
    static const std::vector<std::string> kanji = sj({"日", "月", "火", "水", "木", "金", "土"});
    clock.time.weekday = GetParam();
    EXPECT_EQ(flags.GetStringFlag(sj("@曜日")), kanji[static_cast<std::size_t>(GetParam())]);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Days, Weekday, testing::Range(0, 7));

TEST_F(FlagTable, OtherSpecialNamesAsStringsAreUndefinedWithoutAMessage) {
    for (const char* name : {"@年", "@乱数", "@未知", "@"})
        EXPECT_EQ(flags.GetStringFlag(sj(name)), sj("<未定義変数>")) << name;
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

TEST_F(FlagTable, SpecialNamesAreListedInChooserOrder) {
    EXPECT_EQ(TFlagCtrl::GetSpecialValueNames(), sj({"@乱数", "@年月日", "@年", "@月", "@日",
                                                     "@時分秒", "@時", "@分", "@秒", "@経過時間"}));
    EXPECT_EQ(TFlagCtrl::GetSpecialStringNames(), sj({"@曜日"}));
}

struct ExpandCase {
    const char* name;
    const char* text;
    const char* expected;
    bool error;
    std::vector<const char*> messages;
};

void PrintTo(const ExpandCase& c, std::ostream* out) {
    *out << c.name;
}

class TextExpansion : public FlagTable, public testing::WithParamInterface<ExpandCase> {};

TEST_P(TextExpansion, ReplacesStringsThenNumbers) {
    load(declaredComic());
    const ExpandCase& c = GetParam();
    std::vector<std::string> messages;
    for (const char* message : c.messages)
        messages.push_back(sj(message));

    const TExpandResult result = flags.ExpandText(sj(c.text));
    EXPECT_EQ(result.Text, sj(c.expected));
    EXPECT_EQ(result.Error, c.error);
    EXPECT_EQ(prompter.messages(), messages);
    for (const ScriptedPrompter::Record& record : prompter.records()) {
        EXPECT_EQ(record.kind, MessageKind::Error);
        EXPECT_EQ(record.buttons, Buttons::Ok);
    }

    prompter.clear();
    EXPECT_EQ(flags.CheckText(sj(c.text)), !c.error);
    EXPECT_EQ(prompter.messages(), messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextExpansion,
    testing::Values(
        ExpandCase{"DeclaredVariables", "&name&さんは%score%点", "花子さんは10点", false, {}},
        ExpandCase{"NoDelimiters", "ただの文", "ただの文", false, {}},
        ExpandCase{"Empty", "", "", false, {}},
        ExpandCase{"EmptyStringValue", "[&empty&]", "[]", false, {}},
        ExpandCase{"ThreePercents", "%score%点%あと", "10点あと", true, {kPercentsUnpaired}},
        ExpandCase{"OnePercent", "100%", "100", true, {kPercentsUnpaired}},
        ExpandCase{"OneAmpersandSkipsTheNumericPass",
                   "a&b%score%",
                   "ab%score%",
                   true,
                   {kAmpersandsUnpaired}},
        ExpandCase{"ThirdAmpersandKeepsEarlierValues",
                   "&name&と&あと",
                   "花子とあと",
                   true,
                   {kAmpersandsUnpaired}},
        ExpandCase{"UndeclaredNumericStillPasses",
                   "%Score%点",
                   "0点",
                   false,
                   {"数値変数“Score”は存在しません"}},
        ExpandCase{"UndeclaredStringStillPasses",
                   "&Name&",
                   "<未定義変数>",
                   false,
                   {"文字列変数“Name”は存在しません"}},
        ExpandCase{"EmptyNames",
                   "&&%%",
                   "<未定義変数>0",
                   false,
                   {"文字列変数“”は存在しません", "数値変数“”は存在しません"}},
        ExpandCase{"SharedNameIsTwoVariables", "&score&%score%", "文字10", false, {}},
        ExpandCase{"StringValuesFeedTheNumericPass", "=&式&", "=10点", false, {}},
        ExpandCase{"SpecialNumber", "%@年%年", "2026年", false, {}},
        ExpandCase{"SpecialString", "&@曜日&曜日", "火曜日", false, {}},
        ExpandCase{"OtherSpecialAsString", "&@年&", "<未定義変数>", false, {}},
        ExpandCase{"NegativeValue", "%回数%", "-3", false, {}}),
    [](const testing::TestParamInfo<ExpandCase>& param) { return param.param.name; });

// --- texts no person would write ---

TEST_F(FlagTable, LongPercentRunsLookUpEmptyNamesPairByPair) {
    load(declaredComic());
    const TExpandResult even = flags.ExpandText(std::string(100000, '%'));
    EXPECT_FALSE(even.Error);
    EXPECT_EQ(even.Text, std::string(50000, '0'));
    EXPECT_EQ(prompter.messages().size(), 50000u);

    prompter.clear();
    const TExpandResult odd = flags.ExpandText(std::string(100001, '%'));
    EXPECT_TRUE(odd.Error);
    EXPECT_EQ(odd.Text, std::string(50000, '0'));
    ASSERT_EQ(prompter.messages().size(), 50001u);
    EXPECT_EQ(prompter.messages().back(), sj(kPercentsUnpaired));
}

TEST_F(FlagTable, ExpandsTenMegabytesInOnePass) {
    load(declaredComic());
    const std::string chunk = "ab&name&cd%score%ef";
    const std::string expandedChunk = "ab" + sj("花子") + "cd10ef";
    std::string text;
    std::string expected;
    while (text.size() < 10'000'000) {
        text += chunk;
        expected += expandedChunk;
    }
    const TExpandResult result = flags.ExpandText(text);
    EXPECT_FALSE(result.Error);
    EXPECT_TRUE(result.Text == expected) << "expanded text differs";
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});

    const TExpandResult unpaired = flags.ExpandText(std::string(10'000'000, 'x') + "&" + "tail");
    EXPECT_TRUE(unpaired.Error);
    EXPECT_EQ(unpaired.Text.size(), 10'000'004u);
    EXPECT_EQ(prompter.messages(), sj({kAmpersandsUnpaired}));
}

TEST_F(FlagTable, InvalidCp932BytesPassThroughUntouched) {
    load(declaredComic());
    const TExpandResult result = flags.ExpandText("\x81%score%\xff\x80&name&\x82");
    EXPECT_FALSE(result.Error);
    EXPECT_EQ(result.Text, "\x81"
                           "10\xff\x80" +
                               sj("花子") + "\x82");

    EXPECT_FALSE(flags.CheckText("&\x81\xfc"));
    EXPECT_EQ(flags.ExpandText("%\x81\xfc%").Text, "0");
    EXPECT_EQ(prompter.messages().back(), sj("数値変数“") + "\x81\xfc" + sj("”は存在しません"));
}

// --- the system sources ---

TEST(SystemRandom, StaysBelowTheBoundAndReachesEveryValue) {
    SystemRandom random;
    for (const int bound : {0, -1, -1000, 1})
        EXPECT_EQ(random.below(bound), 0) << bound;
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i) {
        const int value = random.below(6);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 6);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 6u);
    random.reseed();
    const int value = random.below(1000);
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 1000);
}

TEST(SystemClock, GivesACalendarDateWithItsWeekday) {
    const SystemClock clock;
    const LocalTime time = clock.now();
    const std::chrono::year_month_day date{std::chrono::year{time.year},
                                           std::chrono::month{static_cast<unsigned>(time.month)},
                                           std::chrono::day{static_cast<unsigned>(time.day)}};
    ASSERT_TRUE(date.ok());
    EXPECT_EQ(std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding(),
              static_cast<unsigned>(time.weekday));
    EXPECT_GE(time.year, 2024);
    EXPECT_LE(time.hour, 23);
    EXPECT_LE(time.minute, 59);
    EXPECT_LE(time.second, 60);

    const std::int64_t first = clock.ticksMs();
    EXPECT_GE(clock.ticksMs(), first);
}

TEST(SystemSources, DriveTheSpecialVariables) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(comicOf({"<Head=\"Comic\">", "RandomFlagMax=3", "<Head End>"}));
    const SystemClock clock;
    SystemRandom random;
    TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();

    for (int i = 0; i < 50; ++i) {
        const int value = flags.GetValueFlag(sj("@乱数"));
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 3);
    }
    const int year = flags.GetValueFlag(sj("@年"));
    EXPECT_EQ(flags.GetValueFlag(sj("@年月日")) / 10000, year);
    EXPECT_EQ(flags.GetValueFlag(sj("@経過時間")), 0);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

} // namespace
} // namespace pagora
