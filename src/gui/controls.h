#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace pagora {

// Controls as the windows build them in code, each with its control name.

// A drop-down list of fixed items (none selected until the caller selects one).
// The six windows of a comic in window number order ("メインウインドウ" …
// "ユーザーウインドウ３").
const QStringList& playWindowNames();

QComboBox* makeList(const char* name, const QStringList& items, QWidget* parent);
// An editable combo box: a text box with a list of suggestions.
QComboBox* makeEditableList(const char* name, const QStringList& items, QWidget* parent);
QCheckBox* makeCheckBox(const char* name, const QString& caption, QWidget* parent);
QRadioButton* makeRadioButton(const char* name, const QString& caption, QWidget* parent);
QLineEdit* makeLineEdit(const char* name, QWidget* parent);
// A text box the user reads but does not type into.
QLineEdit* makeReadOnlyEdit(const char* name, QWidget* parent);

} // namespace pagora
