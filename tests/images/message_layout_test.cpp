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

// Lays out CP932 bytes in 12-point type.
std::vector<MessagePiece> layOutCp932(std::string_view cp932, Frame frame,
                                      test::FixedFontMetrics& metrics) {
    MessageText message;
    message.text = cp932;
    message.left = frame.left;
    message.top = frame.top;
    message.right = frame.right;
    message.bottom = frame.bottom;
    message.fontName = "font";
    return layoutMessage(message, metrics);
}

std::vector<MessagePiece> layOut(std::string_view utf8, Frame frame = {}) {
    test::FixedFontMetrics metrics;
    return layOutCp932(toCp932(utf8), frame, metrics);
}

using Lines = std::vector<std::string>;

struct LayoutCase {
    const char* name;
    const char* text;
    Lines pieces;
    Frame frame{};
};

class MessageLayoutCases : public testing::TestWithParam<LayoutCase> {};

TEST_P(MessageLayoutCases, LaysOutThePieces) {
    EXPECT_EQ(describe(layOut(GetParam().text, GetParam().frame)), GetParam().pieces)
        << GetParam().text;
}

std::string caseName(const testing::TestParamInfo<LayoutCase>& test) {
    return test.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageLayoutCases,
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
    caseName);

// Frames of 6-pixel characters and 15-pixel lines.
INSTANTIATE_TEST_SUITE_P(
    Frames, MessageLayoutCases,
    testing::Values(
        // From x = 10 the third character ends at 28, the fourth would reach 34.
        LayoutCase{"WrapsBeforeReachingTheRightEdge",
                   "abcdefg",
                   {"10,0,12 w18 s12 000000 abc", "10,15,27 w18 s12 000000 def",
                    "10,30,42 w6 s12 000000 g"},
                   {10, 0, 29, 100}},
        LayoutCase{"EndingAtTheEdgeReachesIt",
                   "abcd",
                   {"10,0,12 w12 s12 000000 ab", "10,15,27 w12 s12 000000 cd"},
                   {10, 0, 28, 100}},
        // Second bytes that are a backslash, "@" and "[": a byte-wise cut
        // would leave half a character at the end of a line.
        LayoutCase{"WrapsWholeDoubleByteCharacters",
                   "aソァゼ表",
                   {"0,0,12 w30 s12 000000 aソァ", "0,15,27 w24 s12 000000 ゼ表"},
                   {0, 0, 31, 100}},
        LayoutCase{"NarrowerThanACharacterShowsOneALine",
                   "aあ",
                   {"0,0,12 w6 s12 000000 a", "0,15,27 w12 s12 000000 あ"},
                   {0, 0, 4, 100}},
        LayoutCase{"WrappingKeepsTheStyle",
                   "<B>abc",
                   {"0,0,12 w12 s12B 000000 ab", "0,15,27 w6 s12B 000000 c"},
                   {0, 0, 13, 100}},
        // From y = 5 the second line ends at 35.
        LayoutCase{"LineEndingAtTheBottomIsKept",
                   "a#b#c",
                   {"0,5,17 w6 s12 000000 a", "0,20,32 w6 s12 000000 b"},
                   {0, 5, 100, 35}},
        LayoutCase{"LineEndingBelowTheBottomIsDropped",
                   "a#b#c",
                   {"0,5,17 w6 s12 000000 a"},
                   {0, 5, 100, 34}},
        LayoutCase{"TallLineIsDroppedWithTheShortOnesAfterIt",
                   "a#<+20>b#<-20>c",
                   {"0,0,12 w6 s12 000000 a"},
                   {0, 0, 100, 40}},
        LayoutCase{"WrappedLineIsDropped",
                   "abcdef",
                   {"0,0,12 w12 s12 000000 ab", "0,15,27 w12 s12 000000 cd"},
                   {0, 0, 13, 30}},
        LayoutCase{"NoWidth", "abc", {}, {10, 0, 10, 100}},
        LayoutCase{"NegativeWidth", "abc", {}, {10, 0, 5, 100}},
        LayoutCase{"NoHeight", "abc", {}, {0, 50, 100, 50}},
        LayoutCase{"LowerThanALine", "abc", {}, {0, 0, 100, 14}}),
    caseName);

TEST(MessageLayout, AnIncompleteDoubleByteCharacterKeepsItsByte) {
    const std::string text = "a\x83";
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layOutCp932(text, {}, metrics);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].text, text);
}

TEST(MessageLayout, LongTextsStopMeasuringOnceTheFrameIsFull) {
    std::string text;
    while (text.size() < 100000)
        text += toCp932("あいう<B>えお<N>abc<+2>de<-2>f#<KEY>");
    const Frame frame{20, 30, 659, 509};
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layOutCp932(text, frame, metrics);
    ASSERT_FALSE(pieces.empty());
    for (const MessagePiece& piece : pieces) {
        EXPECT_GE(piece.x, frame.left);
        EXPECT_LT(piece.x + piece.width, frame.right);
        EXPECT_GE(piece.top, frame.top);
        EXPECT_LE(piece.top + metrics.extent("", piece.style).height, frame.bottom);
    }
    EXPECT_LT(metrics.widthCalls, 2000);
}

TEST(MessageLayout, ALineOfOpenTagsIsLaidOutWhole) {
    // Every "<" looks for its ">"; the search must not start again at each.
    const std::string text(100000, '<');
    test::FixedFontMetrics metrics;
    const std::vector<MessagePiece> pieces = layOutCp932(text, {0, 0, 1000000000, 100}, metrics);
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
