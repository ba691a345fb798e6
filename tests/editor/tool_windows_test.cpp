// The command chooser and the palette: tool windows of the main window, at
// default places that leave the main window and each other uncovered.
#include "commands/command_chooser.h"
#include "editor/command_palette.h"
#include "editor_fixture.h"

#include <QListWidget>
#include <QScrollBar>

namespace pagora::test {
namespace {

class ToolWindows : public EditorTest {};

TEST_F(ToolWindows, StayAboveTheMainWindowOnlySoBoxesAndDialogsShowOverThem) {
    const auto window = makeWindow();
    for (QWidget* tool : {static_cast<QWidget*>(&window->commandChooser()),
                          static_cast<QWidget*>(&window->commandPalette())}) {
        EXPECT_EQ(tool->windowType(), Qt::Tool) << tool->windowTitle().toStdString();
        EXPECT_FALSE(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            << tool->windowTitle().toStdString();
        EXPECT_EQ(tool->parentWidget(), window.get()) << tool->windowTitle().toStdString();
    }
}

TEST_F(ToolWindows, DefaultPlacesCoverNeitherTheMainWindowNorEachOther) {
    const auto window = showWindow();
    const QRect mainFrame(0, 0, 520, 320);
    const QRect chooser = window->commandChooser().geometry();
    const QRect palette = window->commandPalette().geometry();
    EXPECT_FALSE(chooser.intersects(mainFrame));
    EXPECT_FALSE(palette.intersects(mainFrame));
    EXPECT_FALSE(chooser.intersects(palette));
    // Both fit a screen of 1024 × 768, title bars included.
    EXPECT_LE(chooser.right(), 1024);
    EXPECT_LE(chooser.bottom() + 48, 768);
    EXPECT_LE(palette.bottom() + 48, 768);
}

TEST_F(ToolWindows, TheChoosersDefaultSizeShowsEveryEntryWhole) {
    const auto window = showWindow();
    TfrmCommand& chooser = window->commandChooser();
    EXPECT_EQ(settings.readInt("CommandDlgPosHeight", 0), chooser.height());
    QListWidget& list = *chooser.list();
    ASSERT_EQ(list.count(), 18);
    EXPECT_EQ(list.verticalScrollBar()->maximum(), 0) << "no entry scrolled away";
    for (int row = 0; row < list.count(); ++row) {
        const QRect entry = list.visualItemRect(list.item(row));
        EXPECT_LE(entry.bottom(), list.viewport()->height()) << row;
        EXPECT_LE(list.sizeHintForColumn(0), list.viewport()->width()) << row;
    }
    EXPECT_GE(chooser.width(), chooser.fontMetrics().horizontalAdvance(chooser.windowTitle()) + 80)
        << "the caption has room beside the title bar's buttons";
}

} // namespace
} // namespace pagora::test
