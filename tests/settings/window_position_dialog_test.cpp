#include "dialog_fixture.h"
#include "document/comic_editing.h"
#include "settings/pixel_box.h"
#include "settings/window_position_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pagora::test {
namespace {

using Call = ScriptedPrompter::Call;

const std::string kDefaultFont = "ＭＳ Ｐゴシック";

// A play window as a new comic has it.
struct WindowDefaults {
    const char* name;
    const char* block;
    const char* caption;
    int width;
    int height;
    std::optional<std::pair<int, int>> position; // and a title bar
};

const std::vector<WindowDefaults>& windowDefaults() {
    static const std::vector<WindowDefaults> windows = {
        {"Main", "Comic", "メイン", 640, 480, std::nullopt},
        {"Mes", "MessageWindow", "メッセージ", 520, 110, std::pair(60, 350)},
        {"Sel", "SelectWindow", "セレクト", 400, 110, std::pair(80, 220)},
        {"Usr1", "UserWindow1", "ユーザー１", 100, 100, std::pair(0, 0)},
        {"Usr2", "UserWindow2", "ユーザー２", 100, 100, std::pair(0, 0)},
        {"Usr3", "UserWindow3", "ユーザー３", 100, 100, std::pair(0, 0)},
    };
    return windows;
}

// The key lines of a window with the default font and styles (UTF-8).
std::vector<std::string> defaultKeyLines(const WindowDefaults& window) {
    std::vector<std::string> lines = {
        "FontName=" + kDefaultFont,
        "FontTypeBold=1",
        "FontTypeItalic=0",
        "FontTypeShadow=1",
        "FontTypeShadowColor=clSilver",
        "ImageWidth=" + std::to_string(window.width),
        "ImageHeight=" + std::to_string(window.height),
    };
    if (window.position) {
        lines.push_back("RelativeToMainX=" + std::to_string(window.position->first));
        lines.push_back("RelativeToMainY=" + std::to_string(window.position->second));
        lines.push_back("TitleBar=1");
    }
    return lines;
}

std::string controlName(const char* kind, const WindowDefaults& window, const char* role) {
    return std::string(kind) + window.name + "Win" + role;
}

// The control that shows a key of the window.
std::string controlOf(const WindowDefaults& window, const std::string& key) {
    static const std::map<std::string, std::pair<const char*, const char*>> controls = {
        {"FontName", {"cmb", "Font"}},
        {"FontTypeBold", {"chk", "Bold"}},
        {"FontTypeItalic", {"chk", "Italic"}},
        {"FontTypeShadow", {"chk", "Shadow"}},
        {"FontTypeShadowColor", {"edt", "ShadowColor"}},
        {"ImageWidth", {"spn", "Width"}},
        {"ImageHeight", {"spn", "Height"}},
        {"RelativeToMainX", {"spn", "Left"}},
        {"RelativeToMainY", {"spn", "Top"}},
    };
    if (key == "TitleBar")
        return std::string("chk") + window.name + "TitleBar";
    const auto& [kind, role] = controls.at(key);
    return controlName(kind, window, role);
}

// What a control shows, in the form a header value has.
QString shown(QWidget& control) {
    if (auto* check = qobject_cast<QCheckBox*>(&control))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* list = qobject_cast<QComboBox*>(&control))
        return list->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        return edit->text();
    return qobject_cast<PixelBox*>(&control)->text();
}

class WindowSettings : public DialogTest {
protected:
    template <typename T> T& control(const std::string& name) {
        return child<T>(dialog, name.c_str());
    }
    // OK, and the value written for the key of the block; none when OK refused.
    std::optional<std::string> confirmed(std::string_view block, std::string_view key) {
        dialog.btnOKClick();
        if (dialog.result() != QDialog::Accepted)
            return std::nullopt;
        for (const HeaderEntry& entry : dialog.entries())
            if (entry.block == block && entry.key == key)
                return entry.value;
        ADD_FAILURE() << "no entry " << block << "/" << key;
        return std::nullopt;
    }

    TfrmWindowPositionSet dialog{context};
};

TEST_F(WindowSettings, ANewComicShowsEveryWindowWithItsDefaults) {
    dialog.load();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ウインドウ配置設定"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnCansel").text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnHelp")), nullptr);
    auto& tabs = child<QTabWidget>(dialog, "PageControl");
    ASSERT_EQ(tabs.count(), 6);
    for (int i = 0; i < 6; ++i) {
        const WindowDefaults& window = windowDefaults()[static_cast<std::size_t>(i)];
        SCOPED_TRACE(window.name);
        EXPECT_EQ(tabs.tabText(i), QString::fromUtf8(window.caption));
        for (const std::string& line : defaultKeyLines(window)) {
            const std::size_t equals = line.find('=');
            EXPECT_EQ(shown(control<QWidget>(controlOf(window, line.substr(0, equals)))),
                      QString::fromStdString(line.substr(equals + 1)))
                << line;
        }
    }
    EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("spnMainWinLeft")), nullptr);
    EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("chkMainTitleBar")), nullptr);
    EXPECT_EQ(child<QCheckBox>(dialog, "chkUsr3TitleBar").text(),
              QStringLiteral("タイトルバーを表示　（ウィンドウを移動できるようにする）"));
}

TEST_F(WindowSettings, OneOkOnANewComicWritesEveryKeyOfEveryWindowInOrder) {
    std::vector<std::string> expected = {
        "<Head=\"Comic\">",         "FileType=PGR95",           "CmdVer=0",
        "StartBook=スタートブック", "StartPage=スタートページ", "MciMusic=Sequencer",
        "MciSound=WaveAudio",       "SelectChange=1",           "ShowKeyWaitChar=1"};
    const std::vector<std::string> mainKeys = defaultKeyLines(windowDefaults()[0]);
    expected.insert(expected.end(), mainKeys.begin(), mainKeys.end());
    expected.insert(expected.end(),
                    {"<Head End>", "<Book=\"スタートブック\">", "<Page=\"スタートページ\">", "// ",
                     "<Page End>", "<Book End>"});
    for (std::size_t i = 1; i < windowDefaults().size(); ++i) {
        const WindowDefaults& window = windowDefaults()[i];
        expected.push_back(std::string("<Head=\"") + window.block + "\">");
        expected.push_back("// ");
        const std::vector<std::string> keys = defaultKeyLines(window);
        expected.insert(expected.end(), keys.begin(), keys.end());
        expected.push_back("<Head End>");
    }

    modal = [](QDialog& shownDialog) {
        static_cast<TfrmWindowPositionSet&>(shownDialog).btnOKClick();
        return 1;
    };
    const std::optional<std::vector<HeaderEntry>> entries = dialog.run();
    ASSERT_TRUE(entries.has_value());
    ASSERT_TRUE(writeHeaderKeys(comic, *entries).done());
    EXPECT_EQ(comic.SaveToBytes(), comicFileBytes(expected));
    EXPECT_EQ(comic.History().undoCount(), 1u) << "one step";
}

TEST_F(WindowSettings, CancelHandsBackNothing) {
    modal = [](QDialog& shownDialog) {
        child<QCheckBox>(shownDialog, "chkMesWinBold").setChecked(false);
        child<QPushButton>(shownDialog, "btnCansel").click();
        return 0;
    };
    EXPECT_EQ(dialog.run(), std::nullopt);
}

// A value of the message window's block: what its control shows and what OK
// writes back when the user changes nothing.
struct StoredValue {
    const char* key;
    const char* value;
    const char* control;
    const char* shown;
    const char* written;
};

void PrintTo(const StoredValue& stored, std::ostream* out) {
    *out << stored.key << "=" << stored.value;
}

class WindowSettingsValues : public WindowSettings,
                             public ::testing::WithParamInterface<StoredValue> {};

TEST_P(WindowSettingsValues, AreShownAndWrittenBack) {
    const StoredValue& stored = GetParam();
    std::vector<std::string> lines = sampleComicLines();
    lines.insert(lines.end(), {"<Head=\"MessageWindow\">",
                               std::string(stored.key) + "=" + stored.value, "<Head End>"});
    openComic(lines);
    dialog.load();
    EXPECT_EQ(shown(control<QWidget>(stored.control)), QString::fromUtf8(stored.shown));
    EXPECT_EQ(confirmed("MessageWindow", stored.key), sj(stored.written));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowSettingsValues,
    ::testing::Values(StoredValue{"FontTypeBold", "2", "chkMesWinBold", "1", "1"},
                      StoredValue{"FontTypeBold", "-1", "chkMesWinBold", "0", "0"},
                      StoredValue{"FontTypeBold", "ja", "chkMesWinBold", "0", "0"},
                      StoredValue{"FontTypeItalic", "0x1", "chkMesWinItalic", "1", "1"},
                      StoredValue{"TitleBar", "0", "chkMesTitleBar", "0", "0"},
                      StoredValue{"FontName", "存在しないフォント", "cmbMesWinFont",
                                  "存在しないフォント", "存在しないフォント"},
                      StoredValue{"FontTypeShadowColor", "clred", "edtMesWinShadowColor", "clred",
                                  "clred"},
                      StoredValue{"FontTypeShadowColor", "うすい灰色", "edtMesWinShadowColor",
                                  "うすい灰色", "うすい灰色"},
                      StoredValue{"ImageWidth", "", "spnMesWinWidth", "520", "520"},
                      StoredValue{"ImageWidth", "広め", "spnMesWinWidth", "520", "520"},
                      StoredValue{"ImageWidth", "0x20", "spnMesWinWidth", "32", "32"},
                      StoredValue{"ImageWidth", "0", "spnMesWinWidth", "0", "0"},
                      StoredValue{"ImageWidth", "100000", "spnMesWinWidth", "100000", "100000"},
                      StoredValue{"ImageWidth", "99999999999", "spnMesWinWidth", "520", "520"},
                      StoredValue{"ImageHeight", "-7", "spnMesWinHeight", "-7", "-7"},
                      StoredValue{"RelativeToMainX", "-40", "spnMesWinLeft", "-40", "-40"},
                      StoredValue{"RelativeToMainY", " 12", "spnMesWinTop", "12", "12"}));

TEST_F(WindowSettings, AnEmptiedSizeIsWrittenAsTheWindowsDefault) {
    dialog.load();
    auto& width = control<PixelBox>("spnSelWinWidth");
    width.setFocus();
    QTest::keyClick(&width, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&width, Qt::Key_Delete);
    EXPECT_EQ(width.text(), QString());
    EXPECT_EQ(confirmed("SelectWindow", "ImageWidth"), "400");
}

TEST_F(WindowSettings, TheFontListsHoldTheInstalledFontsAndAnyTypedName) {
    std::vector<std::string> lines = sampleComicLines();
    lines.insert(lines.end(),
                 {"<Head=\"SelectWindow\">", "FontName=存在しないフォント", "<Head End>"});
    openComic(lines);
    dialog.load();
    auto& fonts = control<QComboBox>("cmbSelWinFont");
    EXPECT_EQ(fonts.itemText(0), QStringLiteral("存在しないフォント"))
        << "the comic's font, not installed, heads the list";
    const QStringList installed = QFontDatabase::families();
    const auto plain = std::ranges::find_if(installed, [](const QString& family) {
        return !QFontDatabase::isPrivateFamily(family) && family == family.toLatin1();
    });
    ASSERT_NE(plain, installed.end());
    const int position = fonts.findText(*plain, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    ASSERT_GE(position, 1);
    fonts.setCurrentIndex(position);
    EXPECT_EQ(confirmed("SelectWindow", "FontName"), plain->toStdString());

    fonts.setEditText(QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(confirmed("SelectWindow", "FontName"), sj("ＭＳ 明朝"));
}

TEST_F(WindowSettings, AFontNameTheComicCannotHoldIsRefused) {
    dialog.load();
    auto& tabs = child<QTabWidget>(dialog, "PageControl");
    control<QComboBox>("cmbUsr3WinFont").setEditText(QStringLiteral("Schrift ☃"));
    EXPECT_EQ(confirmed("UserWindow3", "FontName"), std::nullopt);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("☃"))) << errorBoxes[0].toStdString();
    EXPECT_EQ(tabs.currentIndex(), 5) << "the refused font's tab is brought forward";
}

// The colour chooser starts at the colour the box reads as (the default
// shadow colour when it reads as none), and the chosen colour goes back as
// colour text.
struct ColourChoice {
    const char* text;
    std::uint32_t initial;
    std::optional<std::uint32_t> chosen;
    const char* result;
};

void PrintTo(const ColourChoice& choice, std::ostream* out) {
    *out << "\"" << choice.text << "\"";
}

class ShadowColourChooser : public WindowSettings,
                            public ::testing::WithParamInterface<ColourChoice> {};

TEST_P(ShadowColourChooser, StartsAtTheTypedColourAndWritesTheChosenOne) {
    const ColourChoice& choice = GetParam();
    dialog.load();
    auto& edit = control<QLineEdit>("edtMesWinShadowColor");
    edit.setText(QString::fromUtf8(choice.text));
    prompter.queueColor(choice.chosen);
    control<QPushButton>("btnMesWinShadowColorSet").click();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].call, Call::ChooseColor);
    EXPECT_EQ(prompter.records()[0].color, choice.initial);
    EXPECT_EQ(edit.text(), QString::fromUtf8(choice.result));
    EXPECT_EQ(confirmed("MessageWindow", "FontTypeShadowColor"), sj(choice.result));
}

INSTANTIATE_TEST_SUITE_P(Cases, ShadowColourChooser,
                         ::testing::Values(ColourChoice{"clSilver", 0xC0C0C0, 0x0000FF, "clRed"},
                                           ColourChoice{"0x00123456", 0x123456, 0xFF0000, "clBlue"},
                                           ColourChoice{"clnavy", 0x800000, 0x010203, "0x00010203"},
                                           ColourChoice{"255", 0x0000FF, std::nullopt, "255"},
                                           ColourChoice{"灰色", 0xC0C0C0, 0x808080, "clGray"},
                                           ColourChoice{"", 0xC0C0C0, std::nullopt, ""},
                                           ColourChoice{"0xZZ", 0xC0C0C0, 0x0000FF, "clRed"}));

} // namespace
} // namespace pagora::test
