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

} // namespace pagora::test
