#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "images/mag_decoder.h"
#include "platform/scripted_prompter.h"
#include "support/mag_encoder.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

using test::encodeMag;
using test::FlagPolicy;
using test::MagPicture;
using test::randomMagPicture;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return asBytes(text);
}

// The pixel rows of a converted BMP (after the headers and palette).
std::vector<std::uint8_t> bmpPixels(const std::vector<std::uint8_t>& bmp) {
    return {bmp.begin() + readLe32(bmp, 10), bmp.end()};
}

MagHeader readHeader(const std::string& file, MAG_INFO& info) {
    return TM2BC::MMAG_ReadHeader(bytesOf(file), info);
}

// ---------------------------------------------------------------------------
// Pictures encoded by the tests' own encoder decode to the same bytes.

struct RoundTripCase {
    const char* name;
    int colors;
    int startX, startY, endX, endY;
    FlagPolicy policy;
    int distinctUnits;
    bool usesEveryOffset;
};

class MagRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(MagRoundTrip, DecodesToThePixelsThatWereEncoded) {
    const RoundTripCase& c = GetParam();
    const MagPicture picture =
        randomMagPicture(c.colors, c.startX, c.startY, c.endX, c.endY, 7, c.distinctUnits);
    const test::MagEncoding encoding = encodeMag(picture, c.policy);
    if (c.usesEveryOffset) {
        for (int nibble = 1; nibble < 16; ++nibble) {
            ASSERT_GT(encoding.nibbleUses[static_cast<std::size_t>(nibble)], 0)
                << "the encoded picture never uses nibble " << nibble;
        }
    }

    MAG_INFO info;
    ASSERT_EQ(readHeader(encoding.bytes, info), MagHeader::Complete);
    EXPECT_EQ(info.LineBytes, picture.lineBytes());
    EXPECT_EQ(info.Height, picture.height());
    const auto bmp = TM2BC::ConvertToBmp(bytesOf(encoding.bytes));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmpPixels(*bmp), test::bottomUpRows(picture));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, MagRoundTrip,
    testing::Values(
        RoundTripCase{"SixteenColoursAllFlagsZero", 16, 0, 0, 63, 9, FlagPolicy::Literal, 40,
                      false},
        RoundTripCase{"SixteenColoursOddStartX", 16, 3, 0, 12, 20, FlagPolicy::Greedy, 3, false},
        RoundTripCase{"SixteenColoursEveryOffset", 16, 0, 0, 47, 50, FlagPolicy::Rotate, 3, true},
        RoundTripCase{"TwoFiftySixAllFlagsZero", 256, 0, 0, 99, 5, FlagPolicy::Literal, 50, false},
        RoundTripCase{"TwoFiftySixOddStartX", 256, 5, 2, 70, 40, FlagPolicy::Greedy, 4, false},
        // 6 flag bytes a line: the flag A bits of a line start inside a byte.
        RoundTripCase{"FlagABitsRunAcrossLines", 256, 0, 0, 23, 60, FlagPolicy::Rotate, 3, true},
        RoundTripCase{"OneUnitWide", 256, 0, 0, 3, 60, FlagPolicy::Greedy, 6, false}),
    [](const testing::TestParamInfo<RoundTripCase>& test) { return test.param.name; });

// ---------------------------------------------------------------------------
// The BMP headers.

struct BmpHeaderCase {
    const char* name;
    int colors;
    int startX, endX, height;
    std::uint32_t width, bitCount, paletteBytes, lineBytes;
};

class MagBmpHeader : public testing::TestWithParam<BmpHeaderCase> {};

TEST_P(MagBmpHeader, HasTheExactFields) {
    const BmpHeaderCase& c = GetParam();
    const MagPicture picture =
        randomMagPicture(c.colors, c.startX, 10, c.endX, 10 + c.height - 1, 3, 5);
    const std::string file = encodeMag(picture, FlagPolicy::Greedy).bytes;
    const auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
    ASSERT_TRUE(bmp.has_value());
    const std::uint32_t size =
        c.lineBytes * static_cast<std::uint32_t>(c.height) + c.paletteBytes + 54;
    EXPECT_EQ(bmp->size(), size);
    EXPECT_EQ(TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(file)), size);
    EXPECT_EQ((*bmp)[0], 'B');
    EXPECT_EQ((*bmp)[1], 'M');
    EXPECT_EQ(readLe32(*bmp, 2), size);
    EXPECT_EQ(readLe32(*bmp, 6), 0u);
    EXPECT_EQ(readLe32(*bmp, 10), c.paletteBytes + 54);
    EXPECT_EQ(readLe32(*bmp, 14), 40u);
    EXPECT_EQ(readLe32(*bmp, 18), c.width);
    EXPECT_EQ(readLe32(*bmp, 22), static_cast<std::uint32_t>(c.height));
    EXPECT_EQ(readLe16(*bmp, 26), 1u);
    EXPECT_EQ(readLe16(*bmp, 28), c.bitCount);
    EXPECT_EQ(std::vector<std::uint8_t>(bmp->begin() + 30, bmp->begin() + 54),
              std::vector<std::uint8_t>(24, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, MagBmpHeader,
    testing::Values(BmpHeaderCase{"SixteenColoursFromThreeToTwelve", 16, 3, 12, 4, 16, 4, 64, 8},
                    BmpHeaderCase{"TwoFiftySixHundredWide", 256, 0, 99, 7, 100, 8, 1024, 100},
                    BmpHeaderCase{"TwoFiftySixUnaligned", 256, 6, 9, 3, 8, 8, 1024, 8},
                    BmpHeaderCase{"SixteenColoursEndOnBoundary", 16, 8, 23, 2, 16, 4, 64, 8}),
    [](const testing::TestParamInfo<BmpHeaderCase>& test) { return test.param.name; });

TEST(MagPalette, BecomesBlueGreenRedZeroEntries) {
    MagPicture picture = randomMagPicture(16, 0, 0, 7, 0, 1, 2);
    picture.palette[0] = {20, 10, 30}; // red, green, blue: stored as 10, 20, 30
    picture.palette[15] = {1, 2, 3};
    picture.comment = "a garden";
    const std::string file = encodeMag(picture, FlagPolicy::Literal).bytes;
    MAG_INFO info;
    ASSERT_EQ(readHeader(file, info), MagHeader::Complete);

    std::vector<std::uint8_t> palette(64, 0xEE);
    std::string comment;
    EXPECT_EQ(TM2BC::MMAG_ReadPalette(bytesOf(file), palette, &comment, info), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(palette.begin(), palette.begin() + 4),
              (std::vector<std::uint8_t>{30, 10, 20, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(palette.end() - 4, palette.end()),
              (std::vector<std::uint8_t>{3, 2, 1, 0}));
    EXPECT_EQ(comment, "a garden");

    // The palette must lie inside the file (H + 80 for 16 colours) and fit the target.
    const std::string cut = file.substr(0, info.HeaderOffset + 79);
    EXPECT_EQ(TM2BC::MMAG_ReadPalette(bytesOf(cut), palette, nullptr, info), 1);
    std::vector<std::uint8_t> small(63);
    EXPECT_EQ(TM2BC::MMAG_ReadPalette(bytesOf(file), small, nullptr, info), 1);
    EXPECT_EQ(TM2BC::MMAG_ReadPalette(bytesOf(file), {}, nullptr, info), 0);
}

// ---------------------------------------------------------------------------
// Malformed files fail cleanly.

struct MalformedCase {
    const char* name;
    void (*spoil)(std::string& file, std::size_t h);
    MagHeader expected;
};

class MagMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(MagMalformed, IsRejectedWithItsHeaderResult) {
    const MalformedCase& c = GetParam();
    const MagPicture picture = randomMagPicture(256, 0, 0, 31, 20, 5, 6);
    const test::MagEncoding encoding = encodeMag(picture, FlagPolicy::Greedy);
    std::string file = encoding.bytes;
    c.spoil(file, encoding.headerOffset);

    MAG_INFO info;
    EXPECT_EQ(readHeader(file, info), c.expected);
    const bool headerUsable =
        c.expected == MagHeader::Complete || c.expected == MagHeader::DataBeyondEnd;
    EXPECT_EQ(TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(file)) > 0, headerUsable);
    std::vector<std::uint8_t> buffer(1 << 16);
    EXPECT_EQ(TM2BC::MMAG_MagtoBmpInMemory(bytesOf(file), buffer),
              c.expected == MagHeader::Complete ? 0 : -1);
    EXPECT_EQ(TM2BC::ConvertToBmp(bytesOf(file)).has_value(), c.expected == MagHeader::Complete);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MagMalformed,
    testing::Values(
        MalformedCase{"Valid", [](std::string&, std::size_t) {}, MagHeader::Complete},
        MalformedCase{"VersionOne", [](std::string& f, std::size_t) { f[5] = '1'; },
                      MagHeader::BadSignature},
        MalformedCase{"NoEndOfTextByte", [](std::string& f, std::size_t h) { f.resize(h - 1); },
                      MagHeader::NoHeader},
        MalformedCase{"HeaderCutShort", [](std::string& f, std::size_t h) { f.resize(h + 31); },
                      MagHeader::NoHeader},
        MalformedCase{"Empty", [](std::string& f, std::size_t) { f.clear(); }, MagHeader::NoHeader},
        MalformedCase{"TopByteNotZero", [](std::string& f, std::size_t h) { f[h] = 1; },
                      MagHeader::BadHeader},
        MalformedCase{"EndLineAboveStartLine",
                      [](std::string& f, std::size_t h) { test::patchLe16(f, h + 6, 21); },
                      MagHeader::BadHeader},
        MalformedCase{"EndColumnLeftOfAlignedStart",
                      [](std::string& f, std::size_t h) {
                          test::patchLe16(f, h + 4, 16);
                          test::patchLe16(f, h + 8, 3);
                      },
                      MagHeader::BadHeader},
        MalformedCase{"FlagBOutsideTheFile",
                      [](std::string& f, std::size_t h) { test::patchLe32(f, h + 16, 1u << 30); },
                      MagHeader::DataBeyondEnd},
        MalformedCase{"PixelOffsetPlusSizeWrapsAround",
                      [](std::string& f, std::size_t h) {
                          test::patchLe32(f, h + 24, 0xFFFFFFF0u);
                          test::patchLe32(f, h + 28, 0x20u);
                      },
                      MagHeader::DataBeyondEnd},
        MalformedCase{
            "FlagBSizeHuge",
            [](std::string& f, std::size_t h) { test::patchLe32(f, h + 20, 0xFFFFFFFFu); },
            MagHeader::DataBeyondEnd},
        MalformedCase{"FlagAOffsetPastTheEnd",
                      [](std::string& f, std::size_t h) {
                          test::patchLe32(f, h + 12, static_cast<std::uint32_t>(f.size()));
                      },
                      MagHeader::DataBeyondEnd},
        MalformedCase{"HugePictureFromATinyFile",
                      [](std::string& f, std::size_t h) {
                          test::patchLe16(f, h + 8, 0xFFFF);
                          test::patchLe16(f, h + 10, 0x2000);
                      },
                      MagHeader::DataBeyondEnd},
        MalformedCase{"PixelDataCutShort", [](std::string& f, std::size_t) { f.pop_back(); },
                      MagHeader::DataBeyondEnd}),
    [](const testing::TestParamInfo<MalformedCase>& test) { return test.param.name; });

TEST(MagMalformed, EveryTruncationFailsAndOnlyTheHeaderIsNeededForTheSize) {
    const MagPicture picture = randomMagPicture(16, 0, 0, 15, 6, 9, 4);
    const test::MagEncoding encoding = encodeMag(picture, FlagPolicy::Greedy);
    const std::string& file = encoding.bytes;
    const std::size_t fullSize = TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(file));
    ASSERT_EQ(fullSize, 8u * 7 + 64 + 54);
    std::vector<std::uint8_t> buffer(fullSize);
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::string cut = file.substr(0, length);
        SCOPED_TRACE("cut at " + std::to_string(length));
        EXPECT_EQ(TM2BC::MMAG_MagtoBmpInMemory(bytesOf(cut), buffer), -1);
        EXPECT_EQ(TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(cut)),
                  length >= encoding.headerOffset + 32 ? fullSize : 0u);
    }
}

TEST(MagMalformed, APictureTooLargeForTheBmpSizeFieldHasNoSize) {
    const test::MagEncoding encoding =
        encodeMag(randomMagPicture(256, 0, 0, 7, 3, 1, 3), FlagPolicy::Greedy);
    std::string file = encoding.bytes;
    test::patchLe16(file, encoding.headerOffset + 8, 0xFFFF);
    test::patchLe16(file, encoding.headerOffset + 10, 0xFFFF);
    EXPECT_EQ(TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(file)), 0u);
    EXPECT_FALSE(TM2BC::ConvertToBmp(bytesOf(file)).has_value());
}

TEST(MagMalformed, ABufferSmallerThanTheBmpIsRefused) {
    const std::string file =
        encodeMag(randomMagPicture(256, 0, 0, 7, 3, 1, 3), FlagPolicy::Greedy).bytes;
    std::vector<std::uint8_t> buffer(TM2BC::MMAG_GetBmpSizeInMemory(bytesOf(file)) - 1, 0xAB);
    EXPECT_EQ(TM2BC::MMAG_MagtoBmpInMemory(bytesOf(file), buffer), -1);
    buffer.push_back(0xAB);
    EXPECT_EQ(TM2BC::MMAG_MagtoBmpInMemory(bytesOf(file), buffer), 0);
}

// ---------------------------------------------------------------------------
// Flag streams that ask for more than the file declares, and copies from
// places that are not decoded yet.

TEST(MagFlagStream, FlagBAndPixelReadsPastTheirRegionsGiveZero) {
    // 40 lines of 16 bytes, every unit literal: 640 pixel bytes. Declare only
    // 300 of them, so the data runs out in the middle of line 18.
    const MagPicture original = randomMagPicture(256, 0, 0, 15, 39, 11, 200);
    const test::MagEncoding encoding = encodeMag(original, FlagPolicy::Literal);
    std::string file = encoding.bytes;
    test::patchLe32(file, encoding.headerOffset + 28, 300);
    auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
    ASSERT_TRUE(bmp.has_value());
    MagPicture expected = original;
    std::fill(expected.rows.begin() + 300, expected.rows.end(), 0);
    EXPECT_EQ(bmpPixels(*bmp), test::bottomUpRows(expected));

    // Flag A says every flag byte changes, but flag B declares no bytes: the
    // flags stay zero, so the pixel data is copied as it stands.
    std::string changed = encoding.bytes;
    for (std::size_t i = 0; i < encoding.flagABytes; ++i)
        changed[encoding.headerOffset + 32 + 768 + i] = '\xFF';
    bmp = TM2BC::ConvertToBmp(bytesOf(changed));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmpPixels(*bmp), test::bottomUpRows(original));
}

TEST(MagFlagStream, CopiesFromAboveTheTopLineGiveZeroBytes) {
    MagPicture picture = randomMagPicture(256, 0, 0, 15, 19, 13, 40);
    // The first 16 lines copy from 16 lines up: above the picture.
    const auto force = [](int line, int) {
        return line < 16 ? 15 : 0;
    };
    const std::string file = encodeMag(picture, FlagPolicy::Literal, force).bytes;
    const auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
    ASSERT_TRUE(bmp.has_value());
    std::fill(picture.rows.begin(), picture.rows.begin() + 16 * picture.lineBytes(), 0);
    EXPECT_EQ(bmpPixels(*bmp), test::bottomUpRows(picture));
}

TEST(MagFlagStream, CopiesLeftOfTheLineStartTakeOnlyDecodedUnits) {
    // 4 units a line; line 3's first unit copies with three offsets that
    // reach left of the line start.
    struct Case {
        int nibble;
        int fromLine; // -1: a place not decoded yet, read as zero
        int fromUnit;
    };
    for (const Case c : {Case{1, -1, 0}, Case{5, -1, 0}, Case{7, 2, 3}, Case{3, -1, 0}}) {
        SCOPED_TRACE("nibble " + std::to_string(c.nibble));
        const MagPicture picture = randomMagPicture(256, 0, 0, 7, 5, 17, 60);
        const auto force = [&](int line, int unit) {
            return line == 3 && unit == 0 ? c.nibble : 0;
        };
        const std::string file = encodeMag(picture, FlagPolicy::Literal, force).bytes;
        const auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
        ASSERT_TRUE(bmp.has_value());
        // Line 3 is stored in row 2 of the bottom-up output.
        const std::vector<std::uint8_t> pixels = bmpPixels(*bmp);
        const std::uint8_t first = pixels[2 * 8], second = pixels[2 * 8 + 1];
        if (c.fromLine < 0) {
            EXPECT_EQ(first, 0);
            EXPECT_EQ(second, 0);
        } else {
            EXPECT_EQ(first, picture.byteAt(c.fromLine, c.fromUnit * 2));
            EXPECT_EQ(second, picture.byteAt(c.fromLine, c.fromUnit * 2 + 1));
        }
    }
}

// ---------------------------------------------------------------------------
// Conversion to a stream and to a picture, with the message.

class MagFiles : public testing::Test {
protected:
    test::TempFolder folder;
    ScriptedPrompter prompter;
    TM2BC converter{prompter};
};

TEST_F(MagFiles, ConvertToStreamWritesTheBmp) {
    const std::string file =
        encodeMag(randomMagPicture(16, 0, 0, 31, 9, 2, 5), FlagPolicy::Greedy).bytes;
    const auto path = folder.write("a.mag", file);
    std::ostringstream stream;
    EXPECT_TRUE(converter.ConvertToStream(path, stream));
    const auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(stream.str(), std::string(bmp->begin(), bmp->end()));
    EXPECT_EQ(TM2BC::MMAG_GetBmpSize(path), bmp->size());
    std::vector<std::uint8_t> buffer(bmp->size());
    EXPECT_EQ(TM2BC::MMAG_MagtoBmp(path, buffer), 0);
    EXPECT_EQ(buffer, *bmp);
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(MagFiles, ACutShortFileIsReportedOnce) {
    std::string file = encodeMag(randomMagPicture(16, 0, 0, 31, 9, 2, 5), FlagPolicy::Greedy).bytes;
    file.pop_back();
    const auto path = folder.write("cut.mag", file);
    EXPECT_GT(TM2BC::MMAG_GetBmpSize(path), 0u);
    std::vector<std::uint8_t> buffer(TM2BC::MMAG_GetBmpSize(path));
    EXPECT_EQ(TM2BC::MMAG_MagtoBmp(path, buffer), -1);
    EXPECT_TRUE(prompter.records().empty());

    std::ostringstream stream;
    EXPECT_FALSE(converter.ConvertToStream(path, stream));
    EXPECT_EQ(stream.str(), "");
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter.records()[0].text, "Failed by MMAG_MagtoBmp");
}

TEST_F(MagFiles, FilesWithoutAHeaderFailSilently) {
    std::string file = encodeMag(randomMagPicture(16, 0, 0, 31, 9, 2, 5), FlagPolicy::Greedy).bytes;
    file[5] = '1';
    std::ostringstream stream;
    EXPECT_FALSE(converter.ConvertToStream(folder.write("v1.mag", file), stream));
    EXPECT_FALSE(converter.ConvertToStream(folder.path() / "missing.mag", stream));
    EXPECT_EQ(TM2BC::MMAG_GetBmpSize(folder.path() / "missing.mag"), 0u);
    std::vector<std::uint8_t> buffer(4096);
    EXPECT_EQ(TM2BC::MMAG_MagtoBmp(folder.path() / "missing.mag", buffer), -1);
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(MagFiles, LoadGraphicGivesThePaletteColoursOfEveryPixel) {
    const MagPicture picture = randomMagPicture(16, 3, 0, 12, 11, 21, 9);
    const auto path = folder.write("p.mag", encodeMag(picture, FlagPolicy::Greedy).bytes);
    Picture graphic;
    ASSERT_TRUE(converter.LoadGraphic(path, graphic));
    ASSERT_EQ(graphic.Width, 16);
    ASSERT_EQ(graphic.Height, 12);
    EXPECT_EQ(graphic.Colors, 16);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t byte = picture.byteAt(y, x / 2);
            const test::MagColor color = picture.palette[x % 2 == 0 ? byte >> 4 : byte & 15];
            const std::uint32_t expected =
                static_cast<std::uint32_t>(color.red << 16 | color.green << 8 | color.blue);
            ASSERT_EQ(graphic.at(x, y), expected) << "at " << x << "," << y;
        }
    }
    Picture untouched;
    EXPECT_FALSE(converter.LoadGraphic(folder.path() / "missing.mag", untouched));
    EXPECT_TRUE(untouched.empty());
}

// The sample comic's picture, checked once against an independent decoder:
// its size, palette, some pixels and a hash of every palette index.
TEST(MagSample, GardenDecodesAsTheIndependentDecoderSaw) {
    const std::string file = test::readFile(PAGORA_SOURCE_DIR "/examples/sample/data/garden.mag");
    ASSERT_FALSE(file.empty());
    const auto bmp = TM2BC::ConvertToBmp(bytesOf(file));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(readLe32(*bmp, 18), 320u);
    EXPECT_EQ(readLe32(*bmp, 22), 200u);
    EXPECT_EQ(readLe16(*bmp, 28), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bmp->begin() + 54, bmp->begin() + 62),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 250, 190, 120, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(bmp->begin() + 114, bmp->begin() + 118),
              (std::vector<std::uint8_t>{190, 180, 180, 0}));

    const std::vector<std::uint8_t> pixels = bmpPixels(*bmp);
    const auto index = [&](int x, int y) {
        const std::uint8_t byte = pixels[static_cast<std::size_t>((199 - y) * 160 + x / 2)];
        return x % 2 == 0 ? byte >> 4 : byte & 15;
    };
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            hash = (hash ^ static_cast<std::uint64_t>(index(x, y))) * 0x100000001b3u;
    EXPECT_EQ(hash, 0xb30065c67f7eed32u);
    EXPECT_EQ(index(0, 0), 1);
    EXPECT_EQ(index(319, 199), 14);
    EXPECT_EQ(index(160, 100), 13);
    EXPECT_EQ(index(37, 150), 9);
    EXPECT_EQ(index(250, 60), 10);
}

} // namespace
} // namespace pagora
