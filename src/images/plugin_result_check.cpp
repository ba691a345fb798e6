#include "images/plugin_result_check.h"

#include "images/byte_order.h"

#include <limits>

namespace pagora {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMaskBytes = 12;

bool isKnownBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

DibCheck refuse(DibProblem problem) {
    DibCheck check;
    check.Problem = problem;
    return check;
}

} // namespace

DibCheck CheckPluginBitmap(std::span<const std::uint8_t> info, std::size_t bitsSize) {
    if (info.size() < kInfoHeaderSize)
        return refuse(DibProblem::HeaderTooSmall);
    const std::uint32_t headerSize = readLe32(info, 0);
    if (headerSize < kInfoHeaderSize)
        return refuse(DibProblem::HeaderTooSmall);
    if (headerSize > info.size())
        return refuse(DibProblem::HeaderBeyondBlock);

    const auto width = static_cast<std::int32_t>(readLe32(info, 4));
    const auto height = static_cast<std::int32_t>(readLe32(info, 8));
    const int bitCount = readLe16(info, 14);
    const std::uint32_t compression = readLe32(info, 16);
    const std::uint32_t colorsUsed = readLe32(info, 32);
    if (width <= 0)
        return refuse(DibProblem::BadWidth);
    if (height == 0 || height == std::numeric_limits<std::int32_t>::min())
        return refuse(DibProblem::BadHeight);
    if (!isKnownBitCount(bitCount))
        return refuse(DibProblem::BadBitCount);
    const bool bitFields = compression == kDibBitFields && (bitCount == 16 || bitCount == 32);
    if (compression != kDibPlain && !bitFields)
        return refuse(DibProblem::UnsupportedCompression);

    DibCheck check;
    DibLayout& layout = check.Layout;
    layout.Width = width;
    layout.Height = height < 0 ? -height : height;
    layout.TopDown = height < 0;
    layout.BitCount = bitCount;
    layout.Compression = compression;
    layout.ColorTableOffset = headerSize;

    if (bitFields) {
        // The masks follow a 40-byte header and are part of any longer one.
        const std::size_t masksEnd =
            headerSize == kInfoHeaderSize ? headerSize + kMaskBytes : kInfoHeaderSize + kMaskBytes;
        if (masksEnd > info.size())
            return refuse(DibProblem::ColorTableBeyondBlock);
        layout.RedMask = readLe32(info, kInfoHeaderSize);
        layout.GreenMask = readLe32(info, kInfoHeaderSize + 4);
        layout.BlueMask = readLe32(info, kInfoHeaderSize + 8);
    } else if (bitCount == 16) {
        layout.RedMask = 0x7C00;
        layout.GreenMask = 0x03E0;
        layout.BlueMask = 0x001F;
    } else if (bitCount == 32) {
        layout.RedMask = 0xFF0000;
        layout.GreenMask = 0x00FF00;
        layout.BlueMask = 0x0000FF;
    }

    if (bitCount <= 8) {
        const std::size_t addressable = std::size_t{1} << bitCount;
        if (colorsUsed > addressable)
            return refuse(DibProblem::TooManyColors);
        layout.ColorCount = colorsUsed == 0 ? addressable : colorsUsed;
        if (layout.ColorCount * 4 > info.size() - layout.ColorTableOffset)
            return refuse(DibProblem::ColorTableBeyondBlock);
    }

    const std::uint64_t rowBits = static_cast<std::uint64_t>(width) * std::uint64_t(bitCount);
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    if (stride > bitsSize / static_cast<std::uint64_t>(layout.Height))
        return refuse(DibProblem::BitsTooSmall);
    layout.Stride = static_cast<std::size_t>(stride);
    return check;
}

const char* DescribeDibProblem(DibProblem problem) {
    switch (problem) {
    case DibProblem::None:
        return "no problem";
    case DibProblem::HeaderTooSmall:
        return "the bitmap header is too small";
    case DibProblem::HeaderBeyondBlock:
        return "the bitmap header is longer than its block";
    case DibProblem::BadWidth:
        return "the bitmap width is not positive";
    case DibProblem::BadHeight:
        return "the bitmap height is zero or out of range";
    case DibProblem::BadBitCount:
        return "the bitmap has an unknown bit count";
    case DibProblem::UnsupportedCompression:
        return "the bitmap is compressed";
    case DibProblem::ColorTableBeyondBlock:
        return "the colour table or masks pass the end of the header block";
    case DibProblem::TooManyColors:
        return "the colour table is larger than the bit count allows";
    case DibProblem::BitsTooSmall:
        return "the pixel rows do not fit the bits block";
    }
    return "unknown problem";
}

} // namespace pagora
