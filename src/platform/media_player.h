#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pagora {

// Why a sound or music file cannot be played.
enum class MediaFailure {
    NoDevice,      // the machine has no sound output to play on
    NoInstruments, // MIDI needs a General MIDI sound font, and none is installed
    Unreadable,    // the file cannot be read (errorNumber says why)
    Empty,         // the file, or the sound in it, is empty
    Truncated,     // the file ends before the data it announces
    NotAudio,      // neither a WAV nor a MIDI file, or damaged beyond reading
    Unsupported,   // a kind of WAV or MIDI file that cannot be played here
};

struct MediaError {
    MediaFailure failure;
    int errorNumber = 0; // for Unreadable: the system's error number
    bool operator==(const MediaError&) const = default;
};

// The reason of a failure as the user reads it (UTF-8, one sentence).
std::string mediaErrorText(const MediaError& error);

// Plays one sound or music file at a time, for a trial in a dialog. It is
// used from one thread, and its stopped handler is called on that thread.
class MediaPlayer {
public:
    MediaPlayer() = default;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;
    // Stops playing.
    virtual ~MediaPlayer() = default;

    // Opens a WAV or MIDI file, known by its content whatever its name,
    // stopping what was playing. Nothing when it can be played.
    virtual std::optional<MediaError> open(const std::filesystem::path& file) = 0;
    // Plays the file opened last from its start; Unreadable (ENOENT) when
    // none is open.
    virtual std::optional<MediaError> play() = 0;
    // Stops playing, if it plays; the stopped handler is not called.
    virtual void stop() = 0;
    virtual bool playing() const = 0;

    // What is called when playing ends by itself: the file has played to its
    // end, or the sound device gave up.
    void setStoppedHandler(std::function<void()> handler) { stopped_ = std::move(handler); }

protected:
    void reportStopped() const {
        if (stopped_)
            stopped_();
    }

private:
    std::function<void()> stopped_;
};

// Makes a player; one for each window that plays files for a trial.
using MediaPlayerFactory = std::function<std::unique_ptr<MediaPlayer>()>;

// A player that reads a file as a real one does, so it refuses the same
// files, and plays nothing: it "plays" until it is stopped. For runs that
// must stay quiet.
class SilentMediaPlayer : public MediaPlayer {
public:
    std::optional<MediaError> open(const std::filesystem::path& file) override;
    std::optional<MediaError> play() override;
    void stop() override { playing_ = false; }
    bool playing() const override { return playing_; }

private:
    bool opened_ = false;
    bool playing_ = false;
};

} // namespace pagora
