#include "document/palette_file.h"

#include "platform/files.h"

namespace pagora {

namespace {

void appendLine(std::string& bytes, std::string_view text) {
    for (const char c : text)
        bytes.push_back(c == '\r' || c == '\n' ? ' ' : c);
    bytes.append("\r\n");
}

} // namespace

std::vector<std::string> paletteLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.emplace_back(bytes.substr(start, end - start));
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

std::vector<PaletteEntry> parsePalette(std::string_view bytes) {
    std::vector<std::string> lines = paletteLines(bytes);
    std::vector<PaletteEntry> entries;
    entries.reserve(lines.size() / 2);
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
        entries.push_back({std::move(lines[i]), std::move(lines[i + 1])});
    return entries;
}

std::string paletteBytes(const std::vector<PaletteEntry>& entries) {
    std::string bytes;
    for (const PaletteEntry& entry : entries) {
        appendLine(bytes, entry.name);
        appendLine(bytes, entry.line);
    }
    return bytes;
}

std::vector<PaletteEntry> loadPaletteFile(const std::filesystem::path& path) {
    return parsePalette(readWholeFile(path));
}

void savePaletteFile(const std::filesystem::path& path, const std::vector<PaletteEntry>& entries) {
    writeFileAtomically(path, paletteBytes(entries));
}

} // namespace pagora
