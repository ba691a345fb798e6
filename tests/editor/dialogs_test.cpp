#include "commands/command_chooser.h"
#include "commands/option_dialog.h"
#include "commands/variable_chooser.h"
#include "editor/command_palette.h"
#include "editor/condition_dialog.h"
#include "editor/version_dialog.h"
#include "editor_fixture.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "settings/system_dialog.h"
#include "settings/window_position_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

class Dialogs : public EditorTest {};

TEST_F(Dialogs, EnvironmentDialogShowsTheFourValuesOnTwoTabs) {
    const auto window = makeWindow();
    TfrmCondition dialog(services);
    dialog.load({false, true, "/plugins/", "/opt/PagoraPl.exe"});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("環境設定"));
    auto& tabs = child<QTabWidget>(dialog, "PageControl");
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("フォルダの設定"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("エディタの設定"));
    EXPECT_EQ(child<QLineEdit>(dialog, "edtPlugInDir").text(), QStringLiteral("/plugins/"));
    EXPECT_EQ(child<QLineEdit>(dialog, "edtPlayerDir").text(), QStringLiteral("/opt/PagoraPl.exe"));
    EXPECT_EQ(child<QCheckBox>(dialog, "chkPlugInUse").text(),
              QStringLiteral("Susie32PlugInを使用する"));
    EXPECT_TRUE(child<QCheckBox>(dialog, "chkPlugInUse").isChecked());
    EXPECT_EQ(child<QCheckBox>(dialog, "chkShowCmdIcon").text(),
              QStringLiteral("コマンドアイコンを表示する"));
    EXPECT_FALSE(child<QCheckBox>(dialog, "chkShowCmdIcon").isChecked());
}

TEST_F(Dialogs, ThePlugInSwitchEnablesTheFolderAndItsButton) {
    const auto window = makeWindow();
    TfrmCondition dialog(services);
    dialog.load({true, false, "/p/", "/x"});
    EXPECT_FALSE(child<QLineEdit>(dialog, "edtPlugInDir").isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "btnPlugOpen").isEnabled());
    child<QCheckBox>(dialog, "chkPlugInUse").setChecked(true);
    EXPECT_TRUE(child<QLineEdit>(dialog, "edtPlugInDir").isEnabled());
    EXPECT_TRUE(child<QPushButton>(dialog, "btnPlugOpen").isEnabled());
}

TEST_F(Dialogs, OkEndsAFolderWithASeparatorKeepsNoFolderEmptyAndTakesTheValues) {
    const auto window = makeWindow();
    TfrmCondition dialog(services);
    dialog.load({true, true, "/p/", "/x"});
    child<QLineEdit>(dialog, "edtPlugInDir").setText(QStringLiteral("/home/u/spi"));
    child<QCheckBox>(dialog, "chkShowCmdIcon").setChecked(false);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().plugInDir,
              "/home/u/spi" + std::string(1, QDir::separator().toLatin1()));
    EXPECT_FALSE(dialog.values().showCmdIcon);

    TfrmCondition empty(services);
    empty.load({true, true, "/p/", "/x"});
    child<QLineEdit>(empty, "edtPlugInDir").clear();
    empty.btnOKClick();
    EXPECT_EQ(empty.values().plugInDir, "") << "no plug-in folder, not the root";
    EXPECT_EQ(child<QLineEdit>(empty, "edtPlugInDir").text(), QString());
}

TEST_F(Dialogs, TheMainWindowTakesTheValuesBackOnlyWhenConfirmed) {
    const auto window = makeWindow();
    const std::string player = window->user().playerFile;
    modal = [](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtPlayerDir").setText(QStringLiteral("/changed"));
        child<QCheckBox>(dialog, "chkShowCmdIcon").setChecked(false);
        dialog.reject();
        return 0;
    };
    window->actions().menuCondition->trigger();
    EXPECT_EQ(window->user().playerFile, player);
    EXPECT_TRUE(window->user().showCmdIcon);

    modal = [](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtPlayerDir").setText(QStringLiteral("/changed"));
        child<QCheckBox>(dialog, "chkShowCmdIcon").setChecked(false);
        static_cast<TfrmCondition&>(dialog).btnOKClick();
        return 1;
    };
    window->actions().menuCondition->trigger();
    EXPECT_EQ(window->user().playerFile, "/changed");
    EXPECT_FALSE(window->user().showCmdIcon);
}

TEST_F(Dialogs, TheFolderChooserStartsAtTheTypedFolderOrTheProgramsFolder) {
    const auto window = makeWindow();
    TfrmCondition dialog(services);
    dialog.load({true, true, (folder.path() / "nowhere").string(), "/x"});
    prompter.queuePath(folder.path() / "chosen");
    dialog.btnPlugOpenClick();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].call, Call::ChooseFolder);
    EXPECT_EQ(prompter.records()[0].text, "ディレクトリの指定");
    EXPECT_EQ(child<QLineEdit>(dialog, "edtPlugInDir").text(), pathText(folder.path() / "chosen"));

    dialog.btnPlugOpenClick(); // cancelled: the text stays
    EXPECT_EQ(child<QLineEdit>(dialog, "edtPlugInDir").text(), pathText(folder.path() / "chosen"));

    prompter.queuePath(folder.path() / "PagoraPl.exe");
    dialog.btnPlayerOpenClick();
    EXPECT_EQ(prompter.records().back().call, Call::OpenFile);
    EXPECT_EQ(child<QLineEdit>(dialog, "edtPlayerDir").text(),
              pathText(folder.path() / "PagoraPl.exe"));
}

TEST_F(Dialogs, HelpOpensTheTopicsPageAtItsAnchor) {
    std::filesystem::create_directories(services.helpFolder);
    folder.write("help/index.html", "<html></html>");
    const auto window = makeWindow();
    TfrmCondition dialog(services);
    dialog.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("environment.html"));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic22"));

    window->actions().menuHelpContents->trigger();
    window->actions().menuHelpKeyword->trigger();
    window->actions().menuHelpOnHelp->trigger();
    ASSERT_EQ(help.urls.size(), 4u);
    EXPECT_EQ(help.urls[1].fileName(), QStringLiteral("index.html"));
    EXPECT_EQ(help.urls[2].fragment(), QStringLiteral("keywords"));
    EXPECT_EQ(help.urls[3].fileName(), QStringLiteral("using-help.html"));
    EXPECT_EQ(help.urls[3].fragment(), QStringLiteral("topic105"));
}

TEST_F(Dialogs, WithoutHelpPagesTheUserIsTold) {
    services.helpFolder.clear();
    const auto window = makeWindow();
    window->actions().menuHelpContents->trigger();
    EXPECT_TRUE(help.urls.empty());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(toUtf8(prompter.messages()[0]), "ヘルプファイルが見つかりません");
}

// Each topic's page and anchor are checked in the gui tests.
TEST(HelpPages, TheContentsHoldTheKeywordsAndNoFolderIsMadeUp) {
    const std::filesystem::path helpFolder =
        std::filesystem::path(PAGORA_SOURCE_DIR) / "docs" / "help";
    EXPECT_EQ(findHelpFolder(helpFolder.parent_path() / "nowhere"), std::filesystem::path());
    const std::string index = readFile(helpFolder / "index.html");
    EXPECT_NE(index.find("id=\"keywords\""), std::string::npos);
}

TEST_F(Dialogs, TheVersionDialogShowsTheProductAndWritesTheAuthorBack) {
    const auto window = makeWindow(writeSample());
    window->objects().comic.WriteHeader("Comic", "Copyright", sj("作者"));
    window->objects().comic.History().markClean(); // as if saved so
    modal = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
        EXPECT_EQ(child<QLabel>(dialog, "lblProduct").text(),
                  QStringLiteral("パゴラ　ｆｏｒ　Ｗｉｎ９５"));
        EXPECT_EQ(child<QLabel>(dialog, "lblVersion").text(),
                  QStringLiteral("Ｖｅｒｓｉｏｎ 1.41"));
        auto& user = child<QLineEdit>(dialog, "edtUserName");
        EXPECT_EQ(user.text(), QStringLiteral("作者"));
        user.setText(QStringLiteral("新しい作者"));
        dialog.reject();
        return 0;
    };
    window->actions().menuVersion->trigger();
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), sj("新しい作者"));
    EXPECT_FALSE(window->isModified());
    window->actions().menuUndo->trigger();
    EXPECT_EQ(window->objects().comic.ReadHeader("Comic", "Copyright", ""), sj("作者"));
}

TEST_F(Dialogs, TheVersionDialogRefusesAnAuthorTheComicCannotHold) {
    const auto window = makeWindow(writeSample());
    window->objects().comic.WriteHeader("Comic", "Copyright", sj("作者"));
    TfrmVersion dialog(window->context());
    dialog.load();
    dialog.show();
    auto& user = child<QLineEdit>(dialog, "edtUserName");
    user.setText(QStringLiteral("作者") + QString::fromUtf8("\xF0\x9F\x8E\xA8"));
    dialog.accept();
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("U+1F3A8"))) << errorBoxes[0].toStdString();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.closingUserText());
    user.setText(QStringLiteral("作者2"));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.closingUserText(), sj("作者2"));
}

// Scripts and tests find windows by these names.
TEST_F(Dialogs, EveryWindowIsNamedAfterItsClass) {
    const auto window = makeWindow();
    DialogContext& context = window->context();
    TfrmCondition condition(services);
    TfrmVersion version(context);
    TfrmOptionSet option(context);
    TfrmFlagSelect variables(context);
    TfrmSystem system(context);
    TfrmValueEdit pad;
    TfrmWindowPositionSet windowSettings(context);
    for (QWidget* named : std::initializer_list<QWidget*>{
             window.get(), &window->commandChooser(), &window->commandPalette(), &condition,
             &version, &option, &variables, &system, &pad, &windowSettings}) {
        const QString className = QString::fromLatin1(named->metaObject()->className());
        EXPECT_EQ(named->objectName(), className.section(QStringLiteral("::"), -1));
    }
}

} // namespace
} // namespace pagora::test
