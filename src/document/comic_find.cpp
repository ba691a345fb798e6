#include "document/comic_find.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <algorithm>

namespace pagora {
namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::size_t characterLength(std::string_view text, std::size_t at) {
    return isCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Looks for the text in command lines, in their display texts or as they stand.
class LineSearch {
public:
    LineSearch(std::string_view text, FindOptions options)
        : matcher_(text, options.matchCase)
        , raw_(options.rawText)
        , syntax_(quiet_) {}

    // The display text of the line when it holds the text.
    std::optional<std::string> match(std::string_view line) {
        if (raw_)
            return matcher_.matches(line) ? std::optional(displayTextOf(syntax_, line))
                                          : std::nullopt;
        std::string shown = displayTextOf(syntax_, line);
        return matcher_.matches(shown) ? std::optional(std::move(shown)) : std::nullopt;
    }

private:
    TextMatcher matcher_;
    bool raw_;
    QuietPrompter quiet_;
    TCmdCtrl syntax_;
};

// The pages of the comic in file order.
std::vector<EditPlace> pagesOf(const TComicFileCtrl& comic) {
    std::vector<EditPlace> pages;
    for (const std::string& book : comic.GetBookList())
        for (const std::string& page : comic.GetPageList(book))
            pages.push_back({book, page, -1});
    return pages;
}

} // namespace

TextMatcher::TextMatcher(std::string_view cp932Text, bool matchCase)
    : text_(cp932Text)
    , matchCase_(matchCase) {
}

bool TextMatcher::matchesAt(std::string_view text, std::size_t at) const {
    if (text.size() - at < text_.size())
        return false;
    for (std::size_t i = 0; i < text_.size();) {
        const std::size_t length = characterLength(text_, i);
        if (characterLength(text, at + i) != length)
            return false;
        if (length == 2) {
            if (text.compare(at + i, 2, text_, i, 2) != 0)
                return false;
        } else if (matchCase_ ? text[at + i] != text_[i]
                              : lowerAscii(text[at + i]) != lowerAscii(text_[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

std::size_t TextMatcher::find(std::string_view text) const {
    if (text_.empty())
        return std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += characterLength(text, at))
        if (matchesAt(text, at))
            return at;
    return std::string_view::npos;
}

std::vector<FoundLine> findText(const TComicFileCtrl& comic, std::string_view cp932Text,
                                FindOptions options) {
    std::vector<FoundLine> found;
    LineSearch search(cp932Text, options);
    for (const EditPlace& page : pagesOf(comic)) {
        int index = 0;
        for (const std::string_view line : comic.PeekCommands(page.book, page.page)) {
            if (std::optional<std::string> shown = search.match(line))
                found.push_back({page.book, page.page, index, std::move(*shown)});
            ++index;
        }
    }
    return found;
}

std::optional<FoundLine> findNext(const TComicFileCtrl& comic, std::string_view cp932Text,
                                  FindOptions options, const EditPlace& from) {
    LineSearch search(cp932Text, options);
    const std::vector<EditPlace> pages = pagesOf(comic);
    if (pages.empty())
        return std::nullopt;
    std::size_t start = 0;
    while (start < pages.size() &&
           (pages[start].book != from.book || pages[start].page != from.page))
        ++start;
    const int firstLine = start < pages.size() ? from.line + 1 : 0;
    if (start == pages.size())
        start = 0;
    // Every page once from the starting one, then the starting page's lines
    // up to the place's own.
    for (std::size_t step = 0; step <= pages.size(); ++step) {
        const EditPlace& page = pages[(start + step) % pages.size()];
        const std::vector<std::string_view> lines = comic.PeekCommands(page.book, page.page);
        const auto count = static_cast<int>(lines.size());
        const int begin = step == 0 ? firstLine : 0;
        const int end = step == pages.size() ? std::min(firstLine, count) : count;
        for (int index = std::max(begin, 0); index < end; ++index)
            if (std::optional<std::string> shown =
                    search.match(lines[static_cast<std::size_t>(index)]))
                return FoundLine{page.book, page.page, index, std::move(*shown)};
    }
    return std::nullopt;
}

} // namespace pagora
