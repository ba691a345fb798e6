#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// The name under which a palette lives before the user has chosen a file for
// it: a bare file name, never a real path.
inline constexpr std::string_view kDefaultPaletteFile = "CPalette.pal";

// One registered command: its name and the command line exactly as it stands
// in a page. Both are CP932 bytes.
struct PaletteEntry {
    std::string name;
    std::string line;

    bool operator==(const PaletteEntry&) const = default;
};

// The lines of a palette file's bytes. A line ends at CR LF, a lone CR or a
// lone LF; the last line needs no ending. Empty lines count (an entry's name
// may be empty) and every other byte, NUL included, stays in its line.
std::vector<std::string> paletteLines(std::string_view bytes);

// The entries of a palette file's bytes: its lines taken in pairs, name then
// command line; an odd last line is ignored. Never fails.
std::vector<PaletteEntry> parsePalette(std::string_view bytes);

// The bytes of a palette file: name and line of each entry in turn, each
// ended by CR LF. A line break inside a name or line would split the pair, so
// each CR and LF there is written as a space.
std::string paletteBytes(const std::vector<PaletteEntry>& entries);

// Reads a palette file. Throws IoError naming the file and the reason.
std::vector<PaletteEntry> loadPaletteFile(const std::filesystem::path& path);

// Writes a palette file atomically: when the write fails the old file stays
// as it was. Throws IoError naming the file and the reason.
void savePaletteFile(const std::filesystem::path& path, const std::vector<PaletteEntry>& entries);

} // namespace pagora
