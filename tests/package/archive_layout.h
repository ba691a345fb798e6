#pragma once

// A second reader and writer of the package archive, written from the byte
// layout alone (268-byte header, 272-byte entries, little-endian fields, data
// back to back, zlib streams), so that tests check the library's archives
// against something that shares no code with it.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <zlib.h>

namespace pagora::test {

inline std::uint32_t le32At(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

inline void appendLe32(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(value >> (8 * i));
}

inline std::string padded(std::string_view text, std::size_t size) {
    std::string field(text.substr(0, size));
    field.resize(size, '\0');
    return field;
}

struct LayoutEntry {
    std::string name;
    std::uint32_t flags = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::string stored; // the entry's bytes as they lie in the data region
};

struct ArchiveLayout {
    std::string magic;   // all 8 bytes
    std::string comment; // all 256 bytes
    std::vector<LayoutEntry> entries;
};

// Reads an archive the library wrote and checks what every such archive
// must satisfy: zero-padded names, reserved fields 0, only bit 31 in the
// flags, data back to back from offset 0 and nothing after the last entry.
inline ArchiveLayout readArchiveLayout(std::string_view bytes) {
    ArchiveLayout layout;
    EXPECT_GE(bytes.size(), 268u);
    if (bytes.size() < 268)
        return layout;
    layout.magic = std::string(bytes.substr(0, 8));
    layout.comment = std::string(bytes.substr(8, 256));
    const std::uint32_t count = le32At(bytes, 264);
    const std::size_t dataStart = 268 + std::size_t{count} * 272;
    EXPECT_LE(dataStart, bytes.size()) << "directory of " << count << " entries";
    if (dataStart > bytes.size())
        return layout;
    std::size_t expectedOffset = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string_view record = bytes.substr(268 + std::size_t{i} * 272, 272);
        LayoutEntry entry;
        const std::size_t nameLength = record.substr(0, 256).find('\0');
        EXPECT_NE(nameLength, std::string_view::npos) << "entry " << i << " name unterminated";
        entry.name = std::string(record.substr(0, std::min<std::size_t>(nameLength, 256)));
        EXPECT_EQ(record.substr(0, 256), padded(entry.name, 256)) << "entry " << i;
        entry.flags = le32At(record, 256);
        EXPECT_TRUE(entry.flags == 0 || entry.flags == 0x80000000u) << entry.flags;
        EXPECT_EQ(le32At(record, 260), 0u) << "reserved field of entry " << i;
        entry.offset = le32At(record, 264);
        entry.size = le32At(record, 268);
        EXPECT_EQ(entry.offset, expectedOffset) << "entry " << i;
        if (dataStart + std::size_t{entry.offset} + entry.size > bytes.size()) {
            ADD_FAILURE() << "entry " << i << " passes the end of the archive";
            return layout;
        }
        entry.stored = std::string(bytes.substr(dataStart + entry.offset, entry.size));
        expectedOffset = std::size_t{entry.offset} + entry.size;
        layout.entries.push_back(std::move(entry));
    }
    EXPECT_EQ(bytes.size(), dataStart + expectedOffset) << "bytes after the last entry";
    return layout;
}

// The entry's content: its bytes, or for a compressed entry what zlib's
// uncompress makes of them, which must be exactly expectedSize bytes.
inline std::string entryContent(const LayoutEntry& entry, std::size_t expectedSize) {
    if (!(entry.flags & 0x80000000u))
        return entry.stored;
    std::string content(expectedSize + 1, '\0');
    uLongf length = static_cast<uLongf>(content.size());
    const int result =
        uncompress(reinterpret_cast<Bytef*>(content.data()), &length,
                   reinterpret_cast<const Bytef*>(entry.stored.data()), entry.stored.size());
    EXPECT_EQ(result, Z_OK) << "entry " << entry.name;
    content.resize(result == Z_OK ? length : 0);
    return content;
}

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// What an archive should hold, entry by entry.
struct ExpectedEntry {
    std::string name; // CP932
    bool compressed;
    std::string content;
};

inline void expectArchiveHolds(const std::filesystem::path& archive,
                               const std::vector<ExpectedEntry>& expected) {
    const std::string bytes = fileBytes(archive);
    const ArchiveLayout layout = readArchiveLayout(bytes);
    EXPECT_EQ(layout.magic, std::string("PGR95\0\0\0", 8));
    EXPECT_EQ(layout.comment, padded("Default linkage file", 256));
    ASSERT_EQ(layout.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const LayoutEntry& entry = layout.entries[i];
        EXPECT_EQ(entry.name, expected[i].name) << "entry " << i;
        EXPECT_EQ(entry.flags, expected[i].compressed ? 0x80000000u : 0u) << entry.name;
        EXPECT_EQ(entryContent(entry, expected[i].content.size()), expected[i].content)
            << entry.name;
    }
}

// An entry of a hand-made archive: any name, flags, offset and size.
struct RawEntry {
    std::string name;
    std::uint32_t flags = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t reserved = 0;
};

// Header and directory as given (count defaults to the number of entries),
// followed by data.
inline std::string rawArchive(const std::vector<RawEntry>& entries, std::string_view data,
                              std::optional<std::uint32_t> count = std::nullopt,
                              std::string_view magic = "PGR95") {
    std::string bytes = padded(magic, 8) + padded("Default linkage file", 256);
    appendLe32(bytes, count.value_or(static_cast<std::uint32_t>(entries.size())));
    for (const RawEntry& entry : entries) {
        bytes += padded(entry.name, 256);
        appendLe32(bytes, entry.flags);
        appendLe32(bytes, entry.reserved);
        appendLe32(bytes, entry.offset);
        appendLe32(bytes, entry.size);
    }
    return bytes.append(data);
}

inline std::string zlibCompressed(std::string_view data) {
    uLongf length = compressBound(data.size());
    std::string out(length, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &length,
              reinterpret_cast<const Bytef*>(data.data()), data.size(), Z_DEFAULT_COMPRESSION);
    out.resize(length);
    return out;
}

} // namespace pagora::test
