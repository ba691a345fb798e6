#include "fuzz_support.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace pagora::fuzz {

void require(bool condition) {
    if (!condition)
        std::abort();
}

std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

std::vector<std::string_view> splitInput(std::string_view input, char separator, std::size_t most) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < most) {
        const std::size_t end = input.find(separator);
        if (end == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, end));
        input.remove_prefix(end + 1);
    }
    parts.push_back(input);
    return parts;
}

bool liesInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace pagora::fuzz
