#include "images/dib_pixels.h"

#include "images/byte_order.h"

#include <bit>
#include <vector>

namespace pagora {
namespace {

std::uint32_t rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
}

// Scales the bits of one colour field to 0..255.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask)
        , shift_(mask == 0 ? 0 : std::countr_zero(mask))
        , width_(mask == 0 ? 0 : 32 - std::countl_zero(mask) - shift_) {}

    unsigned operator()(std::uint32_t value) const {
        if (width_ == 0)
            return 0;
        const std::uint32_t field = (value & mask_) >> shift_;
        if (width_ >= 8)
            return static_cast<unsigned>(field >> (width_ - 8));
        const std::uint32_t top = (1u << width_) - 1;
        return static_cast<unsigned>((field * 255 + top / 2) / top);
    }

private:
    std::uint32_t mask_;
    int shift_;
    int width_;
};

std::vector<std::uint32_t> readPalette(const DibLayout& layout,
                                       std::span<const std::uint8_t> info) {
    std::vector<std::uint32_t> palette(std::size_t{1} << layout.BitCount, 0);
    for (std::size_t i = 0; i < layout.ColorCount; ++i) {
        const std::size_t at = layout.ColorTableOffset + i * 4;
        palette[i] = rgb(info[at + 2], info[at + 1], info[at]);
    }
    return palette;
}

void convertPaletteRow(const std::uint8_t* row, int width, int bits,
                       const std::vector<std::uint32_t>& palette, std::uint32_t* out) {
    const unsigned perByte = 8u / static_cast<unsigned>(bits);
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const auto ux = static_cast<unsigned>(x);
        const unsigned shift = (perByte - 1 - ux % perByte) * static_cast<unsigned>(bits);
        out[x] = palette[(static_cast<unsigned>(row[ux / perByte]) >> shift) & mask];
    }
}

void convertMaskedRow(const std::uint8_t* row, const DibLayout& layout, std::uint32_t* out) {
    const Channel red(layout.RedMask), green(layout.GreenMask), blue(layout.BlueMask);
    const std::size_t bytes = static_cast<std::size_t>(layout.BitCount / 8);
    for (int x = 0; x < layout.Width; ++x) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * bytes;
        std::uint32_t value = p[0] | static_cast<std::uint32_t>(p[1]) << 8;
        if (bytes == 4)
            value |= static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3])
                                                                  << 24;
        out[x] = rgb(red(value), green(value), blue(value));
    }
}

void convertRgbRow(const std::uint8_t* row, int width, std::uint32_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
        out[x] = rgb(p[2], p[1], p[0]);
    }
}

} // namespace

int DibColorCount(const DibLayout& layout) {
    if (layout.BitCount <= 8)
        return static_cast<int>(layout.ColorCount);
    return layout.BitCount == 16 ? 65536 : 16777216;
}

Picture DibToPicture(const DibLayout& layout, std::span<const std::uint8_t> info,
                     std::span<const std::uint8_t> bits) {
    Picture picture;
    picture.Width = layout.Width;
    picture.Height = layout.Height;
    picture.Colors = DibColorCount(layout);
    const auto width = static_cast<std::size_t>(layout.Width);
    picture.Pixels.resize(width * static_cast<std::size_t>(layout.Height));
    const std::vector<std::uint32_t> palette =
        layout.BitCount <= 8 ? readPalette(layout, info) : std::vector<std::uint32_t>{};
    for (int y = 0; y < layout.Height; ++y) {
        const int stored = layout.TopDown ? y : layout.Height - 1 - y;
        const std::uint8_t* row = bits.data() + static_cast<std::size_t>(stored) * layout.Stride;
        std::uint32_t* out = picture.Pixels.data() + static_cast<std::size_t>(y) * width;
        if (layout.BitCount <= 8)
            convertPaletteRow(row, layout.Width, layout.BitCount, palette, out);
        else if (layout.BitCount == 24)
            convertRgbRow(row, layout.Width, out);
        else
            convertMaskedRow(row, layout, out);
    }
    return picture;
}

} // namespace pagora
