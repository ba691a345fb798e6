#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace pagora::bench {

// A comic file (CP932, CR LF) with the given numbers of books, pages per book
// and command lines per page, plus a header block before and after the books.
std::string generateComic(int books, int pagesPerBook, int linesPerPage);

// The comic that the check and package benchmarks share: 200,000 command
// lines in 20 books of 100 pages. Every tenth line shows one of 2,000
// pictures "pict\fN.bmp" (each named ten times), every twentieth jumps to a
// page, and the rest change a variable or show a message. Its data folder is
// "data".
inline constexpr int kReferencedPictures = 2000;
inline constexpr int kReferencingComicLines = 200000;
std::string generateReferencingComic();

// Writes that comic as folder/comic.csf and returns its path. The folder
// data/pict gets pictureBytes(N) as fN.bmp for every picture but the first
// `missing` ones, and then other files until it holds folderFiles entries.
std::filesystem::path
writeReferencingComic(const std::filesystem::path& folder, int folderFiles, int missing,
                      const std::function<std::string(int picture)>& pictureBytes);

} // namespace pagora::bench
