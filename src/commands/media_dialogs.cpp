#include "commands/media_dialogs.h"

#include "commands/media_file_box.h"
#include "gui/controls.h"
#include "gui/help_topics.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

constexpr int kMostLoops = 127;

} // namespace

TfrmMusic::TfrmMusic(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmMusic", QStringLiteral("音楽ファイルの指定"), kMusicHelpTopic},
                    parent)
    , fileBox_(new MediaFileBox(context,
                                {QStringLiteral("音楽ファイルの指定"), QStringLiteral("音楽の演奏"),
                                 "ＭＩＤＩファイル(*.mid);;すべてのファイル(*.*)"},
                                *this))
    , chkLoop_(makeCheckBox("chkLoop", QStringLiteral("ループ回数を指定する"), fileBox_))
    , spnLoop_(new QSpinBox(fileBox_)) {
    spnLoop_->setObjectName(QStringLiteral("spnLoop"));
    spnLoop_->setRange(0, kMostLoops);
    auto* loopRow = new QHBoxLayout;
    loopRow->addWidget(chkLoop_);
    loopRow->addWidget(spnLoop_);
    loopRow->addStretch(1);
    fileBox_->rows().addLayout(loopRow);
    setBody(fileBox_);
    useSpeedHelpButton(*this);
    connect(chkLoop_, &QCheckBox::toggled, this, &TfrmMusic::chkLoopClick);
}

void TfrmMusic::chkLoopClick() {
    spnLoop_->setEnabled(chkLoop_->isChecked());
}

// A count outside what the spinner offers shows as its nearest end.
void TfrmMusic::showRecord(const TCmdMusic& record) {
    fileBox_->setFileName(record.FileName);
    chkLoop_->setChecked(record.LoopCount != 0);
    spnLoop_->setValue(std::clamp(record.LoopCount, 0, kMostLoops));
    chkLoopClick();
}

void TfrmMusic::fillRecord(TCmdMusic& record) {
    record.FileName = fileBox_->fileName();
    record.LoopCount = chkLoop_->isChecked() ? spnLoop_->value() : 0;
}

TfrmSound::TfrmSound(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context, {"TfrmSound", QStringLiteral("サウンドファイルの指定"), kSoundHelpTopic}, parent)
    , fileBox_(new MediaFileBox(context,
                                {QStringLiteral("サウンドファイルの指定"),
                                 QStringLiteral("サウンドの再生"),
                                 "サウンドファイル(*.wav);;すべてのファイル(*.*)"},
                                *this))
    , chkWait_(
          makeCheckBox("chkWait", QStringLiteral("サウンドの再生が終わるまで待つ"), fileBox_)) {
    fileBox_->rows().addWidget(chkWait_);
    setBody(fileBox_);
    useSpeedHelpButton(*this);
}

void TfrmSound::showRecord(const TCmdSound& record) {
    fileBox_->setFileName(record.FileName);
    chkWait_->setChecked(record.WaitEnd);
}

void TfrmSound::fillRecord(TCmdSound& record) {
    record.FileName = fileBox_->fileName();
    record.WaitEnd = chkWait_->isChecked();
}

} // namespace pagora
