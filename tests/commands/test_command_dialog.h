#pragma once

#include "commands/command_dialog.h"
#include "gui/number_pad.h"

#include <QStringList>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;

namespace pagora::test {

// A command dialog for tests: it edits a music command's file name in a text
// box and its loop count in a number box, and has the option button of its kind.
class TestMusicDialog : public TRecordDialog<TCmdMusic> {
public:
    TestMusicDialog(DialogContext& context, QWidget* parent);

    QLineEdit* edtFileName;
    NumberBox* cmbLoop;
    const TCmdMusic& record() const { return record_; }
    TCmdMusic& record() { return record_; }

private:
    void showRecord(const TCmdMusic& record) override;
    void fillRecord(TCmdMusic& record) override;
};

// OK as the user presses it in a dialog opened anew: the line written, or
// nothing when OK was refused.
std::optional<std::string> pressOK(TCommandDialog& dialog);

} // namespace pagora::test
