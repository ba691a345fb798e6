#pragma once

#include "images/picture.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace pagora {

class Prompter;

// The readers a picture file can be offered to.
enum class PictureReader {
    PlugIns, // the image plug-ins of a folder
    Mag,     // the MAG converter
    Bmp,     // the BMP reader
};

// The readers the editor offers a picture to: the plug-ins first when they
// are in use, then the MAG converter, then the BMP reader.
std::span<const PictureReader> pictureReaders(bool usePlugIns);

// The largest picture the previews take, in pixels (8192 x 8192, 256 MB
// decoded), and the largest picture file read.
inline constexpr long long kMaxPicturePixels = 8192LL * 8192;
inline constexpr std::uintmax_t kMaxPictureFileBytes = 1ULL << 30;

struct PictureLoad {
    std::optional<Picture> picture;
    // A reader knew the file but the picture has more than kMaxPicturePixels
    // (checked before it is decoded where the format tells its size).
    bool tooLarge = false;
};

// Reads a picture file, offering it to the readers in the order given until
// one reads it. plugInMask is the plug-in folder followed by "*.SPI"; the
// plug-ins are loaded for this picture only. A MAG file with a sound header
// whose picture cannot be converted gets the MAG converter's warning
// through prompter. A file that cannot be read, or is larger than
// kMaxPictureFileBytes, gives no picture.
PictureLoad loadPicture(const std::filesystem::path& file, std::span<const PictureReader> order,
                        const std::filesystem::path& plugInMask, Prompter& prompter);

// Keeps the top 1/division of the picture's rows, at least one row, as a
// picture of several stacked states shows its first; a division below 2
// keeps the whole picture.
void keepTopDivision(Picture& picture, int division);

} // namespace pagora
