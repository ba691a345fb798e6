// Feeds arbitrary script file names to the file-name helpers and to the
// package's file gathering. Layout: lines cut at "\n"; the first is the
// comic's DataDirectory, the others are file names (CP932 bytes).
//
// For every name: its file-name part is a piece of it followed only by
// separators; the other letter case names the same file; a changed extension
// is one; a name that stays inside its folder resolves under it. Gathering a
// comic that uses the names lists only regular files inside the comic's
// folder, each once, under the file-name part of a name it uses.
#include "fuzz_support.h"
#include "package/file_names.h"
#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/script_name.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

using pagora::fuzz::require;

constexpr std::size_t kMostLines = 9;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A comic folder with files in mixed letter case and a folder beside it that
// no name may reach. Made once for the whole run.
struct Fixture {
    pagora::test::TempFolder folder;
    Fixture() {
        for (const char* file :
             {"comic/Data/Pict/A.bmp", "comic/data/b.MAG", "comic/c.wav", "comic/Sub/d.mid",
              "comic/\xE8\xA1\xA8/e.bmp", "outside/secret.bmp"})
            folder.write(file, "x");
    }
};

const pagora::test::TempFolder& fixture() {
    static const Fixture made;
    return made.folder;
}

fs::path comicFolderPath() {
    return fixture().path() / "comic";
}

// The other letter case of every ASCII letter that is not the second byte of
// a double-byte character.
std::string otherCase(std::string_view cp932Name) {
    std::string flipped(cp932Name);
    for (std::size_t i = 0; i < flipped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(flipped[i]);
        if (pagora::isCp932LeadByte(byte) && i + 1 < flipped.size())
            ++i;
        else if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z'))
            flipped[i] = static_cast<char>(byte ^ 0x20);
    }
    return flipped;
}

void checkFileNamePart(std::string_view name) {
    const std::string_view part = pagora::ScriptFileNamePart(name);
    const auto start = static_cast<std::size_t>(part.data() - name.data());
    require(part.empty() || (start <= name.size() && part.size() <= name.size() - start));
    if (part.empty())
        return;
    require(start == 0 || isSeparator(name[start - 1]));
    const std::string_view after = name.substr(start + part.size());
    require(std::all_of(after.begin(), after.end(), isSeparator));
}

void checkLetterCase(std::string_view name, std::string_view other) {
    require(pagora::SameNameIgnoringCase(name, name));
    require(pagora::SameNameIgnoringCase(name, otherCase(name)));
    require(pagora::SameNameIgnoringCase(name, other) == pagora::SameNameIgnoringCase(other, name));
}

// A name that is not valid CP932 is refused wherever it is used, so it has no
// extension to change.
void checkExtension(std::string_view name) {
    if (!pagora::isValidCp932(name))
        return;
    for (const std::string_view extension : {".bmp", ".MAG"}) {
        const std::string changed = pagora::ChangeExtension(name, extension);
        require(pagora::HasExtension(changed, extension));
        require(pagora::HasExtension(changed, otherCase(extension)));
        const std::string_view part = pagora::ScriptFileNamePart(name);
        const std::size_t folderEnd =
            part.empty() ? 0 : static_cast<std::size_t>(part.data() - name.data());
        require(changed.compare(0, folderEnd, name, 0, folderEnd) == 0);
    }
}

void checkStaysInside(std::string_view name) {
    const fs::path base = comicFolderPath();
    if (pagora::staysInsideFolder(name))
        require(pagora::fuzz::liesInside(pagora::resolveScriptPath(base, name), base));
}

std::string quotable(std::string_view name) {
    std::string text(name);
    std::erase_if(text, [](char c) { return c == '"' || c == '\r' || c == '\n'; });
    return text;
}

std::string comicUsing(std::string_view dataDirectory, const std::vector<std::string>& names) {
    std::string comic = "<Head=\"Comic\">\r\nDataDirectory=" + quotable(dataDirectory) + "\r\n";
    if (!names.empty())
        comic += "Opening=" + names[0] + "\r\n";
    comic += "<Head End>\r\n<Book=\"b\">\r\n<Page=\"p\">\r\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        switch (i % 4) {
        case 0:
            comic += "Graphic \"" + name + "\",0,0,0,1,\"FadeIn\",0,0,0,\"/POS:0,0,319,239\"\r\n";
            break;
        case 1:
            comic += "Music \"" + name + "\",0,\r\n";
            break;
        case 2:
            comic += "Sound \"" + name + "\",1,\r\n";
            break;
        default:
            comic += "ClickAble \"b\",\"p\",\"" + name + "\",2,1,1,0,\"/POS:1,1,9,9\"\r\n";
            break;
        }
    }
    return comic + "<Page End>\r\n<Book End>\r\n";
}

void checkList(const std::vector<pagora::TPackageFile>& list, const std::set<std::string>& parts) {
    std::set<std::string> seen;
    for (const pagora::TPackageFile& file : list) {
        require(pagora::fuzz::liesInside(file.Path, comicFolderPath()));
        require(fs::is_regular_file(file.Path));
        require(parts.count(file.Name) == 1);
        std::string key = std::to_string(file.Flag) + file.Path.lexically_normal().string();
        std::transform(key.begin(), key.end(), key.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        require(seen.insert(key).second);
    }
}

void checkGathering(std::string_view dataDirectory, const std::vector<std::string>& names) {
    const fs::path comicFile = comicFolderPath() / "fuzz.csf";
    fixture().write(comicFile.lexically_relative(fixture().path()),
                    comicUsing(dataDirectory, names));
    pagora::ScriptedPrompter prompter;
    pagora::TPackageBuilder builder(prompter, comicFile, std::string(dataDirectory));
    try {
        builder.CollectFiles();
    } catch (const pagora::ConversionError&) {
        return;
    }
    std::set<std::string> parts;
    for (const std::string& name : names)
        parts.emplace(pagora::ScriptFileNamePart(name));
    checkList(builder.LinkList, parts);
    checkList(builder.CopyList, parts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> lines =
        pagora::fuzz::splitInput(pagora::fuzz::asText(data, size), '\n', kMostLines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        checkFileNamePart(lines[i]);
        checkLetterCase(lines[i], lines[(i + 1) % lines.size()]);
        checkExtension(lines[i]);
        checkStaysInside(lines[i]);
    }
    std::vector<std::string> names;
    for (std::size_t i = 1; i < lines.size(); ++i)
        names.push_back(quotable(lines[i]));
    checkGathering(quotable(lines[0]), names);
    return 0;
}
