#include "editor/command_list_model.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "gui/qt_text.h"
#include "platform/errors.h"

namespace pagora {

CommandListModel::CommandListModel(TComicFileCtrl& comic, TCmdCtrl& syntax, QObject* parent)
    : QAbstractListModel(parent)
    , comic_(comic)
    , syntax_(syntax) {
}

void CommandListModel::showPage(const std::string& book, const std::string& page) {
    beginResetModel();
    book_ = book;
    page_ = page;
    rows_ = comic_.GetCommandCount(book_, page_);
    endResetModel();
}

LineSummary CommandListModel::summary(int row) const {
    const std::string_view line = comic_.PeekCommand(book_, page_, row);
    LineSummary summary;
    try {
        summary.ref = syntax_.MakeCmdRef(line);
        summary.text = qtText(summary.ref.Text);
    } catch (const ConversionError& error) {
        summary.readable = false;
        summary.ref.Kind = TCmdCtrl::GetCommandKind(line);
        summary.text = qtText(line);
        summary.problem = errorText(error);
    }
    return summary;
}

int CommandListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant CommandListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return summary(index.row()).text;
    case Qt::ToolTipRole: {
        const LineSummary line = summary(index.row());
        return line.readable ? QVariant() : QVariant(line.problem);
    }
    default:
        return {};
    }
}

} // namespace pagora
