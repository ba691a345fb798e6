#pragma once

#include "commands/command_dialog.h"

class QComboBox;

namespace pagora {

class NumberBox;

// "待ち時間の設定": the duration of a WaitTime command, in seconds or in
// milliseconds. The line keeps milliseconds; a whole number of seconds is
// shown as seconds.
class TfrmWaitTime : public TRecordDialog<TCmdWaitTime> {
public:
    explicit TfrmWaitTime(DialogContext& context, QWidget* parent = nullptr);

    // The units of cmbUnit, in their order.
    enum Unit { Seconds = 0, Milliseconds = 1 };

private:
    void showRecord(const TCmdWaitTime& record) override;
    void fillRecord(TCmdWaitTime& record) override;

    NumberBox* cmbWaitTime_;
    QComboBox* cmbUnit_;
};

} // namespace pagora
