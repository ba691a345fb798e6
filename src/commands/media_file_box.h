#pragma once

#include "gui/dialog_context.h"
#include "platform/media_player.h"

#include <QGroupBox>
#include <memory>
#include <string>

class QDialog;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace pagora {

// The help button of the dialogs that play files is a speed button,
// "spdbtnHelp" "ヘルプ"; the frame's own help button becomes it.
void useSpeedHelpButton(QDialog& dialog);

// The file part of the music and sound dialogs, in their group box: the
// file's name (without folder, in the comic's data folder), the button that
// chooses a file and copies it into the data folder, and the button that
// plays it for a trial or stops the trial. The dialog adds its own controls
// below them. Closing the dialog, however it closes, stops the trial.
class MediaFileBox : public QGroupBox {
    Q_OBJECT

public:
    struct Texts {
        QString caption;     // the group box's
        QString playCaption; // the trial button's
        const char* filter;  // the file chooser's (UTF-8)
    };

    MediaFileBox(DialogContext& context, const Texts& texts, QDialog& dialog);
    ~MediaFileBox() override;

    void setFileName(const std::string& cp932Name);
    // The name as the record keeps it; a FieldError when CP932 cannot hold it.
    std::string fileName();
    // Where the dialog puts its own controls.
    QVBoxLayout& rows() const { return *rows_; }

    // Chooses a file of the data folder (copying one from elsewhere into it).
    void spdbtnFileNameSetClick();
    // Plays the named file, or stops it while it plays. Nothing while the
    // button is disabled (after the machine turned out to have no sound
    // device).
    void spdbtnPlayClick();
    bool playing() const { return playing_; }
    void stopTrial();

private:
    void startTrial();
    void trialEnded();
    void showPlaying();
    void tellFailure(const MediaError& error, const QString& name);

    DialogContext& context_;
    const char* filter_;
    std::unique_ptr<MediaPlayer> player_;
    bool playing_ = false;
    QLineEdit* edtFileName_;
    QToolButton* spdbtnFileNameSet_;
    QToolButton* spdbtnPlay_;
    QVBoxLayout* rows_;
};

} // namespace pagora
