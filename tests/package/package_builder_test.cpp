#include "images/mag_decoder.h"
#include "package/archive_layout.h"
#include "package/lfile_reader.h"
#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"
#include "support/mag_encoder.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::ExpectedEntry;
using test::TempFolder;

using Lines = std::vector<std::string_view>;

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

const std::string kMissingHead = "コミックファイルからアクセスされているファイルが見つかりません\n";

std::string magFile(unsigned seed) {
    return test::encodeMag(test::randomMagPicture(16, 0, 0, 21, 9, seed, 5),
                           test::FlagPolicy::Greedy)
        .bytes;
}

std::string bmpOf(const std::string& mag) {
    const auto bmp =
        TM2BC::ConvertToBmp({reinterpret_cast<const std::uint8_t*>(mag.data()), mag.size()});
    return bmp ? std::string(bmp->begin(), bmp->end()) : std::string();
}

// The body lines of a comic with one book "本" and one page "一".
std::vector<std::string> comicLines(const Lines& header, const Lines& page) {
    std::vector<std::string> lines = {"<Head=\"Comic\">", "FileType=PGR95"};
    lines.insert(lines.end(), header.begin(), header.end());
    lines.insert(lines.end(), {"<Head End>", "<Book=\"本\">", "<Page=\"一\">"});
    lines.insert(lines.end(), page.begin(), page.end());
    lines.insert(lines.end(), {"<Page End>", "<Book End>"});
    return lines;
}

std::string crlf(const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const std::string& line : utf8Lines)
        bytes += sj(line) + "\r\n";
    return bytes;
}

class Builder : public testing::Test {
protected:
    // Writes "comic/c.csf" (with the editor's comment line first) and
    // returns a builder for it.
    TPackageBuilder& comic(const Lines& header, const Lines& page,
                           std::string_view dataDirectory = "data") {
        comicFile = folder.write("comic/c.csf", sj("/// Interactive Pagora for Win95\r\n") +
                                                    crlf(comicLines(header, page)));
        builder.emplace(prompter, comicFile, sj(dataDirectory));
        return *builder;
    }

    fs::path file(std::string_view relative, std::string_view bytes) const {
        return folder.write(fs::path("comic") / relative, bytes);
    }

    std::vector<std::string> names(const std::vector<TPackageFile>& list) const {
        std::vector<std::string> shown;
        for (const TPackageFile& f : list)
            shown.push_back(std::to_string(f.Flag) + " " +
                            fs::relative(f.Path, folder.path() / "comic").string() + " " +
                            toUtf8(f.Name));
        return shown;
    }

    TempFolder folder;
    ScriptedPrompter prompter;
    fs::path comicFile;
    std::optional<TPackageBuilder> builder;
};

// ---------------------------------------------------------------------------
// Finding files.

struct FindCase {
    std::string_view label;
    std::vector<std::string_view> files; // relative to the folder that holds "comic/"
    std::string_view dataDirectory;
    std::string_view name;
    std::string_view found; // relative to the same folder; empty: not found
};

std::ostream& operator<<(std::ostream& out, const FindCase& c) {
    return out << c.label;
}

class FindComicFile : public Builder, public testing::WithParamInterface<FindCase> {};

TEST_P(FindComicFile, LooksInTheDataFolderThenTheComicFolder) {
    const FindCase& c = GetParam();
    for (const std::string_view relative : c.files)
        folder.write(relative, "x");
    TPackageBuilder& b = comic({}, {}, c.dataDirectory);
    const fs::path found = b.FindComicFile(sj(c.name));
    EXPECT_EQ(found.empty() ? "" : fs::relative(found, folder.path()).string(), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindComicFile,
    testing::Values(
        FindCase{"data folder first",
                 {"comic/data/a.bmp", "comic/a.bmp"},
                 "data",
                 "a.bmp",
                 "comic/data/a.bmp"},
        FindCase{"then the comic folder", {"comic/a.bmp"}, "data", "a.bmp", "comic/a.bmp"},
        FindCase{"no data folder named", {"comic/data/a.bmp"}, "", "a.bmp", ""},
        FindCase{"letter case and backslashes",
                 {"comic/data/Pict/Photo.JPG"},
                 "data",
                 "pict\\photo.jpg",
                 "comic/data/Pict/Photo.JPG"},
        FindCase{"data folder in another case",
                 {"comic/Data/a.wav"},
                 "DATA",
                 "A.WAV",
                 "comic/Data/a.wav"},
        FindCase{"Japanese names",
                 {"comic/data/絵/朝.bmp"},
                 "data",
                 "絵\\朝.bmp",
                 "comic/data/絵/朝.bmp"},
        FindCase{"name climbing out", {"comic/secret.bmp"}, "data", "..\\secret.bmp", ""},
        FindCase{"name climbing out from a dot", {"secret.bmp"}, "", ".\\..\\secret.bmp", ""},
        FindCase{"name climbing out of the comic folder",
                 {"outside.bmp"},
                 "data",
                 "..\\..\\outside.bmp",
                 ""},
        FindCase{"data folder outside is not used", {"shared/a.bmp"}, "..\\shared", "a.bmp", ""},
        FindCase{"data folder outside, comic folder used",
                 {"shared/a.bmp", "comic/a.bmp"},
                 "..\\shared",
                 "a.bmp",
                 "comic/a.bmp"},
        FindCase{"a folder is not a file", {"comic/data/a.bmp/inner"}, "data", "a.bmp", ""},
        FindCase{"empty name", {"comic/data/a.bmp"}, "data", "", ""}));

// Beside the comic's folder lie a secret and a folder "outside".
TEST_F(Builder, LinksLeadingOutOfTheComicFolderCountAsMissingFiles) {
    folder.write("secret.txt", "secret");
    folder.write("outside/o.bmp", "outside");
    file("data/a.bmp", "a");
    fs::create_symlink("../secret.txt", folder.path() / "comic" / "pic.bmp");
    fs::create_symlink("../../secret.txt", folder.path() / "comic" / "data" / "theme.mid");
    fs::create_symlink("../outside", folder.path() / "comic" / "linkdir");
    fs::create_symlink("a.bmp", folder.path() / "comic" / "data" / "alias.bmp");
    TPackageBuilder& b =
        comic({}, {"Graphic \"pic.bmp\",0,0,0,1,\"None\",0,0,0,",
                   "Graphic \"linkdir\\o.bmp\",0,0,0,1,\"None\",0,0,0,",
                   "Graphic \"alias.bmp\",0,0,0,1,\"None\",0,0,0,", "Music \"theme.mid\",0,"});
    b.CollectFiles();
    EXPECT_EQ(toUtf8(b.MissingMessage), kMissingHead + "pic.bmp, linkdir\\o.bmp, theme.mid, ");
    ASSERT_EQ(b.LinkList.size(), 1u);
    EXPECT_EQ(b.LinkList[0].Path, folder.path() / "comic" / "data" / "alias.bmp");
    EXPECT_TRUE(b.CopyList.empty());

    const fs::path out = folder.path() / "out";
    fs::create_directory(out);
    ASSERT_TRUE(b.BuildPackage(out / "c.cpf"));
    b.CopyFiles(out / "c.cpf");
    test::expectArchiveHolds(out / "c.cpf",
                             {{"Comic.csf", false, b.ScriptStream}, {"alias.bmp", true, "a"}});
    EXPECT_FALSE(fs::exists(out / "theme.mid"));

    TPackageBuilder& linked = comic({}, {"Graphic \"o.bmp\",0,0,0,1,\"None\",0,0,0,"}, "linkdir");
    linked.CollectFiles();
    EXPECT_TRUE(linked.LinkList.empty());
    EXPECT_EQ(toUtf8(linked.MissingMessage), kMissingHead + "o.bmp, ");
}

// 0x85 starts a double-byte character and "/" cannot end one. Split byte by
// byte, the name would keep the folder "sub" + U+FFFD in its stored name.
TEST_F(Builder, ANameThatDoesNotDecodeIsMissing) {
    file("data/sub\xEF\xBF\xBD/x.bmp", "x");
    file("data/sub\xEF\xBF\xBD/x.mid", "x");
    std::string bytes = crlf(
        comicLines({}, {"Graphic \"NAME.bmp\",0,0,0,1,\"None\",0,0,0,", "Music \"NAME.mid\",0,"}));
    for (std::size_t at; (at = bytes.find("NAME")) != std::string::npos;)
        bytes.replace(at, 4, "sub\x85/x");
    comicFile = folder.write("comic/c.csf", bytes);
    TPackageBuilder b(prompter, comicFile, "data");
    b.CollectFiles();
    EXPECT_TRUE(b.LinkList.empty());
    EXPECT_TRUE(b.CopyList.empty());
    EXPECT_EQ(b.MissingMessage, sj(kMissingHead) + "sub\x85/x.bmp, sub\x85/x.mid, ");
}

TEST_F(Builder, ListsEachFileOnceAndCompressesPicturesInBmpAndMag) {
    for (const char* name : {"data/a.mag", "data/b.BMP", "data/c.jpg", "data/d.wav", "data/e",
                             "data/f.bmp.txt", "data/sub/g.bmp"})
        file(name, "x");
    TPackageBuilder& b = comic({}, {});
    for (const char* name : {"a.mag", "b.BMP", "c.jpg", "d.wav", "e", "f.bmp.txt", "A.MAG",
                             "sub\\g.bmp", "SUB/G.bmp", ".\\e", "sub\\..\\c.jpg"})
        EXPECT_TRUE(b.AddLinkFile(sj(name))) << name;
    EXPECT_FALSE(b.AddLinkFile(sj("none.bmp")));
    EXPECT_EQ(names(b.LinkList),
              (std::vector<std::string>{"1 data/a.mag a.mag", "1 data/b.BMP b.BMP",
                                        "0 data/c.jpg c.jpg", "0 data/d.wav d.wav", "0 data/e e",
                                        "0 data/f.bmp.txt f.bmp.txt", "1 data/sub/g.bmp g.bmp"}));
    for (const char* name : {"d.wav", "D.WAV", "c.jpg"})
        EXPECT_TRUE(b.AddCopyFile(sj(name))) << name;
    EXPECT_FALSE(b.AddCopyFile(sj("none.wav")));
    EXPECT_EQ(names(b.CopyList),
              (std::vector<std::string>{"0 data/d.wav d.wav", "0 data/c.jpg c.jpg"}));
    EXPECT_TRUE(prompter.messages().empty());
}

// ---------------------------------------------------------------------------
// Gathering.

TEST_F(Builder, GathersTheFilesOfEveryCommandAndTheHeaderAndNamesTheMissingOnes) {
    file("data/sky.bmp", "sky");
    file("data/pict/garden.mag", magFile(1));
    file("data/theme.mid", "midi");
    file("chime.wav", "wave"); // the comic folder only
    file("data/button.MAG", magFile(2));
    file("data/opening.avi", "opening");
    file("data/readme.txt", "document");
    file("data/wait.cur", "cursor");
    TPackageBuilder& b = comic(
        {"Opening=opening.avi", "Document=readme.txt", "MouseCursorNormal=Default",
         "MouseCursorKeyWait=wait.cur", "MouseCursorTimeCount=lost.cur",
         "MouseCursorClickAble=Default", "DataDirectory=data"},
        {"Graphic \"sky.bmp\",0,0,0,1,\"FadeIn\",0,0,0,\"/POS:0,0,319,239\"",
         "Graphic \"pict\\garden.mag\",0,0,0,1,\"Blind\",0,0,0,",
         "Graphic \"lost.bmp\",0,0,0,1,\"None\",0,0,0,", "Music \"theme.mid\",0,",
         "Sound \"chime.wav\",1,", "Sound \"ないよ.wav\",1,", "MusicStop",
         "ClickAble \"本\",\"一\",\"button.MAG\",2,1,1,0,\"/POS:1,2,3,4\"",
         "ClickAble \"本\",\"一\",\"\",0,1,1,0,", "Graphic \"sky.bmp\",0,0,0,1,\"None\",0,0,0,",
         "MsgDlg \"sky.bmp\",0,\"None\",\"Normal\",0,1,0,"});
    b.CollectFiles();

    EXPECT_EQ(names(b.LinkList), (std::vector<std::string>{"1 data/sky.bmp sky.bmp",
                                                           "1 data/pict/garden.mag garden.mag",
                                                           "1 data/button.MAG button.MAG",
                                                           "0 data/opening.avi opening.avi"}));
    EXPECT_EQ(names(b.CopyList), (std::vector<std::string>{
                                     "0 data/theme.mid theme.mid", "0 chime.wav chime.wav",
                                     "0 data/readme.txt readme.txt", "0 data/wait.cur wait.cur"}));
    EXPECT_TRUE(b.MissingFiles);
    EXPECT_EQ(toUtf8(b.MissingMessage), kMissingHead + "lost.bmp, ないよ.wav, ");
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{b.MissingMessage});
    EXPECT_EQ(prompter.records().at(0).kind, MessageKind::Warning);

    // The packaged script: without the comment line, MAG pictures named as BMP.
    EXPECT_EQ(
        b.ScriptStream,
        crlf(comicLines({"Opening=opening.avi", "Document=readme.txt", "MouseCursorNormal=Default",
                         "MouseCursorKeyWait=wait.cur", "MouseCursorTimeCount=lost.cur",
                         "MouseCursorClickAble=Default", "DataDirectory=data"},
                        {"Graphic \"sky.bmp\",0,0,0,1,\"FadeIn\",0,0,0,\"/POS:0,0,319,239\"",
                         "Graphic \"pict\\garden.bmp\",0,0,0,1,\"Blind\",0,0,0,",
                         "Graphic \"lost.bmp\",0,0,0,1,\"None\",0,0,0,", "Music \"theme.mid\",0,",
                         "Sound \"chime.wav\",1,", "Sound \"ないよ.wav\",1,", "MusicStop",
                         "ClickAble \"本\",\"一\",\"button.bmp\",2,1,1,0,\"/POS:1,2,3,4\"",
                         "ClickAble \"本\",\"一\",\"\",0,1,1,0,",
                         "Graphic \"sky.bmp\",0,0,0,1,\"None\",0,0,0,",
                         "MsgDlg \"sky.bmp\",0,\"None\",\"Normal\",0,1,0,"})));
}

TEST_F(Builder, AComicWhoseFilesAreAllThereShowsNoWarning) {
    file("data/a.bmp", "a");
    TPackageBuilder& b = comic({"Opening=Default"}, {"Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,"});
    b.CollectFiles();
    EXPECT_FALSE(b.MissingFiles);
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Builder, AMissingHeaderFileWarnsWithoutBeingNamed) {
    TPackageBuilder& b = comic({"Document=gone.txt"}, {});
    b.CollectFiles();
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kMissingHead)});
}

TEST_F(Builder, AnUnreadableComicThrows) {
    TPackageBuilder b(prompter, folder.path() / "none.csf", "");
    EXPECT_THROW(b.CollectFiles(), IoError);
}

// ---------------------------------------------------------------------------
// Building.

TEST_F(Builder, AComicWithoutPicturesGivesTheScriptAlone) {
    TPackageBuilder& b = comic({}, {"MsgDlg \"こんにちは\",0,\"None\",\"Normal\",0,1,0,"});
    b.CollectFiles();
    const fs::path archive = folder.path() / "out" / "c.cpf";
    fs::create_directory(archive.parent_path());
    ASSERT_TRUE(b.BuildPackage(archive));
    test::expectArchiveHolds(archive, {{"Comic.csf", false, b.ScriptStream}});
    EXPECT_EQ(fs::file_size(archive), 268 + 272 + b.ScriptStream.size());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Builder, AMagOpeningIsStoredAsBmpAndTheScriptNamesItSo) {
    const std::string opening = magFile(4);
    file("data/title.mag", opening);
    TPackageBuilder& b = comic({"Opening=title.mag"}, {"// "});
    b.CollectFiles();
    const fs::path archive = folder.path() / "c.cpf";
    ASSERT_TRUE(b.BuildPackage(archive));
    EXPECT_NE(b.ScriptStream.find("Opening=title.bmp\r\n"), std::string::npos);
    test::expectArchiveHolds(
        archive, {{"Comic.csf", false, b.ScriptStream}, {"title.bmp", true, bmpOf(opening)}});
}

TEST_F(Builder, StoresPicturesAsTheWizardMarksThem) {
    const std::string garden = magFile(3);
    const std::string photo(7000, 'j');
    const std::string sky = std::string(3 * 2048, 's');
    file("data/pict/a.mag", garden);
    file("data/photo.jpg", photo);
    file("data/sky.bmp", sky);
    file("data/empty.bmp", "");
    file("data/other.png", "png");
    TPackageBuilder& b = comic({}, {"Graphic \"pict\\a.mag\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"photo.jpg\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"sky.bmp\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"empty.bmp\",0,0,0,1,\"None\",0,0,0,",
                                    "ClickAble \"本\",\"一\",\"other.png\",2,1,1,0,"});
    b.CollectFiles();
    b.LinkList.back().Flag = 1; // marked for compression in the wizard
    const fs::path archive = folder.path() / "c.cpf";
    std::vector<std::string> progress;
    b.OnProgress = [&](const TPackageFile& f, int position, int maximum) {
        progress.push_back(toUtf8(f.Name) + " " + std::to_string(position) + "/" +
                           std::to_string(maximum));
    };
    ASSERT_TRUE(b.BuildPackage(archive));
    EXPECT_EQ(progress, (std::vector<std::string>{"a.mag 0/4", "photo.jpg 1/4", "sky.bmp 2/4",
                                                  "empty.bmp 3/4", "other.png 4/4"}));
    ASSERT_FALSE(bmpOf(garden).empty());
    test::expectArchiveHolds(archive, {{"Comic.csf", false, b.ScriptStream},
                                       {"a.bmp", true, bmpOf(garden)},
                                       {"photo.jpg", false, photo},
                                       {"sky.bmp", true, sky},
                                       {"empty.bmp", true, ""},
                                       {"other.png", true, "png"}});
    EXPECT_NE(b.ScriptStream.find("Graphic \"pict\\a.bmp\""), std::string::npos);
    EXPECT_TRUE(b.NotStored.empty());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Builder, TwoFilesOfTheSameNameGiveTwoEntriesAndReadersFindTheFirst) {
    file("data/a/same.jpg", "first");
    file("data/b/same.jpg", "second");
    TPackageBuilder& b = comic({}, {"Graphic \"a\\same.jpg\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"b\\same.jpg\",0,0,0,1,\"None\",0,0,0,"});
    b.CollectFiles();
    const fs::path archive = folder.path() / "c.cpf";
    ASSERT_TRUE(b.BuildPackage(archive));
    test::expectArchiveHolds(archive, {{"Comic.csf", false, b.ScriptStream},
                                       {"same.jpg", false, "first"},
                                       {"same.jpg", false, "second"}});
    LFileReader reader(prompter);
    ASSERT_TRUE(reader.Open(archive));
    std::ostringstream found;
    ASSERT_TRUE(reader.Extract("same.jpg", found));
    EXPECT_EQ(found.str(), "first");
}

TEST_F(Builder, LeavesOutWhatCannotBeStoredAndGoesOn) {
    const std::string good = magFile(4);
    file("data/good.mag", good);
    file("data/broken.mag", good.substr(0, good.size() - 10));
    file("data/vanishing.jpg", "soon gone");
    file("data/kept.jpg", "kept");
    TPackageBuilder& b = comic({}, {"Graphic \"broken.mag\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"vanishing.jpg\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"good.mag\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"kept.jpg\",0,0,0,1,\"None\",0,0,0,"});
    b.CollectFiles();
    fs::remove(folder.path() / "comic/data/vanishing.jpg");
    const fs::path archive = folder.path() / "c.cpf";
    ASSERT_TRUE(b.BuildPackage(archive));
    test::expectArchiveHolds(archive, {{"Comic.csf", false, b.ScriptStream},
                                       {"good.bmp", true, bmpOf(good)},
                                       {"kept.jpg", false, "kept"}});
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{"Failed by MMAG_MagtoBmp"});
    EXPECT_EQ(prompter.records().at(0).kind, MessageKind::Warning);
    ASSERT_EQ(b.NotStored.size(), 2u);
    EXPECT_EQ(b.NotStored[0].File.Name, "broken.mag");
    EXPECT_EQ(b.NotStored[1].File.Name, "vanishing.jpg");
    EXPECT_EQ(b.NotStored[1].Reason,
              "the file cannot be read: " + (folder.path() / "comic/data/vanishing.jpg").string() +
                  ": cannot open: No such file or directory");
}

TEST_F(Builder, AllOrNothingWritesNoArchiveWhenAFileIsLeftOutAndKeepsTheOldOne) {
    file("data/kept.jpg", "kept");
    file("data/vanishing.jpg", "soon gone");
    TPackageBuilder& b = comic({}, {"Graphic \"vanishing.jpg\",0,0,0,1,\"None\",0,0,0,",
                                    "Graphic \"kept.jpg\",0,0,0,1,\"None\",0,0,0,"});
    b.StoreAllOrNothing = true;
    b.CollectFiles();
    fs::remove(folder.path() / "comic/data/vanishing.jpg");
    const fs::path archive = folder.write("c.cpf", "the old package");
    int stored = 0;
    b.OnProgress = [&](const TPackageFile&, int, int) {
        ++stored;
    };
    EXPECT_FALSE(b.BuildPackage(archive));
    EXPECT_EQ(stored, 2) << "every file is tried, so that all that fail are named";
    ASSERT_EQ(b.NotStored.size(), 1u);
    EXPECT_EQ(b.NotStored[0].File.Name, "vanishing.jpg");
    EXPECT_EQ(test::readFile(archive), "the old package");
    EXPECT_TRUE(prompter.messages().empty());

    b.RemoveLinkFile(0);
    ASSERT_TRUE(b.BuildPackage(archive));
    test::expectArchiveHolds(archive,
                             {{"Comic.csf", false, b.ScriptStream}, {"kept.jpg", false, "kept"}});
}

TEST_F(Builder, AFileTakenOutOfAListMayBeAddedAgainOnce) {
    file("data/a.wav", "a");
    file("data/b.jpg", "b");
    TPackageBuilder& b = comic({}, {});
    ASSERT_TRUE(b.AddCopyFile("a.wav"));
    ASSERT_TRUE(b.AddLinkFile("b.jpg"));
    b.LinkList[0].Flag = 1; // compressed in the wizard: still the same file
    EXPECT_TRUE(b.AddLinkFile("B.JPG"));
    EXPECT_EQ(b.LinkList.size(), 1u);
    b.RemoveCopyFile(0);
    b.RemoveLinkFile(0);
    EXPECT_TRUE(b.CopyList.empty());
    EXPECT_TRUE(b.AddCopyFile("a.wav"));
    EXPECT_TRUE(b.AddCopyFile("a.wav"));
    EXPECT_TRUE(b.AddLinkFile("b.jpg"));
    EXPECT_EQ(names(b.CopyList), std::vector<std::string>{"0 data/a.wav a.wav"});
    EXPECT_EQ(names(b.LinkList), std::vector<std::string>{"0 data/b.jpg b.jpg"});
}

TEST_F(Builder, AnArchiveThatCannotBeWrittenIsReported) {
    TPackageBuilder& b = comic({}, {});
    b.CollectFiles();
    const fs::path missing = folder.path() / "missing" / "c.cpf";
    EXPECT_FALSE(b.BuildPackage(missing));
    EXPECT_FALSE(b.BuildPackage(""));
    // The system's reason follows on a second line when a file was refused.
    EXPECT_EQ(prompter.messages(),
              (std::vector<std::string>{"Error : LFile_FileLinkageEnd()\n" + missing.string() +
                                            sj(": ファイルまたはフォルダが見つかりません。"),
                                        "Error : LFile_FileLinkageEnd()"}));
}

TEST_F(Builder, BuildsWithItsTemporariesInTheTemporaryFolderAndLeavesNoneBehind) {
    TempFolder temporaries;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", temporaries.path().c_str(), 1);
    file("data/a.bmp", "a");
    TPackageBuilder& b = comic({}, {"Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,"});
    b.CollectFiles();
    const bool built = b.BuildPackage(folder.path() / "c.cpf");
    const bool leftovers = fs::directory_iterator(temporaries.path()) != fs::directory_iterator();
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_TRUE(built);
    EXPECT_FALSE(leftovers);
    test::expectArchiveHolds(folder.path() / "c.cpf",
                             {{"Comic.csf", false, b.ScriptStream}, {"a.bmp", true, "a"}});
    EXPECT_FALSE(fs::exists("LHTemp.tmp"));
    EXPECT_FALSE(fs::exists("LDTemp.tmp"));
}

// ---------------------------------------------------------------------------
// Copying.

TEST_F(Builder, CopiesBesideTheArchiveReplacingFilesOfTheSameName) {
    file("data/theme.mid", "midi");
    file("data/Chime.WAV", "wave");
    TPackageBuilder& b =
        comic({}, {"Music \"theme.mid\",0,", "Sound \"chime.wav\",1,"}); // named in another case
    b.CollectFiles();
    const fs::path out = folder.path() / "out";
    folder.write("out/theme.mid", "old midi");
    b.CopyFiles(out / "c.cpf");
    EXPECT_EQ(test::readFile(out / "theme.mid"), "midi");
    EXPECT_EQ(test::readFile(out / "chime.wav"), "wave");
    EXPECT_TRUE(b.NotCopied.empty());
}

TEST_F(Builder, CopyingIntoTheFolderTheFilesComeFromKeepsThemWhole) {
    file("theme.mid", "midi");
    TPackageBuilder& b = comic({}, {"Music \"theme.mid\",0,"});
    b.CollectFiles();
    b.CopyFiles(folder.path() / "comic" / "c.cpf");
    EXPECT_EQ(test::readFile(folder.path() / "comic" / "theme.mid"), "midi");
    EXPECT_TRUE(b.NotCopied.empty());

    b.CopyFiles(folder.path() / "missing" / "c.cpf");
    ASSERT_EQ(b.NotCopied.size(), 1u);
    EXPECT_EQ(b.NotCopied[0].File.Name, "theme.mid");
    EXPECT_TRUE(prompter.messages().empty());
}

} // namespace
} // namespace pagora
