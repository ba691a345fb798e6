#include "editor/comic_tree_view.h"
#include "editor/command_list_delegate.h"
#include "editor/command_list_model.h"
#include "editor/command_list_view.h"
#include "editor/editor_icons.h"
#include "editor/error_panel.h"
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <algorithm>
#include <functional>

namespace pagora::test {
namespace {

class Views : public EditorTest {
protected:
    std::unique_ptr<TfrmMain> window_;
};

std::vector<std::string> pageWithLines(const std::string& book, const std::string& page,
                                       const std::vector<std::string>& lines) {
    std::vector<std::string> comic = {"<Head=\"Comic\">", "FileType=PGR95", "<Head End>",
                                      "<Book=\"" + book + "\">", "<Page=\"" + page + "\">"};
    comic.insert(comic.end(), lines.begin(), lines.end());
    comic.push_back("<Page End>");
    comic.push_back("<Book End>");
    return comic;
}

TEST_F(Views, TheTreeShowsTheComicItsBooksAndTheirPagesInOrder) {
    const auto window = showWindow(writeSample());
    ComicTreeView& tree = window->tree();
    EXPECT_EQ(tree.objectName(), QStringLiteral("TreeView"));
    EXPECT_EQ(tree.indentation(), 19);
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("コミックファイル"));
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("第一章"));
    EXPECT_EQ(root->child(1)->text(0), QStringLiteral("第二章"));
    ASSERT_EQ(root->child(0)->childCount(), 2);
    EXPECT_EQ(root->child(0)->child(1)->text(0), QStringLiteral("次"));
    EXPECT_EQ(ComicTreeView::levelOf(*root), ComicTreeView::RootLevel);
    EXPECT_EQ(ComicTreeView::levelOf(*root->child(1)), ComicTreeView::BookLevel);
    EXPECT_EQ(ComicTreeView::levelOf(*root->child(1)->child(0)), ComicTreeView::PageLevel);
    for (QTreeWidgetItem* node : {root, root->child(0), root->child(0)->child(0)})
        EXPECT_FALSE(node->icon(0).isNull());
    // The open page is the selected node.
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_EQ(tree.currentItem(), root->child(0)->child(0));
    EXPECT_FALSE(window->windowFlags().treeUpdateGuard);
}

TEST_F(Views, ChoosingAPageNodeOpensItAndOtherNodesChangeNothing) {
    const auto window = showWindow(writeSample());
    ComicTreeView& tree = window->tree();
    QTreeWidgetItem* root = tree.topLevelItem(0);
    tree.setCurrentItem(root->child(1));
    EXPECT_EQ(window->file().currentPage, sj("はじまり"));
    tree.setCurrentItem(root);
    EXPECT_EQ(window->file().currentPage, sj("はじまり"));
    tree.setCurrentItem(root->child(1)->child(0));
    EXPECT_EQ(window->file().currentBook, sj("第二章"));
    EXPECT_EQ(window->file().currentPage, sj("居間"));
    EXPECT_EQ(window->commandList().model()->rowCount(), 10);
    EXPECT_FALSE(window->windowFlags().treeUpdateGuard);
}

TEST_F(Views, SelectingAMissingPageChangesNothing) {
    const auto window = showWindow(writeSample());
    QTreeWidgetItem* before = window->tree().currentItem();
    window->SelectTreeNode(sj("第一章"), sj("居間"));
    window->SelectTreeNode(sj("無い"), sj("はじまり"));
    EXPECT_EQ(window->tree().currentItem(), before);
}

TEST_F(Views, NamesThatDoNotDecodeAreStillFoundByTheirBytes) {
    // 0x82 starts a double-byte character that 0x20 cannot end.
    const auto window = showWindow(writeSample());
    const std::string oddBook = sj("第二章") + "\x82\x20";
    window->objects().comic.AddBook(oddBook);
    window->RefreshAll();
    const std::string page = window->objects().comic.GetPageList(oddBook).front();
    window->OpenPage(oddBook, page, -1);
    QTreeWidgetItem* selected = window->tree().currentItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(ComicTreeView::nameOf(*selected->parent()), oddBook);
}

TEST_F(Views, OpeningAnotherPageKeepsTheFocusedLineWhereItFits) {
    const auto window = showWindow(writeSample());
    CommandListView& list = window->commandList();
    window->OpenPage(sj("第二章"), sj("居間"), 5);
    EXPECT_EQ(list.focusedIndex(), 5);
    window->OpenPage(sj("第一章"), sj("次"), -1);
    EXPECT_EQ(list.model()->rowCount(), 3);
    EXPECT_EQ(list.focusedIndex(), 2) << "past the end, the last line is focused";
    window->OpenPage(sj("第二章"), sj("居間"), 5);
    window->OpenPage(sj("第一章"), sj("はじまり"), -1);
    EXPECT_EQ(list.focusedIndex(), 4);
    window->OpenPage(sj("第二章"), sj("居間"), -1);
    EXPECT_EQ(list.focusedIndex(), 4);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{4});
}

TEST_F(Views, RefreshingKeepsTheFirstVisibleLineAndSelectsOnlyTheFocusedOne) {
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i)
        lines.push_back("WaitTime " + std::to_string(i) + ",");
    const auto window = showWindow(writeComic("long.csf", pageWithLines("B", "P", lines)));
    CommandListView& list = window->commandList();
    list.scrollTo(list.model()->index(120, 0), QAbstractItemView::PositionAtTop);
    list.selectionModel()->select(list.model()->index(121, 0), QItemSelectionModel::Select);
    list.selectionModel()->setCurrentIndex(list.model()->index(125, 0),
                                           QItemSelectionModel::Select);
    EXPECT_EQ(list.firstVisibleIndex(), 120);
    window->RefreshCommandList(-1);
    EXPECT_EQ(list.firstVisibleIndex(), 120);
    EXPECT_EQ(list.focusedIndex(), 125);
    EXPECT_EQ(list.selectedRows(), std::vector<int>{125});
}

TEST_F(Views, APageWithoutBooksLeavesAnEmptyList) {
    const auto window =
        showWindow(writeComic("empty.csf", {"<Head=\"Comic\">", "FileType=PGR95", "<Head End>"}));
    EXPECT_EQ(window->file().currentBook, "");
    EXPECT_EQ(window->commandList().model()->rowCount(), 0);
    EXPECT_EQ(window->statusPanel1().text(), QStringLiteral("-1行目"));
}

TEST_F(Views, TheErrorCheckListsFindingsInAThirdOfTheWindowAndNavigates) {
    const std::filesystem::path file =
        writeComic("check.csf",
                   {"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15", "StartBook=B", "StartPage=P",
                    "<Head End>", "<Book=\"B\">", "<Page=\"P\">", "// one", "<Page End>",
                    "<Page=\"Q\">", "// a", "// b",
                    "Graphic \"missing.bmp\",0,0,0,1,\"None\",0,0,0,", "<Page End>", "<Book End>"});
    const auto window = showWindow(file);
    EXPECT_EQ(window->errorPanel().height(), 0) << "only the bar shows before the check";
    window->actions().menuErrorCheck->trigger();
    EXPECT_EQ(window->statusPanel2().text(), QStringLiteral("エラーチェック完了"));
    QListWidget& list = window->errorPanel().list();
    ASSERT_GE(list.count(), 1);
    EXPECT_EQ(list.count(), window->objects().errorCheck.ErrorCount);
    int missing = -1;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().contains(QStringLiteral("missing.bmp")))
            missing = i;
    ASSERT_GE(missing, 0);
    EXPECT_TRUE(list.item(missing)->text().startsWith(QStringLiteral("ERROR : ")));
    const int client = window->errorSplitter().height();
    EXPECT_EQ(window->errorPanel().height() + window->errorSplitter().handleWidth(), client / 3);

    list.setCurrentRow(missing);
    window->lstErrorListDblClick();
    EXPECT_EQ(window->file().currentPage, "Q");
    EXPECT_EQ(window->commandList().focusedIndex(), 2);

    // A finding whose page has gone since does nothing.
    window->OpenPage("B", "P", -1);
    window->objects().comic.DeletePage("B", "Q");
    window->lstErrorListDblClick();
    EXPECT_EQ(window->file().currentPage, "P");
}

TEST_F(Views, ACheckThatFindsNothingSaysSoAndItsLineLeadsNowhere) {
    const auto window = showWindow(writeComic(
        "clean.csf",
        {"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15", "StartBook=B", "StartPage=P",
         "MciMusic=Sequencer", "MciSound=WaveAudio", "<Head End>", "<Book=\"B\">", "<Page=\"P\">",
         "// one", "<Page End>", "<Page=\"Q\">", "// two", "<Page End>", "<Book End>"}));
    window->actions().menuErrorCheck->trigger();
    ASSERT_EQ(window->objects().errorCheck.ErrorCount, 0);
    QListWidget& list = window->errorPanel().list();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("エラーは見つかりませんでした"));
    window->OpenPage("B", "Q", -1);
    list.setCurrentRow(0);
    window->lstErrorListDblClick();
    EXPECT_EQ(window->file().currentPage, "Q");
}

TEST_F(Views, NewAndOpenClearTheFindingsOfTheFormerComic) {
    const std::filesystem::path file = writeComic(
        "check.csf", pageWithLines("B", "P", {"Graphic \"missing.bmp\",0,0,0,1,\"None\",0,0,0,"}));
    const auto window = showWindow(file);
    for (const auto& replace :
         std::vector<std::function<void()>>{[&] { window->actions().menuNewFile->trigger(); },
                                            [&] {
                                                window->LoadComicFile(file);
                                            }}) {
        window->actions().menuErrorCheck->trigger();
        ASSERT_GT(window->errorPanel().list().count(), 0);
        ASSERT_GT(window->errorPanel().height(), 0);
        replace();
        EXPECT_EQ(window->errorPanel().list().count(), 0);
        EXPECT_EQ(window->errorPanel().height(), 0) << "only the bar shows again";
    }
}

TEST_F(Views, ABrokenFileIsToldOnceWithTheLineWhereItBreaks) {
    const std::string construction =
        sj("ファイルが破損しています\r\n[Book/Page block construction error]");
    const auto countBoxes = [&] {
        const std::vector<std::string> messages = prompter.messages();
        return std::count(messages.begin(), messages.end(), construction);
    };
    const std::filesystem::path file = writeComic(
        "broken.csf", {"/// comment", "<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15",
                       "StartBook=a", "StartPage=p", "<Head End>", "", "<Book=\"a\">",
                       "<Page=\"p\">", "// x", "<Page End>", "<Book End>", "<Page End>",
                       "<Book=\"b\">", "<Page=\"q\">", "// y", "<Page End>", "<Book End>"});
    const auto expectOneNote = [&] {
        QListWidget& list = window_->errorPanel().list();
        ASSERT_EQ(list.count(), 1);
        EXPECT_TRUE(
            list.item(0)->text().startsWith(QStringLiteral("ファイルの構造が壊れています")));
        EXPECT_TRUE(list.item(0)->text().contains(
            QStringLiteral("[Book/Page block construction error]（12行目")))
            << list.item(0)->text().toStdString();
        EXPECT_GT(window_->errorPanel().height(), 0);
    };
    window_ = showWindow(file);
    EXPECT_EQ(countBoxes(), 1);
    expectOneNote();

    prompter.queueInput(sj("新しいブック"));
    window_->actions().menuAddBook->trigger();
    EXPECT_EQ(countBoxes(), 2);
    expectOneNote();

    window_->LoadComicFile(file);
    EXPECT_EQ(countBoxes(), 3);
    expectOneNote();
    window_->actions().menuFileSave->trigger();
    EXPECT_EQ(countBoxes(), 3);
}

TEST_F(Views, AnUnreadableLineShowsItsRawTextAndWhy) {
    const std::string bad = "WaitTime abc,";
    const auto window = showWindow(writeComic("bad.csf", pageWithLines("B", "P", {"// ok", bad})));
    QAbstractItemModel& model = *window->commandList().model();
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(),
              QString::fromStdString(bad));
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::ToolTipRole).toString().isEmpty());
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral(" ok"));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
    const LineSummary summary = window->commandList().commandModel().summary(1);
    EXPECT_FALSE(summary.readable);
    EXPECT_EQ(summary.ref.Kind, CmdKind::WaitTime);
}

// The colours of a 15-pixel row as the delegate draws it.
QImage drawRow(TfrmMain& window, int row) {
    CommandListView& list = window.commandList();
    QImage image(400, CommandListDelegate::kItemHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = QRect(0, 0, 400, CommandListDelegate::kItemHeight);
    option.state &= ~QStyle::State_Selected;
    list.itemDelegate()->paint(&painter, option, list.model()->index(row, 0));
    painter.end();
    return image;
}

bool hasColourNear(const QImage& image, int x0, int x1, QColor wanted) {
    for (int x = x0; x < x1; ++x)
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 40 &&
                std::abs(c.green() - wanted.green()) < 40 &&
                std::abs(c.blue() - wanted.blue()) < 40)
                return true;
        }
    return false;
}

TEST_F(Views, ConditionIconsShowEvenWithoutCommandIcons) {
    const auto window = showWindow(writeComic(
        "icons.csf", pageWithLines("B", "P",
                                   {"MsgDlg \"x\",0,\"None\",\"Normal\",0,1,0,\"/IF:%a%==1\"",
                                    "WaitTime 5,", "WaitTime abc,"})));
    const QColor conditionOrange(0xFF, 0xB3, 0x00);
    const QColor messageBlue(0x1E, 0x88, 0xE5);

    window->user().showCmdIcon = true;
    QImage withIcons = drawRow(*window, 0);
    EXPECT_TRUE(hasColourNear(withIcons, 0, 16, messageBlue));
    EXPECT_TRUE(hasColourNear(withIcons, 16, 32, conditionOrange));

    window->user().showCmdIcon = false;
    QImage without = drawRow(*window, 0);
    EXPECT_FALSE(hasColourNear(without, 0, 16, messageBlue));
    EXPECT_TRUE(hasColourNear(without, 0, 16, conditionOrange));

    // A line without marks starts its text at once; an unreadable one is drawn in the warning
    // colour.
    QImage plain = drawRow(*window, 1);
    EXPECT_FALSE(hasColourNear(plain, 0, 16, conditionOrange));
    EXPECT_TRUE(hasColourNear(plain, 0, 16, Qt::black));
    QImage unreadable = drawRow(*window, 2);
    EXPECT_TRUE(hasColourNear(unreadable, 0, 100, CommandListDelegate::warningColor()));
    EXPECT_FALSE(hasColourNear(plain, 0, 400, CommandListDelegate::warningColor()));
}

TEST_F(Views, TheListIsAFixedPitchJapaneseFifteenPixelsHigh) {
    const auto window = showWindow(writeSample());
    CommandListView& list = window->commandList();
    EXPECT_EQ(list.objectName(), QStringLiteral("lstCmdList"));
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list.sizeHintForRow(0), 15);
    const QFont font = CommandListDelegate::listFont();
    EXPECT_EQ(font.pixelSize(), 15);
    const QFontMetricsF metrics(font);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(metrics.inFont(QChar(0x3042))) << "no Japanese glyphs in " << family.toStdString();
    // Latin letters share one width and a Japanese character takes two.
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')))
        << family.toStdString();
    EXPECT_EQ(metrics.horizontalAdvance(QChar(0x3042)),
              2 * metrics.horizontalAdvance(QLatin1Char('W')))
        << family.toStdString();
}

TEST_F(Views, EveryIconIsDrawnAtEveryScale) {
    EditorIcons icons;
    std::vector<QIcon> all;
    for (int i = 0; i < EditorIcons::kCommandIconCount; ++i)
        all.push_back(icons.command(i));
    for (int i = 0; i < EditorIcons::kTreeIconCount; ++i)
        all.push_back(icons.tree(i));
    for (const char* tool :
         {"new", "open", "save", "player", "cut", "copy", "paste", "addbook", "addpage", "system",
          "variables", "window", "menu", "environment", "edit", "insert", "append"})
        all.push_back(EditorIcons::tool(tool));
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (const qreal scale : {1.0, 2.0}) {
            const QImage image = all[i].pixmap(QSize(16, 16), scale).toImage();
            ASSERT_EQ(image.width(), static_cast<int>(16 * scale)) << "icon " << i;
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            EXPECT_GT(opaque, image.width() * image.height() / 10)
                << "icon " << i << " at " << scale;
        }
    }
}

} // namespace
} // namespace pagora::test
