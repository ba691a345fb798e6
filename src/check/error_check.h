#pragma once

#include "platform/comic_file_lookup.h"
#include "platform/string_map.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class Prompter;
class TCmdCtrl;
class TComicFileCtrl;
class TFlagCtrl;

// One finding of the error check. Texts are CP932.
struct TErrorItem {
    std::string Message;
    std::uint8_t Level = 0; // 0 warning, 1 error
    std::string BookName;   // empty for findings of the header
    std::string PageName;
    int LineIndex = -1;
};

inline constexpr std::uint8_t kWarning = 0;
inline constexpr std::uint8_t kError = 1;
inline constexpr int kMaxErrorItems = 100;

// The line the error list shows for a finding: its level text and its message.
std::string ErrorListText(const TErrorItem& item);
// "WARNING : " or "ERROR : ".
std::string_view ErrorLevelText(const TErrorItem& item);
// The status text while a page is checked: "エラーチェック中　：　BOOK　／　PAGE" (CP932).
std::string CheckProgressText(std::string_view book, std::string_view page);

// Variable names in table order, matched without regard to letter case.
class VariableNameList {
public:
    void assign(const std::vector<std::string>& names);
    bool contains(std::string_view name) const;
    // Removes the first entry of that name, when there is one.
    void remove(std::string_view name);
    std::vector<std::string> names() const;

private:
    std::vector<std::string> names_;
    std::vector<bool> removed_;
    StringTable<std::vector<std::size_t>> positions_; // folded name -> entries
    std::size_t longest_ = 0; // a longer name is none of these, and is not folded
};

// Walks the comic and collects warnings and errors with their place:
// missing files, missing jump targets, undefined variables, music and sound
// files that do not suit the playback device, unknown commands, and variables
// that nothing refers to. It changes nothing in the comic.
class TErrorCheck {
public:
    TErrorCheck(TComicFileCtrl& comic, TCmdCtrl& syntax, TFlagCtrl& flags, Prompter& prompter);

    std::array<TErrorItem, kMaxErrorItems> ErrorItems;
    int ErrorCount = 0;
    std::filesystem::path ComicFolder;
    std::filesystem::path DataFolder; // empty when the comic names none or one outside it
    VariableNameList ValueFlagList;
    VariableNameList StringFlagList;
    VariableNameList UnusedValueFlagList;
    VariableNameList UnusedStringFlagList;

    // Called with the book and page before each page that CheckAll checks.
    std::function<void(const std::string& book, const std::string& page)> OnPageStart;

    void Initialize(const std::filesystem::path& comicFolder);
    void CheckPage(const std::string& bookName, const std::string& pageName);
    void CheckLine(std::string_view lineText, const std::string& bookName,
                   const std::string& pageName, int lineIndex);
    void CheckHeader(bool reportUnused);
    void CheckAll();
    const TErrorItem& GetErrorList(int index);
    // Once the list holds kMaxErrorItems findings, no more are recorded, so
    // the checks skip the lookups and texts of further ones.
    bool ListFull() const { return ErrorCount >= kMaxErrorItems; }
    void AddError(std::string message, std::uint8_t level, const std::string& bookName,
                  const std::string& pageName, int lineIndex);

    // Where a finding is recorded.
    struct Place {
        const std::string& book;
        const std::string& page;
        int line;
    };

    void CheckFile(std::string_view fileName, const Place& place);
    // Whether the name stands for a file (a folder is none) in the data folder
    // or the comic's folder.
    bool IsFileExist(std::string_view fileName);
    void CheckPageJump(std::string_view bookName, std::string_view pageName, const Place& place);
    void CheckValueFlag(std::string_view name, const Place& place);
    void CheckStringFlag(std::string_view name, const Place& place);
    // Whether the playback device set for music or sound plays the file.
    void CheckMciDevice(std::string_view device, std::string_view fileName, const Place& place);
    // The comic's playback devices, read by Initialize.
    const std::string& MusicDevice() const { return musicDevice_; }
    const std::string& SoundDevice() const { return soundDevice_; }

private:
    bool pageExists(std::string_view bookName, std::string_view pageName);
    void error(std::string message, const Place& place) {
        AddError(std::move(message), kError, place.book, place.page, place.line);
    }
    void warning(std::string message, const Place& place) {
        AddError(std::move(message), kWarning, place.book, place.page, place.line);
    }

    TComicFileCtrl& comic_;
    TCmdCtrl& syntax_;
    TFlagCtrl& flags_;
    Prompter& prompter_;
    ComicFileLookup files_{{}, {}}; // one per run
    // Whether each page a line jumps to exists, by book and page; one per run.
    StringTable<StringTable<bool>> pagesFound_;
    std::string musicDevice_;
    std::string soundDevice_;
};

} // namespace pagora
