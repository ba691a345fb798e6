#include "editor/file_history.h"

#include "gui/qt_text.h"

#include <filesystem>
#include <utility>

namespace pagora {
namespace {

QString fileNamePart(const std::string& path) {
    return pathText(std::filesystem::path(path).filename());
}

bool sameFileName(const std::string& a, const std::string& b) {
    return QString::compare(fileNamePart(a), fileNamePart(b), Qt::CaseInsensitive) == 0;
}

} // namespace

void addFileHistory(FileHistory& history, const std::string& path) {
    std::string carry = std::exchange(history[0], path);
    for (std::size_t k = 1; k < history.size(); ++k) {
        if (sameFileName(carry, path))
            return;
        std::swap(carry, history[k]);
    }
}

QString historyCaption(int index, const std::string& path) {
    QString name = fileNamePart(path);
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 ").arg(index + 1) + name;
}

} // namespace pagora
