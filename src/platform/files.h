#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pagora {

// Turns a file name as a script writes it (CP932, relative, with "\" or "/"
// between parts, in any letter case when the comic was made on Windows) into
// a path under base. Each part is taken as written when it exists, else as the
// one entry of its folder that matches it without regard to letter case; parts
// that match nothing stay as written; a name that is not valid CP932 gives an
// empty path. A run that looks up many names uses a FileLookup instead, which
// lists each folder once.
std::filesystem::path resolveScriptPath(const std::filesystem::path& base,
                                        std::string_view cp932Name);

// The folder that holds the comic file.
std::filesystem::path comicFolder(const std::filesystem::path& comicFile);

// The comic's data folder: its own folder plus the header value DataDirectory
// (CP932, relative) when that is not empty. Where the lookups of its files do
// not use that folder (it leads out of the comic's folder or does not decode),
// the comic's own folder.
std::filesystem::path dataFolder(const std::filesystem::path& comicFile,
                                 std::string_view cp932DataDirectory);

enum class CopyOutcome { Copied, AlreadyPresent };

// Copies a file into folder under its own name, never over an existing file.
// Throws IoError when the copy fails.
CopyOutcome copyIntoFolder(const std::filesystem::path& source,
                           const std::filesystem::path& folder);

// Reads a whole file. Throws IoError naming the file and the reason.
std::string readWholeFile(const std::filesystem::path& path);

// Reads a whole regular file of at most largest bytes. A folder, a device, a
// pipe or a socket, and a larger file, are refused before anything is read
// (EISDIR, kNotARegularFile, EFBIG). Throws IoError.
std::string readRegularFile(const std::filesystem::path& path, std::uint64_t largest);

// Writes bytes to a temporary file beside the file target names (through
// symbolic links, which stay) and renames it over that file, keeping its
// owner, group and permissions, so that a failed write leaves the old file as
// it was and no temporary behind. Throws IoError.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace pagora
