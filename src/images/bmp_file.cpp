#include "images/bmp_file.h"

#include "images/byte_order.h"
#include "images/dib_pixels.h"

#include <algorithm>

namespace pagora {

void WriteBmpHeaders(std::span<std::uint8_t> out, std::uint32_t fileSize, std::uint32_t pixelOffset,
                     std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    std::fill_n(out.begin(), kBmpHeadersSize, std::uint8_t{0});
    out[0] = 'B';
    out[1] = 'M';
    writeLe32(out, 2, fileSize);
    writeLe32(out, 10, pixelOffset);
    writeLe32(out, 14, static_cast<std::uint32_t>(kBmpInfoHeaderSize));
    writeLe32(out, 18, static_cast<std::uint32_t>(width));
    writeLe32(out, 22, static_cast<std::uint32_t>(height));
    writeLe16(out, 26, 1);
    writeLe16(out, 28, bitCount);
}

std::optional<BmpParts> SplitBmpFile(std::span<const std::uint8_t> file) {
    if (file.size() < kBmpHeadersSize || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelOffset = readLe32(file, 10);
    if (pixelOffset < kBmpHeadersSize || pixelOffset > file.size())
        return std::nullopt;
    BmpParts parts;
    parts.Info = file.subspan(kBmpFileHeaderSize, pixelOffset - kBmpFileHeaderSize);
    parts.Bits = file.subspan(pixelOffset);
    parts.Check = CheckPluginBitmap(parts.Info, parts.Bits.size());
    return parts;
}

std::optional<Picture> ReadBmpPicture(std::span<const std::uint8_t> file) {
    const std::optional<BmpParts> parts = SplitBmpFile(file);
    if (!parts || !parts->Check.ok())
        return std::nullopt;
    return DibToPicture(parts->Check.Layout, parts->Info, parts->Bits);
}

} // namespace pagora
