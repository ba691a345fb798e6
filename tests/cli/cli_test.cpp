#include "cli_run.h"
#include "platform/encoding.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::TempFolder;

using test::CliRun;

CliRun run(const std::vector<std::string>& arguments) {
    return test::runCliCommand(arguments);
}

const std::string kComic = comicBytes(
    {"/// Interactive Pagora for Win95", "<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15",
     "<Head End>", "<Book=\"スタートブック\">", "<Page=\"スタートページ\">", "MsgDlg \"a\",",
     "WaitTime 1,", "<Page End>", "<Page=\"次\">", "// ", "<Page End>", "<Book End>",
     "<Book=\"二冊目\">", "<Page=\"最初のページ\">", "// ", "<Page End>", "<Book End>"});

TEST(CliTree, PrintsBooksAndPagesWithLineCounts) {
    TempFolder folder;
    const CliRun result = run({"tree", folder.write("c.csf", kComic).string()});
    EXPECT_EQ(result.status, kExitDone);
    EXPECT_EQ(result.out,
              "スタートブック\n  スタートページ (2)\n  次 (1)\n二冊目\n  最初のページ (1)\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliTree, ReportsStructureMessagesOnOneEscapedLine) {
    TempFolder folder;
    const auto file = folder.write("c.csf", comicBytes({"<Book=\"b\">", "<Page=\"p\">",
                                                        "<Page End>", "<Book End>", "<Head End>"}));
    const CliRun result = run({"tree", file.string()});
    EXPECT_EQ(result.status, kExitDone);
    EXPECT_EQ(result.out, "b\n  p (0)\n");
    EXPECT_NE(
        result.err.find("error: ファイルが破損しています\\r\\n[Header block miss start flag]\n"),
        std::string::npos)
        << result.err;
}

TEST(CliTree, AnUnreadableFileFailsWithStatusTwo) {
    TempFolder folder;
    const CliRun result = run({"tree", (folder.path() / "none.csf").string()});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
}

TEST(CliTree, AnswersTheOpenChecksWithIgnore) {
    TempFolder folder;
    const auto file = folder.write(
        "c.csf", comicBytes({"<Head=\"Comic\">", "FileType=XYZ", "<Head End>", "<Book=\"b\">",
                             "<Page=\"p\">", "x", "<Page End>", "<Book End>"}));
    const CliRun result = run({"tree", file.string()});
    EXPECT_EQ(result.status, kExitDone);
    EXPECT_EQ(result.out, "b\n  p (1)\n");
    EXPECT_EQ(
        result.err,
        "error: ファイルタイプが違います。\\nこのファイルは正常に編集できないかもしれません\n");
}

TEST(CliUsage, BadArgumentsFailWithStatusTwo) {
    EXPECT_EQ(run({}).status, kExitFailure);
    EXPECT_EQ(run({"frobnicate"}).status, kExitFailure);
    EXPECT_EQ(run({"tree"}).status, kExitFailure);
    EXPECT_EQ(run({"tree", "a", "b"}).status, kExitFailure);
    const CliRun unknownOption = run({"new", "x.csf", "--colour", "red"});
    EXPECT_EQ(unknownOption.status, kExitFailure);
    EXPECT_NE(unknownOption.err.find("usage: pagora-cli new"), std::string::npos);
    EXPECT_EQ(run({"new", "x.csf", "--user"}).status, kExitFailure);
}

TEST(CliParse, ReadsEachCommandsOwnOptionsWithoutRunningIt) {
    const std::optional<ParsedArguments> fmt =
        parseCliArguments({"fmt", "in.csf", "--check", "-o", "out.csf"});
    ASSERT_TRUE(fmt.has_value());
    EXPECT_EQ(fmt->positional, std::vector<std::string>{"in.csf"});
    EXPECT_TRUE(fmt->has("--check"));
    EXPECT_EQ(fmt->value("-o", ""), "out.csf");

    const std::optional<ParsedArguments> pack =
        parseCliArguments({"pack", "a.csf", "--compress", "x.bmp", "b.cpf", "--compress", "y"});
    ASSERT_TRUE(pack.has_value());
    EXPECT_EQ(pack->positional, (std::vector<std::string>{"a.csf", "b.cpf"}));
    EXPECT_EQ(pack->values("--compress"), (std::vector<std::string>{"x.bmp", "y"}));

    EXPECT_FALSE(parseCliArguments({}).has_value());
    EXPECT_FALSE(parseCliArguments({"frobnicate", "x"}).has_value());
    EXPECT_THROW(parseCliArguments({"check", "a.csf", "-o", "b"}), UsageError);
    EXPECT_THROW(parseCliArguments({"fmt", "a.csf", "--json"}), UsageError);
    EXPECT_THROW(parseCliArguments({"mag2bmp", "a.mag"}), UsageError);
}

TEST(CliResave, StampsVersionAndTypeAndWritesTheEditorHead) {
    TempFolder folder;
    const auto file =
        folder.write("c.csf", comicBytes({"<Head=\"Comic\">", "CmdVer=3", "Title=t", "<Head End>",
                                          "<Book=\"b\">", "<Page=\"p\">", "/// dropped", "x",
                                          "<Page End>", "<Book End>"}));
    const CliRun result = run({"resave", file.string(), (folder.path() / "out.csf").string()});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_EQ(test::readFile(folder.path() / "out.csf"),
              comicBytes({"/// Interactive Pagora for Win95",
                          "/// Comic Script File (Command Version 15)", "<Head=\"Comic\">",
                          "CmdVer=15", "Title=t", "FileType=PGR95", "<Head End>", "<Book=\"b\">",
                          "<Page=\"p\">", "x", "<Page End>", "<Book End>"}));
}

TEST(CliResave, SavesOverTheFileItselfByDefault) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    EXPECT_EQ(run({"resave", file.string()}).status, kExitDone);
    const std::string saved = test::readFile(file);
    EXPECT_EQ(saved.rfind(comicBytes({"/// Interactive Pagora for Win95",
                                      "/// Comic Script File (Command Version 15)"}),
                          0),
              0u);
    // Saving again changes nothing.
    EXPECT_EQ(run({"resave", file.string()}).status, kExitDone);
    EXPECT_EQ(test::readFile(file), saved);
}

TEST(CliResave, AFailedSaveLeavesTheOldFileAndFails) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    std::filesystem::create_directory(folder.path() / "dir.csf");
    const CliRun result = run({"resave", file.string(), (folder.path() / "dir.csf").string()});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "dir.csf"));
}

TEST(CliResave, ThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
    TempFolder folder;
    const auto real = folder.write("real/c.csf", kComic);
    const auto link = folder.path() / "link.csf";
    std::filesystem::create_symlink("real/c.csf", link);
    const CliRun result = run({"resave", link.string()});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::readFile(real).rfind("/// Comic Script File (Command Version 15)\r\n"),
              std::string("/// Interactive Pagora for Win95\r\n").size());
}

TEST(CliTree, RefusesWhatIsNotAFileBeforeReadingIt) {
    const CliRun result = run({"tree", "/dev/zero"});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err, "error: /dev/zero: cannot read: not a regular file\n");
}

TEST(CliNew, WritesTheTemplateWithTheUserName) {
    TempFolder folder;
    const auto file = folder.path() / "new.csf";
    EXPECT_EQ(run({"new", file.string(), "--user", "山田"}).status, kExitDone);
    const std::string saved = test::readFile(file);
    EXPECT_NE(saved.find(toCp932("Copyright=山田\r\n<Head End>\r\n")), std::string::npos);
    EXPECT_NE(saved.find("CmdVer=15\r\n"), std::string::npos);

    const auto plain = folder.path() / "plain.csf";
    EXPECT_EQ(run({"new", plain.string()}).status, kExitDone);
    EXPECT_NE(test::readFile(plain).find("Copyright=Pagora User\r\n"), std::string::npos);
}

TEST(CliNew, RefusesALinkToAMissingFileInsteadOfReplacingIt) {
    TempFolder folder;
    const auto link = folder.path() / "link.csf";
    std::filesystem::create_symlink("missing/c.csf", link);
    const CliRun result = run({"new", link.string()});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err, "error: " + link.string() +
                              " is a symbolic link to missing/c.csf, which does not exist; it is "
                              "left as it is\n");
    EXPECT_EQ(std::filesystem::read_symlink(link), "missing/c.csf");
}

TEST(CliNew, NeverOverwritesAndRefusesUnencodableNames) {
    TempFolder folder;
    const auto file = folder.write("c.csf", "old");
    EXPECT_EQ(run({"new", file.string()}).status, kExitFailure);
    EXPECT_EQ(test::readFile(file), "old");
    const CliRun emoji = run({"new", (folder.path() / "e.csf").string(), "--user", "😀"});
    EXPECT_EQ(emoji.status, kExitFailure);
    EXPECT_NE(emoji.err.find("U+1F600"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "e.csf"));
}

} // namespace
} // namespace pagora
