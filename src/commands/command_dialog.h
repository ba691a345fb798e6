#pragma once

#include "commands/option_dialog.h"
#include "document/cmd_records.h"

#include <QDialog>
#include <filesystem>
#include <optional>
#include <string>

class QHBoxLayout;
class QPushButton;

namespace pagora {

struct EditorContext;

// What every command kind's dialog shares. A dialog edits one command line:
// it reads the line into its kind's record, shows the record in its
// controls, and on OK fills the record from the controls and writes it back
// as a line. Cancel leaves the line as it was handed in.
//
// A dialog of a kind implements showLine and buildLine, puts buttonRow() at
// the foot of its form and, when its command has options, calls
// addOptionButton with its record's option field.
class TCommandDialog : public QDialog {
    Q_OBJECT

public:
    // The modal edit: true when the user confirmed; the result is line().
    bool Edit(const std::string& line);

    // The steps of the edit, for callers that drive the dialog themselves.
    void loadLine(const std::string& line);
    void btnOKClick();
    void btnHelpClick();
    // Lets the user change the command's conditions and time limit.
    void btnOptionClick();

    const std::string& line() const { return line_; }
    bool confirmed() const { return confirmed_; }

protected:
    TCommandDialog(EditorContext& context, int helpTopic, QWidget* parent);

    // Reads line into the dialog's record and shows it.
    virtual void showLine(const std::string& line) = 0;
    // The line of the record as the controls now fill it.
    virtual std::string buildLine() = 0;

    // OK, Cancel, Help and, once added, the option button, right-aligned.
    QHBoxLayout* buttonRow() const { return buttonRow_; }
    // Adds the "オプション" button editing option (a field of the dialog's
    // record) with the groups the command allows.
    void addOptionButton(TOptParam& option, OptionGroups allowed);

    // The folder that files chosen in the dialog are relative to. Empty, after
    // telling the user, while the comic has never been saved.
    std::optional<std::filesystem::path> dataFolderForFiles() const;

    EditorContext& context_;

private:
    int helpTopic_;
    std::string line_;
    bool confirmed_ = false;
    TOptParam* option_ = nullptr;
    OptionGroups optionGroups_;
    QHBoxLayout* buttonRow_ = nullptr;
};

} // namespace pagora
