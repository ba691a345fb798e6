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
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::TempFolder;
using namespace std::chrono_literals;

std::ptrdiff_t entryCount(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

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

TEST(WriteFileAtomically, AMissingFolderOrAFileInThePathIsReported) {
    TempFolder folder;
    EXPECT_THROW(writeFileAtomically(folder.path() / "no" / "c.csf", "new"), IoError);
    const fs::path file = folder.write("file", "x");
    try {
        writeFileAtomically(file / "c.csf", "new");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), ENOTDIR);
    }
    EXPECT_EQ(test::readFile(file), "x");
}

TEST(WriteFileAtomically, ThroughSymbolicLinksWritesTheFileTheyNameAndKeepsThem) {
    TempFolder folder;
    const fs::path real = folder.write("real/c.csf", "old");
    fs::create_directory(folder.path() / "links");
    const fs::path link = folder.path() / "links" / "c.csf";
    fs::create_symlink("../real/c.csf", link);
    const fs::path chained = folder.path() / "links" / "chained.csf";
    fs::create_symlink("c.csf", chained);

    writeFileAtomically(chained, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(chained));
    EXPECT_EQ(test::readFile(real), "new");
    EXPECT_EQ(entryCount(folder.path() / "real"), 1);
    EXPECT_EQ(entryCount(folder.path() / "links"), 2);
}

TEST(WriteFileAtomically, ALinkThatCannotBeFollowedOrWrittenThroughIsKept) {
    TempFolder folder;
    const fs::path first = folder.path() / "a.csf";
    const fs::path second = folder.path() / "b.csf";
    fs::create_symlink("b.csf", first);
    fs::create_symlink("a.csf", second);
    try {
        writeFileAtomically(first, "new");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), ELOOP);
    }
    folder.write("file", "x");
    const fs::path blocked = folder.path() / "c.csf";
    fs::create_symlink("file/c.csf", blocked);
    EXPECT_THROW(writeFileAtomically(blocked, "new"), IoError);

    EXPECT_EQ(fs::read_symlink(first), "b.csf");
    EXPECT_EQ(fs::read_symlink(second), "a.csf");
    EXPECT_EQ(fs::read_symlink(blocked), "file/c.csf");
    EXPECT_EQ(entryCount(folder.path()), 4);
}

TEST(WriteFileAtomically, SomethingOtherThanAFileIsRefusedAndKept) {
    TempFolder folder;
    const fs::path pipe = folder.path() / "c.csf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    try {
        writeFileAtomically(pipe, "new");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()), pipe.string() + ": cannot save: not a regular file");
        EXPECT_EQ(ioErrorText(error), "ファイル「" + pipe.string() +
                                          "」を保存できません。\n通常のファイルではありません。");
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(entryCount(folder.path()), 1);
}

TEST(WriteFileAtomically, KeepsTheOwnerAndGroupOfTheFileItReplaces) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    TempFolder folder;
    const fs::path target = folder.write("c.csf", "old");
    ASSERT_EQ(::chown(target.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    writeFileAtomically(target, "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(test::readFile(target), "new");
}

TEST(WriteFileAtomically, AnUnprivilegedSaveOfAnotherUsersFileMakesItsOwn) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to act as two users";
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::all);
    const fs::path target = folder.write("c.csf", "old");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4321), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 1;
        if (::setgid(5678) == 0 && ::setuid(5678) == 0) {
            try {
                writeFileAtomically(target, "new");
                status = 0;
            } catch (const IoError&) {
            }
        }
        ::_exit(status);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 5678u);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(test::readFile(target), "new");
}

TEST(WriteFileAtomically, ANewFileGetsThePermissionsTheUmaskLeaves) {
    TempFolder folder;
    const mode_t previous = ::umask(027);
    writeFileAtomically(folder.path() / "c.csf", "new");
    ::umask(previous);
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "c.csf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, RemovesWhatKilledSavesOfTheSameFileLeftAndNothingElse) {
    TempFolder folder;
    const fs::path target = folder.write("c.csf", "old");
    const fs::path stale = folder.write(".c.csf.pagora-Ab12Cd", "half");
    const fs::path fresh = folder.write(".c.csf.pagora-Ef34Gh", "being written");
    const fs::path locked = folder.write(".c.csf.pagora-Ij56Kl", "being written slowly");
    std::vector<fs::path> kept = {
        locked,
        folder.write(".d.csf.pagora-Ab12Cd", "another file's"),
        folder.write(".c.csf.pagora-Ab12C", "five letters"),
        folder.write(".c.csf.pagora-Ab12Cde", "seven letters"),
        folder.write(".c.csf.pagora-Ab-2Cd", "not a letter"),
        folder.write(".c.csf.backup", "the user's"),
        folder.write("c.csf.pagora-Ab12Cd", "not hidden"),
    };
    kept.push_back(folder.path() / ".c.csf.pagora-Mn78Op");
    fs::create_directory(kept.back());
    kept.push_back(folder.path() / ".c.csf.pagora-Qr90St");
    fs::create_symlink("c.csf", kept.back());
    test::makeOlder(stale, 1h);
    for (const fs::path& path : kept)
        test::makeOlder(path, 1h);

    {
        const test::HeldLock running(locked);
        writeFileAtomically(target, "new");
    }
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh));
    for (const fs::path& path : kept)
        EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << path;
    EXPECT_EQ(entryCount(folder.path()), static_cast<std::ptrdiff_t>(kept.size()) + 2);
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
