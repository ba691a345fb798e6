#include "images/picture_loader.h"

#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "images/dib_pixels.h"
#include "images/mag_decoder.h"
#include "images/susie_plugin.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <algorithm>
#include <string>

namespace pagora {
namespace {

bool fits(long long width, long long height) {
    return width * height <= kMaxPicturePixels;
}

PictureLoad tooLarge() {
    return {std::nullopt, true};
}

PictureLoad readBmp(std::span<const std::uint8_t> file) {
    const std::optional<BmpParts> parts = SplitBmpFile(file);
    if (!parts || !parts->Check.ok())
        return {};
    const DibLayout& layout = parts->Check.Layout;
    if (!fits(layout.Width, layout.Height))
        return tooLarge();
    return {DibToPicture(layout, parts->Info, parts->Bits)};
}

PictureLoad readMag(std::span<const std::uint8_t> file, Prompter& prompter) {
    MAG_INFO info;
    const MagHeader header = TM2BC::MMAG_ReadHeader(file, info);
    if ((header == MagHeader::Complete || header == MagHeader::DataBeyondEnd) &&
        !fits(info.AlignedEndX - info.AlignedStartX + 1, info.Height))
        return tooLarge();
    Picture picture;
    if (!TM2BC(prompter).LoadGraphic(file, picture))
        return {};
    return {std::move(picture)};
}

PictureLoad readWithPlugIns(std::span<const std::uint8_t> file,
                            const std::filesystem::path& plugInMask) {
    TSusiePlugIn plugIns;
    plugIns.LoadPlugins(plugInMask);
    Picture picture;
    if (plugIns.LoadFromMemory(file.data(), file.size(), &picture) != 1)
        return {};
    if (!fits(picture.Width, picture.Height))
        return tooLarge();
    return {std::move(picture)};
}

} // namespace

PictureLoad loadPicture(const std::filesystem::path& file, std::span<const PictureReader> order,
                        const std::filesystem::path& plugInMask, Prompter& prompter) {
    std::string bytes;
    try {
        bytes = readRegularFile(file, kMaxPictureFileBytes);
    } catch (const IoError&) {
        return {};
    }
    const std::span<const std::uint8_t> image = asBytes(bytes);
    for (const PictureReader reader : order) {
        PictureLoad load;
        switch (reader) {
        case PictureReader::PlugIns:
            load = readWithPlugIns(image, plugInMask);
            break;
        case PictureReader::Mag:
            load = readMag(image, prompter);
            break;
        case PictureReader::Bmp:
            load = readBmp(image);
            break;
        }
        if (load.picture || load.tooLarge)
            return load;
    }
    return {};
}

void keepTopDivision(Picture& picture, int division) {
    if (division < 2 || picture.empty())
        return;
    picture.Height = std::max(picture.Height / division, 1);
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) *
                          static_cast<std::size_t>(picture.Height));
}

std::span<const PictureReader> pictureReaders(bool usePlugIns) {
    static constexpr PictureReader withPlugIns[] = {PictureReader::PlugIns, PictureReader::Mag,
                                                    PictureReader::Bmp};
    static constexpr PictureReader withoutPlugIns[] = {PictureReader::Mag, PictureReader::Bmp};
    return usePlugIns ? std::span<const PictureReader>(withPlugIns)
                      : std::span<const PictureReader>(withoutPlugIns);
}

} // namespace pagora
