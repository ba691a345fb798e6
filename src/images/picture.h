#pragma once

#include <cstdint>
#include <vector>

namespace pagora {

// A decoded picture as the previews use it: top-down rows of 32-bit pixels
// 0x00RRGGBB, with the colour count of the file it came from.
struct Picture {
    int Width = 0;
    int Height = 0;
    // 2, 16 or 256 for palette pictures (or the palette's own size when it is
    // smaller), 65536 for 16-bit and 16777216 for 24- and 32-bit pictures.
    int Colors = 0;
    std::vector<std::uint32_t> Pixels;

    bool empty() const { return Pixels.empty(); }
    std::uint32_t at(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
};

} // namespace pagora
