#pragma once

#include <QString>

class QAction;
class QWidget;

namespace pagora {

// A caption as a user reads it: without the & of its access key and without
// a trailing "(&X)".
QString plainCaption(const QString& caption);

// The window a step acts on: the open pop-up, else the topmost modal dialog,
// else the active window, else the main window.
QWidget& scriptActiveWindow(QWidget& mainWindow);

// A control of the active window by its objectName, else by the caption of a
// button, check box or radio button; "window" is the active window itself,
// and "WINDOW/NAME" looks in the shown window WINDOW only. Where the active
// window has none, the other shown windows are searched. Throws LookupMiss.
QWidget& findControl(QWidget& mainWindow, const QString& name);

// An action of the main window by its objectName; null when there is none.
QAction* namedAction(QWidget& mainWindow, const QString& name);

// An enabled action of the open pop-up menu, else of the main window, by its
// objectName or plain caption. Throws LookupMiss when there is none and
// StepError when it is disabled.
QAction& findAction(QWidget& mainWindow, const QString& name);

} // namespace pagora
