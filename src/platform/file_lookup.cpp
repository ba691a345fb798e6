#include "platform/file_lookup.h"

#include "platform/encoding.h"
#include "platform/script_name.h"

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

// The type of a listed entry comes with the listing; only a link needs asking
// the disk where it leads.
fs::file_type typeOf(const fs::directory_entry& listed, bool link) {
    std::error_code error;
    if (link) {
        const fs::file_type type = fs::status(listed.path(), error).type();
        return error ? fs::file_type::not_found : type;
    }
    if (listed.is_regular_file(error))
        return fs::file_type::regular;
    if (listed.is_directory(error))
        return fs::file_type::directory;
    return error ? fs::file_type::not_found : fs::file_type::unknown;
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
    const auto listed = listings_.find(folder.native());
    if (listed == listings_.end()) {
        const Entry entry = entryAt(folder / part);
        if (entry.type != fs::file_type::not_found || entry.link)
            return {part, entry};
    }
    const Listing& entries = listed != listings_.end() ? listed->second : listing(folder);
    if (const auto exact = entries.entries.find(part); exact != entries.entries.end())
        return *exact;
    const auto match = entries.byFoldedName.find(foldAsciiCase(part));
    if (match == entries.byFoldedName.end())
        return {part, Entry{}};
    return {match->second, entries.entries.at(match->second)};
}

// A folder that cannot be listed (missing, or not a folder) has no entries.
const FileLookup::Listing& FileLookup::listing(const fs::path& folder) {
    Listing& entries = listings_[folder.native()];
    ++foldersListed_;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code linkError;
        Entry entry;
        entry.link = it->is_symlink(linkError) || linkError;
        entry.type = typeOf(*it, entry.link);
        entries.byFoldedName.emplace(foldAsciiCase(name), name);
        entries.entries.emplace(std::move(name), entry);
    }
    return entries;
}

} // namespace pagora
