#pragma once

#include "commands/command_dialog.h"

#include <filesystem>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pagora {

class PicturePreview;

// "グラフィックの表示": a picture of the data folder shown in one of the
// comic's windows, with its display effect, transparent colour, half
// transparency and place, and a thumbnail of the picture as it will look.
//
// Controls: edtFileName, btnFileNameSet, cmbEffect, cmbSelectWindow,
// chkSprite, rbAutoColor, rbManualColor, edtSpriteColor, btnColorSet,
// chkHalfColor, chkView, btnPosition, imgPreview, btnOk, btnOption,
// btnCancel, btnHelp.
class TfrmGraphic : public TRecordDialog<TCmdGraphic> {
    Q_OBJECT

public:
    TfrmGraphic(DialogContext& context, QWidget* parent = nullptr);

    void btnFileNameSetClick();
    void btnColorSetClick();
    void btnPositionClick();
    // The enabling rules of the transparent colour's controls.
    void updateControls();
    // Draws the thumbnail again from the fields (it follows them as they change).
    void refreshPreview();
    // The picture file the thumbnail shows; empty when there is none.
    std::filesystem::path picturePath() const;

private:
    void showRecord(const TCmdGraphic& record) override;
    void fillRecord(TCmdGraphic& record) override;
    void chkSpriteChange(bool on);
    void showLook(const TCmdGraphic& record);

    QLineEdit* edtFileName;
    QPushButton* btnFileNameSet;
    QComboBox* cmbEffect;
    QComboBox* cmbSelectWindow;
    QCheckBox* chkSprite;
    QRadioButton* rbAutoColor;
    QRadioButton* rbManualColor;
    QLineEdit* edtSpriteColor;
    QPushButton* btnColorSet;
    QCheckBox* chkHalfColor;
    QCheckBox* chkView;
    QPushButton* btnPosition;
    PicturePreview* imgPreview;
};

} // namespace pagora
