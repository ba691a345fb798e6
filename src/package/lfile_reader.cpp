#include "package/lfile_reader.h"

#include "platform/encoding.h"
#include "platform/message_line.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace pagora {
namespace {

constexpr std::size_t kCopyBlock = 2048;

std::string inQuotes(std::string_view cp932Name) {
    return "\"" + escapeControls(toUtf8(cp932Name)) + "\"";
}

std::string tooLarge(const std::string& name, std::uint64_t maxSize) {
    return "entry " + name + " unpacks to more than " + std::to_string(maxSize) + " bytes";
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

} // namespace

bool LFileReader::fail(std::string reason, std::string cause) {
    error_ = std::move(reason);
    cause_ = std::move(cause);
    return false;
}

std::string LFileReader::causeLine(std::string_view action, std::string_view reason) const {
    std::string line = path_.empty() ? std::string("the archive in memory") : path_.string();
    line.append(": ").append(action).append(": ").append(reason);
    return line;
}

bool LFileReader::Open(const std::filesystem::path& path) {
    Close();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return fail(std::string("cannot open: ") + std::strerror(errno));
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return fail("not a regular file");
    }
    descriptor_ = descriptor;
    path_ = path;
    return openBytes(static_cast<std::uint64_t>(info.st_size));
}

bool LFileReader::OpenMemory(std::span<const std::uint8_t> bytes) {
    Close();
    memory_.assign(bytes.begin(), bytes.end());
    inMemory_ = true;
    return openBytes(memory_.size());
}

bool LFileReader::openBytes(std::uint64_t size) {
    fileSize_ = size;
    std::uint8_t header[kLFileHeaderSize];
    if (readAt(0, header, kLFileHeaderSize) != kLFileHeaderSize) {
        Close();
        return fail("shorter than the 268-byte header of an archive");
    }
    Header = DecodeHeader(header);
    Count = Header.Count;
    DataStart = LFileDataStart(Count);
    if (DataStart > fileSize_) {
        const std::string count = std::to_string(Count);
        const std::string bytes = std::to_string(fileSize_);
        Close();
        return fail("the directory of " + count + " entries passes the end of the file (" + bytes +
                    " bytes)");
    }
    position_ = kLFileHeaderSize;
    return true;
}

void LFileReader::Close() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    inMemory_ = false;
    memory_.clear();
    memory_.shrink_to_fit();
    fileSize_ = 0;
    Header = LFileHeader{};
    Count = 0;
    DataStart = 0;
    Entry = LFileEntry{};
    hasEntry_ = false;
    position_ = 0;
    entryEnd_ = 0;
    path_.clear();
    readFailure_.clear();
}

std::size_t LFileReader::readAt(std::uint64_t at, void* buffer, std::size_t size) {
    readFailure_.clear();
    if (at >= fileSize_)
        return 0;
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, fileSize_ - at));
    if (inMemory_) {
        std::memcpy(buffer, memory_.data() + at, size);
        return size;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(descriptor_, static_cast<char*>(buffer) + done, size - done,
                                    static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            readFailure_ = causeLine("cannot read", std::strerror(errno));
            break;
        }
        if (got == 0) {
            readFailure_ =
                causeLine("cannot read", "the file ends at byte " + std::to_string(at + done) +
                                             ", not at " + std::to_string(fileSize_));
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool LFileReader::ReadEntry(std::uint32_t index, LFileEntry& entry) {
    if (!IsOpen())
        return fail("no archive is open");
    if (index >= Count)
        return fail("there is no entry number " + std::to_string(index) + " (the archive has " +
                    std::to_string(Count) + ")");
    std::uint8_t record[kLFileEntrySize];
    if (readAt(kLFileHeaderSize + std::uint64_t{index} * kLFileEntrySize, record,
               kLFileEntrySize) != kLFileEntrySize)
        return fail("cannot read entry number " + std::to_string(index), readFailure_);
    entry = DecodeEntry(record);
    return true;
}

std::string LFileReader::entryLabel(std::uint32_t index) {
    LFileEntry entry;
    ReadEntry(index, entry);
    return "entry " + std::to_string(index) + " " + inQuotes(FieldText(entry.Name));
}

bool LFileReader::CheckDirectory() {
    // The data of every entry with bytes, by where it starts: its end and its index.
    std::map<std::uint64_t, std::pair<std::uint64_t, std::uint32_t>> taken;
    for (std::uint32_t index = 0; index < Count; ++index) {
        LFileEntry entry;
        if (!ReadEntry(index, entry))
            return false;
        if (FieldText(entry.Name).empty())
            return fail("entry " + std::to_string(index) + " has no name");
        const std::uint64_t start = DataStart + entry.Offset;
        const std::uint64_t end = start + entry.Size;
        if (end > fileSize_)
            return fail("the data of " + entryLabel(index) + " passes the end of the file");
        if (entry.Size == 0)
            continue;
        auto after = taken.lower_bound(start);
        const bool overlapsNext = after != taken.end() && after->first < end;
        const bool overlapsPrevious =
            after != taken.begin() && std::prev(after)->second.first > start;
        if (overlapsNext || overlapsPrevious) {
            const std::uint32_t other =
                overlapsNext ? after->second.second : std::prev(after)->second.second;
            return fail("the data of " + entryLabel(index) + " overlaps that of " +
                        entryLabel(other));
        }
        taken.emplace_hint(after, start, std::pair{end, index});
    }
    return true;
}

bool LFileReader::useEntry(const LFileEntry& entry) {
    const std::uint64_t start = DataStart + entry.Offset;
    const std::uint64_t end = start + entry.Size;
    if (end > fileSize_) {
        hasEntry_ = false;
        return fail("the data of entry " + inQuotes(FieldText(entry.Name)) +
                    " passes the end of the file");
    }
    Entry = entry;
    hasEntry_ = true;
    position_ = start;
    entryEnd_ = end;
    return true;
}

bool LFileReader::Seek(std::string_view name) {
    if (!IsOpen())
        return fail("no archive is open");
    LFileEntry entry;
    for (std::uint32_t index = 0; index < Count; ++index) {
        if (!ReadEntry(index, entry))
            return false;
        if (FieldText(entry.Name) == name)
            return useEntry(entry);
    }
    return fail("there is no entry named " + inQuotes(name));
}

bool LFileReader::SeekIndex(std::uint32_t index) {
    LFileEntry entry;
    return ReadEntry(index, entry) && useEntry(entry);
}

std::size_t LFileReader::Read(void* buffer, std::size_t size, std::size_t count) {
    if (!hasEntry_ || size == 0 || count == 0)
        return 0;
    const std::uint64_t remaining = entryEnd_ - position_;
    const std::uint64_t wanted =
        count > remaining / size ? remaining : std::uint64_t{size} * std::uint64_t{count};
    const std::size_t got = readAt(position_, buffer, static_cast<std::size_t>(wanted));
    position_ += got;
    return got / size;
}

bool LFileReader::inflateCurrent(std::ostream& stream, std::uint64_t maxSize) {
    const std::string name = inQuotes(FieldText(Entry.Name));
    const ZDecompressResult result = ZDecompress(stream, *this, maxSize);
    switch (result.status) {
    case ZDecompressStatus::Done:
        return true;
    case ZDecompressStatus::Damaged:
        // A read that failed starved inflate: the read's reason is the real one.
        return fail("the compressed data of entry " + name + " is damaged",
                    readFailure_.empty() ? causeLine("cannot inflate " + name, result.damage)
                                         : readFailure_);
    case ZDecompressStatus::WriteFailed:
        return fail("cannot write entry " + name);
    case ZDecompressStatus::TooLarge:
        return fail(tooLarge(name, maxSize));
    }
    return false;
}

bool LFileReader::extractCurrent(std::ostream& stream, std::uint64_t maxSize) {
    if (Entry.Flags & kLFileCompressed)
        return inflateCurrent(stream, maxSize);
    const std::string name = inQuotes(FieldText(Entry.Name));
    if (Entry.Size > maxSize)
        return fail(tooLarge(name, maxSize));
    char block[kCopyBlock];
    std::uint64_t copied = 0;
    for (;;) {
        const std::size_t got = Read(block, 1, kCopyBlock);
        if (got == 0)
            break;
        if (!stream.write(block, static_cast<std::streamsize>(got)))
            return fail("cannot write entry " + name);
        copied += got;
    }
    if (copied != Entry.Size)
        return fail("cannot read the data of entry " + name, readFailure_);
    return true;
}

bool LFileReader::Extract(std::string_view name, std::ostream& stream, std::uint64_t maxSize) {
    return Seek(name) && extractCurrent(stream, maxSize);
}

bool LFileReader::ExtractIndex(std::uint32_t index, std::ostream& stream, std::uint64_t maxSize) {
    return SeekIndex(index) && extractCurrent(stream, maxSize);
}

bool LFileReader::LoadStrings(std::string_view name, std::vector<std::string>& strings) {
    std::ostringstream text;
    if (!Extract(name, text))
        return false;
    strings = splitLines(text.view());
    return true;
}

bool LFile_CheckFileType(const std::filesystem::path& path, std::string_view tag) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string start(tag.size(), '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    return static_cast<std::size_t>(file.gcount()) == tag.size() && start == tag;
}

} // namespace pagora
