#include "package/file_names.h"

#include "platform/encoding.h"
#include "platform/script_name.h"

namespace pagora {
namespace {

// Where the last part of the name starts and ends (separators at the end left out).
struct LastPart {
    std::size_t start = 0;
    std::size_t end = 0;
};

LastPart lastPart(std::string_view name) {
    const auto parts = scriptNameParts(name);
    if (!parts)
        return {name.size(), name.size()};
    if (parts->empty())
        return {};
    const auto start = static_cast<std::size_t>(parts->back().data() - name.data());
    return {start, start + parts->back().size()};
}

// Where the extension of the last part starts; npos when it has none.
std::size_t extensionStart(std::string_view name, const LastPart& part) {
    // "." is never the second byte of a double-byte character.
    const std::size_t dot = name.substr(0, part.end).rfind('.');
    return dot == std::string_view::npos || dot < part.start ? std::string_view::npos : dot;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

} // namespace

bool SameNameIgnoringCase(std::string_view cp932A, std::string_view cp932B) {
    if (cp932A.size() != cp932B.size())
        return false;
    for (std::size_t i = 0; i < cp932A.size(); ++i) {
        if (isCp932LeadByte(static_cast<unsigned char>(cp932A[i])) && i + 1 < cp932A.size()) {
            if (cp932A.compare(i, 2, cp932B, i, 2) != 0)
                return false;
            ++i;
        } else if (lowerAscii(cp932A[i]) != lowerAscii(cp932B[i])) {
            return false;
        }
    }
    return true;
}

std::string_view ScriptFileNamePart(std::string_view cp932Name) {
    const LastPart part = lastPart(cp932Name);
    return cp932Name.substr(part.start, part.end - part.start);
}

bool HasExtension(std::string_view cp932Name, std::string_view extension) {
    const LastPart part = lastPart(cp932Name);
    const std::size_t dot = extensionStart(cp932Name, part);
    return dot != std::string_view::npos &&
           SameNameIgnoringCase(cp932Name.substr(dot, part.end - dot), extension);
}

std::string ChangeExtension(std::string_view cp932Name, std::string_view extension) {
    const LastPart part = lastPart(cp932Name);
    const std::size_t dot = extensionStart(cp932Name, part);
    const std::size_t cut = dot == std::string_view::npos ? part.end : dot;
    std::string changed(cp932Name.substr(0, cut));
    changed += extension;
    changed += cp932Name.substr(part.end);
    return changed;
}

} // namespace pagora
