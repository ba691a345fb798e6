#include "random_edits.h"

#include "document/comic_file.h"

#include <vector>

namespace pagora::test {
namespace {

int below(std::mt19937& random, int bound) {
    return bound <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(bound));
}

template <typename T> const T& pick(std::mt19937& random, const std::vector<T>& items) {
    return items[static_cast<std::size_t>(below(random, static_cast<int>(items.size())))];
}

const std::vector<std::string> kPlainLines = {"// ",       "MsgDlg \"a\",", "WaitTime 5,",
                                              "Title=x=y", "k=v",           "count=1",
                                              "no equals", " <Indented>",   "//k=comment"};
const std::vector<std::string> kMarkerLines = {
    "<Book End>",   "<Page End>", "<Head End>", "<Book=\"b1\">", "<Page=\"p1\">",
    "<Head=\"h\">", "<Oops>",     "<",          "<Pages>",       "<Book=\"\">"};
const std::vector<std::string> kBookNames = {"b0", "b1", "b2", "b3"};
const std::vector<std::string> kPageNames = {"p0", "p1", "p2", "p3"};
const std::vector<std::string> kHeaderNames = {"Comic", "ValueFlag", "h", "Menu"};
const std::vector<std::string> kKeys = {"Title", "k", "count", "CmdVer"};

std::string line(std::mt19937& random) {
    return below(random, 8) == 0 ? pick(random, kMarkerLines) : pick(random, kPlainLines);
}

std::string someBook(TComicFileCtrl& comic, std::mt19937& random) {
    const std::vector<std::string> books = comic.GetBookList();
    return books.empty() || below(random, 6) == 0 ? pick(random, kBookNames) : pick(random, books);
}

std::string somePage(TComicFileCtrl& comic, std::mt19937& random, const std::string& book) {
    const std::vector<std::string> pages = comic.GetPageList(book);
    return pages.empty() || below(random, 6) == 0 ? pick(random, kPageNames) : pick(random, pages);
}

} // namespace

std::string randomComic(std::mt19937& random, bool broken) {
    std::vector<std::string> lines = {"<Head=\"Comic\">", "Title=t", "<Head End>"};
    const int books = 1 + below(random, 3);
    for (int book = 0; book < books; ++book) {
        lines.push_back("<Book=\"b" + std::to_string(book) + "\">");
        const int pages = 1 + below(random, 3);
        for (int page = 0; page < pages; ++page) {
            lines.push_back("<Page=\"p" + std::to_string(page) + "\">");
            const int count = 1 + below(random, 4);
            for (int i = 0; i < count; ++i)
                lines.push_back(pick(random, kPlainLines));
            lines.push_back("<Page End>");
        }
        lines.push_back("<Book End>");
        if (below(random, 3) == 0)
            lines.insert(lines.end(), {"<Head=\"" + pick(random, kHeaderNames) + "\">",
                                       pick(random, kPlainLines), "<Head End>"});
    }
    for (int damage = broken ? 1 + below(random, 2) : 0; damage > 0; --damage) {
        const auto at = lines.begin() + below(random, static_cast<int>(lines.size()));
        if (below(random, 2) == 0)
            lines.erase(at);
        else
            lines.insert(at, pick(random, kMarkerLines));
    }
    std::string bytes;
    for (const std::string& text : lines)
        bytes += text + "\r\n";
    return bytes;
}

std::string applyRandomEdit(TComicFileCtrl& comic, std::mt19937& random) {
    const std::string book = someBook(comic, random);
    const std::string page = somePage(comic, random, book);
    const int count = comic.GetCommandCount(book, page);
    switch (below(random, 16)) {
    case 0:
    case 1:
        comic.SetCommand(book, page, line(random), below(random, count + 1));
        return "SetCommand";
    case 2:
    case 3:
        comic.InsertCommand(book, page, below(random, count + 2));
        return "InsertCommand";
    case 4:
        comic.AppendCommand(book, page);
        return "AppendCommand";
    case 5:
    case 6:
        comic.DeleteCommand(book, page, below(random, count + 1));
        return "DeleteCommand";
    case 7:
        comic.WriteHeader(pick(random, kHeaderNames), pick(random, kKeys),
                          pick(random, kPlainLines));
        return "WriteHeader";
    case 8:
        comic.DeleteHeader(pick(random, kHeaderNames), pick(random, kKeys));
        return "DeleteHeader";
    case 9:
        comic.AddBook(pick(random, kBookNames));
        return "AddBook";
    case 10:
        comic.AddPage(book, pick(random, kPageNames));
        return "AddPage";
    case 11:
        comic.DeleteBook(book);
        return "DeleteBook";
    case 12:
        comic.DeletePage(book, page);
        return "DeletePage";
    case 13:
        if (below(random, 2) == 0)
            comic.RenameBook(book, pick(random, kBookNames));
        else
            comic.RenamePage(book, page, pick(random, kPageNames));
        return "Rename";
    case 14:
        comic.MoveBook(someBook(comic, random), book, below(random, 2) == 0);
        return "MoveBook";
    default: {
        const std::string targetBook = someBook(comic, random);
        comic.MovePage(targetBook, somePage(comic, random, targetBook), below(random, 2) == 0, page,
                       book);
        return "MovePage";
    }
    }
}

} // namespace pagora::test
