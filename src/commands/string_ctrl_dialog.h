#pragma once

#include "commands/command_dialog.h"

class QComboBox;
class QPushButton;

namespace pagora {

class MessageMemo;

// "文字列変数の操作": a text assigned to a string variable. The text is
// edited as a message is, with the same tag buttons and pop-up.
//
// Controls: cmbStringFlag, memText (with the tag buttons of MessageMemo),
// btnFlagSet, btnOK, btnOption, btnCancel, btnHelp.
class TfrmStringCtrl : public TRecordDialog<TCmdStringCtrl> {
    Q_OBJECT

public:
    TfrmStringCtrl(DialogContext& context, QWidget* parent = nullptr);

    // Opens the variable table, then offers the variables as it left them.
    void btnFlagSetClick();

private:
    void showRecord(const TCmdStringCtrl& record) override;
    void fillRecord(TCmdStringCtrl& record) override;
    void fillTargetList();

    QComboBox* cmbStringFlag;
    MessageMemo* memText;
    QPushButton* btnFlagSet;
};

} // namespace pagora
