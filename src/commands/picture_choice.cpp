#include "commands/picture_choice.h"

#include "gui/data_file_chooser.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "images/picture_loader.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <vector>

namespace pagora {
namespace {

constexpr const char* kPictureFilter = "画像ファイル (*.bmp *.mag);;全てのファイル (*.*)";
constexpr int kAllFilesFilter = 1;

std::vector<PictureReader> readersFor(const QString& fileName, bool usePlugIns) {
    std::vector<PictureReader> readers;
    if (fileName.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
        readers.push_back(PictureReader::Bmp);
    readers.push_back(PictureReader::Mag);
    if (usePlugIns)
        readers.push_back(PictureReader::PlugIns);
    return readers;
}

} // namespace

std::optional<PictureChoice> choosePicture(const DialogContext& context) {
    FileChooser chooser;
    chooser.filter = kPictureFilter;
    chooser.selectedFilter = kAllFilesFilter;
    const std::optional<QString> name = chooseDataFile(context, chooser);
    if (!name)
        return std::nullopt;
    const std::optional<std::filesystem::path> folder = dataFolderForFiles(context);
    const PictureLoad load =
        loadPicture(*folder / pathFromText(*name), readersFor(*name, context.user.usePlugIns),
                    pathFromText(utf8Text(context.user.plugInDir)) / "*.SPI", context.prompter());
    if (!load.picture) {
        context.prompter().information(PAGORA_CP932("この画像形式には対応していません"));
        return PictureChoice{*name, std::nullopt};
    }
    return PictureChoice{*name, QSize(load.picture->Width, load.picture->Height)};
}

} // namespace pagora
