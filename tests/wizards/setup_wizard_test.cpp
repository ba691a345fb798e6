#include "dialog_fixture.h"
#include "gui/qt_text.h"
#include "platform/desktop_integration.h"
#include "platform/desktop_system.h"
#include "platform/encoding.h"
#include "wizards/setup_wizard.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

const std::string kUpdateFailed =
    "セットアップ情報を自動更新できません\n手動で再セットアップをして下さい";
const std::string kNoManualMode = "手動セットアップモードに移行できません\n強制終了します";

// The system's environment with the user's folders in the test's folder;
// the account's home is never looked up.
class TestDesktop : public ProcessDesktopSystem {
public:
    using ProcessDesktopSystem::ProcessDesktopSystem;
    fs::path accountHome() const override { return {}; }
};

// A user whose home and XDG folders lie in the test's folder, with no
// desktop programs on PATH, and a player beside the editor.
class SetupWizard : public DialogTest {
protected:
    SetupWizard() {
        fs::create_directories(home);
        fs::create_directories(folder.path() / "bin");
        player = folder.write("program/PagoraPl.exe", "MZ");
        user.userName = "花子";
        user.playerFile = player.string();
        user.plugInDir = "";
        user.usePlugIns = false;
        user.fileHistory[0] = "/comics/kept.csf";
    }

    TfrmComicSetup& makeWizard(bool fromMenu) {
        wizard = std::make_unique<TfrmComicSetup>(services, environment(), fromMenu);
        wizard->setStepInterval(std::chrono::milliseconds(1));
        wizard->load(user);
        return *wizard;
    }
    SetupEnvironment environment() { return {desktop, programFolder, programFolder / "pagora"}; }
    template <typename T> T& control(const char* name) { return child<T>(*wizard, name); }
    void next(int times = 1) {
        for (int i = 0; i < times; ++i)
            wizard->btnNextClick();
    }
    bool registered() const { return fs::exists(data / "applications" / "pagora.desktop"); }

    const fs::path home = folder.path() / "home";
    const fs::path data = folder.path() / "data";
    const fs::path config = folder.path() / "config";
    const fs::path programFolder = folder.path() / "program";
    fs::path player;
    ProcessDesktopSystem::Overrides variables{{"HOME", home.string()},
                                              {"XDG_DATA_HOME", data.string()},
                                              {"XDG_CONFIG_HOME", config.string()},
                                              {"PATH", (folder.path() / "bin").string()}};
    TestDesktop desktop{variables};
    std::unique_ptr<TfrmComicSetup> wizard;
};

struct ButtonState {
    int page;
    const char* back;
    const char* next;
    bool unInstallShown;
};

TEST_F(SetupWizard, ButtonsFollowThePages) {
    for (const bool fromMenu : {false, true}) {
        makeWizard(fromMenu);
        EXPECT_EQ(wizard->objectName(), QStringLiteral("TfrmComicSetup"));
        EXPECT_EQ(wizard->windowTitle(), QStringLiteral("パゴラ　セットアップ"));
        EXPECT_EQ(control<QPushButton>("btnUnInst").isEnabled(), fromMenu);
        control<QRadioButton>("rbPlugInOn").setChecked(true);
        for (const ButtonState& state : {ButtonState{0, "キャンセル", "次へ >>", true},
                                         ButtonState{1, "<< 戻る", "次へ >>", false},
                                         ButtonState{2, "<< 戻る", "次へ >>", false},
                                         ButtonState{3, "<< 戻る", "次へ >>", false},
                                         ButtonState{4, "<< 戻る", "完了", false}}) {
            EXPECT_EQ(wizard->PageIndex(), state.page);
            EXPECT_EQ(control<QPushButton>("btnBack").text(), QString::fromUtf8(state.back));
            EXPECT_EQ(control<QPushButton>("btnNext").text(), QString::fromUtf8(state.next));
            EXPECT_TRUE(control<QPushButton>("btnBack").isEnabled());
            EXPECT_EQ(!control<QPushButton>("btnUnInst").isHidden(), state.unInstallShown);
            EXPECT_EQ(control<QPushButton>("btnUnInst").isEnabled(), fromMenu) << state.page;
            next();
        }
    }
}

TEST_F(SetupWizard, WithoutPlugInsTheFolderPageIsSkippedBothWays) {
    makeWizard(false);
    EXPECT_TRUE(control<QRadioButton>("rbPlugInOff").isChecked());
    next(2);
    EXPECT_EQ(wizard->PageIndex(), 2);
    next();
    EXPECT_EQ(wizard->PageIndex(), 4);
    wizard->btnBackClick();
    EXPECT_EQ(wizard->PageIndex(), 2);
    control<QRadioButton>("rbPlugInOn").setChecked(true);
    next();
    EXPECT_EQ(wizard->PageIndex(), 3);
    next();
    wizard->btnBackClick();
    EXPECT_EQ(wizard->PageIndex(), 3);
}

TEST_F(SetupWizard, CompletingRegistersTheComicTypeAndWritesTheTemplateAndTheSettings) {
    makeWizard(false);
    next(2);
    control<QRadioButton>("rbPlugInOn").setChecked(true);
    next();
    fs::create_directories(folder.path() / "spi");
    control<QLineEdit>("edtPlugInDir").setText(pathText(folder.path() / "spi"));
    next(2);
    EXPECT_TRUE(wizard->completed());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(wizard->values().plugInDir, (folder.path() / "spi").string() + "/");
    EXPECT_TRUE(wizard->values().usePlugIns);
    EXPECT_EQ(wizard->values().userName, "花子");
    EXPECT_EQ(wizard->values().playerFile, player.string());

    EXPECT_NE(readFile(data / "mime/packages/pagora.xml").find("application/x-pagora-comic"),
              std::string::npos);
    const std::string entry = readFile(data / "applications/pagora.desktop");
    EXPECT_NE(entry.find("Exec=" + desktopExecValue(programFolder / "pagora") + "\n"),
              std::string::npos)
        << entry;
    EXPECT_EQ(readFile(config / "mimeapps.list"),
              "[Default Applications]\napplication/x-pagora-comic=pagora.desktop;\n");
    const std::string templateText = toUtf8(readFile(home / "Templates" / "NewComic.csf"));
    EXPECT_EQ(templateText.rfind("/// Interactive Pagora for Win95\r\n"
                                 "/// Comic Script File (Template)\r\n",
                                 0),
              0u)
        << templateText;
    EXPECT_NE(templateText.find("Copyright=花子\r\n"), std::string::npos);
    EXPECT_TRUE(prompter.records().empty()) << utf8Messages(prompter);
}

TEST_F(SetupWizard, AnEmptyPlugInFolderStaysEmptyForNoFolder) {
    makeWizard(false);
    next(4);
    EXPECT_TRUE(wizard->completed());
    EXPECT_EQ(wizard->values().plugInDir, "");
}

TEST_F(SetupWizard, CancelOnTheFirstPageAppliesNothing) {
    makeWizard(true);
    control<QLineEdit>("edtUserName").setText(QStringLiteral("太郎"));
    wizard->btnBackClick();
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    EXPECT_FALSE(wizard->completed());
    EXPECT_EQ(wizard->values().userName, "花子");
    EXPECT_FALSE(registered());
}

// Player files the last page refuses, with the warning it shows.
struct PlayerCase {
    const char* label;
    const char* player;  // typed; $F stands for the test's folder
    const char* message; // empty when the player is taken; $F as above
    void (*prepare)(const fs::path& root) = nullptr;
};

std::ostream& operator<<(std::ostream& out, const PlayerCase& c) {
    return out << c.label;
}

class SetupPlayerFile : public SetupWizard, public ::testing::WithParamInterface<PlayerCase> {};

TEST_P(SetupPlayerFile, IsCheckedBeforeAnythingIsApplied) {
    const PlayerCase& c = GetParam();
    if (c.prepare != nullptr)
        c.prepare(folder.path());
    if (IsSkipped())
        return;
    makeWizard(false);
    next(3);
    const auto expanded = [this](std::string text) {
        if (const std::size_t at = text.find("$F"); at != std::string::npos)
            text.replace(at, 2, folder.path().string());
        return text;
    };
    const std::string typed = expanded(c.player);
    control<QLineEdit>("edtPlayerFile").setText(utf8Text(typed));
    next();
    const std::string message = expanded(c.message);
    if (message.empty()) {
        EXPECT_TRUE(wizard->completed());
        EXPECT_EQ(wizard->values().playerFile, typed);
        EXPECT_TRUE(prompter.records().empty()) << utf8Messages(prompter);
        return;
    }
    EXPECT_EQ(utf8Messages(prompter), message + "\n");
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(wizard->PageIndex(), 4);
    EXPECT_FALSE(wizard->completed());
    EXPECT_FALSE(registered());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupPlayerFile,
    ::testing::Values(
        PlayerCase{"TheRightOne", "$F/program/PagoraPl.exe", ""},
        PlayerCase{"InAnotherLetterCase", "$F/program/pagorapl.EXE", "",
                   [](const fs::path& root) {
                       fs::rename(root / "program/PagoraPl.exe", root / "program/pagorapl.EXE");
                   }},
        PlayerCase{"AnotherName", "$F/program/player.exe",
                   "プレーヤープログラムのファイル名が不正です。",
                   [](const fs::path& root) {
                       fs::copy_file(root / "program/PagoraPl.exe", root / "program/player.exe");
                   }},
        PlayerCase{"NoName", "$F/program/", "プレーヤープログラムのファイル名が不正です。"},
        PlayerCase{"Missing", "$F/elsewhere/PagoraPl.exe",
                   "プレーヤープログラムが見つかりません。"},
        PlayerCase{"NotInTheCurrentFolder", "PagoraPl.exe",
                   "プレーヤープログラムが見つかりません。"},
        PlayerCase{
            "AFolder", "$F/folder/PagoraPl.exe",
            "プレーヤープログラムが見つかりません。\n$F/folder/PagoraPl.exe はフォルダです。",
            [](const fs::path& root) {
                fs::create_directories(root / "folder/PagoraPl.exe");
            }},
        PlayerCase{"ALinkToAMissingFile", "$F/link/PagoraPl.exe",
                   "プレーヤープログラムが見つかりません。",
                   [](const fs::path& root) {
                       fs::create_directories(root / "link");
                       fs::create_symlink(root / "gone/PagoraPl.exe", root / "link/PagoraPl.exe");
                   }},
        PlayerCase{"ALinkToThePlayer", "$F/link/PagoraPl.exe", "",
                   [](const fs::path& root) {
                       fs::create_directories(root / "link");
                       fs::create_symlink(root / "program/PagoraPl.exe",
                                          root / "link/PagoraPl.exe");
                   }},
        PlayerCase{"Unreadable", "$F/program/PagoraPl.exe",
                   "プレーヤープログラムを読み込めません。\n$F/program/PagoraPl.exe: Permission "
                   "denied",
                   [](const fs::path& root) {
                       if (::geteuid() == 0)
                           GTEST_SKIP() << "permissions do not bind the superuser";
                       fs::permissions(root / "program/PagoraPl.exe", fs::perms::none);
                   }}),
    [](const auto& testCase) { return std::string(testCase.param.label); });

TEST_F(SetupWizard, ANameTheComicCannotHoldStaysOnItsPage) {
    makeWizard(false);
    next();
    control<QLineEdit>("edtUserName").setText(QStringLiteral("花子\U0001F600"));
    next();
    EXPECT_EQ(wizard->PageIndex(), 1);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("\U0001F600"))) << utf8Of(errorBoxes[0]);
}

TEST_F(SetupWizard, APlugInFolderThatIsNotThereStaysOnItsPage) {
    makeWizard(false);
    next(2);
    control<QRadioButton>("rbPlugInOn").setChecked(true);
    next();
    control<QLineEdit>("edtPlugInDir").setText(pathText(folder.path() / "nowhere"));
    next();
    EXPECT_EQ(wizard->PageIndex(), 3);
    EXPECT_EQ(utf8Messages(prompter), "Susie32プラグインの検索フォルダが見つかりません。\n" +
                                          (folder.path() / "nowhere").string() + "\n");
}

TEST_F(SetupWizard, TheDefaultButtonsAndChoosersFillTheFields) {
    makeWizard(false);
    wizard->btnPlugDefClick();
    EXPECT_EQ(control<QLineEdit>("edtPlugInDir").text(), pathText(programFolder) + "/");
    wizard->btnPlayerDefClick();
    EXPECT_EQ(control<QLineEdit>("edtPlayerFile").text(), pathText(programFolder / "PagoraPl.exe"));

    prompter.queuePath(folder.path() / "chosen/");
    wizard->btnPlugOpenClick();
    EXPECT_EQ(control<QLineEdit>("edtPlugInDir").text(), pathText(folder.path() / "chosen"));
    EXPECT_EQ(prompter.records().back().call, Call::ChooseFolder);
    EXPECT_EQ(prompter.records().back().text, "ディレクトリの指定");
    prompter.queuePath(folder.path() / "PagoraPl.exe");
    wizard->btnPlayerOpenClick();
    EXPECT_EQ(control<QLineEdit>("edtPlayerFile").text(), pathText(folder.path() / "PagoraPl.exe"));
    EXPECT_EQ(prompter.records().back().call, Call::OpenFile);
}

TEST_F(SetupWizard, UnInstallFromTheMenuErasesTheSettingsAfterAsking) {
    settings.writeText("UserName", "花子");
    makeWizard(true);
    next(4);
    ASSERT_TRUE(registered());
    makeWizard(true);
    prompter.clear();
    prompter.queueAnswer(Answer::Cancel);
    wizard->btnUnInstClick();
    EXPECT_TRUE(settings.contains("UserName"));
    EXPECT_FALSE(wizard->settingsErased());

    prompter.queueAnswer(Answer::Ok);
    wizard->btnUnInstClick();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.records()[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(toUtf8(prompter.records()[1].text),
              "パゴラの設定情報を\n消去します。よろしいですか？");
    EXPECT_TRUE(wizard->settingsErased());
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    EXPECT_FALSE(settings.contains("UserName"));
    EXPECT_FALSE(registered());
    EXPECT_TRUE(fs::exists(home / "Templates" / "NewComic.csf")) << "the template stays";
}

TEST_F(SetupWizard, UnInstallIsNotOfferedAtTheFirstStart) {
    settings.writeText("UserName", "花子");
    makeWizard(false);
    prompter.queueAnswer(Answer::Ok);
    wizard->btnUnInstClick();
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_TRUE(settings.contains("UserName"));
}

TEST_F(SetupWizard, TheAutomaticUpdateCountsElevenStepsThenAppliesTheLoadedSettings) {
    makeWizard(false);
    std::vector<int> pages;
    std::vector<bool> buttons;
    QTimer::singleShot(0, wizard.get(), [&] {
        pages.push_back(wizard->PageIndex());
        buttons = {control<QPushButton>("btnBack").isEnabled(),
                   control<QPushButton>("btnNext").isEnabled(), wizard->isVisible(),
                   wizard->automaticUpdateRunning()};
        wizard->reject(); // the count cannot be closed away
    });
    wizard->RunAutomaticUpdate(true);
    EXPECT_EQ(pages, std::vector<int>{5});
    EXPECT_EQ(buttons, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(control<QProgressBar>("ProgressBar").value(), 10);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(wizard->automaticUpdateRunning());
    EXPECT_FALSE(wizard->completed()) << "nothing to write back";
    EXPECT_TRUE(registered());
    EXPECT_NE(toUtf8(readFile(home / "Templates" / "NewComic.csf")).find("Copyright=花子"),
              std::string::npos);
}

TEST_F(SetupWizard, TheAutomaticUpdateOfAnIncompleteSetupErasesTheSettings) {
    settings.writeText("UserName", "花子");
    makeWizard(false);
    wizard->RunAutomaticUpdate(false);
    EXPECT_EQ(prompter.messages(),
              (std::vector<std::string>{sj(kUpdateFailed), sj(kNoManualMode)}));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(control<QProgressBar>("ProgressBar").value(), 3);
    EXPECT_TRUE(wizard->settingsErased());
    EXPECT_FALSE(settings.contains("UserName"));
    EXPECT_FALSE(registered());
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(SetupWizard, ManualSettingDuringTheUpdateSwitchesToTheWholeWizard) {
    makeWizard(false);
    wizard->setStepInterval(std::chrono::milliseconds(300));
    QTimer::singleShot(0, wizard.get(), [&] { control<QPushButton>("btnManualSetting").click(); });
    int pageShown = -1;
    modal = [&](QDialog&) {
        pageShown = wizard->PageIndex();
        control<QLineEdit>("edtUserName").setText(QStringLiteral("太郎"));
        next(4);
        return 1;
    };
    wizard->RunAutomaticUpdate(false); // switched before the failing step
    EXPECT_EQ(pageShown, 0);
    EXPECT_TRUE(wizard->completed());
    EXPECT_FALSE(wizard->settingsErased());
    EXPECT_EQ(wizard->values().userName, "太郎");
    EXPECT_LT(control<QProgressBar>("ProgressBar").value(), 3);
}

TEST_F(SetupWizard, TheRunWritesBackACompletedSetupAndEndsAfterErasing) {
    modal = [&](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtUserName").setText(QStringLiteral("太郎"));
        static_cast<TfrmComicSetup&>(dialog).btnBackClick(); // Cancel
        return 0;
    };
    EXPECT_EQ(runSetupWizard(services, environment(), SetupRun::StartUp, false, user, nullptr),
              SetupOutcome::Continue);
    EXPECT_EQ(user.userName, "花子");

    modal = [&](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtUserName").setText(QStringLiteral("太郎"));
        for (int i = 0; i < 4; ++i)
            static_cast<TfrmComicSetup&>(dialog).btnNextClick();
        return 1;
    };
    EXPECT_EQ(runSetupWizard(services, environment(), SetupRun::StartUp, false, user, nullptr),
              SetupOutcome::Continue);
    EXPECT_EQ(user.userName, "太郎");
    EXPECT_EQ(user.fileHistory[0], "/comics/kept.csf");

    modal = [&](QDialog& dialog) {
        prompter.queueAnswer(Answer::Ok);
        static_cast<TfrmComicSetup&>(dialog).btnUnInstClick();
        return 0;
    };
    EXPECT_EQ(runSetupWizard(services, environment(), SetupRun::Menu, true, user, nullptr),
              SetupOutcome::EndProgram);
}

TEST_F(SetupWizard, InAFreshHomeTheDesktopNamesTheEditorForComics) {
    variables["PATH"] = "/usr/local/bin:/usr/bin:/bin";
    variables["XDG_CURRENT_DESKTOP"] = "GNOME"; // xdg-mime then asks gio
    TestDesktop system(variables);
    const fs::path xdgMime = system.findProgram("xdg-mime");
    if (xdgMime.empty() || system.findProgram("gio").empty() ||
        system.findProgram("update-mime-database").empty())
        GTEST_SKIP() << "needs xdg-utils, gio and shared-mime-info";
    modal = [&](QDialog& dialog) {
        for (int i = 0; i < 4; ++i)
            static_cast<TfrmComicSetup&>(dialog).btnNextClick();
        return 1;
    };
    const SetupEnvironment environment{system, programFolder, programFolder / "pagora"};
    runSetupWizard(services, environment, SetupRun::StartUp, false, user, nullptr);
    const std::optional<ProgramRun> application =
        system.run(xdgMime, {"query", "default", "application/x-pagora-comic"});
    ASSERT_TRUE(application);
    EXPECT_EQ(application->output, "pagora.desktop\n");
    const fs::path someComic =
        folder.write("comics/Some.csf", "/// Interactive Pagora for Win95\r\n");
    const std::optional<ProgramRun> type = system.run(xdgMime, {"query", "filetype", someComic});
    ASSERT_TRUE(type);
    EXPECT_EQ(type->output, "application/x-pagora-comic\n");
}

} // namespace
} // namespace pagora::test
