#include "editor/script/script_steps.h"

#include "document/cmd_ctrl.h"
#include "editor/main_window.h"
#include "editor/script/control_driver.h"
#include "editor/script/layout_step.h"
#include "editor/script/main_window_steps.h"
#include "editor/script/printing_prompter.h"
#include "editor/script/step_errors.h"
#include "editor/script/user_input.h"
#include "editor/script/window_lookup.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_line.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <map>

namespace pagora {
namespace {

const QStringList kProperties{
    QStringLiteral("text"),    QStringLiteral("index"),   QStringLiteral("items"),
    QStringLiteral("rows"),    QStringLiteral("count"),   QStringLiteral("enabled"),
    QStringLiteral("visible"), QStringLiteral("checked"), QStringLiteral("title")};

int numberArgument(const std::string& text) {
    std::size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw StepError("not a number: \"" + text + "\"");
    return number;
}

// A script's text as the comic holds it; text that CP932 cannot hold makes
// the step impossible.
std::string comicText(const std::string& utf8) {
    try {
        return toCp932(utf8);
    } catch (const EncodingError& error) {
        throw StepError(error.what());
    }
}

Answer answerOf(const std::string& word) {
    static const std::map<std::string, Answer, std::less<>> answers{
        {"Yes", Answer::Yes},       {"No", Answer::No},       {"OK", Answer::Ok},
        {"Cancel", Answer::Cancel}, {"Abort", Answer::Abort}, {"Ignore", Answer::Ignore}};
    const auto found = answers.find(word);
    if (found == answers.end())
        throw StepError("unknown answer \"" + word + "\"");
    return found->second;
}

// A printed value stays on one line: CR and LF are written as \r and \n.
std::string oneLine(const QString& value) {
    return escapeLineBreaks(utf8Of(value));
}

QAbstractItemView& itemView(QWidget& control) {
    auto* view = qobject_cast<QAbstractItemView*>(&control);
    if (view == nullptr)
        throw StepError("\"" + utf8Of(control.objectName()) + "\" is not a list, tree or table");
    return *view;
}

// Chooses an item of an open pop-up menu as a click on it does, so that the
// menu closes first; other actions are triggered.
void chooseAction(QAction& action) {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (popup == nullptr || !popup->actions().contains(&action)) {
        action.trigger();
        return;
    }
    const QPoint at = popup->actionGeometry(&action).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(popup->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(popup, &event);
    }
}

// Prints a file's lines, decoded from CP932.
void printFile(const std::string& path) {
    std::string bytes;
    try {
        bytes = readWholeFile(pathFromText(utf8Text(path)));
    } catch (const std::exception& error) {
        throw StepError(error.what());
    }
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        printScriptLine(toUtf8(line));
    }
}

} // namespace

ScriptSteps::ScriptSteps(TfrmMain& window, PrintingPrompter& prompter)
    : window_(window)
    , prompter_(prompter) {
}

ScriptSteps::Target ScriptSteps::targetOf(const std::string& argument) {
    const QString text = utf8Text(argument);
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && kProperties.contains(text.mid(colon + 1)))
        return {text.left(colon), text.mid(colon + 1)};
    return {text, QStringLiteral("text")};
}

QWidget& ScriptSteps::control(const std::string& name) {
    return findControl(window_, utf8Text(name));
}

QString ScriptSteps::propertyOf(const Target& target) {
    try {
        return controlProperty(findControl(window_, target.name), target.property);
    } catch (const LookupMiss&) {
        if (const QAction* action = namedAction(window_, target.name))
            return actionProperty(*action, target.property);
        throw;
    }
}

QWidget& ScriptSteps::active() {
    return scriptActiveWindow(window_);
}

void ScriptSteps::run(const ScriptStep& step) {
    using Handler = void (*)(ScriptSteps&, const Args&);
    static const std::map<std::string, Handler, std::less<>> handlers{
        {"open",
         [](ScriptSteps& s, const Args& a) {
             openComicStep(s.window_, pathFromText(utf8Text(a[0])));
         }},
        {"page",
         [](ScriptSteps& s, const Args& a) {
             openPageStep(s.window_, comicText(a[0]), comicText(a[1]));
         }},
        {"drop",
         [](ScriptSteps& s, const Args& a) {
             dropTreeNodeStep(s.window_, comicText(a[0]), comicText(a[1]));
         }},
        {"focus",
         [](ScriptSteps& s, const Args& a) {
             focusLineStep(s.window_, numberArgument(a[0]));
         }},
        {"menu",
         [](ScriptSteps& s, const Args& a) {
             s.menu(a);
         }},
        {"click",
         [](ScriptSteps& s, const Args& a) {
             clickControl(s.control(a[0]));
         }},
        {"dblclick",
         [](ScriptSteps& s, const Args& a) {
             s.doubleClick(a);
         }},
        {"set",
         [](ScriptSteps& s, const Args& a) {
             setControlValue(s.control(a[0]), utf8Text(a[1]));
         }},
        {"select",
         [](ScriptSteps& s, const Args& a) {
             s.select(a);
         }},
        {"cell",
         [](ScriptSteps& s, const Args& a) {
             s.cell(a);
         }},
        {"key",
         [](ScriptSteps& s, const Args& a) {
             sendKeys(s.control(a[0]), utf8Text(a[1]));
         }},
        {"mouse",
         [](ScriptSteps& s, const Args& a) {
             s.mouse(a);
         }},
        {"expect",
         [](ScriptSteps& s, const Args& a) {
             s.expect(a);
         }},
        {"answer",
         [](ScriptSteps& s, const Args& a) {
             s.answer(a);
         }},
        {"input",
         [](ScriptSteps& s, const Args& a) {
             s.prompter_.queueInput(comicText(a[0]));
         }},
        {"input-cancel",
         [](ScriptSteps& s, const Args&) {
             s.prompter_.queueInput(std::nullopt);
         }},
        {"file",
         [](ScriptSteps& s, const Args& a) {
             s.prompter_.queuePath(pathFromText(utf8Text(a[0])));
         }},
        {"file-cancel",
         [](ScriptSteps& s, const Args&) {
             s.prompter_.queuePath(std::nullopt);
         }},
        {"color",
         [](ScriptSteps& s, const Args& a) {
             s.color(a);
         }},
        {"color-cancel",
         [](ScriptSteps& s, const Args&) {
             s.prompter_.queueColor(std::nullopt);
         }},
        {"wait-window",
         [](ScriptSteps& s, const Args& a) {
             s.waitWindow(a);
         }},
        {"wait",
         [](ScriptSteps& s, const Args& a) {
             s.waitValue(a);
         }},
        {"print",
         [](ScriptSteps& s, const Args& a) {
             s.print(a);
         }},
        {"print-page",
         [](ScriptSteps& s, const Args&) {
             s.printPage();
         }},
        {"print-file",
         [](ScriptSteps&, const Args& a) {
             printFile(a[0]);
         }},
        {"screenshot",
         [](ScriptSteps& s, const Args& a) {
             s.screenshot(a);
         }},
        {"layout",
         [](ScriptSteps& s, const Args& a) {
             runLayoutEditorStep(s.window_.context().layoutEditor, a);
         }},
    };
    const auto handler = handlers.find(step.verb);
    if (handler == handlers.end())
        throw StepError("unknown step " + step.verb);
    handler->second(*this, step.args);
}

void ScriptSteps::menu(const Args& args) {
    chooseAction(findAction(window_, utf8Text(args[0])));
}

void ScriptSteps::doubleClick(const Args& args) {
    QWidget& target = control(args[0]);
    if (!qobject_cast<QAbstractItemView*>(&target)) {
        if (args.size() > 1)
            throw StepError(args[0] + " has no rows");
        doubleClickAt(target, target.rect().center());
        return;
    }
    QAbstractItemView& view = itemView(target);
    std::optional<int> row;
    if (args.size() > 1)
        row = numberArgument(args[1]);
    doubleClickRow(view, row);
}

void ScriptSteps::select(const Args& args) {
    selectControlText(control(args[0]), numberArgument(args[1]), numberArgument(args[2]));
}

void ScriptSteps::cell(const Args& args) {
    editCell(itemView(control(args[0])), numberArgument(args[1]), numberArgument(args[2]),
             utf8Text(args[3]));
}

void ScriptSteps::mouse(const Args& args) {
    const std::optional<MouseAction> action = mouseActionOf(utf8Text(args[1]));
    if (!action)
        throw StepError("unknown mouse action \"" + args[1] + "\"");
    const bool right = args.size() > 4;
    if (right && args[4] != "right")
        throw StepError("unknown mouse button \"" + args[4] + "\"");
    sendMouse(control(args[0]), *action, QPoint(numberArgument(args[2]), numberArgument(args[3])),
              right);
}

void ScriptSteps::expect(const Args& args) {
    const Target target = targetOf(args[0]);
    const QString actual = propertyOf(target);
    if (actual != utf8Text(args[1]))
        throw ExpectFailure(args[0], oneLine(utf8Text(args[1])), oneLine(actual));
}

void ScriptSteps::answer(const Args& args) {
    for (const std::string& word : args)
        answerOf(word);
    for (const std::string& word : args)
        prompter_.queueAnswer(answerOf(word));
}

void ScriptSteps::color(const Args& args) {
    try {
        prompter_.queueColor(TCmdCtrl::ParseColor(args[0]));
    } catch (const std::exception&) {
        throw StepError("not a colour: \"" + args[0] + "\"");
    }
}

void ScriptSteps::waitWindow(const Args& args) {
    if (active().objectName() != utf8Text(args[0]))
        throw LookupMiss("the active window is \"" + utf8Of(active().objectName()) + "\", not \"" +
                         args[0] + "\"");
}

void ScriptSteps::waitValue(const Args& args) {
    const QString actual = propertyOf(targetOf(args[0]));
    if (actual != utf8Text(args[1]))
        throw LookupMiss(args[0] + " is \"" + oneLine(actual) + "\", not \"" +
                         oneLine(utf8Text(args[1])) + "\"");
}

void ScriptSteps::print(const Args& args) {
    const Target target = targetOf(args[0]);
    const QString value = propertyOf(target);
    printScriptLine(args[0] + ": " + oneLine(value));
}

void ScriptSteps::printPage() {
    for (const std::string& line : openPageLines(window_))
        printScriptLine(line);
}

void ScriptSteps::screenshot(const Args& args) {
    if (!active().grab().save(utf8Text(args[0]), "PNG"))
        throw StepError("cannot write " + args[0]);
}

} // namespace pagora
