#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QAction;
class QModelIndex;
class QWidget;

namespace pagora {

// Changes a control as a user would, so that it emits the same signals: the
// text of a line or text edit, a combo box's item by text or "#N" (any text
// for an editable one), a check box or radio button by "1"/"0", a number
// for a spin box or slider, the items of a list by text or "#N" ("#N,#M"
// selects several), a tab by its caption or "#N". Throws LookupMiss for an
// item that is not there and StepError for a control that takes no value.
void setControlValue(QWidget& control, const QString& value);

// A property of a control as text: "text" (the value in the form
// setControlValue takes), "index", "items" (joined with |), "count",
// "enabled", "visible", "checked", "title". Throws StepError for a property
// the control does not have.
QString controlProperty(QWidget& control, const QString& property);

// A property of a menu action: "text" (its plain caption), "enabled",
// "visible" or "checked". Throws StepError for any other.
QString actionProperty(const QAction& action, const QString& property);

// Clicks a button, tool button, check box or radio button.
void clickControl(QWidget& control);

// Selects the characters from (inclusive) to to (exclusive) of a line or
// text edit; from == to puts the caret there.
void selectControlText(QWidget& control, int from, int to);

// Edits a cell of an item view in place, through its delegate's editor.
void editCell(QAbstractItemView& view, int row, int column, const QString& text);

// The rows of a view as a user sees them: a list's items, a tree's expanded
// rows from the top.
QList<QModelIndex> viewRows(QAbstractItemView& view);

} // namespace pagora
