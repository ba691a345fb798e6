#include "platform/file_lookup.h"

#include "platform/encoding.h"

#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace pagora {
namespace {

// Names are UTF-8 here, so only bytes below 0x80 can be ASCII letters.
std::string foldAsciiCase(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return name;
}

std::vector<std::string> splitScriptName(std::string_view utf8Name) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : utf8Name) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

} // namespace

fs::path FileLookup::resolve(const fs::path& base, std::string_view cp932Name) {
    fs::path path = base;
    for (const std::string& part : splitScriptName(toUtf8(cp932Name)))
        path /= matchInFolder(path.empty() ? fs::path(".") : path, part);
    return path;
}

// Where the folder of the path has been listed, the listing answers without
// asking the disk again.
bool FileLookup::exists(const fs::path& base, std::string_view cp932Name) {
    const fs::path path = resolve(base, cp932Name);
    const std::string name = path.filename().string();
    const auto listed = listings_.find(path.parent_path().native());
    if (listed == listings_.end() || name == "." || name == ".." ||
        listed->second.links.count(name) != 0)
        return pathExists(path);
    return listed->second.names.count(name) != 0;
}

bool FileLookup::pathExists(const fs::path& path) {
    const auto known = exists_.find(path.native());
    if (known != exists_.end())
        return known->second;
    std::error_code error;
    const bool found = fs::exists(path, error);
    exists_.emplace(path.native(), found);
    return found;
}

// The entry of folder named part as written, else the first whose name is part
// without regard to letter case, else part itself.
std::string FileLookup::matchInFolder(const fs::path& folder, const std::string& part) {
    if (part == "." || part == "..")
        return part;
    const auto listed = listings_.find(folder.native());
    if (listed == listings_.end() && pathExists(folder / part))
        return part;
    const Listing& entries = listed != listings_.end() ? listed->second : listing(folder);
    if (entries.names.count(part) != 0)
        return part;
    const auto match = entries.byFoldedName.find(foldAsciiCase(part));
    return match != entries.byFoldedName.end() ? match->second : part;
}

// A folder that cannot be listed (missing, or not a folder) has no entries.
const FileLookup::Listing& FileLookup::listing(const fs::path& folder) {
    Listing& entries = listings_[folder.native()];
    ++foldersListed_;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_symlink(typeError) || typeError)
            entries.links.insert(name);
        entries.byFoldedName.emplace(foldAsciiCase(name), name);
        entries.names.insert(std::move(name));
    }
    return entries;
}

} // namespace pagora
