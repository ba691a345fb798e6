#pragma once

#include "document/comic_references.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class TComicFileCtrl;

// A text looked for in CP932 texts: it matches only where a character
// starts, never across the two bytes of one, and ASCII letters match in
// either case unless the case is to be matched (the second byte of a
// double-byte character is always compared as it is).
class TextMatcher {
public:
    TextMatcher(std::string_view cp932Text, bool matchCase);

    // Where the first match in text starts; npos when there is none. An
    // empty text matches nothing.
    std::size_t find(std::string_view text) const;
    bool matches(std::string_view text) const { return find(text) != std::string_view::npos; }
    // The length in bytes of a match.
    std::size_t length() const { return text_.size(); }

private:
    bool matchesAt(std::string_view text, std::size_t at) const;
    std::size_t nextCandidate(std::string_view text, std::size_t from) const;

    std::string text_;
    bool matchCase_;
};

struct FindOptions {
    bool matchCase = false;
    // Look in the lines as the file holds them instead of their display texts.
    bool rawText = false;
};

// Every command line of every page, in file order, whose display text (or
// raw line) holds the text; each found line is listed with its display text.
std::vector<FoundLine> findText(const TComicFileCtrl& comic, std::string_view cp932Text,
                                FindOptions options);

// The first line after the place that holds the text, going on from the
// first page when the last is passed; the place's own line comes last. A
// place on no line (line -1) starts before the page's first line; a page the
// comic does not hold starts at the beginning.
std::optional<FoundLine> findNext(const TComicFileCtrl& comic, std::string_view cp932Text,
                                  FindOptions options, const EditPlace& from);

} // namespace pagora
