#pragma once

#include "commands/command_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace pagora {

class MessageMemo;
class MessagePreview;
struct MessageSample;

// "メッセージの表示": a message text shown in one of the comic's windows,
// with its display effect, speed, drawing mode, key waits, font size,
// colour, window and place, and a preview of the message in its window.
//
// Controls: memMessage (with the tag buttons of MessageMemo), cmbEffect,
// cmbDrawSpeed, cmbDrawMode, chkEnterKeyWait, chkLastEnterKeyWait,
// chkClickAbleEnabled, cmbSelectWindow, cmbFontSize, edtFontColor,
// btnColorSet, btnPosition, imgPreview, btnOK, btnOption, btnCancel, btnHelp.
class TfrmMessage : public TRecordDialog<TCmdMsgDlg> {
    Q_OBJECT

public:
    TfrmMessage(DialogContext& context, QWidget* parent = nullptr);

    void btnColorSetClick();
    void btnPositionClick();
    // The enabling rules of the key waits and the speed list.
    void updateControls();
    // A size below 10 (or not a number) becomes 10.
    void cmbFontSizeChange();
    // Draws the preview again from the fields (it follows them as they change).
    void refreshPreview();
    // What the preview draws from the fields as they stand.
    MessageSample previewSample() const;

private:
    void showRecord(const TCmdMsgDlg& record) override;
    void fillRecord(TCmdMsgDlg& record) override;
    int fontSize() const;
    void showFontSize(int size);

    MessageMemo* memMessage;
    QComboBox* cmbEffect;
    QComboBox* cmbDrawSpeed;
    QComboBox* cmbDrawMode;
    QCheckBox* chkEnterKeyWait;
    QCheckBox* chkLastEnterKeyWait;
    QCheckBox* chkClickAbleEnabled;
    QComboBox* cmbSelectWindow;
    QComboBox* cmbFontSize;
    QLineEdit* edtFontColor;
    QPushButton* btnColorSet;
    QPushButton* btnPosition;
    MessagePreview* imgPreview;
};

} // namespace pagora
