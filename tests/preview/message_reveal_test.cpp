// The reveal of a message: which tags act while it shows, the steps each
// display mode takes, and what a frame too small for the text shows.
#include "platform/encoding.h"
#include "preview/message_reveal.h"
#include "support/fixed_font_metrics.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pagora {
namespace {

// Lines of the default size are 15 pixels high: room for two.
constexpr int kFrameBottom = 30;

std::vector<MessagePiece> laidOut(std::string_view text) {
    test::FixedFontMetrics metrics;
    MessageText message;
    message.text = text;
    message.right = 200;
    message.bottom = 1 << 20;
    return layoutMessage(message, metrics);
}

MessageReveal revealOf(std::string_view text, int mode, int speed = 0, bool keyEachLine = false) {
    const ModeMeaning& meaning = modeMeaning(mode);
    return MessageReveal(laidOut(text), revealMarks(text),
                         {meaning.reveal, meaning.overflow, speed, keyEachLine, 0, kFrameBottom});
}

std::string shownText(const MessageReveal& reveal, int chars) {
    std::string text;
    for (const MessagePiece& piece : reveal.shown(chars))
        text += std::to_string(piece.top) + ":" + piece.text + " ";
    return text;
}

struct MarksCase {
    std::string text;
    std::vector<RevealMark> marks;
};

class RevealMarks : public testing::TestWithParam<MarksCase> {};

TEST_P(RevealMarks, ActAtTheCharacterTheyPrecede) {
    EXPECT_EQ(revealMarks(GetParam().text), GetParam().marks) << GetParam().text;
}

using Kind = RevealMark::Kind;
INSTANTIATE_TEST_SUITE_P(
    Tags, RevealMarks,
    testing::Values(MarksCase{"<W10>abc", {{0, Kind::Pause, 1000}}},
                    MarksCase{"ab<KEY>c<key>", {{2, Kind::Key, 0}, {3, Kind::Key, 0}}},
                    MarksCase{"a<FAST>b<SLOW>c<NORMAL>",
                              {{1, Kind::Speed, 1}, {2, Kind::Speed, 2}, {3, Kind::Speed, 0}}},
                    // Outside 1 to 20 tenths, or not a number: no pause.
                    MarksCase{"<W0>a<W21>b<Wx>c<W20>", {{3, Kind::Pause, 2000}}},
                    // "#" is no character; a double-byte character is one.
                    MarksCase{"a#b" + toCp932("あ") + "<KEY>", {{3, Kind::Key, 0}}},
                    // A "<" without ">" on its line is text; other tags are not.
                    MarksCase{"<ab#<KEY><B>c<W1>", {{3, Kind::Key, 0}, {4, Kind::Pause, 100}}}));

TEST(MessageRevealSteps, CharactersOneByOneAtTheSpeedTheTagsSet) {
    const MessageReveal reveal = revealOf("ab<SLOW>c", 4);
    const std::vector<RevealStep> expected{{1, 40, false}, {2, 40, false}, {3, 100, false}};
    EXPECT_EQ(reveal.steps(), expected);
}

TEST(MessageRevealSteps, LinesOneByOneWithAPauseTagAdded) {
    const MessageReveal reveal = revealOf("ab<W5>#cd", 3, 1);
    const std::vector<RevealStep> expected{{2, 650, false}, {4, 150, false}};
    EXPECT_EQ(reveal.steps(), expected);
}

TEST(MessageRevealSteps, KeyWaitsAtEachNewLineAndAtTheKeyTag) {
    const MessageReveal reveal = revealOf("a#b<KEY>c", 4, 0, true);
    const std::vector<RevealStep> expected{{1, 40, true}, {2, 40, true}, {3, 40, false}};
    EXPECT_EQ(reveal.steps(), expected);
}

TEST(MessageRevealSteps, AllAtOnceStopsOnlyWhereAPageIsFull) {
    EXPECT_EQ(revealOf("ab#cd#ef", 1).steps(),
              (std::vector<RevealStep>{{4, 0, true}, {6, 0, false}}));
    EXPECT_EQ(revealOf("ab#cd#ef", 0).steps(), (std::vector<RevealStep>{{6, 0, false}}));
    EXPECT_EQ(revealOf("", 4).steps(), (std::vector<RevealStep>{{0, 0, false}}));
}

TEST(MessageRevealShown, EachOverflowShowsItsPartOfALongText) {
    // Three lines in a frame of two.
    EXPECT_EQ(shownText(revealOf("ab#cd#ef", 0), 6), "0:ab 15:cd ");
    EXPECT_EQ(shownText(revealOf("ab#cd#ef", 1), 6), "0:ef ");
    EXPECT_EQ(shownText(revealOf("ab#cd#ef", 5), 5), "0:cd 15:e ");
    EXPECT_EQ(shownText(revealOf("ab#cd#ef", 5), 3), "0:ab 15:c ");
}

TEST(MessageRevealShown, CutsADoubleByteCharacterNever) {
    const std::string text = toCp932("あい") + "u";
    const MessageReveal reveal = revealOf(text, 4);
    ASSERT_EQ(reveal.characters(), 3);
    EXPECT_EQ(shownText(reveal, 1), "0:" + toCp932("あ") + " ");
    EXPECT_EQ(shownText(reveal, 0), "");
}

} // namespace
} // namespace pagora
