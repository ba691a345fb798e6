#include "editor/program_launcher.h"

#include "gui/qt_text.h"

#include <QProcess>
#include <QStandardPaths>

namespace pagora {

LaunchPlan planPlayerLaunch(const std::filesystem::path& player,
                            const std::filesystem::path& comicFile, const QString& wineProgram) {
    const bool windowsProgram =
        pathText(player.filename()).endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
    LaunchPlan plan;
    plan.workingFolder = pathText(comicFile.parent_path());
    if (windowsProgram && !wineProgram.isEmpty()) {
        plan.program = wineProgram;
        plan.arguments = {pathText(player), windowsPathOf(comicFile)};
    } else {
        plan.program = pathText(player);
        plan.arguments = {pathText(comicFile)};
    }
    return plan;
}

QString windowsPathOf(const std::filesystem::path& path) {
    QString text = pathText(path);
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QStringLiteral("Z:") + text;
}

QString findWine() {
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

bool QtProgramLauncher::startDetached(const LaunchPlan& plan) {
    return QProcess::startDetached(plan.program, plan.arguments, plan.workingFolder);
}

} // namespace pagora
