#pragma once

#include "commands/command_dialog.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace pagora {

class NumberBox;

// One operand of a calculation: a number, or a variable (built-in ones too).
struct OperandControls {
    QRadioButton* byNumber = nullptr;
    QRadioButton* byVariable = nullptr;
    NumberBox* number = nullptr;
    QComboBox* variable = nullptr;
};

// "数値変数の操作": a numeric variable computed from two operands. The
// controls read as target "←" operand 1, operator, operand 2.
//
// Controls: cmbValueFlag, rbValue1, rbValueFlag1, cmbValue1, cmbValueFlag1,
// cmbValueCtrlType, rbValue2, rbValueFlag2, cmbValue2, cmbValueFlag2,
// btnFlagSet, btnOK, btnOption, btnCancel, btnHelp.
class TfrmValueCtrl : public TRecordDialog<TCmdValueCtrl> {
    Q_OBJECT

public:
    TfrmValueCtrl(DialogContext& context, QWidget* parent = nullptr);

    // Opens the variable table, then offers the variables as it left them.
    void btnFlagSetClick();
    // Each operand's radio buttons enable its number box or its variable list.
    void updateControls();

private:
    void showRecord(const TCmdValueCtrl& record) override;
    void fillRecord(TCmdValueCtrl& record) override;
    void fillVariableLists();
    OperandControls makeOperand(int number);

    QComboBox* cmbValueFlag;
    OperandControls operand1_;
    QComboBox* cmbValueCtrlType;
    OperandControls operand2_;
    QPushButton* btnFlagSet;
};

} // namespace pagora
