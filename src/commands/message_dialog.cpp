#include "commands/message_dialog.h"

#include "commands/color_box.h"
#include "commands/command_controls.h"
#include "commands/layout_frame.h"
#include "commands/message_memo.h"
#include "commands/message_preview.h"
#include "commands/window_list.h"
#include "document/flag_ctrl.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/layout_editor.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

constexpr int kSmallestFontSize = 10;
constexpr qsizetype kPreviewCharacters = 16 * 1024;

const QStringList kEffects = {
    QStringLiteral("一括表示－範囲を超えた場合、続きのテキストを無視"),
    QStringLiteral("一括表示－範囲を超えた場合、キー入力を待って続きを表示"),
    QStringLiteral("１行ずつ表示－範囲を超えた場合、キー入力を待って続きを表示"),
    QStringLiteral("１行ずつ表示－範囲を超えた場合、スクロールさせて表示"),
    QStringLiteral("１文字ずつ表示－範囲を超えた場合、キー入力を待って続きを表示"),
    QStringLiteral("１文字ずつ表示－範囲を超えた場合、スクロールさせて表示")};

bool drawsCharByChar(int mode) {
    return mode == 4 || mode == 5;
}

bool drawsStepByStep(int mode) {
    return mode >= 2 && mode <= 5;
}

// Switches a check box off when it may not be used, and enables it as allowed.
void allow(QCheckBox& check, bool allowed) {
    if (!allowed)
        check.setChecked(false);
    check.setEnabled(allowed);
}

} // namespace

TfrmMessage::TfrmMessage(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmMessage", QStringLiteral("メッセージの表示"), kMessageHelpTopic},
                    parent)
    , memMessage(new MessageMemo(context, "memMessage", this))
    , cmbEffect(makeList("cmbEffect", kEffects, this))
    , cmbDrawSpeed(
          makeList("cmbDrawSpeed",
                   {QStringLiteral("標準"), QStringLiteral("高速"), QStringLiteral("低速")}, this))
    , cmbDrawMode(makeList("cmbDrawMode",
                           {QStringLiteral("一時的に表示"), QStringLiteral("通常描画")}, this))
    , chkEnterKeyWait(
          makeCheckBox("chkEnterKeyWait", QStringLiteral("改行毎にキー入力を待つ"), this))
    , chkLastEnterKeyWait(makeCheckBox("chkLastEnterKeyWait",
                                       QStringLiteral("コマンド実行後にキー入力を待つ"), this))
    , chkClickAbleEnabled(
          makeCheckBox("chkClickAbleEnabled", QStringLiteral("クリッカブル領域を有効にする"), this))
    , cmbSelectWindow(makeList("cmbSelectWindow", {}, this))
    , cmbFontSize(makeFontSizeList("cmbFontSize", this))
    , edtFontColor(makeReadOnlyEdit("edtFontColor", this))
    , btnColorSet(makeButton(QStringLiteral("色の選択"), "btnColorSet", this))
    , btnPosition(makeButton(QStringLiteral("表示位置設定"), "btnPosition", this))
    , imgPreview(new MessagePreview(context.comic, this)) {
    fillWindowList(*cmbSelectWindow);
    showBoxColor(*edtFontColor, kDefaultOptionColor);
    memMessage->memo().setAttribute(Qt::WA_InputMethodEnabled);
    memMessage->memo().setMinimumHeight(120);
    cmbFontSize->setMinimumContentsLength(3);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("表示効果"), cmbEffect);
    fields->addRow(QStringLiteral("表示速度"), cmbDrawSpeed);
    fields->addRow(QStringLiteral("表示モード"), cmbDrawMode);
    fields->addRow(QStringLiteral("対象ウインドウ"), cmbSelectWindow);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(cmbFontSize);
    fontRow->addSpacing(12);
    fontRow->addWidget(new QLabel(QStringLiteral("色"), this));
    fontRow->addWidget(edtFontColor, 1);
    fontRow->addWidget(btnColorSet);
    fields->addRow(QStringLiteral("表示開始時の　フォントサイズ"), fontRow);
    for (QCheckBox* check : {chkEnterKeyWait, chkLastEnterKeyWait, chkClickAbleEnabled})
        fields->addRow(check);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new QLabel(QStringLiteral("プレビュー"), this));
    previewColumn->addWidget(imgPreview, 1);
    previewColumn->addWidget(btnPosition, 0, Qt::AlignRight);

    auto* lower = new QHBoxLayout;
    lower->addLayout(fields, 1);
    lower->addSpacing(8);
    lower->addLayout(previewColumn);

    auto* layout = new QVBoxLayout;
    layout->addWidget(memMessage, 1);
    layout->addLayout(lower);
    setBody(layout);
    resize(860, 560);

    connect(cmbEffect, &QComboBox::currentIndexChanged, this, &TfrmMessage::updateControls);
    for (QCheckBox* check : {chkEnterKeyWait, chkLastEnterKeyWait})
        connect(check, &QCheckBox::toggled, this, &TfrmMessage::updateControls);
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, &TfrmMessage::cmbFontSizeChange);
    connect(cmbFontSize->lineEdit(), &QLineEdit::editingFinished, this,
            &TfrmMessage::cmbFontSizeChange);
    connect(btnColorSet, &QPushButton::clicked, this, &TfrmMessage::btnColorSetClick);
    connect(btnPosition, &QPushButton::clicked, this, &TfrmMessage::btnPositionClick);

    connect(memMessage, &MessageMemo::textChanged, this, &TfrmMessage::refreshPreview);
    connect(cmbSelectWindow, &QComboBox::currentIndexChanged, this, &TfrmMessage::refreshPreview);
    connect(cmbFontSize, &QComboBox::currentTextChanged, this, &TfrmMessage::refreshPreview);
    connect(edtFontColor, &QLineEdit::textChanged, this, &TfrmMessage::refreshPreview);
}

void TfrmMessage::showRecord(const TCmdMsgDlg& record) {
    memMessage->setMessageText(record.Text);
    cmbDrawMode->setCurrentIndex(record.DrawNormal ? 1 : 0);
    cmbEffect->setCurrentIndex(record.Mode);
    cmbDrawSpeed->setCurrentIndex(record.Speed);
    chkEnterKeyWait->setChecked(record.KeyWaitEachLine);
    chkLastEnterKeyWait->setChecked(record.KeyWaitAfter);
    chkClickAbleEnabled->setChecked(record.ClickAbleEnabled);
    showBoxColor(*edtFontColor, record.Option.Color);
    showFontSize(record.Option.Size);
    cmbSelectWindow->setCurrentIndex(record.Option.Win);
    updateControls();
    refreshPreview();
}

void TfrmMessage::updateControls() {
    const int mode = cmbEffect->currentIndex();
    allow(*chkEnterKeyWait, drawsCharByChar(mode));
    allow(*chkClickAbleEnabled, chkLastEnterKeyWait->isChecked());
    cmbDrawSpeed->setEnabled(drawsStepByStep(mode));
}

// Applied when the user has finished typing, not at every key: a size of
// two digits passes through one digit on the way.
void TfrmMessage::cmbFontSizeChange() {
    if (cmbFontSize->currentText().toInt() < kSmallestFontSize)
        cmbFontSize->setEditText(QString::number(kSmallestFontSize));
}

int TfrmMessage::fontSize() const {
    return std::max(cmbFontSize->currentText().toInt(), kSmallestFontSize);
}

void TfrmMessage::showFontSize(int size) {
    pagora::showFontSize(*cmbFontSize, size);
    cmbFontSizeChange();
}

void TfrmMessage::btnColorSetClick() {
    chooseBoxColor(*edtFontColor, context_.prompter());
}

void TfrmMessage::btnPositionClick() {
    TWindowLayoutEditor& editor = context_.layoutEditor;
    const MessageSample sample = previewSample();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.AreaMode = false;
    editor.WindowNo = sample.windowNo;
    editor.SampleText = sample.text;
    editor.FontSize = sample.fontSize;
    editor.FontColor = sample.color;
    giveFrame(editor, record_.Option);
    if (!editor.Execute())
        return;
    takeFrame(editor, record_.Option);
    showBoxColor(*edtFontColor, editor.FontColor);
    showFontSize(editor.FontSize);
    refreshPreview();
}

MessageSample TfrmMessage::previewSample() const {
    const TOptParam& option = record_.Option;
    MessageSample sample;
    // A character the comic cannot hold is refused on OK; the preview shows
    // "?". No window shows more than the first characters of a long text.
    sample.text = toCp932Replacing(utf8Of(memMessage->previewText().left(kPreviewCharacters)));
    sample.windowNo = std::max(cmbSelectWindow->currentIndex(), 0);
    sample.left = option.PosLeft;
    sample.top = option.PosTop;
    sample.right = option.PosRight;
    sample.bottom = option.PosBottom;
    sample.fontSize = fontSize();
    sample.color = boxColor(*edtFontColor);
    return sample;
}

void TfrmMessage::refreshPreview() {
    imgPreview->draw(previewSample());
}

void TfrmMessage::fillRecord(TCmdMsgDlg& record) {
    const std::string text = memMessage->messageText();
    if (!context_.flags.CheckText(text) || !context_.syntax.CheckName(text))
        throw FieldError(&memMessage->memo());
    record.DrawNormal = cmbDrawMode->currentIndex() != 0;
    record.Mode = std::max(cmbEffect->currentIndex(), 0);
    record.Speed = std::max(cmbDrawSpeed->currentIndex(), 0);
    record.KeyWaitEachLine = chkEnterKeyWait->isChecked();
    record.KeyWaitAfter = chkLastEnterKeyWait->isChecked();
    record.ClickAbleEnabled = chkClickAbleEnabled->isChecked();
    record.Option.Color = boxColor(*edtFontColor);
    // A line without a size, left at the size shown for it, stays without.
    const bool windowSize =
        record_.Option.Size == 0 && chosenFontSize(*cmbFontSize, record_.Option.Size) == 0;
    record.Option.Size = windowSize ? 0 : fontSize();
    record.Option.Win = std::max(cmbSelectWindow->currentIndex(), 0);
    record.Text = text;
}

} // namespace pagora
