#pragma once

#include <cstddef>
#include <string>

namespace pagora::bench {

// A message of `characters` characters as comics write them (CP932): mostly
// Japanese, some Latin letters, style, size and colour tags, and line ends.
const std::string& sampleMessage(std::size_t characters);

} // namespace pagora::bench
