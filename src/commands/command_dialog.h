#pragma once

#include "commands/option_dialog.h"
#include "document/cmd_ctrl.h"
#include "document/cmd_records.h"
#include "gui/dialog_context.h"
#include "gui/dialog_frame.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pagora {

// The option groups a kind's dialog lets the user change with its
// "オプション" button; nothing for the kinds whose dialog has no such button.
std::optional<OptionGroups> optionGroupsOf(CmdKind kind);

// A text the line writes between double quotes, read from control. One that
// holds a double quote is refused with the syntax's own message, rather than
// cut short when the line is written.
std::string unquotedText(TCmdCtrl& syntax, std::string text, QWidget& control);

// What every command kind's dialog shares: it edits one command line. The
// modal edit hands back the new line when the user confirmed, nothing when
// cancelled. Dialogs are written on TRecordDialog, which reads and writes
// the line through the kind's record.
class TCommandDialog : public DialogFrame {
    Q_OBJECT

public:
    // The modal edit of line.
    std::optional<std::string> run(const std::string& line);

    // The steps of the edit, for callers that drive the dialog themselves.
    void loadLine(const std::string& line);
    // The line as the controls filled it at the last OK.
    const std::string& line() const { return line_; }
    // Lets the user change the command's conditions and time limit.
    void btnOptionClick();

protected:
    TCommandDialog(DialogContext& context, const FrameSpec& spec, CmdKind kind, QWidget* parent);

    // Reads line into the dialog's record and shows it.
    virtual void showLine(std::string_view line) = 0;
    // The line of the record as the controls now fill it.
    virtual std::string buildLine() = 0;
    // The options of the dialog's record, which the option button edits.
    virtual TOptParam& options() = 0;

    DialogContext& context_;

private:
    void readControls() final;

    std::optional<OptionGroups> optionGroups_;
    std::string line_;
};

// The dialog of one command kind, over its record: the line is read into the
// record when the dialog opens and written from it on OK, so a dialog only
// shows the record's fields (showRecord) and takes them back (fillRecord).
// Fields a dialog has no control for pass through unchanged. A line of
// another kind opens with the record's defaults.
template <typename Record> class TRecordDialog : public TCommandDialog {
protected:
    TRecordDialog(DialogContext& context, const FrameSpec& spec, QWidget* parent)
        : TCommandDialog(context, spec, kKindOf<Record>, parent) {}

    virtual void showRecord(const Record& record) = 0;
    // Fills the record from the controls; a refusal throws (see readControls).
    virtual void fillRecord(Record& record) = 0;

    // The record as read, with the options as the option button left them.
    Record record_;

private:
    void showLine(std::string_view line) final {
        record_ = Record{};
        if (TCmdCtrl::GetCommandKind(line) == kKindOf<Record>)
            record_ = readRecord(line);
        showRecord(record_);
    }

    // A number field that holds no number is reported; the dialog then opens
    // with the fields read before it and the line's options, so that the
    // user can mend the line (Cancel leaves it as it was).
    Record readRecord(std::string_view line) {
        try {
            return parse(line, TCmdCtrl::ReadFailure::Throw);
        } catch (const ConversionError& error) {
            services_.showErrorBox(errorText(error));
        }
        Record record = parse(line, TCmdCtrl::ReadFailure::KeepWhatWasRead);
        if (record.Option == TOptParam{}) {
            try {
                record.Option = context_.syntax.ParseOptions(line);
            } catch (const ConversionError&) {
                // Told above; the options stay as far as they were read.
            }
        }
        return record;
    }

    Record parse(std::string_view line, TCmdCtrl::ReadFailure onFailure) {
        return std::get<Record>(context_.syntax.ParseCommand(kKindOf<Record>, line, onFailure));
    }

    std::string buildLine() final {
        Record record = record_;
        fillRecord(record);
        return context_.syntax.BuildCommand(record);
    }

    TOptParam& options() final { return record_.Option; }
};

} // namespace pagora
