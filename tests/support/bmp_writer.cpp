#include "support/bmp_writer.h"

#include <algorithm>

namespace pagora::test {
namespace {

constexpr std::size_t kHeadersSize = 54;

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
}

void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// The two headers and room for the colour table and the rows.
std::string bmpFrame(int width, int height, std::uint16_t bitCount, std::size_t paletteBytes,
                     std::size_t stride) {
    const std::size_t pixelOffset = kHeadersSize + paletteBytes;
    std::string bytes(pixelOffset + stride * static_cast<std::size_t>(height), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, static_cast<std::uint32_t>(pixelOffset));
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    put16(bytes, 26, 1);
    put16(bytes, 28, bitCount);
    return bytes;
}

} // namespace

Picture filledPicture(int width, int height, std::uint32_t pixel) {
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Colors = 16777216;
    picture.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                          pixel);
    return picture;
}

std::string bmpFileBytes(const Picture& picture) {
    const std::size_t stride = (static_cast<std::size_t>(picture.Width) * 3 + 3) / 4 * 4;
    std::string bytes = bmpFrame(picture.Width, picture.Height, 24, 0, stride);
    for (int y = 0; y < picture.Height; ++y) {
        const std::size_t row =
            kHeadersSize + stride * static_cast<std::size_t>(picture.Height - 1 - y);
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint32_t pixel = picture.at(x, y);
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            bytes[at] = static_cast<char>(pixel & 0xFF);
            bytes[at + 1] = static_cast<char>(pixel >> 8 & 0xFF);
            bytes[at + 2] = static_cast<char>(pixel >> 16 & 0xFF);
        }
    }
    return bytes;
}

std::string monochromeBmpBytes(int width, int height) {
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    std::string bytes = bmpFrame(width, height, 1, 8, stride);
    put32(bytes, kHeadersSize, 0x000000);     // colour 0: black
    put32(bytes, kHeadersSize + 4, 0xFFFFFF); // colour 1: white
    // Every row black but the top one, which is the last in the file.
    const std::size_t topRow = kHeadersSize + 8 + stride * static_cast<std::size_t>(height - 1);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(topRow), stride, '\xFF');
    return bytes;
}

} // namespace pagora::test
