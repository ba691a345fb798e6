#include "images/mag_decoder.h"

#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <ostream>
#include <string_view>

namespace pagora {
namespace {

constexpr std::string_view kSignature = "MAKI02  ";
constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kCommentStart = 31;

// A region of the file that a reader may not leave; reads past its end give
// zero bytes.
class Region {
public:
    Region(std::span<const std::uint8_t> buffer, std::uint64_t start, std::uint64_t length) {
        const std::uint64_t first = std::min<std::uint64_t>(start, buffer.size());
        const std::uint64_t count = std::min<std::uint64_t>(length, buffer.size() - first);
        data_ = buffer.data() + first;
        size_ = static_cast<std::size_t>(count);
    }

    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::size_t remaining() const { return size_ - pos_; }
    // The next count bytes; the caller has checked remaining().
    const std::uint8_t* advance(std::size_t count) {
        const std::uint8_t* at = data_ + pos_;
        pos_ += count;
        return at;
    }

    void take(std::uint8_t* out, std::size_t count) {
        if (size_ - pos_ >= count) {
            std::memcpy(out, data_ + pos_, count);
            pos_ += count;
            return;
        }
        const std::size_t available = size_ - pos_;
        std::memcpy(out, data_ + pos_, available);
        std::memset(out + available, 0, count - available);
        pos_ = size_;
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// The flag A bit stream: the top bit of each byte first, running on across lines.
class BitReader {
public:
    explicit BitReader(Region region)
        : region_(region) {}

    bool next() {
        if (mask_ == 0) {
            current_ = region_.next();
            mask_ = 0x80;
        }
        const bool bit = (current_ & mask_) != 0;
        mask_ = static_cast<std::uint8_t>(mask_ >> 1);
        return bit;
    }

private:
    Region region_;
    std::uint8_t current_ = 0;
    std::uint8_t mask_ = 0;
};

struct CopyOffset {
    int left; // units
    int up;   // lines
};

constexpr std::array<CopyOffset, 16> kCopyOffsets = {{{0, 0},
                                                      {1, 0},
                                                      {2, 0},
                                                      {4, 0},
                                                      {0, 1},
                                                      {1, 1},
                                                      {0, 2},
                                                      {1, 2},
                                                      {2, 2},
                                                      {0, 4},
                                                      {1, 4},
                                                      {2, 4},
                                                      {0, 8},
                                                      {1, 8},
                                                      {2, 8},
                                                      {0, 16}}};

std::uint64_t flagABytesNeeded(const MAG_INFO& info) {
    const std::uint64_t bits =
        static_cast<std::uint64_t>(info.Height) * static_cast<std::uint64_t>(info.LineBytes / 4);
    return (bits + 7) / 8;
}

bool fitsIn(std::size_t size, std::uint64_t start, std::uint64_t length) {
    return start <= size && length <= size - start;
}

// The BMP size, or 0 when it does not fit the 32-bit size field of a BMP.
std::size_t bmpSizeOf(const MAG_INFO& info) {
    const std::uint64_t size =
        static_cast<std::uint64_t>(info.PixelBytes()) + info.PaletteBytes() + kBmpHeadersSize;
    return size > std::numeric_limits<std::uint32_t>::max() ? 0 : static_cast<std::size_t>(size);
}

void copyText(std::span<const std::uint8_t> buffer, std::size_t at, std::size_t length, char* out) {
    std::memcpy(out, buffer.data() + at, length);
    out[length] = '\0';
}

std::optional<std::string> readFileOrNothing(const std::filesystem::path& path) {
    try {
        return readWholeFile(path);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

// Decodes the pixel data into bottom-up rows. Lines whose flag B and pixel
// reads cannot pass their regions, and that lie 16 or more lines below the
// top, take a path without per-read checks for all but their first 8 bytes
// (the only units whose copies can reach left of the line start).
class MagPixelDecoder {
public:
    MagPixelDecoder(std::span<const std::uint8_t> buffer, std::uint8_t* out, const MAG_INFO& info)
        : flagA_(Region(buffer, std::uint64_t{info.HeaderOffset} + info.FlagAOffset,
                        std::numeric_limits<std::uint64_t>::max()))
        , flagB_(buffer, std::uint64_t{info.HeaderOffset} + info.FlagBOffset, info.FlagBSize)
        , data_(buffer, std::uint64_t{info.HeaderOffset} + info.PixelOffset, info.PixelSize)
        , out_(out)
        , lineBytes_(info.LineBytes)
        , total_(static_cast<std::ptrdiff_t>(info.PixelBytes()))
        , height_(info.Height)
        , flags_(static_cast<std::size_t>(info.LineBytes / 4), 0) {
        // Output rows are bottom-up, so a line further up lies further on.
        for (std::size_t n = 1; n < source_.size(); ++n)
            source_[n] = kCopyOffsets[n].up * lineBytes_ - kCopyOffsets[n].left * 2;
    }

    void run() {
        rowStart_ = total_ - lineBytes_;
        for (int line = 0; line < height_; ++line, rowStart_ -= lineBytes_) {
            w_ = rowStart_;
            // Flag B is read one byte ahead in the unchecked path, hence ">".
            const bool unchecked = line >= 16 && flagB_.remaining() > flags_.size() &&
                                   data_.remaining() >= static_cast<std::size_t>(lineBytes_);
            const std::size_t checkedBytes =
                unchecked ? std::min<std::size_t>(2, flags_.size()) : flags_.size();
            for (std::size_t j = 0; j < checkedBytes; ++j) {
                if (flagA_.next())
                    flags_[j] ^= flagB_.next();
                checkedFlagByte(flags_[j]);
            }
            if (unchecked)
                uncheckedRest();
        }
    }

private:
    void checkedFlagByte(unsigned flag) {
        if (flag == 0) {
            data_.take(out_ + w_, 4);
            w_ += 4;
            return;
        }
        checkedUnit(flag >> 4);
        checkedUnit(flag & 15);
    }

    // A copy takes a unit already decoded: one of the lines above, or this
    // line left of the unit being written. Anything else reads as zero.
    void checkedUnit(unsigned nibble) {
        if (nibble == 0) {
            data_.take(out_ + w_, 2);
        } else {
            const std::ptrdiff_t from = w_ + source_[nibble];
            const bool decoded = (from >= rowStart_ + lineBytes_ && from + 2 <= total_) ||
                                 (from >= rowStart_ && from + 2 <= w_);
            if (decoded)
                std::memcpy(out_ + w_, out_ + from, 2);
            else
                std::memset(out_ + w_, 0, 2);
        }
        w_ += 2;
    }

    // The rest of a line whose reads all stay inside their regions and whose
    // copies all reach decoded units: no branches on the data but the flag A
    // byte fetch.
    void uncheckedRest() {
        const std::uint8_t* const flagBStart = flagB_.advance(0);
        const std::uint8_t* const dataStart = data_.advance(0);
        const std::uint8_t* flagB = flagBStart;
        const std::uint8_t* data = dataStart;
        std::uint8_t* to = out_ + w_;
        for (std::size_t j = 2; j < flags_.size(); ++j, to += 4) {
            const auto changed = static_cast<std::uint8_t>(flagA_.next() ? 0xFF : 0);
            flags_[j] ^= *flagB & changed;
            flagB += changed & 1;
            const unsigned high = flags_[j] >> 4u, low = flags_[j] & 15u;
            std::memcpy(to, high == 0 ? data : to + source_[high], 2);
            data += high == 0 ? 2 : 0;
            std::memcpy(to + 2, low == 0 ? data : to + 2 + source_[low], 2);
            data += low == 0 ? 2 : 0;
        }
        flagB_.advance(static_cast<std::size_t>(flagB - flagBStart));
        data_.advance(static_cast<std::size_t>(data - dataStart));
        w_ = to - out_;
    }

    BitReader flagA_;
    Region flagB_;
    Region data_;
    std::uint8_t* out_;
    std::ptrdiff_t lineBytes_;
    std::ptrdiff_t total_;
    int height_;
    std::vector<std::uint8_t> flags_;
    std::array<std::ptrdiff_t, 16> source_{};
    std::ptrdiff_t rowStart_ = 0;
    std::ptrdiff_t w_ = 0;
};

} // namespace

MagHeader TM2BC::MMAG_ReadHeader(std::span<const std::uint8_t> buffer, MAG_INFO& info) {
    const auto eof = std::find(buffer.begin(), buffer.end(), std::uint8_t{0x1A});
    if (eof == buffer.end())
        return MagHeader::NoHeader;
    const auto h = static_cast<std::size_t>(eof - buffer.begin()) + 1;
    if (buffer.size() - h < kHeaderBytes)
        return MagHeader::NoHeader;
    if (!std::equal(kSignature.begin(), kSignature.end(), buffer.begin()))
        return MagHeader::BadSignature;

    info = MAG_INFO{};
    info.HeaderOffset = h;
    copyText(buffer, 8, 4, info.MachineName);
    copyText(buffer, 12, 19, info.UserName);
    info.TopByte = buffer[h];
    info.MachineCode = buffer[h + 1];
    info.MachineFlags = buffer[h + 2];
    info.ScreenMode = buffer[h + 3];
    info.StartX = readLe16(buffer, h + 4);
    info.StartY = readLe16(buffer, h + 6);
    info.EndX = readLe16(buffer, h + 8);
    info.EndY = readLe16(buffer, h + 10);
    info.FlagAOffset = readLe32(buffer, h + 12);
    info.FlagBOffset = readLe32(buffer, h + 16);
    info.FlagBSize = readLe32(buffer, h + 20);
    info.PixelOffset = readLe32(buffer, h + 24);
    info.PixelSize = readLe32(buffer, h + 28);

    const int unit = info.Colors() == 256 ? 4 : 8;
    info.AlignedStartX = info.StartX / unit * unit;
    info.AlignedEndX = (info.EndX / unit + 1) * unit - 1;
    info.LineBytes = (info.AlignedEndX + 1 - info.AlignedStartX) / (unit / 4);
    info.Height = info.EndY - info.StartY + 1;
    // An end line above the start line would give a negative height.
    if (info.TopByte != 0 || info.AlignedEndX - info.AlignedStartX < 1 || info.Height < 1)
        return MagHeader::BadHeader;

    // Every flag byte of every line takes one flag A bit, so a complete file
    // holds that many bits; this also keeps the picture size in proportion
    // to the file.
    const std::size_t size = buffer.size();
    if (!fitsIn(size, std::uint64_t{h} + info.FlagAOffset, flagABytesNeeded(info)) ||
        !fitsIn(size, std::uint64_t{h} + info.FlagBOffset, info.FlagBSize) ||
        !fitsIn(size, std::uint64_t{h} + info.PixelOffset, info.PixelSize))
        return MagHeader::DataBeyondEnd;
    return MagHeader::Complete;
}

int TM2BC::MMAG_ReadPalette(std::span<const std::uint8_t> buffer, std::span<std::uint8_t> palette,
                            std::string* comment, const MAG_INFO& info) {
    const std::size_t h = info.HeaderOffset;
    if (comment) {
        const std::size_t end = std::min(h >= 1 ? h - 1 : 0, buffer.size());
        comment->assign(reinterpret_cast<const char*>(buffer.data()) + std::min(kCommentStart, end),
                        end > kCommentStart ? end - kCommentStart : 0);
    }
    const auto colors = static_cast<std::size_t>(info.Colors());
    if (!fitsIn(buffer.size(), std::uint64_t{h} + kHeaderBytes, colors * 3))
        return 1;
    if (!palette.empty()) {
        if (palette.size() < colors * 4)
            return 1;
        // Stored as green, red, blue; a BMP entry is blue, green, red, 0.
        for (std::size_t i = 0; i < colors; ++i) {
            const std::size_t from = h + kHeaderBytes + i * 3;
            palette[i * 4] = buffer[from + 2];
            palette[i * 4 + 1] = buffer[from];
            palette[i * 4 + 2] = buffer[from + 1];
            palette[i * 4 + 3] = 0;
        }
    }
    return 0;
}

bool TM2BC::MMAG_DecodePixels(std::span<const std::uint8_t> buffer, std::span<std::uint8_t> pixels,
                              const MAG_INFO& info) {
    if (info.LineBytes < 4 || info.Height < 1 || pixels.size() < info.PixelBytes())
        return false;
    MagPixelDecoder(buffer, pixels.data(), info).run();
    return true;
}

std::size_t TM2BC::MMAG_GetBmpSizeInMemory(std::span<const std::uint8_t> file) {
    const auto eof = std::find(file.begin(), file.end(), std::uint8_t{0x1A});
    if (eof == file.end())
        return 0;
    // Only the header is looked at: up to the end of the 32 bytes after 0x1A.
    const auto headerEnd = static_cast<std::size_t>(eof - file.begin()) + 1 + kHeaderBytes;
    MAG_INFO info;
    const MagHeader result = MMAG_ReadHeader(file.first(std::min(headerEnd, file.size())), info);
    if (result != MagHeader::Complete && result != MagHeader::DataBeyondEnd)
        return 0;
    return bmpSizeOf(info);
}

std::size_t TM2BC::MMAG_GetBmpSize(const std::filesystem::path& path) {
    const std::optional<std::string> file = readFileOrNothing(path);
    return file ? MMAG_GetBmpSizeInMemory(asBytes(*file)) : 0;
}

int TM2BC::MMAG_MagtoBmpInMemory(std::span<const std::uint8_t> file,
                                 std::span<std::uint8_t> buffer) {
    MAG_INFO info;
    if (file.empty() || MMAG_ReadHeader(file, info) != MagHeader::Complete)
        return -1;
    const std::size_t bmpSize = bmpSizeOf(info);
    if (bmpSize == 0 || buffer.size() < bmpSize)
        return -1;
    const std::size_t paletteBytes = info.PaletteBytes();
    const auto pixelOffset = static_cast<std::uint32_t>(kBmpHeadersSize + paletteBytes);
    WriteBmpHeaders(buffer, static_cast<std::uint32_t>(bmpSize), pixelOffset,
                    info.AlignedEndX - info.AlignedStartX + 1, info.Height,
                    static_cast<std::uint16_t>(info.BitCount()));
    if (MMAG_ReadPalette(file, buffer.subspan(kBmpHeadersSize, paletteBytes), nullptr, info) != 0)
        return -1;
    if (!MMAG_DecodePixels(file, buffer.subspan(pixelOffset, info.PixelBytes()), info))
        return -1;
    return 0;
}

int TM2BC::MMAG_MagtoBmp(const std::filesystem::path& path, std::span<std::uint8_t> buffer) {
    const std::optional<std::string> file = readFileOrNothing(path);
    return file ? MMAG_MagtoBmpInMemory(asBytes(*file), buffer) : -1;
}

std::optional<std::vector<std::uint8_t>> TM2BC::ConvertToBmp(std::span<const std::uint8_t> file) {
    MAG_INFO info;
    if (MMAG_ReadHeader(file, info) != MagHeader::Complete)
        return std::nullopt;
    const std::size_t bmpSize = bmpSizeOf(info);
    if (bmpSize == 0)
        return std::nullopt;
    std::vector<std::uint8_t> bmp(bmpSize);
    if (MMAG_MagtoBmpInMemory(file, bmp) != 0)
        return std::nullopt;
    return bmp;
}

std::optional<std::vector<std::uint8_t>> TM2BC::ConvertOrWarn(std::span<const std::uint8_t> file) {
    if (MMAG_GetBmpSizeInMemory(file) == 0)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> bmp = ConvertToBmp(file);
    if (!bmp)
        prompter_.warning(PAGORA_CP932("Failed by MMAG_MagtoBmp"));
    return bmp;
}

bool TM2BC::ConvertToStream(const std::filesystem::path& path, std::ostream& stream) {
    const std::optional<std::string> file = readFileOrNothing(path);
    const std::optional<std::vector<std::uint8_t>> bmp =
        file ? ConvertOrWarn(asBytes(*file)) : std::nullopt;
    if (!bmp)
        return false;
    stream.write(reinterpret_cast<const char*>(bmp->data()),
                 static_cast<std::streamsize>(bmp->size()));
    return static_cast<bool>(stream);
}

bool TM2BC::LoadGraphic(const std::filesystem::path& path, Picture& graphic) {
    const std::optional<std::string> file = readFileOrNothing(path);
    return file && LoadGraphic(asBytes(*file), graphic);
}

bool TM2BC::LoadGraphic(std::span<const std::uint8_t> file, Picture& graphic) {
    const std::optional<std::vector<std::uint8_t>> bmp = ConvertOrWarn(file);
    std::optional<Picture> picture = bmp ? ReadBmpPicture(*bmp) : std::nullopt;
    if (!picture)
        return false;
    graphic = std::move(*picture);
    return true;
}

} // namespace pagora
