// The palette file: its lines taken in pairs, written back with CR LF, and
// read from any bytes without failing.
#include "document/palette_file.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pagora {
namespace {

using test::readFile;
using test::TempFolder;

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

TEST(PaletteFileTest, RoundTripKeepsEntriesAndWritesCrLfPairs) {
    const std::vector<PaletteEntry> entries = {
        {sj("挨拶"), sj("MsgDlg \"こんにちは\"")},
        {"", "Wait 10"},
        {sj("ソ表示"), sj("Graphic \"ソ.bmp\" 0 0")},
    };
    const std::string bytes = paletteBytes(entries);
    EXPECT_EQ(bytes, sj("挨拶\r\nMsgDlg \"こんにちは\"\r\n\r\nWait 10\r\nソ表示\r\n"
                        "Graphic \"ソ.bmp\" 0 0\r\n"));
    EXPECT_EQ(parsePalette(bytes), entries);

    TempFolder folder;
    const auto path = folder.path() / "mine.pal";
    savePaletteFile(path, entries);
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(loadPaletteFile(path), entries);

    savePaletteFile(path, {});
    EXPECT_EQ(readFile(path), "");
    EXPECT_TRUE(loadPaletteFile(path).empty());
}

TEST(PaletteFileTest, FiveLinesGiveTwoEntriesAndOddLastLineIsIgnored) {
    const auto entries = parsePalette("a\r\nWait 1\r\nb\r\nWait 2\r\nleft over\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (PaletteEntry{"a", "Wait 1"}));
    EXPECT_EQ(entries[1], (PaletteEntry{"b", "Wait 2"}));
    // The same without the last line ending.
    EXPECT_EQ(parsePalette("a\r\nWait 1\r\nb\r\nWait 2\r\nleft over"), entries);
}

TEST(PaletteFileTest, LineEndsOfEveryKindAndEmptyLinesCount) {
    EXPECT_EQ(paletteLines("x\ny\rz\r\n"), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(paletteLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(paletteLines("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(paletteLines("no end"), (std::vector<std::string>{"no end"}));
    EXPECT_TRUE(paletteLines("").empty());
    EXPECT_EQ(parsePalette("\r\n\r\n"), (std::vector<PaletteEntry>{{"", ""}}));
}

TEST(PaletteFileTest, HostileBytesNeverFail) {
    EXPECT_TRUE(parsePalette("").empty());
    EXPECT_TRUE(parsePalette("only one line").empty());
    const std::string withNul("n\0a\r\nl\0\0\r\n", 10);
    const auto entries = parsePalette(withNul);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, std::string("n\0a", 3));
    EXPECT_EQ(entries[0].line, std::string("l\0\0", 3));
    // A lead byte at the very end and stray high bytes stay as they are.
    const auto odd = parsePalette("\x82\r\n\xff\xfe\x81");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].line, "\xff\xfe\x81");
    // Many lines, no pairs lost.
    std::string many;
    for (int i = 0; i < 1001; ++i)
        many += std::to_string(i) + "\n";
    EXPECT_EQ(parsePalette(many).size(), 500u);
}

TEST(PaletteFileTest, LineBreaksInsideTextsKeepThePairs) {
    const std::vector<PaletteEntry> entries = {{"a\r\nb", "Wait\n1"}, {"c", "Wait 2"}};
    const auto back = parsePalette(paletteBytes(entries));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], (PaletteEntry{"a  b", "Wait 1"}));
    EXPECT_EQ(back[1], entries[1]);
}

TEST(PaletteFileTest, UnreadableAndUnwritableFilesThrowAndKeepTheOldFile) {
    TempFolder folder;
    EXPECT_THROW(loadPaletteFile(folder.path() / "missing.pal"), IoError);
    EXPECT_THROW(loadPaletteFile(folder.path()), IoError); // a folder

    const auto kept = folder.write("kept.pal", "a\r\nWait 1\r\n");
    std::filesystem::create_directory(folder.path() / "blocked.pal");
    EXPECT_THROW(savePaletteFile(folder.path() / "blocked.pal", {{"b", "Wait 2"}}), IoError);
    EXPECT_THROW(savePaletteFile(folder.path() / "no" / "such" / "x.pal", {{"b", "Wait 2"}}),
                 IoError);
    EXPECT_EQ(readFile(kept), "a\r\nWait 1\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "blocked.pal"));
}

} // namespace
} // namespace pagora
