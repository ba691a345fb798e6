#pragma once

#include "document/comic_file.h"
#include "platform/clock.h"
#include "platform/comic_file_lookup.h"
#include "platform/media_player.h"
#include "platform/scripted_prompter.h"
#include "player/play_event.h"
#include "preview/message_reveal.h"
#include "preview/preview_stage.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace pagora {

class PlaySession;

// What a preview plays: the comic (copied when the preview starts), where
// its file lies, and how pictures and sounds are read.
struct PreviewSource {
    const TComicFileCtrl& comic;
    std::filesystem::path fileName; // empty while the comic is untitled
    bool usePlugIns = false;
    std::filesystem::path plugInMask; // the plug-in folder and "*.SPI"
    MediaPlayerFactory makeMediaPlayer;
};

// Drives a play session with timers and shows its events on a stage: the
// reveal of messages, the pictures' transitions, waits, sounds, and the
// reader's keys, clicks, choices and texts. It plays a copy of the comic, so
// that editing the comic meanwhile changes nothing that plays, and the play
// never changes the comic.
class PreviewPlayer : public QObject {
    Q_OBJECT

public:
    explicit PreviewPlayer(const PreviewSource& source, QObject* parent = nullptr);
    ~PreviewPlayer() override;

    void start(const std::string& book, const std::string& page);
    void startAtStartPage();
    // Ends play: every timer, the music and the sound stop.
    void stop();
    bool ended() const { return phase_ == Phase::Ended; }

    PreviewStage& stage() { return *stage_; }
    const PlaySession& session() const { return *session_; }
    // The line whose event shows now.
    const PlayPlace& place() const { return current_.place; }
    // Whether the mouse is over an area that changes the cursor.
    bool pointing() const { return pointing_; }

    // The reader: a key (Qt::Key), a click or a move of the mouse at a stage
    // point, the text of the input box.
    void key(int qtKey);
    void click(int x, int y);
    void hover(int x, int y);
    void typeText(const std::string& cp932);

signals:
    // The stage shows something new.
    void changed();
    // The place or the variables changed.
    void placeChanged();
    void noted(const QString& note);
    // The session asks for a text; inputClosed when it no longer does.
    void textAsked(const QString& title, const QString& prompt);
    void inputClosed();
    void playEnded();

private:
    enum class Phase {
        Idle,      // the session's next event may be taken
        Showing,   // a message is being revealed or a transition runs
        RevealKey, // the reveal waits for a key
        Timed,     // time passes, or a sound plays to its end
        Reader,    // the session waits for the reader
        Ended,
    };
    struct RevealRun {
        MessageShown message;
        std::unique_ptr<MessageReveal> reveal;
        std::size_t step = 0;
        StageText text;
    };

    void run();
    void show(const PlayEvent& event);
    // After an event shows: its wait decides what comes next.
    void afterShow();
    void goOn();
    void note(const QString& text);

    void showMessage(const MessageShown& message);
    void showRevealStep();
    void skipReveal();
    void finishReveal();
    void showPicture(const PictureShown& picture);
    void transitionTick();
    void finishTransition();
    void startMusic(const MusicStarted& music);
    void startSound(const SoundStarted& sound);
    void addArea(const AreaAdded& added);
    void selectArea(const AreaSelected& selected);
    void offerChoices(const ChoicesOffered& offered);
    void startReader();
    void endReader();
    void limitTick();
    bool answer(const PlayAnswer& answer);
    void proceed(const PlayAnswer& answer);

    // A picture of the data folder, read once; none (after a note) when it
    // cannot be found or read.
    TTC* picture(const std::string& cp932Name);
    // Opens and plays a file; false (after a note) when it cannot be played.
    bool play(MediaPlayer& player, const std::string& cp932Name);
    std::filesystem::path dataFile(const std::string& cp932Name);

    ScriptedPrompter notes_; // what reading the copy and its pictures told
    TComicFileCtrl comic_;
    std::filesystem::path fileName_;
    bool usePlugIns_;
    std::filesystem::path plugInMask_;
    std::optional<ComicFileLookup> files_;
    SystemClock clock_;
    SystemRandom random_;
    std::unique_ptr<PlaySession> session_;
    std::unique_ptr<PreviewStage> stage_;
    std::unique_ptr<MediaPlayer> music_;
    std::unique_ptr<MediaPlayer> sound_;
    std::map<std::string, std::optional<TTC>> pictures_;

    Phase phase_ = Phase::Idle;
    bool running_ = false; // inside run(), so that a nested call returns
    PlayEvent current_;
    std::optional<RevealRun> reveal_;
    QTimer stepTimer_;
    QTimer frameTimer_;
    QElapsedTimer transitionClock_;
    int transitionMs_ = 0;
    QTimer limitTimer_;
    QElapsedTimer limitClock_;
    std::optional<TimeLimit> limit_;
    std::optional<int> choiceWindowHidden_; // the select window shown for choices
    int musicLoopsLeft_ = 0;                // 0: for ever
    bool waitingForSound_ = false;
    bool soundless_ = false; // the machine has no sound output, said once
    bool pointing_ = false;
    QString lastFault_; // the latest fault's note, for the end it causes
    std::uint32_t seed_ = 1;
};

} // namespace pagora
