#include "cli_run.h"
#include "images/mag_decoder.h"
#include "package/archive_layout.h"
#include "platform/encoding.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <utility>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::rawArchive;
using test::TempFolder;

CliRun run(const std::vector<std::string>& arguments) {
    return test::runCliCommand(arguments);
}

const fs::path kSample = PAGORA_SOURCE_DIR "/examples/sample/Sample.csf";
const fs::path kSampleData = PAGORA_SOURCE_DIR "/examples/sample/data";

std::string bmpOf(const std::string& mag) {
    const auto bmp =
        TM2BC::ConvertToBmp({reinterpret_cast<const std::uint8_t*>(mag.data()), mag.size()});
    return bmp ? std::string(bmp->begin(), bmp->end()) : std::string();
}

// The sample's script as packaged: the comment lines dropped, the MAG picture named as BMP.
std::string packagedSampleScript() {
    std::istringstream lines(test::readFile(kSample));
    std::string script, line;
    while (std::getline(lines, line))
        if (line.rfind("///", 0) != 0)
            script += line + "\n";
    const std::string mag = "Graphic \"garden.mag\"";
    const std::size_t at = script.find(mag);
    return at == std::string::npos ? script
                                   : script.replace(at, mag.size(), "Graphic \"garden.bmp\"");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(CliPack, PacksTheSampleComicAsTheWizardDoes) {
    TempFolder folder;
    const fs::path archive = folder.path() / "dist" / "Sample.cpf";
    fs::create_directory(archive.parent_path());
    const CliRun packed = run({"pack", kSample.string(), archive.string()});
    EXPECT_EQ(packed.status, kExitDone) << packed.err;
    EXPECT_EQ(packed.err, "");

    const std::string script = packagedSampleScript();
    ASSERT_NE(script.find("garden.bmp"), std::string::npos);
    const std::string garden = bmpOf(test::readFile(kSampleData / "garden.mag"));
    ASSERT_FALSE(garden.empty());
    const auto data = [](const char* name) {
        return test::readFile(kSampleData / name);
    };
    test::expectArchiveHolds(archive, {{"Comic.csf", false, script},
                                       {"sky.bmp", true, data("sky.bmp")},
                                       {"house.bmp", true, data("house.bmp")},
                                       {"haru.bmp", true, data("haru.bmp")},
                                       {"garden.bmp", true, garden},
                                       {"button.bmp", true, data("button.bmp")}});
    EXPECT_EQ(test::readFile(archive.parent_path() / "theme.mid"), data("theme.mid"));
    EXPECT_EQ(test::readFile(archive.parent_path() / "chime.wav"), data("chime.wav"));

    // ls: the header line, then name, flags, offset and size of each entry.
    const CliRun listed = run({"ls", archive.string()});
    EXPECT_EQ(listed.status, kExitDone) << listed.err;
    EXPECT_EQ(listed.err, "");
    const std::vector<std::string> lines = linesOf(listed.out);
    ASSERT_EQ(lines.size(), 7u) << listed.out;
    EXPECT_EQ(lines[0], "PGR95\t6");
    EXPECT_EQ(lines[1], "Comic.csf\t00000000\t0\t" + std::to_string(script.size()));
    std::size_t offset = script.size();
    const char* names[] = {"sky.bmp", "house.bmp", "haru.bmp", "garden.bmp", "button.bmp"};
    for (std::size_t i = 0; i < 5; ++i) {
        std::istringstream fields(lines[i + 2]);
        std::string name, flags, at, size;
        std::getline(fields, name, '\t');
        std::getline(fields, flags, '\t');
        std::getline(fields, at, '\t');
        std::getline(fields, size);
        EXPECT_EQ(name, names[i]);
        EXPECT_EQ(flags, "80000000");
        EXPECT_EQ(at, std::to_string(offset));
        offset += std::stoul(size);
    }
    EXPECT_EQ(fs::file_size(archive), 268 + 6 * 272 + offset);

    const fs::path out = folder.path() / "unpacked";
    const CliRun unpacked = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(unpacked.status, kExitDone) << unpacked.err;
    EXPECT_EQ(unpacked.err, "");
    EXPECT_EQ(unpacked.out, "Comic.csf\nsky.bmp\nhouse.bmp\nharu.bmp\ngarden.bmp\nbutton.bmp\n");
    EXPECT_EQ(test::readFile(out / "Comic.csf"), script);
    EXPECT_EQ(test::readFile(out / "garden.bmp"), garden);
    for (const char* name : {"sky.bmp", "house.bmp", "haru.bmp", "button.bmp"})
        EXPECT_EQ(test::readFile(out / name), data(name)) << name;
}

// A comic of one page in "comic/c.csf" whose files lie in "comic/data".
fs::path writeComic(const TempFolder& folder, std::initializer_list<std::string_view> page) {
    std::vector<std::string_view> lines = {"<Head=\"Comic\">", "DataDirectory=data", "<Head End>",
                                           "<Book=\"本\">", "<Page=\"一\">"};
    lines.insert(lines.end(), page.begin(), page.end());
    lines.insert(lines.end(), {"<Page End>", "<Book End>"});
    std::string bytes;
    for (const std::string_view line : lines)
        bytes += toCp932(line) + "\r\n";
    return folder.write("comic/c.csf", bytes);
}

TEST(CliPack, CompressesTheNamedFilesAndWarnsAboutTheRest) {
    TempFolder folder;
    folder.write("comic/data/photo.jpg", std::string(4000, 'p'));
    folder.write("comic/data/写真.png", "png");
    const fs::path comic = writeComic(folder, {"Graphic \"photo.jpg\",0,0,0,1,\"None\",0,0,0,",
                                               "Graphic \"写真.png\",0,0,0,1,\"None\",0,0,0,",
                                               "Graphic \"lost.bmp\",0,0,0,1,\"None\",0,0,0,",
                                               "Sound \"lost.wav\",1,"});
    const fs::path archive = folder.path() / "c.cpf";
    const CliRun packed = run({"pack", comic.string(), archive.string(), "--compress", "PHOTO.JPG",
                               "--compress", "写真.png", "--compress", "none.png"});
    EXPECT_EQ(packed.status, kExitDone);
    EXPECT_EQ(packed.err,
              "warning: コミックファイルからアクセスされているファイルが見つかりません\\n"
              "lost.bmp, lost.wav, \n"
              "warning: none.png is not among the files to store; --compress leaves it alone\n");
    test::expectArchiveHolds(archive, {{"Comic.csf", false, test::readFile(comic)},
                                       {"photo.jpg", true, std::string(4000, 'p')},
                                       {toCp932("写真.png"), true, "png"}});
    const std::vector<std::string> lines = linesOf(run({"ls", archive.string()}).out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].substr(0, 19), "photo.jpg\t80000000\t");
    EXPECT_EQ(lines[3].substr(0, 20), "写真.png\t80000000\t");
}

TEST(CliPack, FailsWhenTheArchiveCannotBeWritten) {
    TempFolder folder;
    folder.write("comic/data/theme.mid", "midi");
    const fs::path comic = writeComic(folder, {"Music \"theme.mid\",0,"});
    const fs::path missing = folder.path() / "missing" / "c.cpf";
    const CliRun result = run({"pack", comic.string(), missing.string()});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err, "error: Error : LFile_FileLinkageEnd()\\n" + missing.string() +
                              ": ファイルまたはフォルダが見つかりません。\n");

    // Without the archive the loose files stay where they are.
    const fs::path out = folder.path() / "out";
    fs::create_directories(out / "c.cpf");
    const CliRun onFolder = run({"pack", comic.string(), (out / "c.cpf").string()});
    EXPECT_EQ(onFolder.status, kExitFailure);
    EXPECT_EQ(onFolder.err, "error: Error : LFile_FileLinkageEnd()\\n" + (out / "c.cpf").string() +
                                ": ファイルではなくフォルダです。\n");
    EXPECT_FALSE(fs::exists(out / "theme.mid"));

    EXPECT_EQ(run({"pack", (folder.path() / "none.csf").string(), "x.cpf"}).status, kExitFailure);
    EXPECT_EQ(run({"pack", comic.string()}).status, kExitFailure);
    EXPECT_EQ(run({"pack", comic.string(), "x.cpf", "--compress"}).status, kExitFailure);
}

// The system's temporary folder pointed elsewhere for the life of the object.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const fs::path& folder) {
        if (const char* previous = std::getenv("TMPDIR"))
            previous_ = previous;
        fs::create_directories(folder);
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderAt() {
        if (previous_)
            ::setenv("TMPDIR", previous_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> previous_;
};

TEST(CliPack, RemovesWhatAKilledPackLeftButNothingARunningOneUses) {
    TempFolder folder;
    const fs::path comic = writeComic(folder, {"// "});
    const fs::path archive = folder.path() / "out" / "c.cpf";
    const fs::path temporaries = folder.path() / "tmp";
    const fs::path stale = temporaries / "pagora-package-Ab12Cd";
    folder.write(stale / "LHTemp.tmp", std::string(272, 'h'));
    folder.write(stale / "LDTemp.tmp", "data");
    const fs::path staleArchive = folder.write("out/.c.cpf.pagora-Ef34Gh", "half an archive");
    const fs::path fresh = temporaries / "pagora-package-Ij56Kl";
    folder.write(fresh / "LDTemp.tmp", "data");
    const fs::path locked = temporaries / "pagora-package-Mn78Op";
    folder.write(locked / "LDTemp.tmp", "data");
    const fs::path foreign = temporaries / "pagora-package-Qr90St";
    folder.write(foreign / "LDTemp.tmp", "data");
    folder.write(foreign / "notes.txt", "not ours");
    const fs::path otherArchive = folder.write("out/.d.cpf.pagora-Uv12Wx", "another archive's");
    for (const fs::path& path :
         {stale / "LHTemp.tmp", stale / "LDTemp.tmp", stale, staleArchive, locked / "LDTemp.tmp",
          locked, foreign / "LDTemp.tmp", foreign / "notes.txt", foreign, otherArchive})
        test::makeOlder(path, std::chrono::hours(1));

    CliRun packed;
    {
        const TemporaryFolderAt redirected(temporaries);
        const test::HeldLock running(locked);
        packed = run({"pack", comic.string(), archive.string()});
    }
    EXPECT_EQ(packed.status, kExitDone) << packed.err;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_FALSE(fs::exists(staleArchive));
    for (const fs::path& path : {fresh, locked, foreign / "notes.txt", otherArchive})
        EXPECT_TRUE(fs::exists(path)) << path;
    EXPECT_EQ(std::distance(fs::directory_iterator(temporaries), fs::directory_iterator()), 3);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(archive.parent_path()), fs::directory_iterator()), 2);
}

// check and pack look files up alike: names that climb out of the comic's
// folder, links that lead out of it and names that do not decode are missing
// to both.
TEST(CliPack, RefusesWhatCheckReportsAsMissing) {
    TempFolder folder;
    folder.write("secret.txt", "secret");
    folder.write("comic/data/sub\xEF\xBF\xBD/x.bmp", "x"); // "sub" + U+FFFD
    fs::create_symlink("../secret.txt", folder.path() / "comic" / "pic.bmp");
    fs::create_symlink("../../secret.txt", folder.path() / "comic" / "data" / "theme.mid");
    std::string bytes = test::readFile(
        writeComic(folder, {"Graphic \"pic.bmp\",0,0,0,1,\"None\",0,0,0,",
                            "Graphic \"..\\secret.txt\",0,0,0,1,\"None\",0,0,0,",
                            "Graphic \"NAME\",0,0,0,1,\"None\",0,0,0,", "Music \"theme.mid\",0,"}));
    bytes.replace(bytes.find("NAME"), 4, "sub\x85/x.bmp");
    const fs::path comic = folder.write("comic/c.csf", bytes);

    const CliRun checked = run({"check", comic.string()});
    for (const char* name : {"pic.bmp", "..\\secret.txt", "sub\xEF\xBF\xBD/x.bmp", "theme.mid"})
        EXPECT_NE(checked.out.find(std::string("ERROR : 参照しているファイル\"") + name +
                                   "\"が見つかりません"),
                  std::string::npos)
            << name << "\n"
            << checked.out;

    const fs::path archive = folder.path() / "out" / "c.cpf";
    fs::create_directory(archive.parent_path());
    const CliRun packed = run({"pack", comic.string(), archive.string()});
    EXPECT_EQ(packed.status, kExitDone) << packed.err;
    EXPECT_EQ(packed.err,
              "warning: コミックファイルからアクセスされているファイルが見つかりません\\n"
              "pic.bmp, ..\\secret.txt, sub\xEF\xBF\xBD/x.bmp, theme.mid, \n");
    test::expectArchiveHolds(archive, {{"Comic.csf", false, bytes}});
    EXPECT_FALSE(fs::exists(archive.parent_path() / "theme.mid"));
}

TEST(CliLs, ReportsArchivesThatCannotBeRead) {
    TempFolder folder;
    const fs::path huge = folder.write("huge.cpf", rawArchive({}, "", 4000000000u));
    const CliRun hugeRun = run({"ls", huge.string()});
    EXPECT_EQ(hugeRun.status, kExitFailure);
    EXPECT_EQ(hugeRun.out, "");
    EXPECT_EQ(hugeRun.err, "error: " + huge.string() +
                               ": the directory of 4000000000 entries passes the end of the file "
                               "(268 bytes)\n");

    EXPECT_EQ(run({"ls", (folder.path() / "none.cpf").string()}).status, kExitFailure);
    EXPECT_EQ(run({"ls"}).status, kExitFailure);
}

// A directory that cannot be true, and the fault both commands name before
// printing or writing anything.
struct RefusedDirectory {
    std::string_view label;
    std::string bytes;
    std::string fault;
};

std::ostream& operator<<(std::ostream& out, const RefusedDirectory& c) {
    return out << c.label;
}

class CliRefusedDirectory : public testing::TestWithParam<RefusedDirectory> {};

TEST_P(CliRefusedDirectory, NeitherListsNorUnpacksIt) {
    const RefusedDirectory& c = GetParam();
    TempFolder folder;
    const fs::path archive = folder.write("a.cpf", c.bytes);
    const std::string refused =
        "error: " + archive.string() + ": the directory is refused: " + c.fault + "\n";
    const CliRun listed = run({"ls", archive.string()});
    EXPECT_EQ(listed.status, kExitFailure);
    EXPECT_EQ(listed.out, "");
    EXPECT_EQ(listed.err, refused);
    const fs::path out = folder.path() / "out";
    const CliRun unpacked = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(unpacked.status, kExitFailure);
    EXPECT_EQ(unpacked.out, "");
    EXPECT_EQ(unpacked.err, refused);
    EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliRefusedDirectory,
    testing::Values(
        RefusedDirectory{"data past the end",
                         rawArchive({{"a.bmp", 0, 0, 3}, {"b.bmp", 0x80000000u, 3, 9}}, "abcdef"),
                         "the data of entry 1 \"b.bmp\" passes the end of the file"},
        RefusedDirectory{"overlapping the entry after it",
                         rawArchive({{"a", 0, 0, 2}, {"b", 0, 4, 2}, {"c", 0, 1, 2}}, "abcdef"),
                         "the data of entry 2 \"c\" overlaps that of entry 0 \"a\""},
        RefusedDirectory{"overlapping the entry before it",
                         rawArchive({{"a", 0, 3, 3}, {"b", 0, 0, 4}}, "abcdef"),
                         "the data of entry 1 \"b\" overlaps that of entry 0 \"a\""},
        RefusedDirectory{"the same data twice",
                         rawArchive({{"a", 0, 0, 3}, {"b", 0, 3, 3}, {"c", 0, 3, 3}}, "abcdef"),
                         "the data of entry 2 \"c\" overlaps that of entry 1 \"b\""},
        RefusedDirectory{"an entry without a name",
                         rawArchive({{"a", 0, 0, 3}, {"", 0, 3, 3}}, "abcdef"),
                         "entry 1 has no name"}));

// A huge count over a sparse file of zeros: the first entry already refuses
// the directory, so neither command walks four billion entries.
TEST(CliRefusedDirectory, AHugeSparseDirectoryIsRefusedAtOnce) {
    TempFolder folder;
    const fs::path archive = folder.write("sparse.cpf", rawArchive({}, "", 0xFFFFFFFFu));
    std::error_code error;
    fs::resize_file(archive, 268 + std::uint64_t{0xFFFFFFFFu} * 272, error);
    if (error)
        GTEST_SKIP() << "no sparse file of a terabyte here: " << error.message();
    const std::string refused =
        "error: " + archive.string() + ": the directory is refused: entry 0 has no name\n";
    EXPECT_EQ(run({"ls", archive.string()}).err, refused);
    const CliRun unpacked = run({"unpack", archive.string(), (folder.path() / "out").string()});
    EXPECT_EQ(unpacked.status, kExitFailure);
    EXPECT_EQ(unpacked.err, refused);
    fs::remove(archive);
}

std::vector<std::string> folderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliUnpack, RefusesNamesThatLeaveTheFolderAndWritesTheFirstOfTwoNames) {
    TempFolder folder;
    const std::string so = toCp932("ソ.txt"); // its second byte is that of "\\"
    const fs::path archive = folder.write("a.cpf", rawArchive({{"../evil.txt", 0, 0, 1},
                                                               {"sub/x.txt", 0, 1, 1},
                                                               {"..", 0, 2, 1},
                                                               {"a\\b.txt", 0, 3, 1},
                                                               {".", 0, 4, 1},
                                                               {"ok.txt", 0, 5, 5},
                                                               {"ok.txt", 0, 10, 4},
                                                               {so, 0, 14, 2}},
                                                              "....Xfirstlastso"));
    const fs::path out = folder.path() / "out";
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "ok.txt\nソ.txt\n");
    EXPECT_EQ(result.err,
              "error: entry 0 \"../evil.txt\" is refused: its name holds a folder separator\n"
              "error: entry 1 \"sub/x.txt\" is refused: its name holds a folder separator\n"
              "error: entry 2 \"..\" is refused: its name leaves the folder\n"
              "error: entry 3 \"a\\b.txt\" is refused: its name holds a folder separator\n"
              "error: entry 4 \".\" is refused: its name leaves the folder\n"
              "warning: entry 6 \"ok.txt\" is not written: an earlier entry has its name\n");
    EXPECT_EQ(folderContents(folder.path()),
              (std::vector<std::string>{"a.cpf", "out", "out/ok.txt", "out/ソ.txt"}));
    EXPECT_EQ(test::readFile(out / "ok.txt"), "first");
    EXPECT_EQ(test::readFile(out / "ソ.txt"), "so");
}

TEST(CliUnpack, NamesThatDecodeAlikeOrNotAtAllAreNotWritten) {
    TempFolder folder;
    const fs::path archive = folder.write("a.cpf", rawArchive({{"\x87\x54.txt", 0, 0, 1},
                                                               {"\xFA\x4A.txt", 0, 1, 1},
                                                               {"\xFF.txt", 0, 2, 1},
                                                               {"\xFE.txt", 0, 3, 1},
                                                               {"\x81.txt", 0, 4, 1}},
                                                              "12345"));
    const fs::path out = folder.path() / "out";
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "Ⅰ.txt\n");
    EXPECT_EQ(result.err,
              "warning: entry 1 \"Ⅰ.txt\" is not written: an earlier entry has its name\n"
              "error: entry 2 \"\uFFFD.txt\" is refused: its name holds bytes that are not "
              "Shift-JIS\n"
              "error: entry 3 \"\uFFFD.txt\" is refused: its name holds bytes that are not "
              "Shift-JIS\n"
              "error: entry 4 \"\uFFFD.txt\" is refused: its name holds bytes that are not "
              "Shift-JIS\n");
    EXPECT_EQ(folderContents(out), std::vector<std::string>{"Ⅰ.txt"});
    EXPECT_EQ(test::readFile(out / "Ⅰ.txt"), "1");
}

TEST(CliUnpack, GivesUpAfterAHundredEntriesNotWritten) {
    std::vector<test::RawEntry> entries;
    for (int i = 0; i < 150; ++i)
        entries.push_back({"x/" + std::to_string(i), 0, 0, 0});
    entries.insert(entries.begin() + 20, {"good.txt", 0, 0, 1});
    TempFolder folder;
    const fs::path archive = folder.write("a.cpf", rawArchive(entries, "g"));
    const CliRun result = run({"unpack", archive.string(), (folder.path() / "out").string()});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "good.txt\n");
    const std::vector<std::string> lines = linesOf(result.err);
    ASSERT_EQ(lines.size(), 101u);
    EXPECT_EQ(lines[99], "error: entry 100 \"x/99\" is refused: its name holds a folder separator");
    EXPECT_EQ(lines[100], "warning: 50 more entries are skipped after 100 damaged ones");
}

TEST(CliUnpack, StopsAnEntryThatGrowsPastTheLimit) {
    const std::string big = test::zlibCompressed(std::string(2 << 20, 'b'));
    const std::string exact = test::zlibCompressed(std::string(1 << 20, 'e'));
    const std::string stored(1 << 20, 's');
    const auto size = [](const std::string& bytes) {
        return static_cast<std::uint32_t>(bytes.size());
    };
    std::uint32_t at = 0;
    const auto next = [&at](std::uint32_t length) {
        return std::exchange(at, at + length);
    };
    TempFolder folder;
    const fs::path archive = folder.write(
        "a.cpf", rawArchive({{"big.bin", 0x80000000u, next(size(big)), size(big)},
                             {"exact.bin", 0x80000000u, next(size(exact)), size(exact)},
                             {"stored.bin", 0, next(size(stored) + 1), size(stored) + 1},
                             {"last.txt", 0, next(4), 4}},
                            big + exact + stored + "!" + "last"));
    const fs::path out = folder.path() / "out";
    const CliRun result =
        run({"unpack", archive.string(), out.string(), "--max-size", std::to_string(1 << 20)});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "exact.bin\nlast.txt\n");
    EXPECT_EQ(result.err, "error: entry 0 \"big.bin\" is not written: entry \"big.bin\" unpacks to "
                          "more than 1048576 bytes\n"
                          "error: entry 2 \"stored.bin\" is not written: entry \"stored.bin\" "
                          "unpacks to more than 1048576 bytes\n");
    EXPECT_EQ(folderContents(out), (std::vector<std::string>{"exact.bin", "last.txt"}));
    EXPECT_EQ(fs::file_size(out / "exact.bin"), 1u << 20);

    // Without the option the limit is 512 MiB.
    const fs::path all = folder.path() / "all";
    EXPECT_EQ(run({"unpack", archive.string(), all.string()}).status, kExitDone);
    EXPECT_EQ(fs::file_size(all / "big.bin"), 2u << 20);

    for (const char* wrong : {"", "1k", "-1", "99999999999999999999"}) {
        const CliRun usage = run({"unpack", archive.string(), out.string(), "--max-size", wrong});
        EXPECT_EQ(usage.status, kExitFailure) << wrong;
        EXPECT_EQ(linesOf(usage.err).at(0),
                  std::string("error: --max-size needs a number of bytes, not ") + wrong);
    }
}

TEST(CliUnpack, ControlCharactersInNamesArePrintedEscaped) {
    const std::string forged = "a.txt\t00000000\t0\t1\nb.txt";
    TempFolder folder;
    const fs::path archive = folder.write(
        "a.cpf", rawArchive({{"\x1b[2J\a.txt", 0, 0, 1}, {forged, 0, 1, 1}, {"\x7f\x01", 0, 2, 1}},
                            "123", std::nullopt, "PG\x1bR"));
    const CliRun listed = run({"ls", archive.string()});
    EXPECT_EQ(listed.status, kExitDone) << listed.err;
    EXPECT_EQ(listed.out, "PG\\x1bR\t3\n"
                          "\\x1b[2J\\x07.txt\t00000000\t0\t1\n"
                          "a.txt\\t00000000\\t0\\t1\\nb.txt\t00000000\t1\t1\n"
                          "\\x7f\\x01\t00000000\t2\t1\n");

    const fs::path out = folder.path() / "out";
    const CliRun unpacked = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(unpacked.status, kExitDone) << unpacked.err;
    EXPECT_EQ(unpacked.out, "\\x1b[2J\\x07.txt\na.txt\\t00000000\\t0\\t1\\nb.txt\n\\x7f\\x01\n");
    EXPECT_EQ(test::readFile(out / forged), "2");

    const fs::path damaged =
        folder.write("d.cpf", rawArchive({{"\x1b]0;x\a", 0x80000000u, 0, 3}}, "xyz"));
    EXPECT_EQ(run({"unpack", damaged.string(), out.string()}).err,
              "error: zlib decompress fail\n"
              "error: entry 0 \"\\x1b]0;x\\x07\" is not written: the compressed data of entry "
              "\"\\x1b]0;x\\x07\" is damaged\n"
              "error: " +
                  damaged.string() +
                  ": cannot inflate \"\\x1b]0;x\\x07\": incorrect header check\n");
}

TEST(CliUnpack, ADamagedEntryIsReportedAndLeavesNoFile) {
    TempFolder folder;
    const std::string z = test::zlibCompressed(std::string(5000, 'z'));
    const auto half = static_cast<std::uint32_t>(z.size() / 2);
    const fs::path archive =
        folder.write("a.cpf", rawArchive({{"c.bin", 0x80000000u, 0, half}, {"d.bin", 0, half, 4}},
                                         z.substr(0, half) + "dddd"));
    const fs::path out = folder.path() / "out";
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "d.bin\n");
    EXPECT_EQ(result.err, "error: zlib decompress fail\n"
                          "error: entry 0 \"c.bin\" is not written: the compressed data of entry "
                          "\"c.bin\" is damaged\n"
                          "error: " +
                              archive.string() +
                              ": cannot inflate \"c.bin\": the entry ends before its compressed "
                              "stream does\n");
    EXPECT_EQ(folderContents(out), std::vector<std::string>{"d.bin"});
}

TEST(CliUnpack, AFolderThatCannotBeMadeOrWrittenNamesTheFileAndTheSystemsReason) {
    TempFolder folder;
    const fs::path archive =
        folder.write("a.cpf", rawArchive({{"a.txt", 0, 0, 1}, {"b.txt", 0, 1, 1}}, "ab"));
    const fs::path underAFile = folder.write("file", "x") / "out";
    const CliRun refused = run({"unpack", archive.string(), underAFile.string()});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(refused.err, "error: cannot make the folder to unpack into: " + underAFile.string() +
                               "\nerror: " + underAFile.string() +
                               ": cannot write: Not a directory\n");

    // A folder where the entry's file would go.
    const fs::path out = folder.path() / "out";
    fs::create_directories(out / "a.txt");
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "b.txt\n");
    EXPECT_EQ(result.err, "error: entry 0 \"a.txt\" is not written: cannot write a file\n"
                          "error: " +
                              (out / "a.txt").string() + ": cannot write: Is a directory\n");
    EXPECT_EQ(folderContents(out), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// Lowers the largest file this process may write while it lives; a write
// past it fails with EFBIG instead of stopping the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

TEST(CliUnpack, AFailedWriteNamesTheFileAndTheSystemsReason) {
    TempFolder folder;
    const std::string z = test::zlibCompressed(std::string(9000, 'z'));
    const auto size = static_cast<std::uint32_t>(z.size());
    const fs::path archive =
        folder.write("a.cpf", rawArchive({{"big.bin", 0, 0, 9000},
                                          {"big.z", 0x80000000u, 9000, size},
                                          {"small.txt", 0, 9000 + size, 5}},
                                         std::string(9000, 'b') + z + "small"));
    const fs::path out = folder.path() / "out";
    fs::create_directory(out);
    CliRun result{};
    {
        const FileSizeLimit limit(4096);
        result = run({"unpack", archive.string(), out.string()});
    }
    EXPECT_EQ(result.status, kExitProblems);
    EXPECT_EQ(result.out, "small.txt\n");
    EXPECT_EQ(result.err,
              "error: entry 0 \"big.bin\" is not written: cannot write entry \"big.bin\"\n"
              "error: " +
                  (out / "big.bin").string() +
                  ": cannot write: File too large\n"
                  "error: entry 1 \"big.z\" is not written: cannot write entry \"big.z\"\n"
                  "error: " +
                  (out / "big.z").string() + ": cannot write: File too large\n");
    EXPECT_EQ(folderContents(out), std::vector<std::string>{"small.txt"});
}

TEST(CliUnpack, ReplacesALinkInTheFolderInsteadOfWritingThroughIt) {
    TempFolder folder;
    const fs::path outside = folder.write("outside.txt", "keep me");
    const fs::path out = folder.path() / "out";
    fs::create_directory(out);
    fs::create_symlink(outside, out / "a.txt");
    const fs::path archive = folder.write("a.cpf", rawArchive({{"a.txt", 0, 0, 3}}, "new"));
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_EQ(test::readFile(outside), "keep me");
    EXPECT_FALSE(fs::is_symlink(out / "a.txt"));
    EXPECT_EQ(test::readFile(out / "a.txt"), "new");
}

TEST(CliUnpack, AnUnreadableArchiveWritesNothing) {
    TempFolder folder;
    const fs::path archive = folder.write("a.cpf", "not an archive");
    const fs::path out = folder.path() / "out";
    const CliRun result = run({"unpack", archive.string(), out.string()});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err,
              "error: " + archive.string() + ": shorter than the 268-byte header of an archive\n");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"unpack", archive.string()}).status, kExitFailure);
}

} // namespace
} // namespace pagora
