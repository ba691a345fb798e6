#pragma once

#include "platform/file_descriptor.h"

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace pagora {

// A program killed while it writes leaves its temporaries behind. Each
// temporary is named by a prefix and six random letters or digits, and is
// locked (flock) while the program that made it runs; a later run removes
// those that match, that nobody holds, and that have not changed for this long.
inline constexpr std::chrono::minutes kStaleTemporaryAge{15};

// Whether name is prefix followed by six ASCII letters or digits.
bool isTemporaryName(std::string_view name, std::string_view prefix);

// Removes the stale temporary files (regular files, not links) of folder
// whose names start with prefix. Failures are ignored.
void removeStaleTemporaryFiles(const std::filesystem::path& folder, std::string_view prefix);

// Removes the stale temporary folders of folder whose names start with
// prefix: those owned by this user that hold nothing but regular files named
// in contents. Failures are ignored.
void removeStaleTemporaryFolders(const std::filesystem::path& folder, std::string_view prefix,
                                 std::initializer_list<std::string_view> contents);

// Marks a temporary file or folder as in use for the life of the object.
class TemporaryLock {
public:
    explicit TemporaryLock(const std::filesystem::path& path);

private:
    FileDescriptor fd_;
};

// A new file that takes the place of target once it is complete. It is made
// beside the file target names, following symbolic links, so that the links
// stay and the rename never crosses file systems. Until commit() the target
// is untouched; a ReplacementFile that goes uncommitted removes its file.
class ReplacementFile {
public:
    // Refuses a target that is a folder or not a regular file, or that cannot
    // be written, and removes what killed saves of the same file left.
    // Throws IoError naming target.
    explicit ReplacementFile(const std::filesystem::path& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    int descriptor() const { return file_.get(); }

    // Gives the file the owner, group and permissions of the file it
    // replaces (the owner only where the process may), flushes it to disk,
    // renames it over the target and flushes the folder, so that a power cut
    // cannot lose the rename. Throws IoError; the target is then unchanged.
    void commit();

private:
    std::filesystem::path target_;      // as the caller named it, for messages
    std::filesystem::path destination_; // the file target names
    std::filesystem::path temporary_;
    FileDescriptor file_;
    bool committed_ = false;
};

} // namespace pagora
