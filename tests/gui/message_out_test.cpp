#include "gui/message_out.h"
#include "platform/encoding.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <gtest/gtest.h>
#include <string>

namespace pagora {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
// Colours of the comic are 0x00BBGGRR, pixels 0x00RRGGBB.
constexpr std::uint32_t kComicRed = 0x0000FF;
constexpr std::uint32_t kPixelRed = 0xFF0000;
const std::string kDefaultFont = "ＭＳ Ｐゴシック";

struct Frame {
    int left = 10;
    int top = 10;
    int right = 300;
    int bottom = 200;
};

struct Sample {
    std::string utf8;
    Frame frame{};
    int size = 24;
    std::uint32_t color = kBlack;
    bool shadow = false;
    std::uint32_t shadowColor = kComicRed;
};

// Runs f with the sample as a message of CP932 texts.
template <typename F> auto withMessage(const Sample& sample, F f) {
    const std::string text = toCp932(sample.utf8);
    const std::string font = toCp932(kDefaultFont);
    MessageText message;
    message.text = text;
    message.left = sample.frame.left;
    message.top = sample.frame.top;
    message.right = sample.frame.right;
    message.bottom = sample.frame.bottom;
    message.fontName = font;
    message.style.size = sample.size;
    message.color = sample.color;
    return f(message);
}

TTC drawn(const Sample& sample, const TTC& background) {
    TTC picture = background;
    TMessageOut out;
    withMessage(sample, [&](const MessageText& message) {
        out.draw(picture, message, sample.shadow, sample.shadowColor);
    });
    return picture;
}

TTC filled(std::uint32_t color, int width = 320, int height = 240) {
    TTC picture(width, height);
    picture.Fill(color);
    return picture;
}

struct Box {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -1;
    int bottom = -1;
    int pixels = 0;
};

// Where the picture has exactly this colour.
Box boxOf(const TTC& picture, std::uint32_t color) {
    Box box;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) == color) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
                ++box.pixels;
            }
    return box;
}

// Where the two pictures differ.
Box changes(const TTC& before, const TTC& after) {
    TTC difference(before.Width(), before.Height());
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x)
            difference.SetPixel(x, y, before.Pixel(x, y) == after.Pixel(x, y) ? 0 : 1);
    return boxOf(difference, 1);
}

class MessageOutShadow : public testing::TestWithParam<int> {};

// The shadow pass equals the text drawn alone at the frame moved by the
// offset: wherever the text itself does not cover the picture, the two agree.
TEST_P(MessageOutShadow, LiesRightOfAndBelowTheTextByItsOffset) {
    const int size = GetParam();
    const int offset = shadowOffset(size);
    const TTC white = filled(kWhite);
    const Sample shadowOnly{
        .utf8 = "■あ#g", .size = size, .color = kWhite, .shadow = true, .shadowColor = kBlack};
    const Sample moved{.utf8 = "■あ#g",
                       .frame = {10 + offset, 10 + offset, 300 + offset, 200 + offset},
                       .size = size};
    const Sample text{.utf8 = "■あ#g", .size = size};
    const TTC withShadow = drawn(shadowOnly, white);
    const TTC expected = drawn(moved, white);
    const TTC textOnly = drawn(text, white);
    int compared = 0;
    for (int y = 0; y < white.Height(); ++y)
        for (int x = 0; x < white.Width(); ++x)
            if (textOnly.Pixel(x, y) == kWhite && expected.Pixel(x, y) != kWhite) {
                ASSERT_EQ(withShadow.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
                ++compared;
            }
    EXPECT_GT(compared, 2 * offset * size);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MessageOutShadow, testing::Values(12, 24, 48, 96));

TEST(MessageOut, DrawsTheShadowInItsColourAndTheTextOverIt) {
    const TTC picture = drawn({.utf8 = "■", .size = 48, .shadow = true}, filled(kWhite));
    const Box text = boxOf(picture, kBlack);
    const Box shadow = boxOf(picture, kPixelRed);
    ASSERT_GT(text.pixels, 100);
    ASSERT_GT(shadow.pixels, 0);
    EXPECT_EQ(shadow.right, text.right + 3);
    EXPECT_EQ(shadow.bottom, text.bottom + 3);
    // Where both cover the picture, the text is on top.
    EXPECT_EQ(picture.Pixel(text.right, text.bottom), kBlack);
}

TEST(MessageOut, WithoutShadowOnlyTheTextIsDrawn) {
    const TTC picture = drawn({.utf8 = "■", .size = 48}, filled(kWhite));
    EXPECT_GT(boxOf(picture, kBlack).pixels, 100);
    EXPECT_EQ(boxOf(picture, kPixelRed).pixels, 0);
}

TEST(MessageOut, ColourTagsChangeTheColourOfWhatFollows) {
    // Blue and green as 0x00BBGGRR colour texts.
    const TTC picture = drawn({.utf8 = "■<clBlue>■<0x0000ff00>■"}, filled(kWhite));
    const Box black = boxOf(picture, kBlack);
    const Box blue = boxOf(picture, 0x0000FF);
    const Box green = boxOf(picture, 0x00FF00);
    ASSERT_GT(black.pixels, 100);
    ASSERT_GT(blue.pixels, 100);
    ASSERT_GT(green.pixels, 100);
    EXPECT_LT(black.right, blue.left);
    EXPECT_LT(blue.right, green.left);
}

TEST(MessageOut, DrawsNothingOfTheLineThatWouldEndBelowTheFrame) {
    MessageFonts fonts;
    const int lineHeight = fonts.extent(toCp932(kDefaultFont), MessageStyle{24}).height;
    // The frame holds one line and a half; the shadow is drawn too.
    const Frame frame{10, 10, 300, 10 + lineHeight * 3 / 2};
    const TTC white = filled(kWhite);
    const Box changed =
        changes(white, drawn({.utf8 = "■■#■■#■■", .frame = frame, .shadow = true}, white));
    ASSERT_GT(changed.pixels, 0);
    EXPECT_LT(changed.bottom, frame.top + lineHeight + shadowOffset(24));
}

TEST(MessageOut, DrawsOnlyInsideTheFrameAndThePicture) {
    TTC pattern(320, 240);
    for (int y = 0; y < pattern.Height(); ++y)
        for (int x = 0; x < pattern.Width(); ++x)
            pattern.SetPixel(x, y,
                             static_cast<std::uint32_t>(x * 0x000301 + y * 0x030100) & kWhite);
    // A frame narrower than one character, with a shadow reaching past it.
    const Frame narrow{40, 30, 50, 230};
    const TTC picture = drawn({.utf8 = "■■", .frame = narrow, .size = 48, .shadow = true}, pattern);
    const Box changed = changes(pattern, picture);
    ASSERT_GT(changed.pixels, 0);
    EXPECT_GE(changed.left, narrow.left);
    EXPECT_LE(changed.right, narrow.right);
    EXPECT_GE(changed.top, narrow.top);
    EXPECT_LE(changed.bottom, narrow.bottom);
    // Pixels keep an empty high byte, as the canvas's transfers expect.
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            ASSERT_EQ(picture.Pixel(x, y) >> 24, 0u) << x << "," << y;
    // A frame reaching past the picture on every side draws the part inside it.
    const Frame pastTheEdges{-40, -50, 400, 300};
    const Box inside =
        changes(pattern, drawn({.utf8 = "■■■■■■■■", .frame = pastTheEdges, .size = 48}, pattern));
    EXPECT_EQ(inside.left, 0);
    EXPECT_EQ(inside.right, pattern.Width() - 1);
}

TEST(MessageOut, AFontThatIsNotInstalledDrawsWithAJapaneseFont) {
    MessageFonts fonts;
    const QFontInfo info(fonts.font(toCp932(kDefaultFont), MessageStyle{16}));
    EXPECT_TRUE(QFontDatabase::writingSystems(info.family()).contains(QFontDatabase::Japanese))
        << info.family().toStdString();
    // Lines as high as in the play window: one em (16 pixels) for 12 points.
    const FontExtent extent = fonts.extent(toCp932(kDefaultFont), MessageStyle{12});
    EXPECT_EQ(extent.height, 16);
    EXPECT_EQ(extent.ascent, 14);
    // Two kana drawn in a font without them would be two equal boxes.
    const TTC white = filled(kWhite);
    const TTC a = drawn({.utf8 = "あ", .size = 16}, white);
    const TTC i = drawn({.utf8 = "い", .size = 16}, white);
    EXPECT_GT(changes(white, a).pixels, 20);
    EXPECT_GT(changes(a, i).pixels, 20);
}

TEST(MessageOut, AnInstalledFontKeepsItsOwnLineHeight) {
    MessageFonts fonts;
    const QFont standIn = fonts.font(toCp932(kDefaultFont), MessageStyle{12});
    const std::string installed = toCp932(QFontInfo(standIn).family().toStdString());
    const QFontMetrics metrics(fonts.font(installed, MessageStyle{12}));
    const FontExtent extent = fonts.extent(installed, MessageStyle{12});
    EXPECT_EQ(extent.height, metrics.height());
    EXPECT_EQ(extent.ascent, metrics.ascent());
}

} // namespace
} // namespace pagora
