#include "images/canvas_transfer.h"
#include "images/true_canvas.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace pagora {
namespace {

// Pictures in tests are rows of letters, one colour each.
const std::map<char, std::uint32_t> kColors = {{'A', 0xFF0000},
                                               {'B', 0x0000FF},
                                               {'C', 0xFFFFFF},
                                               {'D', 0x808080},
                                               {'K', 0xFF00FF},
                                               {'G', 0x404040},
                                               {'0', 0x000000},
                                               // A, B, C, D, K half-blended over G
                                               {'a', 0x9F2020},
                                               {'b', 0x20209F},
                                               {'c', 0x9F9F9F},
                                               {'d', 0x606060},
                                               {'k', 0x9F209F}};

TTC canvasOf(const std::vector<std::string>& rows) {
    TTC canvas(static_cast<int>(rows.empty() ? 0 : rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.SetPixel(
                x, y, kColors.at(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
    return canvas;
}

std::vector<std::string> rowsOf(const TTC& canvas) {
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            char letter = '?';
            for (const auto& [name, color] : kColors)
                if (color == canvas.Pixel(x, y))
                    letter = name;
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

const std::vector<std::string> kSprite = {"ABK", "KCD"};
const std::vector<std::string> kScreen = {"GGGG", "GGGG", "GGGG"};
constexpr std::uint32_t kKey = 0xFF00FF;

TEST(TrueCanvas, RowTablePutsTheTopRowLastInMemory) {
    TTC canvas(3, 2);
    EXPECT_EQ(std::vector<std::size_t>(canvas.RowTable().begin(), canvas.RowTable().end()),
              (std::vector<std::size_t>{12, 0}));
    canvas.SetPixel(2, 0, 0x123456);
    EXPECT_EQ(canvas.Bits()[5], 0x123456u);
    EXPECT_EQ(canvas.Pixel(2, 0), 0x123456u);
    for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}})
        EXPECT_EQ(canvas.Pixel(x, y), 0u) << x << "," << y;

    canvas.SetSize(3, 2); // the same size keeps the pixels
    EXPECT_EQ(canvas.Pixel(2, 0), 0x123456u);
    canvas.SetSize(2, 2);
    EXPECT_EQ(canvas.Pixel(1, 0), 0u);
    canvas.SetSize(-5, 3);
    EXPECT_EQ(canvas.Width(), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), 0u);
}

TEST(TrueCanvas, HalfBlendDropsTheLowBits) {
    TTC white = canvasOf({"C"}), black = canvasOf({"0"});
    TransferHalfBlend(white, black, {1, 1, 0, 0, 0, 0});
    EXPECT_EQ(black.Pixel(0, 0), 0x7F7F7Fu);
    TTC one(1, 1), other(1, 1);
    one.SetPixel(0, 0, 0x010101);
    other.SetPixel(0, 0, 0x010101);
    TransferHalfBlend(one, other, {1, 1, 0, 0, 0, 0});
    EXPECT_EQ(other.Pixel(0, 0), 0u);
}

// ---------------------------------------------------------------------------
// Unscaled transfers: each routine and the clipping.

enum class Routine { Copy, KeyCopy, HalfBlend, HalfBlendKey };

struct UnscaledCase {
    const char* name;
    Routine routine;
    TTransferRect rect;
    std::vector<std::string> expected;
};

class UnscaledTransfer : public testing::TestWithParam<UnscaledCase> {};

TEST_P(UnscaledTransfer, DrawsTheExpectedPixels) {
    const UnscaledCase& c = GetParam();
    const TTC sprite = canvasOf(kSprite);
    TTC screen = canvasOf(kScreen);
    switch (c.routine) {
    case Routine::Copy:
        TransferCopy(sprite, screen, c.rect);
        break;
    case Routine::KeyCopy:
        TransferKeyCopy(sprite, screen, c.rect, kKey);
        break;
    case Routine::HalfBlend:
        TransferHalfBlend(sprite, screen, c.rect);
        break;
    case Routine::HalfBlendKey:
        TransferHalfBlendKey(sprite, screen, c.rect, kKey);
        break;
    }
    EXPECT_EQ(rowsOf(screen), c.expected);
}

constexpr TTransferRect at(int x, int y, int width = 3, int height = 2, int sx = 0, int sy = 0) {
    return {width, height, sx, sy, x, y, 0, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Routines, UnscaledTransfer,
    testing::Values(
        UnscaledCase{"Copy", Routine::Copy, at(1, 1), {"GGGG", "GABK", "GKCD"}},
        UnscaledCase{"KeyCopy", Routine::KeyCopy, at(1, 1), {"GGGG", "GABG", "GGCD"}},
        UnscaledCase{"HalfBlend", Routine::HalfBlend, at(1, 1), {"GGGG", "Gabk", "Gkcd"}},
        UnscaledCase{"HalfBlendKey", Routine::HalfBlendKey, at(1, 1), {"GGGG", "GabG", "GGcd"}},
        UnscaledCase{"LeftOfTheScreen", Routine::Copy, at(-1, 0), {"BKGG", "CDGG", "GGGG"}},
        UnscaledCase{"AboveTheScreen", Routine::KeyCopy, at(0, -1), {"GCDG", "GGGG", "GGGG"}},
        UnscaledCase{"CutAtTheRightAndBottom", Routine::Copy, at(2, 2), {"GGGG", "GGGG", "GGAB"}},
        UnscaledCase{"JustLeftOfTheScreen", Routine::Copy, at(-3, 0), kScreen},
        UnscaledCase{"JustAboveTheScreen", Routine::Copy, at(0, -2), kScreen},
        UnscaledCase{"RightOfTheScreen", Routine::Copy, at(4, 0), kScreen},
        UnscaledCase{"BelowTheScreen", Routine::Copy, at(0, 3), kScreen},
        UnscaledCase{
            "PartOfTheSource", Routine::Copy, at(0, 0, 2, 1, 1, 1), {"CDGG", "GGGG", "GGGG"}},
        UnscaledCase{"RectangleLargerThanTheSource",
                     Routine::Copy,
                     at(0, 0, 9, 9),
                     {"ABKG", "KCDG", "GGGG"}},
        UnscaledCase{"SourceStartLeftOfTheSource",
                     Routine::Copy,
                     at(0, 0, 3, 2, -1, 0),
                     {"GABG", "GKCG", "GGGG"}},
        UnscaledCase{"EmptyRectangle", Routine::Copy, at(0, 0, 0, 2), kScreen}),
    [](const testing::TestParamInfo<UnscaledCase>& test) { return test.param.name; });

// ---------------------------------------------------------------------------
// Stretched transfers: 16.16 steps of factor x 65535.

// A one-row canvas whose pixel values are their column numbers.
TTC numbered(int width) {
    TTC canvas(width, 1);
    for (int x = 0; x < width; ++x)
        canvas.SetPixel(x, 0, static_cast<std::uint32_t>(x));
    return canvas;
}

std::vector<std::uint32_t> row(const TTC& canvas, int y = 0) {
    return {canvas.Row(y), canvas.Row(y) + canvas.Width()};
}

constexpr std::uint32_t kUntouched = 0xEEEEEE;

struct StretchCase {
    const char* name;
    int sourceWidth;
    TTransferRect rect;
    int destWidth;
    std::vector<std::uint32_t> expected;
};

class StretchedColumns : public testing::TestWithParam<StretchCase> {};

TEST_P(StretchedColumns, TakeTheUpperBitsOfTheAccumulator) {
    const StretchCase& c = GetParam();
    TTC dest(c.destWidth, 1);
    dest.Fill(kUntouched);
    TransferStretchCopy(numbered(c.sourceWidth), dest, c.rect);
    EXPECT_EQ(row(dest), c.expected);
}

constexpr std::uint32_t U = kUntouched;

INSTANTIATE_TEST_SUITE_P(
    Steps, StretchedColumns,
    testing::Values(
        // Step 32767, not 32768: the third column still takes source column 0.
        StretchCase{"DoubleWidth", 2, {2, 1, 0, 0, 0, 0, 4, 1}, 4, {0, 0, 0, 1}},
        // Step 131070: the second column takes source column 1, not 2.
        StretchCase{"HalfWidth", 4, {4, 1, 0, 0, 0, 0, 2, 1}, 2, {0, 1}},
        StretchCase{"CutOffOnTheLeft", 4, {4, 1, 0, 0, -2, 0, 8, 1}, 8, {1, 1, 1, 2, 2, 3, U, U}},
        StretchCase{"CutOffOnTheRight", 4, {4, 1, 0, 0, 0, 0, 8, 1}, 5, {0, 0, 0, 1, 1}},
        StretchCase{"FromASourceOffset", 4, {2, 1, 2, 0, 1, 0, 4, 1}, 6, {U, 2, 2, 2, 3, U}},
        StretchCase{"WhollyRightOfTheScreen", 4, {4, 1, 0, 0, 6, 0, 8, 1}, 6, {U, U, U, U, U, U}},
        StretchCase{"JustLeftOfTheScreen", 4, {4, 1, 0, 0, -8, 0, 8, 1}, 3, {U, U, U}},
        StretchCase{"NoDestinationWidth", 4, {4, 1, 0, 0, 0, 0, 0, 1}, 3, {U, U, U}},
        StretchCase{"SourcePastTheSourceCanvas", 4, {4, 1, 1, 0, 0, 0, 3, 1}, 3, {U, U, U}}),
    [](const testing::TestParamInfo<StretchCase>& test) { return test.param.name; });

TEST(StretchedTransfer, AHundredColumnsIntoTwoHundredEndWithTheLast) {
    TTC dest(200, 1);
    TransferStretchCopy(numbered(100), dest, {100, 1, 0, 0, 0, 0, 200, 1});
    const std::vector<std::uint32_t> columns = row(dest);
    EXPECT_EQ(columns[199], 99u);
    EXPECT_EQ(columns[2], 0u);
    EXPECT_EQ(columns[3], 1u);
    std::vector<int> repeats(100, 0);
    for (const std::uint32_t column : columns)
        ++repeats[column];
    EXPECT_EQ(std::count(repeats.begin(), repeats.end(), 2), 98);
}

TEST(StretchedTransfer, RowsStepLikeColumnsAndKeyAndBlendApply) {
    const TTC sprite = canvasOf({"AK", "CD"});
    const std::vector<std::string> blank = {"GGGG", "GGGG", "GGGG", "GGGG"};
    // Two rows cut off at the top move the source row by trunc(2 x 0.5) = 1.
    TTC screen = canvasOf(blank);
    TransferStretchCopy(sprite, screen, {2, 2, 0, 0, 0, -2, 4, 4});
    EXPECT_EQ(rowsOf(screen), (std::vector<std::string>{"CCCD", "CCCD", "GGGG", "GGGG"}));

    screen = canvasOf(blank);
    TransferStretchKeyCopy(sprite, screen, {2, 2, 0, 0, 0, 0, 4, 4}, kKey);
    EXPECT_EQ(rowsOf(screen), (std::vector<std::string>{"AAAG", "AAAG", "AAAG", "CCCD"}));
    screen = canvasOf(blank);
    TransferStretchHalfBlend(sprite, screen, {2, 2, 0, 0, 0, 0, 4, 4});
    EXPECT_EQ(rowsOf(screen), (std::vector<std::string>{"aaak", "aaak", "aaak", "cccd"}));
    screen = canvasOf(blank);
    TransferStretchHalfBlendKey(sprite, screen, {2, 2, 0, 0, 0, 0, 4, 4}, kKey);
    EXPECT_EQ(rowsOf(screen), (std::vector<std::string>{"aaaG", "aaaG", "aaaG", "cccd"}));
}

// ---------------------------------------------------------------------------
// The drawing class: routine choice, placement, colours.

struct FlagCase {
    const char* name;
    bool half, useKey, autoKey;
    std::uint32_t transparentColor; // 0x00BBGGRR
    std::vector<std::string> expected;
};

class SpriteRoutine : public testing::TestWithParam<FlagCase> {};

TEST_P(SpriteRoutine, FollowsTheThreeFlags) {
    const FlagCase& c = GetParam();
    TTrueCanvasCtrl control;
    control.SetScreenSize(3, 2);
    control.ScreenContext() = canvasOf({"GGG", "GGG"});
    control.SpriteContext() = canvasOf({"ABC", "KBD"});
    control.HalfTransparent = c.half;
    control.UseTransparentColor = c.useKey;
    control.AutoTransparentColor = c.autoKey;
    control.TransparentColor = c.transparentColor;
    control.DrawSprite(0, 0);
    EXPECT_EQ(rowsOf(control.ScreenContext()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, SpriteRoutine,
    testing::Values(
        FlagCase{"Copy", false, false, false, 0xFFFFFF, {"ABC", "KBD"}},
        FlagCase{"KeyWhiteByDefault", false, true, false, 0xFFFFFF, {"ABG", "KBD"}},
        // 0x00FF0000 as 0x00BBGGRR is blue.
        FlagCase{"KeyHasRedAndBlueExchanged", false, true, false, 0xFF0000, {"AGC", "KGD"}},
        FlagCase{"HalfBlend", true, false, false, 0xFFFFFF, {"abc", "kbd"}},
        FlagCase{"HalfBlendWithKey", true, true, false, 0xFF0000, {"aGc", "kGd"}},
        FlagCase{"AutomaticKeyIsTheBottomLeftPixel", false, true, true, 0xFFFFFF, {"ABC", "GBD"}},
        FlagCase{"AutomaticKeyNeedsTheKeyFlag", false, false, true, 0xFFFFFF, {"ABC", "KBD"}}),
    [](const testing::TestParamInfo<FlagCase>& test) { return test.param.name; });

TEST(TrueCanvasCtrl, StartsWithItsDefaults) {
    TTrueCanvasCtrl control;
    EXPECT_EQ(control.Width(), 640);
    EXPECT_EQ(control.Height(), 480);
    EXPECT_EQ(control.ScreenContext().Width(), 640);
    EXPECT_EQ(control.SpriteContext().Height(), 480);
    EXPECT_FALSE(control.HalfTransparent);
    EXPECT_FALSE(control.UseTransparentColor);
    EXPECT_FALSE(control.AutoTransparentColor);
    EXPECT_EQ(control.TransparentColor, 0xFFFFFFu);
    control.SetScreenSize(320, 200);
    EXPECT_EQ(control.Width(), 320);
    EXPECT_EQ(control.ScreenContext().Height(), 200);
}

TEST(TrueCanvasCtrl, PlacesTheSpriteAndClipsIt) {
    TTrueCanvasCtrl control;
    control.SetScreenSize(15, 1);
    control.SetSpriteSize(20, 1);
    control.SpriteContext() = numbered(20);
    control.ScreenContext().Fill(kUntouched);
    control.DrawSprite(-10, 0);
    std::vector<std::uint32_t> expected = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    expected.resize(15, kUntouched);
    EXPECT_EQ(row(control.ScreenContext()), expected);

    control.ScreenContext().Fill(kUntouched);
    control.DrawSprite(15, 0);
    EXPECT_EQ(row(control.ScreenContext()), std::vector<std::uint32_t>(15, kUntouched));
}

TEST(TrueCanvasCtrl, StretchesIntoTheFrameGivenAsX1Y1Y2X2) {
    TTrueCanvasCtrl control;
    control.SetScreenSize(5, 4);
    control.ScreenContext() = canvasOf({"GGGGG", "GGGGG", "GGGGG", "GGGGG"});
    control.SpriteContext() = canvasOf({"AB"});
    control.DrawSpriteStretched(1, 1, 2, 4);
    EXPECT_EQ(rowsOf(control.ScreenContext()),
              (std::vector<std::string>{"GGGGG", "GAAAB", "GAAAB", "GGGGG"}));
    control.DrawSpriteStretched(3, 0, 0, 2); // x2 left of x1: nothing
    EXPECT_EQ(rowsOf(control.ScreenContext())[0], "GGGGG");
}

TEST(TrueCanvasCtrl, GivesSpritePixelsAsBgrAndShowsTheScreen) {
    TTrueCanvasCtrl control;
    control.SetScreenSize(2, 1);
    control.SpriteContext().SetPixel(3, 4, 0x112233);
    EXPECT_EQ(control.SpritePixel(3, 4), 0x332211u);
    EXPECT_EQ(control.SpritePixel(-1, 0), 0u);
    control.ScreenContext().SetPixel(1, 0, 0xABCDEF);
    Picture shown;
    control.Show([&](const TTC& screen) { shown = screen.ToPicture(); });
    EXPECT_EQ(shown.Width, 2);
    EXPECT_EQ(shown.Pixels, (std::vector<std::uint32_t>{0, 0xABCDEF}));
}

TEST(TrueCanvasCtrl, CopiesThePartOfAPictureAtAnOffset) {
    Picture picture;
    picture.Width = 3;
    picture.Height = 2;
    picture.Pixels = {1, 2, 3, 4, 5, 6};
    TTC canvas(2, 2);
    canvas.Fill(kUntouched);
    CopyPictureToCanvas(picture, 1, 1, canvas);
    EXPECT_EQ(row(canvas, 0), (std::vector<std::uint32_t>{5, 6}));
    EXPECT_EQ(row(canvas, 1), (std::vector<std::uint32_t>{kUntouched, kUntouched}));
    TTC target(3, 3);
    canvas.Draw(target, 2, -1);
    EXPECT_EQ(row(target, 0), (std::vector<std::uint32_t>{0, 0, kUntouched}));
}

} // namespace
} // namespace pagora
