#include "platform/script_name.h"

#include "platform/encoding.h"

namespace pagora {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

// In valid CP932 a lead byte always starts a pair, so stepping over pairs
// finds every separator that is a character of its own.
std::optional<std::vector<std::string_view>> scriptNameParts(std::string_view cp932Name) {
    if (!isValidCp932(cp932Name))
        return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    std::size_t i = 0;
    const auto endPart = [&](std::size_t end) {
        if (end > start)
            parts.push_back(cp932Name.substr(start, end - start));
    };
    while (i < cp932Name.size()) {
        if (isSeparator(cp932Name[i])) {
            endPart(i);
            start = ++i;
        } else {
            i += isCp932LeadByte(static_cast<unsigned char>(cp932Name[i])) ? 2u : 1u;
        }
    }
    endPart(cp932Name.size());
    return parts;
}

bool staysInsideFolder(std::string_view cp932Name) {
    const auto parts = scriptNameParts(cp932Name);
    return parts && staysInsideFolder(*parts);
}

bool staysInsideFolder(std::span<const std::string_view> parts) {
    int depth = 0;
    for (const std::string_view part : parts) {
        if (part == "..") {
            if (--depth < 0)
                return false;
        } else if (part != ".") {
            ++depth;
        }
    }
    return true;
}

} // namespace pagora
