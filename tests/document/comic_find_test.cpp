// Finding a text in the lines of a comic.
#include "document/comic_file.h"
#include "document/comic_find.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

struct MatchCase {
    std::string name;
    std::string text;   // UTF-8 unless raw
    std::string needle; // UTF-8 unless raw
    bool matchCase;
    std::size_t at; // npos: no match
    bool raw = false;
};

void PrintTo(const MatchCase& c, std::ostream* out) {
    *out << c.name;
}

class TextMatching : public testing::TestWithParam<MatchCase> {};

TEST_P(TextMatching, StartsOnlyWhereACharacterStarts) {
    const MatchCase& c = GetParam();
    const TextMatcher matcher(c.raw ? c.needle : toCp932(c.needle), c.matchCase);
    EXPECT_EQ(matcher.find(c.raw ? c.text : toCp932(c.text)), c.at);
}

constexpr std::size_t kNone = std::string_view::npos;

INSTANTIATE_TEST_SUITE_P(
    Cases, TextMatching,
    testing::Values(MatchCase{"AsciiInAnyCase", "Show PICT", "pict", false, 5},
                    MatchCase{"AsciiCaseWhenAsked", "Show PICT", "pict", true, kNone},
                    MatchCase{"DoubleByteAfterDoubleByte", "あいう", "いう", false, 2},
                    // ソ is 83 5C: its second byte is no backslash.
                    MatchCase{"NoBackslashInsideACharacter", "ソ\\", "\\", false, 2},
                    // ポ is 83 7C: its second byte is no bar.
                    MatchCase{"NoBarInsideACharacter", "ポ", "|", false, kNone},
                    // ａ is 82 81, Ａ 82 60: bytes never folded inside a character.
                    MatchCase{"FullWidthLettersExact", "ＡＢ", "ａ", false, kNone},
                    MatchCase{"TrailByteNotALetter",
                              "\x82"
                              "A",
                              "a", false, kNone, true},
                    MatchCase{"NeedleLongerThanText", "ab", "abc", false, kNone},
                    MatchCase{"EmptyNeedleFindsNothing", "ab", "", false, kNone},
                    MatchCase{"MixedWidths", "x＝1ソｿ", "1ソｿ", false, 3}),
    [](const testing::TestParamInfo<MatchCase>& test) { return test.param.name; });

class FindInComic : public testing::Test {
protected:
    FindInComic() {
        comic.LoadFromBytes(test::comicBytes({
            "<Book=\"本\">",
            "<Page=\"一\">",
            "MsgDlg \"Hello\",0,\"KeyWait\",\"Normal\",0,0,1,",
            "Graphic \"pict\\hello.bmp\",0,0,0,1,\"None\",0,0,0,",
            "WaitTime x,",
            "<Page End>",
            "<Page=\"二\">",
            "MsgDlg \"HELLO again\",0,\"KeyWait\",\"Normal\",0,0,1,",
            "<Page End>",
            "<Book End>",
        }));
    }
    std::vector<std::string> places(const std::vector<FoundLine>& found) {
        std::vector<std::string> texts;
        for (const FoundLine& line : found)
            texts.push_back(toUtf8(line.page) + ":" + std::to_string(line.line));
        return texts;
    }
    std::string next(std::string_view needle, const EditPlace& from) {
        const std::optional<FoundLine> found = findNext(comic, toCp932(needle), {}, from);
        return found ? toUtf8(found->page) + ":" + std::to_string(found->line) : "none";
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
};

TEST_F(FindInComic, LooksInDisplayTextsOrRawLines) {
    EXPECT_EQ(places(findText(comic, "hello", {})),
              (std::vector<std::string>{"一:0", "一:1", "二:0"}));
    EXPECT_EQ(places(findText(comic, "Hello", {true, false})), (std::vector<std::string>{"一:0"}));
    EXPECT_EQ(places(findText(comic, "KeyWait", {})), (std::vector<std::string>{}))
        << "the mode word is no part of the display text";
    EXPECT_EQ(places(findText(comic, "KeyWait", {false, true})),
              (std::vector<std::string>{"一:0", "二:0"}));
    EXPECT_EQ(places(findText(comic, "x,", {})), (std::vector<std::string>{"一:2"}))
        << "a line that does not read is shown, and searched, as it stands";
    const std::vector<FoundLine> found = findText(comic, "again", {false, true});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(toUtf8(found[0].text), "メッセージを表示します：HELLO again");
}

TEST_F(FindInComic, NextGoesOnFromThePlaceAndWrapsAround) {
    const std::string book = toCp932("本");
    const std::string one = toCp932("一");
    EXPECT_EQ(next("hello", {book, one, 0}), "一:1");
    EXPECT_EQ(next("hello", {book, one, 1}), "二:0");
    EXPECT_EQ(next("hello", {book, toCp932("二"), 0}), "一:0");
    EXPECT_EQ(next("again", {book, toCp932("二"), 0}), "二:0") << "its own line comes last";
    EXPECT_EQ(next("hello", {book, one, -1}), "一:0");
    EXPECT_EQ(next("hello", {"gone", "gone", 3}), "一:0");
    EXPECT_EQ(next("nothing", {book, one, 0}), "none");
}

} // namespace
} // namespace pagora
