#include "commands/wait_time_dialog.h"
#include "dialog_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace pagora::test {
namespace {

class WaitTimeDialog : public DialogTest {
protected:
    QComboBox& box() { return child<QComboBox>(dialog, "cmbWaitTime"); }
    QComboBox& unit() { return child<QComboBox>(dialog, "cmbUnit"); }
    // The line OK writes after the box and the unit were set as a user does.
    std::string written(const QString& text, const QString& unitText) {
        box().setEditText(text);
        unit().setCurrentText(unitText);
        dialog.btnOKClick();
        return dialog.line();
    }

    TfrmWaitTime dialog{context};
};

TEST_F(WaitTimeDialog, ShowsItsControlsWithoutOptionAndHelpButtons) {
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TfrmWaitTime"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("待ち時間の設定"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("待ち時間の指定"));
    EXPECT_EQ(child<QLabel>(dialog, "Label1").text(), QStringLiteral("待つ"));
    ASSERT_EQ(unit().count(), 2);
    EXPECT_EQ(unit().itemText(0), QStringLiteral("秒"));
    EXPECT_EQ(unit().itemText(1), QStringLiteral("ミリ秒"));
    EXPECT_TRUE(box().isEditable());
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnOption")), nullptr);
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnHelp")), nullptr);
}

struct Opening {
    const char* line;
    const char* shown;
    const char* unit;
};

class WaitTimeOpening : public WaitTimeDialog, public testing::WithParamInterface<Opening> {};

TEST_P(WaitTimeOpening, ShowsWholeSecondsAsSecondsAndAnythingElseAsMilliseconds) {
    dialog.loadLine(GetParam().line);
    EXPECT_EQ(box().currentText(), QString::fromUtf8(GetParam().shown));
    EXPECT_EQ(unit().currentText(), QString::fromUtf8(GetParam().unit));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), GetParam().line) << "written back as it was";
}

INSTANTIATE_TEST_SUITE_P(Lines, WaitTimeOpening,
                         testing::Values(Opening{"WaitTime 2500,", "2500", "ミリ秒"},
                                         Opening{"WaitTime 3000,", "3", "秒"},
                                         Opening{"WaitTime 0,", "0", "秒"},
                                         Opening{"WaitTime 1,", "1", "ミリ秒"},
                                         Opening{"WaitTime -2000,", "-2", "秒"},
                                         Opening{"WaitTime -2500,", "-2500", "ミリ秒"},
                                         Opening{"WaitTime 2147483647,", "2147483647", "ミリ秒"},
                                         Opening{"WaitTime 2147483000,", "2147483", "秒"}));

TEST_F(WaitTimeDialog, StoresMillisecondsWhateverTheUnit) {
    dialog.loadLine("");
    EXPECT_EQ(box().currentText(), QStringLiteral("0"));
    EXPECT_EQ(unit().currentText(), QStringLiteral("秒"));
    EXPECT_EQ(written("0", "秒"), "WaitTime 0,");
    EXPECT_EQ(written("7", "秒"), "WaitTime 7000,");
    EXPECT_EQ(written("7", "ミリ秒"), "WaitTime 7,");
    EXPECT_EQ(written("abc", "秒"), "WaitTime 0,") << "a non-number is 0";
    EXPECT_EQ(written("2147483", "秒"), "WaitTime 2147483000,");
    EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(WaitTimeDialog, RefusesSecondsTheLineCannotHoldInMilliseconds) {
    dialog.loadLine("WaitTime 5000,");
    EXPECT_EQ(written("2147484", "秒"), "WaitTime 5000,") << "no new line was built";
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0],
              QStringLiteral("待ち時間が長すぎます。\n秒で指定できるのは 2147483 秒までです。"));
    EXPECT_EQ(written("2147484", "ミリ秒"), "WaitTime 2147484,");
}

TEST_F(WaitTimeDialog, KeepsTheLinesOptions) {
    dialog.loadLine(R"(WaitTime 1500,"/IF:%a%==1","/WIN:2")");
    EXPECT_EQ(written("3", "秒"), R"(WaitTime 3000,"/IF:%a%==1","/WIN:2")");
}

TEST_F(WaitTimeDialog, ATimeThatIsNoNumberIsToldAndTheDialogOpensWithTheRest) {
    for (const char* time : {"3000000000", "2147483648", "abc"}) {
        errorBoxes.clear();
        dialog.loadLine(std::string("WaitTime ") + time + R"(,"/IF:%a%==1")");
        ASSERT_EQ(errorBoxes.size(), 1u) << time;
        EXPECT_TRUE(errorBoxes[0].contains(QString::fromLatin1(time)))
            << errorBoxes[0].toStdString();
        EXPECT_EQ(box().currentText(), QStringLiteral("0"));
        dialog.btnOKClick();
        EXPECT_EQ(dialog.line(), R"(WaitTime 0,"/IF:%a%==1")") << "the condition is kept";
    }
    errorBoxes.clear();
    dialog.loadLine(R"(WaitTime 500,"/TIME:x")");
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(box().currentText(), QStringLiteral("500")) << "read before the bad option";
}

} // namespace
} // namespace pagora::test
