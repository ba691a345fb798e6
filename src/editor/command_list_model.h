#pragma once

#include "document/cmd_records.h"

#include <QAbstractListModel>
#include <string>

namespace pagora {

class TCmdCtrl;
class TComicFileCtrl;

// What the command list shows for one line.
struct LineSummary {
    bool readable = true;
    TCmdRef ref;     // the line's summary; only the kind when it cannot be read
    QString text;    // the display sentence, or the raw line when it cannot be read
    QString problem; // why the line cannot be read
};

// The command lines of the open page as a list. The model keeps no copy of
// the page: a row's summary is made from the document when the view asks for
// it, so only the rows on screen are ever read.
class CommandListModel : public QAbstractListModel {
    Q_OBJECT

public:
    CommandListModel(TComicFileCtrl& comic, TCmdCtrl& syntax, QObject* parent = nullptr);

    // Shows the page's lines from the start, dropping whatever was shown.
    void showPage(const std::string& book, const std::string& page);

    LineSummary summary(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    TComicFileCtrl& comic_;
    TCmdCtrl& syntax_;
    std::string book_;
    std::string page_;
    int rows_ = 0;
};

} // namespace pagora
