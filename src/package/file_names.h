#pragma once

#include <string>
#include <string_view>

namespace pagora {

// File names as a comic script writes them: CP932, with "\" or "/" between
// folders, split as scriptNameParts splits them. A name that is not valid
// CP932 has no file part and no extension.

// The part after the last folder separator, ignoring separators at the end.
std::string_view ScriptFileNamePart(std::string_view cp932Name);

// Whether the name's last part ends in extension (".mag"), without regard to
// ASCII letter case.
bool HasExtension(std::string_view cp932Name, std::string_view extension);

// The name with the extension of its last part replaced by extension (or
// extension appended when it has none).
std::string ChangeExtension(std::string_view cp932Name, std::string_view extension);

// Whether two names are the same apart from the letter case of ASCII letters
// (the second byte of a double-byte character is compared as it is).
bool SameNameIgnoringCase(std::string_view cp932A, std::string_view cp932B);

} // namespace pagora
