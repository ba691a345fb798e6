#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pagora {

// File names as a comic script writes them: CP932, relative, with "\" or "/"
// between folders. A "\" byte may be the second byte of a double-byte
// character, so a name is decoded before it is split; a name that does not
// decode has no parts and names no file.

// The parts of the name between separators, as views into it (empty parts,
// from doubled or outer separators, left out); nullopt when the name is not
// valid CP932.
std::optional<std::vector<std::string_view>> scriptNameParts(std::string_view cp932Name);

// Whether the name, taken relative to a folder, stays inside that folder: it
// decodes, and no ".." part climbs above where it started.
bool staysInsideFolder(std::string_view cp932Name);
// The same for the parts of a name that decodes.
bool staysInsideFolder(std::span<const std::string_view> parts);

} // namespace pagora
