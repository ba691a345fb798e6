#include "editor/error_panel.h"

#include "check/error_check.h"
#include "gui/qt_text.h"

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
    if (check.ErrorCount == 0) {
        showNote(QStringLiteral("エラーは見つかりませんでした"));
        return;
    }
    clear();
    QStringList lines;
    for (int i = 0; i < check.ErrorCount; ++i)
        lines.append(qtText(ErrorListText(check.GetErrorList(i))));
    list_->addItems(lines);
    findingCount_ = check.ErrorCount;
}

void ErrorPanel::showNote(const QString& note) {
    clear();
    list_->addItem(note);
}

void ErrorPanel::clear() {
    list_->clear();
    findingCount_ = 0;
}

int ErrorPanel::currentFinding() const {
    const int line = list_->currentRow();
    return line < findingCount_ ? line : -1;
}

} // namespace pagora
