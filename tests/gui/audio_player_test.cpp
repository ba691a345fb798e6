#include "gui/audio_player.h"
#include "gui/midi_renderer.h"
#include "support/audio_bytes.h"
#include "support/temp_folder.h"

#include <QAudioDevice>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace pagora::test {
namespace {

constexpr int kLongestWaitMs = 10000;

class RealPlayer : public testing::Test {
protected:
    // A player that has no sound device, whatever the machine has.
    static AudioPlayerSetup
    withoutDevice(std::vector<std::filesystem::path> soundFonts = generalMidiSoundFonts()) {
        return {[] { return QAudioDevice(); }, std::move(soundFonts)};
    }
    static bool machineHasSound() { return !defaultOutputDevice().isNull(); }

    // Plays file to its end; whether the player said that it ended.
    static bool playsToItsEnd(AudioPlayer& player, const std::filesystem::path& file) {
        bool ended = false;
        player.setStoppedHandler([&] { ended = true; });
        EXPECT_EQ(player.open(file), std::nullopt);
        EXPECT_EQ(player.play(), std::nullopt);
        EXPECT_TRUE(player.playing());
        return QTest::qWaitFor([&] { return ended; }, kLongestWaitMs) && !player.playing();
    }

    TempFolder folder;
};

TEST_F(RealPlayer, PlaysAWaveFileToItsEndAndSaysSo) {
    if (!machineHasSound())
        GTEST_SKIP() << "this machine has no sound device";
    AudioPlayer player;
    EXPECT_TRUE(playsToItsEnd(player, folder.write("beep.wav", waveFileBytes({.frames = 2000}))));
    EXPECT_TRUE(playsToItsEnd(player, folder.write("beep.wav", waveFileBytes({.frames = 2000}))))
        << "and again";
}

TEST_F(RealPlayer, PlaysAMidiFileToItsEndAndSaysSo) {
    if (!machineHasSound() || !firstSoundFont(generalMidiSoundFonts()))
        GTEST_SKIP() << "this machine has no sound device or no General MIDI sound font";
    AudioPlayer player;
    EXPECT_TRUE(playsToItsEnd(player, folder.write("tune.mid", midiFileBytes(2))));
}

// The chime plays to its end; the nine seconds of the theme only start.
TEST_F(RealPlayer, PlaysTheSampleComicsSoundAndMusic) {
    if (!machineHasSound() || !firstSoundFont(generalMidiSoundFonts()))
        GTEST_SKIP() << "this machine has no sound device or no General MIDI sound font";
    const std::filesystem::path data =
        std::filesystem::path(PAGORA_SOURCE_DIR) / "examples/sample/data";
    AudioPlayer player;
    EXPECT_TRUE(playsToItsEnd(player, data / "chime.wav"));
    ASSERT_EQ(player.open(data / "theme.mid"), std::nullopt);
    ASSERT_EQ(player.play(), std::nullopt);
    QTest::qWait(500);
    EXPECT_TRUE(player.playing());
    player.stop();
}

TEST_F(RealPlayer, StoppingEndsThePlayingWithoutAnEndOfItsOwn) {
    if (!machineHasSound())
        GTEST_SKIP() << "this machine has no sound device";
    AudioPlayer player;
    bool ended = false;
    player.setStoppedHandler([&] { ended = true; });
    ASSERT_EQ(player.open(folder.write("long.wav", waveFileBytes({.frames = 80000}))),
              std::nullopt);
    ASSERT_EQ(player.play(), std::nullopt);
    QTest::qWait(200);
    player.stop();
    EXPECT_FALSE(player.playing());
    QTest::qWait(200);
    EXPECT_FALSE(ended);
}

TEST_F(RealPlayer, WithoutASoundDeviceRefusesEveryPlayAndStaysUsable) {
    AudioPlayer player(withoutDevice());
    EXPECT_EQ(player.open(folder.write("beep.wav", waveFileBytes())), std::nullopt);
    EXPECT_EQ(player.play(), MediaError{MediaFailure::NoDevice});
    EXPECT_EQ(player.play(), MediaError{MediaFailure::NoDevice});
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.open(folder.write("cut.wav", waveFileBytes().substr(0, 60))),
              MediaError{MediaFailure::Truncated})
        << "a file is read before the device is asked for";
    player.stop();
}

TEST_F(RealPlayer, ThisMachineWithoutASoundDeviceIsToldSo) {
    if (machineHasSound())
        GTEST_SKIP() << "this machine has a sound device";
    AudioPlayer player;
    ASSERT_EQ(player.open(folder.write("beep.wav", waveFileBytes())), std::nullopt);
    EXPECT_EQ(player.play(), MediaError{MediaFailure::NoDevice});
    EXPECT_FALSE(player.playing());
}

TEST_F(RealPlayer, MidiNeedsASoundFontAndWaveDoesNot) {
    AudioPlayer player(withoutDevice({folder.path() / "missing.sf2"}));
    EXPECT_EQ(player.open(folder.write("tune.mid", midiFileBytes())),
              MediaError{MediaFailure::NoInstruments});
    EXPECT_EQ(player.play(), (MediaError{MediaFailure::Unreadable, ENOENT})) << "nothing is open";
    EXPECT_EQ(player.open(folder.write("beep.wav", waveFileBytes())), std::nullopt);
}

TEST(MidiRenderer, SynthesisesTheSongToItsEndAndTheFadingOfItsLastNotes) {
    const std::optional<std::filesystem::path> font = firstSoundFont(generalMidiSoundFonts());
    if (!font)
        GTEST_SKIP() << "no General MIDI sound font";
    constexpr int kRate = 8000;
    MidiRenderer renderer(MidiSong{midiFileBytes(2)}, *font, kRate); // one second of notes
    ASSERT_TRUE(renderer.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    qint64 bytes = 0;
    bool sounded = false;
    char buffer[4096];
    for (qint64 read = 0; (read = renderer.read(buffer, sizeof buffer)) > 0;) {
        bytes += read;
        for (qint64 i = 0; i < read; ++i)
            sounded = sounded || buffer[i] != 0;
        ASSERT_LT(bytes, qint64{60} * kRate * 4) << "the song never ends";
    }
    EXPECT_TRUE(renderer.atEnd());
    EXPECT_TRUE(sounded);
    const qint64 frames = bytes / 4;
    EXPECT_GE(frames, kRate);
    EXPECT_LE(frames, 4 * kRate) << "one second of notes, at most two of fading, one piece more";
}

TEST(MidiRenderer, AFontThatDoesNotLoadMeansNoInstruments) {
    TempFolder folder;
    try {
        MidiRenderer(MidiSong{midiFileBytes()}, folder.write("broken.sf2", "RIFF"), 44100);
        ADD_FAILURE() << "a broken sound font was loaded";
    } catch (const MediaFileError& error) {
        EXPECT_EQ(error.error(), MediaError{MediaFailure::NoInstruments});
    }
}

} // namespace
} // namespace pagora::test
