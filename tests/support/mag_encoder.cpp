#include "support/mag_encoder.h"

#include <cstring>
#include <random>

namespace pagora::test {
namespace {

constexpr MagOffset kOffsets[16] = {{0, 0}, {1, 0}, {2, 0}, {4, 0}, {0, 1}, {1, 1},
                                    {0, 2}, {1, 2}, {2, 2}, {0, 4}, {1, 4}, {2, 4},
                                    {0, 8}, {1, 8}, {2, 8}, {0, 16}};

void append16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void append32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

class UnitGrid {
public:
    explicit UnitGrid(const MagPicture& picture)
        : picture_(picture)
        , units_(picture.lineBytes() / 2) {}

    int units() const { return units_; }

    bool same(int line, int unit, int otherLine, int otherUnit) const {
        return picture_.byteAt(line, unit * 2) == picture_.byteAt(otherLine, otherUnit * 2) &&
               picture_.byteAt(line, unit * 2 + 1) == picture_.byteAt(otherLine, otherUnit * 2 + 1);
    }

    bool matches(int line, int unit, int nibble) const {
        const MagOffset offset = kOffsets[nibble];
        const int fromLine = line - offset.up, fromUnit = unit - offset.left;
        return fromLine >= 0 && fromUnit >= 0 && same(line, unit, fromLine, fromUnit);
    }

    int choose(int line, int unit, FlagPolicy policy) const {
        if (policy == FlagPolicy::Literal)
            return 0;
        const int first = policy == FlagPolicy::Rotate ? (line * units_ + unit) % 15 : 0;
        for (int i = 0; i < 15; ++i) {
            const int nibble = (first + i) % 15 + 1;
            if (matches(line, unit, nibble))
                return nibble;
        }
        return 0;
    }

private:
    const MagPicture& picture_;
    int units_;
};

} // namespace

MagOffset magCopyOffset(int nibble) {
    return kOffsets[nibble];
}

MagEncoding encodeMag(const MagPicture& picture, FlagPolicy policy, const ForceNibble& force) {
    MagEncoding encoding;
    const UnitGrid grid(picture);
    const int flagBytesPerLine = picture.lineBytes() / 4;
    std::vector<std::uint8_t> previous(static_cast<std::size_t>(flagBytesPerLine), 0);
    std::string flagA, flagB, pixels;
    int bitCount = 0;
    std::uint8_t bits = 0;
    for (int line = 0; line < picture.height(); ++line) {
        std::vector<std::uint8_t> flags(previous.size(), 0);
        for (int unit = 0; unit < grid.units(); ++unit) {
            int nibble = force ? force(line, unit) : -1;
            if (nibble < 0)
                nibble = grid.choose(line, unit, policy);
            ++encoding.nibbleUses[static_cast<std::size_t>(nibble)];
            flags[static_cast<std::size_t>(unit / 2)] |=
                static_cast<std::uint8_t>(unit % 2 == 0 ? nibble << 4 : nibble);
            if (nibble == 0) {
                pixels += static_cast<char>(picture.byteAt(line, unit * 2));
                pixels += static_cast<char>(picture.byteAt(line, unit * 2 + 1));
            }
        }
        for (std::size_t j = 0; j < flags.size(); ++j) {
            const auto changed = static_cast<std::uint8_t>(flags[j] ^ previous[j]);
            bits = static_cast<std::uint8_t>(bits << 1 | (changed != 0 ? 1 : 0));
            if (++bitCount == 8) {
                flagA += static_cast<char>(bits);
                bits = 0;
                bitCount = 0;
            }
            if (changed != 0)
                flagB += static_cast<char>(changed);
        }
        previous = flags;
    }
    if (bitCount > 0)
        flagA += static_cast<char>(bits << (8 - bitCount));

    std::string& out = encoding.bytes;
    out = "MAKI02  TEST";
    std::string user = "pagora tests";
    user.resize(19, ' ');
    out += user + picture.comment + '\x1A';
    encoding.headerOffset = out.size();
    const auto paletteBytes = static_cast<std::uint32_t>(picture.colors * 3);
    const std::uint32_t flagAOffset = 32 + paletteBytes;
    const auto flagBOffset = static_cast<std::uint32_t>(flagAOffset + flagA.size());
    const auto pixelOffset = static_cast<std::uint32_t>(flagBOffset + flagB.size());
    out += '\0';
    out += '\0';
    out += '\0';
    out += static_cast<char>(picture.colors == 256 ? 0x80 : 0x00);
    append16(out, picture.startX);
    append16(out, picture.startY);
    append16(out, picture.endX);
    append16(out, picture.endY);
    append32(out, flagAOffset);
    append32(out, flagBOffset);
    append32(out, static_cast<std::uint32_t>(flagB.size()));
    append32(out, pixelOffset);
    append32(out, static_cast<std::uint32_t>(pixels.size()));
    for (const MagColor& color : picture.palette) {
        out += static_cast<char>(color.green);
        out += static_cast<char>(color.red);
        out += static_cast<char>(color.blue);
    }
    out += flagA + flagB + pixels;
    encoding.flagABytes = flagA.size();
    encoding.flagBBytes = flagB.size();
    encoding.pixelBytes = pixels.size();
    return encoding;
}

std::vector<MagColor> testPalette(int colors) {
    std::vector<MagColor> palette;
    for (int i = 0; i < colors; ++i)
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 7)});
    return palette;
}

MagPicture randomMagPicture(int colors, int startX, int startY, int endX, int endY, unsigned seed,
                            int distinct) {
    MagPicture picture;
    picture.colors = colors;
    picture.startX = static_cast<std::uint16_t>(startX);
    picture.startY = static_cast<std::uint16_t>(startY);
    picture.endX = static_cast<std::uint16_t>(endX);
    picture.endY = static_cast<std::uint16_t>(endY);
    picture.palette = testPalette(colors);
    std::mt19937 random(seed);
    std::vector<std::uint16_t> values;
    for (int i = 0; i < distinct; ++i)
        values.push_back(static_cast<std::uint16_t>(random()));
    const int units = picture.lineBytes() / 2 * picture.height();
    for (int i = 0; i < units; ++i) {
        const std::uint16_t value = values[random() % values.size()];
        picture.rows.push_back(static_cast<std::uint8_t>(value & 0xFF));
        picture.rows.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    return picture;
}

MagPicture drawnMagPicture(int colors, int width, int height) {
    MagPicture picture;
    picture.colors = colors;
    picture.endX = static_cast<std::uint16_t>(width - 1);
    picture.endY = static_cast<std::uint16_t>(height - 1);
    picture.palette = testPalette(colors);
    const auto colorAt = [&](int x, int y) {
        const int dx = x - width / 2, dy = y - height / 2;
        const int ring = (dx * dx + dy * dy) / (width * 8 + 1);
        if (y < height / 3)
            return (y * 4 / height + 1) % colors; // sky bands
        if (ring % 5 == 0)
            return (ring / 5 + 5) % colors;                    // circles
        return ((x / 24 + y / 24) % 2 == 0 ? 9 : 10) % colors; // tiles
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < picture.alignedWidth(); x += colors == 16 ? 2 : 1) {
            if (colors == 256)
                picture.rows.push_back(static_cast<std::uint8_t>(colorAt(x, y)));
            else
                picture.rows.push_back(
                    static_cast<std::uint8_t>(colorAt(x, y) << 4 | colorAt(x + 1, y)));
        }
    }
    return picture;
}

std::vector<std::uint8_t> bottomUpRows(const MagPicture& picture) {
    std::vector<std::uint8_t> rows;
    const auto lineBytes = static_cast<std::size_t>(picture.lineBytes());
    for (int line = picture.height() - 1; line >= 0; --line) {
        const auto start = picture.rows.begin() +
                           static_cast<std::ptrdiff_t>(static_cast<std::size_t>(line) * lineBytes);
        rows.insert(rows.end(), start, start + static_cast<std::ptrdiff_t>(lineBytes));
    }
    return rows;
}

void patchLe16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void patchLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

} // namespace pagora::test
