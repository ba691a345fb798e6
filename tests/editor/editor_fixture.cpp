#include "editor_fixture.h"

#include <QCoreApplication>
#include <QDialog>

namespace pagora::test {

EditorTest::EditorTest()
    : services{{prompter, settings, help, folder.path() / "help",
                [this](const QString& text) { errorBoxes.push_back(text); },
                [this](QDialog& dialog) {
                    return modal(dialog);
                }},
               clock,
               random,
               launcher,
               folder.path() / "program",
               [this] { return wineProgram; },
               [this](SetupRun run, bool, UserSettings&, QWidget*) {
                   setupRuns.push_back(run);
                   return setupOutcome;
               },
               folder.path() / "autosave",
               mediaPlayers.factory()} {
}

std::unique_ptr<TfrmMain> EditorTest::makeWindow(const std::optional<std::filesystem::path>& file) {
    return std::make_unique<TfrmMain>(services, file);
}

std::unique_ptr<TfrmMain> EditorTest::showWindow(const std::optional<std::filesystem::path>& file) {
    std::unique_ptr<TfrmMain> window = makeWindow(file);
    window->resize(640, 480);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

std::filesystem::path EditorTest::writeComic(const std::string& name,
                                             const std::vector<std::string>& utf8Lines) {
    return folder.write(name, comicFileBytes(utf8Lines));
}

std::filesystem::path EditorTest::writeSample(const std::string& name) {
    return writeComic(name, sampleComicLines());
}

} // namespace pagora::test
