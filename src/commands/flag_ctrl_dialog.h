#pragma once

#include "commands/command_dialog.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace pagora {

// "フラグの操作": switches a numeric variable used as a flag on, off or
// over. The controls read as a sentence: flag "を" operation "にする".
//
// Controls: cmbFlagName, cmbFlagCtrl, Label2, btnFlagSet, btnOK, btnOption,
// btnCancel, btnHelp.
class TfrmFlagCtrl : public TRecordDialog<TCmdFlagCtrl> {
    Q_OBJECT

public:
    TfrmFlagCtrl(DialogContext& context, QWidget* parent = nullptr);

    // Opens the variable table, then offers the flags as it left them.
    void btnFlagSetClick();
    // The end of the sentence follows the operation: "する" for 反転.
    void cmbFlagCtrlChange();

private:
    void showRecord(const TCmdFlagCtrl& record) override;
    void fillRecord(TCmdFlagCtrl& record) override;
    void fillFlagList();

    QComboBox* cmbFlagName;
    QComboBox* cmbFlagCtrl;
    QLabel* Label2;
    QPushButton* btnFlagSet;
};

} // namespace pagora
