#include "commands/command_chooser.h"
#include "editor/comic_tree_view.h"
#include "editor/command_palette.h"
#include "editor_fixture.h"
#include "platform/encoding.h"
#include "test_command_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

namespace pagora::test {
namespace {

class CommandEditing : public EditorTest {
protected:
    static std::vector<std::string> lines(TfrmMain& window) {
        TComicFileCtrl& comic = window.objects().comic;
        const FileSession& session = window.file();
        std::vector<std::string> result;
        const int count = comic.GetCommandCount(session.currentBook, session.currentPage);
        for (int i = 0; i < count; ++i)
            result.push_back(toUtf8(comic.GetCommand(session.currentBook, session.currentPage, i)));
        return result;
    }
    static std::string msg(const std::string& page, int i) {
        return "MsgDlg \"" + page + " " + std::to_string(i) + "\",0,\"None\",\"Normal\",0,1,0,";
    }
    static void select(CommandListView& list, std::initializer_list<int> rows) {
        list.clearSelection();
        for (const int row : rows)
            list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
    }
};

TEST_F(CommandEditing, PasteInsertsTheClipboardBeforeTheFocusedLineInOrder) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    EXPECT_FALSE(a.menuPaste->isEnabled());
    list.focusLine(3);
    select(list, {3, 1});
    a.menuCopy->trigger();
    EXPECT_EQ(window->objects().clipboard,
              (std::vector<std::string>{sj(msg("はじまり", 1)), sj(msg("はじまり", 3))}));
    EXPECT_FALSE(window->isModified());

    window->OpenPage(sj("第一章"), sj("次"), 1);
    EXPECT_TRUE(a.menuPaste->isEnabled());
    a.menuPaste->trigger();
    EXPECT_EQ(lines(*window)[1], msg("はじまり", 1));
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(list.model()->rowCount(), 5);
    EXPECT_TRUE(window->isModified());

    // With several lines selected, paste is refused.
    select(list, {0, 1});
    EXPECT_FALSE(a.menuPaste->isEnabled());
    EXPECT_FALSE(a.menuCmdInsert->isEnabled());
    EXPECT_TRUE(a.menuCut->isEnabled());
    EXPECT_TRUE(a.menuCopy->isEnabled());
}

TEST_F(CommandEditing, DeleteAndCutWorkOnEverySelectedLineWithoutAsking) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    list.focusLine(4);
    select(list, {0, 2, 4});
    a.menuCut->trigger();
    EXPECT_EQ(window->objects().clipboard,
              (std::vector<std::string>{sj(msg("はじまり", 0)), sj(msg("はじまり", 2)),
                                        sj(msg("はじまり", 4))}));
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_EQ(list.focusedIndex(), 1) << "the focus falls back to the last line";
    EXPECT_TRUE(window->isModified());
    EXPECT_TRUE(prompter.records().empty()) << "no confirmation";

    select(list, {0, 1});
    a.menuDelete->trigger();
    EXPECT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.focusedIndex(), 0);
}

TEST_F(CommandEditing, TheDeleteKeyDeletesTheSelectedLinesOnlyInTheCommandList) {
    const auto window = showWindow(writeSample());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    CommandListView& list = window->commandList();
    auto* field = new QLineEdit(QStringLiteral("abc"), window.get());
    field->show();

    window->tree().setFocus();
    QTest::keyClick(&window->tree(), Qt::Key_Delete);
    field->setFocus();
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), QStringLiteral("bc")) << "the text field takes the key";
    EXPECT_EQ(lines(*window).size(), 5u) << "the key does nothing outside the list";

    list.setFocus();
    list.focusLine(1);
    select(list, {1, 3});
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(lines(*window), (std::vector<std::string>{msg("はじまり", 0), msg("はじまり", 2),
                                                        msg("はじまり", 4)}));
    EXPECT_TRUE(window->isModified());
}

TEST_F(CommandEditing, InsertBeforeAndAddAtEndFocusTheNewLine) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    window->OpenPage(sj("第一章"), sj("次"), 1);
    a.menuCmdInsert->trigger();
    EXPECT_EQ(list.model()->rowCount(), 4);
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_TRUE(window->isModified());

    list.focusLine(0);
    a.menuCmdAdd->trigger();
    EXPECT_EQ(list.model()->rowCount(), 5);
    EXPECT_EQ(list.focusedIndex(), 4);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{4});
    EXPECT_EQ(window->statusPanel1().text(), QStringLiteral("4行目"));
}

TEST_F(CommandEditing, ANewCommandGoesAfterTheFocusedLineOnlyWhenConfirmed) {
    const auto window = showWindow(writeSample());
    CommandListView& list = window->commandList();
    window->OpenPage(sj("第一章"), sj("次"), 0);

    // Cancelled in its dialog: nothing is inserted.
    window->InsertNewCommand({}, CmdKind::MsgDlg);
    EXPECT_EQ(lines(*window).size(), 3u);

    std::vector<QString> handedIn;
    bool confirm = false;
    window->commandChooser().setDialog(CmdKind::Music,
                                       [&](DialogContext& context, QWidget* parent) {
                                           return std::make_unique<TestMusicDialog>(context, parent);
                                       });
    modal = [&](QDialog& dialog) {
        auto& music = dynamic_cast<TestMusicDialog&>(dialog);
        handedIn.push_back(music.edtFileName->text());
        music.cmbLoop->setValue(2);
        if (confirm)
            music.btnOKClick();
        return 0;
    };
    window->InsertNewCommand("Music \"a.mid\",0,", CmdKind::Music);
    EXPECT_EQ(handedIn, std::vector<QString>{QStringLiteral("a.mid")});
    EXPECT_EQ(lines(*window).size(), 3u) << "cancelled";
    EXPECT_FALSE(window->isModified());

    confirm = true;
    window->InsertNewCommand({}, CmdKind::Music);
    EXPECT_EQ(lines(*window)[1], "Music \"\",2,");
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    EXPECT_TRUE(window->isModified());

    // Chosen from the chooser, after the last line.
    list.focusLine(3);
    auto& chooser = window->commandChooser();
    chooser.lstCmdListClick(5); // 音楽を止める
    EXPECT_EQ(lines(*window).back(), "MusicStop");
    EXPECT_EQ(list.focusedIndex(), 4);
    EXPECT_TRUE(prompter.records().empty()) << "MusicStop asks nothing";
}

TEST_F(CommandEditing, EditingReplacesTheFocusedLineOnlyWhenItChanged) {
    const auto window = showWindow(
        writeComic("edit.csf", {"<Head=\"Comic\">", "StartBook=b", "StartPage=p", "<Head End>",
                                "<Book=\"b\">", "<Page=\"p\">", "//note", "MusicStop /IF:%a%==1",
                                "WaitTime 5,", "<Page End>", "<Book End>"}));
    CommandListView& list = window->commandList();
    MainActions& a = window->actions();
    EXPECT_TRUE(a.menuCmdEdit->isEnabled());

    list.focusLine(0);
    prompter.queueInput(sj("note"));
    a.menuCmdEdit->trigger();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].initial, sj("note"));
    EXPECT_EQ(lines(*window)[0], "//note");
    EXPECT_FALSE(window->isModified()) << "OK without a change leaves the page alone";

    prompter.queueInput(sj("メモ"));
    emit list.doubleClicked(list.model()->index(0, 0));
    EXPECT_EQ(lines(*window)[0], "//メモ");
    EXPECT_TRUE(window->isModified());

    list.focusLine(1);
    a.menuCmdEdit->trigger();
    EXPECT_EQ(lines(*window)[1], "MusicStop") << "confirmed at once; its options are not kept";
    EXPECT_EQ(list.focusedIndex(), 1);

    // A kind without a dialog is left as it is.
    list.focusLine(2);
    a.menuCmdEdit->trigger();
    EXPECT_EQ(lines(*window)[2], "WaitTime 5,");
}

TEST_F(CommandEditing, TheFocusedLineGoesIntoThePaletteUnderAName) {
    const auto window = showWindow(writeSample());
    CommandListView& list = window->commandList();
    TfrmCmdPalette& palette = window->commandPalette();
    list.focusLine(2);
    select(list, {2});
    prompter.queueInput(std::nullopt);
    window->actions().menuCmdPaletteAdd->trigger();
    prompter.queueInput("");
    window->actions().menuCmdPaletteAdd->trigger();
    EXPECT_TRUE(palette.entries().empty()) << "no name, no entry";
    EXPECT_FALSE(palette.isVisible());

    prompter.queueInput(sj("あいさつ"));
    window->actions().menuCmdPaletteAdd->trigger();
    ASSERT_EQ(palette.entries().size(), 1u);
    EXPECT_EQ(palette.entries()[0].name, sj("あいさつ"));
    EXPECT_EQ(palette.entries()[0].line, sj(msg("はじまり", 2)));
    EXPECT_TRUE(palette.isVisible());
    const auto& asked = prompter.records().back();
    EXPECT_EQ(asked.caption, sj("コマンドパレットに登録"));
    EXPECT_EQ(asked.text, sj("コマンドパレットへの登録名を入力して下さい"));
    EXPECT_EQ(asked.initial, "");

    palette.hide();
    window->actions().menuCmdPaletteShow->trigger();
    EXPECT_TRUE(palette.isVisible());

    // An entry goes in after the focused line through its kind's editor.
    palette.AddPaletteEntry("MusicStop", "stop");
    palette.list()->setCurrentRow(1);
    palette.lstCmdPaletteDblClick();
    EXPECT_EQ(lines(*window)[3], "MusicStop");
    EXPECT_EQ(list.focusedIndex(), 3);
}

TEST_F(CommandEditing, ClosingTheWindowSavesThePaletteEvenWhenTheWindowStaysOpen) {
    const std::filesystem::path paletteFile = folder.write("mine.pal", "a\r\nMusicStop\r\n");
    settings.writeText("CmdPaletteFile", paletteFile.string());
    const auto window = showWindow(writeSample());
    window->commandPalette().AddPaletteEntry("// x", "b");
    window->menuCmdAddClick(); // modified
    prompter.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompter.records().size(), 1u) << "only the comic's own save question";
    EXPECT_EQ(readFile(paletteFile), "a\r\nMusicStop\r\nb\r\n// x\r\n");

    window->commandPalette().AddPaletteEntry("// y", "c");
    prompter.queueAnswer(Answer::No);
    window->actions().menuExit->trigger();
    EXPECT_EQ(readFile(paletteFile), "a\r\nMusicStop\r\nb\r\n// x\r\nc\r\n// y\r\n")
        << "ending through the menu writes it as the close box does";
}

TEST_F(CommandEditing, ANewPaletteIsSavedAtCloseOnlyWhenTheUserAgrees) {
    const auto window = showWindow(writeSample());
    window->commandPalette().AddPaletteEntry("// x", "b");
    prompter.queueAnswer(Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("コマンドパレットを保存しますか？")});
    EXPECT_TRUE(window->commandPalette().hasNoFile());
}

TEST_F(CommandEditing, TheListPopUpMenuFollowsItsMenuItems) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    EXPECT_EQ(list.contextMenuPolicy(), Qt::CustomContextMenu);
    QStringList captions;
    for (QAction* item : a.listPopup->actions())
        if (!item->isSeparator())
            captions << item->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("コマンドの編集"), QStringLiteral("コマンドの挿入"),
                           QStringLiteral("コマンドの追加"), a.menuCut->text(), a.menuCopy->text(),
                           a.menuPaste->text(), a.menuDelete->text(),
                           QStringLiteral("コマンドパレットに追加")}));
    auto* popCopy = a.listPopup->findChild<QAction*>(QStringLiteral("popCopy"));
    auto* popPaste = a.listPopup->findChild<QAction*>(QStringLiteral("popPaste"));
    auto* popDelete = a.listPopup->findChild<QAction*>(QStringLiteral("popDelete"));
    ASSERT_NE(popCopy, nullptr);
    ASSERT_NE(popPaste, nullptr);
    ASSERT_NE(popDelete, nullptr);
    EXPECT_FALSE(popPaste->isEnabled());
    list.focusLine(2);
    popCopy->trigger();
    EXPECT_EQ(window->objects().clipboard, std::vector<std::string>{sj(msg("はじまり", 2))});
    EXPECT_TRUE(popPaste->isEnabled());
    popPaste->trigger();
    EXPECT_EQ(lines(*window)[2], msg("はじまり", 2));
    EXPECT_EQ(lines(*window)[3], msg("はじまり", 2));
    list.clearSelection();
    EXPECT_FALSE(popCopy->isEnabled());
    EXPECT_FALSE(popPaste->isEnabled());
    EXPECT_TRUE(popDelete->isEnabled()) << "delete is never disabled";
}

} // namespace
} // namespace pagora::test
