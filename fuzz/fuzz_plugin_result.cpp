// Feeds arbitrary bitmap information and bits, as an image plug-in could hand
// them back, to the check that guards their use. Layout: two bytes giving the
// length of the information block (little-endian), the block, then the bits.
// Both blocks are copied to buffers of exactly their size, so that any read
// past them is caught.
#include "images/dib_pixels.h"
#include "images/plugin_result_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t infoSize =
        std::min<std::size_t>(static_cast<std::size_t>(data[0] | data[1] << 8), size - 2);
    const std::vector<std::uint8_t> info(data + 2, data + 2 + infoSize);
    const std::vector<std::uint8_t> bits(data + 2 + infoSize, data + size);
    const pagora::DibCheck check = pagora::CheckPluginBitmap(info, bits.size());
    if (!check.ok())
        return 0;
    const pagora::Picture picture = pagora::DibToPicture(check.Layout, info, bits);
    if (picture.Pixels.size() !=
        static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height))
        __builtin_trap();
    return 0;
}
