// The command palette window: its settings, the save question at the main
// window's close with each answer, opening and saving palette files, renaming,
// deleting and inserting entries, and files that cannot be read or written.
#include "editor/command_palette.h"
#include "editor_fixture.h"

#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <filesystem>

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

const std::string kInvalid = "不正なパレットが選択されました";
const std::string kQuerySave = "コマンドパレットを保存しますか？";
const std::string kDeleteQuestion = "コマンドパレットを削除してもいいですか？";

class CommandPaletteTest : public EditorTest {
protected:
    std::unique_ptr<TfrmCmdPalette> makePalette() {
        return std::make_unique<TfrmCmdPalette>(services);
    }
    std::vector<std::string> listTexts(const TfrmCmdPalette& palette) const {
        std::vector<std::string> texts;
        for (int i = 0; i < palette.list()->count(); ++i)
            texts.push_back(cp932Text(palette.list()->item(i)->text()));
        return texts;
    }
    std::vector<std::string> names(const TfrmCmdPalette& palette) const {
        std::vector<std::string> result;
        for (const PaletteEntry& entry : palette.entries())
            result.push_back(entry.name);
        return result;
    }
    std::filesystem::path writePalette(const std::string& name, const std::string& utf8) {
        return folder.write(name, sj(utf8));
    }
    const std::string twoEntries = "挨拶\r\nMsgDlg \"やあ\"\r\n待つ\r\nWaitTime 10\r\n";
};

TEST_F(CommandPaletteTest, FirstStartWritesDefaultsAndDestructionWritesBackOnlyPresentValues) {
    {
        auto palette = makePalette();
        EXPECT_EQ(settings.value("CommandPalPosTop"), "368");
        EXPECT_EQ(settings.value("CommandPalPosLeft"), "0");
        EXPECT_EQ(settings.value("CommandPalPosHeight"), "130");
        EXPECT_EQ(settings.value("CommandPalPosWidth"), "270");
        EXPECT_EQ(settings.value("CmdPaletteFile"), "CPalette.pal");
        EXPECT_EQ(palette->objectName(), "TfrmCmdPalette");
        EXPECT_EQ(palette->windowTitle(), QStringLiteral("コマンドパレット"));
        EXPECT_EQ(palette->size(), QSize(270, 130));
        EXPECT_EQ(palette->pos(), QPoint(0, 368));
        EXPECT_TRUE(palette->hasNoFile());
        EXPECT_TRUE(palette->entries().empty());
        EXPECT_TRUE(prompter.records().empty());
        palette->move(10, 20);
        palette->resize(300, 150);
    }
    EXPECT_EQ(settings.value("CommandPalPosTop"), "20");
    EXPECT_EQ(settings.value("CommandPalPosLeft"), "10");
    EXPECT_EQ(settings.value("CommandPalPosHeight"), "150");
    EXPECT_EQ(settings.value("CommandPalPosWidth"), "300");

    settings.setValue("CommandPalPosTop", "33");
    settings.setValue("CommandPalPosLeft", "44");
    {
        auto palette = makePalette();
        EXPECT_EQ(palette->pos(), QPoint(44, 33));
        EXPECT_EQ(palette->size(), QSize(300, 150));
        settings.eraseAll();
    }
    EXPECT_FALSE(settings.contains("CommandPalPosTop"));
    EXPECT_FALSE(settings.contains("CmdPaletteFile"));
}

TEST_F(CommandPaletteTest, SaveQuestionWithEachAnswer) {
    auto palette = makePalette();
    // Nothing registered: no question.
    palette->PaletteQuerySave();
    EXPECT_TRUE(prompter.records().empty());

    palette->AddPaletteEntry(sj("WaitTime 5"), sj("五"));
    EXPECT_EQ(listTexts(*palette), std::vector<std::string>{sj("五")});

    // No: no dialog, nothing kept.
    prompter.queueAnswer(Answer::No);
    palette->PaletteQuerySave();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].text, sj(kQuerySave));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Information);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(palette->hasNoFile());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    // Yes, then Cancel in the save dialog: nothing kept either.
    prompter.clear();
    prompter.queueAnswer(Answer::Yes);
    prompter.queuePath(std::nullopt);
    palette->PaletteQuerySave();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].call, Call::SaveFile);
    EXPECT_EQ(prompter.records()[1].text, "パレットを保存");
    EXPECT_TRUE(palette->hasNoFile());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    // Yes and a file: saved there, and the file becomes the palette's.
    prompter.clear();
    const auto file = folder.path() / "mine.pal";
    prompter.queueAnswer(Answer::Yes);
    prompter.queuePath(file);
    palette->PaletteQuerySave();
    EXPECT_EQ(palette->paletteFile(), file);
    EXPECT_EQ(readFile(file), sj("五\r\nWaitTime 5\r\n"));

    // With a file: saved again without a question.
    prompter.clear();
    palette->AddPaletteEntry(sj("WaitTime 6"), sj("六"));
    palette->PaletteQuerySave();
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_EQ(readFile(file), sj("五\r\nWaitTime 5\r\n六\r\nWaitTime 6\r\n"));

    palette.reset();
    EXPECT_EQ(settings.value("CmdPaletteFile"), file.string());
}

TEST_F(CommandPaletteTest, LoadsFromSettingsAtStartAndFallsBackWhenMissing) {
    const auto five = writePalette("five.pal", "一\r\nWaitTime 1\r\n二\r\nWaitTime 2\r\n余り\r\n");
    settings.setValue("CmdPaletteFile", five.string());
    {
        auto palette = makePalette();
        EXPECT_EQ(names(*palette), (std::vector<std::string>{sj("一"), sj("二")}));
        EXPECT_EQ(listTexts(*palette), names(*palette));
        EXPECT_EQ(palette->entries()[1].line, "WaitTime 2");
        EXPECT_EQ(palette->paletteFile(), five);
    }
    // The destruction does not write the palette file.
    EXPECT_EQ(readFile(five), sj("一\r\nWaitTime 1\r\n二\r\nWaitTime 2\r\n余り\r\n"));

    settings.setValue("CmdPaletteFile", (folder.path() / "gone.pal").string());
    auto palette = makePalette();
    EXPECT_TRUE(palette->entries().empty());
    EXPECT_TRUE(palette->hasNoFile());
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(CommandPaletteTest, OpenAndSaveThroughTemporaryFolders) {
    const auto first = writePalette("first.pal", twoEntries);
    auto palette = makePalette();
    palette->AddPaletteEntry("WaitTime 9", "old");

    // Cancel changes nothing.
    prompter.queuePath(std::nullopt);
    palette->popPalFileOpenClick();
    EXPECT_EQ(names(*palette), std::vector<std::string>{"old"});
    EXPECT_TRUE(palette->hasNoFile());

    // Opening replaces the entries without a question.
    prompter.queuePath(first);
    palette->popPalFileOpenClick();
    EXPECT_EQ(names(*palette), (std::vector<std::string>{sj("挨拶"), sj("待つ")}));
    EXPECT_EQ(listTexts(*palette), names(*palette));
    EXPECT_EQ(palette->paletteFile(), first);
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].call, Call::OpenFile);
    EXPECT_EQ(prompter.records()[1].text, "パレットを開く");

    // Saving writes to the chosen file, which becomes the palette's.
    const auto other = folder.path() / "sub" / "other.pal";
    std::filesystem::create_directory(folder.path() / "sub");
    palette->AddPaletteEntry("WaitTime 3", "");
    prompter.queuePath(other);
    palette->popPalFileSaveClick();
    EXPECT_EQ(palette->paletteFile(), other);
    EXPECT_EQ(readFile(other), sj(twoEntries) + "\r\nWaitTime 3\r\n");
    EXPECT_EQ(readFile(first), sj(twoEntries));

    // Cancel in the save dialog writes nothing.
    prompter.queuePath(std::nullopt);
    palette->AddPaletteEntry("WaitTime 4", "x");
    palette->popPalFileSaveClick();
    EXPECT_EQ(readFile(other), sj(twoEntries) + "\r\nWaitTime 3\r\n");

    // Reopening the saved file gives the same entries.
    const std::vector<PaletteEntry> before(palette->entries().begin(),
                                           palette->entries().end() - 1);
    prompter.queuePath(other);
    palette->popPalFileOpenClick();
    EXPECT_EQ(palette->entries(), before);
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(CommandPaletteTest, UnreadableAndUnwritableFilesKeepTheList) {
    const auto mine = writePalette("mine.pal", twoEntries);
    settings.setValue("CmdPaletteFile", mine.string());
    auto palette = makePalette();
    const std::vector<PaletteEntry> entries = palette->entries();
    ASSERT_EQ(entries.size(), 2u);

    // A folder is there but cannot be read as a file.
    const auto blocked = folder.path() / "blocked.pal";
    std::filesystem::create_directory(blocked);
    prompter.queuePath(blocked);
    palette->popPalFileOpenClick();
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("blocked.pal")));
    EXPECT_EQ(palette->entries(), entries);
    EXPECT_EQ(listTexts(*palette), (std::vector<std::string>{sj("挨拶"), sj("待つ")}));
    EXPECT_EQ(palette->paletteFile(), mine);

    // Saving into it fails too: the list and the palette's file stay.
    prompter.queuePath(blocked);
    palette->popPalFileSaveClick();
    EXPECT_EQ(errorBoxes.size(), 2u);
    EXPECT_EQ(palette->paletteFile(), mine);
    EXPECT_EQ(palette->entries(), entries);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));

    // A folder that does not exist.
    prompter.queuePath(folder.path() / "no" / "such.pal");
    palette->popPalFileSaveClick();
    EXPECT_EQ(errorBoxes.size(), 3u);
    EXPECT_EQ(palette->paletteFile(), mine);

    // The palette's own file cannot be replaced at close: told, old file whole.
    palette->AddPaletteEntry("WaitTime 1", "new");
    std::filesystem::remove(mine);
    std::filesystem::create_directory(mine);
    palette->PaletteQuerySave();
    EXPECT_EQ(errorBoxes.size(), 4u);
    EXPECT_EQ(palette->entries().size(), 3u);
    EXPECT_TRUE(std::filesystem::is_directory(mine));

    // A new palette whose chosen file cannot be written keeps no file.
    auto fresh = makePalette();
    ASSERT_EQ(errorBoxes.size(), 5u); // the palette's file is a folder now
    EXPECT_TRUE(fresh->hasNoFile());
    fresh->AddPaletteEntry("WaitTime 2", "two");
    prompter.queueAnswer(Answer::Yes);
    prompter.queuePath(blocked);
    fresh->PaletteQuerySave();
    EXPECT_EQ(errorBoxes.size(), 6u);
    EXPECT_TRUE(fresh->hasNoFile());
    EXPECT_EQ(fresh->entries().size(), 1u);
}

TEST_F(CommandPaletteTest, RenameAndDelete) {
    auto palette = makePalette();
    palette->AddPaletteEntry("WaitTime 1", "a");
    palette->AddPaletteEntry("WaitTime 2", "b");
    palette->AddPaletteEntry("WaitTime 3", "c");

    // Nothing selected.
    palette->popPalRenameClick();
    palette->popPalDeleteClick();
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{sj(kInvalid), sj(kInvalid)}));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::Ok);
    EXPECT_EQ(names(*palette), (std::vector<std::string>{"a", "b", "c"}));

    prompter.clear();
    palette->list()->setCurrentRow(1);
    prompter.queueInput(sj("びー"));
    palette->popPalRenameClick();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].call, Call::InputText);
    EXPECT_EQ(prompter.records()[0].text, sj("コマンドパレットの登録名を入力して下さい"));
    EXPECT_EQ(prompter.records()[0].caption, sj("コマンドパレットの登録名変更"));
    EXPECT_EQ(prompter.records()[0].initial, "b");
    EXPECT_EQ(names(*palette), (std::vector<std::string>{"a", sj("びー"), "c"}));
    EXPECT_EQ(listTexts(*palette), names(*palette));

    // Cancel keeps the old name; an empty answer gives an empty name.
    prompter.queueInput(std::nullopt);
    palette->popPalRenameClick();
    EXPECT_EQ(palette->entries()[1].name, sj("びー"));
    palette->list()->setCurrentRow(1);
    prompter.queueInput(std::string());
    palette->popPalRenameClick();
    EXPECT_EQ(palette->entries()[1].name, "");
    EXPECT_EQ(palette->entries()[1].line, "WaitTime 2");
    EXPECT_EQ(palette->list()->item(1)->text(), QString());

    // Delete: Cancel keeps the entry, OK removes name and line.
    prompter.clear();
    palette->list()->setCurrentRow(0);
    prompter.queueAnswer(Answer::Cancel);
    palette->popPalDeleteClick();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].text, sj(kDeleteQuestion));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(palette->entries().size(), 3u);
    palette->list()->setCurrentRow(0);
    prompter.queueAnswer(Answer::Ok);
    palette->popPalDeleteClick();
    EXPECT_EQ(palette->entries(),
              (std::vector<PaletteEntry>{{"", "WaitTime 2"}, {"c", "WaitTime 3"}}));
    EXPECT_EQ(palette->list()->count(), 2);
}

TEST_F(CommandPaletteTest, InsertGoesThroughTheCallbackWithTheKind) {
    auto palette = makePalette();
    palette->AddPaletteEntry(sj("MsgDlg \"やあ\""), sj("挨拶"));
    palette->AddPaletteEntry("WaitTime 10", "wait");
    std::vector<std::pair<std::string, CmdKind>> inserted;
    palette->setInsertCommand(
        [&](const std::string& line, CmdKind kind) { inserted.emplace_back(line, kind); });

    palette->lstCmdPaletteDblClick();
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kInvalid)});
    EXPECT_TRUE(inserted.empty());

    palette->list()->setCurrentRow(1);
    palette->lstCmdPaletteDblClick();
    palette->list()->setCurrentRow(0);
    palette->popupMenu()->findChild<QAction*>("popPalSelect")->trigger();
    ASSERT_EQ(inserted.size(), 2u);
    EXPECT_EQ(inserted[0], std::make_pair(std::string("WaitTime 10"), CmdKind::WaitTime));
    EXPECT_EQ(inserted[1], std::make_pair(sj("MsgDlg \"やあ\""), CmdKind::MsgDlg));
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(palette->entries().size(), 2u);
}

TEST_F(CommandPaletteTest, ADoubleClickAwayFromTheEntriesIsRefused) {
    auto palette = makePalette();
    palette->AddPaletteEntry(sj("MsgDlg \"やあ\""), sj("挨拶"));
    palette->AddPaletteEntry("WaitTime 10", "wait");
    std::vector<std::string> inserted;
    palette->setInsertCommand([&](const std::string& line, CmdKind) { inserted.push_back(line); });
    palette->show();
    QListWidget& list = *palette->list();
    list.setCurrentRow(0);
    const QPoint belowTheEntries(5, list.visualItemRect(list.item(1)).bottom() + 10);
    ASSERT_LT(belowTheEntries.y(), list.viewport()->height());

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, belowTheEntries);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj(kInvalid)});
    EXPECT_EQ(prompter.records().at(0).kind, MessageKind::Warning);
    EXPECT_TRUE(inserted.empty());

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(inserted, std::vector<std::string>{"WaitTime 10"});
    EXPECT_EQ(prompter.messages().size(), 1u);
}

TEST_F(CommandPaletteTest, PopupMenuItemsNeedASelectionAndHelpOpensTopic) {
    auto palette = makePalette();
    QMenu* menu = palette->popupMenu();
    std::vector<QString> texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts.push_back(action->text());
    EXPECT_EQ(texts, (std::vector<QString>{"選択", "名前の変更", "削除", "パレットを開く",
                                           "パレットを保存", "ヘルプ"}));
    auto enabled = [&](const char* name) {
        return menu->findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    palette->updatePopupMenu();
    EXPECT_FALSE(enabled("popPalSelect"));
    EXPECT_FALSE(enabled("popPalRename"));
    EXPECT_FALSE(enabled("popPalDelete"));
    EXPECT_TRUE(enabled("popPalFileOpen"));
    EXPECT_TRUE(enabled("popPalFileSave"));
    EXPECT_TRUE(enabled("popPalHelp"));

    palette->AddPaletteEntry("WaitTime 1", "a");
    palette->list()->setCurrentRow(0);
    palette->updatePopupMenu();
    EXPECT_TRUE(enabled("popPalSelect"));
    EXPECT_TRUE(enabled("popPalRename"));
    EXPECT_TRUE(enabled("popPalDelete"));
    palette->list()->clearSelection();
    palette->updatePopupMenu();
    EXPECT_FALSE(enabled("popPalDelete"));

    // Help: the topic's page, or the message that there are no help pages.
    services.helpFolder.clear();
    menu->findChild<QAction*>("popPalHelp")->trigger();
    EXPECT_TRUE(help.urls.empty());
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj("ヘルプファイルが見つかりません")});
    services.helpFolder = folder.path();
    menu->findChild<QAction*>("popPalHelp")->trigger();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0], helpTopicUrl(folder.path(), 108));
}

} // namespace
} // namespace pagora::test
