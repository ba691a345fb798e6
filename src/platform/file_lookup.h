#pragma once

#include "platform/string_map.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pagora {

// Turns script file names into paths as resolveScriptPath does, for a run that
// looks up many names (the error check, gathering a package). A folder is
// listed at most once per object, when a name is not found in it as written or
// once many names have been looked up in it; later lookups in it are answered
// from that listing. Make one per run, so files added on disk since an earlier
// run are seen.
class FileLookup {
public:
    // What a name stands for under a base folder.
    struct Found {
        std::filesystem::path path;
        std::filesystem::file_type type; // links followed; not_found when nothing is there
        // Whether a symbolic link lies on the way: the entry itself or a
        // folder it is reached through. Only then can its real place differ
        // from what the path says.
        bool throughLink = false;
    };

    // nullopt when the name is not valid CP932.
    std::optional<Found> find(const std::filesystem::path& base, std::string_view cp932Name);
    // The same for the parts of a name that decodes (see scriptNameParts).
    Found find(const std::filesystem::path& base, std::span<const std::string_view> cp932Parts);
    // The path of find; empty when the name is not valid CP932.
    std::filesystem::path resolve(const std::filesystem::path& base, std::string_view cp932Name);

    // How many folders this object has listed.
    int foldersListed() const { return foldersListed_; }

private:
    struct Entry {
        std::filesystem::file_type type = std::filesystem::file_type::not_found;
        bool link = false;
    };
    // The entries of one folder by name in listing order, and the first of
    // them in listing order for each name folded to lower-case ASCII.
    struct Listing {
        StringTable<Entry> entries;
        const StringTable<std::string>& foldedNames();

    private:
        std::optional<StringTable<std::string>> byFoldedName_;
    };

    // The entry of folder that part names: as written, else the first whose
    // name matches without regard to letter case, else part itself (missing).
    std::pair<std::string, Entry> matchInFolder(const std::filesystem::path& folder,
                                                const std::string& part);
    Listing& listing(const std::filesystem::path& folder);
    Listing* listingWorthReading(const std::filesystem::path& folder);
    Entry entryAt(const std::filesystem::path& path);

    StringTable<Listing> listings_; // by folder path
    StringTable<Entry> entries_;    // by path, for unlisted folders
    StringTable<int> namesAsked_;   // by folder path, until it is listed
    int foldersListed_ = 0;
};

} // namespace pagora
