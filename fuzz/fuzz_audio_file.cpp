// Feeds arbitrary bytes to the reader of WAV and MIDI files. Whatever it
// accepts must be whole: a WAV's samples are whole frames and not empty, a
// MIDI song is a standard MIDI file.
#include "platform/audio_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

namespace {

std::size_t bytesPerSample(pagora::SampleFormat format) {
    switch (format) {
    case pagora::SampleFormat::UInt8:
        return 1;
    case pagora::SampleFormat::Int16:
        return 2;
    case pagora::SampleFormat::Int32:
    case pagora::SampleFormat::Float:
        return 4;
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pagora::AudioData audio;
    try {
        audio = pagora::parseAudio(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const pagora::MediaFileError&) {
        return 0;
    }
    if (const auto* wave = std::get_if<pagora::WaveSound>(&audio)) {
        const std::size_t frame = bytesPerSample(wave->format) * std::size_t(wave->channels);
        if (wave->channels <= 0 || wave->sampleRate <= 0 || wave->samples.empty() ||
            wave->samples.size() % frame != 0)
            __builtin_trap();
    } else if (!std::get<pagora::MidiSong>(audio).bytes.starts_with("MThd")) {
        __builtin_trap();
    }
    return 0;
}
