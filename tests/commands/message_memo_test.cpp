#include "commands/font_setting_dialog.h"
#include "commands/message_memo.h"
#include "dialog_fixture.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextCursor>
#include <QToolButton>

namespace pagora::test {
namespace {

class Memo : public DialogTest {
protected:
    Memo() { openComic(comicWithVariables()); }

    // The memo holding text, with the characters [from, to) selected.
    void select(const QString& text, int from, int to) {
        memo.memo().setPlainText(text);
        QTextCursor cursor = memo.memo().textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        memo.memo().setTextCursor(cursor);
    }
    QString text() const { return memo.memo().toPlainText(); }
    void click(const char* button) { child<QToolButton>(memo, button).click(); }
    // The slider dialog answers with value, or is cancelled.
    void answerSlider(int value, bool confirm = true) {
        modal = [value, confirm](QDialog& dialog) {
            auto& slider = static_cast<TfrmFontSetting&>(dialog);
            slider.setValue(value);
            if (confirm)
                slider.btnOKClick();
            return 0;
        };
    }

    MessageMemo memo{context, "memMessage"};
};

TEST_F(Memo, LinesAreTheTextsPiecesAndAnEmptyLineIsStoredAsOneSpace) {
    memo.memo().setPlainText(QStringLiteral("一行目\n\n三行目"));
    EXPECT_EQ(memo.messageText(), sj("一行目# #三行目"));
    memo.setMessageText(sj("一行目# #三行目"));
    EXPECT_EQ(text(), QStringLiteral("一行目\n \n三行目"));
    EXPECT_EQ(memo.memo().blockCount(), 3);

    memo.memo().setPlainText(QStringLiteral("雪☃"));
    EXPECT_THROW(memo.messageText(), FieldError);
}

TEST_F(Memo, TagsGoInFrontOfTheSelectionAndStylesAroundIt) {
    select(QStringLiteral("xabcx"), 1, 4);
    click("spdbtnKey");
    EXPECT_EQ(text(), QStringLiteral("x<KEY>abcx"));

    select(QStringLiteral("xabcx"), 1, 4);
    click("spdbtnFontBold");
    EXPECT_EQ(text(), QStringLiteral("x<B>abc<N>x"));

    select(QStringLiteral("xabcx"), 2, 2);
    click("spdbtnFontItalic");
    EXPECT_EQ(text(), QStringLiteral("xa<I>bcx")) << "at the caret the tag alone";

    for (const auto& [button, tag] : {std::pair{"spdbtnFontNormal", "<N>"},
                                      {"spdbtnFast", "<FAST>"},
                                      {"spdbtnNormal", "<NORMAL>"},
                                      {"spdbtnSlow", "<SLOW>"}}) {
        select(QStringLiteral("ab"), 0, 2);
        click(button);
        EXPECT_EQ(text(), QString::fromLatin1(tag) + QStringLiteral("ab")) << button;
    }
}

TEST_F(Memo, FontSizeChangesWrapTheSelectionBothWays) {
    select(QStringLiteral("abc"), 0, 3);
    answerSlider(-3);
    click("spdbtnFontSize");
    EXPECT_EQ(text(), QStringLiteral("<-3>abc<+3>"));

    select(QStringLiteral("abc"), 0, 3);
    answerSlider(4);
    click("spdbtnFontSize");
    EXPECT_EQ(text(), QStringLiteral("<+4>abc<-4>"));

    select(QStringLiteral("abc"), 1, 1);
    click("spdbtnFontSize");
    EXPECT_EQ(text(), QStringLiteral("a<+4>bc"));

    for (const bool confirm : {true, false}) {
        select(QStringLiteral("abc"), 0, 3);
        answerSlider(confirm ? 0 : 5, confirm);
        click("spdbtnFontSize");
        EXPECT_EQ(text(), QStringLiteral("abc")) << "zero, or cancelled, changes nothing";
    }
}

TEST_F(Memo, WaitsAndColoursGoInFrontOfTheSelection) {
    select(QStringLiteral("abc"), 0, 3);
    answerSlider(15);
    click("spdbtnWaitTime");
    EXPECT_EQ(text(), QStringLiteral("<W15>abc"));

    select(QStringLiteral("abc"), 0, 3);
    answerSlider(0);
    click("spdbtnWaitTime");
    EXPECT_EQ(text(), QStringLiteral("abc"));

    select(QStringLiteral("abc"), 1, 2);
    prompter.queueColor(0x0000FFu);
    click("spdbtnColor");
    EXPECT_EQ(text(), QStringLiteral("a<clRed>bc"));
    prompter.queueColor(0x00123456u);
    click("spdbtnColor");
    EXPECT_TRUE(text().contains(QStringLiteral("<0x00123456>")));
}

TEST_F(Memo, AChosenVariableReplacesTheSelection) {
    modal = [](QDialog& dialog) {
        child<QListWidget>(dialog, "lstFlagList").setCurrentRow(1);
        static_cast<DialogFrame&>(dialog).btnOKClick();
        return 0;
    };
    select(QStringLiteral("a-b"), 1, 2);
    click("spdbtnValueFlag");
    EXPECT_EQ(text(), QStringLiteral("a%回数%b"));
    select(QStringLiteral("a-b"), 1, 2);
    click("spdbtnStringFlag");
    EXPECT_EQ(text(), QStringLiteral("a&天気&b"));

    modal = [](QDialog& dialog) {
        dialog.reject();
        return 0;
    };
    select(QStringLiteral("a-b"), 1, 2);
    click("spdbtnValueFlag");
    EXPECT_EQ(text(), QStringLiteral("a-b")) << "cancelled";
}

TEST(FontSetting, TheLabelShowsTheChangeOrTheSeconds) {
    EXPECT_EQ(TfrmFontSetting::valueText(TfrmFontSetting::FontSize, 3), QStringLiteral("+3"));
    EXPECT_EQ(TfrmFontSetting::valueText(TfrmFontSetting::FontSize, 0), QStringLiteral("+0"));
    EXPECT_EQ(TfrmFontSetting::valueText(TfrmFontSetting::FontSize, -3), QStringLiteral("-3"));
    EXPECT_EQ(TfrmFontSetting::valueText(TfrmFontSetting::WaitTime, 15), QStringLiteral("1.5s"));
    EXPECT_EQ(TfrmFontSetting::valueText(TfrmFontSetting::WaitTime, 20), QStringLiteral("2.0s"));
}

TEST_F(Memo, TheSliderKeepsToItsModesRangeAndOpensAtTheButton) {
    TfrmFontSetting size(context, TfrmFontSetting::FontSize);
    EXPECT_EQ(size.windowTitle(), QStringLiteral("フォントサイズ変更"));
    size.setValue(-20);
    EXPECT_EQ(size.value(), -10);
    TfrmFontSetting wait(context, TfrmFontSetting::WaitTime);
    EXPECT_EQ(wait.windowTitle(), QStringLiteral("ウェイトタイム設定"));
    wait.setValue(30);
    EXPECT_EQ(wait.value(), 20);
    modal = [](QDialog&) {
        return 0;
    };
    EXPECT_EQ(wait.run(QPoint(120, 80)), 0) << "cancelled";
    EXPECT_EQ(wait.pos(), QPoint(120, 80));
}

} // namespace
} // namespace pagora::test
