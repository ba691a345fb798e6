#include "images/message_layout.h"
#include "platform/encoding.h"
#include "support/fixed_font_metrics.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pagora {
namespace {

struct Frame {
    int left = 0;
    int top = 0;
    int right = 200;
    int bottom = 100;
};

// Each piece as "x,top,baseline w<width> s<size>[B][I] <colour> <text>", the
// text in UTF-8.
std::vector<std::string> describe(const std::vector<MessagePiece>& pieces) {
    std::vector<std::string> lines;
    for (const MessagePiece& piece : pieces) {
        char head[80];
        std::snprintf(head, sizeof head, "%d,%d,%d w%d s%d%s%s %06x ", piece.x, piece.top,
                      piece.baseline, piece.width, piece.style.size, piece.style.bold ? "B" : "",
                      piece.style.italic ? "I" : "", piece.color);
        lines.push_back(head + toUtf8(piece.text));
    }
    return lines;
}

std::vector<MessagePiece> layOut(std::string_view utf8, Frame frame = {}, int size = 12) {
    const std::string text = toCp932(utf8);
    MessageText message;
    message.text = text;
    message.left = frame.left;
    message.top = frame.top;
    message.right = frame.right;
    message.bottom = frame.bottom;
    message.fontName = "font";
    message.style.size = size;
    test::FixedFontMetrics metrics;
    return layoutMessage(message, metrics);
}

using Lines = std::vector<std::string>;

struct LayoutCase {
    const char* name;
    const char* text;
    Lines pieces;
};

class MessageLayoutTags : public testing::TestWithParam<LayoutCase> {};

TEST_P(MessageLayoutTags, LaysOutThePieces) {
    EXPECT_EQ(describe(layOut(GetParam().text)), GetParam().pieces) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageLayoutTags,
    testing::Values(
        // The last character, and a text of one character, are drawn.
        LayoutCase{"OneCharacter", "a", {"0,0,12 w6 s12 000000 a"}},
        LayoutCase{"OneDoubleByteCharacter", "あ", {"0,0,12 w12 s12 000000 あ"}},
        LayoutCase{"LastCharacterAfterTag",
                   "ab<B>c",
                   {"0,0,12 w12 s12 000000 ab", "12,0,12 w6 s12B 000000 c"}},
        LayoutCase{"BoldItalicThenNormal",
                   "<B><I>a<N>b",
                   {"0,0,12 w6 s12BI 000000 a", "6,0,12 w6 s12 000000 b"}},
        LayoutCase{"Larger", "<+4>a", {"0,0,16 w8 s16 000000 a"}},
        LayoutCase{"LargerByTwoDigits", "<+10>a", {"0,0,22 w11 s22 000000 a"}},
        LayoutCase{"Smaller", "<-2>a", {"0,0,10 w5 s10 000000 a"}},
        LayoutCase{"NoSmallerThanOnePoint", "<-99>a", {"0,0,1 w0 s1 000000 a"}},
        LayoutCase{"ThreeDigitsAreNoSizeTag", "<+123>a", {"0,0,12 w6 s12 000000 a"}},
        LayoutCase{"SignWithoutDigits", "<+>a<-x>b", {"0,0,12 w12 s12 000000 ab"}},
        LayoutCase{"ColourName", "a<clRed>b", {"0,0,12 w6 s12 000000 a", "6,0,12 w6 s12 0000ff b"}},
        LayoutCase{"ColourNumber", "<0x00ff8000>a", {"0,0,12 w6 s12 ff8000 a"}},
        LayoutCase{"ColourNameThatDoesNotParse",
                   "<clRed><clNoSuch>a<0xZZ>b",
                   {"0,0,12 w12 s12 0000ff ab"}},
        LayoutCase{"ColourWithoutItsPrefixIsNoColour", "<Red><CLRED>a", {"0,0,12 w6 s12 000000 a"}},
        LayoutCase{"WaitsAndSpeedsChangeNothing",
                   "a<KEY><W10>b<FAST><NORMAL><SLOW>c",
                   {"0,0,12 w18 s12 000000 abc"}},
        LayoutCase{"UnknownAndEmptyTags", "<what><>a", {"0,0,12 w6 s12 000000 a"}},
        LayoutCase{"UnclosedTagIsText", "a<b", {"0,0,12 w18 s12 000000 a<b"}},
        LayoutCase{"TagDoesNotCrossALineEnd",
                   "a<b#c>d",
                   {"0,0,12 w18 s12 000000 a<b", "0,15,27 w18 s12 000000 c>d"}},
        LayoutCase{"TagRunsToTheFirstClose", "<a<B>c>", {"0,0,12 w12 s12 000000 c>"}},
        LayoutCase{
            "LineEnds",
            "ab#c##d",
            {"0,0,12 w12 s12 000000 ab", "0,15,27 w6 s12 000000 c", "0,45,57 w6 s12 000000 d"}},
        // An empty line is as high as the font at its end.
        LayoutCase{"EmptyLineTakesItsFont",
                   "a#<+8>#b",
                   {"0,0,12 w6 s12 000000 a", "0,40,60 w10 s20 000000 b"}},
        LayoutCase{"TrailingLineEndAddsNothing", "a#", {"0,0,12 w6 s12 000000 a"}},
        // Pieces stand on the line's bottom, the line as high as its tallest.
        LayoutCase{"PiecesStandOnTheBottom",
                   "a<+8>b<-8>c#d",
                   {"0,10,22 w6 s12 000000 a", "6,0,20 w10 s20 000000 b",
                    "16,10,22 w6 s12 000000 c", "0,25,37 w6 s12 000000 d"}},
        LayoutCase{"Empty", "", {}}, LayoutCase{"OnlyTags", "<B><KEY>", {}}),
    [](const testing::TestParamInfo<LayoutCase>& test) { return test.param.name; });

TEST(MessageLayout, AnIncompleteDoubleByteCharacterKeepsItsByte) {
    MessageText message;
    const std::string text = "a\x83";
    message.text = text;
    message.right = 100;
    message.bottom = 100;
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layoutMessage(message, metrics);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].text, text);
}

TEST(MessageLayout, WrapsBeforeTheTextWouldReachTheRightEdge) {
    // Characters of 6 pixels from x = 10: the third ends at 28.
    EXPECT_EQ(describe(layOut("abcdefg", {10, 0, 29, 100})),
              (Lines{"10,0,12 w18 s12 000000 abc", "10,15,27 w18 s12 000000 def",
                     "10,30,42 w6 s12 000000 g"}));
    // Ending exactly at the edge counts as reaching it.
    EXPECT_EQ(describe(layOut("abcd", {10, 0, 28, 100})),
              (Lines{"10,0,12 w12 s12 000000 ab", "10,15,27 w12 s12 000000 cd"}));
}

TEST(MessageLayout, WrapsWholeDoubleByteCharacters) {
    // Second bytes that are a backslash, "@" and "[": a byte-wise cut would
    // leave half a character at the end of a line.
    EXPECT_EQ(describe(layOut("aソァゼ表", {0, 0, 31, 100})),
              (Lines{"0,0,12 w30 s12 000000 aソァ", "0,15,27 w24 s12 000000 ゼ表"}));
}

TEST(MessageLayout, AFrameNarrowerThanACharacterShowsOneALine) {
    EXPECT_EQ(describe(layOut("aあ", {0, 0, 4, 100})),
              (Lines{"0,0,12 w6 s12 000000 a", "0,15,27 w12 s12 000000 あ"}));
}

TEST(MessageLayout, WrappingKeepsTheStyle) {
    EXPECT_EQ(describe(layOut("<B>abc", {0, 0, 13, 100})),
              (Lines{"0,0,12 w12 s12B 000000 ab", "0,15,27 w6 s12B 000000 c"}));
}

TEST(MessageLayout, DropsTheFirstLineThatWouldEndBelowTheFrame) {
    // Lines of 15 pixels from y = 5: the second ends at 35.
    EXPECT_EQ(describe(layOut("a#b#c", {0, 5, 100, 35})),
              (Lines{"0,5,17 w6 s12 000000 a", "0,20,32 w6 s12 000000 b"}));
    EXPECT_EQ(describe(layOut("a#b#c", {0, 5, 100, 34})), (Lines{"0,5,17 w6 s12 000000 a"}));
    // A tall line is dropped with the short ones after it.
    EXPECT_EQ(describe(layOut("a#<+20>b#<-20>c", {0, 0, 100, 40})),
              (Lines{"0,0,12 w6 s12 000000 a"}));
    // So is a wrapped line.
    EXPECT_EQ(describe(layOut("abcdef", {0, 0, 13, 30})),
              (Lines{"0,0,12 w12 s12 000000 ab", "0,15,27 w12 s12 000000 cd"}));
}

TEST(MessageLayout, AFrameWithoutWidthOrHeightHoldsNothing) {
    EXPECT_TRUE(layOut("abc", {10, 0, 10, 100}).empty());
    EXPECT_TRUE(layOut("abc", {10, 0, 5, 100}).empty());
    EXPECT_TRUE(layOut("abc", {0, 50, 100, 50}).empty());
    // A frame lower than one line.
    EXPECT_TRUE(layOut("abc", {0, 0, 100, 14}).empty());
}

TEST(MessageLayout, LongTextsStopMeasuringOnceTheFrameIsFull) {
    std::string text;
    while (text.size() < 100000)
        text += toCp932("あいう<B>えお<N>abc<+2>de<-2>f#<KEY>");
    MessageText message;
    message.text = text;
    message.left = 20;
    message.top = 30;
    message.right = 659;
    message.bottom = 509;
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layoutMessage(message, metrics);
    ASSERT_FALSE(pieces.empty());
    for (const MessagePiece& piece : pieces) {
        EXPECT_GE(piece.x, message.left);
        EXPECT_LT(piece.x + piece.width, message.right);
        EXPECT_GE(piece.top, message.top);
        EXPECT_LE(piece.top + metrics.extent("", piece.style).height, message.bottom);
    }
    EXPECT_LT(metrics.widthCalls, 2000);
}

TEST(MessageLayout, ALineOfOpenTagsIsLaidOutWhole) {
    // Every "<" looks for its ">"; the search must not start again at each.
    const std::string text(100000, '<');
    MessageText message;
    message.text = text;
    message.right = 1000000000;
    message.bottom = 100;
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layoutMessage(message, metrics);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].text, text);
    EXPECT_EQ(pieces[0].width, 600000);
}

TEST(MessageLayout, ShadowOffsetGrowsWithTheSizeUpToFour) {
    const std::vector<std::pair<int, int>> sizesAndOffsets = {
        {1, 1}, {12, 1}, {23, 1}, {24, 2}, {47, 2}, {48, 3}, {72, 4}, {96, 4}, {999, 4}};
    for (const auto& [size, offset] : sizesAndOffsets)
        EXPECT_EQ(shadowOffset(size), offset) << size;
}

TEST(MessageLayout, ScreenColorsAreRgbWithSystemColorsResolved) {
    EXPECT_EQ(screenColor(0x0000FF), 0xFF0000u);
    EXPECT_EQ(screenColor(0x00123456), 0x563412u);
    EXPECT_EQ(screenColor(0x80000005), 0xFFFFFFu); // window
    EXPECT_EQ(screenColor(0x80000018), 0xFFFFE1u); // tool tip background
    EXPECT_EQ(screenColor(0x80000099), 0x990000u); // no such system colour
    EXPECT_EQ(screenColor(0x12345678), 0x785634u);
}

} // namespace
} // namespace pagora
