#include "commands/command_chooser.h"
#include "editor_fixture.h"
#include "platform/encoding.h"
#include "test_command_dialog.h"

#include <QListWidget>
#include <QTest>

namespace pagora::test {
namespace {

class CommandChooser : public EditorTest {
protected:
    void useWaitDialog(TfrmCommand& chooser, OptionGroups groups = {}) {
        chooser.setDialog(CmdKind::WaitTime, [groups](EditorContext& context, QWidget* parent) {
            return std::make_unique<TestWaitDialog>(context, parent, groups);
        });
    }
    // Dialogs answer by setting the time and pressing OK, or by cancelling.
    void answerDialogs(int time, bool confirm) {
        modal = [this, time, confirm](QDialog& dialog) {
            auto& wait = dynamic_cast<TestWaitDialog&>(dialog);
            handedIn = wait.shownLines;
            wait.cmbTime->setValue(time);
            if (confirm)
                wait.btnOKClick();
            return confirm ? QDialog::Accepted : QDialog::Rejected;
        };
    }
    std::vector<std::string> handedIn;
};

TEST_F(CommandChooser, ListsTheKindsInItsOwnOrderAndOffersOnlyThoseWithAnEditor) {
    const auto window = makeWindow();
    TfrmCommand& chooser = window->commandChooser();
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("コマンドの選択"));
    QListWidget& list = *chooser.list();
    ASSERT_EQ(list.count(), 18);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("注釈"));
    EXPECT_EQ(list.item(8)->text(), QStringLiteral("数値変数の操作をする"));
    EXPECT_EQ(list.item(13)->text(), QStringLiteral("ウインドウの表示／消去"));
    EXPECT_EQ(list.item(17)->text(), QStringLiteral("クリッカブル領域のクリア"));
    EXPECT_EQ(kChooserEntries[8].kind, CmdKind::ValueCtrl);
    EXPECT_EQ(kChooserEntries[10].kind, CmdKind::SelectDlg);
    EXPECT_EQ(kChooserEntries[15].kind, CmdKind::System);

    std::vector<std::pair<std::string, CmdKind>> asked;
    chooser.setInsertCommand(
        [&](const std::string& line, CmdKind kind) { asked.emplace_back(line, kind); });
    for (int row = 0; row < list.count(); ++row) {
        const bool offered = row == 0 || row == 5;
        EXPECT_EQ(bool(list.item(row)->flags() & Qt::ItemIsEnabled), offered) << row;
        chooser.lstCmdListClick(row);
    }
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, CmdKind>>{{"", CmdKind::Comment},
                                                                   {"", CmdKind::MusicStop}}));

    // The entry under the pointer is selected.
    chooser.show();
    QTest::mouseMove(list.viewport(), list.visualItemRect(list.item(5)).center());
    EXPECT_EQ(list.currentRow(), 5);

    useWaitDialog(chooser);
    EXPECT_TRUE(list.item(6)->flags() & Qt::ItemIsEnabled);
    chooser.lstCmdListClick(6);
    EXPECT_EQ(asked.back(), std::make_pair(std::string(), CmdKind::WaitTime));
}

TEST_F(CommandChooser, KeepsItsPlaceInTheSettings) {
    {
        const auto window = makeWindow();
        TfrmCommand& chooser = window->commandChooser();
        EXPECT_EQ(settings.readInt("CommandDlgPosTop", 0), 39);
        EXPECT_EQ(settings.readInt("CommandDlgPosLeft", 0), 536);
        EXPECT_GE(settings.readInt("CommandDlgPosWidth", 0), 184);
        EXPECT_EQ(chooser.size(), QSize(settings.readInt("CommandDlgPosWidth", 0),
                                        settings.readInt("CommandDlgPosHeight", 0)));
        chooser.move(300, 200);
        chooser.resize(150, 240);
    }
    EXPECT_EQ(settings.readInt("CommandDlgPosLeft", 0), 300);
    EXPECT_EQ(settings.readInt("CommandDlgPosTop", 0), 200);
    EXPECT_EQ(settings.readInt("CommandDlgPosHeight", 0), 240);

    settings.eraseAll();
    settings.writeInt("CommandDlgPosTop", 10);
    {
        const auto window = makeWindow();
        EXPECT_EQ(window->commandChooser().pos(), QPoint(536, 10))
            << "a missing value: its default";
    }
}

TEST_F(CommandChooser, ACommentIsEditedInAnInputBox) {
    const auto window = makeWindow();
    TfrmCommand& chooser = window->commandChooser();
    prompter.queueInput(sj(" 説明"));
    EXPECT_EQ(chooser.EditCommand(sj("// 説明"), CmdKind::Comment), sj("// 説明"));
    EXPECT_FALSE(chooser.confirmed()) << "unchanged";
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].caption, sj("注釈の入力"));
    EXPECT_EQ(prompter.records()[0].text, sj("この項目はコミックの動作に影響を与えません。"));
    EXPECT_EQ(prompter.records()[0].initial, sj(" 説明"));

    prompter.queueInput(sj("別"));
    EXPECT_EQ(chooser.EditCommand(sj("// 説明"), CmdKind::Comment), sj("//別"));
    EXPECT_TRUE(chooser.confirmed());

    prompter.queueInput(std::nullopt);
    chooser.EditCommand("//x", CmdKind::Comment);
    EXPECT_FALSE(chooser.confirmed());

    // A new comment starts empty, and an empty one is never confirmed.
    prompter.queueInput("");
    chooser.EditCommand("", CmdKind::Comment);
    EXPECT_FALSE(chooser.confirmed());
    EXPECT_EQ(prompter.records().back().initial, "");
    prompter.queueInput("MusicStop");
    chooser.EditCommand("MusicStop", CmdKind::Comment);
    EXPECT_EQ(prompter.records().back().initial, "") << "a line of another kind is not offered";
}

TEST_F(CommandChooser, MusicStopIsConfirmedAtOnceWithoutItsOptions) {
    const auto window = makeWindow();
    TfrmCommand& chooser = window->commandChooser();
    EXPECT_EQ(chooser.EditCommand("MusicStop /IF:%a%==1", CmdKind::MusicStop), "MusicStop");
    EXPECT_TRUE(chooser.confirmed());
    EXPECT_EQ(chooser.EditCommand("", CmdKind::MusicStop), "MusicStop");
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(CommandChooser, OtherKindsGoThroughTheirDialog) {
    const auto window = makeWindow();
    TfrmCommand& chooser = window->commandChooser();
    EXPECT_EQ(chooser.EditCommand("WaitTime 5,", CmdKind::WaitTime), "WaitTime 5,");
    EXPECT_FALSE(chooser.confirmed()) << "no dialog for the kind yet";

    useWaitDialog(chooser);
    answerDialogs(70, true);
    const auto answer = modal;
    QWidget* owner = nullptr;
    modal = [&](QDialog& dialog) {
        owner = dialog.parentWidget();
        return answer(dialog);
    };
    EXPECT_EQ(chooser.EditCommand("WaitTime 5,", CmdKind::WaitTime), "WaitTime 70,");
    EXPECT_TRUE(chooser.confirmed());
    EXPECT_EQ(handedIn, std::vector<std::string>{"WaitTime 5,"});
    EXPECT_EQ(owner, window.get()) << "the dialog opens over the main window";
    modal = answer;

    EXPECT_EQ(chooser.EditCommand("MusicStop", CmdKind::WaitTime), "WaitTime 70,");
    EXPECT_EQ(handedIn, std::vector<std::string>{""}) << "a line of another kind starts afresh";

    answerDialogs(90, false);
    EXPECT_EQ(chooser.EditCommand("WaitTime 5,", CmdKind::WaitTime), "WaitTime 5,");
    EXPECT_FALSE(chooser.confirmed());
}

class CommandDialogs : public CommandChooser {};

TEST_F(CommandDialogs, TheOptionButtonEditsTheRecordsOptionsWithTheAllowedGroups) {
    const auto window = makeWindow();
    TestWaitDialog dialog(window->context(), nullptr, OptionGroups{true, false});
    dialog.loadLine(R"(WaitTime 5,"/IF:%a%==1","/TIME:3")");
    std::optional<TOptParam> shown;
    modal = [&](QDialog& opened) {
        auto& options = dynamic_cast<TfrmOptionSet&>(opened);
        shown = options.option();
        options.btnOKClick();
        return QDialog::Accepted;
    };
    dialog.btnOptionClick();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->If.Left, "%a%");
    EXPECT_EQ(shown->Time, 3);
    EXPECT_EQ(dialog.record.Option.Time, 3) << "a group the command does not allow is kept";
    dialog.btnOKClick();
    const TCmdWaitTime written = window->objects().syntax.ParseWaitTime(dialog.line());
    EXPECT_EQ(written.Option.If, shown->If);
    EXPECT_EQ(written.Option.Time, 3);

    modal = [](QDialog&) {
        return QDialog::Rejected;
    };
    dialog.record.Option.If = {};
    dialog.btnOptionClick();
    EXPECT_EQ(dialog.record.Option.If.Operator, -1) << "cancel changes nothing";
}

TEST_F(CommandDialogs, TheHelpButtonOpensTheDialogsTopic) {
    const auto window = makeWindow();
    TestWaitDialog dialog(window->context(), nullptr, {});
    dialog.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0], helpTopicUrl(services.helpFolder, 0));
}

TEST_F(CommandDialogs, FilesAreChosenInTheDataFolderOfASavedComicOnly) {
    {
        const auto window = makeWindow();
        TestWaitDialog dialog(window->context(), nullptr, {});
        EXPECT_EQ(dialog.dataFolderForFiles(), std::nullopt);
        EXPECT_EQ(prompter.messages(),
                  std::vector<std::string>{
                      sj("この機能を使うためには\nファイルを一度セーブする必要があります")});
    }
    prompter.clear();
    for (const auto& [header, folderName] :
         {std::pair<std::string, std::string>{"DataDirectory=", ""},
          {"DataDirectory=data", "data"}}) {
        const auto window = makeWindow(writeComic("c.csf", sampleComicLines({header})));
        TestWaitDialog dialog(window->context(), nullptr, {});
        const std::filesystem::path expected =
            folderName.empty() ? folder.path() : folder.path() / folderName;
        EXPECT_EQ(dialog.dataFolderForFiles(), expected) << header;
    }
    EXPECT_TRUE(prompter.records().empty());
}

} // namespace
} // namespace pagora::test
