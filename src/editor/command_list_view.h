#pragma once

#include <QListView>
#include <string>
#include <vector>

namespace pagora {

class CommandListModel;

// The command list, lstCmdList: the lines of the open page, several of which
// can be selected; the focused line is the one the commands act on.
class CommandListView : public QListView {
    Q_OBJECT

public:
    CommandListView(CommandListModel& model, QWidget* parent = nullptr);

    // Shows the page again, keeping the first visible line and focusing (and
    // selecting only) line, or the focused line when line is negative; a
    // line past the end focuses the last one.
    void refresh(const std::string& book, const std::string& page, int line);

    int focusedIndex() const;
    int firstVisibleIndex() const;
    std::vector<int> selectedRows() const;
    // Focuses and selects one line, dropping the rest of the selection.
    void focusLine(int row);

    CommandListModel& commandModel() { return model_; }

private:
    CommandListModel& model_;
};

} // namespace pagora
