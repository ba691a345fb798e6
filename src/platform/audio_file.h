#pragma once

#include "platform/media_player.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>
#include <variant>

namespace pagora {

// How the samples of a sound are stored: little-endian, channels interleaved.
enum class SampleFormat { UInt8, Int16, Int32, Float };

// The sound of a WAV file, ready for an audio output.
struct WaveSound {
    SampleFormat format = SampleFormat::Int16;
    int channels = 0;
    int sampleRate = 0;
    std::string samples; // whole frames only
};

// A standard MIDI file, taken out of its RIFF wrapping when it had one.
struct MidiSong {
    std::string bytes;
};

using AudioData = std::variant<WaveSound, MidiSong>;

// A file that cannot be played, and why.
class MediaFileError : public std::exception {
public:
    explicit MediaFileError(MediaError error)
        : error_(error) {}
    const MediaError& error() const { return error_; }
    const char* what() const noexcept override { return "media file cannot be played"; }

private:
    MediaError error_;
};

// The largest audio file read for a trial.
inline constexpr std::uint64_t kLargestAudioFile = 256ull << 20;

// Reads a WAV file (PCM of 8, 16, 24 or 32 bits, or 32-bit float) or a
// standard MIDI file (also inside RIFF "RMID"), known by its content, and
// checks it through to its end. Throws MediaFileError.
AudioData readAudioFile(const std::filesystem::path& path);
// The same for a file's bytes.
AudioData parseAudio(std::string bytes);

} // namespace pagora
