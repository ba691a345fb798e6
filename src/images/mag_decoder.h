#pragma once

#include "images/picture.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pagora {

class Prompter;

// What the header reader finds in a MAG file ("MAKI02  ", 16 or 256 colours).
struct MAG_INFO {
    std::uint8_t TopByte = 0;
    std::uint8_t MachineCode = 0;
    std::uint8_t MachineFlags = 0;
    std::uint8_t ScreenMode = 0; // bit 7: 256 colours
    std::uint16_t StartX = 0, EndX = 0, StartY = 0, EndY = 0;
    int AlignedStartX = 0; // start X rounded down to 8 (16 colours) or 4 (256 colours) pixels
    int AlignedEndX = 0;   // the last pixel of the unit that holds end X
    int LineBytes = 0;     // pixel bytes of one line
    int Height = 0;
    std::uint32_t FlagAOffset = 0; // the offsets count from HeaderOffset
    std::uint32_t FlagBOffset = 0;
    std::uint32_t FlagBSize = 0;
    std::uint32_t PixelOffset = 0;
    std::uint32_t PixelSize = 0;
    std::size_t HeaderOffset = 0; // just after the first 0x1A byte
    char MachineName[5] = {};     // the 4 bytes after the signature
    char UserName[20] = {};       // the 19 bytes after those

    int Colors() const { return ScreenMode & 0x80 ? 256 : 16; }
    int BitCount() const { return ScreenMode & 0x80 ? 8 : 4; }
    // The BMP colour table that conversion writes: 16 or 256 entries of 4 bytes.
    std::size_t PaletteBytes() const { return static_cast<std::size_t>(Colors()) * 4; }
    std::size_t PixelBytes() const {
        return static_cast<std::size_t>(LineBytes) * static_cast<std::size_t>(Height);
    }
};

// The results of MMAG_ReadHeader.
enum class MagHeader {
    Complete = 0,      // valid, and the flag and pixel data lie inside the buffer
    DataBeyondEnd = 1, // valid header, but flag or pixel data would pass the buffer's end
    NoHeader = 2,      // no 0x1A byte, or fewer than 32 bytes after it
    BadSignature = 3,  // not "MAKI02  "
    BadHeader = 4,     // top byte not 0, or no width or height
};

// MAG to BMP conversion. The MMAG_ functions work on whole file images in
// memory (the ones taking a path read the file first) and never read or write
// outside the buffers they are given: a malformed file gives a picture or a
// failure.
class TM2BC {
public:
    explicit TM2BC(Prompter& prompter)
        : prompter_(prompter) {}

    static MagHeader MMAG_ReadHeader(std::span<const std::uint8_t> buffer, MAG_INFO& info);

    // Copies the comment (between the user name and the 0x1A byte) into
    // comment, and the palette as BMP colour entries (blue, green, red, 0)
    // into palette, each when given. Returns 1 when the palette passes the
    // end of the buffer or does not fit palette, else 0.
    static int MMAG_ReadPalette(std::span<const std::uint8_t> buffer,
                                std::span<std::uint8_t> palette, std::string* comment,
                                const MAG_INFO& info);

    // Decodes the picture into bottom-up rows of LineBytes bytes, the top line
    // into the last row. Flag and pixel reads beyond their regions give zero;
    // a copy from a place not decoded yet (above the top line, or wrapping
    // past the start of a line onto a row still to come) gives zero bytes.
    // Returns false, writing nothing, when pixels holds fewer than
    // LineBytes x Height bytes.
    static bool MMAG_DecodePixels(std::span<const std::uint8_t> buffer,
                                  std::span<std::uint8_t> pixels, const MAG_INFO& info);

    // The size of the BMP that conversion produces, from the header alone;
    // 0 when the file cannot be read or has no valid MAG header.
    static std::size_t MMAG_GetBmpSize(const std::filesystem::path& path);
    static std::size_t MMAG_GetBmpSizeInMemory(std::span<const std::uint8_t> file);

    // Converts into a complete BMP file image in buffer. 0 on success, -1 when
    // the file is not a complete MAG picture or buffer is too small.
    static int MMAG_MagtoBmp(const std::filesystem::path& path, std::span<std::uint8_t> buffer);
    static int MMAG_MagtoBmpInMemory(std::span<const std::uint8_t> file,
                                     std::span<std::uint8_t> buffer);

    // The BMP file image of a MAG file image; empty on failure. Allocates only
    // after the whole header has been checked against the file.
    static std::optional<std::vector<std::uint8_t>>
    ConvertToBmp(std::span<const std::uint8_t> file);

    // Writes the BMP of a MAG file to stream. Fails silently when the file has
    // no valid header; warns "Failed by MMAG_MagtoBmp" when the conversion
    // fails after that.
    bool ConvertToStream(const std::filesystem::path& path, std::ostream& stream);

    // Converts and decodes the BMP into a picture for the previews; warns
    // as ConvertToStream does.
    bool LoadGraphic(const std::filesystem::path& path, Picture& graphic);
    bool LoadGraphic(std::span<const std::uint8_t> file, Picture& graphic);

private:
    // The BMP of a MAG file image: nothing, silently, without a valid
    // header; nothing after the warning when the conversion fails.
    std::optional<std::vector<std::uint8_t>> ConvertOrWarn(std::span<const std::uint8_t> file);

    Prompter& prompter_;
};

} // namespace pagora
