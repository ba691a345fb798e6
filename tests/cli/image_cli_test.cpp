#include "cli/cli.h"
#include "images/byte_order.h"
#include "images/mag_decoder.h"
#include "support/mag_encoder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

struct ImageRun {
    int status;
    std::string out;
    std::string err;
};

ImageRun run(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = runCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

// A 16-colour MAG picture 10 pixels wide from x = 3 (16 once aligned), 21 lines.
const test::MagPicture kPicture = test::randomMagPicture(16, 3, 0, 12, 20, 4, 6);
const std::string kMag = test::encodeMag(kPicture, test::FlagPolicy::Greedy).bytes;

std::string expectedBmp() {
    const auto bmp = TM2BC::ConvertToBmp(asBytes(kMag));
    return bmp ? std::string(bmp->begin(), bmp->end()) : std::string();
}

TEST(CliMag2Bmp, WritesTheConvertedPicture) {
    TempFolder folder;
    const fs::path out = folder.path() / "out.bmp";
    const ImageRun result = run({"mag2bmp", folder.write("in.mag", kMag).string(), out.string()});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_EQ(result.err, "");
    ASSERT_FALSE(expectedBmp().empty());
    EXPECT_EQ(test::readFile(out), expectedBmp());
}

TEST(CliMag2Bmp, WarnsAndWritesNothingWhenTheConversionFails) {
    TempFolder folder;
    for (const std::string& input : {kMag.substr(0, kMag.size() - 1), std::string("plain text")}) {
        const fs::path out = folder.path() / "out.bmp";
        const ImageRun result =
            run({"mag2bmp", folder.write("in.mag", input).string(), out.string()});
        EXPECT_EQ(result.status, kExitProblems);
        EXPECT_EQ(result.err, "warning: Failed by MMAG_MagtoBmp\n");
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(CliMag2Bmp, UnreadableInputUnwritableOutputAndBadUsageFailWithTwo) {
    TempFolder folder;
    const ImageRun missing = run(
        {"mag2bmp", (folder.path() / "none.mag").string(), (folder.path() / "out.bmp").string()});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err.rfind("error: ", 0), 0u) << missing.err;

    fs::create_directory(folder.path() / "dir.bmp");
    const ImageRun overFolder = run(
        {"mag2bmp", folder.write("in.mag", kMag).string(), (folder.path() / "dir.bmp").string()});
    EXPECT_EQ(overFolder.status, kExitFailure);
    EXPECT_TRUE(fs::is_directory(folder.path() / "dir.bmp"));

    EXPECT_EQ(run({"mag2bmp", "only-one.mag"}).status, kExitFailure);
    EXPECT_EQ(run({"imginfo"}).status, kExitFailure);
    EXPECT_EQ(run({"imginfo", "a", "--plugins"}).status, kExitFailure);
}

TEST(CliImgInfo, DescribesMagAndBmpPictures) {
    TempFolder folder;
    const ImageRun mag = run({"imginfo", folder.write("in.mag", kMag).string()});
    EXPECT_EQ(mag.status, kExitDone) << mag.err;
    EXPECT_EQ(mag.out, "format: MAG\nwidth: 10\nheight: 21\ncolors: 16\n");

    const fs::path bmp = folder.path() / "out.bmp";
    ASSERT_EQ(run({"mag2bmp", (folder.path() / "in.mag").string(), bmp.string()}).status,
              kExitDone);
    const ImageRun converted = run({"imginfo", bmp.string()});
    EXPECT_EQ(converted.status, kExitDone) << converted.err;
    EXPECT_EQ(converted.out, "format: BMP\nwidth: 16\nheight: 21\ncolors: 16\n");
}

TEST(CliImgInfo, ReadsOtherFormatsThroughPlugins) {
    TempFolder folder;
    std::string pgx = "PGX1";
    pgx += std::string("\x03\x00\x02\x00", 4);
    pgx += std::string(18, '\x40');
    const fs::path file = folder.write("p.pgx", pgx);
    const fs::path plugins = PAGORA_TEST_PLUGIN_DIR;

    const ImageRun result = run({"imginfo", file.string(), "--plugins", plugins.string()});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_EQ(result.out, "format: PGX picture\nwidth: 3\nheight: 2\ncolors: 16777216\n"
                          "plug-in: " +
                              (plugins / "pgx_reader.spi").string() + "\n");

    const ImageRun without = run({"imginfo", file.string()});
    EXPECT_EQ(without.status, kExitProblems);
    EXPECT_EQ(without.out, "");
    EXPECT_EQ(without.err, "error: " + file.string() + ": not a MAG or BMP picture\n");

    const fs::path text = folder.write("t.txt", "hello");
    const ImageRun unread = run({"imginfo", text.string(), "--plugins", plugins.string()});
    EXPECT_EQ(unread.status, kExitProblems);
    EXPECT_EQ(unread.err, "error: " + text.string() + ": no plug-in reads this picture\n");
}

TEST(CliImgInfo, ReportsBrokenPicturesWithTheReason) {
    TempFolder folder;
    const fs::path cut = folder.write("cut.mag", kMag.substr(0, kMag.size() - 1));
    const ImageRun mag = run({"imginfo", cut.string()});
    EXPECT_EQ(mag.status, kExitProblems);
    EXPECT_EQ(mag.err, "error: " + cut.string() + ": not a complete MAG picture\n");

    std::string bmpBytes = expectedBmp();
    ASSERT_FALSE(bmpBytes.empty());
    bmpBytes.resize(bmpBytes.size() - 1);
    const fs::path bmp = folder.write("cut.bmp", bmpBytes);
    const ImageRun shortBmp = run({"imginfo", bmp.string()});
    EXPECT_EQ(shortBmp.status, kExitProblems);
    EXPECT_EQ(shortBmp.err,
              "error: " + bmp.string() + ": the pixel rows do not fit the bits block\n");
    EXPECT_EQ(run({"imginfo", (folder.path() / "none").string()}).status, kExitFailure);
}

} // namespace
} // namespace pagora
