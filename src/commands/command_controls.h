#pragma once

#include <QString>
#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

namespace pagora {

// Controls that several command dialogs share.

// A drop-down list of the six windows (see fillWindowList), none selected.
QComboBox* makeWindowList(const char* name, QWidget* parent);
// Selects the window numbered win; nothing for a number outside 0 to 5.
void showWindow(QComboBox& list, int win);
// The chosen window's number, or kept while none is chosen (a line naming
// a window the list does not hold keeps it).
int chosenWindow(const QComboBox& list, int kept);

// The CP932 form of a text shown for read: read itself while the text is
// what read shows as, so that bytes the code page cannot show come back
// unchanged; else the text converted (EncodingError when it cannot be).
std::string keptText(const QString& shown, const std::string& read);
// The same for a box, with a FieldError naming it.
std::string keptText(QLineEdit& box, const std::string& read);

// The font size list of a text's commands: 10 to 32 to choose from, any
// number typed. A size of 0 (the window's own) shows as "16".
QComboBox* makeFontSizeList(const char* name, QWidget* parent);
void showFontSize(QComboBox& list, int size);
// The size typed (0 for text that is no number); a 0 that was shown as
// "16" and left so stays 0, so that opening and confirming changes nothing.
int chosenFontSize(const QComboBox& list, int shown);
// The size a preview draws the text in: the size typed, "16" for none.
int previewFontSize(const QComboBox& list);

} // namespace pagora
