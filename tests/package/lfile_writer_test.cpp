#include "package/archive_layout.h"
#include "package/lfile_writer.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <streambuf>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::ExpectedEntry;
using test::TempFolder;

// Bytes that compress somewhat: runs and noise.
std::string someBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 7 < 4 ? 'a' + (i / 64) % 3 : random() & 0xFF);
    return bytes;
}

class Writer : public testing::Test {
protected:
    void SetUp() override {
        LFile_FileLinkageInit(context);
        context.LinkageFileName = folder.path() / "out.cpf";
        LFile_SetFileType(context.Header.Magic, "PGR95");
        LFile_FileLinkageClean(context);
    }

    bool add(std::string_view bytes, std::string_view name, bool compress = false) {
        std::istringstream stream{std::string(bytes)};
        return compress ? LFile_FileLinkageAddCompress(context, stream, name)
                        : LFile_FileLinkageAdd(context, stream, name);
    }

    TempFolder folder;
    ScriptedPrompter prompter;
    LFileContext context{prompter};
};

struct SizeCase {
    std::size_t size;
    bool compress;
};

std::ostream& operator<<(std::ostream& out, const SizeCase& c) {
    return out << c.size << (c.compress ? " compressed" : " stored");
}

class WriterSizes : public Writer, public testing::WithParamInterface<SizeCase> {};

TEST_P(WriterSizes, StoresEveryByteBehindAOneEntryDirectory) {
    const SizeCase& c = GetParam();
    const std::string bytes = someBytes(c.size, 7);
    ASSERT_TRUE(add(bytes, "data.bin", c.compress));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(context.LinkageFileName, {{"data.bin", c.compress, bytes}});
    if (!c.compress) {
        EXPECT_EQ(fs::file_size(context.LinkageFileName), 268 + 272 + c.size);
    }
    EXPECT_TRUE(prompter.messages().empty());
}

// Around the 2048-byte copy blocks and the 1024-byte zlib buffers.
INSTANTIATE_TEST_SUITE_P(Table, WriterSizes,
                         testing::Values(SizeCase{0, false}, SizeCase{1, false},
                                         SizeCase{2047, false}, SizeCase{2048, false},
                                         SizeCase{2049, false}, SizeCase{3 * 2048, false},
                                         SizeCase{0, true}, SizeCase{1024, true},
                                         SizeCase{1025, true}, SizeCase{4 * 1024, true},
                                         SizeCase{200000, true}));

TEST_F(Writer, InitialisesTheHeaderAndSetsTagsOfAtMostEightBytes) {
    LFileContext fresh(prompter);
    LFile_FileLinkageInit(fresh);
    EXPECT_EQ(std::string(fresh.Header.Magic.data(), 8), std::string("LINKAGE\0", 8));
    EXPECT_EQ(FieldText(fresh.Header.Comment), "Default linkage file");
    EXPECT_EQ(fresh.Header.Count, 0u);
    EXPECT_EQ(fresh.LinkageFileName, "Linkage.dat");
    EXPECT_EQ(fresh.HeaderTempName.filename(), "LHTemp.tmp");
    EXPECT_EQ(fresh.DataTempName.filename(), "LDTemp.tmp");

    std::array<char, 8> tag;
    tag.fill('x');
    LFile_SetFileType(tag, "PGR95");
    EXPECT_EQ(std::string(tag.data(), 8), std::string("PGR95\0\0\0", 8));
    LFile_SetFileType(tag, "ABCDEFGHIJ");
    EXPECT_EQ(std::string(tag.data(), 8), "ABCDEFGH");
}

TEST_F(Writer, EntriesFollowEachOtherInTheOrderAdded) {
    const std::string first = someBytes(5000, 1), second = someBytes(3000, 2);
    ASSERT_TRUE(add(first, "first.bmp", true));
    ASSERT_TRUE(add(second, "second.txt"));
    ASSERT_TRUE(LFile_FileLinkageAddFile(context, folder.write("third.jpg", "JPEG"), "third.jpg"));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(
        context.LinkageFileName,
        {{"first.bmp", true, first}, {"second.txt", false, second}, {"third.jpg", false, "JPEG"}});
}

TEST_F(Writer, RefusesNamesTheDirectoryCannotHoldAndSourcesThatCannotBeOpened) {
    EXPECT_FALSE(add("x", std::string(256, 'n')));
    EXPECT_FALSE(add("x", std::string("a\0b", 3)));
    EXPECT_FALSE(LFile_FileLinkageAddFile(context, folder.path() / "none.bmp", "none.bmp"));
    EXPECT_EQ(context.Header.Count, 0u);
    const std::string longest(255, 'n');
    ASSERT_TRUE(add("kept", longest));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(context.LinkageFileName, {{longest, false, "kept"}});
}

// A source that fails to read after some bytes.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::size_t good)
        : good_(good) {}

protected:
    int_type underflow() override {
        if (given_ >= good_)
            throw std::ios_base::failure("read error");
        byte_ = 'z';
        ++given_;
        setg(&byte_, &byte_, &byte_ + 1);
        return traits_type::to_int_type(byte_);
    }

private:
    std::size_t good_;
    std::size_t given_ = 0;
    char byte_ = 0;
};

TEST_F(Writer, ASourceThatFailsToReadAddsNothingAndLeavesNoBytesBehind) {
    ASSERT_TRUE(add("before", "before.txt"));
    for (const bool compress : {false, true}) {
        FailingBuffer buffer(5000);
        std::istream failing(&buffer);
        EXPECT_FALSE(compress ? LFile_FileLinkageAddCompress(context, failing, "bad.bin")
                              : LFile_FileLinkageAdd(context, failing, "bad.bin"));
    }
    ASSERT_TRUE(add("after", "after.txt"));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(context.LinkageFileName,
                             {{"before.txt", false, "before"}, {"after.txt", false, "after"}});
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Writer, RefusesAnEntryThatWouldPassTheThirtyTwoBitOffsets) {
    ASSERT_TRUE(add("small", "small.txt"));
    // The data temporary as it would be after almost 4 GiB of entries (sparse).
    const std::uintmax_t nearLimit = 0xFFFFFFF0u;
    fs::resize_file(context.DataTempName, nearLimit);
    EXPECT_FALSE(add(std::string(32, 'x'), "over.bin"));
    EXPECT_EQ(fs::file_size(context.DataTempName), nearLimit);
    EXPECT_EQ(fs::file_size(context.HeaderTempName), 272u);
    EXPECT_TRUE(add(std::string(15, 'x'), "fits.bin"));
    EXPECT_EQ(context.Header.Count, 2u);
}

TEST_F(Writer, KeepsItsTemporariesInAPrivateFolderAndRemovesThem) {
    const fs::path privateFolder = context.DataTempName.parent_path();
    EXPECT_EQ(context.HeaderTempName.parent_path(), privateFolder);
    EXPECT_EQ(privateFolder.parent_path(), fs::temp_directory_path());
    EXPECT_NE(privateFolder, fs::current_path());
    ASSERT_TRUE(add("abc", "a.txt"));
    EXPECT_TRUE(fs::exists(context.DataTempName));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    EXPECT_FALSE(fs::exists(context.DataTempName));
    EXPECT_FALSE(fs::exists(context.HeaderTempName));
    {
        LFileContext other(prompter);
        LFile_FileLinkageInit(other);
        EXPECT_NE(other.DataTempName.parent_path(), privateFolder);
        ASSERT_TRUE(fs::is_directory(other.DataTempName.parent_path()));
        const fs::path otherFolder = other.DataTempName.parent_path();
        LFile_FileLinkageInit(other);
        EXPECT_FALSE(fs::exists(otherFolder));
    }
}

TEST_F(Writer, TwoBuildsAtOnceDoNotMix) {
    LFileContext second(prompter);
    LFile_FileLinkageInit(second);
    second.LinkageFileName = folder.path() / "second.cpf";
    LFile_SetFileType(second.Header.Magic, "PGR95");
    LFile_FileLinkageClean(second);
    std::istringstream b1("second one"), b2("second two");
    ASSERT_TRUE(add("first one", "1.txt"));
    ASSERT_TRUE(LFile_FileLinkageAdd(second, b1, "1.txt"));
    ASSERT_TRUE(add("first two", "2.txt"));
    ASSERT_TRUE(LFile_FileLinkageAddCompress(second, b2, "2.txt"));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    ASSERT_TRUE(LFile_FileLinkageEnd(second));
    test::expectArchiveHolds(context.LinkageFileName,
                             {{"1.txt", false, "first one"}, {"2.txt", false, "first two"}});
    test::expectArchiveHolds(second.LinkageFileName,
                             {{"1.txt", false, "second one"}, {"2.txt", true, "second two"}});
}

TEST_F(Writer, AFailedEndLeavesTheOldArchiveWholeAndNoPartialFile) {
    const std::string old = "an older archive";
    folder.write("out.cpf", old);
    // Nothing added: there is no directory temporary to copy.
    EXPECT_FALSE(LFile_FileLinkageEnd(context));
    ASSERT_TRUE(add("abc", "a.txt"));
    fs::remove(context.HeaderTempName);
    EXPECT_FALSE(LFile_FileLinkageEnd(context));
    EXPECT_EQ(test::readFile(context.LinkageFileName), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    context.LinkageFileName = folder.path() / "missing" / "out.cpf";
    EXPECT_FALSE(LFile_FileLinkageEnd(context));
    context.LinkageFileName = "";
    EXPECT_FALSE(LFile_FileLinkageEnd(context));
    context.LinkageFileName = folder.path();
    EXPECT_FALSE(LFile_FileLinkageEnd(context));
}

TEST_F(Writer, ReplacesAnOldArchiveKeepingItsPermissions) {
    const fs::path target = folder.write("out.cpf", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(add("new", "n.txt"));
    ASSERT_TRUE(LFile_FileLinkageEnd(context));
    test::expectArchiveHolds(target, {{"n.txt", false, "new"}});
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace
} // namespace pagora
