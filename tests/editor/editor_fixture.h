#pragma once

#include "dialog_fixture.h"
#include "editor/command_list_view.h"
#include "editor/editor_context.h"
#include "editor/main_actions.h"
#include "editor/main_window.h"
#include "editor/program_launcher.h"
#include "gui/qt_text.h"

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

class RecordingLauncher : public ProgramLauncher {
public:
    std::vector<LaunchPlan> plans;
    bool startResult = true;
    bool startDetached(const LaunchPlan& plan) override {
        plans.push_back(plan);
        return startResult;
    }
};

// Everything the main window needs, scripted: the prompter answers from its
// queues, settings live in memory, error boxes and setup runs are recorded,
// and dialogs run through `modal` instead of a modal loop.
class EditorTest : public ServicesTest {
protected:
    EditorTest();

    std::unique_ptr<TfrmMain> makeWindow(const std::optional<std::filesystem::path>& file = {});
    // A window shown on the offscreen screen, past its first show.
    std::unique_ptr<TfrmMain> showWindow(const std::optional<std::filesystem::path>& file = {});
    std::filesystem::path writeComic(const std::string& name,
                                     const std::vector<std::string>& utf8Lines);
    std::filesystem::path writeSample(const std::string& name = "story.csf");

    RecordingLauncher launcher;
    std::vector<SetupRun> setupRuns;
    SetupOutcome setupOutcome = SetupOutcome::Continue;
    QString wineProgram;
    EditorServices services;
};

} // namespace pagora::test
