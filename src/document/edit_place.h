#pragma once

#include <string>

namespace pagora {

// A place in the comic the editor shows after an edit or its undo: a command
// line of a page, or, with line -1, the page itself (or the book, with no page).
// Names are CP932.
struct EditPlace {
    std::string book;
    std::string page;
    int line = -1;
    bool operator==(const EditPlace&) const = default;
};

} // namespace pagora
