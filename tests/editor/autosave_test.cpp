#include "editor/autosave.h"
#include "editor/main_actions.h"
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QAction>
#include <QCoreApplication>
#include <QLockFile>
#include <QTest>
#include <chrono>
#include <sys/wait.h>
#include <unistd.h>

namespace pagora::test {
namespace {

using namespace std::chrono_literals;

const std::string kRestoreQuestion = "前回、保存されずに終了したデータがあります。\n復元しますか？";
const std::string kUnsavedLine = "// not saved yet";

class Autosave : public EditorTest {
protected:
    std::filesystem::path autosaveFolder() const { return services.autosaveFolder; }

    std::vector<std::filesystem::path> copies() const {
        std::vector<std::filesystem::path> found;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(autosaveFolder(), error))
            if (entry.path().extension() == ".autosave")
                found.push_back(entry.path());
        return found;
    }

    // An edit the file does not have: the first line of the first page and a
    // numeric variable.
    static void editUnsaved(TfrmMain& window) {
        TComicFileCtrl& comic = window.objects().comic;
        const std::string book = comic.GetBookList().at(0);
        comic.SetCommand(book, comic.GetPageList(book).at(0), kUnsavedLine, 0);
        comic.AddHeadBlock("ValueFlag");
        comic.WriteHeader("ValueFlag", "score", "5");
    }

    static std::string firstLine(TfrmMain& window) {
        TComicFileCtrl& comic = window.objects().comic;
        const std::string book = comic.GetBookList().at(0);
        return comic.GetCommand(book, comic.GetPageList(book).at(0), 0);
    }

    static void writeCopy(TfrmMain& window) {
        window.autosave().writeNow();
        window.autosave().waitForWrite();
        QCoreApplication::processEvents();
    }

    // An editor that ended without a question (a crash, a kill) after its
    // copy was written. Never shown, so that it offers no copy itself.
    void leaveCopyBehind(const std::optional<std::filesystem::path>& file) {
        const auto window = makeWindow(file);
        editUnsaved(*window);
        writeCopy(*window);
    }

    bool asked() const {
        for (const std::string& text : prompter.messages())
            if (toUtf8(text) == kRestoreQuestion)
                return true;
        return false;
    }
};

TEST_F(Autosave, WritesACopyBesideTheUsersDataOnlyWhileTheComicIsModified) {
    const std::filesystem::path file = writeSample();
    const std::string saved = readFile(file);
    const auto window = showWindow(file);
    writeCopy(*window);
    EXPECT_TRUE(copies().empty()) << "a clean comic has no copy";

    editUnsaved(*window);
    writeCopy(*window);
    writeCopy(*window);
    ASSERT_EQ(copies().size(), 1u) << "one copy per comic";
    EXPECT_EQ(copies()[0], window->autosave().ownCopy());
    EXPECT_NE(readFile(copies()[0]).find(kUnsavedLine), std::string::npos);
    EXPECT_EQ(readFile(file), saved) << "never over the comic itself";
    EXPECT_TRUE(window->isModified());
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(Autosave, TheTimerWritesTheCopy) {
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    window->autosave().setInterval(10ms);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !copies().empty(); }, 5000));
    window->autosave().waitForWrite();
}

TEST_F(Autosave, TheCopyIsWrittenBeforeThePlayerStarts) {
    settings.writeText("PlayerFile", folder.write("player.sh", "").string());
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    prompter.queueAnswer(Answer::No);
    window->actions().menuPlayerExecFirst->trigger();
    window->autosave().waitForWrite();
    EXPECT_EQ(launcher.plans.size(), 1u);
    ASSERT_EQ(copies().size(), 1u) << "No removes the old copy, the test run writes a new one";
    EXPECT_NE(readFile(copies()[0]).find(kUnsavedLine), std::string::npos);
}

TEST_F(Autosave, SavingAnsweringNoAndANormalExitRemoveTheCopy) {
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    writeCopy(*window);
    window->actions().menuFileSave->trigger();
    EXPECT_TRUE(copies().empty()) << "save";

    editUnsaved(*window);
    writeCopy(*window);
    prompter.queueAnswer(Answer::No);
    EXPECT_TRUE(window->QuerySave());
    EXPECT_TRUE(copies().empty()) << "No";

    writeCopy(*window);
    ASSERT_EQ(copies().size(), 1u);
    prompter.queueAnswer(Answer::No);
    window->actions().menuExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(copies().empty()) << "exit";
}

TEST_F(Autosave, ACancelledCloseKeepsTheCopy) {
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    writeCopy(*window);
    prompter.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(copies().size(), 1u);
}

TEST_F(Autosave, AfterACrashYesRestoresTheCopyAsTheModifiedComicUnderItsName) {
    const std::filesystem::path file = writeSample();
    const std::string saved = readFile(file);
    leaveCopyBehind(file);
    ASSERT_EQ(copies().size(), 1u);

    prompter.clear();
    prompter.queueAnswer(Answer::Yes);
    const auto window = showWindow();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(toUtf8(prompter.records()[0].text), kRestoreQuestion);

    EXPECT_EQ(window->file().fileName, file);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [story.csf] (変更)"));
    EXPECT_EQ(firstLine(*window), kUnsavedLine);
    EXPECT_EQ(window->objects().flags.ValueFlagCount(), 1) << "the variable table is reloaded";
    EXPECT_EQ(window->commandList().model()->rowCount(), 5);
    EXPECT_EQ(readFile(file), saved);

    // The restored copy is this editor's own now: saving removes it.
    ASSERT_EQ(copies().size(), 1u);
    EXPECT_EQ(window->autosave().ownCopy(), copies()[0]);
    window->SaveComicFile();
    EXPECT_TRUE(copies().empty());
    EXPECT_NE(readFile(file).find(kUnsavedLine), std::string::npos);
}

TEST_F(Autosave, AnUntitledComicsCopyIsRestoredUntitled) {
    leaveCopyBehind(std::nullopt);
    prompter.clear();
    prompter.queueAnswer(Answer::Yes);
    const auto window = showWindow();
    EXPECT_TRUE(asked());
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("パゴラ for Win95 - [NewComic] (変更)"));
    EXPECT_EQ(firstLine(*window), kUnsavedLine);

    window->autosave().writeNow();
    window->autosave().waitForWrite();
    EXPECT_EQ(copies().size(), 1u) << "the restored copy is written again, not a second one";
}

TEST_F(Autosave, NoDeletesTheCopy) {
    const std::filesystem::path file = writeSample();
    leaveCopyBehind(file);
    prompter.clear();
    prompter.queueAnswer(Answer::No);
    const auto window = showWindow();
    EXPECT_TRUE(asked());
    EXPECT_TRUE(window->file().isUntitled());
    EXPECT_FALSE(window->isModified());
    EXPECT_TRUE(copies().empty());
    EXPECT_TRUE(std::filesystem::is_empty(autosaveFolder())) << "its lock goes with it";
}

TEST_F(Autosave, TheLockOfAnEditorThatDiedDoesNotHideItsCopy) {
    const std::filesystem::path file = writeSample();
    leaveCopyBehind(file);
    const std::filesystem::path lockFile = copies().at(0).string() + ".lock";
    // A child process takes the copy's lock and dies holding it.
    const pid_t child = fork();
    if (child == 0) {
        QLockFile lock(pathText(lockFile));
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(std::filesystem::exists(lockFile));

    prompter.clear();
    prompter.queueAnswer(Answer::Yes);
    const auto window = showWindow();
    EXPECT_TRUE(asked());
    EXPECT_EQ(window->file().fileName, file);
    EXPECT_TRUE(window->isModified());
}

TEST_F(Autosave, ACopyOlderThanItsComicIsRemovedWithoutAsking) {
    const std::filesystem::path file = writeSample();
    leaveCopyBehind(file);
    ASSERT_EQ(copies().size(), 1u);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(copies()[0]) + 10s);
    prompter.clear();
    const auto window = showWindow();
    EXPECT_FALSE(asked());
    EXPECT_TRUE(copies().empty());
}

TEST_F(Autosave, TheCopyOfAnEditorThatStillRunsIsNotOffered) {
    const std::filesystem::path file = writeSample();
    const auto running = showWindow(file);
    editUnsaved(*running);
    writeCopy(*running);

    prompter.clear();
    const auto second = showWindow();
    EXPECT_FALSE(asked());
    EXPECT_EQ(copies().size(), 1u);

    // The same comic modified in both: each keeps a copy of its own.
    second->LoadComicFile(file);
    editUnsaved(*second);
    writeCopy(*second);
    EXPECT_EQ(copies().size(), 2u);
    EXPECT_NE(second->autosave().ownCopy(), running->autosave().ownCopy());
}

TEST_F(Autosave, SeveralCopiesAreOfferedNewestFirstUntilOneIsTaken) {
    const std::filesystem::path older = writeSample("older.csf");
    const std::filesystem::path newer = writeSample("newer.csf");
    leaveCopyBehind(older);
    const std::filesystem::path olderCopy = copies().at(0);
    leaveCopyBehind(newer);
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const std::filesystem::path& comic : {older, newer})
        std::filesystem::last_write_time(comic, now - 1h);
    std::filesystem::last_write_time(olderCopy, now - 1min);

    prompter.clear();
    prompter.queueAnswer(Answer::Yes);
    {
        const auto window = showWindow();
        EXPECT_EQ(prompter.messages().size(), 1u) << "nothing more is offered after a Yes";
        EXPECT_EQ(window->file().fileName, newer);
        window->objects().comic.History().markClean(); // the restored changes are given up
        window->close();
    }
    ASSERT_EQ(copies(), std::vector<std::filesystem::path>{olderCopy});

    prompter.clear();
    prompter.queueAnswer(Answer::No);
    const auto window = showWindow();
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_TRUE(copies().empty());
}

TEST_F(Autosave, AFailedCopyLeavesOneNoteAndNothingElse) {
    folder.write("autosave", "a file in the way of the folder");
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    writeCopy(*window);
    EXPECT_TRUE(
        window->statusPanel2().text().startsWith(QStringLiteral("自動保存できませんでした")))
        << window->statusPanel2().text().toStdString();
    window->UpdateStatus();
    writeCopy(*window);
    EXPECT_EQ(window->statusPanel2().text(),
              QStringLiteral("表示中のページ　：　第一章　／　はじまり"));
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_TRUE(window->isModified());
}

TEST_F(Autosave, AnEmptyFolderTurnsTheCopiesOff) {
    services.autosaveFolder.clear();
    const auto window = showWindow(writeSample());
    editUnsaved(*window);
    writeCopy(*window);
    EXPECT_TRUE(window->autosave().ownCopy().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "autosave"));
}

} // namespace
} // namespace pagora::test
