// Feeds arbitrary bytes to the MAG converter through its memory entry points.
// Whatever converts must have had its size announced by the header alone and
// must read back as a BMP picture.
#include "images/bmp_file.h"
#include "images/mag_decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

constexpr std::size_t kLargestBuffer = std::size_t{1} << 24;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::size_t bmpSize = pagora::TM2BC::MMAG_GetBmpSizeInMemory(file);
    const auto bmp = pagora::TM2BC::ConvertToBmp(file);
    if (bmp) {
        if (bmp->size() != bmpSize || !pagora::ReadBmpPicture(*bmp))
            __builtin_trap();
    }
    if (bmpSize > 0 && bmpSize <= kLargestBuffer) {
        std::vector<std::uint8_t> buffer(bmpSize);
        const int result = pagora::TM2BC::MMAG_MagtoBmpInMemory(file, buffer);
        if ((result == 0) != bmp.has_value() || (bmp && buffer != *bmp))
            __builtin_trap();
    }
    return 0;
}
