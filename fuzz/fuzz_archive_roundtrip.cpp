// Derives a few entries (names and contents, stored or compressed) from the
// input, writes them with the archive writer and reads them back with the
// reader. Every entry must come back with its name, its flag and its bytes, a
// seek by name must find the first entry of that name, and the directory must
// pass the reader's check exactly when every name is non-empty.
#include "package/lfile_reader.h"
#include "package/lfile_writer.h"
#include "platform/scripted_prompter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMostEntries = 6;

void check(bool condition) {
    if (!condition)
        std::abort();
}

// The input taken from the front; past its end, zero bytes and empty texts.
class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        const std::string_view one = take(1);
        return one.empty() ? 0 : static_cast<std::uint8_t>(one[0]);
    }
    std::size_t twoBytes() {
        const std::size_t low = byte();
        return low | std::size_t{byte()} << 8;
    }
    std::string_view take(std::size_t count) {
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(taken.size());
        return taken;
    }

private:
    std::string_view rest_;
};

struct Entry {
    std::string name; // up to 255 bytes, no zero byte: what the writer accepts
    bool compressed;
    std::string content;
};

std::vector<Entry> entriesOf(InputBytes& input) {
    // At least one: an archive without entries is never written.
    std::vector<Entry> entries(input.byte() % kMostEntries + 1);
    for (Entry& entry : entries) {
        entry.name = std::string(input.take(input.byte()));
        std::replace(entry.name.begin(), entry.name.end(), '\0', '_');
        entry.compressed = input.byte() & 1;
        entry.content = std::string(input.take(input.twoBytes()));
    }
    return entries;
}

fs::path archivePath() {
    static const fs::path path = fs::temp_directory_path() /
                                 ("pagora-fuzz-roundtrip-" + std::to_string(::getpid()) + ".cpf");
    return path;
}

void writeArchive(const std::vector<Entry>& entries, pagora::Prompter& prompter) {
    pagora::LFileContext context(prompter);
    pagora::LFile_FileLinkageInit(context);
    context.LinkageFileName = archivePath();
    pagora::LFile_SetFileType(context.Header.Magic, pagora::kPackageMagic);
    for (const Entry& entry : entries) {
        std::istringstream content(entry.content);
        check(entry.compressed ? context.AddCompress(content, entry.name)
                               : context.Add(content, entry.name));
    }
    check(pagora::LFile_FileLinkageEnd(context));
}

std::string extracted(pagora::LFileReader& reader, std::uint32_t index) {
    std::ostringstream out;
    check(reader.ExtractIndex(index, out));
    return out.str();
}

void checkReadBack(const std::vector<Entry>& entries, pagora::LFileReader& reader) {
    check(reader.Open(archivePath()));
    check(pagora::FieldText(reader.Header.Magic) == pagora::kPackageMagic);
    check(reader.Count == entries.size());
    const bool named = std::none_of(entries.begin(), entries.end(),
                                    [](const Entry& entry) { return entry.name.empty(); });
    check(reader.CheckDirectory() == named);
    for (std::uint32_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        pagora::LFileEntry stored;
        check(reader.ReadEntry(index, stored));
        check(pagora::FieldText(stored.Name) == entry.name);
        check(((stored.Flags & pagora::kLFileCompressed) != 0) == entry.compressed);
        check(extracted(reader, index) == entry.content);

        const auto first = std::find_if(entries.begin(), entries.end(), [&](const Entry& other) {
            return other.name == entry.name;
        });
        std::ostringstream found;
        check(reader.Extract(entry.name, found) && found.str() == first->content);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes input(data, size);
    const std::vector<Entry> entries = entriesOf(input);
    pagora::ScriptedPrompter prompter;
    writeArchive(entries, prompter);
    pagora::LFileReader reader(prompter);
    checkReadBack(entries, reader);
    check(prompter.messages().empty());
    reader.Close();
    fs::remove(archivePath());
    return 0;
}
