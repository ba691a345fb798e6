#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pagora {

// The package archive: a 268-byte header, a directory of 272-byte entries and
// the data of every entry back to back. All integers are 32-bit unsigned,
// little-endian. The player program reads these bytes, so their layout never
// changes.
inline constexpr std::size_t kLFileHeaderSize = 268;
inline constexpr std::size_t kLFileEntrySize = 272;
inline constexpr std::size_t kLFileMagicSize = 8;
inline constexpr std::size_t kLFileCommentSize = 256;
inline constexpr std::size_t kLFileNameSize = 256;
// The longest entry name: the name field also holds its terminating zero.
inline constexpr std::size_t kLFileMaxNameLength = kLFileNameSize - 1;
// Flags bit 31: the entry's data is a zlib stream.
inline constexpr std::uint32_t kLFileCompressed = 0x80000000u;

inline constexpr std::string_view kLFileInitialMagic = "LINKAGE";
inline constexpr std::string_view kLFileDefaultComment = "Default linkage file";
inline constexpr std::string_view kPackageMagic = "PGR95";

struct LFileHeader {
    std::array<char, kLFileMagicSize> Magic{};     // NUL-padded tag
    std::array<char, kLFileCommentSize> Comment{}; // NUL-terminated text
    std::uint32_t Count = 0;                       // number of directory entries
};

struct LFileEntry {
    std::array<char, kLFileNameSize> Name{}; // NUL-terminated bare file name
    std::uint32_t Flags = 0;                 // kLFileCompressed or 0
    std::uint32_t Reserved = 0;
    std::uint32_t Offset = 0; // counted from the start of the data region
    std::uint32_t Size = 0;   // stored bytes
};

// Sets an 8-byte tag field to zeros and copies at most 8 bytes of text into it.
void LFile_SetFileType(std::array<char, kLFileMagicSize>& field, std::string_view text);

// A text field up to its first zero byte (the whole field when it has none).
template <std::size_t N> std::string_view FieldText(const std::array<char, N>& field) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return {field.data(), length};
}

// The field set to text and zero bytes; false, leaving it zeroed, when text
// has a zero byte or does not leave room for the terminating zero.
template <std::size_t N> bool SetFieldText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    if (text.size() >= N || text.find('\0') != std::string_view::npos)
        return false;
    text.copy(field.data(), text.size());
    return true;
}

void EncodeHeader(const LFileHeader& header, std::span<std::uint8_t, kLFileHeaderSize> bytes);
LFileHeader DecodeHeader(std::span<const std::uint8_t, kLFileHeaderSize> bytes);
void EncodeEntry(const LFileEntry& entry, std::span<std::uint8_t, kLFileEntrySize> bytes);
LFileEntry DecodeEntry(std::span<const std::uint8_t, kLFileEntrySize> bytes);

// Where the data region starts in an archive of count entries.
inline std::uint64_t LFileDataStart(std::uint32_t count) {
    return kLFileHeaderSize + std::uint64_t{count} * kLFileEntrySize;
}

} // namespace pagora
