#pragma once

#include "package/lfile_format.h"
#include "package/zlib_stream.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class Prompter;

// Reads a package archive. Any bytes may be handed to it: the header and the
// directory are checked against the size of the file when it is opened, an
// entry's data when it is sought, and no read ever passes the end of the
// current entry, so a damaged archive fails with a reason in Error() instead
// of reading elsewhere. The zlib messages go through the Prompter.
class LFileReader {
public:
    explicit LFileReader(Prompter& prompter)
        : prompter_(prompter) {}
    ~LFileReader() { Close(); }
    LFileReader(const LFileReader&) = delete;
    LFileReader& operator=(const LFileReader&) = delete;

    LFileHeader Header;
    std::uint32_t Count = 0;
    std::uint64_t DataStart = 0; // 268 + Count x 272
    LFileEntry Entry;            // the current entry, after a successful seek

    // False when the file cannot be opened, is shorter than the header, or
    // its directory passes the end of the file. The magic is not checked.
    bool Open(const std::filesystem::path& path);
    // The same over an archive held in memory (the bytes are copied).
    bool OpenMemory(std::span<const std::uint8_t> bytes);
    void Close();
    bool IsOpen() const { return descriptor_ >= 0 || inMemory_; }
    std::uint64_t FileSize() const { return fileSize_; }

    // Directory entry index as stored, without checking its data.
    bool ReadEntry(std::uint32_t index, LFileEntry& entry);
    // Checks the whole directory: every entry has a name, and its data lies
    // inside the file and shares no byte with another entry's. False, with
    // the first fault in Error(), when it does not.
    bool CheckDirectory();
    // Makes the first entry of that name (compared byte for byte), or entry
    // index, current and moves to its data. False when there is none, or when
    // its data passes the end of the file.
    bool Seek(std::string_view name);
    bool SeekIndex(std::uint32_t index);
    // Reads up to count items of size bytes from the current entry; never
    // past its end. Returns the number of whole items read.
    std::size_t Read(void* buffer, std::size_t size, std::size_t count);
    // Writes an entry's bytes to stream, inflating a compressed one. False,
    // writing nothing, when the entry is missing or stored larger than
    // maxSize; false when its data is damaged, it inflates past maxSize bytes
    // (having written at most maxSize) or the stream fails.
    bool Extract(std::string_view name, std::ostream& stream, std::uint64_t maxSize = kNoSizeLimit);
    bool ExtractIndex(std::uint32_t index, std::ostream& stream,
                      std::uint64_t maxSize = kNoSizeLimit);
    // The lines of an entry's text (CR LF, LF or CR line ends).
    bool LoadStrings(std::string_view name, std::vector<std::string>& strings);

    // Why the last call that failed failed (UTF-8).
    const std::string& Error() const { return error_; }
    // For a failure of the system or of zlib, the archive and their reason,
    // as "a.cpf: cannot read: Input/output error" (UTF-8); empty otherwise.
    const std::string& Cause() const { return cause_; }
    Prompter& prompter() const { return prompter_; }

private:
    bool openBytes(std::uint64_t size);
    bool useEntry(const LFileEntry& entry);
    bool extractCurrent(std::ostream& stream, std::uint64_t maxSize);
    bool inflateCurrent(std::ostream& stream, std::uint64_t maxSize);
    std::string entryLabel(std::uint32_t index);
    std::size_t readAt(std::uint64_t at, void* buffer, std::size_t size);
    bool fail(std::string reason, std::string cause = {});
    std::string causeLine(std::string_view action, std::string_view reason) const;

    Prompter& prompter_;
    int descriptor_ = -1;
    bool inMemory_ = false;
    std::vector<std::uint8_t> memory_;
    std::uint64_t fileSize_ = 0;
    bool hasEntry_ = false;
    std::uint64_t position_ = 0; // in the file
    std::uint64_t entryEnd_ = 0; // the end of the current entry's data in the file
    std::filesystem::path path_; // empty for an archive in memory
    std::string readFailure_;    // why the last read of the file came back short: a cause line
    std::string error_;
    std::string cause_;
};

inline bool LFile_FileLinkageOpen(LFileReader& reader, const std::filesystem::path& path) {
    return reader.Open(path);
}
inline void LFile_FileLinkageClose(LFileReader& reader) {
    reader.Close();
}
inline bool LFile_FileLinkageSeek(LFileReader& reader, std::string_view name) {
    return reader.Seek(name);
}
inline bool LFile_FileLinkageSeekIndex(LFileReader& reader, std::uint32_t index) {
    return reader.SeekIndex(index);
}
inline std::size_t LFile_FileLinkageRead(void* buffer, std::size_t size, std::size_t count,
                                         LFileReader& reader) {
    return reader.Read(buffer, size, count);
}
inline bool LFile_FileLinkageExtract(LFileReader& reader, std::string_view name,
                                     std::ostream& stream) {
    return reader.Extract(name, stream);
}
inline bool LFile_FileLinkageLoadStrings(LFileReader& reader, std::string_view name,
                                         std::vector<std::string>& strings) {
    return reader.LoadStrings(name, strings);
}

// Whether the file starts with the bytes of tag; false when it cannot be read.
bool LFile_CheckFileType(const std::filesystem::path& path, std::string_view tag);

} // namespace pagora
