// The line primitives keep the index true: after any sequence of edits,
// undos and redos, every lookup answers as on a comic freshly loaded from the
// same bytes.
#include "document/comic_file.h"
#include "platform/scripted_prompter.h"
#include "random_edits.h"

#include <gtest/gtest.h>
#include <map>

namespace pagora {
namespace {

// Everything a lookup can tell about a comic, LastStructureProblem first: it
// is read without a rebuild, so it must already be true.
struct Lookups {
    std::optional<StructureProblem> problem;
    std::vector<std::string> books;
    std::map<std::string, std::vector<std::string>> pages;
    std::map<std::string, std::vector<std::string>> commands; // "book/page" -> lines
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> headers;
    bool operator==(const Lookups&) const = default;
};

Lookups lookups(TComicFileCtrl& comic) {
    Lookups all;
    all.problem = comic.LastStructureProblem();
    all.books = comic.GetBookList();
    for (const std::string& book : all.books) {
        all.pages[book] = comic.GetPageList(book);
        for (const std::string& page : all.pages[book]) {
            std::vector<std::string> lines;
            const int count = comic.GetCommandCount(book, page);
            for (int index = 0; index < count; ++index)
                lines.push_back(comic.GetCommand(book, page, index));
            EXPECT_EQ(comic.PeekCommands(book, page).size(), lines.size());
            all.commands[book + "/" + page] = std::move(lines);
        }
    }
    for (const char* block : {"Comic", "ValueFlag", "h", "Menu"})
        all.headers[block] = comic.GetHeaderEntries(block);
    return all;
}

void expectSameAsFreshLoad(TComicFileCtrl& comic, const std::string& what) {
    ScriptedPrompter prompter;
    TComicFileCtrl fresh(prompter);
    fresh.LoadFromBytes(comic.SaveToBytes());
    ASSERT_EQ(fresh.Lines(), comic.Lines()) << what;
    // Twice: the second round answers from the cache and the shifted index.
    const Lookups expected = lookups(fresh);
    ASSERT_EQ(lookups(comic), expected) << what;
    ASSERT_EQ(lookups(comic), expected) << what;
}

class IndexModel : public testing::TestWithParam<bool> {};

TEST_P(IndexModel, EveryLookupAgreesWithAFreshLoadAfterEachStep) {
    std::mt19937 random(GetParam() ? 77 : 78);
    for (int round = 0; round < 150; ++round) {
        ScriptedPrompter prompter;
        TComicFileCtrl comic(prompter);
        comic.LoadFromBytes(test::randomComic(random, GetParam()));
        for (int step = 0; step < 40; ++step) {
            std::string what;
            switch (random() % 6) {
            case 0:
                comic.History().undo();
                what = "undo";
                break;
            case 1:
                comic.History().redo();
                what = "redo";
                break;
            default: {
                EditGroup group(comic.History(), "edit", {});
                what = test::applyRandomEdit(comic, random);
            }
            }
            expectSameAsFreshLoad(comic, "round " + std::to_string(round) + " step " +
                                             std::to_string(step) + ": " + what);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Comics, IndexModel, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Broken" : "Sound";
                         });

// Lines inserted into one page, then into another far away, then the first
// again: each move to a new gap between markers settles the shift before.
TEST(IndexShift, EditsInTwoPagesInTurnKeepBothRanges) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(test::randomComic(*std::make_unique<std::mt19937>(5), false));
    comic.AddBook("far");
    comic.AddPage("far", "q");
    const std::string firstBook = comic.GetBookList().front();
    const std::string firstPage = comic.GetPageList(firstBook).front();
    const int firstCount = comic.GetCommandCount(firstBook, firstPage);
    for (int round = 0; round < 3; ++round) {
        comic.InsertCommand(firstBook, firstPage, 0);
        comic.AppendCommand("far", "q");
        comic.AppendCommand("far", "q");
    }
    comic.DeleteCommand(firstBook, firstPage, 0);
    EXPECT_EQ(comic.GetCommandCount(firstBook, firstPage), firstCount + 2);
    EXPECT_EQ(comic.GetCommandCount("far", "q"), 7);
    expectSameAsFreshLoad(comic, "two pages");
}

} // namespace
} // namespace pagora
