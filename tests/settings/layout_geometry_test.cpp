#include "settings/layout_geometry.h"

#include <gtest/gtest.h>
#include <ostream>

namespace pagora {

void PrintTo(const LayoutFrame& frame, std::ostream* out) {
    *out << "{" << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom
         << "}";
}

void PrintTo(const LayoutPoint& point, std::ostream* out) {
    *out << "(" << point.x << "," << point.y << ")";
}

namespace {

constexpr LayoutSize kScreen{640, 480};

struct SnapCase {
    int coordinate;
    int step;
    int snapped;
};

class SnapToStep : public testing::TestWithParam<SnapCase> {};

TEST_P(SnapToStep, CutsDownToAMultiple) {
    const SnapCase& c = GetParam();
    EXPECT_EQ(snapToStep(c.coordinate, usableStep(c.step)), c.snapped);
}

INSTANTIATE_TEST_SUITE_P(Steps, SnapToStep,
                         testing::Values(SnapCase{237, 10, 230}, SnapCase{237, 5, 235},
                                         SnapCase{237, 2, 236}, SnapCase{237, 1, 237},
                                         SnapCase{240, 10, 240}, SnapCase{9, 10, 0},
                                         // steps the menus do not offer move by one pixel
                                         SnapCase{237, 3, 237}, SnapCase{237, 0, 237},
                                         SnapCase{237, -10, 237}));

struct HitCase {
    LayoutPoint at;
    FrameGrip grip;
};

class HitTest : public testing::TestWithParam<HitCase> {};

// The frame from (100, 100) to (199, 149).
TEST_P(HitTest, FindsTheEdgeWithinThreePixels) {
    EXPECT_EQ(hitTest({100, 100, 199, 149}, GetParam().at), GetParam().grip);
}

INSTANTIATE_TEST_SUITE_P(
    Points, HitTest,
    testing::Values(HitCase{{97, 120}, FrameGrip::Left}, HitCase{{103, 120}, FrameGrip::Left},
                    HitCase{{96, 120}, FrameGrip::None}, HitCase{{104, 120}, FrameGrip::Inside},
                    HitCase{{202, 120}, FrameGrip::Right}, HitCase{{203, 120}, FrameGrip::None},
                    HitCase{{150, 97}, FrameGrip::Top}, HitCase{{150, 152}, FrameGrip::Bottom},
                    HitCase{{150, 153}, FrameGrip::None}, HitCase{{104, 104}, FrameGrip::Inside},
                    // a corner belongs to the side edge; beside the frame nothing
                    HitCase{{100, 100}, FrameGrip::Left}, HitCase{{98, 98}, FrameGrip::None},
                    HitCase{{98, 149}, FrameGrip::Left}));

TEST(HitTest, TakesTheNearerEdgeOfANarrowFrame) {
    const LayoutFrame narrow{100, 100, 103, 149};
    EXPECT_EQ(hitTest(narrow, {101, 120}), FrameGrip::Left);
    EXPECT_EQ(hitTest(narrow, {102, 120}), FrameGrip::Right);
}

struct EdgeCase {
    const char* what;
    LayoutFrame frame;
    FrameGrip edge;
    int to;
    std::optional<LayoutSize> picture;
    LayoutFrame dragged;
};

class DragEdge : public testing::TestWithParam<EdgeCase> {};

TEST_P(DragEdge, StopsAtTheLimits) {
    const EdgeCase& c = GetParam();
    EXPECT_EQ(dragEdge(c.frame, c.edge, c.to, kScreen, c.picture), c.dragged) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Edges, DragEdge,
                         testing::Values(EdgeCase{"right edge to a snapped 237",
                                                  {10, 10, 100, 100},
                                                  FrameGrip::Right,
                                                  snapToStep(237, 10),
                                                  std::nullopt,
                                                  {10, 10, 230, 100}},
                                         EdgeCase{"top edge",
                                                  {10, 10, 100, 100},
                                                  FrameGrip::Top,
                                                  40,
                                                  std::nullopt,
                                                  {10, 40, 100, 100}},
                                         EdgeCase{"left edge past the right one",
                                                  {10, 10, 100, 100},
                                                  FrameGrip::Left,
                                                  300,
                                                  std::nullopt,
                                                  {99, 10, 100, 100}},
                                         EdgeCase{"bottom edge above the top one",
                                                  {10, 50, 100, 100},
                                                  FrameGrip::Bottom,
                                                  0,
                                                  std::nullopt,
                                                  {10, 50, 100, 51}},
                                         EdgeCase{"right edge out of the window",
                                                  {10, 10, 100, 100},
                                                  FrameGrip::Right,
                                                  5000,
                                                  std::nullopt,
                                                  {10, 10, 639, 100}},
                                         EdgeCase{"left edge out of the window",
                                                  {10, 10, 100, 100},
                                                  FrameGrip::Left,
                                                  -50,
                                                  std::nullopt,
                                                  {0, 10, 100, 100}},
                                         EdgeCase{"right edge held to the picture's width",
                                                  {100, 0, 199, 99},
                                                  FrameGrip::Right,
                                                  400,
                                                  LayoutSize{150, 120},
                                                  {100, 0, 249, 99}},
                                         EdgeCase{"left edge held to the picture's width",
                                                  {100, 0, 199, 99},
                                                  FrameGrip::Left,
                                                  0,
                                                  LayoutSize{150, 120},
                                                  {50, 0, 199, 99}},
                                         EdgeCase{"bottom edge held to the picture's height",
                                                  {0, 0, 99, 99},
                                                  FrameGrip::Bottom,
                                                  400,
                                                  LayoutSize{150, 120},
                                                  {0, 0, 99, 119}},
                                         EdgeCase{"a one-pixel picture still leaves two pixels",
                                                  {100, 100, 101, 101},
                                                  FrameGrip::Right,
                                                  300,
                                                  LayoutSize{1, 1},
                                                  {100, 100, 101, 101}}));

struct InsideCase {
    LayoutFrame frame;
    LayoutSize window;
    LayoutFrame kept;
};

class KeepInside : public testing::TestWithParam<InsideCase> {};

TEST_P(KeepInside, MovesTheFrameKeepingItsSize) {
    const InsideCase& c = GetParam();
    EXPECT_EQ(keepInside(c.frame, c.window), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Frames, KeepInside,
                         testing::Values(
                             // past the right border of a 400-pixel window
                             InsideCase{{350, 10, 449, 60}, {400, 110}, {300, 10, 399, 60}},
                             InsideCase{{-20, -5, 79, 44}, {400, 110}, {0, 0, 99, 49}},
                             InsideCase{{10, 100, 59, 149}, {400, 110}, {10, 60, 59, 109}},
                             InsideCase{{10, 10, 59, 59}, {400, 110}, {10, 10, 59, 59}},
                             // wider than the window: it begins at 0 and keeps its width
                             InsideCase{{100, 0, 599, 10}, {400, 110}, {0, 0, 499, 10}}));

TEST(ClampView, KeepsTheShownPartInsideThePicture) {
    const LayoutFrame frame{0, 0, 99, 99};
    const LayoutSize picture{300, 200};
    EXPECT_EQ(clampView({250, 150}, frame, picture), (LayoutPoint{200, 100}));
    EXPECT_EQ(clampView({200, 100}, frame, picture), (LayoutPoint{200, 100}));
    EXPECT_EQ(clampView({-5, -1}, frame, picture), (LayoutPoint{0, 0}));
    EXPECT_EQ(clampView({30, 30}, {0, 0, 399, 299}, picture), (LayoutPoint{0, 0}));
}

struct OpeningCase {
    const char* what;
    LayoutFrame given;
    std::optional<LayoutSize> picture;
    LayoutFrame opened;
};

class OpeningFrame : public testing::TestWithParam<OpeningCase> {};

TEST_P(OpeningFrame, GivesAFrameWithoutSizeOne) {
    const OpeningCase& c = GetParam();
    EXPECT_EQ(openingFrame(c.given, c.picture, {400, 110}), c.opened) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, OpeningFrame,
    testing::Values(
        OpeningCase{"kept", {5, 6, 50, 60}, std::nullopt, {5, 6, 50, 60}},
        OpeningCase{"text: to the window's edge", {20, 30, 0, 0}, std::nullopt, {20, 30, 399, 109}},
        OpeningCase{"text: past the window", {500, 200, 0, 0}, std::nullopt, {500, 200, 501, 201}},
        OpeningCase{"picture: its size", {20, 30, 20, 0}, LayoutSize{64, 48}, {20, 30, 83, 77}},
        OpeningCase{"huge numbers",
                    {-2000000000, 0, 2000000000, 10},
                    std::nullopt,
                    {-kCoordinateLimit, 0, kCoordinateLimit, 10}}));

TEST(PreviewSize, KeepsWindowsBetweenTheLimits) {
    EXPECT_EQ(previewSize({0, 0}), (LayoutSize{kMinPreviewSide, kMinPreviewSide}));
    EXPECT_EQ(previewSize({100000, 100000}), (LayoutSize{kMaxPreviewSide, kMaxPreviewSide}));
    EXPECT_EQ(previewSize({-5, 480}), (LayoutSize{kMinPreviewSide, 480}));
    EXPECT_EQ(previewSize({520, 110}), (LayoutSize{520, 110}));
}

TEST(PicturePixelAt, FindsThePixelCutOutOrStretched) {
    const LayoutFrame frame{10, 10, 109, 59}; // 100 x 50
    const LayoutSize picture{200, 100};
    EXPECT_EQ(picturePixelAt(frame, {30, 40}, picture, false, {10, 10}), (LayoutPoint{30, 40}));
    EXPECT_EQ(picturePixelAt(frame, {30, 40}, picture, false, {109, 59}), (LayoutPoint{129, 89}));
    EXPECT_EQ(picturePixelAt(frame, {30, 40}, picture, true, {109, 59}), (LayoutPoint{198, 98}));
    EXPECT_EQ(picturePixelAt(frame, {}, picture, false, {9, 10}), std::nullopt);
    // a frame reaching past the picture shows none of it there
    EXPECT_EQ(picturePixelAt(frame, {150, 0}, picture, false, {70, 20}), std::nullopt);
}

} // namespace
} // namespace pagora
