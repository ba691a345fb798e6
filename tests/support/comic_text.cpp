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
    return comicFileBytes(std::vector<std::string>(utf8Lines.begin(), utf8Lines.end()));
}

std::string comicFileBytes(const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const std::string& line : utf8Lines)
        bytes.append(toCp932(line)).append("\r\n");
    return bytes;
}

namespace {

void addPage(std::vector<std::string>& lines, const std::string& name, int count) {
    lines.push_back("<Page=\"" + name + "\">");
    for (int i = 0; i < count; ++i)
        lines.push_back("MsgDlg \"" + name + " " + std::to_string(i) +
                        "\",0,\"None\",\"Normal\",0,1,0,");
    lines.push_back("<Page End>");
}

} // namespace

std::vector<std::string> sampleComicLines(const std::vector<std::string>& extraHeader) {
    std::vector<std::string> lines = {"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15",
                                      "StartBook=第一章", "StartPage=はじまり"};
    lines.insert(lines.end(), extraHeader.begin(), extraHeader.end());
    lines.push_back("<Head End>");
    lines.push_back("<Book=\"第一章\">");
    addPage(lines, "はじまり", 5);
    addPage(lines, "次", 3);
    lines.push_back("<Book End>");
    lines.push_back("<Book=\"第二章\">");
    addPage(lines, "居間", 10);
    lines.push_back("<Book End>");
    return lines;
}

} // namespace pagora::test
