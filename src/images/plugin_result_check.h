#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pagora {

// Why a device-independent bitmap (an information block and a bits block, as
// an image plug-in or a BMP file hands them over) cannot be used.
enum class DibProblem {
    None,
    HeaderTooSmall,         // the header size field is below 40 or the block is shorter
    HeaderBeyondBlock,      // the header size field reaches past the information block
    BadWidth,               // width 0 or negative
    BadHeight,              // height 0 or not representable when made positive
    BadBitCount,            // not 1, 4, 8, 16, 24 or 32
    UnsupportedCompression, // compressed bits (only plain and bit-field bitmaps are read)
    ColorTableBeyondBlock,  // the colour table or the bit-field masks pass the block end
    TooManyColors,          // more colour entries than the bit count can address
    BitsTooSmall,           // the rows do not fit the bits block
};

inline constexpr std::uint32_t kDibPlain = 0;     // BI_RGB
inline constexpr std::uint32_t kDibBitFields = 3; // BI_BITFIELDS

// Where the parts of a checked bitmap lie. Every position named here lies
// inside the blocks that were checked.
struct DibLayout {
    int Width = 0;
    int Height = 0;       // made positive
    bool TopDown = false; // the header's height was negative
    int BitCount = 0;
    std::uint32_t Compression = kDibPlain;
    std::size_t ColorTableOffset = 0; // in the information block
    std::size_t ColorCount = 0;       // entries of the colour table (palette bitmaps only)
    std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0; // 16- and 32-bit bitmaps
    std::size_t Stride = 0;                                 // bytes per row, padded to 4
};

struct DibCheck {
    DibProblem Problem = DibProblem::None;
    DibLayout Layout;
    bool ok() const { return Problem == DibProblem::None; }
};

// Checks that a bitmap information header (with its colour table or masks)
// fits its block and that the rows it describes fit a bits block of
// bitsSize bytes. Nothing outside info is read.
DibCheck CheckPluginBitmap(std::span<const std::uint8_t> info, std::size_t bitsSize);

// A short English description of a problem, for messages.
const char* DescribeDibProblem(DibProblem problem);

} // namespace pagora
