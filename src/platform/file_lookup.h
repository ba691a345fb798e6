#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pagora {

// Turns script file names into paths as resolveScriptPath does, for a run that
// looks up many names (the error check, gathering a package). A folder is
// listed at most once per object, when a name is not found in it as written or
// once many names have been looked up in it; later lookups in it are answered
// from that listing. Make one per run, so files added on disk since an earlier
// run are seen.
class FileLookup {
public:
    std::filesystem::path resolve(const std::filesystem::path& base, std::string_view cp932Name);
    // Whether the path a name resolves to exists. Asks the disk once per path.
    bool exists(const std::filesystem::path& base, std::string_view cp932Name);

    // How many folders this object has listed.
    int foldersListed() const { return foldersListed_; }

private:
    // The entries of one folder: their names, in listing order as well, and
    // the first of them in listing order for each name folded to lower-case ASCII.
    struct Listing {
        std::unordered_set<std::string> names;
        std::unordered_set<std::string> links; // may point at nothing; unknown types too
        std::vector<std::string> order;
        const std::unordered_map<std::string, std::string>& foldedNames();

    private:
        std::optional<std::unordered_map<std::string, std::string>> byFoldedName_;
    };

    std::string matchInFolder(const std::filesystem::path& folder, const std::string& part);
    Listing& listing(const std::filesystem::path& folder);
    Listing* listingWorthReading(const std::filesystem::path& folder);
    bool pathExists(const std::filesystem::path& path);

    std::unordered_map<std::string, Listing> listings_; // by folder path
    std::unordered_map<std::string, bool> exists_;      // by path
    std::unordered_map<std::string, int> namesAsked_;   // by folder path, until it is listed
    int foldersListed_ = 0;
};

} // namespace pagora
