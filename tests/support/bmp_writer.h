#pragma once

#include "images/picture.h"

#include <cstdint>
#include <string>

namespace pagora::test {

// A picture of one colour (0x00RRGGBB).
Picture filledPicture(int width, int height, std::uint32_t pixel);

// The picture as a 24-bit, bottom-up BMP file.
std::string bmpFileBytes(const Picture& picture);

// A 1-bit BMP of any size, black with a white top row: a large picture in a
// small file.
std::string monochromeBmpBytes(int width, int height);

} // namespace pagora::test
