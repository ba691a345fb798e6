#include "platform/file_lookup.h"

#include "platform/encoding.h"
#include "platform/script_name.h"

#include <dirent.h>
#include <system_error>
#include <utility>

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

// "." and ".." are left to the system; what they pass through has been seen.
bool isDotPart(const std::string& part) {
    return part == "." || part == "..";
}

} // namespace

std::optional<FileLookup::Found> FileLookup::find(const fs::path& base,
                                                  std::string_view cp932Name) {
    const auto parts = scriptNameParts(cp932Name);
    if (!parts)
        return std::nullopt;
    Found found{base, fs::file_type::directory, false};
    for (const std::string_view cp932Part : *parts) {
        const std::string part = toUtf8(cp932Part);
        const fs::path folder = found.path.empty() ? fs::path(".") : found.path;
        if (isDotPart(part)) {
            found.path /= part;
            found.type = entryAt(found.path).type;
            continue;
        }
        const auto [name, entry] = matchInFolder(folder, part);
        found.path /= name;
        found.type = entry.type;
        found.throughLink = found.throughLink || entry.link;
    }
    return found;
}

fs::path FileLookup::resolve(const fs::path& base, std::string_view cp932Name) {
    const auto found = find(base, cp932Name);
    return found ? found->path : fs::path();
}

FileLookup::Entry FileLookup::entryAt(const fs::path& path) {
    const auto known = entries_.find(path.native());
    if (known != entries_.end())
        return known->second;
    Entry entry;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    entry.link = fs::is_symlink(status);
    entry.type = entry.link ? fs::status(path, error).type() : status.type();
    if (error)
        entry.type = fs::file_type::not_found;
    return entries_.emplace(path.native(), entry).first->second;
}

std::pair<std::string, FileLookup::Entry> FileLookup::matchInFolder(const fs::path& folder,
                                                                    const std::string& part) {
    Listing* listed = listingWorthReading(folder);
    if (!listed) {
        const Entry entry = entryAt(folder / part);
        if (entry.type != fs::file_type::not_found || entry.link)
            return {part, entry};
        listed = &listing(folder);
    }
    if (const auto exact = listed->entries.find(part); exact != listed->entries.end())
        return *exact;
    const auto& foldedNames = listed->foldedNames();
    const auto match = foldedNames.find(foldAsciiCase(part));
    if (match == foldedNames.end())
        return {part, Entry{}};
    return {match->second, listed->entries.at(match->second)};
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
// Read with readdir: the type of most entries comes with the listing, so a
// large folder is listed without a status call per entry; only links, and
// entries of file systems that do not give types, are asked about.
FileLookup::Listing& FileLookup::listing(const fs::path& folder) {
    Listing& listed = listings_[folder.native()];
    ++foldersListed_;
    DIR* const stream = ::opendir(folder.c_str());
    if (!stream)
        return listed;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (isDotPart(name))
            continue;
        switch (entry->d_type) {
        case DT_REG:
            listed.entries.emplace(name, Entry{fs::file_type::regular, false});
            break;
        case DT_DIR:
            listed.entries.emplace(name, Entry{fs::file_type::directory, false});
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            listed.entries.emplace(name, entryAt(folder / name));
            break;
        default:
            listed.entries.emplace(name, Entry{fs::file_type::unknown, false});
            break;
        }
        listed.order.push_back(name);
    }
    ::closedir(stream);
    return listed;
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
