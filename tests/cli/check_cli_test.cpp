#include "cli_run.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::runCliCommand;
using test::TempFolder;

const std::string kComic =
    comicBytes({"<Head=\"Comic\">", "StartBook=本", "StartPage=頁", "MciMusic=Sequencer",
                "MciSound=AutoSelect", "DataDirectory=data", "<Head End>", "<Book=\"本\">",
                "<Page=\"頁\">", "Music \"theme.mid\",0,", "Sound \"none.wav\",1,", "Teleport",
                "<Page End>", "<Book End>", "<Head=\"ValueFlag\">", "score=0", "<Head End>"});

TEST(CliCheck, ListsFindingsWithTheirPlaceAndFailsOnErrors) {
    TempFolder folder;
    folder.write("data/THEME.MID", "x");
    const auto result = runCliCommand({"check", folder.write("c.csf", kComic).string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "ERROR : 参照しているファイル\"none.wav\"が見つかりません\t本\t頁\t1\n"
              "ERROR : 未知のコマンドがあります\t本\t頁\t2\n"
              "WARNING : MCIデバイスがAutoSelectに設定されています\t\t\t0\n"
              "WARNING : 数値変数「score」は全ブックのどこからも参照されていません\t\t\t0\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliCheck, PrintsJson) {
    TempFolder folder;
    folder.write("data/theme.mid", "x");
    folder.write("data/none.wav", "x");
    const auto result = runCliCommand({"check", folder.write("c.csf", kComic).string(), "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "[\n"
              "  {\"message\": \"未知のコマンドがあります\", \"level\": 1, \"book\": \"本\", "
              "\"page\": \"頁\", \"line\": 2},\n"
              "  {\"message\": \"MCIデバイスがAutoSelectに設定されています\", \"level\": 0, "
              "\"book\": \"\", \"page\": \"\", \"line\": 0},\n"
              "  {\"message\": \"数値変数「score」は全ブックのどこからも参照されていません\", "
              "\"level\": 0, \"book\": \"\", \"page\": \"\", \"line\": 0}\n"
              "]\n");
}

TEST(CliCheck, WarningsAloneSucceedAndQuotesAreEscapedInJson) {
    TempFolder folder;
    const auto file = folder.write(
        "c.csf", comicBytes({"<Head=\"Comic\">", "StartBook=b", "StartPage=p", "<Head End>",
                             "<Book=\"b\">", "<Page=\"p\">", "// ", "<Page End>", "<Book End>"}));
    const auto plain = runCliCommand({"check", file.string()});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out, "WARNING : MCIデバイスがAutoSelectに設定されています\t\t\t0\n");

    const auto quoted = folder.write(
        "q.csf", comicBytes({"<Head=\"Comic\">", "StartBook=b", "StartPage=p", "MciMusic=Sequencer",
                             "MciSound=WaveAudio", "<Head End>", "<Book=\"b\">", "<Page=\"p\">",
                             "Music \"a\\b.mid\",0,", "<Page End>", "<Book End>"}));
    const auto json = runCliCommand({"check", quoted.string(), "--json"});
    EXPECT_NE(
        json.out.find("\"message\": \"参照しているファイル\\\"a\\\\b.mid\\\"が見つかりません\""),
        std::string::npos)
        << json.out;
}

TEST(CliCheck, TheSampleComicHasNoFindings) {
    const auto result = runCliCommand({"check", PAGORA_SOURCE_DIR "/examples/sample/Sample.csf"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "");
}

} // namespace
} // namespace pagora
