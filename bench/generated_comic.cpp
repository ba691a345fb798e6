#include "generated_comic.h"

namespace pagora::bench {
namespace {

// A rotation of ordinary command lines, so that line lengths are realistic.
const char* const kCommandLines[] = {
    "MsgDlg \"Hello, %count% times\",1,\"KeyWait\",\"Normal\",0,0,1,",
    "Graphic \"pict\\\\scene.bmp\",0,0,0,1,\"None\",",
    "Music \"music\\\\theme.mid\",1,",
    "WaitTime 500,",
    "ValueCtrl \"count\",\"+\",1,",
    "// a comment line",
};

} // namespace

std::string generateComic(int books, int pagesPerBook, int linesPerPage) {
    std::string text = "/// Interactive Pagora for Win95\r\n"
                       "/// Comic Script File (Command Version 15)\r\n"
                       "<Head=\"Comic\">\r\nFileType=PGR95\r\nCmdVer=15\r\n"
                       "StartBook=book0\r\nStartPage=page0\r\n<Head End>\r\n";
    int line = 0;
    for (int book = 0; book < books; ++book) {
        text += "<Book=\"book" + std::to_string(book) + "\">\r\n";
        for (int page = 0; page < pagesPerBook; ++page) {
            text += "<Page=\"page" + std::to_string(page) + "\">\r\n";
            for (int i = 0; i < linesPerPage; ++i, ++line)
                text.append(kCommandLines[line % 6]).append("\r\n");
            text += "<Page End>\r\n";
        }
        text += "<Book End>\r\n";
    }
    text += "<Head=\"ValueFlag\">\r\ncount=0\r\n<Head End>\r\n";
    return text;
}

} // namespace pagora::bench
