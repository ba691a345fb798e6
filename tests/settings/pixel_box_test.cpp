#include "settings/pixel_box.h"

#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace pagora {
namespace {

constexpr int kLargest = 32767;

// What the box shows after the user's keys, starting from a text put in.
struct Typing {
    bool position; // a position box takes negative numbers, a size box does not
    const char* start;
    const char* keys;
    const char* shown;
    int value;
};

class PixelBoxTyping : public ::testing::TestWithParam<Typing> {};

TEST_P(PixelBoxTyping, KeepsToWholeNumbersOfItsRangeOrNothing) {
    const Typing& typing = GetParam();
    PixelBox box(typing.position ? -kLargest : 0, kLargest, 520);
    box.setText(QString::fromLatin1(typing.start));
    box.setFocus();
    QTest::keyClicks(&box, QString::fromLatin1(typing.keys));
    EXPECT_EQ(box.text(), QString::fromLatin1(typing.shown));
    EXPECT_EQ(box.value(), typing.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PixelBoxTyping,
    ::testing::Values(Typing{false, "", "300", "300", 300},
                      Typing{false, "", "3a0x", "30", 30},            // letters refused
                      Typing{false, "", "-5", "5", 5},                // no sign in a size
                      Typing{true, "", "-5", "-5", -5},               // a position may be negative
                      Typing{true, "", "-", "-", 520},                // on the way to a number
                      Typing{false, "", "327670", "32767", kLargest}, // past the range refused
                      Typing{true, "", "-32768", "-3276", -3276},
                      Typing{false, "", "", "", 520},                  // empty: the fallback
                      Typing{false, "abc", "", "abc", 520},            // put in, not a number
                      Typing{false, "100000", "", "100000", 100000})); // put in, kept

// The arrows step from the number shown, from the fallback where there is
// none, and bring a number outside the range to its nearest end.
struct Stepping {
    const char* start;
    int steps;
    const char* shown;
};

class PixelBoxStepping : public ::testing::TestWithParam<Stepping> {};

TEST_P(PixelBoxStepping, StepsInsideTheRange) {
    const Stepping& stepping = GetParam();
    PixelBox box(0, kLargest, 100);
    box.setText(QString::fromLatin1(stepping.start));
    box.stepBy(stepping.steps);
    EXPECT_EQ(box.text(), QString::fromLatin1(stepping.shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, PixelBoxStepping,
                         ::testing::Values(Stepping{"237", 1, "238"}, Stepping{"237", -10, "227"},
                                           Stepping{"", 1, "101"}, Stepping{"x", -1, "99"},
                                           Stepping{"0", -1, "0"}, Stepping{"32767", 1, "32767"},
                                           Stepping{"100000", -1, "32767"},
                                           Stepping{"-5", 1, "0"}));

TEST(PixelBox, ArrowKeysStepAndStopAtTheEndsOfTheRange) {
    PixelBox box(0, 10, 0);
    box.setText(QStringLiteral("9"));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("10"));
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("10"));
    box.setText(QStringLiteral("0"));
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.text(), QStringLiteral("0"));
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("1"));
}

} // namespace
} // namespace pagora
