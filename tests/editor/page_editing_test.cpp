#include "editor/comic_tree_view.h"
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QMenu>

namespace pagora::test {
namespace {

class PageEditing : public EditorTest {
protected:
    std::vector<std::string> books(TfrmMain& window) {
        std::vector<std::string> names;
        for (const std::string& book : window.objects().comic.GetBookList())
            names.push_back(toUtf8(book));
        return names;
    }
    std::vector<std::string> pages(TfrmMain& window, std::string_view book) {
        std::vector<std::string> names;
        for (const std::string& page : window.objects().comic.GetPageList(sj(book)))
            names.push_back(toUtf8(page));
        return names;
    }
    static std::string openBook(TfrmMain& window) { return toUtf8(window.file().currentBook); }
    static std::string openPage(TfrmMain& window) { return toUtf8(window.file().currentPage); }
    static QString selectedNode(TfrmMain& window) {
        QTreeWidgetItem* node = window.tree().currentItem();
        return node == nullptr ? QString() : node->text(0);
    }
    // The one message shown since the last clear, as UTF-8.
    void expectOneMessage(MessageKind kind, Buttons buttons, std::string_view text) {
        ASSERT_EQ(prompter.records().size(), 1u);
        const ScriptedPrompter::Record& record = prompter.records()[0];
        EXPECT_EQ(record.call, ScriptedPrompter::Call::Message);
        EXPECT_EQ(record.kind, kind);
        EXPECT_EQ(record.buttons, buttons);
        EXPECT_EQ(toUtf8(record.text), text);
        prompter.clear();
    }
    void expectInput(std::string_view caption, std::string_view prompt, std::string_view initial) {
        ASSERT_FALSE(prompter.records().empty());
        const ScriptedPrompter::Record& record = prompter.records()[0];
        EXPECT_EQ(record.call, ScriptedPrompter::Call::InputText);
        EXPECT_EQ(toUtf8(record.caption), caption);
        EXPECT_EQ(toUtf8(record.text), prompt);
        EXPECT_EQ(toUtf8(record.initial), initial);
    }
};

std::vector<std::string> numberedBooks() {
    return {"<Head=\"Comic\">",
            "FileType=PGR95",
            "StartBook=ブック2",
            "StartPage=表紙",
            "<Head End>",
            "<Book=\"ブック2\">",
            "<Page=\"表紙\">",
            "// ",
            "<Page End>",
            "<Book End>",
            "<Book=\"ブック1\">",
            "<Page=\"表紙\">",
            "// ",
            "<Page End>",
            "<Book End>"};
}

TEST_F(PageEditing, AddingABookAsksForANameAndShowsTheRefusalOfAUsedOne) {
    const auto window = showWindow(writeComic("books.csf", numberedBooks()));
    MainActions& a = window->actions();

    // Cancel.
    a.menuAddBook->trigger();
    expectInput("ブック名の入力", "新しく追加するブックの名前を入力してください", "ブック3");
    prompter.clear();
    EXPECT_FALSE(window->isModified());

    prompter.queueInput(sj("ブック1"));
    a.menuAddBook->trigger();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].kind, MessageKind::Warning);
    EXPECT_EQ(toUtf8(prompter.records()[1].text), "指定されたブック名はすでに使用されてます。");
    prompter.clear();
    EXPECT_EQ(books(*window), (std::vector<std::string>{"ブック2", "ブック1"}));
    EXPECT_FALSE(window->isModified());

    prompter.queueInput(sj("ブック3"));
    a.menuAddBook->trigger();
    EXPECT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(books(*window), (std::vector<std::string>{"ブック2", "ブック1", "ブック3"}));
    EXPECT_EQ(pages(*window, "ブック3").size(), 1u) << "a new book has its first page";
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->tree().topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(openBook(*window), "ブック2");
    EXPECT_EQ(selectedNode(*window), QStringLiteral("表紙"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("(変更)")));
}

TEST_F(PageEditing, AddingAPageGoesToTheOpenBook) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    prompter.queueInput(sj("居間"));
    a.menuAddPage->trigger();
    expectInput("ページ名の入力", "新しく追加するページの名前を入力してください", "ページ1");
    EXPECT_EQ(pages(*window, "第一章"), (std::vector<std::string>{"はじまり", "次", "居間"}));
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(openPage(*window), "はじまり");
    EXPECT_EQ(window->tree().topLevelItem(0)->child(0)->childCount(), 3);
    prompter.clear();
    a.menuAddPage->trigger();
    expectInput("ページ名の入力", "新しく追加するページの名前を入力してください", "ページ1");
}

TEST_F(PageEditing, DeletingABookOrPageShowsItsRefusalOrAsksFirst) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    a.menuBookDelete->trigger();
    expectOneMessage(
        MessageKind::Information, Buttons::Ok,
        "指定されたブックは、\r\nスタートブックに設定されています。\r\n削除することはできません。");

    window->OpenPage(sj("第二章"), sj("居間"), -1);
    a.menuPageDelete->trigger();
    expectOneMessage(
        MessageKind::Information, Buttons::Ok,
        "ブックには、最低１つのページが必要です。\r\nページを削除することはできません。");
    prompter.queueAnswer(Answer::No);
    a.menuBookDelete->trigger();
    expectOneMessage(MessageKind::Information, Buttons::YesNo,
                     "現在開いているブックを削除します\r\nよろしいですか？");
    EXPECT_EQ(books(*window).size(), 2u);
    EXPECT_FALSE(window->isModified());

    prompter.queueAnswer(Answer::Yes);
    a.menuBookDelete->trigger();
    prompter.clear();
    EXPECT_EQ(books(*window), (std::vector<std::string>{"第一章"}));
    EXPECT_EQ(openBook(*window), "第一章");
    EXPECT_EQ(openPage(*window), "はじまり");
    EXPECT_EQ(window->tree().topLevelItem(0)->childCount(), 1);
    EXPECT_TRUE(window->isModified());

    window->OpenPage(sj("第一章"), sj("次"), -1);
    prompter.queueAnswer(Answer::Yes);
    a.menuPageDelete->trigger();
    expectOneMessage(MessageKind::Information, Buttons::YesNo,
                     "現在開いているページを削除します\r\nよろしいですか？");
    EXPECT_EQ(pages(*window, "第一章"), (std::vector<std::string>{"はじまり"}));
    EXPECT_EQ(openPage(*window), "はじまり");
    EXPECT_EQ(selectedNode(*window), QStringLiteral("はじまり"));
    EXPECT_EQ(window->commandList().model()->rowCount(), 5);
}

TEST_F(PageEditing, RenamingKeepsTheRenamedBookOrPageOpen) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    a.menuPageRename->trigger();
    expectOneMessage(MessageKind::Information, Buttons::Ok,
                     "指定されたページは、\r\nスタートページに設定されています。\r\n名前を変更する"
                     "ことはできません。");

    window->OpenPage(sj("第二章"), sj("居間"), -1);
    a.menuBookRename->trigger(); // cancelled: the current name comes back
    expectInput("ブック名の変更", "新しいブック名を入力してください", "第二章");
    EXPECT_EQ(prompter.records().size(), 1u);
    prompter.clear();
    prompter.queueInput(sj("第一章"));
    a.menuBookRename->trigger();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].kind, MessageKind::Warning);
    EXPECT_EQ(toUtf8(prompter.records()[1].text), "指定されたブック名はすでに使用されてます。");
    prompter.clear();
    EXPECT_FALSE(window->isModified());

    prompter.queueInput(sj("終章"));
    a.menuBookRename->trigger();
    EXPECT_EQ(books(*window), (std::vector<std::string>{"第一章", "終章"}));
    EXPECT_EQ(openBook(*window), "終章");
    EXPECT_EQ(openPage(*window), "居間");
    EXPECT_EQ(window->tree().topLevelItem(0)->child(1)->text(0), QStringLiteral("終章"));
    EXPECT_EQ(selectedNode(*window), QStringLiteral("居間"));
    EXPECT_TRUE(window->isModified());
    prompter.clear();

    window->OpenPage(sj("第一章"), sj("次"), -1);
    prompter.queueInput(sj("その後"));
    a.menuPageRename->trigger();
    expectInput("ページ名の変更", "新しいページ名を入力してください", "次");
    EXPECT_EQ(pages(*window, "第一章"), (std::vector<std::string>{"はじまり", "その後"}));
    EXPECT_EQ(openPage(*window), "その後");
    EXPECT_EQ(selectedNode(*window), QStringLiteral("その後"));
    EXPECT_EQ(window->commandList().model()->rowCount(), 3);
}

TEST_F(PageEditing, TheTreeHasAPopUpMenuOfTheBookAndPageCommands) {
    const auto window = showWindow(writeSample());
    MainActions& a = window->actions();
    const QList<QAction*> items = a.treePopup->actions();
    for (QAction* action : {a.menuAddBook, a.menuAddPage, a.menuBookDelete, a.menuPageDelete,
                            a.menuBookRename, a.menuPageRename})
        EXPECT_TRUE(items.contains(action)) << action->objectName().toStdString();
    EXPECT_EQ(window->tree().contextMenuPolicy(), Qt::CustomContextMenu);
}

} // namespace
} // namespace pagora::test
