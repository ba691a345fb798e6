#include "commands/clickable_dialog.h"

#include "commands/command_controls.h"
#include "commands/layout_frame.h"
#include "commands/page_chooser.h"
#include "commands/picture_choice.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/layout_editor.h"

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

namespace pagora {
namespace {

constexpr int kNormalOnly = 1;
constexpr int kNormalAndOver = 2;
constexpr int kNormalOverAndChosen = 3;

} // namespace

TfrmClickAble::TfrmClickAble(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context,
          {"TfrmClickAble", QStringLiteral("クリッカブルマップ領域定義"), kClickAbleHelpTopic},
          parent)
    , pages_(new PageChooser(context.comic, this))
    , chkCall_(makeCheckBox("chkCall", QStringLiteral("サブルーチンコール"), this))
    , cmbSelectWindow_(makeWindowList("cmbSelectWindow", this))
    , chkGraphicUse_(makeCheckBox("chkGraphicUse", QStringLiteral("画像を表示する"), this))
    , edtFileName_(makeLineEdit("edtFileName", this))
    , btnFileNameSet_(makeButton(QStringLiteral("参照(&S)"), "btnFileNameSet", this))
    , rbGraphicNormal_(makeRadioButton("rbGraphicNormal", QStringLiteral("通常表示のみ"), this))
    , rbGraphicOver_(makeRadioButton("rbGraphicOver",
                                     QStringLiteral("２分割して通常表示とマウス通過表示"), this))
    , rbGraphicClick_(makeRadioButton("rbGraphicClick",
                                      QStringLiteral("３分割して、通常、通過と選択時表示"), this))
    , chkClickAbleClear_(
          makeCheckBox("chkClickAbleClear",
                       QStringLiteral("選択時に対象ウィンドウのクリッカブル領域を全て消去"), this))
    , chkCursorChange_(
          makeCheckBox("chkCursorChange", QStringLiteral("マウスカーソルを変化させる"), this)) {
    auto* target = new QGroupBox(QStringLiteral("移動先のページ"), this);
    auto* targetLayout = new QVBoxLayout(target);
    targetLayout->addWidget(pages_);
    targetLayout->addWidget(chkCall_);

    auto* positionButton = makeButton(QStringLiteral("範囲設定"), "btnPosition", this);
    auto* area = new QHBoxLayout;
    area->addWidget(new QLabel(QStringLiteral("対象ウィンドウ"), this));
    area->addWidget(cmbSelectWindow_, 1);
    area->addWidget(positionButton);

    auto* picture = new QGroupBox(this);
    auto* file = new QHBoxLayout;
    file->addWidget(edtFileName_, 1);
    file->addWidget(btnFileNameSet_);
    auto* pictureLayout = new QVBoxLayout(picture);
    pictureLayout->addWidget(chkGraphicUse_);
    pictureLayout->addLayout(file);
    pictureLayout->addWidget(rbGraphicNormal_);
    pictureLayout->addWidget(rbGraphicOver_);
    pictureLayout->addWidget(rbGraphicClick_);

    auto* body = new QVBoxLayout;
    body->addWidget(target);
    body->addLayout(area);
    body->addWidget(picture);
    body->addWidget(chkClickAbleClear_);
    body->addWidget(chkCursorChange_);
    setBody(body);

    connect(pages_, &PageChooser::changed, this, &TfrmClickAble::updateControls);
    connect(chkGraphicUse_, &QCheckBox::toggled, this, &TfrmClickAble::updateControls);
    connect(btnFileNameSet_, &QPushButton::clicked, this, &TfrmClickAble::btnFileNameSetClick);
    connect(positionButton, &QPushButton::clicked, this, &TfrmClickAble::btnPositionClick);
    updateControls();
}

void TfrmClickAble::showRecord(const TCmdClickAble& record) {
    pages_->showPage(record.BookName, record.PageName);
    chkCall_->setChecked(record.CallSubroutine);
    showWindow(*cmbSelectWindow_, record.Option.Win);
    chkGraphicUse_->setChecked(!record.ImageFile.empty());
    edtFileName_->setText(qtText(record.ImageFile));
    showDivision(record.ImageDivision);
    chkClickAbleClear_->setChecked(record.ClearOnSelect);
    chkCursorChange_->setChecked(record.CursorChange);
    updateControls();
}

// OK is enabled only while a book and a page are chosen.
void TfrmClickAble::fillRecord(TCmdClickAble& record) {
    record.BookName = pages_->book();
    record.PageName = pages_->page();
    record.CallSubroutine = chkCall_->isChecked();
    record.Option.Win = chosenWindow(*cmbSelectWindow_, record.Option.Win);
    record.ClearOnSelect = chkClickAbleClear_->isChecked();
    record.CursorChange = chkCursorChange_->isChecked();
    const bool picture = chkGraphicUse_->isChecked();
    record.ImageFile = picture ? keptText(*edtFileName_, record_.ImageFile) : std::string();
    record.ImageDivision = picture ? division() : TCmdClickAble{}.ImageDivision;
    if (picture)
        context_.layoutEditor.ImageConfirmed();
}

void TfrmClickAble::updateControls() {
    const bool picture = chkGraphicUse_->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             edtFileName_, btnFileNameSet_, rbGraphicNormal_, rbGraphicOver_, rbGraphicClick_})
        control->setEnabled(picture);
    okButton().setEnabled(pages_->chosen());
}

int TfrmClickAble::division() const {
    if (rbGraphicClick_->isChecked())
        return kNormalOverAndChosen;
    if (rbGraphicOver_->isChecked())
        return kNormalAndOver;
    return kNormalOnly;
}

void TfrmClickAble::showDivision(int division) {
    if (division == kNormalOverAndChosen)
        rbGraphicClick_->setChecked(true);
    else if (division == kNormalAndOver)
        rbGraphicOver_->setChecked(true);
    else
        rbGraphicNormal_->setChecked(true);
}

// The area takes the picture's size (its right and bottom edges one past
// the picture), within the comic's screen.
void TfrmClickAble::btnFileNameSetClick() {
    const std::optional<ChosenPicture> choice = choosePicture(context_);
    if (!choice)
        return;
    edtFileName_->setText(choice->fileName);
    if (!choice->size)
        return;
    fitAreaToPicture(record_.Option, *choice->size, context_.comic, FarEdges::OnePast);
}

void TfrmClickAble::btnPositionClick() {
    TWindowLayoutEditor& editor = context_.layoutEditor;
    const bool picture = chkGraphicUse_->isChecked();
    if (picture) {
        if (refuseUntitled(context_.file, context_.prompter()))
            return;
        try {
            editor.FileName = keptText(*edtFileName_, record_.ImageFile);
        } catch (const FieldError& error) {
            services_.showErrorBox(error.message());
            return;
        }
        editor.Mode = TWindowLayoutEditor::kPictureMode;
        editor.ImageDivision = division();
        editor.ViewLeft = 0;
        editor.ViewTop = 0;
        editor.UseTransparent = false;
        editor.AutoTransparentColor = false;
        editor.FitToPos = false;
        editor.HalfTransparent = false;
    } else {
        editor.Mode = TWindowLayoutEditor::kTextMode;
        editor.SampleText.clear();
    }
    editor.AreaMode = true;
    editor.WindowNo = chosenWindow(*cmbSelectWindow_, record_.Option.Win);
    giveFrame(editor, record_.Option);
    if (editor.Execute())
        takeFrame(editor, record_.Option);
}

} // namespace pagora
