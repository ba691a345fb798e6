#include "images/picture_loader.h"
#include "platform/scripted_prompter.h"
#include "support/bmp_writer.h"
#include "support/mag_encoder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

namespace fs = std::filesystem;

constexpr PictureReader kAll[] = {PictureReader::PlugIns, PictureReader::Mag, PictureReader::Bmp};
constexpr PictureReader kBuiltIn[] = {PictureReader::Mag, PictureReader::Bmp};

// "PGX1", width and height, then red, green, blue of each pixel: what the
// test plug-in reads.
std::string pgx(int width, int height, std::uint32_t pixel) {
    std::string bytes = "PGX1";
    for (const int value : {width, height}) {
        bytes += static_cast<char>(value & 0xFF);
        bytes += static_cast<char>(value >> 8);
    }
    for (int i = 0; i < width * height; ++i)
        for (const int shift : {16, 8, 0})
            bytes += static_cast<char>(pixel >> shift & 0xFF);
    return bytes;
}

class LoadPicture : public testing::Test {
protected:
    LoadPicture() {
        fs::create_directories(folder.path() / "plugins");
        fs::copy_file(fs::path(PAGORA_TEST_PLUGIN_DIR) / "pgx_reader.spi",
                      folder.path() / "plugins" / "pgx_reader.spi");
    }
    PictureLoad load(const std::string& name, std::span<const PictureReader> order) {
        return loadPicture(folder.path() / name, order, folder.path() / "plugins" / "*.SPI",
                           prompter);
    }

    test::TempFolder folder;
    ScriptedPrompter prompter;
};

TEST_F(LoadPicture, OffersTheFileToEachReaderInTurn) {
    folder.write("a.bmp", test::bmpFileBytes(test::filledPicture(5, 4, 0x123456)));
    folder.write("b.mag",
                 test::encodeMag(test::drawnMagPicture(16, 16, 8), test::FlagPolicy::Greedy).bytes);
    folder.write("c.pgx", pgx(3, 2, 0xA0B0C0));

    const PictureLoad bmp = load("a.bmp", kAll);
    ASSERT_TRUE(bmp.picture);
    EXPECT_EQ(bmp.picture->Width, 5);
    EXPECT_EQ(bmp.picture->at(4, 3), 0x123456u);
    const PictureLoad mag = load("b.mag", kAll);
    ASSERT_TRUE(mag.picture);
    EXPECT_EQ(mag.picture->Height, 8);
    const PictureLoad plugIn = load("c.pgx", kAll);
    ASSERT_TRUE(plugIn.picture);
    EXPECT_EQ(plugIn.picture->at(2, 1), 0xA0B0C0u);
    // without the plug-ins nothing reads it
    EXPECT_FALSE(load("c.pgx", kBuiltIn).picture);
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(LoadPicture, ABrokenMagPictureWarnsAndGivesNothing) {
    std::string bytes =
        test::encodeMag(test::drawnMagPicture(16, 16, 8), test::FlagPolicy::Literal).bytes;
    bytes.resize(bytes.size() - 10);
    folder.write("cut.mag", bytes);
    const PictureLoad load = this->load("cut.mag", kBuiltIn);
    EXPECT_FALSE(load.picture);
    EXPECT_FALSE(load.tooLarge);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{"Failed by MMAG_MagtoBmp"});
}

TEST_F(LoadPicture, RefusesAPictureTooLargeBeforeDecodingIt) {
    folder.write("huge.bmp", test::monochromeBmpBytes(9000, 9000));
    const PictureLoad huge = load("huge.bmp", kBuiltIn);
    EXPECT_FALSE(huge.picture);
    EXPECT_TRUE(huge.tooLarge);

    folder.write("large.bmp", test::monochromeBmpBytes(8000, 8000));
    const PictureLoad large = load("large.bmp", kBuiltIn);
    ASSERT_TRUE(large.picture);
    EXPECT_EQ(large.picture->Width, 8000);
    EXPECT_EQ(large.picture->at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(large.picture->at(7999, 7999), 0x000000u);
}

TEST_F(LoadPicture, GivesNothingForWhatCannotBeRead) {
    folder.write("text.bmp", "not a picture");
    EXPECT_FALSE(load("text.bmp", kAll).picture);
    EXPECT_FALSE(load("missing.bmp", kAll).picture);
    EXPECT_FALSE(load("plugins", kAll).picture);
    EXPECT_TRUE(prompter.records().empty());
}

TEST(KeepTopDivision, KeepsTheFirstOfTheStackedStates) {
    Picture states = test::filledPicture(4, 30, 0x0000FF);
    for (int i = 0; i < 40; ++i)
        states.Pixels[static_cast<std::size_t>(i)] = 0xFF0000;
    keepTopDivision(states, 3);
    EXPECT_EQ(states.Height, 10);
    EXPECT_EQ(states.Pixels.size(), 40u);
    EXPECT_EQ(states.at(3, 9), 0xFF0000u);

    Picture thin = test::filledPicture(4, 2, 0);
    keepTopDivision(thin, 5);
    EXPECT_EQ(thin.Height, 1);
    for (const int whole : {1, 0, -3}) {
        Picture kept = test::filledPicture(4, 30, 0);
        keepTopDivision(kept, whole);
        EXPECT_EQ(kept.Height, 30) << whole;
    }
}

} // namespace
} // namespace pagora
