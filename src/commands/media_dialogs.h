#pragma once

#include "commands/command_dialog.h"

class QCheckBox;
class QSpinBox;

namespace pagora {

class MediaFileBox;

// "音楽ファイルの指定": the music file of a Music command and how often it
// repeats, with a trial of the file.
class TfrmMusic : public TRecordDialog<TCmdMusic> {
public:
    explicit TfrmMusic(DialogContext& context, QWidget* parent = nullptr);

    MediaFileBox& fileBox() const { return *fileBox_; }
    // The loop count can be changed only while it is given.
    void chkLoopClick();

private:
    void showRecord(const TCmdMusic& record) override;
    void fillRecord(TCmdMusic& record) override;

    MediaFileBox* fileBox_;
    QCheckBox* chkLoop_;
    QSpinBox* spnLoop_;
};

// "サウンドファイルの指定": the sound file of a Sound command and whether the
// player waits for its end, with a trial of the file.
class TfrmSound : public TRecordDialog<TCmdSound> {
public:
    explicit TfrmSound(DialogContext& context, QWidget* parent = nullptr);

    MediaFileBox& fileBox() const { return *fileBox_; }

private:
    void showRecord(const TCmdSound& record) override;
    void fillRecord(TCmdSound& record) override;

    MediaFileBox* fileBox_;
    QCheckBox* chkWait_;
};

} // namespace pagora
