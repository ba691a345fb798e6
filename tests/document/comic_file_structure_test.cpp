// The index rebuild: what it records, the four structure messages, and files
// that are broken or not comics at all.
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::cp932Lines;

const char* const kConstructionError =
    "ファイルが破損しています\r\n[Book/Page block construction error]";
const char* const kPageStartMissing = "ファイルが破損しています\r\n[Page block miss start flag]";
const char* const kHeaderStartMissing =
    "ファイルが破損しています\r\n[Header block miss start flag]";
const char* const kUnknownBlock =
    "ファイル内に未知のブロックが存在します\r\nファイル保護のため処理を停止します";

struct BrokenCase {
    const char* name;
    std::vector<std::string> lines;
    const char* message; // UTF-8
};

class BrokenStructure : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenStructure, StopsWithItsMessageAndKeepsEveryLine) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    std::string bytes;
    for (const std::string& line : GetParam().lines)
        bytes += line + "\r\n";
    comic.LoadFromBytes(bytes);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{toCp932(GetParam().message)});
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::Ok);
    EXPECT_EQ(comic.Lines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenStructure,
    testing::Values(
        BrokenCase{"PageEndWithoutBook", {"<Page=\"p\">", "x", "<Page End>"}, kConstructionError},
        BrokenCase{"PageEndAfterBookEnd",
                   {"<Book=\"b\">", "<Page=\"p\">", "<Book End>", "<Page End>"},
                   kConstructionError},
        BrokenCase{"PageEndWithoutStart", {"<Book=\"b\">", "<Page End>"}, kPageStartMissing},
        BrokenCase{"SecondPageEnd",
                   {"<Book=\"b\">", "<Page=\"p\">", "<Page End>", "<Page End>"},
                   kPageStartMissing},
        BrokenCase{"HeadEndWithoutStart", {"<Head End>"}, kHeaderStartMissing},
        BrokenCase{
            "UnknownWord", {"<Head=\"Comic\">", "<Head End>", "<Chapter=\"x\">"}, kUnknownBlock},
        BrokenCase{"ShortMarker", {"<Pag"}, kUnknownBlock},
        BrokenCase{"LoneBracket", {"<"}, kUnknownBlock},
        BrokenCase{"LetterCaseMatters", {"<page=\"p\">"}, kUnknownBlock}),
    [](const testing::TestParamInfo<BrokenCase>& param) { return param.param.name; });

TEST(IndexRebuild, KeepsWhatItRecordedBeforeTheStop) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(
        comicBytes({"<Head=\"Comic\">", "Title=t", "<Head End>", "<Book=\"b\">", "<Page=\"p\">",
                    "x", "<Page End>", "<Oops>", "<Page=\"q\">", "y", "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.ReadHeader("Comic", "Title", ""), "t");
    EXPECT_EQ(comic.GetCommand("b", "p", 0), "x");
    EXPECT_EQ(comic.GetCommandCount("b", "q"), 0);
}

// A stray "<Page End>" between two books: the second book is beyond the stop.
std::string strayPageEnd() {
    return comicBytes({"<Head=\"Comic\">", "Title=t", "<Head End>", "<Book=\"a\">", "<Page=\"p\">",
                       "x", "<Page End>", "<Book End>", "<Page End>", "<Book=\"b\">",
                       "<Page=\"q\">", "y", "<Page End>", "<Book End>"});
}

TEST(IndexRebuild, LookupsOnABrokenFileRebuildSilently) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(strayPageEnd());
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{toCp932(kConstructionError)});
    ASSERT_TRUE(comic.LastStructureProblem());
    EXPECT_EQ(*comic.LastStructureProblem(), (StructureProblem{toCp932(kConstructionError), 8}));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(comic.GetCommand("a", "p", 0), "x");
        EXPECT_EQ(comic.ReadHeader("Comic", "Title", ""), "t");
        EXPECT_EQ(comic.GetBookList(), std::vector<std::string>{"a"});
        EXPECT_FALSE(comic.PageExists("b", "q"));
        comic.WriteHeader("Comic", "CmdVer", "15");
        comic.AppendCommand("a", "p");
    }
    comic.GetBookList();
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(comic.LastStructureProblem()->line, 8 + 1 + 3) << "one entry, three lines above";
}

TEST(IndexRebuild, EachStructuralChangeThatLeavesItBrokenSaysSoOnce) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(strayPageEnd());
    prompter.clear();
    EXPECT_TRUE(comic.AddBook("c"));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{toCp932(kConstructionError)});
    // The new book lies beyond the stop, like the second one.
    EXPECT_EQ(comic.GetBookList(), std::vector<std::string>{"a"});
    EXPECT_EQ(comic.Line(comic.LineCount() - 5), "<Book=\"c\">");
    prompter.clear();
    comic.AddPage("a", "r");
    comic.RenamePage("a", "r", "s");
    comic.MovePage("a", "p", true, "s", "a");
    comic.DeletePage("a", "s");
    comic.AddHeadBlock("Menu");
    EXPECT_EQ(prompter.messages().size(), 5u);
    EXPECT_EQ(comic.GetPageList("a"), std::vector<std::string>{"p"});
}

TEST(IndexRebuild, AChangeThatRepairsTheFileSaysNothingAndClearsTheProblem) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(comicBytes({"<Book=\"a\">", "<Page=\"p\">", "x", "<Page End>", "<Book End>",
                                    "<Book=\"b\">", "<Page End>", "<Book End>"}));
    ASSERT_EQ(prompter.messages(), std::vector<std::string>{toCp932(kPageStartMissing)});
    EXPECT_EQ(comic.LastStructureProblem()->line, 6);
    prompter.clear();
    comic.DeleteBook("b");
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_FALSE(comic.LastStructureProblem());
    EXPECT_TRUE(comic.AddBook("b"));
    EXPECT_EQ(comic.GetBookList(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST(IndexRebuild, ReloadingABrokenFileSaysSoAgain) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(strayPageEnd());
    comic.LoadFromBytes(strayPageEnd());
    EXPECT_EQ(prompter.messages().size(), 2u);
    comic.CreateNew();
    EXPECT_FALSE(comic.LastStructureProblem());
}

TEST(IndexRebuild, ACleanFileIsCheckedOnce) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.CreateNew();
    comic.GetBookList();
    comic.ReadHeader("Comic", "Title", "");
    EXPECT_TRUE(prompter.messages().empty());
}

TEST(IndexRebuild, AcceptsStrayBookEndsAndHeadersBetweenBooks) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(
        comicBytes({"<Book End>", "<Book=\"a\">", "<Page=\"p\">", "1", "<Page End>", "<Book End>",
                    "<Head=\"Mid\">", "k=v", "<Head End>", "<Book=\"b\">", "<Page=\"p\">", "2",
                    "<Page End>", "<Book End>"}));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(comic.GetBookList(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(comic.ReadHeader("Mid", "k", ""), "v");
}

TEST(IndexRebuild, AnUnclosedStartIsReplacedByTheNextOne) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(comicBytes(
        {"<Book=\"b\">", "<Page=\"lost\">", "1", "<Page=\"p\">", "2", "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.GetPageList("b"), (std::vector<std::string>{"p"}));
    EXPECT_EQ(comic.GetCommandCount("b", "p"), 1);
}

struct MarkerNameCase {
    const char* name;
    const char* marker;
    const char* expected;
};

class MarkerName : public testing::TestWithParam<MarkerNameCase> {};

TEST_P(MarkerName, IsTakenFromTheQuotesOrTheSixthCharacter) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(std::string("<Book=\"b\">\r\n") + GetParam().marker +
                        "\r\nx\r\n<Page End>\r\n<Book End>\r\n");
    EXPECT_EQ(comic.GetPageList("b"), std::vector<std::string>{GetParam().expected});
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkerName,
                         testing::Values(MarkerNameCase{"Quoted", "<Page=\"name\">", "name"},
                                         MarkerNameCase{"NoQuotes", "<Pages>", "s>"},
                                         MarkerNameCase{"OneQuote", "<Page=\"open", "open"},
                                         MarkerNameCase{"ThreeQuotes", "<Page=\"a\"b\">", "a"},
                                         MarkerNameCase{"EmptyName", "<Page=\"\">", ""},
                                         MarkerNameCase{"JustTheWord", "<Page", ""}),
                         [](const testing::TestParamInfo<MarkerNameCase>& param) {
                             return param.param.name;
                         });

TEST(HostileInput, LoadsWithoutCrashing) {
    const std::string inputs[] = {
        "",
        std::string(1000, '\0'),
        "<<<<<<<<<<\r\r\r\n\n\n>>>>>",
        "<Book=\"" + std::string(100, '"') + "\">",
        std::string("\x81\r\n\x82\"<\xFF\xFE", 8),
        "no line end at all",
        "<Head=\"Comic\">\r\nFileType=PGR95\r\n", // header never closed
    };
    for (const std::string& input : inputs) {
        ScriptedPrompter prompter;
        TComicFileCtrl comic(prompter);
        comic.LoadFromBytes(input);
        comic.GetBookList();
        comic.ReadHeader("Comic", "FileType", "d");
        EXPECT_LE(comic.SaveToBytes().size(), input.size() + 2 * comic.Lines().size());
    }
}

TEST(HostileInput, AFiftyMegabyteLineIsOneLine) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    std::string bytes = "<Book=\"b\">\r\n<Page=\"p\">\r\n";
    bytes += "MsgDlg \"" + std::string(50 << 20, 'a') + "\",\r\n";
    bytes += "<Page End>\r\n<Book End>\r\n";
    comic.LoadFromBytes(bytes);
    EXPECT_EQ(comic.GetCommandCount("b", "p"), 1);
    EXPECT_EQ(comic.GetCommand("b", "p", 0).size(), (50u << 20) + 10);
    EXPECT_EQ(comic.SaveToBytes(), bytes);
}

} // namespace
} // namespace pagora
