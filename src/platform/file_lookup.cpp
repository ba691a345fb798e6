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
bool isDotPart(std::string_view part) {
    return part == "." || part == "..";
}

} // namespace

std::optional<FileLookup::Found> FileLookup::find(const fs::path& base,
                                                  std::string_view cp932Name) {
    const auto parts = scriptNameParts(cp932Name);
    if (!parts)
        return std::nullopt;
    return find(base, *parts);
}

FileLookup::Found FileLookup::find(const fs::path& base,
                                   std::span<const std::string_view> cp932Parts) {
    Found found{base, fs::file_type::directory, false};
    for (const std::string_view cp932Part : cp932Parts) {
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
    if (const Entry* known = entries_.find(path.native()))
        return *known;
    Entry entry;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    entry.link = fs::is_symlink(status);
    entry.type = entry.link ? fs::status(path, error).type() : status.type();
    if (error)
        entry.type = fs::file_type::not_found;
    return entries_.emplace(path.native(), entry);
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
    if (const Entry* exact = listed->entries.find(part))
        return {part, *exact};
    const std::string* match = listed->foldedNames().find(foldAsciiCase(part));
    if (!match)
        return {part, Entry{}};
    return {*match, *listed->entries.find(*match)};
}

// A few names in a large folder are cheaper to ask the disk about one by one;
// once a folder has been asked about more names than that, reading its
// listing costs less than asking about each.
FileLookup::Listing* FileLookup::listingWorthReading(const fs::path& folder) {
    if (Listing* listed = listings_.find(folder.native()))
        return listed;
    constexpr int kNamesBeforeListing = 16;
    if (++namesAsked_.emplace(folder.native(), 0) > kNamesBeforeListing)
        return &listing(folder);
    return nullptr;
}

// A folder that cannot be listed (missing, or not a folder) has no entries.
// Read with readdir: the type of most entries comes with the listing, so a
// large folder is listed without a status call per entry; only links, and
// entries of file systems that do not give types, are asked about.
FileLookup::Listing& FileLookup::listing(const fs::path& folder) {
    Listing& listed = listings_.emplace(folder.native());
    ++foldersListed_;
    DIR* const stream = ::opendir(folder.c_str());
    if (!stream)
        return listed;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
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
    }
    ::closedir(stream);
    return listed;
}

// Built at the first name that is not found as written.
const StringTable<std::string>& FileLookup::Listing::foldedNames() {
    if (!byFoldedName_) {
        byFoldedName_.emplace();
        for (const auto& [name, entry] : entries)
            byFoldedName_->emplace(foldAsciiCase(name), name);
    }
    return *byFoldedName_;
}

} // namespace pagora
