// The preview's player over a small comic: sounds that wait, a machine
// without sound, music that repeats and stops, and the copy of the comic it
// plays.
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "preview/preview_player.h"
#include "support/comic_text.h"
#include "support/recording_media_player.h"
#include "support/temp_folder.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace pagora {
namespace {

using Log = test::RecordingMediaPlayer::Log;

class PreviewPlayerTest : public testing::Test {
protected:
    // Plays a page of these lines, with the files a.wav and m.mid beside the comic.
    std::unique_ptr<PreviewPlayer> play(std::initializer_list<std::string_view> pageLines) {
        std::vector<std::string> lines{"<Book=\"本\">", "<Page=\"頁\">"};
        lines.insert(lines.end(), pageLines.begin(), pageLines.end());
        lines.insert(lines.end(), {"<Page End>", "<Book End>"});
        comic.LoadFromBytes(test::comicFileBytes(lines));
        folder.write("a.wav", "RIFF");
        folder.write("m.mid", "MThd");
        auto player = std::make_unique<PreviewPlayer>(
            PreviewSource{comic, folder.path() / "c.csf", false, {}, [this] {
                              logs.push_back(std::make_shared<Log>());
                              return std::make_unique<test::RecordingMediaPlayer>(logs.back());
                          }});
        QObject::connect(player.get(), &PreviewPlayer::noted,
                         [this](const QString& note) { notes.push_back(note); });
        return player;
    }
    Log& music() { return *logs.at(0); }
    Log& sound() { return *logs.at(1); }

    const std::string book = toCp932("本");
    const std::string page = toCp932("頁");
    test::TempFolder folder;
    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    std::vector<std::shared_ptr<Log>> logs;
    QStringList notes;
};

TEST_F(PreviewPlayerTest, ASoundThatWaitsGoesOnWhenItStopsOrAtAClick) {
    const auto player = play({"Sound \"a.wav\",1,", "Sound \"a.wav\",1,", "MouseClick 0,"});
    player->start(book, page);
    EXPECT_EQ(player->place().line, 0);
    EXPECT_TRUE(sound().playing);
    sound().finish();
    EXPECT_EQ(player->place().line, 1);
    player->click(5, 5);
    EXPECT_EQ(player->place().line, 2);
    EXPECT_FALSE(sound().playing);
    EXPECT_TRUE(notes.isEmpty());
}

TEST_F(PreviewPlayerTest, WithoutSoundPlayGoesOnAtOnceAndSaysSoOnce) {
    const auto player = play({"Sound \"a.wav\",1,", "Music \"m.mid\",0,", "Sound \"a.wav\",1,",
                              "Sound \"missing.wav\",1,", "MouseClick 0,"});
    sound().openFailure = MediaError{MediaFailure::NoDevice};
    music().openFailure = MediaError{MediaFailure::NoDevice};
    player->start(book, page);
    EXPECT_EQ(player->place().line, 4);
    EXPECT_EQ(notes,
              QStringList({QStringLiteral("サウンドデバイスが見つかりません（音なしで続けます）"),
                           QStringLiteral("ファイルが見つかりません: missing.wav")}));
}

TEST_F(PreviewPlayerTest, MusicRepeatsItsCountAndStopsWithThePreview) {
    const auto player = play({"Music \"m.mid\",2,", "MouseClick 0,"});
    player->start(book, page);
    EXPECT_TRUE(music().playing);
    music().finish();
    EXPECT_TRUE(music().playing); // the second time
    music().finish();
    EXPECT_FALSE(music().playing);
    player->stop();
    EXPECT_TRUE(player->ended());
}

TEST_F(PreviewPlayerTest, MusicWithoutACountRepeatsUntilThePreviewStops) {
    const auto endless = play({"Music \"m.mid\",0,", "MouseClick 0,"});
    endless->start(book, page);
    for (int time = 0; time < 3; ++time)
        music().finish();
    EXPECT_TRUE(music().playing);
    endless->stop();
    EXPECT_FALSE(music().playing);
}

TEST_F(PreviewPlayerTest, AFaultThatEndsPlaySaysWhich) {
    const auto player = play({"PageJump \"本\",\"ない\",0,", "MouseClick 0,"});
    bool ended = false;
    QObject::connect(player.get(), &PreviewPlayer::playEnded, [&] { ended = true; });
    player->start(book, page);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(player->ended());
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].startsWith(QStringLiteral("エラー: "))) << notes[0].toStdString();
    EXPECT_EQ(notes[1], QStringLiteral("プレビューを終了しました（%1）").arg(notes[0]));
}

TEST_F(PreviewPlayerTest, PlaysTheComicAsItWasWhenItStarted) {
    const auto player = play({"MouseClick 0,", "MouseClick 0,"});
    player->start(book, page);
    comic.DeleteCommand(book, page, 1);
    player->click(5, 5);
    EXPECT_EQ(player->place().line, 1);
    EXPECT_FALSE(player->ended());
    EXPECT_EQ(comic.GetCommandCount(book, page), 1);
}

} // namespace
} // namespace pagora
