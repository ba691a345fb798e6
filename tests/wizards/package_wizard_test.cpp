#include "dialog_fixture.h"
#include "gui/qt_text.h"
#include "package/lfile_reader.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "wizards/package_target.h"
#include "wizards/package_wizard.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <sstream>

namespace fs = std::filesystem;

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

const std::string kMissingHead = "コミックファイルからアクセスされているファイルが見つかりません\n";

// The package wizard over a copy of the sample comic (its pictures and
// sounds in the data folder "data"), with a folder "dist" for packages.
class PackageWizard : public DialogTest {
protected:
    PackageWizard() {
        fs::copy(fs::path(PAGORA_SOURCE_DIR) / "examples" / "sample", folder.path() / "comic",
                 fs::copy_options::recursive);
        fs::create_directories(dist);
    }

    void load(const fs::path& comicFile = {}) {
        wizard.load(comicFile.empty() ? sample : comicFile, "data");
    }
    QStringList items(const char* name) {
        QStringList texts;
        auto& list = child<QListWidget>(wizard, name);
        for (int row = 0; row < list.count(); ++row)
            texts << list.item(row)->text();
        return texts;
    }
    void select(const char* name, std::initializer_list<int> rows) {
        auto& list = child<QListWidget>(wizard, name);
        list.clearSelection();
        for (const int row : rows)
            list.item(row)->setSelected(true);
    }
    QString nextCaption() { return child<QPushButton>(wizard, "btnNext").text(); }
    bool prevEnabled() { return child<QPushButton>(wizard, "btnPrev").isEnabled(); }
    QString executeText() { return child<QLabel>(wizard, "lblExecute").text(); }
    // From the first page to the copy list, with the package named.
    void toCopyPage(const fs::path& archive) {
        wizard.btnNextClick();
        child<QLineEdit>(wizard, "edtTargetLinkFile").setText(pathText(archive));
        wizard.btnNextClick();
        wizard.btnNextClick();
        ASSERT_EQ(wizard.PageIndex(), 3);
    }

    const fs::path sample = folder.path() / "comic" / "Sample.csf";
    const fs::path data = folder.path() / "comic" / "data";
    const fs::path dist = folder.path() / "dist";
    TfrmLinkage wizard{services};
};

TEST_F(PackageWizard, ShowsWhatTheSampleUsesAndMovesThroughItsPages) {
    load();
    EXPECT_EQ(wizard.objectName(), QStringLiteral("TfrmLinkage"));
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Linkage file utility"));
    EXPECT_TRUE(prompter.records().empty()) << "the sample misses no file";
    EXPECT_EQ(items("lstLinkFile"), QStringList({"[lz] sky.bmp", "[lz] house.bmp", "[lz] haru.bmp",
                                                 "[lz] [bmp] garden.mag", "[lz] button.bmp"}));
    EXPECT_EQ(items("lstCopyFile"), QStringList({"theme.mid", "chime.wav"}));

    const std::vector<std::tuple<int, bool, QString>> pages = {
        {0, false, "次へ >>"}, {1, true, "次へ >>"}, {2, true, "次へ >>"}, {3, true, "開始"}};
    for (const auto& [page, prev, caption] : pages) {
        EXPECT_EQ(wizard.PageIndex(), page);
        EXPECT_EQ(prevEnabled(), prev) << page;
        EXPECT_EQ(nextCaption(), caption) << page;
        wizard.btnNextClick();
    }
    EXPECT_EQ(wizard.PageIndex(), 1) << "no package name: back to the name page";
    prompter.clear();
    prompter.queuePath(dist / "Chosen.cpf");
    wizard.btnTargetLinkFileOpenClick();
    EXPECT_EQ(prompter.records().at(0).call, Call::SaveFile);
    EXPECT_EQ(child<QLineEdit>(wizard, "edtTargetLinkFile").text(), pathText(dist / "Chosen.cpf"));
    wizard.btnPrevClick();
    EXPECT_EQ(wizard.PageIndex(), 0);
    wizard.btnPrevClick();
    EXPECT_EQ(wizard.PageIndex(), 0);

    wizard.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic125"));
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("package.html"));
    wizard.btnCancelClick();
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
}

TEST_F(PackageWizard, BuildsTheSamplesPackageAndCopiesItsSoundsBesideIt) {
    load();
    const fs::path archive = dist / "Sample.cpf";
    toCopyPage(archive);
    // What the window shows while it builds: the events of the window are
    // handled between the files, and closing it is refused meanwhile.
    QStringList seen;
    int closed = 0;
    QObject::connect(&wizard, &QDialog::finished, [&] { ++closed; });
    QTimer::singleShot(0, &wizard, [&] {
        seen << executeText() << QString::number(wizard.PageIndex())
             << QString::number(child<QPushButton>(wizard, "btnNext").isEnabled());
        wizard.btnCancelClick();
        wizard.reject();
    });
    wizard.btnNextClick();
    EXPECT_EQ(seen, QStringList({"しばらくお待ち下さい", "4", "0"}));
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(wizard.built());
    EXPECT_EQ(wizard.PageIndex(), 4);
    EXPECT_EQ(executeText(), QStringLiteral("終了しました"));
    EXPECT_EQ(child<QProgressBar>(wizard, "ProgressBar").value(), 4);
    EXPECT_FALSE(prevEnabled());
    EXPECT_EQ(nextCaption(), QStringLiteral("終了"));
    EXPECT_TRUE(prompter.records().empty()) << utf8Messages(prompter);

    LFileReader reader(prompter);
    ASSERT_TRUE(reader.Open(archive));
    ASSERT_TRUE(reader.CheckDirectory());
    std::vector<std::pair<std::string, std::uint32_t>> entries;
    for (std::uint32_t index = 0; index < reader.Count; ++index) {
        LFileEntry entry;
        ASSERT_TRUE(reader.ReadEntry(index, entry));
        entries.emplace_back(FieldText(entry.Name), entry.Flags);
    }
    EXPECT_EQ(entries,
              (std::vector<std::pair<std::string, std::uint32_t>>{{"Comic.csf", 0},
                                                                  {"sky.bmp", 0x80000000u},
                                                                  {"house.bmp", 0x80000000u},
                                                                  {"haru.bmp", 0x80000000u},
                                                                  {"garden.bmp", 0x80000000u},
                                                                  {"button.bmp", 0x80000000u}}));
    std::ostringstream sky;
    ASSERT_TRUE(reader.Extract("sky.bmp", sky));
    EXPECT_EQ(sky.str(), readFile(data / "sky.bmp"));
    std::vector<std::string> script;
    ASSERT_TRUE(reader.LoadStrings("Comic.csf", script));
    EXPECT_NE(std::ranges::find(script, "Graphic \"garden.bmp\",0,0,0,1,\"Blind\",0,0,0,"
                                        "\"/POS:0,20,319,219\""),
              script.end());
    EXPECT_EQ(readFile(dist / "theme.mid"), readFile(data / "theme.mid"));
    EXPECT_EQ(readFile(dist / "chime.wav"), readFile(data / "chime.wav"));

    wizard.btnNextClick();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
}

TEST_F(PackageWizard, AMissingPictureIsNamedBeforeTheWizardShowsAndIsNotListed) {
    std::vector<std::string> lines = sampleComicLines({"DataDirectory=data"});
    const auto page = std::ranges::find(lines, std::string("<Page=\"はじまり\">"));
    lines.insert(page + 1, {"Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,",
                            "Graphic \"gone.bmp\",0,0,0,1,\"None\",0,0,0,"});
    folder.write("comic/data/a.bmp", "BM");
    load(folder.write("comic/Gone.csf", comicFileBytes(lines)));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kMissingHead + "gone.bmp, ")});
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(items("lstLinkFile"), QStringList{"[lz] a.bmp"});
    EXPECT_TRUE(items("lstCopyFile").isEmpty());
}

struct DrawCase {
    int flag;
    const char* name;
    const char* drawn;
};

class PackageListText : public ::testing::TestWithParam<DrawCase> {};

TEST_P(PackageListText, MarksConvertedAndCompressedFiles) {
    const DrawCase& c = GetParam();
    const TPackageFile file{c.flag, fs::path("/comic/data") / c.name, c.name};
    EXPECT_EQ(TfrmLinkage::lstLinkFileDrawItem(file), QString::fromUtf8(c.drawn));
    EXPECT_EQ(TfrmLinkage::lstCopyFileDrawItem(file), QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(Files, PackageListText,
                         ::testing::Values(DrawCase{0, "a.jpg", "a.jpg"},
                                           DrawCase{1, "a.jpg", "[lz] a.jpg"},
                                           DrawCase{0, "b.mag", "[bmp] b.mag"},
                                           DrawCase{1, "B.MAG", "[lz] [bmp] B.MAG"},
                                           DrawCase{1, "c.bmp", "[lz] c.bmp"}));

TEST_F(PackageWizard, CompressAndUncompressChangeTheSelectedFilesOnly) {
    load();
    select("lstLinkFile", {0, 3});
    wizard.btnDisableClick();
    EXPECT_EQ(items("lstLinkFile"), QStringList({"sky.bmp", "[lz] house.bmp", "[lz] haru.bmp",
                                                 "[bmp] garden.mag", "[lz] button.bmp"}));
    select("lstLinkFile", {3});
    wizard.btnCompressClick();
    EXPECT_EQ(items("lstLinkFile")[3], QStringLiteral("[lz] [bmp] garden.mag"));
    EXPECT_EQ(wizard.builder().LinkList[0].Flag, 0);
    EXPECT_EQ(wizard.builder().LinkList[3].Flag, 1);
}

TEST_F(PackageWizard, AddsOnlyFilesOfTheDataOrComicFolderAndEachOnce) {
    load();
    folder.write("comic/data/pict/extra.jpg", "jpg");
    folder.write("comic/readme.txt", "text");
    const fs::path outside = folder.write("elsewhere/other.jpg", "jpg");
    for (const fs::path& chosen :
         {data / "pict" / "extra.jpg", folder.path() / "comic" / "readme.txt", outside,
          data / "sky.bmp"})
        prompter.queuePath(chosen);
    for (int i = 0; i < 4; ++i)
        wizard.btnLinkAddClick();
    EXPECT_EQ(items("lstLinkFile"),
              QStringList({"[lz] sky.bmp", "[lz] house.bmp", "[lz] haru.bmp",
                           "[lz] [bmp] garden.mag", "[lz] button.bmp", "extra.jpg", "readme.txt"}));
    EXPECT_EQ(prompter.records()[0].call, Call::OpenFile);
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{toCp932Replacing(
                  "このファイルはパッケージに入れられません。\n"
                  "データのフォルダかコミックファイルのフォルダにあるファイルを選んで下さい。\n" +
                  outside.string())});

    // A file taken out may come back.
    select("lstCopyFile", {0, 1});
    wizard.btnCopyDelClick();
    EXPECT_TRUE(items("lstCopyFile").isEmpty());
    prompter.queuePath(data / "chime.wav");
    wizard.btnCopyAddClick();
    EXPECT_EQ(items("lstCopyFile"), QStringList{"chime.wav"});
    EXPECT_EQ(wizard.builder().CopyList.size(), 1u);
}

// Package names that would lose or mix up the comic's files: refused with a
// message, back on the name page, nothing written.
struct TargetCase {
    const char* label;
    const char* relative; // to the test's folder; "" for no name
    const char* message;  // UTF-8, $F for the test's folder
};

std::ostream& operator<<(std::ostream& out, const TargetCase& c) {
    return out << c.label;
}

class PackageTarget : public PackageWizard, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(PackageTarget, IsRefusedBeforeAnythingIsWritten) {
    const TargetCase& c = GetParam();
    const std::string comicBefore = readFile(sample);
    load();
    const fs::path archive =
        std::string_view(c.relative).empty() ? fs::path() : folder.path() / c.relative;
    toCopyPage(archive);
    wizard.btnNextClick();
    std::string message = c.message;
    if (const std::size_t at = message.find("$F"); at != std::string::npos)
        message.replace(at, 2, folder.path().string());
    EXPECT_EQ(utf8Messages(prompter), message + "\n");
    EXPECT_EQ(wizard.PageIndex(), 1);
    EXPECT_FALSE(wizard.built());
    EXPECT_EQ(readFile(sample), comicBefore);
    EXPECT_FALSE(fs::exists(folder.path() / "comic" / "theme.mid"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, PackageTarget,
    ::testing::Values(
        TargetCase{"NoName", "", "パッケージファイル名を入力して下さい。"},
        TargetCase{"TheComicItself", "comic/Sample.csf",
                   "パッケージファイルにコミックファイル自身が指定されています。\n"
                   "このまま作成すると、コミックファイル（スクリプト）が失われてしまいます。"},
        TargetCase{"TheComicItselfAnotherWay", "comic/data/../Sample.csf",
                   "パッケージファイルにコミックファイル自身が指定されています。\n"
                   "このまま作成すると、コミックファイル（スクリプト）が失われてしまいます。"},
        TargetCase{"TheComicsFolder", "comic/Sample.cpf",
                   "コミックファイルやデータのフォルダとは別のフォルダを指定して下さい。"},
        TargetCase{"TheDataFolder", "comic/data/Sample.cpf",
                   "コミックファイルやデータのフォルダとは別のフォルダを指定して下さい。"},
        TargetCase{"AFolderThatIsNotThere", "missing/Sample.cpf",
                   "パッケージファイルを作るフォルダが見つかりません。\n$F/missing"},
        TargetCase{"AFolder", "dist",
                   "パッケージファイル名にフォルダが指定されています。\n$F/dist"}));

TEST_F(PackageWizard, ANameWhoseFilesWouldReplaceOtherFilesOfTheComicIsRefused) {
    folder.write("comic/data/pict/p.bmp", "BM");
    folder.write("comic/data/pict/theme.mid", "another tune");
    TPackageBuilder builder(prompter, sample, "data");
    builder.CollectFiles();
    ASSERT_TRUE(builder.AddLinkFile("pict\\p.bmp"));
    const std::string replaced =
        "パッケージを作ると、コミックで使っているファイルが上書きされてしまいます。\n";
    const std::string another = "\n別のフォルダを指定して下さい。";
    EXPECT_EQ(packageTargetProblem(data / "pict" / "p.bmp", builder),
              replaced + (data / "pict" / "p.bmp").string() + another);
    EXPECT_EQ(packageTargetProblem(data / "pict" / "Sample.cpf", builder), std::nullopt)
        << "copying theme.mid there replaces a file the comic does not use";
    ASSERT_TRUE(builder.AddCopyFile("pict\\theme.mid"));
    EXPECT_EQ(packageTargetProblem(data / "pict" / "Sample.cpf", builder),
              replaced + (data / "pict" / "theme.mid").string() + another);
    EXPECT_EQ(packageTargetProblem(dist / "Sample.cpf", builder), std::nullopt);
}

TEST_F(PackageWizard, FilesGoneSinceTheGatheringStopTheBuildAndKeepTheOldPackage) {
    const fs::path archive = dist / "Sample.cpf";
    folder.write("dist/Sample.cpf", "the old package");
    load();
    fs::remove(data / "house.bmp");
    fs::remove(data / "theme.mid");
    toCopyPage(archive);
    wizard.btnNextClick();
    EXPECT_EQ(utf8Messages(prompter), "パッケージするファイルが見つかりません。\n"
                                      "house.bmp, theme.mid\n"
                                      "ファイルを元に戻すか、リストから削除して下さい。\n");
    EXPECT_EQ(wizard.PageIndex(), 3);
    EXPECT_EQ(readFile(archive), "the old package");

    // Taken out of the lists, the rest is packaged.
    prompter.clear();
    select("lstCopyFile", {0});
    wizard.btnCopyDelClick();
    wizard.btnPrevClick();
    select("lstLinkFile", {1});
    wizard.btnLinkDelClick();
    wizard.btnNextClick();
    wizard.btnNextClick();
    EXPECT_TRUE(wizard.built());
    EXPECT_TRUE(prompter.records().empty()) << utf8Messages(prompter);
    LFileReader reader(prompter);
    ASSERT_TRUE(reader.Open(archive));
    EXPECT_EQ(reader.Count, 5u);
}

TEST_F(PackageWizard, APictureThatCannotBeStoredLeavesTheOldPackageAndReturnsToTheLists) {
    const fs::path archive = dist / "Sample.cpf";
    folder.write("dist/Sample.cpf", "the old package");
    load();
    folder.write("comic/data/garden.mag", "not a MAG picture");
    toCopyPage(archive);
    wizard.btnNextClick();
    const std::string messages = utf8Messages(prompter);
    EXPECT_EQ(messages.substr(0, messages.find('\n')), "Failed by MMAG_MagtoBmp");
    EXPECT_NE(messages.find("パッケージを作成できませんでした。次のファイルを格納できません。\n"
                            "garden.mag: the MAG picture cannot be converted\n"
                            "以前のパッケージファイルは、そのまま残っています。"),
              std::string::npos)
        << messages;
    EXPECT_EQ(wizard.PageIndex(), 3);
    EXPECT_FALSE(wizard.built());
    EXPECT_EQ(readFile(archive), "the old package");
    EXPECT_FALSE(fs::exists(dist / "theme.mid")) << "no loose files without the archive";
}

} // namespace
} // namespace pagora::test
