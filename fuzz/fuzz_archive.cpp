// Opens arbitrary bytes as a package archive through the reader's memory entry
// point, then seeks, reads and extracts every entry. Whatever the bytes hold,
// a read must stay inside its entry and return the entry's own bytes, a
// stored entry must extract to exactly those bytes, and a seek by name must
// find the first entry of that name.
#include "package/lfile_reader.h"
#include "platform/scripted_prompter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Enough entries to reach every seek and read path; an archive of many more
// repeats them.
constexpr std::uint32_t kMostEntries = 64;

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Reads the current entry in small uneven items and compares with the input.
void readInPieces(pagora::LFileReader& reader, const std::uint8_t* entryBytes, std::size_t size) {
    std::vector<std::uint8_t> buffer(32);
    std::size_t done = 0;
    for (std::size_t itemSize = 1;; itemSize = itemSize % 5 + 1) {
        std::fill(buffer.begin(), buffer.end(), 0xA5);
        const std::size_t items = reader.Read(buffer.data(), itemSize, 6);
        const std::size_t bytes = std::min(size - done, itemSize * 6);
        check(items == bytes / itemSize);
        check(std::memcmp(buffer.data(), entryBytes + done, bytes) == 0);
        check(buffer[bytes] == 0xA5);
        done += bytes;
        if (bytes == 0)
            break;
    }
    check(done == size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pagora::ScriptedPrompter prompter;
    pagora::LFileReader reader(prompter);
    if (!reader.OpenMemory({data, size}))
        return 0;
    check(reader.DataStart <= size);
    const std::uint32_t count = std::min(reader.Count, kMostEntries);
    for (std::uint32_t index = 0; index < count; ++index) {
        pagora::LFileEntry entry;
        check(reader.ReadEntry(index, entry));
        const std::uint64_t start = reader.DataStart + entry.Offset;
        const bool inside = start + entry.Size <= size;
        check(reader.SeekIndex(index) == inside);
        if (!inside)
            continue;
        readInPieces(reader, data + start, entry.Size);

        std::ostringstream extracted;
        const bool ok = reader.ExtractIndex(index, extracted);
        if (!(entry.Flags & pagora::kLFileCompressed))
            check(ok && extracted.str() ==
                            std::string(reinterpret_cast<const char*>(data + start), entry.Size));

        const std::string name(pagora::FieldText(entry.Name));
        pagora::LFileEntry first;
        for (std::uint32_t earlier = 0; earlier <= index; ++earlier) {
            check(reader.ReadEntry(earlier, first));
            if (pagora::FieldText(first.Name) == name)
                break;
        }
        const bool firstInside = reader.DataStart + first.Offset + first.Size <= size;
        check(reader.Seek(name) == firstInside);
        if (firstInside)
            check(std::memcmp(&reader.Entry.Name, &first.Name, sizeof first.Name) == 0 &&
                  reader.Entry.Offset == first.Offset && reader.Entry.Size == first.Size);
    }
    if (reader.Count > 0) {
        pagora::LFileEntry entry;
        std::vector<std::string> lines;
        if (reader.ReadEntry(0, entry))
            reader.LoadStrings(std::string(pagora::FieldText(entry.Name)), lines);
    }
    return 0;
}
