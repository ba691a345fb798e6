#pragma once

#include "document/cmd_records.h"
#include "gui/dialog_context.h"
#include "gui/window_place.h"

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QListWidget;

namespace pagora {

class TCommandDialog;

// One entry of the command chooser: its caption and the kind it creates.
struct ChooserEntry {
    const char* caption; // UTF-8
    CmdKind kind;
};

// The chooser's entries in the order it shows them.
extern const std::array<ChooserEntry, 18> kChooserEntries;

// Makes the dialog that edits one kind of command.
using CommandDialogFactory =
    std::function<std::unique_ptr<TCommandDialog>(DialogContext& context, QWidget* parent)>;

// Inserts a command into the open page through the command's own dialog,
// starting from line (empty for a new command). The main window answers it.
using InsertCommand = std::function<void(const std::string& line, CmdKind kind)>;

// The command chooser, "コマンドの選択": a small tool window above the main
// window (not above the other programs, nor above the boxes and dialogs the
// editor opens) that lists the kinds of command; a click on one asks for a new command of
// that kind. It is also the one place where a command line is edited: it
// hands the line to the dialog of its kind, or edits a comment and a
// "MusicStop" itself. It keeps its place in the settings.
class TfrmCommand : public QWidget {
    Q_OBJECT

public:
    explicit TfrmCommand(DialogContext& context, QWidget* parent = nullptr);
    ~TfrmCommand() override;

    // The dialog of a kind. A kind without one cannot be chosen, and editing
    // a line of that kind is cancelled.
    void setDialog(CmdKind kind, CommandDialogFactory factory);
    bool hasDialog(CmdKind kind) const;
    // What a click on an entry calls: a new command of that kind.
    void setInsertCommand(InsertCommand insert) { insert_ = std::move(insert); }

    // Edits line as a command of kind (a line of another kind starts from
    // the dialog's defaults) and returns the new line; it counts only when
    // confirmed() is true afterwards.
    std::string EditCommand(const std::string& line, CmdKind kind);
    // Whether the last edit was confirmed.
    bool confirmed() const { return confirmed_; }

    // A click on the entry at row.
    void lstCmdListClick(int row);
    QListWidget* list() const { return lstCmdList_; }

private:
    std::string editComment(const std::string& line);
    std::string editInDialog(const std::string& line, CmdKind kind);
    void updateEntries();

    DialogContext& context_;
    std::map<CmdKind, CommandDialogFactory> dialogs_;
    InsertCommand insert_;
    bool confirmed_ = false;
    QListWidget* lstCmdList_;
    WindowPlaceSettings place_{};
};

} // namespace pagora
