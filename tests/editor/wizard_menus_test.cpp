#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QCoreApplication>
#include <QDialog>
#include <QListWidget>

namespace pagora::test {
namespace {

class WizardMenus : public EditorTest {
protected:
    // Settings of a setup done before, so that the first show runs none.
    void setUpDone() {
        settings.writeInt("Version", 1410);
        settings.writeInt("SetupVersion", 6);
    }
};

TEST_F(WizardMenus, ThePackageNeedsASavedComicAndGathersWithItsDataFolder) {
    setUpDone();
    const auto window = showWindow();
    QStringList shown;
    modal = [&](QDialog& dialog) {
        shown << dialog.objectName();
        auto& list = child<QListWidget>(dialog, "lstLinkFile");
        for (int row = 0; row < list.count(); ++row)
            shown << list.item(row)->text();
        return 0;
    };
    window->actions().menuPackageMake->trigger();
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{
                  sj("この機能を使うためには\nファイルを一度セーブする必要があります")});
    EXPECT_TRUE(shown.isEmpty());

    std::vector<std::string> lines = sampleComicLines({"DataDirectory=pict"});
    lines.insert(std::ranges::find(lines, std::string("<Page=\"次\">")) + 1,
                 "Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,");
    folder.write("pict/a.bmp", "BM");
    window->LoadComicFile(writeComic("story.csf", lines));
    prompter.clear();
    window->actions().menuPackageMake->trigger();
    EXPECT_EQ(shown, QStringList({"TfrmLinkage", "[lz] a.bmp"}));
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(WizardMenus, TheSetupAtTheFirstStartChangesTheUsersSettingsAndTheNewComicsAuthor) {
    services.runSetup = [this](SetupRun run, bool setupNotDue, UserSettings& user, QWidget*) {
        setupRuns.push_back(run);
        EXPECT_FALSE(setupNotDue);
        user.userName = "太郎";
        return SetupOutcome::Continue;
    };
    const auto window = showWindow();
    EXPECT_EQ(setupRuns, std::vector<SetupRun>{SetupRun::StartUp});
    EXPECT_EQ(window->user().userName, "太郎");
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), sj("太郎"));
    EXPECT_FALSE(window->isModified());
}

TEST_F(WizardMenus, TheSetupFromTheMenuEndsTheEditorOnceItErasedTheSettings) {
    setUpDone();
    const auto window = showWindow();
    window->actions().menuSetupWiz->trigger();
    EXPECT_EQ(setupRuns, std::vector<SetupRun>{SetupRun::Menu});
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());

    setupOutcome = SetupOutcome::EndProgram;
    window->actions().menuSetupWiz->trigger();
    EXPECT_TRUE(window->isVisible()) << "it ends from the event loop";
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace pagora::test
