#pragma once

#include <QWidget>

class QListWidget;

namespace pagora {

class TErrorCheck;

// The panel under the editor, pnlErrorList, with the findings of the last
// error check in lstErrorList, one line each.
class ErrorPanel : public QWidget {
    Q_OBJECT

public:
    explicit ErrorPanel(QWidget* parent = nullptr);

    void showFindings(TErrorCheck& check);
    QListWidget& list() { return *list_; }
    // The line of the list that is current, -1 for none.
    int currentLine() const;

signals:
    void lineDoubleClicked();

private:
    QListWidget* list_;
};

} // namespace pagora
