#include "commands/message_dialog.h"
#include "commands/message_preview.h"
#include "dialog_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace pagora::test {
namespace {

class MessageDialog : public DialogTest {
protected:
    MessageDialog() { openComic(comicWithVariables()); }

    template <typename T> T& control(const char* name) { return child<T>(dialog, name); }
    QPlainTextEdit& memo() { return control<QPlainTextEdit>("memMessage"); }
    QComboBox& list(const char* name) { return control<QComboBox>(name); }
    QCheckBox& check(const char* name) { return control<QCheckBox>(name); }

    // OK as the user presses it: the line written, or nothing when refused.
    std::optional<std::string> pressOK() {
        dialog.btnOKClick();
        if (dialog.result() != QDialog::Accepted)
            return std::nullopt;
        return dialog.line();
    }

    TfrmMessage dialog{context};
};

TEST_F(MessageDialog, OpensTheLinesFieldsAndWritesThemBack) {
    const std::string line = sj(R"(MsgDlg "一行目# #三行目",1,"Line-Scroll","Slow",0,1,1,)"
                                R"("/IF:%score%>=3","/POS:10,20,300,90","/COLOR:clRed",)"
                                R"("/SIZE:20","/WIN:1")");
    dialog.loadLine(line);
    EXPECT_EQ(memo().toPlainText(), QStringLiteral("一行目\n \n三行目"));
    EXPECT_EQ(list("cmbDrawMode").currentIndex(), 1);
    EXPECT_EQ(list("cmbEffect").currentIndex(), 3);
    EXPECT_EQ(list("cmbDrawSpeed").currentIndex(), 2);
    EXPECT_TRUE(check("chkLastEnterKeyWait").isChecked());
    EXPECT_TRUE(check("chkClickAbleEnabled").isChecked());
    EXPECT_EQ(list("cmbFontSize").currentText(), QStringLiteral("20"));
    EXPECT_EQ(control<QLineEdit>("edtFontColor").text(), QStringLiteral("clRed"));
    EXPECT_EQ(list("cmbSelectWindow").currentText(), QStringLiteral("メッセージウインドウ"));
    EXPECT_EQ(pressOK(), line) << "nothing changed, nothing lost";
}

TEST_F(MessageDialog, ALineWithoutASizeShowsSixteenAndAnEmptyMiddleLineIsStoredAsASpace) {
    dialog.loadLine(R"(MsgDlg "",0,"KeyWait","Normal",0,0,1,)");
    EXPECT_EQ(list("cmbFontSize").currentText(), QStringLiteral("16"));
    EXPECT_EQ(control<QLineEdit>("edtFontColor").text(), QStringLiteral("clWhite"));
    memo().setPlainText(QStringLiteral("はじめ\n\nおわり"));
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, sj(R"(MsgDlg "はじめ# #おわり",0,"KeyWait","Normal",0,0,0,)"))
        << "the clickable areas follow the key wait after the command, which is off; the "
           "size shown for none stays unwritten";
    dialog.loadLine(R"(MsgDlg "a",0,"KeyWait","Normal",0,0,0,)");
    list("cmbFontSize").setEditText(QStringLiteral("18"));
    EXPECT_EQ(pressOK(), R"(MsgDlg "a",0,"KeyWait","Normal",0,0,0,"/SIZE:18")");
}

// Display mode -> whether the per-line key wait and the speed list may be used.
struct ModeRule {
    int mode;
    bool keyWaitEachLine;
    bool speed;
};

class MessageModes : public MessageDialog, public ::testing::WithParamInterface<ModeRule> {};

TEST_P(MessageModes, EnableTheKeyWaitAndTheSpeedList) {
    const ModeRule rule = GetParam();
    dialog.loadLine(R"(MsgDlg "a",0,"Char-KeyWait","Fast",1,1,1,)");
    ASSERT_TRUE(check("chkEnterKeyWait").isChecked());
    list("cmbEffect").setCurrentIndex(rule.mode);
    EXPECT_EQ(check("chkEnterKeyWait").isEnabled(), rule.keyWaitEachLine);
    EXPECT_EQ(check("chkEnterKeyWait").isChecked(), rule.keyWaitEachLine)
        << "a wait that cannot be used is switched off";
    EXPECT_EQ(list("cmbDrawSpeed").isEnabled(), rule.speed);
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(syntax.ParseMsgDlg(*written).Speed, 1) << "the speed keeps its position";
    EXPECT_EQ(syntax.ParseMsgDlg(*written).Mode, rule.mode);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, MessageModes,
                         ::testing::Values(ModeRule{0, false, false}, ModeRule{1, false, false},
                                           ModeRule{2, false, true}, ModeRule{3, false, true},
                                           ModeRule{4, true, true}, ModeRule{5, true, true}));

TEST_F(MessageDialog, TheClickableAreasGoOffWithTheKeyWaitAfterTheCommand) {
    dialog.loadLine(R"(MsgDlg "a",0,"KeyWait","Normal",0,1,1,)");
    ASSERT_TRUE(check("chkClickAbleEnabled").isEnabled());
    check("chkLastEnterKeyWait").setChecked(false);
    EXPECT_FALSE(check("chkClickAbleEnabled").isChecked());
    EXPECT_FALSE(check("chkClickAbleEnabled").isEnabled());
    check("chkLastEnterKeyWait").setChecked(true);
    EXPECT_TRUE(check("chkClickAbleEnabled").isEnabled());
    EXPECT_FALSE(check("chkClickAbleEnabled").isChecked()) << "it stays as the user left it";
}

TEST_F(MessageDialog, TheFontSizeFallsBackToTenWhenTypingEnds) {
    dialog.loadLine("");
    QComboBox& size = list("cmbFontSize");
    size.setEditText(QStringLiteral("1"));
    EXPECT_EQ(size.currentText(), QStringLiteral("1")) << "a first digit of 12 is let be";
    size.setEditText(QStringLiteral("12"));
    emit size.lineEdit()->editingFinished();
    EXPECT_EQ(size.currentText(), QStringLiteral("12"));
    for (const QString& typed :
         {QStringLiteral("9"), QStringLiteral("-3"), QStringLiteral("abc")}) {
        size.setEditText(typed);
        emit size.lineEdit()->editingFinished();
        EXPECT_EQ(size.currentText(), QStringLiteral("10")) << typed.toStdString();
    }
    size.setEditText(QStringLiteral("7"));
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(syntax.ParseMsgDlg(*written).Option.Size, 10) << "OK never writes less than 10";
}

TEST_F(MessageDialog, TheColourButtonShowsNamesOrEightHexDigits) {
    dialog.loadLine(R"(MsgDlg "a",0,"KeyWait","Normal",0,0,1,"/COLOR:0x00123456")");
    QLineEdit& color = control<QLineEdit>("edtFontColor");
    EXPECT_EQ(color.text(), QStringLiteral("0x00123456"));
    prompter.queueColor(0x0000FF);
    control<QPushButton>("btnColorSet").click();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].color, 0x123456u) << "the chooser starts at the box's colour";
    EXPECT_EQ(color.text(), QStringLiteral("clRed"));
    prompter.queueColor(0xABCDEF);
    control<QPushButton>("btnColorSet").click();
    EXPECT_EQ(color.text(), QStringLiteral("0x00abcdef"));
    prompter.queueColor(std::nullopt);
    control<QPushButton>("btnColorSet").click();
    EXPECT_EQ(color.text(), QStringLiteral("0x00abcdef")) << "cancelled";
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(syntax.ParseMsgDlg(*written).Option.Color, 0xABCDEFu);
}

TEST_F(MessageDialog, ThePositionButtonHandsTheLayoutEditorTheTextAndTakesBackItsChoices) {
    dialog.loadLine(
        sj(R"(MsgDlg "春#夏",0,"KeyWait","Normal",0,0,1,"/POS:1,2,3,4","/SIZE:14","/WIN:2")"));
    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 10;
        editor.PosTop = 5;
        editor.PosRight = 200;
        editor.PosBottom = 60;
        editor.FontSize = 24;
        editor.FontColor = 0x00FF00;
        return true;
    };
    layoutEditor.Mode = TWindowLayoutEditor::kPictureMode;
    layoutEditor.AreaMode = true;
    control<QPushButton>("btnPosition").click();
    ASSERT_EQ(layoutEditor.executed.size(), 1u);
    const TWindowLayoutEditor& given = layoutEditor.executed[0];
    EXPECT_EQ(given.Mode, TWindowLayoutEditor::kTextMode);
    EXPECT_FALSE(given.AreaMode);
    EXPECT_EQ(given.WindowNo, 2);
    EXPECT_EQ(given.SampleText, sj("春#夏"));
    EXPECT_EQ(given.FontSize, 14);
    EXPECT_EQ(given.FontColor, 0xFFFFFFu);
    EXPECT_EQ((std::array{given.PosLeft, given.PosTop, given.PosRight, given.PosBottom}),
              (std::array{1, 2, 3, 4}));
    EXPECT_EQ(list("cmbFontSize").currentText(), QStringLiteral("24"));
    EXPECT_EQ(control<QLineEdit>("edtFontColor").text(), QStringLiteral("clLime"));

    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 99; // what a closed editor left behind is not taken
        return false;
    };
    control<QPushButton>("btnPosition").click();
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    const TOptParam option = syntax.ParseMsgDlg(*written).Option;
    EXPECT_EQ((std::array{option.PosLeft, option.PosTop, option.PosRight, option.PosBottom}),
              (std::array{10, 5, 200, 60}));
    EXPECT_EQ(option.Size, 24);
    EXPECT_EQ(option.Color, 0x00FF00u);
}

struct RefusedText {
    const char* text;
    const char* message;
};

class MessageRefusals : public MessageDialog, public ::testing::WithParamInterface<RefusedText> {};

TEST_P(MessageRefusals, KeepTheDialogOpenWithTheCheckMessage) {
    dialog.loadLine(R"(MsgDlg "a",0,"KeyWait","Normal",0,0,1,)");
    memo().setPlainText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(pressOK(), std::nullopt);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0], sj(GetParam().message));
    EXPECT_EQ(dialog.line(), R"(MsgDlg "a",0,"KeyWait","Normal",0,0,1,)");
    EXPECT_EQ(dialog.focusWidget(), &memo());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageRefusals,
    ::testing::Values(
        RefusedText{"点数は%score", "\"%\"の数が合いません\r\n文に数値変数を埋め込む場合は "
                                    "\"%\"で囲む必要があります"},
        RefusedText{"&name", "\"&\"の数が合いません\r\n文に文字列変数を埋め込む場合は "
                             "\"&\"で囲む必要があります"},
        RefusedText{"本当？\nはい!", "文字列に不正な文字（!）が使用されています。\n\r文字列に "
                                     "!\"$'()=?;:*/は\n\r使用できません。"}));

TEST_F(MessageDialog, AnUnknownVariableIsToldButDoesNotStopOK) {
    dialog.loadLine("");
    memo().setPlainText(QStringLiteral("%score%と%ない%"));
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj("数値変数“ない”は存在しません")});
}

TEST_F(MessageDialog, ACharacterTheComicCannotHoldIsRefusedByName) {
    dialog.loadLine("");
    memo().setPlainText(QStringLiteral("雪だるま☃"));
    EXPECT_EQ(pressOK(), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("☃"))) << errorBoxes[0].toStdString();
}

TEST_F(MessageDialog, AMegabyteOfTextIsWrittenWhole) {
    dialog.loadLine("");
    const QString line = QString(1000, QLatin1Char('a'));
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << line;
    memo().setPlainText(lines.join(QLatin1Char('\n')));
    const std::optional<std::string> written = pressOK();
    ASSERT_TRUE(written);
    EXPECT_EQ(syntax.ParseMsgDlg(*written).Text.size(), 1000u * 1001u - 1u);
}

// Pixels of one colour (0x00RRGGBB) inside and outside a rectangle.
std::pair<int, int> countColor(const TTC& picture, std::uint32_t rgb, QRect inside) {
    std::pair<int, int> counts{0, 0};
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) == rgb)
                ++(inside.contains(x, y) ? counts.first : counts.second);
    return counts;
}

TEST_F(MessageDialog, ThePreviewDrawsTheTextInItsWindowAndFrame) {
    std::vector<std::string> lines = sampleComicLines();
    lines.insert(std::ranges::find(lines, std::string("<Head End>")) + 1,
                 {"<Head=\"MessageWindow\">", "ImageWidth=300", "ImageHeight=80",
                  "FontTypeShadow=0", "<Head End>"});
    openComic(lines);
    dialog.loadLine(sj(R"(MsgDlg "あいうえお",0,"KeyWait","Normal",0,0,1,)"
                       R"("/POS:20,10,150,60","/COLOR:clRed","/WIN:1")"));
    const auto& preview = child<MessagePreview>(dialog, "imgPreview");
    EXPECT_EQ(preview.window().Width(), 300);
    EXPECT_EQ(preview.window().Height(), 80);
    const auto [inside, outside] = countColor(preview.window(), 0xFF0000, QRect(20, 10, 131, 51));
    EXPECT_GT(inside, 20) << "the text is drawn in the message's colour";
    EXPECT_EQ(outside, 0) << "and only inside its frame";

    list("cmbSelectWindow").setCurrentIndex(0);
    dialog.refreshPreview();
    EXPECT_EQ(preview.window().Width(), 640) << "the main window, at the comic's size";
    memo().clear();
    dialog.refreshPreview();
    EXPECT_EQ(countColor(preview.window(), 0xFF0000, QRect()).second, 0);
}

TEST_F(MessageDialog, ThePreviewReadsLightTextOnADarkWindow) {
    EXPECT_EQ(MessagePreview::backgroundFor(0xFFFFFF), 0x303030u);
    EXPECT_EQ(MessagePreview::backgroundFor(0x000000), 0xFFFFFFu);
    EXPECT_EQ(MessagePreview::backgroundFor(0x00FFFF), 0x303030u) << "yellow is light";
    EXPECT_EQ(MessagePreview::backgroundFor(0x800000), 0xFFFFFFu) << "navy is dark";
}

} // namespace
} // namespace pagora::test
