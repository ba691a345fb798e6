#include "gui/data_file_chooser.h"

#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace pagora {
namespace {

bool isSameFolder(const fs::path& one, const fs::path& other) {
    std::error_code error;
    return fs::equivalent(one, other, error) && !error;
}

} // namespace

std::optional<QString> chooseDataFile(const DialogContext& context, FileChooser chooser) {
    const std::optional<fs::path> folder = dataFolderForFiles(context);
    if (!folder)
        return std::nullopt;
    if (chooser.startIn.empty())
        chooser.startIn = *folder;
    const std::optional<fs::path> chosen = context.prompter().openFile(chooser);
    std::error_code ignored;
    if (!chosen || !fs::is_regular_file(*chosen, ignored))
        return std::nullopt;
    const fs::path file = fs::absolute(*chosen, ignored);
    const QString name = pathText(file.filename());
    try {
        // A name the comic cannot hold is refused before anything is copied.
        cp932Text(name);
        if (!isSameFolder(file.parent_path(), *folder))
            copyIntoFolder(file, *folder);
    } catch (const EncodingError& error) {
        context.services.showErrorBox(errorText(error));
        return std::nullopt;
    } catch (const IoError& error) {
        context.services.showErrorBox(errorText(error));
        return std::nullopt;
    }
    return name;
}

} // namespace pagora
