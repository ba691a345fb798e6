// Runs the whole error check over an arbitrary comic written into a temporary
// folder beside data files made from the input. Layout: one byte of choices
// (bit 0: the data folder's name in the other letter case; bit 1: names put
// in the comic's folder are made as folders), two bytes with two bits for
// each of the first eight quoted names of the comic (0: no file, 1: the file
// as written, 2: in the other letter case, 3: in the comic's own folder
// rather than the data folder), then the comic bytes.
//
// The check changes nothing in the comic, finds the same on a second run,
// places every finding on a line that exists, never calls a file missing
// that is there under its own name (or under another letter case where no
// folder on its way is spelt two ways), and finds a name exactly when the
// package would find it, for names that stay inside the comic's folder.
#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "document/flag_ctrl.h"
#include "fuzz_support.h"
#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

using pagora::fuzz::require;

constexpr std::size_t kMostDataFiles = 8;
constexpr std::size_t kLongestName = 100;
constexpr std::string_view kComicName = "Comic.csf";

enum class Placing { None, AsWritten, OtherCase, InComicFolder };

std::string flipCase(std::string text) {
    for (char& c : text)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            c = static_cast<char>(c ^ 0x20);
    return text;
}

std::string foldCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

// The UTF-8 path a script name stands for, when it is one a test folder can
// hold: relative, without "." or ".." parts or NUL bytes, and short.
std::optional<fs::path> plainPath(std::string_view cp932Name) {
    // A name that is not valid CP932 stands for no file, so none is made for it.
    if (cp932Name.empty() || cp932Name.size() > kLongestName || !pagora::isValidCp932(cp932Name))
        return std::nullopt;
    fs::path path;
    std::string part;
    const std::string name = pagora::toUtf8(cp932Name) + '/';
    for (const char c : name) {
        if (c != '/' && c != '\\') {
            part += c;
            continue;
        }
        if (part == "." || part == ".." || part.find('\0') != std::string::npos)
            return std::nullopt;
        if (!part.empty())
            path /= part;
        part.clear();
    }
    return path.empty() ? std::nullopt : std::optional(path);
}

// The names between pairs of double quotes, in order, each once.
std::vector<std::string> quotedNames(std::string_view comic) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    std::size_t open = comic.find('"');
    while (open != std::string_view::npos && names.size() < kMostDataFiles) {
        const std::size_t close = comic.find('"', open + 1);
        if (close == std::string_view::npos)
            break;
        std::string name(comic.substr(open + 1, close - open - 1));
        if (name.find_first_of("\r\n") == std::string::npos && seen.insert(name).second)
            names.push_back(std::move(name));
        open = comic.find('"', close + 1);
    }
    return names;
}

struct DataFile {
    std::string name; // CP932, as the comic writes it
    fs::path path;    // where it was made, relative to the comic's folder
    bool asWritten;
};

// The folder layout of one input, and which names must be found.
class DataFolderBuilder {
public:
    explicit DataFolderBuilder(const pagora::test::TempFolder& folder)
        : folder_(folder) {
        note(fs::path(kComicName));
    }

    bool make(const std::string& name, const fs::path& relative, bool asWritten) {
        std::error_code error;
        fs::create_directories((folder_.path() / relative).parent_path(), error);
        if (error || fs::exists(folder_.path() / relative, error))
            return false;
        try {
            folder_.write(relative, name);
        } catch (const std::exception&) {
            return false; // a name the file system does not take
        }
        if (!fs::is_regular_file(folder_.path() / relative, error))
            return false;
        note(relative);
        files_.push_back({name, relative, asWritten});
        return true;
    }

    void makeFolder(const fs::path& relative) {
        std::error_code error;
        if (fs::create_directories(folder_.path() / relative, error))
            note(relative);
    }

    const std::vector<DataFile>& files() const { return files_; }

    // Whether every folder on the way to the file is spelt one way only.
    bool foldersUnambiguous(const fs::path& relative) const {
        fs::path prefix;
        for (auto part = relative.begin(); part != relative.end(); ++part) {
            if (std::next(part) == relative.end())
                break;
            prefix /= *part;
            if (spellings_.at(foldCase(prefix.string())).size() != 1)
                return false;
        }
        return true;
    }

private:
    void note(const fs::path& relative) {
        fs::path prefix;
        for (const fs::path& part : relative) {
            prefix /= part;
            spellings_[foldCase(prefix.string())].insert(prefix.string());
        }
    }

    const pagora::test::TempFolder& folder_;
    std::vector<DataFile> files_;
    std::map<std::string, std::set<std::string>> spellings_;
};

void makeDataFiles(DataFolderBuilder& builder, std::string_view comic, unsigned folderChoice,
                   unsigned fileChoices) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl reader(prompter);
    reader.LoadFromBytes(comic);
    const std::optional<fs::path> dataFolder =
        plainPath(reader.ReadHeader("Comic", "DataDirectory", ""));
    const fs::path dataPlace =
        !dataFolder
            ? fs::path()
            : fs::path(folderChoice & 1 ? flipCase(dataFolder->string()) : dataFolder->string());
    const std::vector<std::string> names = quotedNames(comic);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto placing = static_cast<Placing>(fileChoices >> (2 * i) & 3);
        const std::optional<fs::path> path = plainPath(names[i]);
        if (placing == Placing::None || !path)
            continue;
        const fs::path place = placing == Placing::InComicFolder ? fs::path() : dataPlace;
        if (placing == Placing::InComicFolder && (folderChoice & 2))
            builder.makeFolder(*path);
        else if (placing == Placing::OtherCase)
            builder.make(names[i], place / flipCase(path->string()), false);
        else
            builder.make(names[i], place / *path,
                         placing == Placing::InComicFolder || !dataFolder || !(folderChoice & 1));
    }
}

struct Findings {
    std::vector<std::string> messages;
    bool operator==(const Findings&) const = default;
};

Findings findingsOf(const pagora::TErrorCheck& check) {
    Findings findings;
    for (int i = 0; i < check.ErrorCount; ++i) {
        const pagora::TErrorItem& item = check.ErrorItems[static_cast<std::size_t>(i)];
        findings.messages.push_back(pagora::ErrorListText(item) + '|' + item.BookName + '|' +
                                    item.PageName + '|' + std::to_string(item.LineIndex));
    }
    return findings;
}

void checkPlaces(pagora::TComicFileCtrl& comic, const pagora::TErrorCheck& check) {
    require(check.ErrorCount >= 0 && check.ErrorCount <= pagora::kMaxErrorItems);
    for (int i = 0; i < check.ErrorCount; ++i) {
        const pagora::TErrorItem& item = check.ErrorItems[static_cast<std::size_t>(i)];
        require(item.Level == pagora::kWarning || item.Level == pagora::kError);
        if (item.BookName.empty() && item.PageName.empty())
            continue;
        require(comic.PageExists(item.BookName, item.PageName));
        require(item.LineIndex >= 0 &&
                item.LineIndex < comic.GetCommandCount(item.BookName, item.PageName));
    }
}

void checkFilesFound(const pagora::TErrorCheck& check, const DataFolderBuilder& builder) {
    const std::string missingFront = pagora::toCp932("参照しているファイル\"");
    const std::string missingBack = pagora::toCp932("\"が見つかりません");
    for (const DataFile& file : builder.files()) {
        if (!file.asWritten && !builder.foldersUnambiguous(file.path))
            continue;
        const std::string missing = missingFront + file.name + missingBack;
        for (int i = 0; i < check.ErrorCount; ++i)
            require(check.ErrorItems[static_cast<std::size_t>(i)].Message != missing);
    }
}

// The check and the package find the same files: they share one lookup.
void checkAgreesWithPackage(pagora::TErrorCheck& check, pagora::TComicFileCtrl& comic,
                            const fs::path& comicFile, const std::vector<std::string>& names) {
    pagora::ScriptedPrompter prompter;
    pagora::TPackageBuilder package(prompter, comicFile,
                                    comic.ReadHeader("Comic", "DataDirectory", ""));
    for (const std::string& name : names)
        if (!name.empty())
            require(check.IsFileExist(name) == !package.FindComicFile(name).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::string_view comicBytes = pagora::fuzz::asText(data + 3, size - 3);
    pagora::test::TempFolder folder;
    folder.write(fs::path(kComicName), comicBytes);
    DataFolderBuilder builder(folder);
    makeDataFiles(builder, comicBytes, data[0], static_cast<unsigned>(data[1] | data[2] << 8));

    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    pagora::SetEditorFileHead(comic);
    comic.LoadFromFile(folder.path() / kComicName);
    pagora::CheckOpenedComic(comic, prompter, {});
    pagora::fuzz::FixedClock clock;
    pagora::fuzz::FixedRandom random;
    pagora::TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();
    pagora::TCmdCtrl syntax(prompter);
    pagora::TErrorCheck check(comic, syntax, flags, prompter);
    const std::vector<std::string> before = comic.Lines();

    check.Initialize(folder.path());
    check.CheckAll();
    const Findings first = findingsOf(check);
    require(comic.Lines() == before);
    checkPlaces(comic, check);
    checkFilesFound(check, builder);
    checkAgreesWithPackage(check, comic, folder.path() / kComicName, quotedNames(comicBytes));

    check.Initialize(folder.path());
    check.CheckAll();
    require(findingsOf(check) == first);
    return 0;
}
