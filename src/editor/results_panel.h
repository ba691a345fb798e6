#pragma once

#include "document/comic_find.h"
#include "document/comic_references.h"

#include <QDockWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QListWidget;

namespace pagora {

// What the results panel lists: the lines are found again whenever the comic
// has changed since, so that the list follows edits, undo and redo.
struct ResultsQuery {
    QString caption; // what was looked for; the panel adds how much was found
    std::function<std::vector<FoundLine>()> find;
    // The text looked for, marked in each listed line; none for references.
    std::optional<TextMatcher> marked;
};

// The panel under the editor, pnlResultList, with the lines that the last
// find or reference list found in lstResultList, one line each ("book /
// page / line: text", a header entry as "ヘッダー: key=value"), under a
// caption that says what was looked for and how much was found. A double
// click asks for the line to be opened.
class ResultsPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit ResultsPanel(QWidget* parent = nullptr);

    // Lists what the query finds in the comic at its change count, and
    // brings the panel up.
    void showResults(ResultsQuery query, std::uint64_t changeCount);
    // Finds the lines anew when the comic changed since they were found,
    // keeping the current row where it was.
    void refresh(std::uint64_t changeCount);
    QListWidget& list() { return *list_; }
    // The found line of the list's current row, none when no row is current.
    const FoundLine* currentResult() const;

signals:
    void lineDoubleClicked();

private:
    void fill(int currentRow);

    QListWidget* list_;
    ResultsQuery query_;
    std::uint64_t foundAt_ = 0;
    std::vector<FoundLine> found_;
};

} // namespace pagora
