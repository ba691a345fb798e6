#include "editor/script/window_lookup.h"

#include "editor/script/step_errors.h"
#include "gui/qt_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QWidget>

namespace pagora {
namespace {

std::string quoted(const QString& name) {
    return "\"" + utf8Of(name) + "\"";
}

bool isShownWindow(const QWidget* widget) {
    return widget->isWindow() && widget->isVisible();
}

QWidget* shownWindow(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (isShownWindow(window) && window->objectName() == name)
            return window;
    return nullptr;
}

// The first of several matches that is on screen, else the first.
template <typename T> T* preferVisible(const QList<T*>& found) {
    for (T* widget : found)
        if (widget->isVisible())
            return widget;
    return found.isEmpty() ? nullptr : found.constFirst();
}

QWidget* controlIn(QWidget& window, const QString& name) {
    if (window.objectName() == name)
        return &window;
    if (QWidget* named = preferVisible(window.findChildren<QWidget*>(name)))
        return named;
    QList<QAbstractButton*> captioned;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (plainCaption(button->text()) == name)
            captioned.push_back(button);
    return preferVisible(captioned);
}

QAction* actionIn(const QList<QAction*>& actions, const QString& name) {
    for (QAction* action : actions)
        if (!action->isSeparator() && action->objectName() == name)
            return action;
    // Tool buttons may have hidden twins under the same caption: an enabled
    // action wins.
    QAction* disabled = nullptr;
    for (QAction* action : actions)
        if (!action->isSeparator() && plainCaption(action->text()) == name) {
            if (action->isEnabled())
                return action;
            disabled = disabled != nullptr ? disabled : action;
        }
    return disabled;
}

} // namespace

QString plainCaption(const QString& caption) {
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$"));
    QString plain = caption;
    plain.remove(accelerator);
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return plain;
}

QWidget& scriptActiveWindow(QWidget& mainWindow) {
    if (QWidget* popup = QApplication::activePopupWidget())
        return *popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return *modal;
    // The offscreen platform leaves a window active once it is hidden.
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active->isVisible())
        return *active;
    return mainWindow;
}

QWidget& findControl(QWidget& mainWindow, const QString& name) {
    QWidget& active = scriptActiveWindow(mainWindow);
    if (name == QStringLiteral("window"))
        return active;
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    if (slash > 0) {
        QWidget* window = shownWindow(name.left(slash));
        if (window == nullptr)
            throw LookupMiss("no window " + quoted(name.left(slash)));
        if (QWidget* control = controlIn(*window, name.mid(slash + 1)))
            return *control;
        throw LookupMiss("no control " + quoted(name));
    }
    if (QWidget* control = controlIn(active, name))
        return *control;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != &active && isShownWindow(window))
            if (QWidget* control = controlIn(*window, name))
                return *control;
    throw LookupMiss("no control " + quoted(name));
}

QAction* namedAction(QWidget& mainWindow, const QString& name) {
    return mainWindow.findChild<QAction*>(name);
}

QAction& findAction(QWidget& mainWindow, const QString& name) {
    QAction* action = nullptr;
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        action = actionIn(popup->actions(), name);
    if (action == nullptr)
        action = actionIn(mainWindow.findChildren<QAction*>(), name);
    if (action == nullptr)
        throw LookupMiss("no menu item " + quoted(name));
    if (!action->isEnabled())
        throw StepError("menu item " + quoted(name) + " is disabled");
    return *action;
}

} // namespace pagora
