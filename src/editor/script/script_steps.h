#pragma once

#include "editor/script/script_parser.h"

#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace pagora {

class PrintingPrompter;
class TfrmMain;

// Runs one step of a script on the running editor. Throws LookupMiss while
// what the step needs is not there, StepError when the step cannot run and
// ExpectFailure when an expect does not hold.
class ScriptSteps {
public:
    ScriptSteps(TfrmMain& window, PrintingPrompter& prompter);

    void run(const ScriptStep& step);

private:
    // A NAME[:PROP] argument: the control's name and the property (text
    // when none is named).
    struct Target {
        QString name;
        QString property;
    };
    static Target targetOf(const std::string& argument);
    QWidget& control(const std::string& name);
    QWidget& active();
    // A property of a control, else of a menu item of that name.
    QString propertyOf(const Target& target);

    using Args = std::vector<std::string>;
    void menu(const Args& args);
    void doubleClick(const Args& args);
    void select(const Args& args);
    void cell(const Args& args);
    void mouse(const Args& args);
    void expect(const Args& args);
    void answer(const Args& args);
    void color(const Args& args);
    void waitWindow(const Args& args);
    void waitValue(const Args& args);
    void print(const Args& args);
    void printPage();
    void screenshot(const Args& args);

    TfrmMain& window_;
    PrintingPrompter& prompter_;
};

} // namespace pagora
