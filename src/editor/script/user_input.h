#pragma once

#include <QPoint>
#include <QString>
#include <optional>

class QAbstractItemView;
class QWidget;

namespace pagora {

enum class MouseAction { Press, Move, Release, Click };

// Parses "press", "move", "release" or "click"; empty for anything else.
std::optional<MouseAction> mouseActionOf(const QString& word);

// Sends a key sequence ("Delete", "Ctrl+V") to control through its window,
// as the keyboard does, so that shortcuts of the control's context fire.
// Throws StepError for a sequence that cannot be read.
void sendKeys(QWidget& control, const QString& keys);

// Sends mouse events at control's coordinates through its window, as the
// mouse does; a right press opens the control's context menu.
void sendMouse(QWidget& control, MouseAction action, QPoint at, bool rightButton);

// Double-clicks row (default: the current one) of a list, tree or table:
// mouse events on the viewport at the row's rectangle.
void doubleClickRow(QAbstractItemView& view, std::optional<int> row);
// Double-clicks a control at its own coordinates.
void doubleClickAt(QWidget& control, QPoint at);

} // namespace pagora
