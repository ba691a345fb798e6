#pragma once

#include <random>
#include <string>

namespace pagora {

class TComicFileCtrl;

namespace test {

// A small comic (file bytes) of a few books, pages and header blocks; with
// `broken`, some of its marker lines are stray, missing or unknown.
std::string randomComic(std::mt19937& random, bool broken);

// One of the comic's public editing operations with random arguments, mostly
// on books and pages that exist; lines set may be marker lines. Returns its
// name, for failure messages.
std::string applyRandomEdit(TComicFileCtrl& comic, std::mt19937& random);

} // namespace test
} // namespace pagora
