#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

namespace pagora {

// How a program is started: what runs, with which arguments, in which folder.
struct LaunchPlan {
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// The player's test run: the comic's full path as the one argument and the
// comic's folder as working folder. A Windows program (a name ending in
// ".exe") runs through Wine when wineProgram names it, with the comic's path
// in Windows form.
LaunchPlan planPlayerLaunch(const std::filesystem::path& player,
                            const std::filesystem::path& comicFile, const QString& wineProgram);

// An absolute path as Wine shows it to Windows programs: "Z:" and the path
// with backslashes.
QString windowsPathOf(const std::filesystem::path& path);

// Wine's full path when it is on PATH, else empty.
QString findWine();

// Starts programs without waiting for them.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started at all.
    virtual bool startDetached(const LaunchPlan& plan) = 0;
};

class QtProgramLauncher : public ProgramLauncher {
public:
    bool startDetached(const LaunchPlan& plan) override;
};

} // namespace pagora
