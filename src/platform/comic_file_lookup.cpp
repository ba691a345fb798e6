#include "platform/comic_file_lookup.h"

#include "platform/script_name.h"

#include <algorithm>
#include <climits>
#include <system_error>

namespace fs = std::filesystem;

namespace pagora {
namespace {

fs::path realPath(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? fs::path() : real;
}

// Both paths are canonical: no links, no "." or ".." parts.
bool isWithin(const fs::path& path, const fs::path& folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
           folder.end();
}

} // namespace

ComicFileLookup::ComicFileLookup(fs::path comicFolder, std::string_view cp932DataDirectory)
    : comicFolder_(std::move(comicFolder))
    , realComicFolder_(realPath(comicFolder_.empty() ? fs::path(".") : comicFolder_))
    , dataFolder_(usableDataFolder(cp932DataDirectory)) {
}

fs::path ComicFileLookup::usableDataFolder(std::string_view cp932DataDirectory) {
    if (cp932DataDirectory.empty() || !staysInsideFolder(cp932DataDirectory))
        return {};
    const auto found = files_.find(comicFolder_, cp932DataDirectory);
    if (!found || (found->throughLink && !reallyInside(found->path)))
        return {};
    return found->path;
}

const fs::path& ComicFileLookup::find(std::string_view cp932Name) {
    // Longer than any path the system takes: no file, and nothing copied.
    static const fs::path none;
    if (cp932Name.size() > PATH_MAX)
        return none;
    if (const fs::path* known = found_.find(cp932Name))
        return *known;
    return found_.emplace(cp932Name, lookUp(cp932Name));
}

// The name is decoded and split once for the climb-out check and both folders.
fs::path ComicFileLookup::lookUp(std::string_view cp932Name) {
    // The system would end a name at a NUL byte and find another file.
    if (cp932Name.find('\0') != std::string_view::npos)
        return {};
    const auto parts = scriptNameParts(cp932Name);
    if (!parts || !staysInsideFolder(*parts))
        return {};
    if (!dataFolder_.empty())
        if (fs::path path = fileIn(dataFolder_, *parts); !path.empty())
            return path;
    return fileIn(comicFolder_, *parts);
}

// A file reached without a link lies where its path says: inside the folder,
// since the name does not climb out and the data folder lies inside too.
fs::path ComicFileLookup::fileIn(const fs::path& folder,
                                 std::span<const std::string_view> cp932Parts) {
    const FileLookup::Found found = files_.find(folder, cp932Parts);
    if (found.type != fs::file_type::regular || (found.throughLink && !reallyInside(found.path)))
        return {};
    return found.path;
}

bool ComicFileLookup::reallyInside(const fs::path& path) const {
    if (realComicFolder_.empty())
        return false;
    const fs::path real = realPath(path);
    return !real.empty() && isWithin(real, realComicFolder_);
}

} // namespace pagora
