// The frames of the pictures' transitions: each starts at the window as it
// was, ends at the window with the picture, leaves what lies outside its area
// alone, and every effect the comic can name looks different half way.
#include "preview/transitions.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace pagora {
namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

// A canvas with a pattern, so that shifts, scales and blocks show.
TTC patterned(std::uint32_t base) {
    TTC canvas(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            canvas.SetPixel(x, y, base ^ static_cast<std::uint32_t>((x * 7 + y * 13) % 251));
    return canvas;
}

std::vector<std::uint32_t> pixels(const TTC& canvas, const CanvasRect& area) {
    std::vector<std::uint32_t> result;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x)
            result.push_back(canvas.Pixel(x, y));
    return result;
}

class EveryTransition : public testing::TestWithParam<Transition> {
protected:
    TTC before = patterned(0x204060);
    TTC after = patterned(0xE0C0A0);
    CanvasRect area{10, 8, 50, 40};

    TTC frameAt(double progress) const {
        TTC frame;
        drawTransitionFrame(GetParam(), before, after, area, progress, 7, frame);
        return frame;
    }
};

TEST_P(EveryTransition, StartsAtTheOldWindowAndEndsAtTheNewOne) {
    if (GetParam() != Transition::Cut) {
        EXPECT_EQ(pixels(frameAt(0.0), area), pixels(before, area));
    }
    EXPECT_EQ(pixels(frameAt(1.0), area), pixels(after, area));
}

TEST_P(EveryTransition, LeavesThePicturesOutsideItsAreaAsTheyAreAfter) {
    const TTC frame = frameAt(0.4);
    for (const CanvasRect outside : {CanvasRect{0, 0, kWidth, 8}, CanvasRect{0, 48, kWidth, 16},
                                     CanvasRect{0, 8, 10, 40}, CanvasRect{60, 8, 36, 40}})
        EXPECT_EQ(pixels(frame, outside), pixels(after, outside));
}

TEST_P(EveryTransition, ShowsSomethingBetweenHalfWay) {
    if (GetParam() == Transition::Cut)
        GTEST_SKIP() << "a cut has no frames between";
    const std::vector<std::uint32_t> middle = pixels(frameAt(0.5), area);
    EXPECT_NE(middle, pixels(before, area));
    EXPECT_NE(middle, pixels(after, area));
}

INSTANTIATE_TEST_SUITE_P(Transitions, EveryTransition,
                         testing::Values(Transition::Cut, Transition::Fade, Transition::CurtainLeft,
                                         Transition::CurtainTop, Transition::RandomPanels,
                                         Transition::Mosaic, Transition::Wave, Transition::ZoomUp,
                                         Transition::ZoomDown, Transition::Blind, Transition::Box));

// The whole-window effects run over the window; the partial ones over the
// picture's area only.
TEST(Transitions, EveryEffectOfTheTableLooksDifferentHalfWay) {
    const TTC before = patterned(0x204060);
    const TTC after = patterned(0xE0C0A0);
    const CanvasRect window{0, 0, kWidth, kHeight};
    const CanvasRect picture{16, 12, 48, 32};
    std::set<std::vector<std::uint32_t>> frames;
    for (const EffectMeaning& effect : kEffectMeanings) {
        if (effect.transition == Transition::Cut)
            continue;
        TTC frame;
        drawTransitionFrame(effect.transition, before, after, effect.partial ? picture : window,
                            0.5, 7, frame);
        EXPECT_TRUE(frames.insert(pixels(frame, window)).second)
            << effect.keyword << " looks like another effect";
    }
}

TEST(Transitions, RandomPanelsRepeatForOneSeedAndDifferForAnother) {
    const TTC before = patterned(0x204060);
    const TTC after = patterned(0xE0C0A0);
    const CanvasRect window{0, 0, kWidth, kHeight};
    TTC first;
    TTC again;
    TTC other;
    drawTransitionFrame(Transition::RandomPanels, before, after, window, 0.5, 1, first);
    drawTransitionFrame(Transition::RandomPanels, before, after, window, 0.5, 1, again);
    drawTransitionFrame(Transition::RandomPanels, before, after, window, 0.5, 2, other);
    EXPECT_EQ(pixels(first, window), pixels(again, window));
    EXPECT_NE(pixels(first, window), pixels(other, window));
}

TEST(Transitions, AnAreaReachingPastTheWindowIsCutToIt) {
    const TTC before = patterned(0x204060);
    const TTC after = patterned(0xE0C0A0);
    TTC frame;
    drawTransitionFrame(Transition::Box, before, after, {-50, -50, 1000, 1000}, 0.0, 7, frame);
    EXPECT_EQ(pixels(frame, {0, 0, kWidth, kHeight}), pixels(before, {0, 0, kWidth, kHeight}));
    drawTransitionFrame(Transition::Box, before, after, {200, 200, 10, 10}, 0.0, 7, frame);
    EXPECT_EQ(pixels(frame, {0, 0, kWidth, kHeight}), pixels(after, {0, 0, kWidth, kHeight}));
}

} // namespace
} // namespace pagora
