#include "editor/comic_tree_view.h"
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>

namespace pagora::test {
namespace {

class TreeDrop : public EditorTest {
protected:
    static QTreeWidgetItem* root(TfrmMain& window) { return window.tree().topLevelItem(0); }
    static QTreeWidgetItem* book(TfrmMain& window, int b) { return root(window)->child(b); }
    static QTreeWidgetItem* page(TfrmMain& window, int b, int p) {
        return book(window, b)->child(p);
    }
    std::vector<std::string> names(const std::vector<std::string>& cp932) {
        std::vector<std::string> result;
        for (const std::string& name : cp932)
            result.push_back(toUtf8(name));
        return result;
    }
    std::vector<std::string> books(TfrmMain& window) {
        return names(window.objects().comic.GetBookList());
    }
    std::vector<std::string> pages(TfrmMain& window, std::string_view b) {
        return names(window.objects().comic.GetPageList(sj(b)));
    }
    std::string onlyMessage(MessageKind kind, Buttons buttons) {
        EXPECT_EQ(prompter.records().size(), 1u);
        if (prompter.records().empty())
            return {};
        const ScriptedPrompter::Record record = prompter.records()[0];
        prompter.clear();
        EXPECT_EQ(record.kind, kind);
        EXPECT_EQ(record.buttons, buttons);
        return toUtf8(record.text);
    }
};

TEST_F(TreeDrop, OnlyTheTreesOwnDragsAreTakenAndItsNodesNeverMoveByThemselves) {
    const auto window = showWindow(writeSample());
    ComicTreeView& tree = window->tree();
    EXPECT_TRUE(tree.dragEnabled());
    EXPECT_TRUE(tree.acceptDrops());
    EXPECT_EQ(tree.defaultDropAction(), Qt::CopyAction);

    // A drop from elsewhere (here: from no widget of this tree) is refused.
    QSignalSpy dropped(&tree, &ComicTreeView::nodeDropped);
    QMimeData data;
    data.setText(QStringLiteral("第二章"));
    const QPointF at = tree.visualItemRect(tree.topLevelItem(0)->child(1)).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(dropped.count(), 0);
    EXPECT_EQ(books(*window), (std::vector<std::string>{"第一章", "第二章"}));
    EXPECT_FALSE(window->isModified());
}

TEST_F(TreeDrop, MovingAPageShowsItsRefusalOrAsksAboutAnotherBook) {
    const auto window = showWindow(writeSample());
    // The first page dropped onto its own book lands on itself.
    window->TreeViewDragDrop(page(*window, 0, 0), book(*window, 0));
    EXPECT_EQ(onlyMessage(MessageKind::Error, Buttons::Ok),
              "移動先と移動元のページが同じです\n移動することはできません");
    // Nothing under the mouse, the root as target, the root as source: nothing.
    window->TreeViewDragDrop(page(*window, 0, 0), nullptr);
    window->TreeViewDragDrop(page(*window, 0, 0), root(*window));
    window->TreeViewDragDrop(root(*window), book(*window, 1));
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_FALSE(window->isModified());

    // Within the book: after the target page; onto the book: to the top.
    window->TreeViewDragDrop(page(*window, 0, 0), page(*window, 0, 1));
    EXPECT_EQ(pages(*window, "第一章"), (std::vector<std::string>{"次", "はじまり"}));
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(toUtf8(window->file().currentPage), "はじまり");
    EXPECT_EQ(window->tree().currentItem(), page(*window, 0, 1));
    window->TreeViewDragDrop(page(*window, 0, 1), book(*window, 0));
    EXPECT_EQ(pages(*window, "第一章"), (std::vector<std::string>{"はじまり", "次"}));

    // To another book: asked first; No changes nothing.
    prompter.queueAnswer(Answer::No);
    window->TreeViewDragDrop(page(*window, 0, 1), page(*window, 1, 0));
    EXPECT_EQ(onlyMessage(MessageKind::Warning, Buttons::YesNo),
              "別のブックに移動しようとしています\nこのページ内に選択肢コマンドがある場合や、\n"
              "このページに移動するコマンドが存在する場合\n正しく動作できなくなるかもしれません。\n"
              "ページを移動してよろしいですか？");
    EXPECT_EQ(pages(*window, "第二章"), std::vector<std::string>{"居間"});
    prompter.queueAnswer(Answer::Yes);
    window->TreeViewDragDrop(page(*window, 0, 1), page(*window, 1, 0));
    prompter.clear();
    EXPECT_EQ(pages(*window, "第一章"), std::vector<std::string>{"はじまり"});
    EXPECT_EQ(pages(*window, "第二章"), (std::vector<std::string>{"居間", "次"}));
    EXPECT_EQ(toUtf8(window->file().currentBook), "第二章");
    EXPECT_EQ(toUtf8(window->file().currentPage), "次");
    EXPECT_EQ(window->commandList().model()->rowCount(), 3);
}

TEST_F(TreeDrop, MovingABookKeepsTheOpenPage) {
    const auto window = showWindow(writeSample());
    window->OpenPage(sj("第一章"), sj("次"), 1);
    // Onto itself or one of its pages: nothing moves.
    window->TreeViewDragDrop(book(*window, 0), book(*window, 0));
    window->TreeViewDragDrop(book(*window, 0), page(*window, 0, 1));
    EXPECT_FALSE(window->isModified());
    window->TreeViewDragDrop(book(*window, 1), root(*window));
    EXPECT_EQ(books(*window), (std::vector<std::string>{"第二章", "第一章"}));
    EXPECT_TRUE(root(*window)->isExpanded());
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(toUtf8(window->file().currentPage), "次");
    EXPECT_EQ(window->commandList().focusedIndex(), 1);
    EXPECT_EQ(window->tree().currentItem(), page(*window, 1, 1));
    EXPECT_TRUE(prompter.records().empty());
}

} // namespace
} // namespace pagora::test
