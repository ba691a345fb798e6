#pragma once

#include "platform/audio_file.h"

#include <QIODevice>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace pagora {

// The places where Debian's General MIDI sound font packages put their
// fonts, the system's chosen default first.
std::vector<std::filesystem::path> generalMidiSoundFonts();

// The first of the sound fonts that is a file.
std::optional<std::filesystem::path>
firstSoundFont(const std::vector<std::filesystem::path>& fonts);

// A MIDI song synthesised by FluidSynth while it is read: 16-bit stereo
// samples from the song's start to its end and the fading of its last notes.
// An audio output reads it piece by piece, so a long song is never rendered
// ahead.
class MidiRenderer : public QIODevice {
    Q_OBJECT

public:
    // Throws MediaFileError: NoInstruments when the sound font does not
    // load, NotAudio when the synthesiser refuses the song.
    MidiRenderer(const MidiSong& song, const std::filesystem::path& soundFont, int sampleRate);
    ~MidiRenderer() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override { return finished_; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    struct Synthesiser;

    bool songOver() const;
    // How many frames of the song are left to render, at most wanted.
    int framesToRender(int wanted);

    std::unique_ptr<Synthesiser> synth_;
    int sampleRate_;
    int tailFrames_ = 0; // rendered since the song's last event
    bool finished_ = false;
};

} // namespace pagora
