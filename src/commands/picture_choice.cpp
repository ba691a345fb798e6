#include "commands/picture_choice.h"

#include "document/cmd_records.h"
#include "document/play_windows.h"
#include "gui/data_file_chooser.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace pagora {
namespace {

// Extensions compare without regard to letter case, in ASCII only.
bool isBitmapName(const fs::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == ".bmp";
}

} // namespace

std::vector<PictureReader> measuringReaders(const fs::path& file, bool usePlugIns) {
    std::vector<PictureReader> readers;
    if (isBitmapName(file))
        readers.push_back(PictureReader::Bmp);
    readers.push_back(PictureReader::Mag);
    if (usePlugIns)
        readers.push_back(PictureReader::PlugIns);
    return readers;
}

std::optional<QSize> measurePicture(const DialogContext& context, const fs::path& file) {
    const std::vector<PictureReader> readers = measuringReaders(file, context.user.usePlugIns);
    const PictureLoad load =
        loadPicture(file, readers, pathFromText(utf8Text(context.user.plugInDir)) / "*.SPI",
                    context.prompter());
    if (load.tooLarge) {
        context.prompter().information(PAGORA_CP932("画像が大きすぎます（8192×8192ドットまで）"));
        return std::nullopt;
    }
    if (!load.picture) {
        context.prompter().information(PAGORA_CP932("この画像形式には対応していません"));
        return std::nullopt;
    }
    return QSize(load.picture->Width, load.picture->Height);
}

std::optional<ChosenPicture> choosePicture(const DialogContext& context) {
    FileChooser chooser;
    chooser.title = "ファイルを開く";
    chooser.filter = "画像ファイル (*.bmp *.mag);;全てのファイル (*)";
    chooser.selectedFilter = 1;
    const std::optional<QString> name = chooseDataFile(context, chooser);
    if (!name)
        return std::nullopt;
    const std::optional<fs::path> folder = dataFolderForFiles(context);
    if (!folder)
        return std::nullopt;
    return ChosenPicture{*name, measurePicture(context, *folder / pathFromText(*name))};
}

void fitAreaToPicture(TOptParam& option, QSize picture, const TComicFileCtrl& comic,
                      FarEdges edges) {
    const PlayWindowLook screen = readPlayWindow(comic, 0);
    const int shortBy = edges == FarEdges::Inclusive ? 1 : 0;
    option.PosRight = std::min(option.PosLeft + picture.width() - shortBy, screen.width);
    option.PosBottom = std::min(option.PosTop + picture.height() - shortBy, screen.height);
}

} // namespace pagora
