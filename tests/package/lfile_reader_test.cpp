#include "package/archive_layout.h"
#include "package/lfile_reader.h"
#include "package/lfile_writer.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::rawArchive;
using test::RawEntry;
using test::TempFolder;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Three stored entries "one" (10 bytes), "two" (5), "one" again (3), with
// data back to back.
const std::string kThree =
    rawArchive({{"one", 0, 0, 10}, {"two", 0, 10, 5}, {"one", 0, 15, 3}}, "0123456789ABCDExyz");

class Reader : public testing::Test {
protected:
    ScriptedPrompter prompter;
    LFileReader reader{prompter};
    TempFolder folder;
};

struct ReadCase {
    std::size_t itemSize;
    std::size_t count;
    std::size_t items;      // whole items returned
    std::string_view bytes; // what the buffer holds afterwards
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) {
    return out << c.itemSize << " x " << c.count;
}

class BoundedRead : public Reader, public testing::WithParamInterface<ReadCase> {};

TEST_P(BoundedRead, NeverReturnsOrTouchesBytesOfTheNextEntry) {
    const ReadCase& c = GetParam();
    ASSERT_TRUE(reader.OpenMemory(bytesOf(kThree)));
    ASSERT_TRUE(LFile_FileLinkageSeek(reader, "one"));
    std::string buffer(64, '.');
    EXPECT_EQ(LFile_FileLinkageRead(buffer.data(), c.itemSize, c.count, reader), c.items);
    EXPECT_EQ(buffer.substr(0, c.bytes.size() + 1), std::string(c.bytes) + ".");
    std::string rest(16, '.');
    const std::size_t more = LFile_FileLinkageRead(rest.data(), 1, 16, reader);
    EXPECT_EQ(rest.substr(0, more), std::string_view("0123456789").substr(c.bytes.size()));
    EXPECT_EQ(LFile_FileLinkageRead(rest.data(), 1, 16, reader), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoundedRead,
    testing::Values(ReadCase{1, 4, 4, "0123"}, ReadCase{1, 10, 10, "0123456789"},
                    ReadCase{1, 1024, 10, "0123456789"}, ReadCase{4, 2, 2, "01234567"},
                    ReadCase{4, 3, 2, "0123456789"}, ReadCase{16, 1, 0, "0123456789"},
                    ReadCase{0, 5, 0, ""}, ReadCase{1, 0, 0, ""},
                    ReadCase{2, SIZE_MAX, 5, "0123456789"}));

TEST_F(Reader, FindsTheFirstEntryOfANameComparedByteForByte) {
    const fs::path path = folder.write("a.cpf", kThree);
    ASSERT_TRUE(LFile_FileLinkageOpen(reader, path));
    EXPECT_EQ(reader.Count, 3u);
    EXPECT_EQ(reader.DataStart, 268u + 3 * 272);
    std::ostringstream one, two, upper;
    EXPECT_TRUE(LFile_FileLinkageExtract(reader, "one", one));
    EXPECT_EQ(one.str(), "0123456789");
    EXPECT_TRUE(LFile_FileLinkageExtract(reader, "two", two));
    EXPECT_EQ(two.str(), "ABCDE");
    EXPECT_FALSE(LFile_FileLinkageExtract(reader, "ONE", upper));
    EXPECT_EQ(upper.str(), "");
    EXPECT_EQ(reader.Error(), "there is no entry named \"ONE\"");

    std::ostringstream third;
    EXPECT_TRUE(reader.ExtractIndex(2, third));
    EXPECT_EQ(third.str(), "xyz");
    EXPECT_FALSE(LFile_FileLinkageSeekIndex(reader, 3));
    EXPECT_EQ(reader.Error(), "there is no entry number 3 (the archive has 3)");
    LFile_FileLinkageClose(reader);
    EXPECT_FALSE(LFile_FileLinkageSeek(reader, "one"));
}

TEST_F(Reader, ReadsWhatTheWriterWrote) {
    LFileContext context(prompter);
    LFile_FileLinkageInit(context);
    context.LinkageFileName = folder.path() / "w.cpf";
    LFile_SetFileType(context.Header.Magic, "PGR95");
    std::istringstream text("line one\r\nline two\nthree\rfour"), picture(std::string(5000, 'p'));
    ASSERT_TRUE(LFile_FileLinkageAdd(context, text, "Comic.csf"));
    ASSERT_TRUE(LFile_FileLinkageAddCompress(context, picture, "a.bmp"));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(context.LinkageFileName,
                             {{"Comic.csf", false, "line one\r\nline two\nthree\rfour"},
                              {"a.bmp", true, std::string(5000, 'p')}});

    ASSERT_TRUE(LFile_FileLinkageOpen(reader, context.LinkageFileName));
    EXPECT_EQ(FieldText(reader.Header.Magic), "PGR95");
    std::vector<std::string> lines;
    ASSERT_TRUE(LFile_FileLinkageLoadStrings(reader, "Comic.csf", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"line one", "line two", "three", "four"}));
    std::ostringstream inflated;
    ASSERT_TRUE(LFile_FileLinkageExtract(reader, "a.bmp", inflated));
    EXPECT_EQ(inflated.str(), std::string(5000, 'p'));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Reader, ChecksTheFileTypeByItsFirstBytes) {
    const fs::path archive = folder.write("a.cpf", kThree);
    EXPECT_TRUE(LFile_CheckFileType(archive, "PGR95"));
    EXPECT_TRUE(LFile_CheckFileType(archive, "PGR"));
    EXPECT_FALSE(LFile_CheckFileType(archive, "LINKAGE"));
    EXPECT_FALSE(LFile_CheckFileType(folder.write("short", "PGR"), "PGR95"));
    EXPECT_FALSE(LFile_CheckFileType(folder.path() / "none.cpf", "PGR95"));
}

// Archives made wrong on purpose, and what opening and extracting make of them.
struct DamageCase {
    std::string_view label;
    std::string bytes;
    std::string openError;    // empty: opens
    std::string extractError; // of the first entry, through ExtractIndex; empty: extracts
    std::string extracted;    // what a successful extraction gives
    std::vector<std::string> messages;
    std::string inflateCause = {}; // zlib's reason, on the cause line of a damaged stream
};

std::ostream& operator<<(std::ostream& out, const DamageCase& c) {
    return out << c.label;
}

std::string compressedText() {
    return test::zlibCompressed(std::string(3000, 'q') + "tail");
}

std::vector<DamageCase> damageCases() {
    const std::string z = compressedText();
    const auto size = static_cast<std::uint32_t>(z.size());
    const std::string cut = z.substr(0, z.size() / 2);
    std::string corrupt = z;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    corrupt[2] = static_cast<char>(corrupt[2] ^ 0x1F);
    const std::string header = rawArchive({}, "");
    return {
        {"empty file", "", "shorter than the 268-byte header of an archive", "", "", {}},
        {"header cut short",
         header.substr(0, 267),
         "shorter than the 268-byte header of an archive",
         "",
         "",
         {}},
        {"count of four billion",
         rawArchive({{"a", 0, 0, 1}}, "x", 4000000000u),
         "the directory of 4000000000 entries passes the end of the file (541 bytes)",
         "",
         "",
         {}},
        {"largest count",
         rawArchive({}, "", 0xFFFFFFFFu),
         "the directory of 4294967295 entries passes the end of the file (268 bytes)",
         "",
         "",
         {}},
        {"no entries", header, "", "there is no entry number 0 (the archive has 0)", "", {}},
        {"offset past the end",
         rawArchive({{"a.bmp", 0, 100, 1}}, "xyz"),
         "",
         "the data of entry \"a.bmp\" passes the end of the file",
         "",
         {}},
        {"size past the end",
         rawArchive({{"a.bmp", 0, 0, 4}}, "xyz"),
         "",
         "the data of entry \"a.bmp\" passes the end of the file",
         "",
         {}},
        {"largest offset and size",
         rawArchive({{"a.bmp", 0, 0xFFFFFFFFu, 0xFFFFFFFFu}}, "xyz"),
         "",
         "the data of entry \"a.bmp\" passes the end of the file",
         "",
         {}},
        {"overlapping entries",
         rawArchive({{"a", 0, 1, 3}, {"b", 0, 0, 3}}, "wxyz"),
         "",
         "",
         "xyz",
         {}},
        {"unterminated name", rawArchive({{std::string(256, 'n'), 0, 0, 1}}, "x"), "", "", "x", {}},
        {"compressed whole",
         rawArchive({{"c", 0x80000000u, 0, size}}, z),
         "",
         "",
         std::string(3000, 'q') + "tail",
         {}},
        {"zlib stream cut short",
         rawArchive({{"c", 0x80000000u, 0, size / 2}}, cut),
         "",
         "the compressed data of entry \"c\" is damaged",
         "",
         {"zlib decompress fail"},
         "the entry ends before its compressed stream does"},
        {"zlib stream cut short by the next entry",
         rawArchive({{"c", 0x80000000u, 0, size / 2}, {"d", 0, size / 2, size - size / 2}}, z),
         "",
         "the compressed data of entry \"c\" is damaged",
         "",
         {"zlib decompress fail"},
         "the entry ends before its compressed stream does"},
        {"zlib stream corrupt",
         rawArchive({{"c", 0x80000000u, 0, size}}, corrupt),
         "",
         "the compressed data of entry \"c\" is damaged",
         "",
         {"zlib decompress fail"},
         "invalid distance too far back"},
        {"stored text marked compressed",
         rawArchive({{"c", 0x80000000u, 0, 5}}, "hello"),
         "",
         "the compressed data of entry \"c\" is damaged",
         "",
         {"zlib decompress fail"},
         "incorrect header check"},
        {"empty entry marked compressed",
         rawArchive({{"c", 0x80000000u, 0, 0}}, ""),
         "",
         "the compressed data of entry \"c\" is damaged",
         "",
         {"zlib decompress fail"},
         "the entry ends before its compressed stream does"},
    };
}

class DamagedArchive : public Reader,
                       public testing::WithParamInterface<std::tuple<DamageCase, bool>> {};

TEST_P(DamagedArchive, FailsWithAReasonInsteadOfReadingElsewhere) {
    const auto& [c, fromFile] = GetParam();
    const bool opened = fromFile ? reader.Open(folder.write("d.cpf", c.bytes))
                                 : reader.OpenMemory(bytesOf(c.bytes));
    EXPECT_EQ(opened, c.openError.empty());
    if (!opened) {
        EXPECT_EQ(reader.Error(), c.openError);
        EXPECT_EQ(reader.Count, 0u);
        return;
    }
    std::ostringstream out;
    const bool extracted = reader.ExtractIndex(0, out);
    EXPECT_EQ(extracted, c.extractError.empty());
    if (extracted) {
        EXPECT_EQ(out.str(), c.extracted);
    } else {
        EXPECT_EQ(reader.Error(), c.extractError);
        const std::string archive =
            fromFile ? (folder.path() / "d.cpf").string() : "the archive in memory";
        EXPECT_EQ(reader.Cause(), c.inflateCause.empty()
                                      ? ""
                                      : archive + ": cannot inflate \"c\": " + c.inflateCause);
    }
    EXPECT_EQ(prompter.messages(), c.messages);
    char byte;
    if (!extracted && c.messages.empty()) {
        EXPECT_EQ(reader.Read(&byte, 1, 1), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedArchive,
                         testing::Combine(testing::ValuesIn(damageCases()), testing::Bool()));

TEST_F(Reader, ACompressedEntryMayHaveBytesAfterItsStream) {
    const std::string z = compressedText() + "trailing";
    ASSERT_TRUE(reader.OpenMemory(
        bytesOf(rawArchive({{"c", 0x80000000u, 0, static_cast<std::uint32_t>(z.size())}}, z))));
    std::ostringstream out;
    EXPECT_TRUE(LFile_FileLinkageExtract(reader, "c", out));
    EXPECT_EQ(out.str(), std::string(3000, 'q') + "tail");
}

TEST_F(Reader, AcceptsADirectoryWhoseEntriesShareNoByte) {
    const std::string accepted[] = {
        kThree,
        rawArchive({}, ""),
        rawArchive({{"b", 0, 3, 3}, {"a", 0, 0, 3}, {"c", 0, 6, 0}}, "abcdef"),
        rawArchive({{"a", 0, 0, 0}, {"b", 0, 0, 2}, {"c", 0, 0, 0}, {"d", 0, 2, 0}}, "ab"),
        rawArchive({{"a", 0, 0, 1}}, "a and bytes no entry holds"),
    };
    for (const std::string& bytes : accepted) {
        ASSERT_TRUE(reader.OpenMemory(bytesOf(bytes)));
        EXPECT_TRUE(reader.CheckDirectory()) << reader.Error();
    }
    ASSERT_TRUE(reader.OpenMemory(
        bytesOf(rawArchive({{"a", 0, 0, 2}, {"b", 0, 1, 0}, {"c", 0, 1, 1}}, "ab"))));
    EXPECT_FALSE(reader.CheckDirectory());
    EXPECT_EQ(reader.Error(), "the data of entry 2 \"c\" overlaps that of entry 0 \"a\"");
}

// What extracting makes of an entry against a limit of 4096 bytes.
struct LimitCase {
    std::string_view label;
    std::string bytes;
    std::string error; // empty: extracts
    std::size_t mostWritten;
};

std::ostream& operator<<(std::ostream& out, const LimitCase& c) {
    return out << c.label;
}

class ExtractLimit : public Reader, public testing::WithParamInterface<LimitCase> {};

TEST_P(ExtractLimit, NeverWritesMoreThanTheLimit) {
    const LimitCase& c = GetParam();
    ASSERT_TRUE(reader.OpenMemory(bytesOf(c.bytes)));
    std::ostringstream out;
    EXPECT_EQ(reader.ExtractIndex(0, out, 4096), c.error.empty());
    EXPECT_EQ(reader.Error(), c.error);
    EXPECT_LE(out.str().size(), c.mostWritten);
    if (c.error.empty()) {
        EXPECT_EQ(out.str().size(), c.mostWritten);
    }
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{});
}

LimitCase compressedOf(std::string_view label, std::size_t size, std::string error) {
    const std::string z = test::zlibCompressed(std::string(size, 'z'));
    return {label, rawArchive({{"c", 0x80000000u, 0, static_cast<std::uint32_t>(z.size())}}, z),
            std::move(error), 4096};
}

LimitCase storedOf(std::string_view label, std::size_t size, std::string error,
                   std::size_t mostWritten) {
    return {label,
            rawArchive({{"s", 0, 0, static_cast<std::uint32_t>(size)}}, std::string(size, 's')),
            std::move(error), mostWritten};
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtractLimit,
    testing::Values(
        compressedOf("inflates to the limit", 4096, ""),
        compressedOf("inflates one byte past", 4097, "entry \"c\" unpacks to more than 4096 bytes"),
        compressedOf("inflates to a thousand times the limit", 4096000,
                     "entry \"c\" unpacks to more than 4096 bytes"),
        storedOf("stored at the limit", 4096, "", 4096),
        storedOf("stored one byte past", 4097, "entry \"s\" unpacks to more than 4096 bytes", 0)));

TEST_F(Reader, AnArchiveCutShortAfterOpeningNamesWhereItEnds) {
    const fs::path archive = folder.write(
        "a.cpf", rawArchive({{"a", 0, 0, 4000}, {"b", 0, 4000, 1}}, std::string(4001, 'x')));
    ASSERT_TRUE(reader.Open(archive));
    const std::uintmax_t cut = 268 + 2 * 272 + 1000;
    fs::resize_file(archive, cut);
    std::ostringstream out;
    EXPECT_FALSE(reader.ExtractIndex(0, out));
    EXPECT_EQ(reader.Error(), "cannot read the data of entry \"a\"");
    EXPECT_EQ(reader.Cause(), archive.string() + ": cannot read: the file ends at byte " +
                                  std::to_string(cut) + ", not at " +
                                  std::to_string(268 + 2 * 272 + 4001));
    // A failure of another kind has no cause.
    EXPECT_FALSE(reader.SeekIndex(2));
    EXPECT_EQ(reader.Cause(), "");
}

TEST_F(Reader, AnUnopenableFileFails) {
    EXPECT_FALSE(LFile_FileLinkageOpen(reader, folder.path() / "none.cpf"));
    EXPECT_EQ(reader.Error(), "cannot open: No such file or directory");
    EXPECT_FALSE(LFile_FileLinkageOpen(reader, folder.path()));
    EXPECT_FALSE(reader.IsOpen());
}

} // namespace
} // namespace pagora
