#include "gui/settings_paths.h"

#include "gui/qt_text.h"
#include "platform/prompter.h"

#include <QDir>

namespace pagora {
namespace {

bool endsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator());
}

QString withoutTrailingSeparator(QString folder) {
    while (folder.size() > 1 && endsWithSeparator(folder))
        folder.chop(1);
    return folder;
}

} // namespace

QString plugInFolderText(const QString& typed) {
    if (typed.isEmpty() || endsWithSeparator(typed))
        return typed;
    return typed + QDir::separator();
}

std::optional<QString> choosePlugInFolder(Prompter& prompter, const QString& typed,
                                          const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = pathFromText(typed);
    std::error_code ignored;
    const std::filesystem::path start =
        !folder.empty() && std::filesystem::is_directory(folder, ignored) ? folder : programFolder;
    const std::optional<std::filesystem::path> chosen =
        prompter.chooseFolder("ディレクトリの指定", start);
    if (!chosen)
        return std::nullopt;
    return withoutTrailingSeparator(pathText(*chosen));
}

std::optional<QString> choosePlayerFile(Prompter& prompter, const char* filter,
                                        const std::filesystem::path& programFolder) {
    FileChooser chooser;
    chooser.filter = filter;
    chooser.startIn = programFolder;
    const std::optional<std::filesystem::path> player = prompter.openFile(chooser);
    if (!player)
        return std::nullopt;
    return pathText(*player);
}

} // namespace pagora
