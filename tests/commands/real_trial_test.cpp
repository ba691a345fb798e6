#include "commands/media_dialogs.h"
#include "commands/media_file_box.h"
#include "dialog_fixture.h"
#include "gui/audio_player.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace pagora::test {
namespace {

namespace fs = std::filesystem;

constexpr int kLongestWaitMs = 10000;

// The music and the sound dialog with the editor's own player, on the sample
// comic's files. What the machine offers decides what they must do: play
// where there is a sound device, and otherwise say so once and stay usable.
// The build runs them both ways (with a sound server of its own and without).
class RealTrial : public DialogTest {
protected:
    RealTrial() {
        openComic(sampleComicLines({"DataDirectory=data"}));
        const fs::path sample = fs::path(PAGORA_SOURCE_DIR) / "examples/sample/data";
        fs::create_directories(folder.path() / "data");
        for (const char* name : {"chime.wav", "theme.mid"})
            fs::copy_file(sample / name, folder.path() / "data" / name);
    }

    static bool machineHasSound() { return !defaultOutputDevice().isNull(); }
    static QToolButton& play(MediaFileBox& box) { return child<QToolButton>(box, "spdbtnPlay"); }
    static void choose(MediaFileBox& box, const char* name) {
        child<QLineEdit>(box, "edtFileName").setText(QString::fromLatin1(name));
    }

    // The context of the program: every dialog gets a player of its own.
    DialogContext realContext = withRealPlayers(context);

private:
    static DialogContext withRealPlayers(const DialogContext& given) {
        DialogContext real = given;
        real.makeMediaPlayer = [] {
            return std::make_unique<AudioPlayer>();
        };
        return real;
    }
};

TEST_F(RealTrial, TheSampleSoundPlaysToItsEndAndTheMusicUntilStopped) {
    if (!machineHasSound())
        GTEST_SKIP() << "this machine has no sound device";
    TfrmSound sound(realContext);
    MediaFileBox& box = sound.fileBox();
    choose(box, "chime.wav");
    play(box).click();
    EXPECT_TRUE(box.playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box.playing(); }, kLongestWaitMs))
        << "the chime ended by itself";
    EXPECT_FALSE(play(box).isChecked());

    choose(box, "THEME.MID");
    play(box).click();
    QTest::qWait(300);
    EXPECT_TRUE(box.playing()) << "nine seconds of music, in the sound dialog";
    play(box).click();
    EXPECT_FALSE(box.playing());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(RealTrial, ClosingTheMusicDialogStopsItsMusic) {
    if (!machineHasSound())
        GTEST_SKIP() << "this machine has no sound device";
    TfrmMusic music(realContext);
    music.loadLine(R"(Music "theme.mid",0,)");
    music.show();
    play(music.fileBox()).click();
    ASSERT_TRUE(music.fileBox().playing());
    music.close();
    EXPECT_FALSE(music.fileBox().playing());
}

TEST_F(RealTrial, WithoutASoundDeviceBothFilesAreRefusedWithOneMessage) {
    if (machineHasSound())
        GTEST_SKIP() << "this machine has a sound device";
    TfrmMusic music(realContext);
    MediaFileBox& box = music.fileBox();
    music.loadLine(R"(Music "theme.mid",2,)");
    play(box).click();
    choose(box, "chime.wav");
    play(box).click();
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("サウンドデバイスが見つかりません")});
    EXPECT_FALSE(box.playing());
    EXPECT_FALSE(play(box).isEnabled());
    music.btnOKClick();
    EXPECT_EQ(music.line(), R"(Music "chime.wav",2,)") << "the dialog still edits its line";
}

} // namespace
} // namespace pagora::test
