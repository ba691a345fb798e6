// Reads arbitrary bytes as a palette file and checks that what is written
// back reads as the same entries.
#include "document/palette_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto entries = pagora::parsePalette(input);
    if (entries.size() != pagora::paletteLines(input).size() / 2)
        __builtin_trap();
    const std::string bytes = pagora::paletteBytes(entries);
    if (pagora::parsePalette(bytes) != entries || pagora::paletteBytes(entries) != bytes)
        __builtin_trap();
    return 0;
}
