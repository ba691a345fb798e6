#pragma once

#include <string>
#include <string_view>

namespace pagora {

// Edits of the text of a mimeapps.list file, the user's choice of the
// application that opens each file type. Everything but the one entry
// changed stays as it was, comments, other groups and line ends included.

// Makes application (a desktop entry's file name) the first default of
// mimeType in the group [Default Applications]; applications named before
// stay behind it, so that removing it later restores them.
std::string withDefaultApplication(std::string_view list, std::string_view mimeType,
                                   std::string_view application);

// Takes application out of the defaults of mimeType; the entry goes when no
// application remains.
std::string withoutDefaultApplication(std::string_view list, std::string_view mimeType,
                                      std::string_view application);

} // namespace pagora
