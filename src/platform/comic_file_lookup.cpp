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
    const auto known = found_.find(std::string(cp932Name));
    if (known != found_.end())
        return known->second;
    fs::path path;
    // The system would end a name at a NUL byte and find another file.
    if (cp932Name.find('\0') == std::string_view::npos && staysInsideFolder(cp932Name)) {
        if (!dataFolder_.empty())
            path = fileIn(dataFolder_, cp932Name);
        if (path.empty())
            path = fileIn(comicFolder_, cp932Name);
    }
    return found_.emplace(cp932Name, std::move(path)).first->second;
}

// A file reached without a link lies where its path says: inside the folder,
// since the name does not climb out and the data folder lies inside too.
fs::path ComicFileLookup::fileIn(const fs::path& folder, std::string_view cp932Name) {
    const auto found = files_.find(folder, cp932Name);
    if (!found || found->type != fs::file_type::regular ||
        (found->throughLink && !reallyInside(found->path)))
        return {};
    return found->path;
}

bool ComicFileLookup::reallyInside(const fs::path& path) const {
    if (realComicFolder_.empty())
        return false;
    const fs::path real = realPath(path);
    return !real.empty() && isWithin(real, realComicFolder_);
}

} // namespace pagora
