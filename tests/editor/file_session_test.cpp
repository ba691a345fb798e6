#include "commands/command_chooser.h"
#include "editor/command_palette.h"
#include "editor/main_actions.h"
#include "editor_fixture.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

const std::string kSaveQuestion = "ファイルは変更されています\n保存しますか？";

class FileSession : public EditorTest {};

TEST_F(FileSession, StartsWithoutSettingsAsAnUntitledComicAndRunsTheSetupOnce) {
    const auto window = showWindow();
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [NewComic] "));
    EXPECT_EQ(settings.readInt("Version", 0), 1410);
    EXPECT_EQ(settings.readInt("SetupVersion", 0), 6);
    EXPECT_EQ(setupRuns, std::vector<SetupRun>{SetupRun::StartUp});
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), "Pagora User");
    EXPECT_EQ(toUtf8(window->file().currentBook), "スタートブック");
    EXPECT_EQ(toUtf8(window->file().currentPage), "スタートページ");
    EXPECT_TRUE(prompter.records().empty());

    window->hide();
    window->show();
    EXPECT_EQ(setupRuns.size(), 1u) << "the setup runs at the first show only";
}

TEST_F(FileSession, AnUpgradedSettingsVersionRunsTheAutomaticUpdate) {
    settings.writeInt("Version", 1000);
    settings.writeInt("SetupVersion", 6);
    const auto window = showWindow();
    EXPECT_EQ(setupRuns, std::vector<SetupRun>{SetupRun::AutomaticUpdate});
}

TEST_F(FileSession, TheCommandChooserStepsAsideForTheSetupAndComesBackWhenClosed) {
    std::vector<bool> chooserShownDuringSetup;
    services.runSetup = [&](SetupRun, bool, UserSettings&, QWidget*) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("TfrmCommand"))
                chooserShownDuringSetup.push_back(window->isVisible());
        return SetupOutcome::Continue;
    };
    const auto window = showWindow();
    EXPECT_EQ(chooserShownDuringSetup, std::vector<bool>{false});
    TfrmCommand& chooser = window->commandChooser();
    EXPECT_TRUE(chooser.isVisible());

    chooser.close();
    EXPECT_FALSE(chooser.isVisible());
    window->RefreshCommandList(-1);
    EXPECT_TRUE(chooser.isVisible()) << "the next status update shows it again";
}

TEST_F(FileSession, OpensTheFileNamedAtStartWithoutTouchingTheHistory) {
    const std::filesystem::path file = writeSample();
    const auto window = showWindow(file);
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [story.csf] "));
    EXPECT_EQ(window->file().currentBook, sj("第一章"));
    EXPECT_EQ(window->file().currentPage, sj("はじまり"));
    EXPECT_EQ(window->user().fileHistory[0], "");
}

TEST_F(FileSession, AForeignFileTypeIsDiscardedOnAbortAndKeptOnIgnore) {
    const std::filesystem::path file = writeComic(
        "foreign.csf", {"<Head=\"Comic\">", "FileType=OTHER", "<Head End>", "<Book=\"B\">",
                        "<Page=\"P\">", "// x", "<Page End>", "<Book End>"});
    prompter.queueAnswer(Answer::Abort);
    {
        const auto window = makeWindow(file);
        ASSERT_EQ(prompter.records().size(), 1u);
        EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
        EXPECT_EQ(prompter.records()[0].buttons, Buttons::AbortIgnore);
        EXPECT_EQ(toUtf8(prompter.records()[0].text),
                  "ファイルタイプが違います。\nこのファイルは正常に編集できないかもしれません");
        EXPECT_TRUE(window->file().isUntitled());
        EXPECT_TRUE(window->objects().comic.BookExists(sj("スタートブック")));
        EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), "Pagora User");
    }
    prompter.clear();
    prompter.queueAnswer(Answer::Ignore);
    const auto window = makeWindow(file);
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_TRUE(window->objects().comic.BookExists("B"));
}

TEST_F(FileSession, ANewerCommandVersionKeptWithIgnoreIsStampedCurrentOnSave) {
    const std::filesystem::path file =
        writeComic("newer.csf", sampleComicLines({"Copyright=Someone"}));
    {
        std::string bytes = readFile(file);
        const std::size_t at = bytes.find("CmdVer=15");
        bytes.replace(at, 9, "CmdVer=16");
        folder.write("newer.csf", bytes);
    }
    prompter.queueAnswer(Answer::Ignore);
    const auto window = showWindow(file);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(toUtf8(prompter.messages()[0]),
              "このファイルには現バージョンで編集できない\nコマンドが含まれている可能性があります\n"
              "無理に編集するとファイルを壊してしまうかも知れません");
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "CmdVer", ""), "16");
    window->SaveComicFile();
    EXPECT_NE(readFile(file).find("CmdVer=15"), std::string::npos);
    EXPECT_EQ(readFile(file).find("CmdVer=16"), std::string::npos);
}

TEST_F(FileSession, AnUnreadableStartFileIsReportedAndAnUntitledComicOpens) {
    const auto window = showWindow(folder.path() / "missing.csf");
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("missing.csf")))
        << errorBoxes[0].toStdString();
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_EQ(window->user().userName, "Pagora User");
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), "Pagora User");
    EXPECT_GT(window->commandList().model()->rowCount(), 0);
}

TEST_F(FileSession, QuerySaveAsksOnlyWhenModifiedAndFollowsTheAnswer) {
    const std::filesystem::path file = writeSample();
    const auto window = showWindow(file);
    const std::string before = readFile(file);
    EXPECT_TRUE(window->QuerySave());
    EXPECT_TRUE(prompter.records().empty());

    window->objects().comic.History().forgetCleanPoint();
    prompter.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->QuerySave());
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(toUtf8(prompter.records()[0].text), kSaveQuestion);

    prompter.queueAnswer(Answer::No);
    EXPECT_TRUE(window->QuerySave());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(readFile(file), before);

    window->objects().comic.SetCommand(sj("第一章"), sj("はじまり"), "// saved", 0);
    prompter.queueAnswer(Answer::Yes);
    EXPECT_TRUE(window->QuerySave());
    EXPECT_FALSE(window->isModified());
    EXPECT_NE(readFile(file).find("// saved"), std::string::npos);
}

TEST_F(FileSession, NewAsksFirstAndStartsAnUntitledComic) {
    const auto window = showWindow(writeSample());
    window->objects().comic.History().forgetCleanPoint();
    prompter.queueAnswer(Answer::Cancel);
    window->actions().menuNewFile->trigger();
    EXPECT_FALSE(window->file().isUntitled());

    prompter.queueAnswer(Answer::No);
    window->actions().menuNewFile->trigger();
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), "Pagora User");
    EXPECT_EQ(window->file().currentBook, sj("スタートブック"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [NewComic] "));
}

TEST_F(FileSession, SaveOfAnUntitledComicGoesThroughSaveAs) {
    const auto window = showWindow();
    window->objects().comic.History().forgetCleanPoint();
    window->actions().menuFileSave->trigger(); // the save dialog is cancelled
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].call, Call::SaveFile);
    EXPECT_EQ(prompter.records()[0].text, "コミックファイルを保存");
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [NewComic] (変更)"));

    const std::filesystem::path target = folder.path() / "saved.csf";
    prompter.queuePath(target);
    window->actions().menuFileSave->trigger();
    EXPECT_EQ(window->file().fileName, target);
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [saved.csf] "));
    EXPECT_EQ(window->user().fileHistory[0], target.string());
    const std::string saved = readFile(target);
    EXPECT_EQ(saved.rfind("/// Interactive Pagora for Win95\r\n", 0), 0u);
    EXPECT_NE(saved.find("FileType=PGR95\r\n"), std::string::npos);
    EXPECT_NE(saved.find("CmdVer=15\r\n"), std::string::npos);
}

// An action that waits for the save question, and whether it went on.
struct PendingAction {
    const char* name;
    std::function<void(TfrmMain&)> start;
    std::function<bool(TfrmMain&, const RecordingLauncher&)> wentOn;
};

void PrintTo(const PendingAction& action, std::ostream* out) {
    *out << action.name;
}

bool leftTheComic(TfrmMain& window, const RecordingLauncher&) {
    return !window.isModified();
}

const PendingAction kPendingActions[] = {
    {"new", [](TfrmMain& w) { w.actions().menuNewFile->trigger(); }, &leftTheComic},
    {"open", [](TfrmMain& w) { w.actions().menuFileOpen->trigger(); }, &leftTheComic},
    {"history", [](TfrmMain& w) { w.actions().menuHistory[0]->trigger(); }, &leftTheComic},
    {"close", [](TfrmMain& w) { w.close(); },
     [](TfrmMain& w, const RecordingLauncher&) {
         return !w.isVisible();
     }},
    {"player", [](TfrmMain& w) { w.actions().menuPlayerExecFirst->trigger(); },
     [](TfrmMain&, const RecordingLauncher& l) {
         return !l.plans.empty();
     }},
};

class PendingActionAfterYes : public EditorTest,
                              public ::testing::WithParamInterface<PendingAction> {
protected:
    // A modified comic, another file in the history and as the answer of the
    // open dialog, a player, and a Yes queued for the save question.
    std::unique_ptr<TfrmMain> modifiedWindow(const std::optional<std::filesystem::path>& file) {
        settings.writeText("PlayerFile", folder.write("player.sh", "").string());
        const std::filesystem::path other = writeSample("other.csf");
        auto window = showWindow(file);
        window->AddFileHistory(other);
        window->objects().comic.History().forgetCleanPoint();
        prompter.queueAnswer(Answer::Yes);
        if (!file)
            prompter.queuePath(std::nullopt); // Save As is cancelled
        prompter.queuePath(other);
        return window;
    }
    bool wentOn(TfrmMain& window) const { return GetParam().wentOn(window, launcher); }
};

TEST_P(PendingActionAfterYes, StopsWhenSaveAsIsCancelled) {
    if (std::string_view(GetParam().name) == "player")
        GTEST_SKIP() << "an untitled comic never reaches the player's save question";
    const auto window = modifiedWindow(std::nullopt);
    GetParam().start(*window);
    EXPECT_FALSE(wentOn(*window));
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(prompter.records().back().call, Call::SaveFile) << "nothing is asked after it";
}

TEST_P(PendingActionAfterYes, StopsWhenTheSaveFailsAndShowsWhy) {
    const std::filesystem::path file = writeSample();
    const auto window = modifiedWindow(file);
    // A folder in the way of the file makes the save fail.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    GetParam().start(*window);
    EXPECT_FALSE(wentOn(*window));
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("story.csf"))) << errorBoxes[0].toStdString();
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(prompter.records().back().call, Call::Message) << "nothing is asked after it";
}

TEST_P(PendingActionAfterYes, GoesOnOnceTheComicIsSaved) {
    const std::filesystem::path file = writeSample();
    const auto window = modifiedWindow(file);
    GetParam().start(*window);
    EXPECT_TRUE(wentOn(*window));
    EXPECT_TRUE(errorBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(EachAction, PendingActionAfterYes, ::testing::ValuesIn(kPendingActions),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(FileSession, AFailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    const std::filesystem::path file = writeSample();
    const std::string before = readFile(file);
    const auto window = showWindow(file);
    window->objects().comic.SetCommand(sj("第一章"), sj("はじまり"), "// " + std::string(4096, 'x'),
                                       0);
    window->objects().comic.History().forgetCleanPoint();

    // The file system refuses files over 64 bytes while the save runs.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    window->actions().menuFileSave->trigger();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("story.csf"))) << errorBoxes[0].toStdString();
    EXPECT_EQ(readFile(file), before);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_EQ(window->user().fileHistory[0], "");
}

TEST_F(FileSession, AFailedSaveAsLeavesTheComicUntitled) {
    const auto window = showWindow();
    window->objects().comic.History().forgetCleanPoint();
    prompter.queuePath(folder.path() / "no-such-folder" / "x.csf");
    window->actions().menuFileSaveName->trigger();
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->user().fileHistory[0], "");
}

TEST_F(FileSession, OpeningAnUnreadableFileChangesNothing) {
    const std::filesystem::path file = writeSample();
    const auto window = showWindow(file);
    window->objects().comic.History().forgetCleanPoint();
    prompter.queueAnswer(Answer::No);
    prompter.queuePath(folder.path() / "gone.csf");
    window->actions().menuFileOpen->trigger();
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0], QStringLiteral("ファイル「") + pathText(folder.path() / "gone.csf") +
                                 QStringLiteral("」を開けません。\n"
                                                "ファイルまたはフォルダが見つかりません。"));
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->user().fileHistory[0], "");
    EXPECT_TRUE(window->objects().comic.BookExists(sj("第二章")));
}

TEST_F(FileSession, HistoryKeepsOneEntryPerFileNameAndShowsFilledItems) {
    const std::filesystem::path first = writeSample("a/story.csf");
    const std::filesystem::path second = writeSample("b/STORY.csf");
    const std::filesystem::path third = writeSample("c/other.csf");
    const auto window = showWindow();
    MainActions& actions = window->actions();
    EXPECT_FALSE(actions.menuHistoryLine->isVisible());
    EXPECT_FALSE(actions.menuHistory[0]->isVisible());

    window->LoadComicFile(first);
    EXPECT_TRUE(actions.menuHistoryLine->isVisible());
    EXPECT_TRUE(actions.menuHistory[0]->isVisible());
    EXPECT_FALSE(actions.menuHistory[1]->isVisible());
    EXPECT_EQ(actions.menuHistory[0]->text(), QStringLiteral("&1 story.csf"));

    window->LoadComicFile(third);
    window->LoadComicFile(second);
    EXPECT_EQ(window->user().fileHistory, (FileHistory{second.string(), third.string(), ""}));
    EXPECT_EQ(actions.menuHistory[0]->text(), QStringLiteral("&1 STORY.csf"));
    EXPECT_EQ(actions.menuHistory[1]->text(), QStringLiteral("&2 other.csf"));
    EXPECT_TRUE(actions.menuHistory[1]->isVisible());
}

TEST_F(FileSession, ChoosingAHistoryItemOpensItsFileAfterTheSaveQuestion) {
    const std::filesystem::path story = writeSample("story.csf");
    const std::filesystem::path other = writeSample("other.csf");
    const auto window = showWindow();
    window->LoadComicFile(story);
    window->LoadComicFile(other);
    window->objects().comic.History().forgetCleanPoint();

    prompter.queueAnswer(Answer::Cancel);
    window->actions().menuHistory[1]->trigger();
    EXPECT_EQ(window->file().fileName, other);

    prompter.queueAnswer(Answer::No);
    window->actions().menuHistory[1]->trigger();
    EXPECT_EQ(window->file().fileName, story);
    EXPECT_EQ(window->user().fileHistory, (FileHistory{story.string(), other.string(), ""}));
}

TEST_F(FileSession, AHistoryItemOpensTheFileItShowedEvenWhenTheSaveReordersTheHistory) {
    const std::filesystem::path story = writeSample("story.csf");
    const std::filesystem::path other = writeSample("other.csf");
    const auto window = showWindow();
    window->LoadComicFile(story);
    window->LoadComicFile(other);
    window->menuNewFileClick();
    window->objects().comic.History().forgetCleanPoint();
    // Item 2 shows story.csf; saving the new comic as fresh.csf pushes it to item 3.
    prompter.queueAnswer(Answer::Yes);
    prompter.queuePath(folder.path() / "fresh.csf");
    window->actions().menuHistory[1]->trigger();
    EXPECT_EQ(window->file().fileName, story);
}

TEST_F(FileSession, StatusShowsTheFocusedLineAndTheOpenPage) {
    const auto window = showWindow(writeSample());
    EXPECT_EQ(window->statusPanel1().text(), QStringLiteral("0行目"));
    EXPECT_EQ(window->statusPanel2().text(),
              QStringLiteral("表示中のページ　：　第一章　／　はじまり"));
    window->OpenPage(sj("第二章"), sj("居間"), 7);
    EXPECT_EQ(window->statusPanel1().text(), QStringLiteral("7行目"));
    EXPECT_EQ(window->statusPanel2().text(),
              QStringLiteral("表示中のページ　：　第二章　／　居間"));

    // An edit shows in the title at the next status update.
    window->objects().comic.History().forgetCleanPoint();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [story.csf] "));
    window->UpdateStatus();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [story.csf] (変更)"));
}

TEST_F(FileSession, HintsGoToTheSecondStatusPanelUntilTheNextUpdate) {
    const auto window = showWindow(writeSample());
    QStatusTipEvent hint(QStringLiteral("コミックファイルを開きます"));
    QCoreApplication::sendEvent(window.get(), &hint);
    EXPECT_EQ(window->statusPanel2().text(), QStringLiteral("コミックファイルを開きます"));
    QStatusTipEvent leaving{QString()};
    QCoreApplication::sendEvent(window.get(), &leaving);
    EXPECT_EQ(window->statusPanel2().text(), QStringLiteral("コミックファイルを開きます"));
    window->UpdateStatus();
    EXPECT_EQ(window->statusPanel2().text(),
              QStringLiteral("表示中のページ　：　第一章　／　はじまり"));
}

TEST_F(FileSession, ExitAsksTheSaveQuestionsAsClosingDoes) {
    const auto window = showWindow(writeSample());
    window->commandPalette().AddPaletteEntry("// x", sj("メモ"));
    window->objects().comic.History().forgetCleanPoint();
    prompter.queueAnswer(Answer::Cancel);
    prompter.queueAnswer(Answer::No); // the palette's question
    window->actions().menuExit->trigger();
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the program running";
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(toUtf8(prompter.messages()[0]), kSaveQuestion);
    EXPECT_EQ(toUtf8(prompter.messages()[1]), "コマンドパレットを保存しますか？");

    prompter.queueAnswer(Answer::No);
    prompter.queueAnswer(Answer::No);
    window->actions().menuExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.messages().size(), 4u);
}

TEST_F(FileSession, ExitWritesBackOnlyTheValuesThatStillExist) {
    {
        const auto window = showWindow(writeSample());
        window->resize(700, 500);
        window->user().userName = "花子";
        settings.eraseAll();
        settings.writeText("UserName", "old");
    }
    EXPECT_EQ(settings.readText("UserName", ""), "花子");
    for (const char* name :
         {"MainFormPosWidth", "TreeBorder", "PlayerFile", "FileHistory1", "ShowCmdIcon", "Version"})
        EXPECT_FALSE(settings.contains(name)) << name;

    {
        const auto window = showWindow();
        window->resize(700, 500);
        window->LoadComicFile(writeSample("again.csf"));
    }
    EXPECT_EQ(settings.readInt("MainFormPosWidth", 0), 700);
    EXPECT_EQ(settings.readInt("MainFormPosHeight", 0), 500);
    EXPECT_EQ(settings.readText("FileHistory1", ""), (folder.path() / "again.csf").string());
}

} // namespace
} // namespace pagora::test
