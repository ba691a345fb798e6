#include "platform/comic_file_lookup.h"
#include "platform/encoding.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::TempFolder;

// A comic folder "comic" with a data folder "data", beside an outside folder
// and a secret, with links leading in and out.
class ComicFiles : public testing::Test {
protected:
    ComicFiles() {
        folder.write("secret.txt", "secret");
        folder.write("outside/o.bmp", "outside");
        folder.write("comic/data/a.bmp", "a");
        folder.write("comic/data/deep/d.bmp", "d");
        folder.write("comic/c.bmp", "c");
        link("../secret.txt", "comic/pic.bmp");
        link("../../secret.txt", "comic/data/pic.bmp");
        link("../outside", "comic/linkdir");
        link("data/a.bmp", "comic/alias.bmp");
        link("../c.bmp", "comic/data/up.bmp");
        link("deep", "comic/data/inner");
        link(folder.path() / "outside" / "o.bmp", "comic/data/absolute.bmp");
    }

    void link(const fs::path& target, const fs::path& at) const {
        fs::create_symlink(target, folder.path() / at);
    }

    // The file found, relative to the comic folder; empty when none.
    std::string found(std::string_view dataDirectory, std::string_view name) const {
        ComicFileLookup lookup(folder.path() / "comic", toCp932(dataDirectory));
        const fs::path path = lookup.find(toCp932(name));
        return path.empty() ? "" : path.lexically_relative(folder.path() / "comic").string();
    }

    TempFolder folder;
};

TEST_F(ComicFiles, FindsFilesWhoseRealPlaceIsInsideTheComicFolder) {
    EXPECT_EQ(found("data", "a.bmp"), "data/a.bmp");
    EXPECT_EQ(found("data", "c.bmp"), "c.bmp");
    EXPECT_EQ(found("data", "alias.bmp"), "alias.bmp");
    EXPECT_EQ(found("data", "up.bmp"), "data/up.bmp");
    EXPECT_EQ(found("data", "INNER\\d.bmp"), "data/inner/d.bmp");
    EXPECT_EQ(found("data", "deep\\..\\a.bmp"), "data/deep/../a.bmp");
    // The data folder through a link that stays inside.
    EXPECT_EQ(found("data\\inner", "d.bmp"), "data/inner/d.bmp");
}

TEST_F(ComicFiles, RefusesNamesAndLinksThatLeadOut) {
    for (const std::string_view name :
         {"pic.bmp", "PIC.BMP", "absolute.bmp", "linkdir\\o.bmp", "..\\secret.txt",
          ".\\..\\secret.txt", "data\\..\\..\\secret.txt", "linkdir\\..\\secret.txt", "data", "",
          "none.bmp"})
        EXPECT_EQ(found("data", name), "") << name;
}

// Each name is remembered as written: names that differ only in letter case
// or separator are each looked up, and an exact match wins for each.
TEST_F(ComicFiles, RemembersEachNameAsWritten) {
    folder.write("comic/data/Pict/One.bmp", "upper");
    folder.write("comic/data/pict/one.bmp", "lower");
    ComicFileLookup lookup(folder.path() / "comic", "data");
    const fs::path data = folder.path() / "comic" / "data";
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(lookup.find("Pict\\One.bmp"), data / "Pict" / "One.bmp");
        EXPECT_EQ(lookup.find("pict/one.bmp"), data / "pict" / "one.bmp");
        EXPECT_EQ(lookup.find("pict\\one.bmp"), data / "pict" / "one.bmp");
        EXPECT_EQ(lookup.find("pict\\two.bmp"), fs::path());
    }
}

// A name longer than any path is no file: it is refused before it is decoded
// or kept, so a huge name in a comic costs no copies of it.
TEST_F(ComicFiles, ANameLongerThanAnyPathIsNoFile) {
    const std::string longName(5000, 'a');
    EXPECT_EQ(found("data", longName), "");
    EXPECT_EQ(found("data", std::string(2000, '/') + "a.bmp"), "data/a.bmp");
}

TEST_F(ComicFiles, ADataFolderOutsideTheComicFolderIsNotUsed) {
    for (const std::string_view dataDirectory :
         {"linkdir", "LINKDIR", "..\\outside", "../outside"}) {
        ComicFileLookup lookup(folder.path() / "comic", toCp932(dataDirectory));
        EXPECT_EQ(lookup.dataFolder(), fs::path()) << dataDirectory;
        EXPECT_EQ(lookup.find("o.bmp"), fs::path()) << dataDirectory;
        EXPECT_EQ(lookup.find("c.bmp"), folder.path() / "comic" / "c.bmp") << dataDirectory;
    }
    EXPECT_EQ(ComicFileLookup(folder.path() / "comic", "data").dataFolder(),
              folder.path() / "comic" / "data");
    EXPECT_EQ(ComicFileLookup(folder.path() / "comic", "").dataFolder(), fs::path());
}

// 0x85 starts a double-byte character that "/" cannot end.
TEST_F(ComicFiles, RefusesNamesThatDoNotDecode) {
    folder.write("comic/data/sub\xEF\xBF\xBD/x.bmp", "x"); // "sub" + U+FFFD
    ComicFileLookup lookup(folder.path() / "comic", "data");
    EXPECT_EQ(lookup.find("sub\x85/x.bmp"), fs::path());
    EXPECT_EQ(ComicFileLookup(folder.path() / "comic", "dat\x85/").dataFolder(), fs::path());
}

} // namespace
} // namespace pagora
