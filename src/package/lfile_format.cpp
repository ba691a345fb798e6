#include "package/lfile_format.h"

#include <cstring>

namespace pagora {
namespace {

void putLe32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLe32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

} // namespace

void LFile_SetFileType(std::array<char, kLFileMagicSize>& field, std::string_view text) {
    field.fill('\0');
    text.substr(0, field.size()).copy(field.data(), field.size());
}

void EncodeHeader(const LFileHeader& header, std::span<std::uint8_t, kLFileHeaderSize> bytes) {
    std::memcpy(bytes.data(), header.Magic.data(), kLFileMagicSize);
    std::memcpy(bytes.data() + 8, header.Comment.data(), kLFileCommentSize);
    putLe32(bytes.data() + 264, header.Count);
}

LFileHeader DecodeHeader(std::span<const std::uint8_t, kLFileHeaderSize> bytes) {
    LFileHeader header;
    std::memcpy(header.Magic.data(), bytes.data(), kLFileMagicSize);
    std::memcpy(header.Comment.data(), bytes.data() + 8, kLFileCommentSize);
    header.Count = getLe32(bytes.data() + 264);
    return header;
}

void EncodeEntry(const LFileEntry& entry, std::span<std::uint8_t, kLFileEntrySize> bytes) {
    std::memcpy(bytes.data(), entry.Name.data(), kLFileNameSize);
    putLe32(bytes.data() + 256, entry.Flags);
    putLe32(bytes.data() + 260, entry.Reserved);
    putLe32(bytes.data() + 264, entry.Offset);
    putLe32(bytes.data() + 268, entry.Size);
}

LFileEntry DecodeEntry(std::span<const std::uint8_t, kLFileEntrySize> bytes) {
    LFileEntry entry;
    std::memcpy(entry.Name.data(), bytes.data(), kLFileNameSize);
    entry.Flags = getLe32(bytes.data() + 256);
    entry.Reserved = getLe32(bytes.data() + 260);
    entry.Offset = getLe32(bytes.data() + 264);
    entry.Size = getLe32(bytes.data() + 268);
    return entry;
}

} // namespace pagora
