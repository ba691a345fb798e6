#include "images/susie_plugin.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>

namespace pagora {
namespace {

namespace fs = std::filesystem;

// The plug-ins built beside the tests: pgx_reader.spi, pgx_reader_alt.spi,
// old_api.spi, no_getpicture.spi, no_info.spi.
const fs::path kBuilt = PAGORA_TEST_PLUGIN_DIR;

const std::string kAllTypes = "AllType   [*.*]|*.*|";
const std::string kPgxFilter = "PGX picture   [*.PGX]|*.PGX|";

// A PGX picture: "PGX1", width and height, then red, green, blue of each pixel.
std::string pgx(int width, int height, const std::vector<std::uint32_t>& pixels,
                const char* magic = "PGX1") {
    std::string bytes = magic;
    for (const int value : {width, height}) {
        bytes += static_cast<char>(value & 0xFF);
        bytes += static_cast<char>(value >> 8);
    }
    for (const std::uint32_t pixel : pixels) {
        bytes += static_cast<char>(pixel >> 16 & 0xFF);
        bytes += static_cast<char>(pixel >> 8 & 0xFF);
        bytes += static_cast<char>(pixel & 0xFF);
    }
    return bytes;
}

const std::vector<std::uint32_t> kPixels = {0x102030, 0x405060, 0x708090,
                                            0xA0B0C0, 0xD0E0F0, 0x010203};
const std::string kPicture = pgx(3, 2, kPixels);

class SusiePlugIn : public testing::Test {
protected:
    // Copies a built plug-in (or any file) into the test folder under a name.
    void install(const std::string& built, const std::string& name) {
        fs::copy_file(kBuilt / built, folder.path() / name);
    }
    int load(const std::string& bytes, Picture& picture) {
        return plugins.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      bytes.size(), &picture);
    }
    fs::path mask() const { return folder.path() / "*.SPI"; }

    test::TempFolder folder;
    TSusiePlugIn plugins;
};

TEST_F(SusiePlugIn, AnEmptyFolderGivesNoPluginsAndNoPicture) {
    plugins.LoadPlugins(mask());
    EXPECT_EQ(plugins.PluginCount(), 0);
    EXPECT_EQ(plugins.GetPlugin(0), nullptr);
    EXPECT_EQ(plugins.Filter(), kAllTypes);
    Picture picture;
    EXPECT_EQ(plugins.LoadFromFile(folder.write("a.pgx", kPicture), &picture), 0);
    EXPECT_TRUE(picture.empty());
}

TEST_F(SusiePlugIn, NoFolderMeansNoPluginsEvenWhereTheCurrentFolderHasSome) {
    install("pgx_reader.spi", "reader.spi");
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    plugins.LoadPlugins("*.spi");
    fs::current_path(previous);
    EXPECT_EQ(plugins.PluginCount(), 0);
    EXPECT_EQ(plugins.Filter(), kAllTypes);
}

TEST_F(SusiePlugIn, ListsOnlyImportPluginsThatLoad) {
    install("pgx_reader.spi", "reader.spi");
    install("old_api.spi", "OLD.SPI");
    install("no_getpicture.spi", "nopicture.Spi");
    install("no_info.spi", "noinfo.spi");
    install("pgx_reader.spi", ".hidden.spi");
    install("pgx_reader.spi", "reader.so");
    folder.write("text.spi", "not a library");
    fs::create_directory(folder.path() / "folder.spi");

    plugins.LoadPlugins(mask());
    ASSERT_EQ(plugins.PluginCount(), 2);
    const TPlug* noPicture = plugins.GetPlugin(0);
    EXPECT_EQ(noPicture->FileName, (folder.path() / "nopicture.Spi").string());
    EXPECT_EQ(noPicture->GetPicture, nullptr);
    EXPECT_NE(noPicture->IsSupported, nullptr);

    const TPlug* reader = plugins.GetPlugin(1);
    EXPECT_EQ(reader->FileName, (folder.path() / "reader.spi").string());
    EXPECT_EQ(reader->ApiVersion, "00IN");
    EXPECT_EQ(reader->PlugInName, "PGX test reader");
    EXPECT_EQ(reader->Extension, "*.PGX");
    EXPECT_EQ(reader->FileTypeName, "PGX picture");
    EXPECT_NE(reader->Handle, nullptr);
    EXPECT_NE(reader->GetPluginInfo, nullptr);
    EXPECT_NE(reader->GetPictureInfo, nullptr);
    EXPECT_NE(reader->IsSupported, nullptr);
    EXPECT_NE(reader->GetPicture, nullptr);
    EXPECT_EQ(reader->GetPreview, nullptr);
    EXPECT_EQ(plugins.GetPlugin(2), nullptr);
    EXPECT_EQ(plugins.GetPlugin(-1), nullptr);
    EXPECT_EQ(plugins.Filter(), kAllTypes + kPgxFilter + kPgxFilter);

    // A plug-in that cannot decode is passed over.
    Picture picture;
    EXPECT_EQ(load(kPicture, picture), 1);
    EXPECT_EQ(plugins.LastPluginIndex(), 1);
}

TEST_F(SusiePlugIn, LoadingTheSameFolderTwiceListsEachPluginOnce) {
    install("pgx_reader.spi", "reader.spi");
    plugins.LoadPlugins(mask());
    plugins.LoadPlugins(mask());
    EXPECT_EQ(plugins.PluginCount(), 1);
    EXPECT_EQ(plugins.Filter(), kAllTypes + kPgxFilter);

    plugins.FreePlugins();
    EXPECT_EQ(plugins.PluginCount(), 0);
    EXPECT_EQ(plugins.GetPlugin(0), nullptr);
    plugins.LoadPlugins(mask());
    EXPECT_EQ(plugins.PluginCount(), 1);
}

TEST_F(SusiePlugIn, DecodesFromFileMemoryAndStreamWithProgress) {
    install("pgx_reader.spi", "reader.spi");
    plugins.LoadPlugins(mask());
    std::vector<std::pair<int, int>> progress;
    plugins.OnWorking = [&](TSusiePlugIn& sender, int nNum, int nDenom) {
        EXPECT_EQ(&sender, &plugins);
        progress.emplace_back(nNum, nDenom);
    };

    Picture fromFile;
    ASSERT_EQ(plugins.LoadFromFile(folder.write("a.pgx", kPicture), &fromFile), 1);
    EXPECT_EQ(fromFile.Width, 3);
    EXPECT_EQ(fromFile.Height, 2);
    EXPECT_EQ(fromFile.Colors, 16777216);
    EXPECT_EQ(fromFile.Pixels, kPixels);
    EXPECT_EQ(plugins.LastPluginIndex(), 0);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));

    Picture fromMemory, fromStream;
    EXPECT_EQ(load(kPicture, fromMemory), 1);
    std::istringstream stream(kPicture);
    EXPECT_EQ(plugins.LoadFromStream(stream, &fromStream), 1);
    EXPECT_EQ(fromMemory.Pixels, kPixels);
    EXPECT_EQ(fromStream.Pixels, kPixels);

    // A picture larger than the 2 KB that IsSupported looks at.
    std::vector<std::uint32_t> large(40 * 30);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::uint32_t>(i * 2654435761u & 0xFFFFFF);
    Picture big;
    ASSERT_EQ(load(pgx(40, 30, large), big), 1);
    EXPECT_EQ(big.Pixels, large);
}

TEST_F(SusiePlugIn, RefusesWhatNoPluginReads) {
    install("pgx_reader.spi", "reader.spi");
    plugins.LoadPlugins(mask());
    Picture picture;
    EXPECT_EQ(load("GIF89a", picture), 0);
    EXPECT_EQ(load("", picture), 0);
    EXPECT_EQ(plugins.LoadFromMemory(nullptr, 10, &picture), 0);
    EXPECT_EQ(plugins.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(kPicture.data()),
                                     kPicture.size(), nullptr),
              0);
    EXPECT_EQ(plugins.LoadFromFile(folder.path() / "missing.pgx", &picture), 0);
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(plugins.LastPluginIndex(), -1);
}

TEST_F(SusiePlugIn, TheFirstPluginInListOrderDecodes) {
    for (const bool altFirst : {true, false}) {
        SCOPED_TRACE(altFirst ? "alternative first" : "reader first");
        test::TempFolder pair;
        fs::copy_file(kBuilt / (altFirst ? "pgx_reader_alt.spi" : "pgx_reader.spi"),
                      pair.path() / "a.spi");
        fs::copy_file(kBuilt / (altFirst ? "pgx_reader.spi" : "pgx_reader_alt.spi"),
                      pair.path() / "b.spi");
        TSusiePlugIn two;
        two.LoadPlugins(pair.path() / "*.spi");
        ASSERT_EQ(two.PluginCount(), 2);
        Picture picture;
        ASSERT_EQ(two.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(kPicture.data()),
                                     kPicture.size(), &picture),
                  1);
        EXPECT_EQ(picture.Pixels, kPixels); // both layouts give the same picture
        EXPECT_EQ(two.LastPluginIndex(), 0);
        EXPECT_EQ(two.GetPlugin(0)->PlugInName,
                  altFirst ? "PGX test reader (alt)" : "PGX test reader");
    }
}

TEST_F(SusiePlugIn, AFailedDecodingPassesToTheNextPlugin) {
    install("pgx_reader.spi", "a.spi");
    install("pgx_reader_alt.spi", "b.spi");
    plugins.LoadPlugins(mask());
    Picture picture;
    ASSERT_EQ(load(pgx(3, 2, kPixels, "PGXE"), picture), 1);
    EXPECT_EQ(plugins.LastPluginIndex(), 1);
    EXPECT_EQ(picture.Pixels, kPixels);
}

TEST_F(SusiePlugIn, ABitmapLargerThanItsBlocksIsRefusedAndFreed) {
    install("pgx_reader.spi", "reader.spi");
    plugins.LoadPlugins(mask());
    Picture picture;
    picture.Width = 7;
    EXPECT_EQ(load(pgx(3, 2, kPixels, "PGXB"), picture), 0);
    EXPECT_EQ(picture.Width, 7);
    EXPECT_TRUE(picture.empty());
}

TEST_F(SusiePlugIn, AnErrorInTheProgressHandlerReachesTheCaller) {
    install("pgx_reader.spi", "reader.spi");
    plugins.LoadPlugins(mask());
    int calls = 0;
    plugins.OnWorking = [&](TSusiePlugIn&, int, int) {
        ++calls;
        throw std::runtime_error("cancelled");
    };
    Picture picture;
    EXPECT_THROW(load(kPicture, picture), std::runtime_error);
    EXPECT_EQ(calls, 1);
    plugins.OnWorking = nullptr;
    EXPECT_EQ(load(kPicture, picture), 1);
}

} // namespace
} // namespace pagora
