#include "editor/script/user_input.h"

#include "editor/script/control_driver.h"
#include "editor/script/step_errors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>
#include <algorithm>

// Qt's own entry points for input as the window system delivers it (the ones
// its test library uses): through the window, with shortcuts and the
// synthesis of context menus and double clicks.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);
QT_END_NAMESPACE

namespace pagora {
namespace {

// Event times of the simulated input, in milliseconds. Each gesture (a
// step's clicks, keys) starts well past the double-click interval after the
// last one, so that clicks of separate steps never make a double click.
class InputClock {
public:
    static int tick() { return now_ += 1; }
    static void startGesture() {
        now_ = std::max(now_ + QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1,
                        static_cast<int>(clock().elapsed()));
    }

private:
    static QElapsedTimer& clock() {
        static QElapsedTimer started = [] {
            QElapsedTimer timer;
            timer.start();
            return timer;
        }();
        return started;
    }
    static inline int now_ = 0;
};

QWindow& windowOf(QWidget& control) {
    QWidget* window = control.window();
    if (window->windowHandle() == nullptr || !window->isVisible())
        throw StepError("the window of the control is not shown");
    return *window->windowHandle();
}

// Keys go to the active window, as a user's do after clicking into it; a
// window left inactive (another one closed last) takes no shortcuts. The
// activation arrives through the event loop, so the step is tried again on a
// later turn rather than waiting here, where later steps would run first.
void requireActive(QWidget& control) {
    QWidget* window = control.window();
    if (QApplication::activeWindow() == window)
        return;
    window->activateWindow();
    throw LookupMiss("the window of the control is not active");
}

// The text a key types: none with Ctrl or Alt held, or for keys that are
// not characters.
QString typedText(QKeyCombination combination) {
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    switch (combination.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Space:
        return QStringLiteral(" ");
    default:
        break;
    }
    const int key = static_cast<int>(combination.key());
    if (key < 0x20 || key > 0xffff || (key >= 0x01000000))
        return {};
    const QChar character(key);
    return modifiers & Qt::ShiftModifier ? QString(character) : QString(character.toLower());
}

void sendMouseEvent(QWidget& control, QPoint at, QEvent::Type type, Qt::MouseButton button,
                    Qt::MouseButtons held) {
    QWindow& window = windowOf(control);
    const QPoint local = control.mapTo(control.window(), at);
    qt_handleMouseEvent(&window, QPointF(local), QPointF(control.mapToGlobal(at)), held, button,
                        type, QGuiApplication::keyboardModifiers(), InputClock::tick());
}

} // namespace

std::optional<MouseAction> mouseActionOf(const QString& word) {
    if (word == QStringLiteral("press"))
        return MouseAction::Press;
    if (word == QStringLiteral("move"))
        return MouseAction::Move;
    if (word == QStringLiteral("release"))
        return MouseAction::Release;
    if (word == QStringLiteral("click"))
        return MouseAction::Click;
    return std::nullopt;
}

void sendKeys(QWidget& control, const QString& keys) {
    const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown)
        throw StepError("cannot read the keys \"" + keys.toStdString() + "\"");
    QWindow& window = windowOf(control);
    requireActive(control);
    control.setFocus(Qt::OtherFocusReason);
    InputClock::startGesture();
    for (uint i = 0; i < static_cast<uint>(sequence.count()); ++i) {
        const QKeyCombination combination = sequence[i];
        const int key = static_cast<int>(combination.key());
        const QString text = typedText(combination);
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        if (!qt_sendShortcutOverrideEvent(&control, static_cast<ulong>(InputClock::tick()), key,
                                          modifiers, text, false, 1))
            qt_handleKeyEvent(&window, QEvent::KeyPress, key, modifiers, text, false, 1);
        qt_handleKeyEvent(&window, QEvent::KeyRelease, key, modifiers, text, false, 1);
    }
}

void sendMouse(QWidget& control, MouseAction action, QPoint at, bool rightButton) {
    const Qt::MouseButton button = rightButton ? Qt::RightButton : Qt::LeftButton;
    InputClock::startGesture();
    if (action == MouseAction::Move) {
        sendMouseEvent(control, at, QEvent::MouseMove, Qt::NoButton,
                       QGuiApplication::mouseButtons());
        return;
    }
    if (action == MouseAction::Press || action == MouseAction::Click)
        sendMouseEvent(control, at, QEvent::MouseButtonPress, button, button);
    if (action == MouseAction::Release || action == MouseAction::Click)
        sendMouseEvent(control, at, QEvent::MouseButtonRelease, button, Qt::NoButton);
}

void doubleClickRow(QAbstractItemView& view, std::optional<int> row) {
    const QList<QModelIndex> rows = viewRows(view);
    const QModelIndex index = row ? rows.value(*row) : view.currentIndex();
    if (!index.isValid())
        throw LookupMiss(row ? "no row " + std::to_string(*row) : std::string("no current row"));
    view.scrollTo(index);
    doubleClickAt(*view.viewport(), view.visualRect(index).center());
}

void doubleClickAt(QWidget& control, QPoint at) {
    // Two clicks in quick succession, which Qt turns into a double click.
    InputClock::startGesture();
    for (int click = 0; click < 2; ++click) {
        sendMouseEvent(control, at, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        sendMouseEvent(control, at, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    }
}

} // namespace pagora
