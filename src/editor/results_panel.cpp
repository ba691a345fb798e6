#include "editor/results_panel.h"

#include "gui/qt_text.h"

#include <QListWidget>

namespace pagora {
namespace {

QString resultText(const FoundLine& line) {
    if (line.inHeader())
        return QStringLiteral("ヘッダー: ") + qtText(line.text);
    return QStringLiteral("%1 / %2 / %3: %4")
        .arg(qtText(line.book), qtText(line.page), QString::number(line.line + 1),
             qtText(line.text));
}

} // namespace

ResultsPanel::ResultsPanel(QWidget* parent)
    : QDockWidget(parent)
    , list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("pnlResultList"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    list_->setObjectName(QStringLiteral("lstResultList"));
    setWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ResultsPanel::lineDoubleClicked);
}

void ResultsPanel::showResults(const QString& caption, std::vector<FoundLine> found) {
    found_ = std::move(found);
    setWindowTitle(caption);
    list_->clear();
    QStringList lines;
    for (const FoundLine& line : found_)
        lines.append(resultText(line));
    list_->addItems(lines);
    if (!found_.empty())
        list_->setCurrentRow(0);
    show();
    raise();
}

const FoundLine* ResultsPanel::currentResult() const {
    const int row = list_->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < found_.size()
               ? &found_[static_cast<std::size_t>(row)]
               : nullptr;
}

} // namespace pagora
