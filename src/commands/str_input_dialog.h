#pragma once

#include "commands/command_dialog.h"

class QComboBox;
class QLineEdit;

namespace pagora {

// "文字列の入力": the player asks the reader for a text, in a window of its
// own with a title and a prompt, and keeps it in a string variable. The
// line's options pass through: the dialog has no option button.
//
// Controls: edtCaption, edtMessages, cmbFlagName, btnOK, btnCancel, btnHelp.
class TfrmStrInput : public TRecordDialog<TCmdStrInput> {
    Q_OBJECT

public:
    TfrmStrInput(DialogContext& context, QWidget* parent = nullptr);

private:
    void showRecord(const TCmdStrInput& record) override;
    void fillRecord(TCmdStrInput& record) override;

    QLineEdit* edtCaption;
    QLineEdit* edtMessages;
    QComboBox* cmbFlagName;
};

} // namespace pagora
