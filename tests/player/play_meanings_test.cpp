// The readings of the play table that arithmetic or calendars could get
// wrong, and the help page that must describe every row of the table.
#include "document/cmd_ctrl.h"
#include "player/play_clock.h"
#include "player/play_meanings.h"

#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

struct ValueCase {
    int op;
    int left;
    int right;
    std::optional<int> value;
    bool divisionByZero;
};

class ValueOperation : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueOperation, WrapsLike32BitIntegers) {
    const ValueCase& c = GetParam();
    const std::optional<ValueResult> result = valueOperation(c.op, c.left, c.right);
    ASSERT_EQ(result.has_value(), c.value.has_value());
    if (result) {
        EXPECT_EQ(result->value, *c.value);
        EXPECT_EQ(result->divisionByZero, c.divisionByZero);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operators, ValueOperation,
    testing::Values(ValueCase{1, INT_MAX, 1, INT_MIN, false},
                    ValueCase{2, INT_MIN, 1, INT_MAX, false}, ValueCase{3, 65536, 65536, 0, false},
                    ValueCase{3, -7, 6, -42, false}, ValueCase{4, INT_MIN, -1, INT_MIN, false},
                    ValueCase{4, -7, 2, -3, false}, ValueCase{4, 7, 0, 0, true},
                    ValueCase{5, -7, 3, -1, false}, ValueCase{5, INT_MIN, -1, 0, false},
                    ValueCase{5, 7, 0, 0, true}, ValueCase{0, 1, 1, std::nullopt, false},
                    ValueCase{6, 1, 1, std::nullopt, false}));

TEST(PlayMeanings, FlagsAreaPicturesAndNumbersOutsideTheTables) {
    EXPECT_EQ(flagOperation(2, -3), 0);
    EXPECT_EQ(flagOperation(2, 0), 1);
    EXPECT_EQ(flagOperation(3, 0), std::nullopt);
    // Parts stacked top to bottom; fewer parts than states: the last stands in.
    EXPECT_EQ(areaImagePart(0, AreaState::Selected), 0);
    EXPECT_EQ(areaImagePart(2, AreaState::MouseOver), 1);
    EXPECT_EQ(areaImagePart(2, AreaState::Selected), 1);
    EXPECT_EQ(areaImagePart(3, AreaState::Selected), 2);
    EXPECT_EQ(effectMeaning(19).transition, Transition::Cut);
    EXPECT_EQ(modeMeaning(-1).keyword, "KeyWait");
    EXPECT_EQ(speedMeaning(3).keyword, "Normal");
    EXPECT_TRUE(effectMeaning(18).partial);
}

TEST(PlayMeanings, TheHelpPageDescribesEveryRow) {
    std::ifstream file(PAGORA_SOURCE_DIR "/docs/help/preview.html");
    ASSERT_TRUE(file) << "docs/help/preview.html";
    std::stringstream page;
    page << file.rdbuf();
    const std::string html = page.str();
    const auto documented = [&](std::string_view keyword) {
        return html.find("<code>" + std::string(keyword) + "</code>") != std::string::npos;
    };
    for (const ModeMeaning& mode : kModeMeanings)
        EXPECT_TRUE(documented(mode.keyword)) << mode.keyword;
    for (const SpeedMeaning& speed : kSpeedMeanings) {
        EXPECT_TRUE(documented(speed.keyword)) << speed.keyword;
        EXPECT_NE(html.find(std::to_string(speed.msPerChar) + " ms"), std::string::npos)
            << speed.keyword;
    }
    for (const EffectMeaning& effect : kEffectMeanings)
        EXPECT_TRUE(documented(effect.keyword)) << effect.keyword;
    for (const KindMeaning& kind : kKindMeanings)
        EXPECT_TRUE(documented(keywordOf(kind.kind))) << keywordOf(kind.kind);
    EXPECT_NE(html.find(std::to_string(kMaxLinesWithoutWait)), std::string::npos);
    EXPECT_NE(html.find(std::to_string(kMaxCallDepth)), std::string::npos);
}

TEST(SteppedClock, CountsOnFromItsStartAcrossDaysAndYears) {
    SteppedClock clock(*parseLocalTime("2026-12-31T23:59:58"));
    EXPECT_EQ(clock.now().weekday, 4); // a Thursday
    clock.advance(2500);
    const LocalTime later = clock.now();
    EXPECT_EQ(later.year, 2027);
    EXPECT_EQ(later.month, 1);
    EXPECT_EQ(later.day, 1);
    EXPECT_EQ(later.second, 0);
    EXPECT_EQ(later.weekday, 5);
    EXPECT_EQ(clock.ticksMs(), 2500);
}

TEST(SteppedClock, RefusesTimesThatAreNot) {
    for (const char* text : {"2026-02-29T10:00:00", "2026-12-08T24:00:00", "2026-12-08 10:00:00",
                             "2026-12-08T10:00:00Z", "", "tomorrow"})
        EXPECT_FALSE(parseLocalTime(text).has_value()) << text;
    EXPECT_TRUE(parseLocalTime("2028-02-29T00:00:00").has_value());
}

TEST(SeededRandom, RepeatsItsSequenceOnEveryReseed) {
    SeededRandom random(3);
    const int first = random.below(1000), second = random.below(1000);
    random.reseed();
    EXPECT_EQ(random.below(1000), first);
    EXPECT_EQ(random.below(1000), second);
    EXPECT_EQ(random.below(0), 0);
}

} // namespace
} // namespace pagora
