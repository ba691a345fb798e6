#pragma once

#include <string>

namespace pagora::test {

// What a made-up WAV file holds.
struct WaveSpec {
    int frames = 800;
    int sampleRate = 8000;
    int channels = 1;
    int bits = 16;
    int formatTag = 1; // 1 PCM, 3 float
};

// A WAV file of a quiet tone in the given format and length.
std::string waveFileBytes(const WaveSpec& spec = {});

// A standard MIDI file of one track that plays notes quarter notes at 120
// beats a minute (so notes / 2 seconds) and ends.
std::string midiFileBytes(int notes = 1);

} // namespace pagora::test
