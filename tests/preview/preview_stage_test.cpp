// The stage of the preview: where the windows lie, which window and which
// choice a point falls on, the parts of an area's image by its state, the
// window during a transition, and the time-limit gauge.
#include "preview/preview_stage.h"

#include <gtest/gtest.h>
#include <optional>

namespace pagora {
namespace {

// The windows as a new comic has them.
std::array<PlayWindowLook, kPlayWindowCount> defaultLooks() {
    std::array<PlayWindowLook, kPlayWindowCount> looks;
    for (int window = 0; window < kPlayWindowCount; ++window) {
        const PlayWindowDefaults& defaults = playWindowDefaults(window);
        PlayWindowLook& look = looks[static_cast<std::size_t>(window)];
        look.width = defaults.width;
        look.height = defaults.height;
        look.left = defaults.left;
        look.top = defaults.top;
        look.titleBar = window != 0;
    }
    return looks;
}

constexpr int kBar = PreviewStage::kTitleBarHeight;

TEST(PreviewStagePlaces, WindowsLieBesideTheMainWindowAsTheHeaderSays) {
    const PreviewStage stage(defaultLooks());
    // The user windows' title bars reach above the main window.
    EXPECT_EQ(stage.windowRect(0), (CanvasRect{0, kBar, 640, 480}));
    EXPECT_EQ(stage.windowRect(1), (CanvasRect{60, 350 + kBar, 520, 110}));
    EXPECT_EQ(stage.titleBarRect(1), (CanvasRect{60, 350, 520, kBar}));
    EXPECT_EQ(stage.titleBarRect(0), CanvasRect{});
    EXPECT_EQ(stage.width(), 640);
    EXPECT_EQ(stage.height(), 480 + kBar);
}

TEST(PreviewStagePlaces, AWindowLeftOfAndAboveTheMainWindowMovesItOver) {
    auto looks = defaultLooks();
    looks[3].left = -100;
    looks[3].top = -50;
    looks[4].left = 700; // reaches past the main window's right edge
    looks[4].titleBar = false;
    const PreviewStage stage(looks);
    EXPECT_EQ(stage.windowRect(0), (CanvasRect{100, 50 + kBar, 640, 480}));
    EXPECT_EQ(stage.windowRect(3), (CanvasRect{0, kBar, 100, 100}));
    EXPECT_EQ(stage.width(), 100 + 700 + 100);
    EXPECT_EQ(stage.toMain(100, 50 + kBar), (PicturePoint{0, 0}));
    EXPECT_EQ(stage.toMain(95, 60), (PicturePoint{-5, 60 - 50 - kBar}));
}

TEST(PreviewStagePlaces, SizesAndPlacesBeyondReasonAreCut) {
    auto looks = defaultLooks();
    looks[0].width = 1000000;
    looks[0].height = -5;
    looks[1].left = -2000000000;
    const PreviewStage stage(looks);
    EXPECT_EQ(stage.windowRect(0).width, 2048);
    EXPECT_EQ(stage.windowRect(0).height, 1);
    EXPECT_EQ(stage.windowRect(0).left, 2048);
    EXPECT_EQ(stage.windowRect(1).left, 0);
}

TEST(PreviewStagePlaces, AClickGoesToTheFrontMostShownWindow) {
    PreviewStage stage(defaultLooks());
    EXPECT_EQ(stage.windowAt(10, kBar + 10), 0);
    stage.showWindow(3, true);
    stage.showWindow(5, true);
    EXPECT_EQ(stage.windowAt(10, kBar + 10), 5);
    stage.showWindow(5, false);
    EXPECT_EQ(stage.windowAt(10, kBar + 10), 3);
    EXPECT_EQ(stage.windowAt(10, 5), std::nullopt);     // a title bar
    EXPECT_EQ(stage.windowAt(640, kBar), std::nullopt); // right of every window
    stage.showWindow(0, false);
    EXPECT_EQ(stage.windowAt(200, kBar + 200), std::nullopt);
}

TEST(PreviewStagePlaces, AWindowDraggedByItsBarStaysOnTheStageAndAnswersAtItsOwnPlace) {
    PreviewStage stage(defaultLooks());
    stage.showWindow(1, true);
    EXPECT_EQ(stage.titleBarAt(100, 355), 1);
    EXPECT_EQ(stage.titleBarAt(100, 345), std::nullopt); // the main window, which has no bar
    stage.moveWindow(1, 10, 100);
    EXPECT_EQ(stage.windowRect(1), (CanvasRect{10, 100, 520, 110}));
    // The session still has the window at its header place (60, 350).
    EXPECT_EQ(stage.toMain(10 + 5, 100 + 7), (PicturePoint{65, 357}));
    EXPECT_EQ(stage.toMain(600, 300), (PicturePoint{600, 300 - kBar})); // the main window
    stage.moveWindow(1, -300, -300);
    EXPECT_EQ(stage.windowRect(1), (CanvasRect{0, kBar, 520, 110}));
    stage.moveWindow(1, 5000, 5000);
    EXPECT_EQ(stage.windowRect(1), (CanvasRect{640 - 520, 480 + kBar - 110, 520, 110}));
    stage.showWindow(5, true); // over window 1 at the top left, its own bar above it
    stage.moveWindow(1, 0, kBar);
    EXPECT_EQ(stage.titleBarAt(10, 5), 5);
    EXPECT_EQ(stage.titleBarAt(10, kBar + 5), std::nullopt) << "window 5 covers the bar";
}

TEST(PreviewStageChoices, RowsFollowEachOtherDownTheFrame) {
    PreviewStage stage(defaultLooks());
    stage.showWindow(2, true);
    stage.offerChoices({2, {"one", "two", "three"}, {10, 10, 300, 100}, 12, 0xFFFFFF});
    ASSERT_EQ(stage.choiceCount(), 3);
    const CanvasRect window = stage.windowRect(2);
    std::vector<int> seen;
    for (int y = 0; y < window.height; ++y) {
        const std::optional<int> choice = stage.choiceAt(window.left + 20, window.top + y);
        if (choice && (seen.empty() || seen.back() != *choice))
            seen.push_back(*choice);
        if (y < 10) {
            EXPECT_EQ(choice, std::nullopt) << y;
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(stage.choiceAt(window.left + 5, window.top + 15), std::nullopt); // left of the frame
    stage.highlightChoice(7);
    EXPECT_EQ(stage.highlightedChoice(), 2);
    stage.clearChoices();
    EXPECT_EQ(stage.choiceAt(window.left + 20, window.top + 15), std::nullopt);
}

TEST(PreviewStageChoices, ChoicesPastTheFrameAreLeftOut) {
    PreviewStage stage(defaultLooks());
    stage.offerChoices({0, {"a", "b", "c", "d"}, {0, 0, 200, 30}, 12, 0xFFFFFF});
    EXPECT_GE(stage.choiceCount(), 1);
    EXPECT_LT(stage.choiceCount(), 4);
}

std::uint32_t stagePixel(PreviewStage& stage, int window, int x, int y) {
    TTC frame;
    stage.draw(frame);
    const CanvasRect rect = stage.windowRect(window);
    return frame.Pixel(rect.left + x, rect.top + y);
}

struct AreaCase {
    int division;
    AreaState state;
    std::uint32_t shown;
};

class AreaParts : public testing::TestWithParam<AreaCase> {};

TEST_P(AreaParts, AnAreaShowsThePartOfItsState) {
    // Three parts of 10 rows: red, green, blue.
    TTC image(20, 30);
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            image.SetPixel(x, y, colours[y / 10]);
    PreviewStage stage(defaultLooks());
    PlayArea area;
    area.rect = {50, 60, 69, 89};
    area.imageDivision = GetParam().division;
    stage.addArea(0, {area, image, AreaState::Normal});
    stage.setAreaState(0, 0, GetParam().state);
    EXPECT_EQ(stagePixel(stage, 0, 55, 65), GetParam().shown);
    EXPECT_EQ(stagePixel(stage, 0, 45, 65), 0u); // outside the area
}

INSTANTIATE_TEST_SUITE_P(States, AreaParts,
                         testing::Values(AreaCase{3, AreaState::Normal, 0xFF0000},
                                         AreaCase{3, AreaState::MouseOver, 0x00FF00},
                                         AreaCase{3, AreaState::Selected, 0x0000FF},
                                         AreaCase{2, AreaState::Selected, 0x0000FF},
                                         AreaCase{0, AreaState::MouseOver, 0xFF0000}));

TEST(PreviewStageLayers, APictureShowsWhenPresentedThroughItsTransition) {
    PreviewStage stage(defaultLooks());
    TTC white(640, 480);
    white.Fill(0xFFFFFF);
    stage.drawPicture(0, white, {0, 0, 639, 479}, {});
    EXPECT_EQ(stagePixel(stage, 0, 10, 10), 0u); // drawn behind the screen only
    stage.present(0, Transition::CurtainLeft, {0, 0, 320, 480}, 1);
    stage.setTransitionProgress(0);
    EXPECT_TRUE(stage.transitionRunning());
    EXPECT_EQ(stagePixel(stage, 0, 10, 10), 0u);
    EXPECT_EQ(stagePixel(stage, 0, 400, 10), 0xFFFFFFu); // outside the transition's area
    stage.setTransitionProgress(1);
    EXPECT_FALSE(stage.transitionRunning());
    EXPECT_EQ(stagePixel(stage, 0, 10, 10), 0xFFFFFFu);
}

TEST(PreviewStageLayers, PendingPicturesShowAtOnceWhenAsked) {
    PreviewStage stage(defaultLooks());
    stage.showWindow(3, true);
    TTC red(100, 100);
    red.Fill(0xFF0000);
    stage.drawPicture(3, red, {0, 0, 99, 99}, {});
    stage.presentPending();
    EXPECT_FALSE(stage.transitionRunning());
    EXPECT_EQ(stagePixel(stage, 3, 50, 50), 0xFF0000u);
}

TEST(PreviewStageGauge, TheGaugeShowsTheTimeLeft) {
    PreviewStage stage(defaultLooks());
    const int bottom = 480 - PreviewStage::kGaugeHeight / 2;
    stage.setGauge(0.5);
    EXPECT_NE(stagePixel(stage, 0, 100, bottom), stagePixel(stage, 0, 500, bottom));
    EXPECT_EQ(stagePixel(stage, 0, 100, 100), 0u);
    stage.setGauge(std::nullopt);
    EXPECT_EQ(stagePixel(stage, 0, 100, bottom), stagePixel(stage, 0, 500, bottom));
}

} // namespace
} // namespace pagora
