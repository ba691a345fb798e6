#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace pagora {

// A push button with its control name. It never becomes the default button
// just by taking the focus, so Enter means OK wherever the focus is.
QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent = nullptr);

// The foot of a dialog: OK (the default button), "キャンセル" and
// "ヘルプ(&H)", right-aligned. The caller connects them and adds the row.
struct DialogButtonRow {
    QHBoxLayout* layout;
    QPushButton* ok;
    QPushButton* cancel;
    QPushButton* help;
};
DialogButtonRow makeDialogButtonRow(QWidget* parent);

} // namespace pagora
