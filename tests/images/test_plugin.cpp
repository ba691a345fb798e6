// An image plug-in for the tests. It reads "PGX1" pictures: the magic, the
// width and height (16-bit little-endian) and then red, green, blue bytes of
// each pixel, top row first. PGX_VARIANT 0 hands back a bottom-up 24-bit
// bitmap; variant 1 a top-down 32-bit one and a different name.
//
// Variant 0 also knows two test inputs: "PGXE" is accepted but fails to
// decode, "PGXB" decodes into a header that claims more rows than it sends.
// Variant 1 reads "PGXE" like "PGX1".
#include "images/susie_api.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kHeaderSize = 40;

bool hasMagic(const char* data, const char* magic) {
    return std::memcmp(data, magic, 4) == 0;
}

bool readable(const char* data) {
    if (hasMagic(data, "PGX1"))
        return true;
    if (hasMagic(data, "PGXE"))
        return true;
    return PGX_VARIANT == 0 && hasMagic(data, "PGXB");
}

unsigned read16(const char* data, int at) {
    return static_cast<unsigned char>(data[at]) |
           static_cast<unsigned>(static_cast<unsigned char>(data[at + 1])) << 8;
}

void write32(unsigned char* out, int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

int copyText(const char* text, char* buf, int buflen) {
    const int length = static_cast<int>(std::strlen(text));
    const int written = length < buflen ? length : buflen - 1;
    std::memcpy(buf, text, static_cast<std::size_t>(written));
    buf[written] = '\0';
    return written;
}

} // namespace

extern "C" {

int GetPluginInfo(int infono, char* buf, int buflen) {
    switch (infono) {
    case 0:
        return copyText(SUSIE_API_VERSION_IMPORT, buf, buflen);
    case 1:
        return copyText(PGX_VARIANT == 0 ? "PGX test reader" : "PGX test reader (alt)", buf,
                        buflen);
    case 2:
        return copyText("*.pgx", buf, buflen);
    case 3:
        return copyText("PGX picture", buf, buflen);
    default:
        return 0;
    }
}

// Looks at the whole 2 KB that the interface promises, as some plug-ins do.
int IsSupported(const char* filename, std::uintptr_t dw) {
    if (filename != nullptr)
        return 0;
    const char* data = reinterpret_cast<const char*>(dw);
    volatile unsigned sum = 0;
    for (int i = 0; i < 2048; ++i)
        sum = sum + static_cast<unsigned char>(data[i]);
    return readable(data) ? 1 : 0;
}

int GetPicture(const char* buf, long len, unsigned int flag, void** pHBInfo, void** pHBm,
               SusieProgressCallback progress, long lData) {
    if (flag != SUSIE_INPUT_IN_MEMORY || len < 8 || !readable(buf))
        return 2;
    if (PGX_VARIANT == 0 && hasMagic(buf, "PGXE"))
        return 1;
    const int width = static_cast<int>(read16(buf, 4));
    const int height = static_cast<int>(read16(buf, 6));
    if (width == 0 || height == 0 || len < 8 + static_cast<long>(width) * height * 3)
        return 2;
    const int bytesPerPixel = PGX_VARIANT == 0 ? 3 : 4;
    const int stride = (width * bytesPerPixel + 3) / 4 * 4;
    auto* info = static_cast<unsigned char*>(std::calloc(kHeaderSize, 1));
    auto* bits = static_cast<unsigned char*>(
        std::calloc(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 1));
    const int claimedHeight = hasMagic(buf, "PGXB") ? height + 1000 : height;
    write32(info, 0, kHeaderSize);
    write32(info, 4, static_cast<std::uint32_t>(width));
    write32(info, 8, static_cast<std::uint32_t>(PGX_VARIANT == 0 ? claimedHeight : -height));
    info[12] = 1;
    info[14] = static_cast<unsigned char>(bytesPerPixel * 8);
    for (int y = 0; y < height; ++y) {
        const int row = PGX_VARIANT == 0 ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            const char* pixel = buf + 8 + (y * width + x) * 3;
            unsigned char* out = bits + row * stride + x * bytesPerPixel;
            out[0] = static_cast<unsigned char>(pixel[2]);
            out[1] = static_cast<unsigned char>(pixel[1]);
            out[2] = static_cast<unsigned char>(pixel[0]);
        }
        if (progress != nullptr)
            progress(y + 1, height, lData);
    }
    *pHBInfo = info;
    *pHBm = bits;
    return 0;
}

int GetPictureInfo(const char*, long, unsigned int, SusiePictureInfo*) {
    return 2;
}

} // extern "C"
