#include "support/audio_bytes.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace pagora::test {
namespace {

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void appendBigEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string chunk(std::string_view id, const std::string& body, bool bigEndian) {
    std::string bytes(id);
    if (bigEndian)
        appendBigEndian(bytes, static_cast<std::uint32_t>(body.size()), 4);
    else
        appendLittleEndian(bytes, static_cast<std::uint32_t>(body.size()), 4);
    return bytes + body;
}

// A sample of a quiet 440 Hz tone, scaled to the sample's size.
void appendSample(std::string& bytes, const WaveSpec& spec, int frame) {
    const double level = 0.1 * std::sin(2 * 3.14159265358979 * 440 * frame / spec.sampleRate);
    if (spec.formatTag == 3) {
        appendLittleEndian(bytes, std::bit_cast<std::uint32_t>(static_cast<float>(level)), 4);
        return;
    }
    const double scale = std::ldexp(1.0, spec.bits - 1) - 1;
    const auto value = static_cast<std::int64_t>(level * scale) + (spec.bits == 8 ? 128 : 0);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(value), spec.bits / 8);
}

} // namespace

std::string waveFileBytes(const WaveSpec& spec) {
    const int blockAlign = spec.channels * spec.bits / 8;
    std::string format;
    appendLittleEndian(format, static_cast<std::uint32_t>(spec.formatTag), 2);
    appendLittleEndian(format, static_cast<std::uint32_t>(spec.channels), 2);
    appendLittleEndian(format, static_cast<std::uint32_t>(spec.sampleRate), 4);
    appendLittleEndian(format, static_cast<std::uint32_t>(spec.sampleRate * blockAlign), 4);
    appendLittleEndian(format, static_cast<std::uint32_t>(blockAlign), 2);
    appendLittleEndian(format, static_cast<std::uint32_t>(spec.bits), 2);
    std::string samples;
    for (int frame = 0; frame < spec.frames; ++frame)
        for (int channel = 0; channel < spec.channels; ++channel)
            appendSample(samples, spec, frame);
    const std::string form = "WAVE" + chunk("fmt ", format, false) + chunk("data", samples, false);
    return chunk("RIFF", form, false);
}

std::string midiFileBytes(int notes) {
    std::string header;
    appendBigEndian(header, 0, 2);   // format 0
    appendBigEndian(header, 1, 2);   // one track
    appendBigEndian(header, 480, 2); // ticks a quarter note
    std::string track;
    for (int note = 0; note < notes; ++note) {
        const char pitch = static_cast<char>(60 + note % 12);
        track += std::string{'\x00', '\x90', pitch, '\x50'};
        track += std::string{'\x83', '\x60', '\x80', pitch, '\x00'}; // 480 ticks later
    }
    track += std::string{'\x00', '\xFF', '\x2F', '\x00'};
    return chunk("MThd", header, true) + chunk("MTrk", track, true);
}

} // namespace pagora::test
