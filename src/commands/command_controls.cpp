#include "commands/command_controls.h"

#include "commands/window_list.h"
#include "gui/controls.h"
#include "gui/dialog_frame.h"
#include "gui/qt_text.h"
#include "platform/numbers.h"

#include <QComboBox>
#include <QLineEdit>

namespace pagora {

QComboBox* makeWindowList(const char* name, QWidget* parent) {
    QComboBox* list = makeList(name, {}, parent);
    fillWindowList(*list);
    list->setCurrentIndex(-1);
    return list;
}

void showWindow(QComboBox& list, int win) {
    list.setCurrentIndex(win >= 0 && win < list.count() ? win : -1);
}

int chosenWindow(const QComboBox& list, int kept) {
    return list.currentIndex() >= 0 ? list.currentIndex() : kept;
}

std::string keptText(const QString& shown, const std::string& read) {
    return shown == qtText(read) ? read : cp932Text(shown);
}

std::string keptText(QLineEdit& box, const std::string& read) {
    return readField(box, [&] { return keptText(box.text(), read); });
}

namespace {

constexpr int kShownDefaultSize = 16;

} // namespace

QComboBox* makeFontSizeList(const char* name, QWidget* parent) {
    QStringList sizes;
    for (const int size : {10, 12, 14, 16, 18, 20, 24, 28, 32})
        sizes.push_back(QString::number(size));
    return makeEditableList(name, sizes, parent);
}

void showFontSize(QComboBox& list, int size) {
    list.setEditText(QString::number(size == 0 ? kShownDefaultSize : size));
}

int chosenFontSize(const QComboBox& list, int shown) {
    const QString text = list.currentText().trimmed();
    if (shown == 0 && text == QString::number(kShownDefaultSize))
        return 0;
    return lenientInt(utf8Of(text));
}

int previewFontSize(const QComboBox& list) {
    const int size = chosenFontSize(list, 0);
    return size > 0 ? size : kShownDefaultSize;
}

} // namespace pagora
