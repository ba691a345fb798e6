#include "editor/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace pagora {

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

DialogButtonRow makeDialogButtonRow(QWidget* parent) {
    DialogButtonRow row{new QHBoxLayout, makeButton(QStringLiteral("OK"), "btnOK", parent),
                        makeButton(QStringLiteral("キャンセル"), "btnCancel", parent),
                        makeButton(QStringLiteral("ヘルプ(&H)"), "btnHelp", parent)};
    row.ok->setDefault(true);
    row.layout->addStretch(1);
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    row.layout->addWidget(row.help);
    return row;
}

} // namespace pagora
