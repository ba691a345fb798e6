#pragma once

#include "gui/midi_renderer.h"
#include "platform/audio_file.h"
#include "platform/media_player.h"

#include <QAudioDevice>
#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAudioFormat;
class QAudioSink;
class QIODevice;

namespace pagora {

// The system's default sound output; a null device when it has none.
QAudioDevice defaultOutputDevice();

// Where a player plays and with which instruments: the machine's own unless
// told otherwise.
struct AudioPlayerSetup {
    std::function<QAudioDevice()> outputDevice = defaultOutputDevice;
    // MIDI is played with the first of these that exists.
    std::vector<std::filesystem::path> soundFonts = generalMidiSoundFonts();
};

// The editor's player. Both kinds of file go through Qt's audio output: a
// WAV file as its samples, a MIDI file synthesised by FluidSynth as it plays.
// The output reports when it has taken the last sample, which ends the
// playing; the sound already handed to it fades out on its own.
class AudioPlayer final : public QObject, public MediaPlayer {
    Q_OBJECT

public:
    explicit AudioPlayer(AudioPlayerSetup setup = {});
    ~AudioPlayer() override;

    std::optional<MediaError> open(const std::filesystem::path& file) override;
    std::optional<MediaError> play() override;
    void stop() override;
    bool playing() const override { return playing_; }

private:
    // The samples of the opened file, and their format. Throws MediaFileError.
    std::unique_ptr<QIODevice> makeSource(const QAudioDevice& device, QAudioFormat& format);
    void outputStateChanged();
    void release();

    AudioPlayerSetup setup_;
    std::optional<AudioData> opened_;
    std::unique_ptr<QIODevice> source_;
    std::unique_ptr<QAudioSink> sink_;
    bool playing_ = false;
};

} // namespace pagora
