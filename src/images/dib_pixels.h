#pragma once

#include "images/picture.h"
#include "images/plugin_result_check.h"

#include <cstdint>
#include <span>

namespace pagora {

// Converts a bitmap that CheckPluginBitmap accepted into a picture. info and
// bits must be the blocks that were checked (bits at least as large).
Picture DibToPicture(const DibLayout& layout, std::span<const std::uint8_t> info,
                     std::span<const std::uint8_t> bits);

// The colour count a picture of this layout reports.
int DibColorCount(const DibLayout& layout);

} // namespace pagora
