#include "cli_run.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::runCliCommand;
using test::TempFolder;

const std::string kComic = comicBytes(
    {"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15", "<Head End>", "<Book=\"本\">",
     "<Page=\"始\">", "// ",
     "msgdlg  \"やあ\",0,\"KeyWait\",\"Normal\",0,0,1,\"/WIN:1\",\"/IF:%a%==1\"",
     "WaitTime 1500,\"/TIME:3\"", "WaitTime すぐ,", "Teleport 3,", "MusicStop", "<Page End>",
     "<Page=\"次\">", "SelectDlg \"a\",\"$始$\",", "<Page End>", "<Book End>"});

TEST(CliOutline, ShowsEachLineAsTheCommandListDoes) {
    TempFolder folder;
    const auto result = runCliCommand({"outline", folder.write("c.csf", kComic).string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "# 本 / 始\n"
                          "0\t0\t-\t-- 注釈 --\n"
                          "1\t1\tC\tメッセージを表示します：やあ\n"
                          "2\t6\tT\t1500ミリ秒 待ちます。\n"
                          "3\t6\t!\t'すぐ' is not a valid integer value\n"
                          "4\t-1\t-\t未知のコマンドです\n"
                          "5\t5\t-\t音楽を止めます\n"
                          "# 本 / 次\n"
                          "0\t8\t-\t選択肢を表示。移動先は、始 です\n");
}

TEST(CliOutline, NarrowsToTheNamedBookAndPage) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic).string();
    const auto page = runCliCommand({"outline", file, "--book", "本", "--page", "次"});
    EXPECT_EQ(page.status, 0);
    EXPECT_EQ(page.out, "# 本 / 次\n0\t8\t-\t選択肢を表示。移動先は、始 です\n");
    const auto missing = runCliCommand({"outline", file, "--page", "無い"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no such book or page"), std::string::npos);
}

TEST(CliFmt, CheckListsWhatWouldChangeAndWritesNothing) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    const auto result = runCliCommand({"fmt", file.string(), "--check"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        result.out,
        "本/始:1: msgdlg  \"やあ\",0,\"KeyWait\",\"Normal\",0,0,1,\"/WIN:1\",\"/IF:%a%==1\" -> "
        "MsgDlg \"やあ\",0,\"KeyWait\",\"Normal\",0,0,1,\"/IF:%a%==1\",\"/WIN:1\"\n");
    EXPECT_EQ(result.err, "warning: 本/始:3: 'すぐ' is not a valid integer value\n");
    EXPECT_EQ(test::readFile(file), kComic);
}

TEST(CliFmt, RewritesLinesAndSavesLikeResave) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    const auto out = folder.path() / "out.csf";
    const auto result = runCliCommand({"fmt", file.string(), "-o", out.string()});
    EXPECT_EQ(result.status, 1); // one line could not be read
    const std::string saved = test::readFile(out);
    EXPECT_NE(saved.find(test::comicBytes(
                  {"MsgDlg \"やあ\",0,\"KeyWait\",\"Normal\",0,0,1,\"/IF:%a%==1\",\"/WIN:1\"",
                   "WaitTime 1500,\"/TIME:3\"", "WaitTime すぐ,", "Teleport 3,", "MusicStop"})),
              std::string::npos);
    EXPECT_EQ(saved.rfind("/// Interactive Pagora for Win95\r\n", 0), 0u);
    // Formatting what was formatted changes nothing.
    const auto again = runCliCommand({"fmt", out.string(), "--check"});
    EXPECT_EQ(again.out, "");
}

TEST(CliFmt, TheSampleComicIsAlreadyFormatted) {
    const auto result =
        runCliCommand({"fmt", PAGORA_SOURCE_DIR "/examples/sample/Sample.csf", "--check"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "");
}

} // namespace
} // namespace pagora
