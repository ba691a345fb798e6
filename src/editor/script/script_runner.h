#pragma once

#include "editor/script/script_parser.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstddef>
#include <optional>
#include <vector>

namespace pagora {

class ScriptSteps;

// Runs a script's steps one per turn of the event loop, from a timer, so
// that they go on inside modal dialogs, pop-up menus and nested loops. A
// step whose window, control or item is not there yet is tried again for
// up to five seconds. At the end the program leaves every event loop with
// the exit status: 0 all steps ran, 1 an expect failed, 2 a step could not
// run.
class ScriptRunner : public QObject {
    Q_OBJECT

public:
    static constexpr int kWaitMs = 5000;

    ScriptRunner(std::vector<ScriptStep> steps, ScriptSteps& executor, QObject* parent = nullptr);

    // Starts the first step on the next turn.
    void start();

private:
    void turn();
    void retryLater(std::size_t step, const std::string& reason);
    void finish(int status);

    std::vector<ScriptStep> steps_;
    ScriptSteps& executor_;
    QTimer timer_;
    std::size_t next_ = 0;
    // The step being waited for, and since when.
    std::optional<std::size_t> waiting_;
    QElapsedTimer waited_;
    bool finished_ = false;
};

} // namespace pagora
