#pragma once

#include "commands/command_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pagora {

class PageChooser;

// "クリッカブルマップ領域定義": an area of a window that leads to a page when
// clicked, optionally drawn as a picture of one, two or three stacked
// states (normal, pointed at, chosen). Choosing the picture sizes the area
// to it; the layout editor places the area. OK stays disabled until a book
// and a page are chosen.
//
// Controls: cmbBook, cmbPage, chkCall, cmbSelectWindow, btnPosition,
// chkGraphicUse, edtFileName, btnFileNameSet, rbGraphicNormal, rbGraphicOver,
// rbGraphicClick, chkClickAbleClear, chkCursorChange, btnOption.
class TfrmClickAble : public TRecordDialog<TCmdClickAble> {
    Q_OBJECT

public:
    explicit TfrmClickAble(DialogContext& context, QWidget* parent = nullptr);

    void btnFileNameSetClick();
    void btnPositionClick();
    // The area as the record holds it: left, top, right, bottom.
    const TOptParam& area() const { return record_.Option; }

private:
    void showRecord(const TCmdClickAble& record) override;
    void fillRecord(TCmdClickAble& record) override;

    void updateControls();
    int division() const;
    void showDivision(int division);

    PageChooser* pages_;
    QCheckBox* chkCall_;
    QComboBox* cmbSelectWindow_;
    QCheckBox* chkGraphicUse_;
    QLineEdit* edtFileName_;
    QPushButton* btnFileNameSet_;
    QRadioButton* rbGraphicNormal_;
    QRadioButton* rbGraphicOver_;
    QRadioButton* rbGraphicClick_;
    QCheckBox* chkClickAbleClear_;
    QCheckBox* chkCursorChange_;
};

} // namespace pagora
