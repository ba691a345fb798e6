#include "editor/results_panel.h"

#include "gui/qt_text.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

namespace pagora {
namespace {

// The first and the past-the-end character of the marked text in an item.
constexpr int kMarkRole = Qt::UserRole;

QString resultText(const FoundLine& line) {
    if (line.inHeader())
        return QStringLiteral("ヘッダー: ") + qtText(line.text);
    return QStringLiteral("%1 / %2 / %3: ")
               .arg(qtText(line.book), qtText(line.page), QString::number(line.line + 1)) +
           qtText(line.text);
}

// Where the matcher finds its text in the line's text, in characters of the
// item's text (which the text ends).
std::optional<QPoint> markOf(const TextMatcher& matcher, const FoundLine& line,
                             const QString& shown) {
    const std::size_t at = matcher.find(line.text);
    if (at == std::string::npos)
        return std::nullopt;
    const std::string_view text = line.text;
    const int start =
        static_cast<int>(shown.size() - qtText(text).size() + qtText(text.substr(0, at)).size());
    return QPoint(start,
                  start + static_cast<int>(qtText(text.substr(at, matcher.length())).size()));
}

// Draws an item's text with its marked part on a highlight, so that the
// match stands out in a long line.
class MarkedTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant mark = index.data(kMarkRole);
        if (!mark.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget)
                               .adjusted(kTextMargin, 0, -kTextMargin, 0);
        const QPoint span = mark.toPoint();
        const QString parts[] = {text.left(span.x()), text.mid(span.x(), span.y() - span.x()),
                                 text.mid(span.y())};
        painter->save();
        painter->setClipRect(area);
        painter->setFont(item.font);
        const bool selected = item.state & QStyle::State_Selected;
        const QColor ink =
            item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        int x = area.left();
        for (int part = 0; part < 3; ++part) {
            const int width = item.fontMetrics.horizontalAdvance(parts[part]);
            const QRect box(x, area.top(), width, area.height());
            if (part == 1) {
                painter->fillRect(box, kMarkColor);
                painter->setPen(Qt::black);
            } else {
                painter->setPen(ink);
            }
            painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              parts[part]);
            x += width;
        }
        painter->restore();
    }

private:
    static constexpr int kTextMargin = 3;
    static inline const QColor kMarkColor{255, 225, 110};
};

} // namespace

ResultsPanel::ResultsPanel(QWidget* parent)
    : QDockWidget(parent)
    , list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("pnlResultList"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    list_->setObjectName(QStringLiteral("lstResultList"));
    list_->setItemDelegate(new MarkedTextDelegate(list_));
    setWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ResultsPanel::lineDoubleClicked);
}

void ResultsPanel::showResults(ResultsQuery query, std::uint64_t changeCount) {
    query_ = std::move(query);
    foundAt_ = changeCount;
    fill(0);
    show();
    raise();
}

void ResultsPanel::refresh(std::uint64_t changeCount) {
    if (changeCount == foundAt_ || !query_.find)
        return;
    foundAt_ = changeCount;
    fill(list_->currentRow());
}

void ResultsPanel::fill(int currentRow) {
    found_ = query_.find();
    setWindowTitle(query_.caption + QStringLiteral("（%1 件）").arg(found_.size()));
    list_->clear();
    for (const FoundLine& line : found_) {
        auto* item = new QListWidgetItem(resultText(line), list_);
        if (query_.marked)
            if (const std::optional<QPoint> mark = markOf(*query_.marked, line, item->text()))
                item->setData(kMarkRole, *mark);
    }
    if (!found_.empty())
        list_->setCurrentRow(std::clamp(currentRow, 0, static_cast<int>(found_.size()) - 1));
}

const FoundLine* ResultsPanel::currentResult() const {
    const int row = list_->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < found_.size()
               ? &found_[static_cast<std::size_t>(row)]
               : nullptr;
}

} // namespace pagora
