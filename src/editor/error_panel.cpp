#include "editor/error_panel.h"

#include "check/error_check.h"
#include "editor/qt_text.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace pagora {

ErrorPanel::ErrorPanel(QWidget* parent)
    : QWidget(parent)
    , list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("pnlErrorList"));
    list_->setObjectName(QStringLiteral("lstErrorList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ErrorPanel::lineDoubleClicked);
}

void ErrorPanel::showFindings(TErrorCheck& check) {
    list_->clear();
    QStringList lines;
    for (int i = 0; i < check.ErrorCount; ++i)
        lines.append(qtText(ErrorListText(check.GetErrorList(i))));
    list_->addItems(lines);
}

int ErrorPanel::currentLine() const {
    return list_->currentRow();
}

} // namespace pagora
