#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QMenu>

namespace pagora::test {
namespace {

class CommandEditing : public EditorTest {
protected:
    static std::vector<std::string> lines(TfrmMain& window) {
        TComicFileCtrl& comic = window.objects().comic;
        const SessionState& session = window.session();
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
    EXPECT_EQ(lines(*window).size(), 5u) << "copy leaves the page alone";
    EXPECT_FALSE(window->session().modified);

    window->OpenPage(sj("第一章"), sj("次"), 1);
    EXPECT_TRUE(a.menuPaste->isEnabled());
    a.menuPaste->trigger();
    EXPECT_EQ(lines(*window),
              (std::vector<std::string>{msg("次", 0), msg("はじまり", 1), msg("はじまり", 3),
                                        msg("次", 1), msg("次", 2)}));
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(list.model()->rowCount(), 5);
    EXPECT_TRUE(window->session().modified);
    EXPECT_EQ(window->objects().clipboard.size(), 2u) << "the clipboard keeps its lines";

    // With several lines selected, paste is refused.
    select(list, {0, 1});
    EXPECT_FALSE(a.menuPaste->isEnabled());
    EXPECT_FALSE(a.menuCmdInsert->isEnabled());
    EXPECT_TRUE(a.menuCut->isEnabled());
    EXPECT_TRUE(a.menuCopy->isEnabled());
}

TEST_F(CommandEditing, DeleteAndCutWorkOnEverySelectedLineAndLeaveNoPageEmpty) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    list.focusLine(4);
    select(list, {0, 2, 4});
    a.menuCut->trigger();
    EXPECT_EQ(window->objects().clipboard,
              (std::vector<std::string>{sj(msg("はじまり", 0)), sj(msg("はじまり", 2)),
                                        sj(msg("はじまり", 4))}));
    EXPECT_EQ(lines(*window), (std::vector<std::string>{msg("はじまり", 1), msg("はじまり", 3)}));
    EXPECT_EQ(list.focusedIndex(), 1) << "the focus falls back to the last line";
    EXPECT_TRUE(window->session().modified);
    EXPECT_TRUE(prompter.records().empty()) << "no confirmation";

    select(list, {0, 1});
    a.menuDelete->trigger();
    EXPECT_EQ(lines(*window), std::vector<std::string>{"// "});
    EXPECT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.focusedIndex(), 0);
    // Deleting the only line leaves it there, empty.
    a.menuDelete->trigger();
    EXPECT_EQ(lines(*window), std::vector<std::string>{"// "});
}

TEST_F(CommandEditing, InsertBeforeAndAddAtEndPutAnEmptyComment) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    CommandListView& list = window->commandList();
    window->OpenPage(sj("第一章"), sj("次"), 1);
    a.menuCmdInsert->trigger();
    EXPECT_EQ(lines(*window),
              (std::vector<std::string>{msg("次", 0), "// ", msg("次", 1), msg("次", 2)}));
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_TRUE(window->session().modified);

    list.focusLine(0);
    a.menuCmdAdd->trigger();
    EXPECT_EQ(lines(*window).size(), 5u);
    EXPECT_EQ(lines(*window).back(), "// ");
    EXPECT_EQ(list.focusedIndex(), 4);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{4});
    EXPECT_EQ(window->statusPanel1().text(), QStringLiteral("4行目"));
}

TEST_F(CommandEditing, ANewCommandGoesAfterTheFocusedLineOnlyWhenConfirmed) {
    const auto window = showWindow(writeSample());
    CommandListView& list = window->commandList();
    window->OpenPage(sj("第一章"), sj("次"), 0);

    // No dialog frame: nothing is inserted.
    window->InsertNewCommand({}, CmdKind::MsgDlg);
    EXPECT_EQ(lines(*window).size(), 3u);

    std::vector<std::pair<std::string, CmdKind>> asked;
    std::optional<std::string> answer;
    window->setCommandDialog([&](const std::string& line, CmdKind kind) {
        asked.emplace_back(line, kind);
        return answer;
    });
    window->InsertNewCommand(sj("Wait 10"), CmdKind::WaitTime);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, "Wait 10");
    EXPECT_EQ(asked[0].second, CmdKind::WaitTime);
    EXPECT_EQ(lines(*window).size(), 3u) << "cancelled";
    EXPECT_FALSE(window->session().modified);

    answer = "// one";
    window->InsertNewCommand({}, CmdKind::Comment);
    EXPECT_EQ(lines(*window),
              (std::vector<std::string>{msg("次", 0), "// one", msg("次", 1), msg("次", 2)}));
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    EXPECT_TRUE(window->session().modified);

    list.focusLine(3);
    answer = "// last";
    window->InsertNewCommand({}, CmdKind::Comment);
    EXPECT_EQ(lines(*window).back(), "// last");
    EXPECT_EQ(list.focusedIndex(), 4);
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
