#include "document/comic_references.h"

#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "platform/errors.h"

namespace pagora {
namespace {

constexpr std::string_view kComicBlock = "Comic";

std::string headerEntry(std::string_view key, std::string_view value) {
    return std::string(key) + "=" + std::string(value);
}

// The header entries that lead to the target.
std::vector<FoundLine> headerReferences(const TComicFileCtrl& comic, const NameTarget& target) {
    std::vector<FoundLine> found;
    const auto add = [&](std::string_view key, std::string_view value) {
        found.push_back({{}, {}, 0, headerEntry(key, value)});
    };
    switch (target.kind) {
    case NameKind::Book:
        if (startBookOf(comic) == target.name)
            add("StartBook", target.name);
        break;
    case NameKind::Page:
        if (startBookOf(comic) == target.book && startPageOf(comic) == target.name)
            add("StartPage", target.name);
        break;
    case NameKind::File:
        for (const std::string_view key : kHeaderFileKeys) {
            const std::string value = comic.ReadHeader(kComicBlock, key, "");
            if (sameFileName(value, target.name))
                add(key, value);
        }
        break;
    default:
        break;
    }
    return found;
}

// Calls found(book, page, index, line) for each command line that refers
// to the target.
template <typename Found>
void forEachReferencingLine(const TComicFileCtrl& comic, const NameTarget& target, Found&& found) {
    NameReferenceReader reader;
    for (const std::string& book : comic.GetBookList()) {
        for (const std::string& page : comic.GetPageList(book)) {
            int index = 0;
            for (const std::string_view line : comic.PeekCommands(book, page)) {
                bool refers = false;
                reader.forEach(
                    line,
                    [&](const NameReference& reference) {
                        refers = refers || target.matches(reference);
                    },
                    {target.kind}, book);
                if (refers)
                    found(book, page, index, line);
                ++index;
            }
        }
    }
}

} // namespace

std::string displayTextOf(TCmdCtrl& syntax, std::string_view line) {
    try {
        return syntax.MakeCmdRef(line).Text;
    } catch (const ConversionError&) {
        return std::string(line);
    }
}

std::vector<FoundLine> findReferences(const TComicFileCtrl& comic, const NameTarget& target) {
    std::vector<FoundLine> found = headerReferences(comic, target);
    QuietPrompter quiet;
    TCmdCtrl syntax(quiet);
    forEachReferencingLine(
        comic, target,
        [&](const std::string& book, const std::string& page, int index, std::string_view line) {
            found.push_back({book, page, index, displayTextOf(syntax, line)});
        });
    return found;
}

int countReferencingLines(const TComicFileCtrl& comic, const NameTarget& target) {
    int count = 0;
    forEachReferencingLine(
        comic, target,
        [&](const std::string&, const std::string&, int, std::string_view) { ++count; });
    return count;
}

ReferenceRewrite rewriteReferences(TComicFileCtrl& comic, const NameChange& change) {
    ReferenceRewrite result;
    NameReferenceReader reader;
    for (const std::string& book : comic.GetBookList()) {
        for (const std::string& page : comic.GetPageList(book)) {
            const int count = comic.GetCommandCount(book, page);
            for (int index = 0; index < count; ++index) {
                LineRewrite rewrite =
                    reader.rewrite(comic.PeekCommand(book, page, index), change, book);
                if (rewrite.result == LineRewrite::Result::Rewritten) {
                    comic.SetCommand(book, page, rewrite.line, index);
                    ++result.rewritten;
                } else if (rewrite.result == LineRewrite::Result::NotRewritable) {
                    result.leftAlone.push_back({book, page, index});
                }
            }
        }
    }
    return result;
}

} // namespace pagora
