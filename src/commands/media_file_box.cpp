#include "commands/media_file_box.h"

#include "gui/data_file_chooser.h"
#include "gui/dialog_frame.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace pagora {
namespace {

QToolButton* makeSpeedButton(const QString& caption, const char* name, QStyle::StandardPixmap icon,
                             QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

// Trials play only what a Windows comic could name as music or sound.
bool hasPlayableExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString extension = name.mid(dot);
    return extension.compare(QStringLiteral(".wav"), Qt::CaseInsensitive) == 0 ||
           extension.compare(QStringLiteral(".mid"), Qt::CaseInsensitive) == 0;
}

} // namespace

void useSpeedHelpButton(QDialog& dialog) {
    auto* help = dialog.findChild<QPushButton*>(QStringLiteral("btnHelp"));
    help->setObjectName(QStringLiteral("spdbtnHelp"));
    help->setText(QStringLiteral("ヘルプ"));
}

MediaFileBox::MediaFileBox(DialogContext& context, const Texts& texts, QDialog& dialog)
    : QGroupBox(texts.caption, &dialog)
    , context_(context)
    , filter_(texts.filter)
    , player_(context.makeMediaPlayer())
    , edtFileName_(new QLineEdit(this))
    , spdbtnFileNameSet_(makeSpeedButton(QStringLiteral("ファイルの参照"), "spdbtnFileNameSet",
                                         QStyle::SP_DirOpenIcon, this))
    , spdbtnPlay_(makeSpeedButton(texts.playCaption, "spdbtnPlay", QStyle::SP_MediaPlay, this))
    , rows_(new QVBoxLayout(this)) {
    edtFileName_->setObjectName(QStringLiteral("edtFileName"));
    edtFileName_->setMinimumWidth(edtFileName_->fontMetrics().averageCharWidth() * 32);
    spdbtnPlay_->setCheckable(true);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtFileName_, 1);
    fileRow->addWidget(spdbtnFileNameSet_);
    fileRow->addWidget(spdbtnPlay_);
    rows_->addLayout(fileRow);

    connect(spdbtnFileNameSet_, &QToolButton::clicked, this, &MediaFileBox::spdbtnFileNameSetClick);
    connect(spdbtnPlay_, &QToolButton::clicked, this, &MediaFileBox::spdbtnPlayClick);
    connect(&dialog, &QDialog::finished, this, &MediaFileBox::stopTrial);
    player_->setStoppedHandler([this] { trialEnded(); });
}

MediaFileBox::~MediaFileBox() {
    stopTrial();
}

void MediaFileBox::setFileName(const std::string& cp932Name) {
    edtFileName_->setText(qtText(cp932Name));
}

std::string MediaFileBox::fileName() {
    return fieldText(*edtFileName_);
}

void MediaFileBox::spdbtnFileNameSetClick() {
    FileChooser chooser;
    chooser.filter = filter_;
    if (const std::optional<QString> name = chooseDataFile(context_, chooser))
        edtFileName_->setText(*name);
}

void MediaFileBox::spdbtnPlayClick() {
    if (!spdbtnPlay_->isEnabled())
        return;
    if (playing_)
        stopTrial();
    else
        startTrial();
    showPlaying();
}

void MediaFileBox::startTrial() {
    const QString name = edtFileName_->text();
    if (!hasPlayableExtension(name)) {
        context_.prompter().warning(PAGORA_CP932("ファイル名が不正です"));
        return;
    }
    const std::optional<std::filesystem::path> folder = dataFolderForFiles(context_);
    if (!folder)
        return;
    std::filesystem::path file;
    try {
        file = resolveScriptPath(*folder, cp932Text(name));
    } catch (const EncodingError&) {
        // No file of the comic can have that name.
    }
    if (file.empty()) {
        context_.prompter().warning(PAGORA_CP932("ファイル名が不正です"));
        return;
    }
    std::optional<MediaError> error = player_->open(file);
    if (!error)
        error = player_->play();
    if (error)
        tellFailure(*error, name);
    else
        playing_ = true;
}

void MediaFileBox::stopTrial() {
    if (!playing_)
        return;
    player_->stop();
    playing_ = false;
    showPlaying();
}

void MediaFileBox::trialEnded() {
    playing_ = false;
    showPlaying();
}

void MediaFileBox::showPlaying() {
    spdbtnPlay_->setChecked(playing_);
    spdbtnPlay_->setIcon(
        style()->standardIcon(playing_ ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
}

// Without a sound device no trial can play: that is told once, and the
// button stays off for the rest of the dialog.
void MediaFileBox::tellFailure(const MediaError& error, const QString& name) {
    const std::string reason = mediaErrorText(error);
    if (error.failure == MediaFailure::NoDevice) {
        spdbtnPlay_->setEnabled(false);
        spdbtnPlay_->setToolTip(utf8Text(reason));
        context_.prompter().warning(toCp932(reason));
        return;
    }
    context_.prompter().warning(
        toCp932Replacing("「" + utf8Of(name) + "」を再生できません。\n" + reason));
}

} // namespace pagora
