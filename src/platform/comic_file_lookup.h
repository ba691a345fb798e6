#pragma once

#include "platform/file_lookup.h"
#include "platform/string_map.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace pagora {

// Finds the files a comic's script names, for the error check and for
// gathering a package alike: in the data folder first, then in the comic's
// folder, each part of the name in any letter case and with "\" or "/".
//
// A comic file may come from anyone, so a name stands for a file only when it
// is valid CP932, does not climb out of its folder with "..", and names a
// regular file whose real place (symbolic links followed) lies inside the
// comic's folder. A data folder named the same way outside the comic's folder
// is not used. Make one per run: each name is looked up on disk once.
class ComicFileLookup {
public:
    // cp932DataDirectory is the comic's header value DataDirectory.
    ComicFileLookup(std::filesystem::path comicFolder, std::string_view cp932DataDirectory);

    // The file the name stands for; empty when there is none.
    const std::filesystem::path& find(std::string_view cp932Name);
    // The data folder looked in first; empty when the comic names none or
    // names one that is not used.
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

private:
    std::filesystem::path usableDataFolder(std::string_view cp932DataDirectory);
    std::filesystem::path lookUp(std::string_view cp932Name);
    std::filesystem::path fileIn(const std::filesystem::path& folder,
                                 std::span<const std::string_view> cp932Parts);
    bool reallyInside(const std::filesystem::path& path) const;

    FileLookup files_;
    std::filesystem::path comicFolder_;
    std::filesystem::path realComicFolder_; // links followed; empty when it cannot be told
    std::filesystem::path dataFolder_;
    StringTable<std::filesystem::path> found_; // by the name as written
};

} // namespace pagora
