#include "commands/command_dialog.h"
#include "dialog_fixture.h"
#include "test_command_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace pagora::test {
namespace {

class RecordDialog : public DialogTest {
protected:
    TestMusicDialog dialog{context, nullptr};

    TCmdMusic read(const std::string& line) { return syntax.ParseMusic(line); }
};

TEST_F(RecordDialog, ShowsTheLinesRecordAndWritesItBackWithWhatItDoesNotShow) {
    const std::string line = R"(Music "a.mid",3,"/IF:%a%==1")";
    dialog.loadLine(line);
    EXPECT_EQ(dialog.edtFileName->text(), QStringLiteral("a.mid"));
    EXPECT_EQ(dialog.cmbLoop->value(), 3);

    modal = [this](QDialog&) {
        dialog.edtFileName->setText(QStringLiteral("森.mid"));
        dialog.btnOKClick();
        return 0;
    };
    const std::optional<std::string> written = dialog.run(line);
    ASSERT_TRUE(written);
    const TCmdMusic record = read(*written);
    EXPECT_EQ(record.FileName, sj("森.mid"));
    EXPECT_EQ(record.LoopCount, 3);
    EXPECT_EQ(record.Option, read(line).Option) << "the options pass through";
}

TEST_F(RecordDialog, ALineOfAnotherKindOpensWithTheDefaults) {
    dialog.loadLine(R"(Sound "a.wav",1,)");
    EXPECT_EQ(dialog.edtFileName->text(), QString());
    EXPECT_EQ(dialog.record(), TCmdMusic{});
}

TEST_F(RecordDialog, CancelHandsNothingBack) {
    modal = [](QDialog& opened) {
        opened.reject();
        return 0;
    };
    EXPECT_EQ(dialog.run(R"(Music "a.mid",0,)"), std::nullopt);
}

TEST_F(RecordDialog, TextTheComicCannotHoldIsRefusedAtTheControl) {
    dialog.loadLine(R"(Music "a.mid",0,)");
    dialog.edtFileName->setText(QStringLiteral("♫.mid"));
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), dialog.edtFileName);
    EXPECT_EQ(dialog.line(), R"(Music "a.mid",0,)") << "the line stays as handed in";
}

TEST_F(RecordDialog, TheOptionButtonEditsTheRecordsOptionsWithItsKindsGroups) {
    dialog.loadLine(R"(Music "a.mid",0,"/IF:%a%==1","/TIME:3")");
    std::optional<TOptParam> shown;
    bool timeAllowed = true;
    modal = [&](QDialog& opened) {
        auto& options = dynamic_cast<TfrmOptionSet&>(opened);
        shown = options.option();
        timeAllowed = child<QCheckBox>(options, "chkTime").isEnabled();
        child<QCheckBox>(options, "chkIf").setChecked(false);
        options.btnOKClick();
        return 0;
    };
    child<QPushButton>(dialog, "btnOption").click();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->If.Left, "%a%");
    EXPECT_FALSE(timeAllowed) << "music has no time limit";
    EXPECT_EQ(dialog.record().Option.If.Operator, -1);
    EXPECT_EQ(dialog.record().Option.Time, 3) << "a group the kind does not allow is kept";

    modal = [](QDialog& opened) {
        opened.reject();
        return 0;
    };
    dialog.record().Option.If = {"%b%", "2", 0};
    dialog.btnOptionClick();
    EXPECT_EQ(dialog.record().Option.If.Left, "%b%") << "cancel changes nothing";
}

TEST(OptionGroups, FollowTheKind) {
    for (const CmdKind kind : {CmdKind::WaitTime, CmdKind::WindowShow, CmdKind::StrInput})
        EXPECT_EQ(optionGroupsOf(kind), std::nullopt) << int(kind);
    for (const CmdKind kind : {CmdKind::SelectDlg, CmdKind::MouseClick})
        EXPECT_TRUE(optionGroupsOf(kind)->timeLimit) << int(kind);
    EXPECT_FALSE(optionGroupsOf(CmdKind::PageJump)->timeLimit);
    EXPECT_TRUE(optionGroupsOf(CmdKind::PageJump)->conditions);
}

} // namespace
} // namespace pagora::test
