// Loads arbitrary bytes as a comic, then runs document operations decoded from
// the rest of the input. Layout: one byte giving the share of the input that is
// the comic (in 256ths), the comic bytes, then operations.
#include "document/comic_file.h"
#include "platform/scripted_prompter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

class OperationReader {
public:
    explicit OperationReader(std::string_view bytes)
        : bytes_(bytes) {}

    bool done() const { return bytes_.empty(); }

    unsigned byte() {
        if (bytes_.empty())
            return 0;
        const auto value = static_cast<unsigned char>(bytes_.front());
        bytes_.remove_prefix(1);
        return value;
    }

    int index() { return static_cast<int>(byte()) - 2; } // reaches just outside a page too

    // One of the existing names, or a short new one from the input.
    std::string name(const std::vector<std::string>& existing) {
        const unsigned choice = byte();
        if (choice < 200 && !existing.empty())
            return existing[choice % existing.size()];
        const unsigned wanted = byte() % 8;
        const std::size_t length = std::min<std::size_t>(wanted, bytes_.size());
        std::string fresh(bytes_.substr(0, length));
        bytes_.remove_prefix(length);
        std::erase_if(fresh, [](char c) { return c == '\r' || c == '\n'; });
        return fresh;
    }

private:
    std::string_view bytes_;
};

void runOperation(pagora::TComicFileCtrl& comic, OperationReader& in) {
    const std::vector<std::string> books = comic.GetBookList();
    const std::string book = in.name(books);
    const std::string page = in.name(comic.GetPageList(book));
    switch (in.byte() % 20) {
    case 0:
        comic.GetCommand(book, page, in.index());
        break;
    case 1:
        comic.SetCommand(book, page, in.name({}), in.index());
        break;
    case 2:
        comic.InsertCommand(book, page, in.index());
        break;
    case 3:
        comic.AppendCommand(book, page);
        break;
    case 4:
        comic.DeleteCommand(book, page, in.index());
        break;
    case 5:
        comic.GetCommandCount(book, page);
        break;
    case 6:
        comic.AddBook(in.name({}));
        break;
    case 7:
        comic.AddPage(book, in.name({}));
        break;
    case 8:
        comic.DeleteBook(book);
        break;
    case 9:
        comic.DeletePage(book, page);
        break;
    case 10:
        comic.RenameBook(book, in.name({}));
        break;
    case 11:
        comic.RenamePage(book, page, in.name({}));
        break;
    case 12:
        comic.MoveBook(in.name(books), book, in.byte() & 1);
        break;
    case 13: {
        const std::string target = in.name(books);
        comic.MovePage(target, in.name(comic.GetPageList(target)), in.byte() & 1, page, book);
        break;
    }
    case 14:
        comic.WriteHeader(in.name({"Comic", "Menu"}), in.name({}), in.name({}));
        break;
    case 15:
        comic.ReadHeader(in.name({"Comic"}), in.name({"Title"}), "x");
        break;
    case 16:
        comic.DeleteHeader(in.name({"Comic"}), in.name({"Title"}));
        break;
    case 17:
        comic.GetHeaderKeys(in.name({"Comic"}));
        break;
    case 18:
        comic.AddHeadBlock(in.name({}));
        break;
    default:
        comic.SaveToBytes();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty())
        return 0;
    const std::size_t comicSize = (input.size() - 1) * static_cast<unsigned char>(input[0]) / 255;
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(input.substr(1, comicSize));
    OperationReader operations(input.substr(1 + comicSize));
    for (int count = 0; count < 64 && !operations.done(); ++count)
        runOperation(comic, operations);
    // What is saved loads back to the same lines, less those the reader drops.
    std::vector<std::string> expected;
    for (const std::string& line : comic.Lines())
        if (!line.empty() && line.rfind("///", 0) != 0)
            expected.push_back(line);
    pagora::TComicFileCtrl reloaded(prompter);
    reloaded.LoadFromBytes(comic.SaveToBytes());
    if (reloaded.Lines() != expected)
        __builtin_trap();
    return 0;
}
