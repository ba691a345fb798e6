#pragma once

#include "package/lfile_format.h"
#include "platform/errors.h"
#include "platform/temporary_files.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string_view>

namespace pagora {

class Prompter;

// The archive writer's working state. Entries are collected in two
// temporary files, one for the directory and one for the data, which End
// puts together behind the header. The temporaries live in a private folder
// of the system's temporary directory, made by Init, so that two builds never
// share them; the folder goes with the context. Init removes the folders of
// builds that were killed.
class LFileContext {
public:
    explicit LFileContext(Prompter& prompter)
        : prompter_(prompter) {}
    ~LFileContext();
    LFileContext(const LFileContext&) = delete;
    LFileContext& operator=(const LFileContext&) = delete;

    std::filesystem::path LinkageFileName = "Linkage.dat";
    std::filesystem::path HeaderTempName; // "LHTemp.tmp" in the private folder
    std::filesystem::path DataTempName;   // "LDTemp.tmp" in the private folder
    LFileHeader Header;

    // A fresh private folder for the temporaries, their names, and the header
    // ("LINKAGE", "Default linkage file", no entries). When the folder cannot
    // be made the names stay empty and every add fails.
    void Init();
    // Deletes the temporaries when they exist.
    void Clean();
    // Append the stream's bytes (from its current position to its end) as an
    // entry, stored as they are or as one zlib stream. False, with nothing
    // added, when a temporary cannot be written, the source cannot be read,
    // compression fails, the name is longer than 255 bytes or holds a zero
    // byte, or the archive would pass 4 GiB (its offsets are 32-bit).
    bool Add(std::istream& stream, std::string_view name);
    bool AddCompress(std::istream& stream, std::string_view name);
    bool AddFile(const std::filesystem::path& source, std::string_view name);
    // Writes the archive: the header, the directory, the data. The archive is
    // written beside its final name and renamed over it as every save is
    // (ReplacementFile), so a failure leaves no partial archive and any old
    // file as it was. Deletes the temporaries
    // on success.
    bool End();

    Prompter& prompter() const { return prompter_; }
    // Why the last add or End failed, when the system refused a file: which
    // file and the system's error number. Empty after a success, and after
    // failures of other kinds (a name too long, a failed compression).
    const std::optional<IoError>& lastError() const { return lastError_; }

private:
    // Writes an entry's data into the data temporary; false when the source
    // or the compression failed, or the file refused a write.
    using DataWriter = std::function<bool(std::FILE* data)>;
    bool append(std::string_view name, std::uint32_t flags, const DataWriter& writeData);
    bool writeParts(std::FILE* archive);
    // Records the failure of a file operation and returns false.
    bool fail(const std::filesystem::path& path, FileAction action, int errorNumber);
    void removeFolder();

    Prompter& prompter_;
    std::filesystem::path folder_;
    std::optional<TemporaryLock> folderLock_;
    std::optional<IoError> lastError_;
};

inline void LFile_FileLinkageInit(LFileContext& context) {
    context.Init();
}
inline void LFile_FileLinkageClean(LFileContext& context) {
    context.Clean();
}
inline bool LFile_FileLinkageAdd(LFileContext& context, std::istream& stream,
                                 std::string_view name) {
    return context.Add(stream, name);
}
inline bool LFile_FileLinkageAddCompress(LFileContext& context, std::istream& stream,
                                         std::string_view name) {
    return context.AddCompress(stream, name);
}
inline bool LFile_FileLinkageAddFile(LFileContext& context, const std::filesystem::path& source,
                                     std::string_view name) {
    return context.AddFile(source, name);
}
inline bool LFile_FileLinkageEnd(LFileContext& context) {
    return context.End();
}

} // namespace pagora
