#include "editor/script/script_runner.h"

#include "editor/script/printing_prompter.h"
#include "editor/script/script_steps.h"
#include "editor/script/step_errors.h"

#include <QCoreApplication>

namespace pagora {
namespace {

constexpr int kRetryMs = 20;

std::string lineLabel(const ScriptStep& step) {
    return "line " + std::to_string(step.line) + ": ";
}

} // namespace

ScriptRunner::ScriptRunner(std::vector<ScriptStep> steps, ScriptSteps& executor, QObject* parent)
    : QObject(parent)
    , steps_(std::move(steps))
    , executor_(executor) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ScriptRunner::turn);
}

void ScriptRunner::start() {
    timer_.start(0);
}

void ScriptRunner::turn() {
    if (finished_)
        return;
    if (next_ >= steps_.size()) {
        finish(0);
        return;
    }
    const std::size_t current = next_++;
    // Armed first: a step that opens a modal dialog returns only once the
    // dialog is closed, and the steps after it run inside the dialog's loop.
    timer_.start(0);
    const ScriptStep& step = steps_[current];
    try {
        executor_.run(step);
        if (waiting_ == current)
            waiting_.reset();
    } catch (const LookupMiss& miss) {
        retryLater(current, miss.what());
    } catch (const StepError& error) {
        printScriptLine("ERROR " + lineLabel(step) + error.what());
        finish(2);
    } catch (const ExpectFailure& failure) {
        printScriptLine("FAIL " + lineLabel(step) + failure.name + ": expected \"" +
                        failure.expected + "\", got \"" + failure.actual + "\"");
        finish(1);
    }
}

void ScriptRunner::retryLater(std::size_t step, const std::string& reason) {
    if (waiting_ != step) {
        waiting_ = step;
        waited_.start();
    }
    if (waited_.elapsed() >= kWaitMs) {
        printScriptLine("ERROR " + lineLabel(steps_[step]) + reason);
        finish(2);
        return;
    }
    next_ = step;
    timer_.start(kRetryMs);
}

void ScriptRunner::finish(int status) {
    finished_ = true;
    timer_.stop();
    QCoreApplication::exit(status);
    // Once more from the event loop: a script that ends inside a loop run
    // before the program's own started (the first show's) leaves that one too.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
        Qt::QueuedConnection);
}

} // namespace pagora
