#include "commands/command_chooser.h"
#include "commands/command_dialogs.h"
#include "dialog_fixture.h"
#include "test_command_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

namespace pagora::test {
namespace {

class CommandChooser : public DialogTest {
protected:
    std::unique_ptr<TfrmCommand> makeChooser() {
        return std::make_unique<TfrmCommand>(context, &mainWindow);
    }
    static void useMusicDialog(TfrmCommand& chooser) {
        chooser.setDialog(CmdKind::Music, [](DialogContext& context, QWidget* parent) {
            return std::make_unique<TestMusicDialog>(context, parent);
        });
    }
    // Dialogs answer by setting the file and pressing OK, or by cancelling.
    void answerDialogs(const QString& fileName, bool confirm) {
        modal = [this, fileName, confirm](QDialog& dialog) {
            auto& music = dynamic_cast<TestMusicDialog&>(dialog);
            handedIn.push_back(music.edtFileName->text());
            owner = dialog.parentWidget();
            music.edtFileName->setText(fileName);
            if (confirm)
                music.btnOKClick();
            return 0;
        };
    }

    QWidget mainWindow;
    std::vector<QString> handedIn;
    QWidget* owner = nullptr;
};

TEST_F(CommandChooser, ListsTheKindsInItsOwnOrderAndOffersOnlyThoseWithAnEditor) {
    const auto made = makeChooser();
    TfrmCommand& chooser = *made;
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

    useMusicDialog(chooser);
    EXPECT_TRUE(list.item(3)->flags() & Qt::ItemIsEnabled);
    chooser.lstCmdListClick(3);
    EXPECT_EQ(asked.back(), std::make_pair(std::string(), CmdKind::Music));
}

TEST_F(CommandChooser, KeepsItsPlaceInTheSettings) {
    {
        const auto chooser = makeChooser();
        EXPECT_EQ(settings.readInt("CommandDlgPosTop", 0), 39);
        EXPECT_EQ(settings.readInt("CommandDlgPosLeft", 0), 536);
        EXPECT_GE(settings.readInt("CommandDlgPosWidth", 0), 184);
        EXPECT_EQ(chooser->size(), QSize(settings.readInt("CommandDlgPosWidth", 0),
                                         settings.readInt("CommandDlgPosHeight", 0)));
        chooser->move(300, 200);
        chooser->resize(150, 240);
    }
    EXPECT_EQ(settings.readInt("CommandDlgPosLeft", 0), 300);
    EXPECT_EQ(settings.readInt("CommandDlgPosTop", 0), 200);
    EXPECT_EQ(settings.readInt("CommandDlgPosHeight", 0), 240);

    settings.eraseAll();
    settings.writeInt("CommandDlgPosTop", 10);
    EXPECT_EQ(makeChooser()->pos(), QPoint(536, 10)) << "a missing value: its default";
}

TEST_F(CommandChooser, ACommentIsEditedInAnInputBox) {
    const auto made = makeChooser();
    TfrmCommand& chooser = *made;
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
    const auto made = makeChooser();
    TfrmCommand& chooser = *made;
    EXPECT_EQ(chooser.EditCommand("MusicStop /IF:%a%==1", CmdKind::MusicStop), "MusicStop");
    EXPECT_TRUE(chooser.confirmed());
    EXPECT_EQ(chooser.EditCommand("", CmdKind::MusicStop), "MusicStop");
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(CommandChooser, OtherKindsGoThroughTheirDialog) {
    const auto made = makeChooser();
    TfrmCommand& chooser = *made;
    EXPECT_EQ(chooser.EditCommand("Music \"a.mid\",0,", CmdKind::Music), "Music \"a.mid\",0,");
    EXPECT_FALSE(chooser.confirmed()) << "no dialog for the kind yet";

    useMusicDialog(chooser);
    answerDialogs(QStringLiteral("b.mid"), true);
    EXPECT_EQ(chooser.EditCommand("Music \"a.mid\",0,", CmdKind::Music), "Music \"b.mid\",0,");
    EXPECT_TRUE(chooser.confirmed());
    EXPECT_EQ(handedIn, std::vector<QString>{QStringLiteral("a.mid")});
    EXPECT_EQ(owner, &mainWindow) << "the dialog opens over the main window";

    EXPECT_EQ(chooser.EditCommand("MusicStop", CmdKind::Music), "Music \"b.mid\",0,");
    EXPECT_EQ(handedIn.back(), QString()) << "a line of another kind starts afresh";

    answerDialogs(QStringLiteral("c.mid"), false);
    EXPECT_EQ(chooser.EditCommand("Music \"a.mid\",0,", CmdKind::Music), "Music \"a.mid\",0,");
    EXPECT_FALSE(chooser.confirmed());
}

TEST_F(CommandChooser, TheBuiltDialogsAreRegisteredForTheirKinds) {
    const auto made = makeChooser();
    TfrmCommand& chooser = *made;
    registerCommandDialogs(chooser);
    const std::vector<std::pair<CmdKind, QString>> dialogs{
        {CmdKind::Music, QStringLiteral("TfrmMusic")},
        {CmdKind::Sound, QStringLiteral("TfrmSound")},
        {CmdKind::WaitTime, QStringLiteral("TfrmWaitTime")}};
    for (const auto& [kind, name] : dialogs) {
        EXPECT_TRUE(chooser.hasDialog(kind)) << name.toStdString();
        QString opened;
        modal = [&opened](QDialog& dialog) {
            opened = dialog.objectName();
            return 0;
        };
        chooser.EditCommand("", kind);
        EXPECT_EQ(opened, name);
    }
    QListWidget& list = *chooser.list();
    for (const int row : {3, 4, 6})
        EXPECT_TRUE(list.item(row)->flags() & Qt::ItemIsEnabled) << row;
}

} // namespace
} // namespace pagora::test
