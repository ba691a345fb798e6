#include "gui/dialog_context.h"
#include "editor/editor_settings.h"
#include "editor/file_history.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

const std::filesystem::path kProgramFolder = "/opt/pagora";

TEST(EditorSettings, FirstStartCreatesEveryValueWithItsDefaultAndMakesTheSetupDue) {
    MemorySettingsStore settings;
    UserSettings session;
    const SettingsAtStart found = readSettingsAtStart(settings, session, kProgramFolder);
    const WindowGeometry& geometry = found.geometry;

    EXPECT_TRUE(found.setupDue);
    EXPECT_FALSE(found.settingsUpgraded);
    EXPECT_EQ(settings.readInt("Version", 0), 1410);
    EXPECT_EQ(settings.readText("Title", ""), "Interactive Pagora for Win95");
    EXPECT_EQ(settings.readInt("MainFormPosTop", -1), 0);
    EXPECT_EQ(settings.readInt("MainFormPosLeft", -1), 0);
    EXPECT_EQ(settings.readInt("MainFormPosWidth", 0), 520);
    EXPECT_EQ(settings.readInt("MainFormPosHeight", 0), 320);
    EXPECT_EQ(settings.readInt("TreeBorder", 0), 145);
    EXPECT_EQ(settings.readText("PlugInDir", ""), "/opt/pagora/");
    EXPECT_EQ(settings.readText("PlayerFile", ""), "/opt/pagora/PagoraPl.exe");
    EXPECT_EQ(settings.readText("UserName", ""), "Pagora User");
    EXPECT_EQ(settings.value("PlugInUse"), "0");
    EXPECT_EQ(settings.value("ShowCmdIcon"), "1");
    for (const char* name : {"FileHistory1", "FileHistory2", "FileHistory3"}) {
        EXPECT_TRUE(settings.contains(name)) << name;
        EXPECT_EQ(settings.readText(name, "x"), "") << name;
    }
    EXPECT_EQ(settings.readInt("SetupVersion", 0), 6);

    EXPECT_EQ(geometry.width, 520);
    EXPECT_EQ(geometry.height, 320);
    EXPECT_EQ(geometry.treeBorder, 145);
    EXPECT_EQ(session.userName, "Pagora User");
    EXPECT_EQ(session.playerFile, "/opt/pagora/PagoraPl.exe");
    EXPECT_FALSE(session.usePlugIns);
    EXPECT_TRUE(session.showCmdIcon);
}

TEST(EditorSettings, ASecondStartReadsWhatIsThereAndAsksForNothing) {
    MemorySettingsStore settings;
    UserSettings first;
    readSettingsAtStart(settings, first, kProgramFolder);
    settings.writeInt("MainFormPosLeft", 33);
    settings.writeInt("TreeBorder", 200);
    settings.writeText("UserName", "花子");
    settings.writeFlag("PlugInUse", true);
    settings.writeFlag("ShowCmdIcon", false);
    settings.writeText("FileHistory2", "/home/a/b.csf");

    UserSettings session;
    const SettingsAtStart found = readSettingsAtStart(settings, session, "/elsewhere");
    const WindowGeometry& geometry = found.geometry;
    EXPECT_FALSE(found.setupDue);
    EXPECT_FALSE(found.settingsUpgraded);
    EXPECT_EQ(geometry.left, 33);
    EXPECT_EQ(geometry.treeBorder, 200);
    EXPECT_EQ(session.userName, "花子");
    EXPECT_TRUE(session.usePlugIns);
    EXPECT_FALSE(session.showCmdIcon);
    EXPECT_EQ(session.fileHistory[1], "/home/a/b.csf");
    EXPECT_EQ(session.plugInDir, "/opt/pagora/");
}

TEST(EditorSettings, OlderVersionsAskForTheUpdateOrTheSetup) {
    MemorySettingsStore settings;
    settings.writeInt("Version", 1300);
    settings.writeInt("SetupVersion", 6);
    UserSettings user;
    const SettingsAtStart upgraded = readSettingsAtStart(settings, user, kProgramFolder);
    EXPECT_TRUE(upgraded.settingsUpgraded);
    EXPECT_FALSE(upgraded.setupDue);
    EXPECT_EQ(settings.readInt("Version", 0), 1410);

    settings.writeInt("SetupVersion", 5);
    const SettingsAtStart oldSetup = readSettingsAtStart(settings, user, kProgramFolder);
    EXPECT_FALSE(oldSetup.settingsUpgraded);
    EXPECT_TRUE(oldSetup.setupDue);
    EXPECT_EQ(settings.readInt("SetupVersion", 0), 6);
}

TEST(EditorSettings, ExitWritesBackOnlyValuesThatStillExist) {
    MemorySettingsStore settings;
    UserSettings session;
    readSettingsAtStart(settings, session, kProgramFolder);
    session.userName = "太郎";
    session.fileHistory = {"/a/one.csf", "", ""};
    WindowGeometry geometry;
    geometry.width = 800;
    writeSettingsAtExit(settings, session, geometry);
    EXPECT_EQ(settings.readText("UserName", ""), "太郎");
    EXPECT_EQ(settings.readText("FileHistory1", ""), "/a/one.csf");
    EXPECT_EQ(settings.readInt("MainFormPosWidth", 0), 800);

    settings.eraseAll();
    writeSettingsAtExit(settings, session, geometry);
    for (const char* name :
         {"Version", "Title", "MainFormPosTop", "MainFormPosWidth", "TreeBorder", "PlugInDir",
          "PlayerFile", "UserName", "PlugInUse", "ShowCmdIcon", "FileHistory1", "SetupVersion"})
        EXPECT_FALSE(settings.contains(name)) << name;
}

TEST(FileHistory, MovesTheNewestFileToTheFront) {
    FileHistory history;
    addFileHistory(history, "/a/one.csf");
    addFileHistory(history, "/a/two.csf");
    addFileHistory(history, "/a/three.csf");
    EXPECT_EQ(history, (FileHistory{"/a/three.csf", "/a/two.csf", "/a/one.csf"}));
    addFileHistory(history, "/a/four.csf");
    EXPECT_EQ(history, (FileHistory{"/a/four.csf", "/a/three.csf", "/a/two.csf"}));
    addFileHistory(history, "/a/four.csf");
    EXPECT_EQ(history, (FileHistory{"/a/four.csf", "/a/three.csf", "/a/two.csf"}));
}

TEST(FileHistory, ASameNamedFileReplacesTheOldEntryWhateverItsFolderOrCase) {
    FileHistory history{"/x/other.csf", "/a/story.csf", "/x/last.csf"};
    addFileHistory(history, "/b/STORY.csf");
    // The older story is dropped; the entry after it does not move.
    EXPECT_EQ(history, (FileHistory{"/b/STORY.csf", "/x/other.csf", "/x/last.csf"}));

    FileHistory short_{"/a/one.csf", "", ""};
    addFileHistory(short_, "/a/two.csf");
    EXPECT_EQ(short_, (FileHistory{"/a/two.csf", "/a/one.csf", ""}));
}

TEST(FileHistory, CaptionsNumberTheEntryAndShowOnlyTheFileName) {
    EXPECT_EQ(historyCaption(0, "/home/u/物語.csf"), QStringLiteral("&1 物語.csf"));
    EXPECT_EQ(historyCaption(2, "/home/u/a&b.csf"), QStringLiteral("&3 a&&b.csf"));
}

} // namespace
} // namespace pagora
