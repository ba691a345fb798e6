#include "package/file_names.h"

#include "platform/encoding.h"

namespace pagora {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Where the last part of the name starts and ends (separators at the end left out).
struct LastPart {
    std::size_t start = 0;
    std::size_t end = 0;
};

LastPart lastPart(std::string_view name) {
    LastPart part;
    bool afterSeparator = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (isSeparator(name[i])) {
            afterSeparator = true;
            continue;
        }
        if (afterSeparator || i == 0) {
            part.start = i;
            afterSeparator = false;
        }
        if (isCp932LeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size())
            ++i;
        part.end = i + 1;
    }
    if (part.end < part.start)
        part.end = part.start;
    return part;
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

bool StaysInsideFolder(std::string_view cp932Name) {
    const std::string name = toUtf8(cp932Name);
    int depth = 0;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !isSeparator(name[end]))
            ++end;
        const std::string_view part = std::string_view(name).substr(start, end - start);
        if (part == "..") {
            if (--depth < 0)
                return false;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return true;
}

} // namespace pagora
