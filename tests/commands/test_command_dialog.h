#pragma once

#include "commands/command_dialog.h"
#include "gui/number_pad.h"

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

} // namespace pagora::test
