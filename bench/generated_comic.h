#pragma once

#include <string>

namespace pagora::bench {

// A comic file (CP932, CR LF) with the given numbers of books, pages per book
// and command lines per page, plus a header block before and after the books.
std::string generateComic(int books, int pagesPerBook, int linesPerPage);

} // namespace pagora::bench
