#include "platform/encoding.h"
#include "platform/file_lookup.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::TempFolder;

TEST(FileLookup, MatchesEachPartInAnyCaseWithEitherSeparator) {
    TempFolder folder;
    const fs::path picture = folder.write("Data/Pict/Night/Scene.BMP", "x");
    FileLookup lookup;
    for (const char* name : {"data\\pict\\night\\scene.bmp", "Data/Pict/Night/Scene.BMP",
                             "DATA\\\\pict/NIGHT\\SCENE.bmp", "/data/pict/night/scene.bmp\\"})
        EXPECT_EQ(lookup.resolve(folder.path(), name), picture) << name;
    EXPECT_EQ(lookup.resolve(folder.path(), toCp932("data\\pict\\night\\")),
              folder.path() / "Data" / "Pict" / "Night");
}

TEST(FileLookup, TheExactNameWinsOverACaseVariantBeforeAndAfterListing) {
    TempFolder folder;
    folder.write("a.bmp", "lower");
    const fs::path upper = folder.write("A.bmp", "upper");
    FileLookup lookup;
    EXPECT_EQ(lookup.resolve(folder.path(), "A.bmp"), upper);
    EXPECT_EQ(lookup.foldersListed(), 0);
    EXPECT_EQ(lookup.resolve(folder.path(), "missing.bmp"), folder.path() / "missing.bmp");
    EXPECT_EQ(lookup.foldersListed(), 1);
    EXPECT_EQ(lookup.resolve(folder.path(), "A.bmp"), upper);
    EXPECT_EQ(lookup.resolve(folder.path(), "a.bmp"), folder.path() / "a.bmp");
}

TEST(FileLookup, ListsEachFolderOnceHoweverManyNamesMiss) {
    TempFolder folder;
    const fs::path first = folder.write("Pict/One.bmp", "1");
    const fs::path second = folder.write("Pict/Two.bmp", "2");
    FileLookup lookup;
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(lookup.resolve(folder.path(), "pict\\one.bmp"), first);
        EXPECT_EQ(lookup.resolve(folder.path(), "PICT\\TWO.BMP"), second);
        EXPECT_EQ(lookup.resolve(folder.path(), "pict\\three.bmp"),
                  folder.path() / "Pict" / "three.bmp");
    }
    EXPECT_EQ(lookup.foldersListed(), 2); // the base and Pict
}

fs::file_type typeFound(FileLookup& lookup, const fs::path& base, std::string_view name) {
    return lookup.find(base, name).value().type;
}

TEST(FileLookup, AFolderAskedAboutManyNamesIsListedOnceAndAnswersFromIt) {
    TempFolder folder;
    for (int i = 0; i < 40; ++i)
        folder.write("Pict/p" + std::to_string(i) + ".bmp", "x");
    FileLookup lookup;
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(fs::file_type::regular,
                  typeFound(lookup, folder.path(), "Pict\\p" + std::to_string(i) + ".bmp"))
            << i;
    EXPECT_EQ(lookup.foldersListed(), 2); // the base and Pict
    EXPECT_EQ(fs::file_type::regular, typeFound(lookup, folder.path(), "Pict\\P7.BMP"));
    EXPECT_EQ(fs::file_type::not_found, typeFound(lookup, folder.path(), "Pict\\p40.bmp"));
    folder.write("Pict/late.bmp", "x");
    EXPECT_EQ(fs::file_type::not_found, typeFound(lookup, folder.path(), "Pict\\late.bmp"));
    EXPECT_EQ(lookup.foldersListed(), 2); // the base and Pict
}

TEST(FileLookup, TellsWhatANameIsAndKeepsTheAnswerForTheRun) {
    TempFolder folder;
    folder.write("Pict/One.bmp", "1");
    FileLookup lookup;
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\ONE.BMP"), fs::file_type::regular);
    EXPECT_EQ(typeFound(lookup, folder.path(), "Pict/One.bmp"), fs::file_type::regular);
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict"), fs::file_type::directory);
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\two.bmp"), fs::file_type::not_found);
    EXPECT_EQ(typeFound(lookup, folder.path(), "nowhere\\one.bmp"), fs::file_type::not_found);
    folder.write("Pict/two.bmp", "2");
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\two.bmp"), fs::file_type::not_found);
    FileLookup later;
    EXPECT_EQ(typeFound(later, folder.path(), "pict\\two.bmp"), fs::file_type::regular);
}

TEST(FileLookup, ALinkToNothingIsNothingAfterListing) {
    TempFolder folder;
    folder.write("pict/a.bmp", "x");
    fs::create_symlink(folder.path() / "gone.bmp", folder.path() / "pict" / "dead.bmp");
    FileLookup lookup;
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\missing.bmp"), fs::file_type::not_found);
    EXPECT_EQ(lookup.foldersListed(), 1);
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\dead.bmp"), fs::file_type::not_found);
    EXPECT_EQ(typeFound(lookup, folder.path(), "pict\\DEAD.bmp"), fs::file_type::not_found);
    EXPECT_EQ(typeFound(lookup, folder.path(), "PICT\\A.BMP"), fs::file_type::regular);
}

// Names written as they are on disk are answered without listing the folder,
// names in another case from the listing: both know the links.
TEST(FileLookup, TellsWhetherALinkLiesOnTheWay) {
    TempFolder folder;
    folder.write("real/a.bmp", "x");
    fs::create_symlink(folder.path() / "real", folder.path() / "alias");
    fs::create_symlink(folder.path() / "real" / "a.bmp", folder.path() / "real" / "b.bmp");
    FileLookup lookup;
    const auto through = [&](std::string_view name) {
        return lookup.find(folder.path(), name).value().throughLink;
    };
    EXPECT_FALSE(through("real\\a.bmp"));
    EXPECT_TRUE(through("real\\b.bmp"));
    EXPECT_TRUE(through("alias\\a.bmp"));
    EXPECT_TRUE(through("ALIAS\\A.BMP"));
    EXPECT_TRUE(through("real\\B.BMP"));
    EXPECT_FALSE(through("REAL\\A.bmp"));
    EXPECT_TRUE(through("alias\\..\\real\\a.bmp"));
    EXPECT_EQ(lookup.find(folder.path(), "Alias\\b.bmp").value().type, fs::file_type::regular);
}

TEST(FileLookup, ANameThatDoesNotDecodeStandsForNothing) {
    TempFolder folder;
    folder.write("sub\xEF\xBF\xBD/x.bmp", "x"); // the folder "sub" + U+FFFD
    FileLookup lookup;
    EXPECT_FALSE(lookup.find(folder.path(), "sub\x85/x.bmp").has_value());
    EXPECT_EQ(lookup.resolve(folder.path(), "sub\x85/x.bmp"), fs::path());
}

TEST(FileLookup, KeepsTheWrittenPartsOfFoldersThatDoNotExist) {
    TempFolder folder;
    folder.write("pict/a.bmp", "x");
    FileLookup lookup;
    EXPECT_EQ(lookup.resolve(folder.path(), "Nowhere\\Deeper\\A.bmp"),
              folder.path() / "Nowhere" / "Deeper" / "A.bmp");
    EXPECT_EQ(lookup.resolve(folder.path() / "gone", "pict\\A.bmp"),
              folder.path() / "gone" / "pict" / "A.bmp");
    const int listed = lookup.foldersListed();
    EXPECT_EQ(lookup.resolve(folder.path() / "gone", "pict\\A.bmp"),
              folder.path() / "gone" / "pict" / "A.bmp");
    EXPECT_EQ(lookup.foldersListed(), listed);
}

TEST(FileLookup, LeavesDotPartsAndJapaneseNamesAsTheyAre) {
    TempFolder folder;
    const fs::path picture = folder.write("絵/背景.bmp", "x");
    FileLookup lookup;
    EXPECT_EQ(lookup.resolve(folder.path(), toCp932("絵\\背景.bmp")), picture);
    EXPECT_EQ(lookup.resolve(folder.path() / "絵", toCp932("..\\絵\\.\\背景.bmp")),
              folder.path() / "絵" / ".." / "絵" / "." / "背景.bmp");
}

} // namespace
} // namespace pagora
