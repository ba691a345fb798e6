#include "generated_comic.h"

#include <fstream>
#include <stdexcept>

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

constexpr int kBooks = 20;
constexpr int kPagesPerBook = 100;
constexpr int kLinesPerPage = kReferencingComicLines / kBooks / kPagesPerBook;

std::string pictureName(int picture) {
    return "f" + std::to_string(picture) + ".bmp";
}

std::string referencingLine(int line) {
    if (line % 10 == 0)
        return "Graphic \"pict\\" + pictureName(line / 10 % kReferencedPictures) +
               "\",0,0,0,1,\"None\",0,0,0,";
    if (line % 20 == 5) {
        const int target = line / 20;
        return "PageJump \"book" + std::to_string(target % kBooks) + "\",\"page" +
               std::to_string(target % kPagesPerBook) + "\",0,";
    }
    if (line % 10 == 3)
        return "ValueCtrl \"%count%\",1,\"%count%\",\"1\",";
    return "MsgDlg \"line " + std::to_string(line) + "\",0,\"KeyWait\",\"Normal\",0,0,1,\"/WIN:1\"";
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream stream(path, std::ios::binary);
    stream << bytes;
    if (!stream)
        throw std::runtime_error("cannot write " + path.string());
}

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

std::string generateReferencingComic() {
    std::string text = "<Head=\"Comic\">\r\nStartBook=book0\r\nStartPage=page0\r\n"
                       "DataDirectory=data\r\nMciMusic=Sequencer\r\nMciSound=WaveAudio\r\n"
                       "<Head End>\r\n";
    int line = 0;
    for (int book = 0; book < kBooks; ++book) {
        text += "<Book=\"book" + std::to_string(book) + "\">\r\n";
        for (int page = 0; page < kPagesPerBook; ++page) {
            text += "<Page=\"page" + std::to_string(page) + "\">\r\n";
            for (int i = 0; i < kLinesPerPage; ++i)
                text += referencingLine(line++) + "\r\n";
            text += "<Page End>\r\n";
        }
        text += "<Book End>\r\n";
    }
    text += "<Head=\"ValueFlag\">\r\ncount=0\r\n<Head End>\r\n";
    return text;
}

std::filesystem::path
writeReferencingComic(const std::filesystem::path& folder, int folderFiles, int missing,
                      const std::function<std::string(int picture)>& pictureBytes) {
    const std::filesystem::path pictures = folder / "data" / "pict";
    std::filesystem::create_directories(pictures);
    for (int picture = missing; picture < kReferencedPictures; ++picture)
        writeFile(pictures / pictureName(picture), pictureBytes ? pictureBytes(picture) : "");
    for (int other = kReferencedPictures - missing; other < folderFiles; ++other)
        writeFile(pictures / ("other" + std::to_string(other) + ".bmp"), "");
    const std::filesystem::path comic = folder / "comic.csf";
    writeFile(comic, generateReferencingComic());
    return comic;
}

} // namespace pagora::bench
