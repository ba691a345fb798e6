#pragma once

#include "document/edit_place.h"
#include "document/name_references.h"

#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class TComicFileCtrl;

// A line of the comic that a search or a reference list found: a command
// line of a page (its index from 0), or an entry of the header (book and
// page empty, line 0). Texts are CP932: the display text of a command line,
// "key=value" of a header entry.
struct FoundLine {
    std::string book;
    std::string page;
    int line = 0;
    std::string text;

    bool inHeader() const { return book.empty() && page.empty(); }
    bool operator==(const FoundLine&) const = default;
};

// The text the command list shows for a line: its display text, or the line
// itself when it cannot be read.
std::string displayTextOf(TCmdCtrl& syntax, std::string_view line);

// Every place that leads to the target, in file order of the pages, the
// header's entries first: "StartBook" and "StartPage" for a book or page,
// the file keys of block "Comic" for a file, then each command line that
// refers to it (once, however often it names it).
std::vector<FoundLine> findReferences(const TComicFileCtrl& comic, const NameTarget& target);

// The command lines that refer to the target, without their display texts.
int countReferencingLines(const TComicFileCtrl& comic, const NameTarget& target);

// What rewriting the references of a rename did.
struct ReferenceRewrite {
    int rewritten = 0;
    // Lines that refer to the old name but were left as they are: they do
    // not read whole, or are not as the syntax writer writes them.
    std::vector<EditPlace> leftAlone;
};

// Rewrites every command line that refers to the change's target through
// its record, as separate line changes (the caller groups them into a step).
ReferenceRewrite rewriteReferences(TComicFileCtrl& comic, const NameChange& change);

} // namespace pagora
