#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::cp932Lines;

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

// A comic of two books, header blocks before and after them.
std::string twoBookComic() {
    return comicBytes({
        "<Head=\"Comic\">",
        "FileType=PGR95",
        "Title=a=b",
        "Title=second",
        "<Head End>",
        "<Book=\"本\">",
        "<Page=\"一\">",
        "MsgDlg \"x\",",
        "WaitTime 10,",
        "<Page End>",
        "<Page=\"二\">",
        "// ",
        "<Page End>",
        "<Book End>",
        "<Book=\"B\">",
        "<Page=\"p\">",
        "// b",
        "<Page End>",
        "<Book End>",
        "<Head=\"ValueFlag\">",
        "// ",
        "count=0",
        "<Head End>",
    });
}

class ComicFile : public testing::Test {
protected:
    void load(const std::string& bytes) {
        comic.LoadFromBytes(bytes);
        prompter.clear();
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
};

// --- reader and writer ---

TEST_F(ComicFile, EveryKindOfLineEndEndsALine) {
    load("<Head=\"Comic\">\r\na=1\nb=2\rc=3\r\n\n\r\r\n<Head End>");
    EXPECT_EQ(comic.Lines(),
              (std::vector<std::string>{"<Head=\"Comic\">", "a=1", "b=2", "c=3", "<Head End>"}));
}

TEST_F(ComicFile, DropsEmptyAndTripleSlashLinesButKeepsBlankOnes) {
    load(comicBytes({"/// head", "<Book=\"b\">", "", "<Page=\"p\">", "/// gone", "//// gone too",
                     "// kept", "   ", "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.Lines(), cp932Lines({"<Book=\"b\">", "<Page=\"p\">", "// kept", "   ",
                                         "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.GetCommandCount("b", "p"), 2);
}

TEST_F(ComicFile, AnEmptyCommentPrefixDropsNothingButEmptyLines) {
    comic.CommentPrefix.clear();
    load("/// kept\r\n\r\nx\r\n");
    EXPECT_EQ(comic.Lines(), (std::vector<std::string>{"/// kept", "x"}));
}

TEST_F(ComicFile, SavingWritesTheFileHeadThenTheBodyWithCrLf) {
    comic.FileHead = {"/// one", "/// two"};
    load("a\nb");
    EXPECT_EQ(comic.SaveToBytes(), "/// one\r\n/// two\r\na\r\nb\r\n");
    std::ostringstream stream;
    comic.SaveToStream(stream);
    EXPECT_EQ(stream.str(), comic.SaveToBytes());
}

TEST_F(ComicFile, LoadThenSaveGivesTheInputBackByteForByte) {
    const std::string input = twoBookComic() + comicBytes({
                                                   "<Head=\"MessageWindow\">",
                                                   "FontName=ＭＳ ゴシック",
                                                   "<Head End>",
                                                   "<Head=\"Menu\">",
                                                   "// ",
                                                   "<Head End>",
                                               });
    load(input);
    EXPECT_EQ(comic.SaveToBytes(), input);
}

TEST_F(ComicFile, BrokenFilesRoundTripToo) {
    const std::string input = comicBytes({"<Page End>", "<Book=\"b\">", "<Page=\"p\"", "x",
                                          "<Head End>", "<Zzz>", "<Book End>"}) +
                              std::string("nul\0byte\r\n\x81\"\r\n", 14);
    load(input);
    EXPECT_EQ(comic.SaveToBytes(), input);
}

TEST_F(ComicFile, AnUnreadableFileLeavesTheDocumentAsItWas) {
    load(twoBookComic());
    const std::vector<std::string> before = comic.Lines();
    test::TempFolder folder;
    EXPECT_THROW(comic.LoadFromFile(folder.path() / "missing.csf"), IoError);
    EXPECT_THROW(comic.LoadFromFile(folder.path()), IoError);
    EXPECT_EQ(comic.Lines(), before);
    EXPECT_EQ(comic.GetCommandCount(sj("本"), sj("一")), 2);
}

// Something that is not a comic file, made in a folder, and the reason it is refused with.
struct NotAComicFile {
    const char* label;
    std::function<std::filesystem::path(const test::TempFolder&)> make;
    const char* reason;
};

class ComicFileRefuses : public testing::TestWithParam<NotAComicFile> {};

// Each is refused before anything is read: a pipe would wait for a writer,
// a device or a huge file would be read until memory runs out.
TEST_P(ComicFileRefuses, WhatIsNotARegularFileOfAtMostTwoGibibytes) {
    test::TempFolder folder;
    const std::filesystem::path path = GetParam().make(folder);
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(twoBookComic());
    try {
        comic.LoadFromFile(path);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(ioErrorText(error),
                  "ファイル「" + path.string() + "」を読み込めません。\n" + GetParam().reason);
    }
    EXPECT_EQ(comic.SaveToBytes(), twoBookComic());
}

INSTANTIATE_TEST_SUITE_P(
    NotRegular, ComicFileRefuses,
    testing::Values(
        NotAComicFile{"Pipe",
                      [](const test::TempFolder& folder) {
                          const auto pipe = folder.path() / "pipe.csf";
                          ::mkfifo(pipe.c_str(), 0600);
                          return pipe;
                      },
                      "通常のファイルではありません。"},
        NotAComicFile{"Device",
                      [](const test::TempFolder&) { return std::filesystem::path("/dev/zero"); },
                      "通常のファイルではありません。"},
        NotAComicFile{"Folder", [](const test::TempFolder& folder) { return folder.path(); },
                      "ファイルではなくフォルダです。"},
        NotAComicFile{"Larger",
                      [](const test::TempFolder& folder) {
                          const auto huge = folder.write("huge.csf", "");
                          std::filesystem::resize_file(huge, (std::uintmax_t{2} << 30) + 1);
                          return huge;
                      },
                      "ファイルが大きすぎます。"}),
    [](const testing::TestParamInfo<NotAComicFile>& param) { return param.param.label; });

TEST_F(ComicFile, AFailedSaveLeavesTheOldFile) {
    test::TempFolder folder;
    const auto target = folder.write("c.csf", "old");
    load(twoBookComic());
    std::filesystem::create_directory(folder.path() / "d.csf");
    EXPECT_THROW(comic.SaveToFile(folder.path() / "d.csf"), IoError);
    comic.SaveToFile(target);
    EXPECT_EQ(test::readFile(target), twoBookComic());
}

TEST_F(ComicFile, CreateNewHoldsTheTemplate) {
    load(twoBookComic());
    comic.CreateNew();
    EXPECT_EQ(comic.Lines(),
              cp932Lines({"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=0",
                          "StartBook=スタートブック", "StartPage=スタートページ",
                          "MciMusic=Sequencer", "MciSound=WaveAudio", "SelectChange=1",
                          "ShowKeyWaitChar=1", "<Head End>", "<Book=\"スタートブック\">",
                          "<Page=\"スタートページ\">", "// ", "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.GetBookList(), cp932Lines({"スタートブック"}));
    EXPECT_EQ(comic.GetCommandCount(sj("スタートブック"), sj("スタートページ")), 1);
}

// --- header blocks ---

TEST_F(ComicFile, ReadsTheWholeValueOfTheFirstEntry) {
    load(twoBookComic());
    EXPECT_EQ(comic.ReadHeader("Comic", "Title", "d"), "a=b");
    EXPECT_EQ(comic.ReadHeader("Comic", "Missing", "d"), "d");
    EXPECT_EQ(comic.ReadHeader("NoBlock", "Title", "d"), "d");
    EXPECT_EQ(comic.ReadHeader("ValueFlag", "count", "d"), "0");
}

TEST_F(ComicFile, KeysMatchWholeAndWithLetterCase) {
    load(comicBytes({"<Head=\"Comic\">", "TitleX=1", "title=2", "Title=3", "<Head End>"}));
    EXPECT_EQ(comic.ReadHeader("Comic", "Title", "d"), "3");
    EXPECT_EQ(comic.ReadHeader("comic", "Title", "d"), "d");
}

TEST_F(ComicFile, WritingAKeyThatAppearsTwiceChangesTheFirst) {
    load(twoBookComic());
    comic.WriteHeader("Comic", "Title", "new");
    EXPECT_EQ(comic.Line(2), "Title=new");
    EXPECT_EQ(comic.Line(3), "Title=second");
}

TEST_F(ComicFile, WritingANewKeyInsertsItBeforeTheEndMarker) {
    load(twoBookComic());
    comic.WriteHeader("Comic", "Copyright", "me");
    EXPECT_EQ(comic.Line(4), "Copyright=me");
    EXPECT_EQ(comic.Line(5), "<Head End>");
    comic.WriteHeader("Comic", "Copyright", "you");
    EXPECT_EQ(comic.ReadHeader("Comic", "Copyright", ""), "you");
    // The pages after the header are still found where they now are.
    EXPECT_EQ(comic.GetCommand(sj("本"), sj("一"), 1), "WaitTime 10,");
}

TEST_F(ComicFile, WritingIntoAMissingBlockAppendsTheBlockAtTheEnd) {
    load(twoBookComic());
    const std::size_t before = comic.Lines().size();
    comic.WriteHeader("Menu", "Item1", "x");
    const std::vector<std::string> lines = comic.Lines();
    const std::vector<std::string> tail(lines.begin() + static_cast<long>(before), lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"<Head=\"Menu\">", "// ", "Item1=x", "<Head End>"}));
    EXPECT_EQ(comic.ReadHeader("Menu", "Item1", ""), "x");
}

TEST_F(ComicFile, DeletesTheFirstEntryOfAKey) {
    load(twoBookComic());
    comic.DeleteHeader("Comic", "Title");
    EXPECT_EQ(comic.ReadHeader("Comic", "Title", ""), "second");
    comic.DeleteHeader("Comic", "Nothing");
    comic.DeleteHeader("NoBlock", "Title");
    EXPECT_EQ(comic.Lines().size(), 22u);
    EXPECT_EQ(comic.GetCommandCount("B", "p"), 1);
}

TEST_F(ComicFile, HeaderKeysSkipCommentsAndLinesWithoutEquals) {
    load(comicBytes({"<Head=\"X\">", "// ", "a=1", "b", "c=", "//d=4", "e=f=g", "<Head End>"}));
    EXPECT_EQ(comic.GetHeaderKeys("X"), (std::vector<std::string>{"a", "c", "e"}));
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(comic.GetHeaderEntries("X"), (Entries{{"a", "1"}, {"c", ""}, {"e", "f=g"}}));
    EXPECT_TRUE(comic.GetHeaderKeys("Missing").empty());
}

TEST_F(ComicFile, AnEmptyHeaderBlockTakesItsFirstEntry) {
    load(comicBytes({"<Head=\"X\">", "<Head End>"}));
    comic.WriteHeader("X", "a", "1");
    EXPECT_EQ(comic.Lines(), (std::vector<std::string>{"<Head=\"X\">", "a=1", "<Head End>"}));
}

// --- books and pages ---

TEST_F(ComicFile, ListsBooksInFileOrderAndPagesOfABook) {
    load(twoBookComic());
    EXPECT_EQ(comic.GetBookList(), cp932Lines({"本", "B"}));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"一", "二"}));
    EXPECT_TRUE(comic.GetPageList("none").empty());
    EXPECT_TRUE(comic.BookExists("B"));
    EXPECT_FALSE(comic.BookExists("b"));
    EXPECT_TRUE(comic.PageExists(sj("本"), sj("二")));
    EXPECT_FALSE(comic.PageExists("B", sj("二")));
}

TEST_F(ComicFile, AddBookAppendsAfterTheLastHeaderBlock) {
    load(twoBookComic());
    EXPECT_TRUE(comic.AddBook("new"));
    EXPECT_EQ(comic.GetBookList().back(), "new");
    const std::vector<std::string> lines = comic.Lines();
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail, cp932Lines({"<Book=\"new\">", "<Page=\"最初のページ\">", "// ", "<Page End>",
                                "<Book End>"}));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(ComicFile, DuplicateNamesAreRefusedWithAMessage) {
    load(twoBookComic());
    const std::vector<std::string> before = comic.Lines();
    EXPECT_FALSE(comic.AddBook("B"));
    EXPECT_FALSE(comic.AddPage(sj("本"), sj("二")));
    EXPECT_EQ(comic.Lines(), before);
    EXPECT_EQ(prompter.messages(),
              cp932Lines({"ブック名が重複しています", "ページ名が重複しています"}));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
}

TEST_F(ComicFile, AddPagePutsThePageLastInItsBook) {
    load(twoBookComic());
    EXPECT_TRUE(comic.AddPage(sj("本"), "new"));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"一", "二", "new"}));
    EXPECT_EQ(comic.Line(13), "<Page=\"new\">");
    EXPECT_EQ(comic.Line(16), "<Book End>");
    EXPECT_EQ(comic.GetCommand(sj("本"), "new", 0), "// ");
    EXPECT_FALSE(comic.AddPage("nobook", "x"));
}

TEST_F(ComicFile, DeleteBookRemovesItsEndMarkerToo) {
    load(twoBookComic());
    comic.DeleteBook(sj("本"));
    EXPECT_EQ(comic.GetBookList(), (std::vector<std::string>{"B"}));
    const std::vector<std::string> lines = comic.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "<Book End>"), 1);
    EXPECT_EQ(comic.Line(5), "<Book=\"B\">");
    comic.DeleteBook("none");
    EXPECT_EQ(comic.GetBookList(), (std::vector<std::string>{"B"}));
}

TEST_F(ComicFile, DeletePageRemovesItsMarkers) {
    load(twoBookComic());
    comic.DeletePage(sj("本"), sj("一"));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"二"}));
    EXPECT_EQ(comic.Line(5), sj("<Book=\"本\">"));
    EXPECT_EQ(comic.Line(6), sj("<Page=\"二\">"));
    comic.DeletePage(sj("本"), "none");
    EXPECT_EQ(comic.Lines().size(), 19u);
}

TEST_F(ComicFile, RenamesBooksAndPages) {
    load(twoBookComic());
    comic.RenameBook("B", "C");
    comic.RenamePage(sj("本"), sj("二"), "three");
    EXPECT_EQ(comic.GetBookList(), cp932Lines({"本", "C"}));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"一", "three"}));
    EXPECT_EQ(comic.GetCommand("C", "p", 0), "// b");
}

TEST_F(ComicFile, NamesHoldingSlashOrColonReadFromAFileStillWork) {
    load(comicBytes({"<Book=\"a/b\">", "<Page=\"c:d\">", "x", "<Page End>", "<Page=\"c\">", "y",
                     "<Page End>", "<Book End>", "<Book=\"a\">", "<Page=\"b/c:d\">", "z",
                     "<Page End>", "<Book End>"}));
    EXPECT_EQ(comic.GetBookList(), (std::vector<std::string>{"a/b", "a"}));
    EXPECT_EQ(comic.GetPageList("a/b"), (std::vector<std::string>{"c:d", "c"}));
    EXPECT_EQ(comic.GetCommand("a/b", "c:d", 0), "x");
    EXPECT_EQ(comic.GetCommand("a/b", "c", 0), "y");
    EXPECT_EQ(comic.GetCommand("a", "b/c:d", 0), "z");
}

TEST_F(ComicFile, MovingABookKeepsItsLinesInOrder) {
    load(twoBookComic());
    comic.MoveBook(sj("本"), "B", true);
    EXPECT_EQ(comic.GetBookList(), cp932Lines({"B", "本"}));
    const std::vector<std::string> lines = comic.Lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 10),
              cp932Lines({"<Book=\"B\">", "<Page=\"p\">", "// b", "<Page End>", "<Book End>"}));
    comic.MoveBook(sj("本"), "B", false);
    EXPECT_EQ(comic.SaveToBytes(), twoBookComic());
}

TEST_F(ComicFile, MovingABookOntoItselfOrAMissingBookChangesNothing) {
    load(twoBookComic());
    comic.MoveBook("B", "B", true);
    comic.MoveBook("none", "B", true);
    comic.MoveBook("B", "none", true);
    EXPECT_EQ(comic.SaveToBytes(), twoBookComic());
}

TEST_F(ComicFile, MovesPagesWithinABookAndAcrossBooks) {
    load(twoBookComic());
    comic.MovePage(sj("本"), sj("一"), true, sj("二"), sj("本"));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"二", "一"}));
    comic.MovePage("B", "p", false, sj("一"), sj("本"));
    EXPECT_EQ(comic.GetPageList(sj("本")), cp932Lines({"二"}));
    EXPECT_EQ(comic.GetPageList("B"), cp932Lines({"p", "一"}));
    EXPECT_EQ(comic.GetCommand("B", sj("一"), 1), "WaitTime 10,");
}

TEST_F(ComicFile, APageDoesNotMoveOntoAPageOfTheSameNameInAnotherBook) {
    load(comicBytes({"<Book=\"a\">", "<Page=\"p\">", "1", "<Page End>", "<Book End>",
                     "<Book=\"b\">", "<Page=\"p\">", "2", "<Page End>", "<Page=\"q\">", "3",
                     "<Page End>", "<Book End>"}));
    const std::string before = comic.SaveToBytes();
    comic.MovePage("b", "q", true, "p", "a");
    comic.MovePage("a", "p", true, "p", "a");
    EXPECT_EQ(comic.SaveToBytes(), before);
}

// --- command lines ---

TEST_F(ComicFile, InsertingAtTheTopAddsACommentLine) {
    load(twoBookComic());
    comic.InsertCommand(sj("本"), sj("一"), 0);
    EXPECT_EQ(comic.GetCommandCount(sj("本"), sj("一")), 3);
    EXPECT_EQ(comic.GetCommand(sj("本"), sj("一"), 0), "// ");
    EXPECT_EQ(comic.GetCommand(sj("本"), sj("一"), 1), "MsgDlg \"x\",");
}

TEST_F(ComicFile, EditingOnePageKeepsEveryOtherBlockFindable) {
    load(twoBookComic());
    const std::string book = sj("本"), page = sj("一");
    comic.AppendCommand(book, page);
    comic.SetCommand(book, page, "WaitTime 20,", 2);
    comic.InsertCommand(book, page, 3);
    comic.DeleteCommand(book, page, 0);
    EXPECT_EQ(comic.GetCommandCount(book, page), 3);
    EXPECT_EQ(comic.GetCommand(book, page, 0), "WaitTime 10,");
    EXPECT_EQ(comic.GetCommand(book, page, 1), "WaitTime 20,");
    EXPECT_EQ(comic.GetCommand(book, page, 2), "// ");
    EXPECT_EQ(comic.GetCommand(book, sj("二"), 0), "// ");
    EXPECT_EQ(comic.GetCommand("B", "p", 0), "// b");
    EXPECT_EQ(comic.ReadHeader("ValueFlag", "count", ""), "0");
    comic.WriteHeader("Comic", "Title", "t");
    EXPECT_EQ(comic.GetCommand(book, page, 1), "WaitTime 20,");
}

TEST_F(ComicFile, PeeksAtThePageLinesWithoutCopies) {
    load(twoBookComic());
    EXPECT_EQ(comic.PeekCommands(sj("本"), sj("一")),
              (std::vector<std::string_view>{"MsgDlg \"x\",", "WaitTime 10,"}));
    EXPECT_EQ(comic.PeekCommand(sj("本"), sj("一"), 1), "WaitTime 10,");
    EXPECT_TRUE(comic.PeekCommands("none", "none").empty());
}

TEST_F(ComicFile, IndexesOutsideThePageAreIgnored) {
    load(twoBookComic());
    const std::string before = comic.SaveToBytes();
    const std::string book = sj("本"), page = sj("二");
    EXPECT_EQ(comic.GetCommand(book, page, 1), "");
    EXPECT_EQ(comic.GetCommand(book, page, -1), "");
    comic.SetCommand(book, page, "x", 1);
    comic.DeleteCommand(book, page, 5);
    comic.InsertCommand(book, page, 2);
    comic.InsertCommand("none", page, 0);
    comic.AppendCommand(book, "none");
    EXPECT_EQ(comic.GetCommandCount("none", "none"), 0);
    EXPECT_EQ(comic.SaveToBytes(), before);
}

TEST_F(ComicFile, APageCanBeEmptiedAndFilledAgain) {
    load(twoBookComic());
    comic.DeleteCommand("B", "p", 0);
    EXPECT_EQ(comic.GetCommandCount("B", "p"), 0);
    comic.InsertCommand("B", "p", 0);
    comic.SetCommand("B", "p", "WaitTime 1,", 0);
    EXPECT_EQ(comic.GetCommand("B", "p", 0), "WaitTime 1,");
    EXPECT_EQ(comic.GetCommandCount("B", "p"), 1);
}

} // namespace
} // namespace pagora
