#include "commands/graphic_dialog.h"

#include "commands/color_box.h"
#include "commands/layout_frame.h"
#include "commands/picture_choice.h"
#include "commands/picture_preview.h"
#include "commands/window_list.h"
#include "document/comic_file.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/layout_editor.h"
#include "gui/qt_text.h"
#include "platform/comic_file_lookup.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

const QStringList kEffects = {QStringLiteral("使用しない"),
                              QStringLiteral("フェードイン"),
                              QStringLiteral("幕を開く（左）"),
                              QStringLiteral("幕を開く（上）"),
                              QStringLiteral("ランダムパネル"),
                              QStringLiteral("モザイク"),
                              QStringLiteral("ウェーブ"),
                              QStringLiteral("ズームアップ"),
                              QStringLiteral("ズームダウン"),
                              QStringLiteral("ブラインド"),
                              QStringLiteral("ボックス"),
                              QStringLiteral("【部分】フェードイン"),
                              QStringLiteral("【部分】幕を開く（左）"),
                              QStringLiteral("【部分】幕を開く（上）"),
                              QStringLiteral("【部分】ランダムパネル"),
                              QStringLiteral("【部分】モザイク"),
                              QStringLiteral("【部分】ウェーブ"),
                              QStringLiteral("【部分】ズームアップ"),
                              QStringLiteral("【部分】ズームダウン")};

} // namespace

TfrmGraphic::TfrmGraphic(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context, {"TfrmGraphic", QStringLiteral("グラフィックの表示"), kGraphicHelpTopic}, parent)
    , edtFileName(makeLineEdit("edtFileName", this))
    , btnFileNameSet(makeButton(QStringLiteral("参照(&S)"), "btnFileNameSet", this))
    , cmbEffect(makeList("cmbEffect", kEffects, this))
    , cmbSelectWindow(makeList("cmbSelectWindow", {}, this))
    , chkSprite(makeCheckBox("chkSprite", QStringLiteral("透明色を使う"), this))
    , rbAutoColor(makeRadioButton("rbAutoColor",
                                  QStringLiteral("透明色を自動設定（左下のドットから取得）"), this))
    , rbManualColor(makeRadioButton("rbManualColor", QStringLiteral("透明色を指定"), this))
    , edtSpriteColor(makeReadOnlyEdit("edtSpriteColor", this))
    , btnColorSet(makeButton(QStringLiteral("色の選択"), "btnColorSet", this))
    , chkHalfColor(makeCheckBox("chkHalfColor", QStringLiteral("半透明に表示する"), this))
    , chkView(makeCheckBox("chkView", QStringLiteral("すぐに画面へ反映させる"), this))
    , btnPosition(makeButton(QStringLiteral("表示位置設定"), "btnPosition", this))
    , imgPreview(new PicturePreview(context.user, this)) {
    okButton().setObjectName(QStringLiteral("btnOk"));
    fillWindowList(*cmbSelectWindow);
    showBoxColor(*edtSpriteColor, kDefaultOptionColor);
    edtFileName->setMinimumWidth(220);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtFileName, 1);
    fileRow->addWidget(btnFileNameSet);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("ファイル名"), fileRow);
    fields->addRow(QStringLiteral("表示効果"), cmbEffect);
    fields->addRow(QStringLiteral("対象ウインドウ"), cmbSelectWindow);

    auto* colorRow = new QHBoxLayout;
    colorRow->addSpacing(20);
    colorRow->addWidget(rbManualColor);
    colorRow->addWidget(edtSpriteColor, 1);
    colorRow->addWidget(btnColorSet);
    auto* transparency = new QVBoxLayout;
    transparency->addWidget(chkSprite);
    auto* autoRow = new QHBoxLayout;
    autoRow->addSpacing(20);
    autoRow->addWidget(rbAutoColor);
    transparency->addLayout(autoRow);
    transparency->addLayout(colorRow);
    transparency->addWidget(chkHalfColor);
    transparency->addWidget(chkView);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(transparency);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("プレビュー"), this));
    right->addWidget(imgPreview);
    right->addStretch(1);
    right->addWidget(btnPosition, 0, Qt::AlignRight);

    auto* layout = new QHBoxLayout;
    layout->addLayout(left, 1);
    layout->addSpacing(8);
    layout->addLayout(right);
    setBody(layout);

    connect(btnFileNameSet, &QPushButton::clicked, this, &TfrmGraphic::btnFileNameSetClick);
    connect(btnColorSet, &QPushButton::clicked, this, &TfrmGraphic::btnColorSetClick);
    connect(btnPosition, &QPushButton::clicked, this, &TfrmGraphic::btnPositionClick);
    connect(chkSprite, &QCheckBox::toggled, this, &TfrmGraphic::chkSpriteChange);
    for (QRadioButton* radio : {rbAutoColor, rbManualColor})
        connect(radio, &QRadioButton::toggled, this, &TfrmGraphic::updateControls);
    connect(edtFileName, &QLineEdit::textChanged, this, &TfrmGraphic::updateControls);

    for (QLineEdit* edit : {edtFileName, edtSpriteColor})
        connect(edit, &QLineEdit::textChanged, this, &TfrmGraphic::refreshPreview);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             chkSprite, rbAutoColor, rbManualColor, chkHalfColor})
        connect(button, &QAbstractButton::toggled, this, &TfrmGraphic::refreshPreview);
}

void TfrmGraphic::showRecord(const TCmdGraphic& record) {
    edtFileName->setText(qtText(record.FileName));
    cmbEffect->setCurrentIndex(record.Effect >= 0 && record.Effect < kEffects.size() ? record.Effect
                                                                                     : -1);
    cmbSelectWindow->setCurrentIndex(record.Option.Win);
    chkView->setChecked(record.ShowAtOnce);
    showLook(record);
    refreshPreview();
}

// The transparency as the record holds it; the check box first, as switching
// it on chooses the automatic colour.
void TfrmGraphic::showLook(const TCmdGraphic& record) {
    chkSprite->setChecked(record.UseTransparent);
    (record.AutoTransparentColor ? rbAutoColor : rbManualColor)->setChecked(true);
    chkHalfColor->setChecked(record.HalfTransparent);
    showBoxColor(*edtSpriteColor, record.Option.Color);
    updateControls();
}

void TfrmGraphic::chkSpriteChange(bool on) {
    if (on)
        rbAutoColor->setChecked(true);
    updateControls();
}

void TfrmGraphic::updateControls() {
    const bool transparent = chkSprite->isChecked();
    rbAutoColor->setEnabled(transparent);
    rbManualColor->setEnabled(transparent);
    btnColorSet->setEnabled(transparent && rbManualColor->isChecked());
}

void TfrmGraphic::btnColorSetClick() {
    chooseBoxColor(*edtSpriteColor, context_.prompter());
}

void TfrmGraphic::btnFileNameSetClick() {
    const std::optional<ChosenPicture> chosen = choosePicture(context_);
    if (!chosen)
        return;
    edtFileName->setText(chosen->fileName);
    if (!chosen->size)
        return;
    fitAreaToPicture(record_.Option, *chosen->size, context_.comic, FarEdges::Inclusive);
    record_.ViewLeft = 0;
    record_.ViewTop = 0;
    refreshPreview();
}

void TfrmGraphic::btnPositionClick() {
    if (refuseUntitled(context_.file, context_.prompter()))
        return;
    TWindowLayoutEditor& editor = context_.layoutEditor;
    TOptParam& option = record_.Option;
    editor.Mode = TWindowLayoutEditor::kPictureMode;
    editor.AreaMode = false;
    editor.ImageDivision = 0;
    editor.WindowNo = std::max(cmbSelectWindow->currentIndex(), 0);
    // A name the comic cannot hold names no file; the editor says so.
    editor.FileName = toCp932Replacing(utf8Of(edtFileName->text()));
    editor.ViewLeft = record_.ViewLeft;
    editor.ViewTop = record_.ViewTop;
    giveFrame(editor, option);
    editor.UseTransparent = chkSprite->isChecked();
    editor.AutoTransparentColor = rbAutoColor->isChecked();
    editor.FitToPos = record_.FitToPos;
    editor.HalfTransparent = chkHalfColor->isChecked();
    editor.TransparentColor = boxColor(*edtSpriteColor);
    if (!editor.Execute())
        return;
    takeFrame(editor, option);
    option.Color = editor.TransparentColor;
    record_.ViewLeft = editor.ViewLeft;
    record_.ViewTop = editor.ViewTop;
    record_.FitToPos = editor.FitToPos;
    record_.UseTransparent = editor.UseTransparent;
    record_.AutoTransparentColor = editor.AutoTransparentColor;
    record_.HalfTransparent = editor.HalfTransparent;
    showLook(record_);
    refreshPreview();
}

std::filesystem::path TfrmGraphic::picturePath() const {
    if (context_.file.isUntitled())
        return {};
    try {
        ComicFileLookup lookup(comicFolder(context_.file.fileName),
                               context_.comic.ReadHeader("Comic", "DataDirectory", ""));
        return lookup.find(cp932Text(edtFileName->text()));
    } catch (const EncodingError&) {
        return {}; // a name the comic cannot hold names no file
    }
}

void TfrmGraphic::refreshPreview() {
    ThumbnailLook look;
    look.useTransparent = chkSprite->isChecked();
    look.autoTransparent = rbAutoColor->isChecked();
    look.halfTransparent = chkHalfColor->isChecked();
    look.transparentColor = boxColor(*edtSpriteColor);
    imgPreview->draw(picturePath(), look);
}

void TfrmGraphic::fillRecord(TCmdGraphic& record) {
    record.FileName = fieldText(*edtFileName);
    record.UseTransparent = chkSprite->isChecked();
    record.AutoTransparentColor = rbAutoColor->isChecked();
    record.ShowAtOnce = chkView->isChecked();
    record.HalfTransparent = chkHalfColor->isChecked();
    record.Effect = std::max(cmbEffect->currentIndex(), 0);
    record.Option.Color = boxColor(*edtSpriteColor);
    record.Option.Win = std::max(cmbSelectWindow->currentIndex(), 0);
    // Nothing refuses OK after this point: the picture shown last in the
    // layout editor stays as its background.
    context_.layoutEditor.ImageConfirmed();
}

} // namespace pagora
