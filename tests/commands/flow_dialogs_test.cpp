#include "commands/flow_dialogs.h"
#include "dialog_fixture.h"
#include "test_command_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace pagora::test {
namespace {

// The items of a list as one text, "|" between them.
QString joinedItems(const QComboBox& list) {
    return itemsOf(list).join(QLatin1Char('|'));
}

class PageJumpDialog : public DialogTest {
protected:
    PageJumpDialog() { openComic(sampleComicLines()); }

    QComboBox& books() { return child<QComboBox>(dialog, "cmbBook"); }
    QComboBox& pages() { return child<QComboBox>(dialog, "cmbPage"); }
    std::string confirmed() {
        dialog.btnOKClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.line();
    }

    TfrmPageJump dialog{context};
};

struct JumpOpening {
    const char* line; // UTF-8
    const char* book; // the chosen book's text, empty for none
    const char* page;
    const char* pages; // the page list
};

class PageJumpOpening : public PageJumpDialog, public testing::WithParamInterface<JumpOpening> {};

// A name the comic no longer holds opens unchosen; OK then stores it empty
// rather than keeping a jump the list does not show.
TEST_P(PageJumpOpening, SelectsTheStoredNamesThatTheComicStillHolds) {
    const JumpOpening& opening = GetParam();
    dialog.loadLine(sj(opening.line));
    EXPECT_EQ(joinedItems(books()), QStringLiteral("第一章|第二章"));
    EXPECT_EQ(books().currentText(), QString::fromUtf8(opening.book));
    EXPECT_EQ(pages().currentText(), QString::fromUtf8(opening.page));
    EXPECT_EQ(joinedItems(pages()), QString::fromUtf8(opening.pages));
    const TCmdPageJump written = syntax.ParsePageJump(confirmed());
    EXPECT_EQ(written.BookName, sj(opening.book));
    EXPECT_EQ(written.PageName, sj(opening.page));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PageJumpOpening,
    testing::Values(JumpOpening{R"(PageJump "第一章","次",0,)", "第一章", "次", "はじまり|次"},
                    JumpOpening{R"(PageJump "第二章","居間",0,)", "第二章", "居間", "居間"},
                    JumpOpening{R"(PageJump "第三章","居間",0,)", "", "", ""},
                    JumpOpening{R"(PageJump "第一章","居間",0,)", "第一章", "", "はじまり|次"},
                    JumpOpening{"", "", "", ""}));

TEST_F(PageJumpDialog, AnotherBookRefillsThePagesAndOKStoresTheChosenNames) {
    dialog.loadLine(sj(R"(PageJump "第一章","次",7,"/IF:%a%==1")"));
    books().setCurrentIndex(1);
    EXPECT_EQ(joinedItems(pages()), QStringLiteral("居間"));
    EXPECT_EQ(pages().currentIndex(), -1) << "no page of the old book stays chosen";
    pages().setCurrentIndex(0);
    EXPECT_EQ(confirmed(), sj(R"(PageJump "第二章","居間",7,"/IF:%a%==1")"))
        << "the number without a control and the options pass through";
}

TEST_F(PageJumpDialog, ABookWithoutAChosenPageStoresAnEmptyPage) {
    dialog.loadLine("");
    books().setCurrentIndex(0);
    EXPECT_EQ(confirmed(), sj(R"(PageJump "第一章","",0,)"));
}

TEST_F(PageJumpDialog, ANameWithBytesThatAreNotTextIsStoredAsItWas) {
    // "\x81\x7f" is no character of the code page: the list shows a
    // replacement character, and the chosen name keeps its bytes.
    const std::string odd = "\x82\xa0\x81\x7f";
    std::string bytes = comicFileBytes(sampleComicLines());
    const std::string room = sj("居間");
    bytes.replace(bytes.find(room), room.size(), odd);
    file.fileName = folder.write("odd.csf", bytes);
    comic.LoadFromFile(file.fileName);
    const std::string line = sj(R"(PageJump "第二章",")") + odd + R"(",0,)";
    dialog.loadLine(line);
    EXPECT_EQ(pages().currentIndex(), 0);
    EXPECT_EQ(confirmed(), line);
}

class SmallFlowDialogs : public DialogTest {};

TEST_F(SmallFlowDialogs, MouseClickKeepsItsSwitchAndAllowsATimeLimit) {
    TfrmMouseClick dialog(context);
    dialog.loadLine(R"(MouseClick 1,"/TIME:10")");
    QCheckBox& only = child<QCheckBox>(dialog, "chkClickAbleOnly");
    EXPECT_TRUE(only.isChecked());
    bool timeAllowed = false;
    modal = [&](QDialog& opened) {
        timeAllowed = child<QCheckBox>(opened, "chkTime").isEnabled();
        return 0;
    };
    child<QPushButton>(dialog, "btnOption").click();
    EXPECT_TRUE(timeAllowed);
    only.setChecked(false);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), R"(MouseClick 0,"/TIME:10")");
}

struct WindowLine {
    const char* line;
    int window; // the list's selection
    int show;   // cmbShow's selection
};

class WindowShowOpening : public DialogTest, public testing::WithParamInterface<WindowLine> {};

TEST_P(WindowShowOpening, ShowsTheWindowAndTheActionAndWritesThemBack) {
    TfrmWindowShow dialog(context);
    dialog.loadLine(GetParam().line);
    EXPECT_EQ(child<QComboBox>(dialog, "cmbSelectWindow").currentIndex(), GetParam().window);
    EXPECT_EQ(child<QComboBox>(dialog, "cmbShow").currentIndex(), GetParam().show);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Lines, WindowShowOpening,
                         testing::Values(WindowLine{R"(WindowShow 0,"/WIN:3")", 3, 1},
                                         WindowLine{R"(WindowShow 1,"/WIN:1")", 1, 0},
                                         WindowLine{R"(WindowShow 1,)", 0, 0},
                                         // a window the list lacks is kept as it was
                                         WindowLine{R"(WindowShow 0,"/WIN:9")", -1, 1}));

TEST_F(SmallFlowDialogs, WindowShowHasNoOptionButtonAndKeepsTheOptions) {
    TfrmWindowShow dialog(context);
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnOption")), nullptr);
    EXPECT_EQ(child<QComboBox>(dialog, "cmbShow").itemText(1), QStringLiteral("消去"));
    dialog.loadLine(R"(WindowShow 0,"/IF:%a%==1","/WIN:2")");
    child<QComboBox>(dialog, "cmbSelectWindow").setCurrentIndex(5);
    child<QComboBox>(dialog, "cmbShow").setCurrentIndex(0);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), R"(WindowShow 1,"/IF:%a%==1","/WIN:5")");
}

TEST_F(SmallFlowDialogs, ClickAbleClearStoresTheChosenWindow) {
    TfrmClickAbleClear dialog(context);
    dialog.loadLine(R"(ClickAbleClear ,"/WIN:3")");
    QComboBox& window = child<QComboBox>(dialog, "cmbSelectWindow");
    EXPECT_EQ(window.currentText(), QStringLiteral("ユーザーウインドウ１"));
    window.setCurrentIndex(0);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), "ClickAbleClear ,");
}

} // namespace
} // namespace pagora::test
