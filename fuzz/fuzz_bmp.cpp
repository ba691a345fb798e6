// Reads arbitrary bytes as a BMP file. The parts the splitter hands out must
// cover the file after its 14-byte header, a picture must have the size and
// colour count of its checked layout and hold 0x00RRGGBB pixels, and writing
// it out as a 24-bit BMP with the project's own header writer must read back
// to the same pixels.
#include "fuzz_support.h"
#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "images/dib_pixels.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace {

using pagora::fuzz::require;

// Pictures up to this many pixels are written back; larger ones take long to copy.
constexpr std::size_t kMostPixelsToRewrite = std::size_t{1} << 20;

std::vector<std::uint8_t> asBmp24(const pagora::Picture& picture) {
    const auto width = static_cast<std::size_t>(picture.Width);
    const auto height = static_cast<std::size_t>(picture.Height);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> file(pagora::kBmpHeadersSize + stride * height);
    pagora::WriteBmpHeaders(file, static_cast<std::uint32_t>(file.size()),
                            static_cast<std::uint32_t>(pagora::kBmpHeadersSize), picture.Width,
                            picture.Height, 24);
    for (std::size_t y = 0; y < height; ++y) {
        std::uint8_t* row = file.data() + pagora::kBmpHeadersSize + (height - 1 - y) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = picture.Pixels[y * width + x];
            row[x * 3] = static_cast<std::uint8_t>(pixel);
            row[x * 3 + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    return file;
}

void checkParts(std::span<const std::uint8_t> file, const pagora::BmpParts& parts) {
    require(parts.Info.data() == file.data() + pagora::kBmpFileHeaderSize);
    require(parts.Info.size() >= pagora::kBmpInfoHeaderSize);
    require(parts.Bits.data() == parts.Info.data() + parts.Info.size());
    require(parts.Bits.data() + parts.Bits.size() == file.data() + file.size());
}

void checkPicture(const pagora::DibLayout& layout, const pagora::Picture& picture) {
    require(picture.Width == layout.Width && picture.Height == layout.Height);
    require(picture.Width > 0 && picture.Height > 0);
    require(picture.Pixels.size() ==
            static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));
    require(picture.Colors == pagora::DibColorCount(layout));
    for (const std::uint32_t pixel : picture.Pixels)
        require(pixel <= 0xFFFFFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<pagora::BmpParts> parts = pagora::SplitBmpFile(file);
    const std::optional<pagora::Picture> picture = pagora::ReadBmpPicture(file);
    require(picture.has_value() == (parts && parts->Check.ok()));
    if (!parts)
        return 0;
    checkParts(file, *parts);
    if (!picture)
        return 0;
    checkPicture(parts->Check.Layout, *picture);
    if (picture->Pixels.size() > kMostPixelsToRewrite)
        return 0;
    const std::optional<pagora::Picture> again = pagora::ReadBmpPicture(asBmp24(*picture));
    require(again && again->Width == picture->Width && again->Height == picture->Height &&
            again->Pixels == picture->Pixels);
    return 0;
}
