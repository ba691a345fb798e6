#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace pagora::test {

// Lines written in UTF-8 in a test, as the CP932 lines of a comic body.
std::vector<std::string> cp932Lines(std::initializer_list<std::string_view> utf8Lines);

// The same lines as file bytes, CR LF after each.
std::string comicBytes(std::initializer_list<std::string_view> utf8Lines);
std::string comicFileBytes(const std::vector<std::string>& utf8Lines);

// A small comic: book 第一章 with pages はじまり (5 lines) and 次 (3 lines),
// book 第二章 with page 居間 (10 lines); extra header lines go into "Comic".
std::vector<std::string> sampleComicLines(const std::vector<std::string>& extraHeader = {});

} // namespace pagora::test
