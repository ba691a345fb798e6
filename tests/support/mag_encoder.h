#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pagora::test {

struct MagColor {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// A picture to encode as MAG: the pixel bytes of each line from the aligned
// start to the aligned end (two pixels a byte, high nibble left, at 16
// colours; one at 256), top line first.
struct MagPicture {
    int colors = 16;
    std::uint16_t startX = 0, startY = 0, endX = 7, endY = 0;
    std::vector<MagColor> palette; // `colors` entries
    std::vector<std::uint8_t> rows;
    std::string comment = "test picture";

    int unitPixels() const { return colors == 256 ? 4 : 8; }
    int alignedStartX() const { return startX / unitPixels() * unitPixels(); }
    int alignedEndX() const { return (endX / unitPixels() + 1) * unitPixels() - 1; }
    int alignedWidth() const { return alignedEndX() + 1 - alignedStartX(); }
    int lineBytes() const { return alignedWidth() / (unitPixels() / 4); }
    int height() const { return endY - startY + 1; }
    std::uint8_t byteAt(int line, int column) const {
        return rows[static_cast<std::size_t>(line * lineBytes() + column)];
    }
};

// How the encoder picks each unit's flag nibble among the copy offsets whose
// unit (inside the picture, left of or above this one) holds the same bytes.
enum class FlagPolicy {
    Literal, // every nibble 0: all pixel bytes stored
    Greedy,  // the first matching offset from 1 to 15
    Rotate,  // the first matching offset starting from (unit number mod 15) + 1
};

struct MagEncoding {
    std::string bytes;
    std::size_t headerOffset = 0;     // just after the 0x1A byte
    std::array<int, 16> nibbleUses{}; // how often each nibble was written
    std::size_t flagABytes = 0, flagBBytes = 0, pixelBytes = 0;
};

// Called for every unit (line, unit number); a result 0..15 forces that
// nibble, whatever the picture holds there, -1 leaves the choice to the policy.
using ForceNibble = std::function<int(int line, int unit)>;

// Encodes the picture the way a MAG writer does: per unit a flag nibble,
// flag bytes XOR'd with the line above, one flag A bit per flag byte (set
// when the byte changed, running on across lines), the changed bytes in flag
// B, and the units with nibble 0 in the pixel data.
MagEncoding encodeMag(const MagPicture& picture, FlagPolicy policy, const ForceNibble& force = {});

// (units to the left, lines up) of each nibble 1..15.
struct MagOffset {
    int left, up;
};
MagOffset magCopyOffset(int nibble);

// A palette whose entries differ from each other.
std::vector<MagColor> testPalette(int colors);

// A picture of random bytes drawn from `distinct` different unit values, so
// that copies of every offset occur.
MagPicture randomMagPicture(int colors, int startX, int startY, int endX, int endY, unsigned seed,
                            int distinct);

// A picture with large areas of one colour, stripes and circles, as drawn
// pictures are.
MagPicture drawnMagPicture(int colors, int width, int height);

// The picture's rows bottom-up, as the decoder writes them into a BMP.
std::vector<std::uint8_t> bottomUpRows(const MagPicture& picture);

void patchLe16(std::string& bytes, std::size_t at, std::uint16_t value);
void patchLe32(std::string& bytes, std::size_t at, std::uint32_t value);

} // namespace pagora::test
