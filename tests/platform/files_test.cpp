#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::TempFolder;

TEST(ResolveScriptPath, TreatsBothSeparatorsAlikeAndMatchesLetterCase) {
    TempFolder folder;
    const fs::path picture = folder.write("Data/Pict/Scene.BMP", "x");
    EXPECT_EQ(resolveScriptPath(folder.path(), "data\\pict\\scene.bmp"), picture);
    EXPECT_EQ(resolveScriptPath(folder.path(), "Data/Pict/Scene.BMP"), picture);
    EXPECT_EQ(resolveScriptPath(folder.path(), "DATA\\\\pict/SCENE.bmp"), picture);
}

TEST(ResolveScriptPath, DecodesJapaneseNames) {
    TempFolder folder;
    const fs::path picture = folder.write("絵/背景.bmp", "x");
    EXPECT_EQ(resolveScriptPath(folder.path(), toCp932("絵\\背景.bmp")), picture);
}

TEST(ResolveScriptPath, KeepsTheWrittenNameWhereNothingMatches) {
    TempFolder folder;
    folder.write("pict/a.bmp", "x");
    EXPECT_EQ(resolveScriptPath(folder.path(), "PICT\\missing.bmp"),
              folder.path() / "pict" / "missing.bmp");
    EXPECT_EQ(resolveScriptPath(folder.path(), "nowhere\\A.bmp"),
              folder.path() / "nowhere" / "A.bmp");
}

TEST(ResolveScriptPath, PrefersTheExactNameWhenSeveralDifferOnlyInCase) {
    TempFolder folder;
    folder.write("a.bmp", "lower");
    const fs::path upper = folder.write("A.bmp", "upper");
    EXPECT_EQ(resolveScriptPath(folder.path(), "A.bmp"), upper);
}

TEST(DataFolder, IsTheComicFolderPlusDataDirectory) {
    TempFolder folder;
    folder.write("Media/x.wav", "x");
    const fs::path comic = folder.path() / "comic.csf";
    EXPECT_EQ(dataFolder(comic, ""), folder.path());
    EXPECT_EQ(dataFolder(comic, "media"), folder.path() / "Media");
    EXPECT_EQ(comicFolder(comic), folder.path());
    // Files are never looked up outside the comic's folder, so none are copied there.
    EXPECT_EQ(dataFolder(comic, "..\\elsewhere"), folder.path());
    EXPECT_EQ(dataFolder(comic, "dat\x85/"), folder.path());
}

TEST(CopyIntoFolder, NeverOverwrites) {
    TempFolder folder;
    const fs::path source = folder.write("in/a.wav", "new");
    folder.write("data/a.wav", "old");
    EXPECT_EQ(copyIntoFolder(source, folder.path() / "data"), CopyOutcome::AlreadyPresent);
    EXPECT_EQ(test::readFile(folder.path() / "data/a.wav"), "old");

    const fs::path other = folder.write("in/b.wav", "b");
    EXPECT_EQ(copyIntoFolder(other, folder.path() / "data"), CopyOutcome::Copied);
    EXPECT_EQ(test::readFile(folder.path() / "data/b.wav"), "b");
    EXPECT_THROW(copyIntoFolder(folder.path() / "in/none.wav", folder.path() / "data"), IoError);
}

TEST(ReadWholeFile, ReadsBytesAndReportsWhatFails) {
    TempFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    EXPECT_EQ(readWholeFile(folder.write("f.bin", bytes)), bytes);
    EXPECT_THROW(readWholeFile(folder.path() / "missing"), IoError);
    EXPECT_THROW(readWholeFile(folder.path()), IoError);
}

TEST(FileErrors, KeepWhatFailedAndTellItInEnglishAndJapanese) {
    TempFolder folder;
    const fs::path missing = folder.path() / "missing.csf";
    try {
        readWholeFile(missing);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(error.path(), missing);
        EXPECT_EQ(error.action(), FileAction::Open);
        EXPECT_EQ(error.errorNumber(), ENOENT);
        EXPECT_EQ(std::string(error.what()),
                  missing.string() + ": cannot open: No such file or directory");
        EXPECT_EQ(ioErrorText(error),
                  "ファイル「" + missing.string() +
                      "」を開けません。\nファイルまたはフォルダが見つかりません。");
    }
    try {
        writeFileAtomically(folder.path() / "no" / "c.csf", "new");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(error.action(), FileAction::Save);
        EXPECT_EQ(ioErrorText(error),
                  "ファイル「" + (folder.path() / "no" / "c.csf").string() +
                      "」を保存できません。\nファイルまたはフォルダが見つかりません。");
    }
    try {
        copyIntoFolder(folder.path() / "none.wav", folder.path() / "data");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()),
                  (folder.path() / "none.wav").string() + ": cannot copy into " +
                      (folder.path() / "data").string() + ": No such file or directory");
        EXPECT_EQ(ioErrorText(error).substr(0, ioErrorText(error).find('\n')),
                  "ファイル「" + (folder.path() / "none.wav").string() + "」をフォルダ「" +
                      (folder.path() / "data").string() + "」にコピーできません。");
    }
}

struct ReasonCase {
    int errorNumber;
    const char* reason;
};

class FileErrorReason : public testing::TestWithParam<ReasonCase> {};

TEST_P(FileErrorReason, IsJapanese) {
    EXPECT_EQ(ioErrorReason(GetParam().errorNumber), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Common, FileErrorReason,
    testing::Values(ReasonCase{ENOENT, "ファイルまたはフォルダが見つかりません。"},
                    ReasonCase{EACCES, "アクセスが許可されていません。"},
                    ReasonCase{EPERM, "アクセスが許可されていません。"},
                    ReasonCase{EROFS, "読み取り専用の場所なので書き込めません。"},
                    ReasonCase{ENOSPC, "ディスクの空き容量が足りません。"},
                    ReasonCase{EISDIR, "ファイルではなくフォルダです。"},
                    ReasonCase{ENOTDIR, "パスの途中にフォルダではないものがあります。"},
                    ReasonCase{EEXIST, "同じ名前のファイルがすでにあります。"},
                    ReasonCase{EIO, "ディスクの読み書きに失敗しました。"},
                    ReasonCase{EMFILE, "開いているファイルが多すぎます。"},
                    ReasonCase{ENFILE, "開いているファイルが多すぎます。"},
                    ReasonCase{ENAMETOOLONG, "ファイル名が長すぎます。"},
                    ReasonCase{EXDEV, "別のドライブへは移せません。"}));

TEST(FileErrorReason, AnUncommonNumberGivesTheSystemsTextInParentheses) {
    EXPECT_EQ(ioErrorReason(EPIPE),
              std::string("予期しないエラーが起きました（") + std::strerror(EPIPE) + "）。");
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const fs::path target = folder.write("c.csf", "old");
    ::chmod(target.c_str(), 0640);
    writeFileAtomically(target, "new");
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(WriteFileAtomically, AFolderInTheWayIsReportedAndKept) {
    TempFolder folder;
    fs::create_directories(folder.path() / "c.csf" / "inside");
    EXPECT_THROW(writeFileAtomically(folder.path() / "c.csf", "new"), IoError);
    EXPECT_TRUE(fs::is_directory(folder.path() / "c.csf" / "inside"));
}

TEST(WriteFileAtomically, AMissingFolderIsReported) {
    TempFolder folder;
    EXPECT_THROW(writeFileAtomically(folder.path() / "no" / "c.csf", "new"), IoError);
}

TEST(WriteFileAtomically, AReadOnlyFolderLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TempFolder folder;
    const fs::path target = folder.write("c.csf", "old");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(writeFileAtomically(target, "new"), IoError);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(test::readFile(target), "old");
}

TEST(WriteFileAtomically, RunningOutOfSpaceLeavesTheOldFile) {
    // A file size limit makes writes fail as a full disk does.
    TempFolder folder;
    const fs::path target = folder.write("c.csf", "old");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(writeFileAtomically(target, std::string(1 << 20, 'x')), IoError);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(test::readFile(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace pagora
