#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace pagora {

// The six windows of a comic in window number order ("メインウインドウ" …
// "ユーザーウインドウ３").
const QStringList& playWindowNames();

// Controls as the windows build them in code, each with its control name.

// A drop-down list of fixed items (none selected until the caller selects one).
QComboBox* makeList(const QString& name, const QStringList& items, QWidget* parent);
// An editable combo box: a text box with a list of suggestions.
QComboBox* makeEditableList(const QString& name, const QStringList& items, QWidget* parent);
QCheckBox* makeCheckBox(const QString& name, const QString& caption, QWidget* parent);
QRadioButton* makeRadioButton(const QString& name, const QString& caption, QWidget* parent);
QLineEdit* makeLineEdit(const QString& name, QWidget* parent);
// A text box the user reads but does not type into.
QLineEdit* makeReadOnlyEdit(const QString& name, QWidget* parent);

// Drop-down lists of names (CP932): each item shows its name and keeps it
// whole as its data, so that bytes the code page cannot show come back.

// Fills a list with names and chooses the one named chosen; none when chosen
// is empty or not among them.
void fillNames(QComboBox& list, const std::vector<std::string>& names,
               std::string_view chosen = {});
// Refills the list with names, the name that was chosen staying chosen when
// the list still offers it (a refill after the names changed).
void fillNameList(QComboBox& list, const std::vector<std::string>& names);
// Selects the item of that name; none when the list does not hold it.
void selectName(QComboBox& list, std::string_view name);
// The chosen item's name, empty while none is chosen.
std::string chosenName(const QComboBox& list);

} // namespace pagora
