#pragma once

#include "document/comic_references.h"

#include <QDockWidget>
#include <vector>

class QListWidget;

namespace pagora {

// The panel under the editor, pnlResultList, with the lines that the last
// find or reference list found in lstResultList, one line each ("book /
// page / line: text", a header entry as "ヘッダー: key=value"), under a
// caption that says what was looked for and how much was found. A double
// click asks for the line to be opened.
class ResultsPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit ResultsPanel(QWidget* parent = nullptr);

    // Shows the lines under the caption and brings the panel up.
    void showResults(const QString& caption, std::vector<FoundLine> found);
    QListWidget& list() { return *list_; }
    // The found line of the list's current row, none when no row is current.
    const FoundLine* currentResult() const;

signals:
    void lineDoubleClicked();

private:
    QListWidget* list_;
    std::vector<FoundLine> found_;
};

} // namespace pagora
