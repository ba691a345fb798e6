#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "images/dib_pixels.h"
#include "images/plugin_result_check.h"

#include <climits>
#include <gtest/gtest.h>

namespace pagora {
namespace {

struct DibFields {
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = kDibPlain;
    std::uint32_t colorsUsed = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> table; // colour entries or masks after the header
};

std::vector<std::uint8_t> infoBlock(const DibFields& fields) {
    std::vector<std::uint8_t> info(std::max<std::size_t>(fields.headerSize, 40) +
                                   fields.table.size() * 4);
    writeLe32(info, 0, fields.headerSize);
    writeLe32(info, 4, static_cast<std::uint32_t>(fields.width));
    writeLe32(info, 8, static_cast<std::uint32_t>(fields.height));
    writeLe16(info, 12, 1);
    writeLe16(info, 14, fields.bitCount);
    writeLe32(info, 16, fields.compression);
    writeLe32(info, 32, fields.colorsUsed);
    for (std::size_t i = 0; i < fields.table.size(); ++i)
        writeLe32(info, std::max<std::size_t>(fields.headerSize, 40) + i * 4, fields.table[i]);
    return info;
}

std::vector<std::uint32_t> grayTable(std::size_t entries) {
    std::vector<std::uint32_t> table;
    for (std::size_t i = 0; i < entries; ++i)
        table.push_back(static_cast<std::uint32_t>(i * 0x010101));
    return table;
}

struct CheckCase {
    const char* name;
    DibFields fields;
    std::size_t infoCut; // bytes cut from the end of the information block
    std::size_t bitsSize;
    DibProblem expected;
};

DibFields with(DibFields fields, void (*change)(DibFields&)) {
    change(fields);
    return fields;
}

const DibFields kEightBit{4, 2, 8, kDibPlain, 0, 40, grayTable(256)};

class PluginResultCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(PluginResultCheck, RefusesWhatDoesNotFitItsBlocks) {
    const CheckCase& c = GetParam();
    std::vector<std::uint8_t> info = infoBlock(c.fields);
    info.resize(info.size() - c.infoCut);
    const DibCheck check = CheckPluginBitmap(info, c.bitsSize);
    EXPECT_EQ(check.Problem, c.expected) << DescribeDibProblem(check.Problem);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PluginResultCheck,
    testing::Values(
        CheckCase{"EightBitFits", kEightBit, 0, 8, DibProblem::None},
        CheckCase{"TopDownFits", with(kEightBit, [](DibFields& s) { s.height = -2; }), 0, 8,
                  DibProblem::None},
        CheckCase{"BlockShorterThanAHeader", kEightBit, 1024 + 1, 8, DibProblem::HeaderTooSmall},
        CheckCase{"HeaderSizeTooSmall", with(kEightBit, [](DibFields& s) { s.headerSize = 12; }), 0,
                  8, DibProblem::HeaderTooSmall},
        CheckCase{"HeaderSizePastTheBlock",
                  with(kEightBit,
                       [](DibFields& s) {
                           s.headerSize = 2000;
                           s.table.clear();
                       }),
                  1960, 8, DibProblem::HeaderBeyondBlock},
        CheckCase{"ZeroWidth", with(kEightBit, [](DibFields& s) { s.width = 0; }), 0, 8,
                  DibProblem::BadWidth},
        CheckCase{"NegativeWidth", with(kEightBit, [](DibFields& s) { s.width = -4; }), 0, 8,
                  DibProblem::BadWidth},
        CheckCase{"ZeroHeight", with(kEightBit, [](DibFields& s) { s.height = 0; }), 0, 8,
                  DibProblem::BadHeight},
        CheckCase{"MostNegativeHeight", with(kEightBit, [](DibFields& s) { s.height = INT_MIN; }),
                  0, 8, DibProblem::BadHeight},
        CheckCase{"ThreeBitsAPixel", with(kEightBit, [](DibFields& s) { s.bitCount = 3; }), 0, 8,
                  DibProblem::BadBitCount},
        CheckCase{"RunLengthEncoded", with(kEightBit, [](DibFields& s) { s.compression = 1; }), 0,
                  8, DibProblem::UnsupportedCompression},
        CheckCase{"BitFieldsAt24Bits",
                  with(kEightBit,
                       [](DibFields& s) {
                           s.bitCount = 24;
                           s.compression = kDibBitFields;
                       }),
                  0, 32, DibProblem::UnsupportedCompression},
        CheckCase{"ColourTableCutShort", kEightBit, 4, 8, DibProblem::ColorTableBeyondBlock},
        CheckCase{"SmallerTableDeclared",
                  with(kEightBit,
                       [](DibFields& s) {
                           s.colorsUsed = 3;
                           s.table = grayTable(3);
                       }),
                  0, 8, DibProblem::None},
        CheckCase{"MoreColoursThanTheBitCountAddresses",
                  with(kEightBit,
                       [](DibFields& s) {
                           s.colorsUsed = 257;
                           s.table = grayTable(257);
                       }),
                  0, 8, DibProblem::TooManyColors},
        CheckCase{"MasksMissing", DibFields{4, 2, 16, kDibBitFields, 0, 40, {}}, 0, 16,
                  DibProblem::ColorTableBeyondBlock},
        CheckCase{"BitsOneByteShort", kEightBit, 0, 7, DibProblem::BitsTooSmall},
        CheckCase{"RowsPaddedToFourBytes", with(kEightBit, [](DibFields& s) { s.width = 5; }), 0,
                  15, DibProblem::BitsTooSmall},
        CheckCase{"WidestPictureOnSmallBits", DibFields{INT_MAX, 1, 32, kDibPlain, 0, 40, {}}, 0,
                  1 << 20, DibProblem::BitsTooSmall},
        CheckCase{"TallestPictureOnSmallBits", DibFields{1, INT_MAX, 24, kDibPlain, 0, 40, {}}, 0,
                  1 << 20, DibProblem::BitsTooSmall}),
    [](const testing::TestParamInfo<CheckCase>& test) { return test.param.name; });

// ---------------------------------------------------------------------------
// What the accepted bitmaps become.

struct ConvertCase {
    const char* name;
    DibFields fields;
    std::vector<std::uint8_t> bits;
    std::vector<std::uint32_t> expected; // top row first
    int colors;
};

class DibConversion : public testing::TestWithParam<ConvertCase> {};

TEST_P(DibConversion, GivesTopDownRgbPixels) {
    const ConvertCase& c = GetParam();
    const std::vector<std::uint8_t> info = infoBlock(c.fields);
    const DibCheck check = CheckPluginBitmap(info, c.bits.size());
    ASSERT_TRUE(check.ok()) << DescribeDibProblem(check.Problem);
    const Picture picture = DibToPicture(check.Layout, info, c.bits);
    EXPECT_EQ(picture.Width, c.fields.width);
    EXPECT_EQ(picture.Height, c.fields.height < 0 ? -c.fields.height : c.fields.height);
    EXPECT_EQ(picture.Colors, c.colors);
    EXPECT_EQ(picture.Pixels, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DibConversion,
    testing::Values(
        ConvertCase{"OneBit",
                    DibFields{10, 2, 1, kDibPlain, 0, 40, {0x000000, 0xFF8040}},
                    {0xA0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0},
                    {0xFF8040, 0xFF8040, 0xFF8040, 0xFF8040, 0xFF8040, 0xFF8040, 0xFF8040,
                     0xFF8040, 0xFF8040, 0xFF8040, 0xFF8040, 0,        0xFF8040, 0,
                     0,        0,        0,        0,        0,        0xFF8040},
                    2},
        ConvertCase{"FourBitsWithAShortTable",
                    DibFields{3, 1, 4, kDibPlain, 2, 40, {0x0000FF, 0x00FF00}},
                    {0x01, 0xF0, 0, 0},
                    {0x0000FF, 0x00FF00, 0x000000}, // index 15 is outside the table: black
                    2},
        ConvertCase{"EightBitTopDown",
                    DibFields{2, -2, 8, kDibPlain, 0, 40, grayTable(256)},
                    {1, 2, 0, 0, 3, 4, 0, 0},
                    {0x010101, 0x020202, 0x030303, 0x040404},
                    256},
        ConvertCase{"SixteenBitFiveFiveFive",
                    DibFields{2, 1, 16, kDibPlain, 0, 40, {}},
                    {0x00, 0x7C, 0x1F, 0x00},
                    {0xFF0000, 0x0000FF},
                    65536},
        ConvertCase{"SixteenBitFiveSixFiveFields",
                    DibFields{2, 1, 16, kDibBitFields, 0, 40, {0xF800, 0x07E0, 0x001F}},
                    {0xE0, 0x07, 0x1F, 0xF8},
                    {0x00FF00, 0xFF00FF},
                    65536},
        ConvertCase{"TwentyFourBitsWithRowPadding",
                    DibFields{1, 2, 24, kDibPlain, 0, 40, {}},
                    {0x01, 0x02, 0x03, 0xEE, 0x0A, 0x0B, 0x0C, 0xEE},
                    {0x0C0B0A, 0x030201},
                    16777216},
        ConvertCase{"ThirtyTwoBitsLongerHeader",
                    DibFields{2, 1, 32, kDibPlain, 0, 108, {}},
                    {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0x00},
                    {0x302010, 0x605040},
                    16777216}),
    [](const testing::TestParamInfo<ConvertCase>& test) { return test.param.name; });

// ---------------------------------------------------------------------------
// BMP files go through the same check.

std::vector<std::uint8_t> bmpFile(const DibFields& fields, const std::vector<std::uint8_t>& bits) {
    const std::vector<std::uint8_t> info = infoBlock(fields);
    std::vector<std::uint8_t> file(14);
    file[0] = 'B';
    file[1] = 'M';
    writeLe32(file, 10, static_cast<std::uint32_t>(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    writeLe32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

TEST(BmpFile, ReadsAPictureAndRefusesBrokenFiles) {
    const std::vector<std::uint8_t> good =
        bmpFile(DibFields{1, 2, 24, kDibPlain, 0, 40, {}}, {1, 2, 3, 0, 4, 5, 6, 0});
    const auto picture = ReadBmpPicture(good);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixels, (std::vector<std::uint32_t>{0x060504, 0x030201}));

    std::vector<std::uint8_t> notBmp = good;
    notBmp[0] = 'X';
    EXPECT_FALSE(SplitBmpFile(notBmp).has_value());
    std::vector<std::uint8_t> offsetPastEnd = good;
    writeLe32(offsetPastEnd, 10, static_cast<std::uint32_t>(good.size() + 1));
    EXPECT_FALSE(SplitBmpFile(offsetPastEnd).has_value());
    std::vector<std::uint8_t> offsetInsideHeader = good;
    writeLe32(offsetInsideHeader, 10, 40);
    EXPECT_FALSE(SplitBmpFile(offsetInsideHeader).has_value());
    std::vector<std::uint8_t> cut(good.begin(), good.end() - 1);
    const auto parts = SplitBmpFile(cut);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->Check.Problem, DibProblem::BitsTooSmall);
    EXPECT_FALSE(ReadBmpPicture(cut).has_value());
}

} // namespace
} // namespace pagora
