#include "commands/media_dialogs.h"
#include "commands/media_file_box.h"
#include "dialog_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <functional>
#include <memory>

namespace pagora::test {
namespace {

namespace fs = std::filesystem;

const std::string kSaveFirst = "この機能を使うためには\nファイルを一度セーブする必要があります";

// The music and the sound dialog share their file box; each test that
// concerns the box runs on both.
enum class Kind { Music, Sound };

void PrintTo(Kind kind, std::ostream* out) {
    *out << (kind == Kind::Music ? "TfrmMusic" : "TfrmSound");
}

class MediaDialog : public DialogTest {
protected:
    std::unique_ptr<TCommandDialog> make(Kind kind) {
        if (kind == Kind::Music)
            return std::make_unique<TfrmMusic>(context);
        return std::make_unique<TfrmSound>(context);
    }
    static MediaFileBox& box(TCommandDialog& dialog) { return *dialog.findChild<MediaFileBox*>(); }
    // A saved comic whose data folder is "media".
    fs::path openComicWithMedia() {
        openComic(sampleComicLines({"DataDirectory=media"}));
        return folder.path() / "media";
    }
    RecordingMediaPlayer::Log& player() { return mediaPlayers.last(); }
    static void clickPlay(TCommandDialog& dialog) {
        child<QToolButton>(dialog, "spdbtnPlay").click();
    }
    static std::string lineOf(Kind kind, const char* file) {
        return kind == Kind::Music ? std::string("Music \"") + file + "\",0,"
                                   : std::string("Sound \"") + file + "\",1,";
    }
};

TEST_F(MediaDialog, MusicShowsItsControlsAndLoopCount) {
    TfrmMusic dialog(context);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TfrmMusic"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("音楽ファイルの指定"));
    EXPECT_EQ(dialog.fileBox().title(), QStringLiteral("音楽ファイルの指定"));
    EXPECT_EQ(child<QToolButton>(dialog, "spdbtnFileNameSet").text(),
              QStringLiteral("ファイルの参照"));
    EXPECT_EQ(child<QToolButton>(dialog, "spdbtnPlay").text(), QStringLiteral("音楽の演奏"));
    EXPECT_EQ(child<QCheckBox>(dialog, "chkLoop").text(), QStringLiteral("ループ回数を指定する"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnOption").text(), QStringLiteral("オプション"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnHelp")), nullptr);
    child<QPushButton>(dialog, "spdbtnHelp").click();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic36"));
    const QSpinBox& loop = child<QSpinBox>(dialog, "spnLoop");
    EXPECT_EQ(loop.minimum(), 0);
    EXPECT_EQ(loop.maximum(), 127);
}

TEST_F(MediaDialog, SoundShowsItsControlsAndWaitsForTheEndOfANewSound) {
    TfrmSound dialog(context);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TfrmSound"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("サウンドファイルの指定"));
    EXPECT_EQ(dialog.fileBox().title(), QStringLiteral("サウンドファイルの指定"));
    EXPECT_EQ(child<QToolButton>(dialog, "spdbtnPlay").text(), QStringLiteral("サウンドの再生"));
    QCheckBox& wait = child<QCheckBox>(dialog, "chkWait");
    EXPECT_EQ(wait.text(), QStringLiteral("サウンドの再生が終わるまで待つ"));
    child<QPushButton>(dialog, "spdbtnHelp").click();
    EXPECT_EQ(help.urls.at(0).fragment(), QStringLiteral("topic37"));

    dialog.loadLine("");
    EXPECT_TRUE(wait.isChecked()) << "a new sound";
    dialog.loadLine(R"(Sound "a.wav",0,"/IF:%a%==1")");
    EXPECT_FALSE(wait.isChecked());
    EXPECT_EQ(child<QLineEdit>(dialog, "edtFileName").text(), QStringLiteral("a.wav"));
    wait.setChecked(true);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), R"(Sound "a.wav",1,"/IF:%a%==1")");
    dialog.loadLine("Sound");
    EXPECT_TRUE(wait.isChecked()) << "a missing parameter reads as a new sound's";
}

struct LoopCase {
    const char* line;
    bool checked;
    int shown;
    const char* written;
};

class MusicLoop : public DialogTest, public testing::WithParamInterface<LoopCase> {};

TEST_P(MusicLoop, IsGivenOnlyWhenNotZeroAndWithinTheSpinnersRange) {
    TfrmMusic dialog(context);
    dialog.loadLine(GetParam().line);
    EXPECT_EQ(child<QCheckBox>(dialog, "chkLoop").isChecked(), GetParam().checked);
    EXPECT_EQ(child<QSpinBox>(dialog, "spnLoop").value(), GetParam().shown);
    EXPECT_EQ(child<QSpinBox>(dialog, "spnLoop").isEnabled(), GetParam().checked);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MusicLoop,
    testing::Values(LoopCase{R"(Music "a.mid",0,)", false, 0, R"(Music "a.mid",0,)"},
                    LoopCase{R"(Music "a.mid",5,)", true, 5, R"(Music "a.mid",5,)"},
                    LoopCase{R"(Music "a.mid",127,)", true, 127, R"(Music "a.mid",127,)"},
                    LoopCase{R"(Music "a.mid",500,)", true, 127, R"(Music "a.mid",127,)"},
                    LoopCase{R"(Music "a.mid",-3,)", true, 0, R"(Music "a.mid",0,)"},
                    LoopCase{R"(Music "a.mid",x,)", false, 0, R"(Music "a.mid",0,)"},
                    LoopCase{"Music", false, 0, R"(Music "",0,)"}));

TEST_F(MediaDialog, TheLoopCheckBoxSwitchesTheCountAndAZeroCountStaysUnspecified) {
    TfrmMusic dialog(context);
    QCheckBox& check = child<QCheckBox>(dialog, "chkLoop");
    QSpinBox& loop = child<QSpinBox>(dialog, "spnLoop");
    dialog.loadLine(R"(Music "a.mid",0,)");
    check.setChecked(true);
    EXPECT_TRUE(loop.isEnabled());
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), R"(Music "a.mid",0,)");

    loop.setValue(9);
    check.setChecked(false);
    EXPECT_FALSE(loop.isEnabled());
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), R"(Music "a.mid",0,)");
}

class Trial : public MediaDialog, public testing::WithParamInterface<Kind> {};

TEST_P(Trial, PlaysTheNamedFileOfTheDataFolderAndASecondPressStopsIt) {
    const fs::path media = openComicWithMedia();
    const auto dialog = make(GetParam());
    dialog->loadLine(lineOf(GetParam(), "chime.wav"));
    clickPlay(*dialog);
    EXPECT_EQ(player().opened, std::vector<fs::path>{media / "chime.wav"});
    EXPECT_TRUE(box(*dialog).playing());
    EXPECT_TRUE(child<QToolButton>(*dialog, "spdbtnPlay").isChecked());

    clickPlay(*dialog);
    EXPECT_EQ(player().calls, (std::vector<std::string>{"open", "play", "stop"}));
    EXPECT_FALSE(box(*dialog).playing());
    EXPECT_FALSE(child<QToolButton>(*dialog, "spdbtnPlay").isChecked());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_P(Trial, AfterTheFileHasPlayedToItsEndTheNextPressPlaysAgain) {
    openComicWithMedia();
    const auto dialog = make(GetParam());
    dialog->loadLine(lineOf(GetParam(), "theme.mid"));
    clickPlay(*dialog);
    player().finish();
    EXPECT_FALSE(box(*dialog).playing());
    EXPECT_FALSE(child<QToolButton>(*dialog, "spdbtnPlay").isChecked());
    clickPlay(*dialog);
    EXPECT_EQ(player().calls, (std::vector<std::string>{"open", "play", "open", "play"}));
    EXPECT_TRUE(box(*dialog).playing());
}

TEST_P(Trial, ClosingTheDialogStopsItHoweverItCloses) {
    openComicWithMedia();
    const std::vector<std::pair<const char*, std::function<void(TCommandDialog&)>>> closings{
        {"OK",
         [](TCommandDialog& dialog) {
             dialog.btnOKClick();
         }},
        {"Cancel",
         [](TCommandDialog& dialog) {
             child<QPushButton>(dialog, "btnCancel").click();
         }},
        {"close box", [](TCommandDialog& dialog) {
             dialog.close();
         }}};
    for (const auto& [how, close] : closings) {
        const auto dialog = make(GetParam());
        dialog->loadLine(lineOf(GetParam(), "chime.wav"));
        dialog->show();
        clickPlay(*dialog);
        close(*dialog);
        EXPECT_EQ(player().calls.back(), "stop") << how;
        EXPECT_FALSE(player().playing) << how;
    }
}

TEST_P(Trial, TakesEitherExtensionInAnyLetterCaseAndRefusesOthers) {
    const fs::path media = openComicWithMedia();
    folder.write("media/chime.wav", "x");
    const auto dialog = make(GetParam());
    QLineEdit& name = child<QLineEdit>(*dialog, "edtFileName");
    for (const char* playable : {"CHIME.WAV", "theme.Mid", "sub\\song.mid"}) {
        name.setText(QString::fromUtf8(playable));
        clickPlay(*dialog);
        EXPECT_TRUE(box(*dialog).playing()) << playable;
        clickPlay(*dialog);
    }
    EXPECT_EQ(player().opened, (std::vector<fs::path>{media / "chime.wav", media / "theme.Mid",
                                                      media / "sub" / "song.mid"}))
        << "the name's parts match files in any letter case";
    for (const char* refused : {"chime.txt", "", "wav", "chime.wav.bak", "data.mid\\readme"}) {
        name.setText(QString::fromUtf8(refused));
        clickPlay(*dialog);
        EXPECT_FALSE(box(*dialog).playing()) << refused;
    }
    EXPECT_EQ(player().opened.size(), 3u);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>(5, sj("ファイル名が不正です")));
    EXPECT_EQ(prompter.records().back().kind, MessageKind::Warning);
}

TEST_P(Trial, NeedsASavedComic) {
    const auto dialog = make(GetParam());
    dialog->loadLine(lineOf(GetParam(), "chime.wav"));
    clickPlay(*dialog);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kSaveFirst)});
    EXPECT_TRUE(player().calls.empty());
    EXPECT_FALSE(box(*dialog).playing());
}

TEST_P(Trial, AFileThatCannotPlayIsToldWithItsReason) {
    openComicWithMedia();
    const auto dialog = make(GetParam());
    dialog->loadLine(lineOf(GetParam(), "chime.wav"));
    player().openFailure = MediaError{MediaFailure::Truncated};
    clickPlay(*dialog);
    player().openFailure.reset();
    player().playFailure = MediaError{MediaFailure::Unreadable, ENOENT};
    clickPlay(*dialog);
    EXPECT_EQ(
        prompter.messages(),
        (std::vector<std::string>{
            sj("「chime.wav」を再生できません。\nファイルが途中で切れています。"),
            sj("「chime.wav」を再生できません。\nファイルまたはフォルダが見つかりません。")}));
    EXPECT_FALSE(box(*dialog).playing());
    EXPECT_TRUE(child<QToolButton>(*dialog, "spdbtnPlay").isEnabled());
}

TEST_P(Trial, WithoutASoundDeviceTellsItOnceAndTheDialogStaysUsable) {
    openComicWithMedia();
    const auto dialog = make(GetParam());
    dialog->loadLine(lineOf(GetParam(), "chime.wav"));
    player().playFailure = MediaError{MediaFailure::NoDevice};
    clickPlay(*dialog);
    box(*dialog).spdbtnPlayClick();
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("サウンドデバイスが見つかりません")});
    EXPECT_EQ(prompter.records().back().kind, MessageKind::Warning);
    EXPECT_FALSE(child<QToolButton>(*dialog, "spdbtnPlay").isEnabled());
    EXPECT_EQ(player().calls, (std::vector<std::string>{"open", "play"}));
    dialog->btnOKClick();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->line(), lineOf(GetParam(), "chime.wav"));
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, Trial, testing::Values(Kind::Music, Kind::Sound),
                         [](const testing::TestParamInfo<Kind>& kind) {
                             return kind.param == Kind::Music ? "Music" : "Sound";
                         });

class FileChoice : public MediaDialog {
protected:
    static void clickChoose(TCommandDialog& dialog) {
        child<QToolButton>(dialog, "spdbtnFileNameSet").click();
    }
    static QString nameIn(TCommandDialog& dialog) {
        return child<QLineEdit>(dialog, "edtFileName").text();
    }
};

TEST_F(FileChoice, OffersItsKindFirstAndCopiesAFileFromElsewhereIntoTheDataFolder) {
    const fs::path media = openComicWithMedia();
    fs::create_directories(media);
    TfrmMusic dialog(context);
    prompter.queuePath(folder.write("elsewhere/森の歌.mid", "song"));
    clickChoose(dialog);
    ASSERT_EQ(prompter.records().size(), 1u);
    const FileChooser& music = prompter.records()[0].chooser;
    EXPECT_EQ(music.filter, "ＭＩＤＩファイル(*.mid);;すべてのファイル(*.*)");
    EXPECT_EQ(music.selectedFilter, 0);
    EXPECT_EQ(music.startIn, media);
    EXPECT_EQ(nameIn(dialog), QStringLiteral("森の歌.mid"));
    EXPECT_EQ(readFile(media / "森の歌.mid"), "song");

    TfrmSound sound(context);
    folder.write("media/chime.wav", "kept");
    prompter.queuePath(folder.write("elsewhere/chime.wav", "other"));
    clickChoose(sound);
    EXPECT_EQ(prompter.records()[1].chooser.filter,
              "サウンドファイル(*.wav);;すべてのファイル(*.*)");
    EXPECT_EQ(nameIn(sound), QStringLiteral("chime.wav"));
    EXPECT_EQ(readFile(media / "chime.wav"), "kept") << "never overwritten";

    prompter.queuePath(media / "chime.wav");
    sound.loadLine("");
    clickChoose(sound);
    EXPECT_EQ(nameIn(sound), QStringLiteral("chime.wav")) << "a file of the data folder itself";

    prompter.queuePath(std::nullopt);
    clickChoose(sound);
    EXPECT_EQ(nameIn(sound), QStringLiteral("chime.wav")) << "cancelled";
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(FileChoice, NeedsASavedComic) {
    TfrmSound dialog(context);
    clickChoose(dialog);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kSaveFirst)});
    EXPECT_EQ(prompter.records().size(), 1u) << "no chooser after the refusal";
}

TEST_F(FileChoice, AFailedCopyIsToldAndTheNameStaysAsItWas) {
    openComicWithMedia(); // its data folder does not exist
    TfrmSound dialog(context);
    dialog.loadLine(R"(Sound "old.wav",1,)");
    prompter.queuePath(folder.write("elsewhere/new.wav", "x"));
    clickChoose(dialog);
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(nameIn(dialog), QStringLiteral("old.wav"));
}

} // namespace
} // namespace pagora::test
