#include "dialog_fixture.h"
#include "gui/data_file_chooser.h"

#include <filesystem>

namespace pagora::test {
namespace {

namespace fs = std::filesystem;

class DataFiles : public DialogTest {
protected:
    // A saved comic whose data folder is "data" beside it, and a folder of
    // pictures elsewhere.
    void openWithDataFolder() {
        openComic(sampleComicLines({"DataDirectory=data"}));
        fs::create_directories(folder.path() / "data");
    }

    std::optional<QString> choose(std::optional<fs::path> path) {
        prompter.queuePath(std::move(path));
        FileChooser chooser;
        chooser.filter = "全てのファイル (*)";
        return chooseDataFile(context, chooser);
    }

    std::string dataFile(const std::string& name) {
        return readFile(folder.path() / "data" / name);
    }
};

TEST_F(DataFiles, AnUntitledComicIsRefusedBeforeAnythingIsChosen) {
    EXPECT_EQ(chooseDataFile(context, {}), std::nullopt);
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].text,
              sj("この機能を使うためには\nファイルを一度セーブする必要があります"));
}

TEST_F(DataFiles, AFileFromElsewhereIsCopiedInAndNamedBare) {
    openWithDataFolder();
    const fs::path picture = folder.write("elsewhere/空.bmp", "sky");
    EXPECT_EQ(choose(picture), QStringLiteral("空.bmp"));
    EXPECT_EQ(dataFile("空.bmp"), "sky");
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].chooser.startIn, folder.path() / "data");
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(DataFiles, AFileOfTheDataFolderOrOfTheSameNameIsLeftAsItIs) {
    openWithDataFolder();
    folder.write("data/own.cur", "own");
    EXPECT_EQ(choose(folder.path() / "data" / "." / "own.cur"), QStringLiteral("own.cur"));
    folder.write("elsewhere/own.cur", "other");
    EXPECT_EQ(choose(folder.path() / "elsewhere/own.cur"), QStringLiteral("own.cur"));
    EXPECT_EQ(dataFile("own.cur"), "own") << "never copied over";
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(DataFiles, NothingIsTakenWhenCancelledOrTheFileIsNotThere) {
    openWithDataFolder();
    EXPECT_EQ(choose(std::nullopt), std::nullopt);
    EXPECT_EQ(choose(folder.path() / "none.bmp"), std::nullopt);
    EXPECT_EQ(choose(folder.path() / "data"), std::nullopt) << "a folder";
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(DataFiles, ANameTheComicCannotHoldIsRefusedBeforeTheCopy) {
    openWithDataFolder();
    EXPECT_EQ(choose(folder.write("elsewhere/한.bmp", "x")), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("한"))) << errorBoxes[0].toStdString();
    EXPECT_FALSE(fs::exists(folder.path() / "data" / "한.bmp"));
}

TEST_F(DataFiles, AFailedCopyIsToldAndNamesNothing) {
    openComic(sampleComicLines({"DataDirectory=missing"}));
    EXPECT_EQ(choose(folder.write("elsewhere/a.wav", "a")), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("a.wav"))) << errorBoxes[0].toStdString();
}

} // namespace
} // namespace pagora::test
