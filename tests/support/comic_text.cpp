#include "support/comic_text.h"

#include "platform/encoding.h"

namespace pagora::test {

std::vector<std::string> cp932Lines(std::initializer_list<std::string_view> utf8Lines) {
    std::vector<std::string> lines;
    for (const std::string_view line : utf8Lines)
        lines.push_back(toCp932(line));
    return lines;
}

std::string comicBytes(std::initializer_list<std::string_view> utf8Lines) {
    std::string bytes;
    for (const std::string& line : cp932Lines(utf8Lines))
        bytes.append(line).append("\r\n");
    return bytes;
}

} // namespace pagora::test
