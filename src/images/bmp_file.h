#pragma once

#include "images/picture.h"
#include "images/plugin_result_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pagora {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;

// The file header and information header of an uncompressed, bottom-up BMP:
// "BM", the file size, the offset of the pixels, a 40-byte header with the
// width, height, one plane and the bit count, and zero for compression, image
// size, resolutions and colour counts. out must hold kBmpHeadersSize bytes.
void WriteBmpHeaders(std::span<std::uint8_t> out, std::uint32_t fileSize, std::uint32_t pixelOffset,
                     std::int32_t width, std::int32_t height, std::uint16_t bitCount);

// A BMP file image split into its information block (header and colour
// table) and its bits, both checked with CheckPluginBitmap.
struct BmpParts {
    DibCheck Check;
    std::span<const std::uint8_t> Info;
    std::span<const std::uint8_t> Bits;
};

// Empty when the bytes are not a BMP file ("BM" and a pixel offset inside the
// file after the headers); otherwise the parts with the result of the check.
std::optional<BmpParts> SplitBmpFile(std::span<const std::uint8_t> file);

// The picture of a BMP file image; empty when it is not one that can be read.
std::optional<Picture> ReadBmpPicture(std::span<const std::uint8_t> file);

} // namespace pagora
