#include "commands/select_dialog.h"
#include "dialog_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace pagora::test {
namespace {

class SelectDialog : public DialogTest {
protected:
    SelectDialog() {
        openComic(comicWithVariables());
        file.currentBook = sj("第一章");
        dialog = std::make_unique<TfrmSelectDlg>(context);
    }

    QTreeWidget& rows() { return child<QTreeWidget>(*dialog, "ListView"); }
    QLineEdit& message() { return child<QLineEdit>(*dialog, "edtMessage"); }
    QComboBox& pageList() { return child<QComboBox>(*dialog, "cmbPageList"); }
    QComboBox& fontSize() { return child<QComboBox>(*dialog, "cmbFontSize"); }
    void click(const char* button) { child<QPushButton>(*dialog, button).click(); }
    void select(int row) { rows().setCurrentItem(rows().topLevelItem(row)); }
    // The rows as "message>page", joined with "|".
    QString shownRows() {
        QStringList texts;
        for (int row = 0; row < rows().topLevelItemCount(); ++row)
            texts.push_back(rows().topLevelItem(row)->text(0) + QStringLiteral(">") +
                            rows().topLevelItem(row)->text(1));
        return texts.join(QLatin1Char('|'));
    }
    std::string confirmed() {
        dialog->btnOKClick();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        return dialog->line();
    }

    std::unique_ptr<TfrmSelectDlg> dialog;
};

TEST_F(SelectDialog, OpensTheChoicesUpToTheFirstSlotWithoutAPageAndWritesThemBack) {
    const std::string line = sj(R"(SelectDlg "行く","$次$","戻る","$はじまり$","庭","$居間$",)"
                                R"("/TIME:20","/WIN:2")");
    dialog->loadLine(line + sj(R"(,"ここで終わり","次")"));
    EXPECT_EQ(shownRows(), QStringLiteral("行く>次|戻る>はじまり|庭>居間"));
    EXPECT_EQ(message().text(), QString()) << "no row is selected on opening";
    EXPECT_FALSE(message().isEnabled());
    EXPECT_EQ(child<QComboBox>(*dialog, "cmbSelectWindow").currentIndex(), 2);
    EXPECT_EQ(fontSize().currentText(), QStringLiteral("16")) << "a size of 0 shows as 16";
    EXPECT_EQ(confirmed(), line) << "a page the book lacks and the size of 0 are kept";
}

TEST_F(SelectDialog, OKSkipsRowsWithoutAPageAndClosesTheGaps) {
    dialog->loadLine(sj(R"(SelectDlg "一","$次$","二","$$","三","$はじまり$","","$次",)"));
    EXPECT_EQ(shownRows(), QStringLiteral("一>次|二>|三>はじまり|>次"))
        << "a page without its closing sign keeps every character of its name";
    EXPECT_EQ(confirmed(), sj(R"(SelectDlg "一","$次$","三","$はじまり$","","$次$",)"));
}

TEST_F(SelectDialog, ARowAndItsControlsFollowEachOther) {
    dialog->loadLine(sj(R"(SelectDlg "行く","$次$","戻る","$第九$",)"));
    EXPECT_EQ(pageList().count(), 2) << "the pages of the book being edited";
    select(1);
    EXPECT_EQ(message().text(), QStringLiteral("戻る"));
    EXPECT_EQ(pageList().currentIndex(), -1) << "a page the book lacks is not chosen";
    select(0);
    EXPECT_EQ(pageList().currentText(), QStringLiteral("次"));
    message().setText(QStringLiteral("進む"));
    pageList().setCurrentIndex(0);
    EXPECT_EQ(shownRows(), QStringLiteral("進む>はじまり|戻る>第九"));
    rows().topLevelItem(0)->setText(0, QStringLiteral("前へ")); // edited in place
    EXPECT_EQ(message().text(), QStringLiteral("前へ"));
    EXPECT_EQ(confirmed(), sj(R"(SelectDlg "前へ","$はじまり$","戻る","$第九$",)"));
}

TEST_F(SelectDialog, AddAndInsertMakeRowsOfTheFirstPageUpToTwenty) {
    dialog->loadLine("");
    click("btnInsert");
    EXPECT_EQ(rows().topLevelItemCount(), 0) << "insert needs a selected row";
    click("btnAdd");
    EXPECT_EQ(shownRows(), QStringLiteral("メッセージ項目>はじまり"));
    EXPECT_EQ(message().text(), QStringLiteral("メッセージ項目")) << "the new row is selected";
    select(0);
    click("btnInsert");
    EXPECT_EQ(shownRows(), QStringLiteral(">はじまり|メッセージ項目>はじまり"));
    while (rows().topLevelItemCount() < TfrmSelectDlg::kMaxChoices)
        click("btnAdd");
    click("btnAdd");
    select(3);
    click("btnInsert");
    EXPECT_EQ(rows().topLevelItemCount(), TfrmSelectDlg::kMaxChoices);
    click("btnDelete");
    EXPECT_EQ(rows().topLevelItemCount(), TfrmSelectDlg::kMaxChoices - 1);
}

TEST_F(SelectDialog, AMessageTheChecksRefuseKeepsTheDialogOpenOnItsRow) {
    dialog->loadLine(sj(R"(SelectDlg "行く","$次$","戻る","$はじまり$",)"));
    select(0);
    rows().topLevelItem(1)->setText(0, QStringLiteral("%score"));
    dialog->btnOKClick();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompter.messages().size(), 1u) << "the check's own message";
    EXPECT_EQ(rows().currentItem(), rows().topLevelItem(1));
    EXPECT_EQ(dialog->focusWidget(), &message());
    EXPECT_TRUE(errorBoxes.empty());

    rows().topLevelItem(1)->setText(0, QStringLiteral("%未知%"));
    EXPECT_EQ(confirmed(), sj(R"(SelectDlg "行く","$次$","%未知%","$はじまり$",)"))
        << "a variable that does not exist is only told";
}

TEST_F(SelectDialog, TwentyOneChoicesOpenAsTwentyAfterAWarning) {
    std::string line = "SelectDlg ";
    for (int slot = 0; slot < 21; ++slot)
        line += "\"" + std::to_string(slot) + "\"," + sj("\"$次$\",");
    dialog->loadLine(line);
    EXPECT_EQ(rows().topLevelItemCount(), TfrmSelectDlg::kMaxChoices);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    const TCmdSelectDlg written = syntax.ParseSelectDlg(confirmed());
    EXPECT_EQ(written.Items[19], "19");
    EXPECT_EQ(written.Targets[20], "");
}

TEST_F(SelectDialog, FontSizeColourAndWindowAreStoredAsChosen) {
    dialog->loadLine(sj(R"(SelectDlg "行く","$次$","/COLOR:clRed","/SIZE:24")"));
    EXPECT_EQ(fontSize().currentText(), QStringLiteral("24"));
    EXPECT_EQ(child<QLineEdit>(*dialog, "edtFontColor").text(), QStringLiteral("clRed"));
    prompter.queueColor(0x00123456);
    click("btnColorSet");
    EXPECT_EQ(prompter.records().back().color, 0x0000ffu) << "starts from the shown colour";
    fontSize().setEditText(QStringLiteral("abc"));
    child<QComboBox>(*dialog, "cmbSelectWindow").setCurrentIndex(3);
    EXPECT_EQ(confirmed(), sj(R"(SelectDlg "行く","$次$","/COLOR:0x00123456","/WIN:3")"))
        << "a size that is no number is 0, which the line leaves out";
}

TEST_F(SelectDialog, ThePositionButtonPlacesTheChoicesTextInTheLayoutEditor) {
    dialog->loadLine(sj(R"(SelectDlg "行く","$次$","戻る","$次$","/POS:1,2,300,90","/WIN:2")"));
    layoutEditor.Mode = TWindowLayoutEditor::kPictureMode;
    layoutEditor.AreaMode = true;
    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 10;
        editor.PosTop = 20;
        editor.PosRight = 200;
        editor.PosBottom = 80;
        editor.FontSize = 20;
        editor.FontColor = 0x0000ff;
        return true;
    };
    click("btnPosition");
    ASSERT_EQ(layoutEditor.executed.size(), 1u);
    const auto& given = layoutEditor.executed[0];
    EXPECT_EQ(given.Mode, TWindowLayoutEditor::kTextMode);
    EXPECT_FALSE(given.AreaMode);
    EXPECT_EQ(given.WindowNo, 2);
    EXPECT_EQ(given.SampleText, sj("行く#戻る"));
    EXPECT_EQ(given.FontSize, 16);
    EXPECT_EQ(given.FontColor, 0xffffffu);
    EXPECT_EQ(std::vector<int>({given.PosLeft, given.PosTop, given.PosRight, given.PosBottom}),
              std::vector<int>({1, 2, 300, 90}));
    EXPECT_EQ(confirmed(), sj(R"(SelectDlg "行く","$次$","戻る","$次$","/POS:10,20,200,80",)"
                              R"("/COLOR:clRed","/SIZE:20","/WIN:2")"));
}

TEST_F(SelectDialog, ItsOptionsAllowATimeLimit) {
    dialog->loadLine("");
    bool timeAllowed = false;
    modal = [&](QDialog& opened) {
        timeAllowed = child<QCheckBox>(opened, "chkTime").isEnabled();
        return 0;
    };
    click("btnOption");
    EXPECT_TRUE(timeAllowed);
}

} // namespace
} // namespace pagora::test
