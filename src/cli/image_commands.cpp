#include "cli/image_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "images/bmp_file.h"
#include "images/byte_order.h"
#include "images/mag_decoder.h"
#include "images/susie_plugin.h"
#include "platform/encoding.h"
#include "platform/files.h"

#include <ostream>

namespace pagora {
namespace {

struct ImageInfo {
    std::string format;
    long long width = 0;
    long long height = 0;
    long long colors = 0;
    std::string plugin; // the plug-in file that read it, if one did
};

void printInfo(const ImageInfo& info, std::ostream& out) {
    out << "format: " << info.format << '\n'
        << "width: " << info.width << '\n'
        << "height: " << info.height << '\n'
        << "colors: " << info.colors << '\n';
    if (!info.plugin.empty())
        out << "plug-in: " << info.plugin << '\n';
}

int refuse(CliContext& context, const std::string& file, const std::string& why) {
    context.prompter.report(MessageKind::Error, file + ": " + why);
    return kExitProblems;
}

} // namespace

int runMag2Bmp(const ParsedArguments& parsed, CliContext& context) {
    const std::string file = readWholeFile(parsed.positional[0]);
    const std::optional<std::vector<std::uint8_t>> bmp = TM2BC::ConvertToBmp(asBytes(file));
    if (!bmp) {
        context.prompter.warning(PAGORA_CP932("Failed by MMAG_MagtoBmp"));
        return kExitProblems;
    }
    writeFileAtomically(parsed.positional[1],
                        {reinterpret_cast<const char*>(bmp->data()), bmp->size()});
    return kExitDone;
}

int runImgInfo(const ParsedArguments& parsed, CliContext& context) {
    const std::string& name = parsed.positional[0];
    const std::string file = readWholeFile(name);
    const std::span<const std::uint8_t> bytes = asBytes(file);

    MAG_INFO mag;
    const MagHeader magHeader = TM2BC::MMAG_ReadHeader(bytes, mag);
    if (magHeader != MagHeader::NoHeader && magHeader != MagHeader::BadSignature) {
        if (magHeader != MagHeader::Complete)
            return refuse(context, name, "not a complete MAG picture");
        printInfo({"MAG", mag.EndX - mag.StartX + 1, mag.Height, mag.Colors(), ""}, context.out);
        return kExitDone;
    }

    if (const std::optional<BmpParts> bmp = SplitBmpFile(bytes)) {
        if (!bmp->Check.ok())
            return refuse(context, name, DescribeDibProblem(bmp->Check.Problem));
        const DibLayout& layout = bmp->Check.Layout;
        printInfo({"BMP", layout.Width, layout.Height,
                   layout.BitCount <= 8 ? static_cast<long long>(layout.ColorCount)
                                        : 1LL << (layout.BitCount == 16 ? 16 : 24),
                   ""},
                  context.out);
        return kExitDone;
    }

    if (parsed.has("--plugins")) {
        TSusiePlugIn plugins;
        plugins.LoadPlugins(std::filesystem::path(parsed.value("--plugins", "")) / "*.spi");
        Picture picture;
        if (plugins.LoadFromMemory(bytes.data(), bytes.size(), &picture) == 1) {
            const TPlug* plug = plugins.GetPlugin(plugins.LastPluginIndex());
            printInfo({toUtf8(plug->FileTypeName), picture.Width, picture.Height, picture.Colors,
                       plug->FileName},
                      context.out);
            return kExitDone;
        }
        return refuse(context, name, "no plug-in reads this picture");
    }
    return refuse(context, name, "not a MAG or BMP picture");
}

} // namespace pagora
