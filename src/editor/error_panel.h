#pragma once

#include <QWidget>

class QListWidget;

namespace pagora {

class TErrorCheck;

// The panel under the editor, pnlErrorList, with the findings of the last
// error check in lstErrorList, one line each, or a line that is no finding
// (that the check found nothing, or a note about the open comic).
class ErrorPanel : public QWidget {
    Q_OBJECT

public:
    explicit ErrorPanel(QWidget* parent = nullptr);

    void showFindings(TErrorCheck& check);
    void showNote(const QString& note);
    void clear();
    QListWidget& list() { return *list_; }
    // The finding of the current line, -1 when that line is none.
    int currentFinding() const;

signals:
    void lineDoubleClicked();

private:
    QListWidget* list_;
    int findingCount_ = 0;
};

} // namespace pagora
