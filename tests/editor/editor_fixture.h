#pragma once

#include "editor/command_list_view.h"
#include "editor/editor_context.h"
#include "editor/help_viewer.h"
#include "editor/main_actions.h"
#include "editor/main_window.h"
#include "editor/program_launcher.h"
#include "editor/qt_text.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QLabel>
#include <QStatusTipEvent>
#include <QString>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pagora::test {

// The control of a dialog or window by its name; throws when there is none.
template <typename T> T& child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

class RecordingLauncher : public ProgramLauncher {
public:
    std::vector<LaunchPlan> plans;
    bool startResult = true;
    bool startDetached(const LaunchPlan& plan) override {
        plans.push_back(plan);
        return startResult;
    }
};

class RecordingHelpViewer : public HelpViewer {
public:
    std::vector<QUrl> urls;
    bool open(const QUrl& url) override {
        urls.push_back(url);
        return true;
    }
};

// A comic file's bytes (CP932, CR LF) from UTF-8 lines.
std::string comicFileBytes(const std::vector<std::string>& utf8Lines);

// A small comic: book 第一章 with pages はじまり (5 lines) and 次 (3 lines),
// book 第二章 with page 居間 (10 lines); extra header lines go into "Comic".
std::vector<std::string> sampleComicLines(const std::vector<std::string>& extraHeader = {});

// Everything the main window needs, scripted: the prompter answers from its
// queues, settings live in memory, error boxes and setup runs are recorded,
// and dialogs run through `modal` instead of a modal loop.
class EditorTest : public ::testing::Test {
protected:
    EditorTest();

    std::unique_ptr<TfrmMain> makeWindow(const std::optional<std::filesystem::path>& file = {});
    // A window shown on the offscreen screen, past its first show.
    std::unique_ptr<TfrmMain> showWindow(const std::optional<std::filesystem::path>& file = {});
    std::filesystem::path writeComic(const std::string& name,
                                     const std::vector<std::string>& utf8Lines);
    std::filesystem::path writeSample(const std::string& name = "story.csf");

    // The CP932 form of a UTF-8 text, for comparing with the document.
    static std::string sj(std::string_view utf8);

    TempFolder folder;
    ScriptedPrompter prompter;
    MemorySettingsStore settings;
    SystemClock clock;
    SystemRandom random;
    RecordingLauncher launcher;
    RecordingHelpViewer help;
    std::vector<QString> errorBoxes;
    std::vector<SetupRun> setupRuns;
    QString wineProgram;
    std::function<int(QDialog&)> modal = [](QDialog&) {
        return 0;
    };
    EditorServices services;
};

} // namespace pagora::test
