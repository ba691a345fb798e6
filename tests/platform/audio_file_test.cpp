#include "platform/audio_file.h"
#include "platform/media_player.h"
#include "support/audio_bytes.h"
#include "support/temp_folder.h"

#include <cctype>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace pagora {
namespace {

using test::midiFileBytes;
using test::waveFileBytes;
using test::WaveSpec;

std::optional<MediaFailure> failureOf(std::string bytes) {
    try {
        parseAudio(std::move(bytes));
    } catch (const MediaFileError& error) {
        return error.error().failure;
    }
    return std::nullopt;
}

std::string withByte(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

std::string riff(const std::string& type, const std::string& chunks) {
    const auto size = static_cast<std::uint32_t>(4 + chunks.size());
    std::string bytes = "RIFF";
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(size >> (8 * i)));
    return bytes + type + chunks;
}

std::string dataChunk(const std::string& body) {
    const auto size = static_cast<std::uint32_t>(body.size());
    std::string chunk = "data";
    for (int i = 0; i < 4; ++i)
        chunk.push_back(static_cast<char>(size >> (8 * i)));
    return chunk + body + (body.size() % 2 != 0 ? std::string(1, '\0') : std::string());
}

// Offsets in the made-up files: the WAV's format chunk starts at 20, the
// MIDI file's first track event at 22.
constexpr std::size_t kWaveFormatTag = 20;
constexpr std::size_t kWaveChannels = 22;
constexpr std::size_t kMidiTracks = 11;
constexpr std::size_t kMidiDivision = 12;
constexpr std::size_t kMidiFirstStatus = 23;

struct RefusedFile {
    const char* what;
    std::function<std::string()> bytes;
    MediaFailure failure;
};

class RefusedAudio : public testing::TestWithParam<RefusedFile> {};

TEST_P(RefusedAudio, IsRefusedWithItsReason) {
    EXPECT_EQ(failureOf(GetParam().bytes()), GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedAudio,
    testing::Values(
        RefusedFile{"empty", [] { return std::string(); }, MediaFailure::Empty},
        RefusedFile{"text", [] { return std::string("not a sound at all"); },
                    MediaFailure::NotAudio},
        RefusedFile{"cut in its magic", [] { return std::string("RI"); }, MediaFailure::Truncated},
        RefusedFile{"RIFF of another kind", [] { return riff("AVI ", ""); },
                    MediaFailure::NotAudio},
        RefusedFile{"WAV cut in its samples",
                    [] {
                        const std::string wave = waveFileBytes();
                        return wave.substr(0, wave.size() - 100);
                    },
                    MediaFailure::Truncated},
        RefusedFile{"WAV cut after its header", [] { return waveFileBytes().substr(0, 30); },
                    MediaFailure::Truncated},
        RefusedFile{"WAV without samples", [] { return waveFileBytes({.frames = 0}); },
                    MediaFailure::Empty},
        RefusedFile{"compressed WAV", [] { return withByte(waveFileBytes(), kWaveFormatTag, 2); },
                    MediaFailure::Unsupported},
        RefusedFile{"WAV of 12 bits", [] { return waveFileBytes({.bits = 12}); },
                    MediaFailure::Unsupported},
        RefusedFile{"WAV of no channels",
                    [] { return withByte(waveFileBytes(), kWaveChannels, 0); },
                    MediaFailure::NotAudio},
        RefusedFile{"MIDI cut in its track",
                    [] {
                        const std::string song = midiFileBytes(4);
                        return song.substr(0, song.size() - 5);
                    },
                    MediaFailure::Truncated},
        RefusedFile{"MIDI header alone", [] { return midiFileBytes().substr(0, 14); },
                    MediaFailure::Truncated},
        RefusedFile{"MIDI without tracks", [] { return withByte(midiFileBytes(), kMidiTracks, 0); },
                    MediaFailure::Empty},
        RefusedFile{"MIDI in SMPTE time",
                    [] { return withByte(midiFileBytes(), kMidiDivision, '\xE8'); },
                    MediaFailure::Unsupported},
        RefusedFile{"MIDI track of data without a status",
                    [] { return withByte(midiFileBytes(), kMidiFirstStatus, 0x40); },
                    MediaFailure::NotAudio},
        RefusedFile{"RMID holding no MIDI file", [] { return riff("RMID", dataChunk("MThx")); },
                    MediaFailure::NotAudio}),
    [](const testing::TestParamInfo<RefusedFile>& file) {
        std::string name;
        for (const char c : std::string(file.param.what))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
        return name;
    });

TEST(AudioFile, ReadsTheSamplesOfEveryPcmSizeAndFloat) {
    struct Case {
        WaveSpec spec;
        SampleFormat format;
        std::size_t bytesPerSample; // as delivered
    };
    for (const Case& wave :
         {Case{{.bits = 8}, SampleFormat::UInt8, 1},
          Case{{.channels = 2, .bits = 16}, SampleFormat::Int16, 2},
          Case{{.bits = 24}, SampleFormat::Int32, 4}, Case{{.bits = 32}, SampleFormat::Int32, 4},
          Case{{.bits = 32, .formatTag = 3}, SampleFormat::Float, 4}}) {
        SCOPED_TRACE(wave.spec.bits);
        const AudioData data = parseAudio(waveFileBytes(wave.spec));
        const auto& sound = std::get<WaveSound>(data);
        EXPECT_EQ(sound.format, wave.format);
        EXPECT_EQ(sound.channels, wave.spec.channels);
        EXPECT_EQ(sound.sampleRate, 8000);
        EXPECT_EQ(sound.samples.size(),
                  std::size_t(800) * std::size_t(wave.spec.channels) * wave.bytesPerSample);
    }
}

TEST(AudioFile, Widens24BitSamplesKeepingTheirValue) {
    const std::string wave = waveFileBytes({.frames = 2, .bits = 24});
    const auto sound = std::get<WaveSound>(parseAudio(wave));
    const std::string fileSamples = wave.substr(wave.size() - 6);
    EXPECT_EQ(sound.samples, std::string(1, '\0') + fileSamples.substr(0, 3) +
                                 std::string(1, '\0') + fileSamples.substr(3));
}

TEST(AudioFile, DropsAHalfFrameAtTheEndOfTheSamples) {
    const std::string chunks = waveFileBytes({.frames = 3, .channels = 2}).substr(12, 24) +
                               dataChunk(std::string(13, '\x01'));
    const auto sound = std::get<WaveSound>(parseAudio(riff("WAVE", chunks)));
    EXPECT_EQ(sound.samples.size(), 12u);
}

TEST(AudioFile, ReadsMidiFilesAlsoInsideRmid) {
    const std::string song = midiFileBytes(3);
    EXPECT_EQ(std::get<MidiSong>(parseAudio(song)).bytes, song);
    EXPECT_EQ(std::get<MidiSong>(parseAudio(riff("RMID", dataChunk(song)))).bytes, song);
}

TEST(AudioFile, AFileThatCannotBeReadTellsTheSystemsReason) {
    test::TempFolder folder;
    const auto errorNumberOf = [](const std::filesystem::path& path) {
        try {
            readAudioFile(path);
        } catch (const MediaFileError& error) {
            EXPECT_EQ(error.error().failure, MediaFailure::Unreadable);
            return error.error().errorNumber;
        }
        return 0;
    };
    EXPECT_EQ(errorNumberOf(folder.path() / "none.wav"), ENOENT);
    EXPECT_EQ(errorNumberOf(folder.path()), EISDIR);
    EXPECT_TRUE(
        std::holds_alternative<WaveSound>(readAudioFile(folder.write("a.WAV", waveFileBytes()))));
}

TEST(SilentMediaPlayer, RefusesWhatARealPlayerRefusesAndPlaysUntilStopped) {
    test::TempFolder folder;
    SilentMediaPlayer player;
    EXPECT_EQ(player.play(), (MediaError{MediaFailure::Unreadable, ENOENT})) << "nothing open";
    EXPECT_EQ(player.open(folder.write("cut.mid", midiFileBytes().substr(0, 20))),
              MediaError{MediaFailure::Truncated});
    EXPECT_EQ(player.play(), (MediaError{MediaFailure::Unreadable, ENOENT}));

    bool ended = false;
    player.setStoppedHandler([&] { ended = true; });
    EXPECT_EQ(player.open(folder.write("song.mid", midiFileBytes())), std::nullopt);
    EXPECT_EQ(player.play(), std::nullopt);
    EXPECT_TRUE(player.playing());
    player.stop();
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(ended) << "stopping is not an end of its own";
}

} // namespace
} // namespace pagora
