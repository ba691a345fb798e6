#include "editor/command_list_view.h"

#include "editor/command_list_delegate.h"
#include "editor/command_list_model.h"

#include <QScrollBar>
#include <algorithm>

namespace pagora {

CommandListView::CommandListView(CommandListModel& model, QWidget* parent)
    : QListView(parent)
    , model_(model) {
    setObjectName(QStringLiteral("lstCmdList"));
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Every row is as high as the first, so the view never measures the
    // lines it does not show.
    setUniformItemSizes(true);
    setFont(CommandListDelegate::listFont());
}

void CommandListView::refresh(const std::string& book, const std::string& page, int line) {
    int keep = line >= 0 ? line : focusedIndex();
    const int top = std::max(firstVisibleIndex(), 0);
    model_.showPage(book, page);
    const int count = model_.rowCount();
    if (top < count)
        scrollTo(model_.index(top), QAbstractItemView::PositionAtTop);
    keep = std::max(keep, 0);
    if (count > 0)
        focusLine(std::min(keep, count - 1));
}

void CommandListView::focusLine(int row) {
    selectionModel()->setCurrentIndex(model_.index(row), QItemSelectionModel::ClearAndSelect);
}

int CommandListView::focusedIndex() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

int CommandListView::firstVisibleIndex() const {
    // Scrolling goes by whole lines, so the scroll position is the first line shown.
    return model_.rowCount() > 0 ? verticalScrollBar()->value() : -1;
}

std::vector<int> CommandListView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace pagora
