#include "platform/file_lookup.h"

#include "platform/encoding.h"

#include <dirent.h>
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
    Listing* listed = listingWorthReading(folder);
    if (!listed && pathExists(folder / part))
        return part;
    Listing& entries = listed ? *listed : listing(folder);
    if (entries.names.count(part) != 0)
        return part;
    const auto& foldedNames = entries.foldedNames();
    const auto match = foldedNames.find(foldAsciiCase(part));
    return match != foldedNames.end() ? match->second : part;
}

// A few names in a large folder are cheaper to ask the disk about one by one;
// once a folder has been asked about more names than that, reading its
// listing costs less than asking about each.
FileLookup::Listing* FileLookup::listingWorthReading(const fs::path& folder) {
    const auto listed = listings_.find(folder.native());
    if (listed != listings_.end())
        return &listed->second;
    constexpr int kNamesBeforeListing = 16;
    if (++namesAsked_[folder.native()] > kNamesBeforeListing)
        return &listing(folder);
    return nullptr;
}

// A folder that cannot be listed (missing, or not a folder) has no entries.
// Read with readdir: a large folder is listed without a path object or a
// status call per entry.
FileLookup::Listing& FileLookup::listing(const fs::path& folder) {
    Listing& entries = listings_[folder.native()];
    ++foldersListed_;
    DIR* const stream = opendir(folder.c_str());
    if (!stream)
        return entries;
    while (const dirent* entry = readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            entries.links.emplace(name);
        entries.names.emplace(name);
        entries.order.emplace_back(name);
    }
    closedir(stream);
    return entries;
}

// Built at the first name that is not found as written.
const std::unordered_map<std::string, std::string>& FileLookup::Listing::foldedNames() {
    if (!byFoldedName_) {
        byFoldedName_.emplace();
        byFoldedName_->reserve(order.size());
        for (const std::string& name : order)
            byFoldedName_->emplace(foldAsciiCase(name), name);
    }
    return *byFoldedName_;
}

} // namespace pagora
