#include "editor/main_actions.h"
#include "editor/program_launcher.h"
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QAction>
#include <QThread>
#include <chrono>
#include <fstream>

namespace pagora::test {
namespace {

class Player : public EditorTest {
protected:
    std::filesystem::path makePlayer(const std::string& name) {
        const std::filesystem::path player = folder.write(name, "");
        settings.writeText("PlayerFile", player.string());
        return player;
    }
};

TEST_F(Player, AnUntitledComicMustBeSavedFirst) {
    makePlayer("PagoraPl.exe");
    const auto window = showWindow();
    window->actions().menuPlayerExecFirst->trigger();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(toUtf8(prompter.records()[0].text),
              "この機能を使うためには\nファイルを一度セーブする必要があります");
    EXPECT_TRUE(launcher.plans.empty());
}

TEST_F(Player, AMissingPlayerIsReported) {
    settings.writeText("PlayerFile", (folder.path() / "nowhere" / "PagoraPl.exe").string());
    const auto window = showWindow(writeSample());
    window->actions().menuPlayerExecFirst->trigger();
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(toUtf8(prompter.messages()[0]), "パゴラプレーヤーが見つかりません");
    EXPECT_TRUE(launcher.plans.empty());
}

TEST_F(Player, RunsOnTheFileAsSavedWhenTheUserDoesNotSave) {
    const std::filesystem::path player = makePlayer("player.sh");
    const std::filesystem::path comic = writeSample("my story 物語.csf");
    const std::string saved = readFile(comic);
    const auto window = showWindow(comic);
    window->objects().comic.SetCommand(sj("第一章"), sj("はじまり"), "// unsaved", 0);
    window->objects().comic.History().forgetCleanPoint();

    prompter.queueAnswer(Answer::Cancel);
    window->actions().menuPlayerExecFirst->trigger();
    EXPECT_TRUE(launcher.plans.empty());

    prompter.queueAnswer(Answer::No);
    window->actions().menuPlayerExecFirst->trigger();
    ASSERT_EQ(launcher.plans.size(), 1u);
    EXPECT_EQ(launcher.plans[0].program, pathText(player));
    EXPECT_EQ(launcher.plans[0].arguments, QStringList(pathText(comic)));
    EXPECT_EQ(launcher.plans[0].workingFolder, pathText(folder.path()));
    EXPECT_EQ(readFile(comic), saved);
    EXPECT_TRUE(window->isModified());
}

TEST_F(Player, AWindowsPlayerRunsThroughWineWithAWindowsPath) {
    const std::filesystem::path player = makePlayer("PagoraPl.EXE");
    const std::filesystem::path comic = writeSample("story.csf");
    wineProgram = QStringLiteral("/usr/bin/wine");
    const auto window = showWindow(comic);
    window->actions().menuPlayerExecFirst->trigger();
    ASSERT_EQ(launcher.plans.size(), 1u);
    EXPECT_EQ(launcher.plans[0].program, QStringLiteral("/usr/bin/wine"));
    QString windowsPath = pathText(comic);
    windowsPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(launcher.plans[0].arguments,
              QStringList({pathText(player), QStringLiteral("Z:") + windowsPath}));
    EXPECT_EQ(launcher.plans[0].workingFolder, pathText(folder.path()));

    // Without Wine the program is started as it is.
    EXPECT_EQ(planPlayerLaunch(player, comic, QString()).program, pathText(player));
    EXPECT_EQ(planPlayerLaunch("/opt/player", comic, QStringLiteral("/usr/bin/wine")).program,
              QStringLiteral("/opt/player"));
}

TEST_F(Player, APlayerThatCannotStartIsReported) {
    makePlayer("PagoraPl.exe");
    launcher.startResult = false;
    const auto window = showWindow(writeSample());
    window->actions().menuPlayerExecFirst->trigger();
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(toUtf8(prompter.messages()[0]), "パゴラプレーヤーを起動できません");
}

std::string waitForFile(const std::filesystem::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ignored;
        if (std::filesystem::file_size(path, ignored) > 0) {
            QThread::msleep(50); // let the script finish writing
            return readFile(path);
        }
        QThread::msleep(20);
    }
    return {};
}

TEST_F(Player, TheStartedProgramGetsTheComicsPathInItsFolder) {
    const std::filesystem::path record = folder.path() / "record.txt";
    const std::filesystem::path player = folder.write(
        "bin/player.sh", "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '" +
                             record.string() + ".part'\nmv '" + record.string() + ".part' '" +
                             record.string() + "'\n");
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);
    settings.writeText("PlayerFile", player.string());
    const std::filesystem::path comic = writeSample("comics/my story.csf");

    QtProgramLauncher realLauncher;
    EditorServices real{services,
                        clock,
                        random,
                        realLauncher,
                        services.programFolder,
                        services.findWine,
                        services.runSetup,
                        services.autosaveFolder,
                        services.makeMediaPlayer};
    TfrmMain window(real, comic);
    window.actions().menuPlayerExecFirst->trigger();
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_EQ(waitForFile(record),
              (folder.path() / "comics").string() + "\n[" + comic.string() + "]\n");
}

} // namespace
} // namespace pagora::test
