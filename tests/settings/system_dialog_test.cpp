#include "dialog_fixture.h"
#include "gui/help_viewer.h"
#include "gui/number_pad.h"
#include "settings/system_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <tuple>

namespace pagora::test {
namespace {

namespace fs = std::filesystem;

using Call = ScriptedPrompter::Call;

// Every key the dialog edits, in the order it writes them, with a value that
// differs from its default.
const std::vector<std::pair<std::string, std::string>> kEveryKey = {
    {"Title", "ひだまり"},
    {"Opening", "op.bmp"},
    {"Document", "read.txt"},
    {"Copyright", "花子"},
    {"StartBook", "第二章"},
    {"StartPage", "居間"},
    {"SaveFile", "save1"},
    {"RandomFlagMax", "6"},
    {"MouseCursorNormal", "n.cur"},
    {"MouseCursorKeyWait", "k.cur"},
    {"MouseCursorTimeCount", "t.ani"},
    {"MouseCursorClickAble", "c.cur"},
    {"MciMusic", "Sequencer"},
    {"MciSound", "WaveAudio"},
    {"SelectChange", "1"},
    {"ShowKeyWaitChar", "1"},
};

class SystemSettings : public DialogTest {
protected:
    // Opens the sample comic with these lines added to its header; a start
    // book or page among them stands in for the sample's own.
    void openWith(const std::vector<std::string>& header) {
        std::vector<std::string> lines = sampleComicLines(header);
        for (const std::string key : {"StartBook=", "StartPage="}) {
            const auto named = [&](const std::string& line) {
                return line.starts_with(key);
            };
            if (std::ranges::count_if(lines, named) > 1)
                lines.erase(std::ranges::find_if(lines, named));
        }
        openComic(lines);
    }

    std::string value(const std::string& key) const {
        for (const HeaderEntry& entry : dialog.entries())
            if (entry.key == key)
                return entry.value;
        return "(not written)";
    }

    bool confirm() {
        dialog.btnOKClick();
        return dialog.result() == QDialog::Accepted;
    }

    QLineEdit& edit(const char* name) { return child<QLineEdit>(dialog, name); }
    QComboBox& list(const char* name) { return child<QComboBox>(dialog, name); }
    bool okEnabled() { return child<QPushButton>(dialog, "btnOK").isEnabled(); }

    TfrmSystem dialog{context};
};

TEST_F(SystemSettings, AComicWithoutTheKeysShowsTheirDefaults) {
    openComic({"<Head=\"Comic\">", "FileType=PGR95", "<Head End>", "<Book=\"スタートブック\">",
               "<Page=\"スタートページ\">", "// ", "<Page End>", "<Book End>"});
    dialog.load();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("システム設定"));
    const auto& tabs = child<QTabWidget>(dialog, "PageControl");
    ASSERT_EQ(tabs.count(), 4);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("コミックの設定"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("実行環境の設定"));
    EXPECT_EQ(tabs.tabText(2), QStringLiteral("マウスカーソル"));
    EXPECT_EQ(tabs.tabText(3), QStringLiteral("その他"));
    EXPECT_EQ(edit("edtTitle").text(), QStringLiteral("Interactive Pagora Player"));
    EXPECT_EQ(edit("edtDocFile").text(), QString());
    EXPECT_EQ(edit("edtUserName").text(), QStringLiteral("Pagora User"));
    EXPECT_EQ(edit("edtDataDir").text(), QString());
    for (const char* name :
         {"edtOpening", "edtSaveFile", "edtMouseCursorNormal", "edtMouseCursorKeyWait",
          "edtMouseCursorTimeCount", "edtMouseCursorClickAble"})
        EXPECT_EQ(edit(name).text(), QStringLiteral("Default")) << name;
    EXPECT_EQ(list("cmbRndMax").currentText(), QStringLiteral("1000"));
    EXPECT_EQ(list("cmbStartBook").currentText(), QStringLiteral("スタートブック"));
    EXPECT_EQ(list("cmbStartPage").currentText(), QStringLiteral("スタートページ"));
    EXPECT_EQ(list("cmbMciMusic").currentText(), QStringLiteral("AutoSelect"));
    EXPECT_EQ(list("cmbMciSound").currentText(), QStringLiteral("AutoSelect"));
    // New comics are made with both switches on; a missing key is off.
    EXPECT_FALSE(child<QCheckBox>(dialog, "chkSelectChange").isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "chkShowKeyWaitChar").isChecked());
    EXPECT_TRUE(okEnabled());
}

TEST_F(SystemSettings, OkWritesEveryKeyInItsOrderAsItWasRead) {
    std::vector<std::string> header;
    for (const auto& [key, text] : kEveryKey)
        header.push_back(key + "=" + text);
    openWith(header);
    dialog.load();
    ASSERT_TRUE(confirm());
    std::vector<HeaderEntry> expected;
    for (const auto& [key, text] : kEveryKey)
        expected.push_back({"Comic", key, sj(text)});
    EXPECT_EQ(dialog.entries(), expected);
}

// Values that are not what the dialog writes are shown as the player reads them.
struct LenientCase {
    const char* line;
    const char* control;
    QString shown;
};

void PrintTo(const LenientCase& lenient, std::ostream* out) {
    *out << lenient.line;
}

class SystemSettingsLenient : public SystemSettings,
                              public ::testing::WithParamInterface<LenientCase> {};

TEST_P(SystemSettingsLenient, AValueIsShownAsItIsRead) {
    openWith({GetParam().line});
    dialog.load();
    QWidget& control = child<QWidget>(dialog, GetParam().control);
    if (auto* box = qobject_cast<QCheckBox*>(&control))
        EXPECT_EQ(box->isChecked() ? QStringLiteral("on") : QStringLiteral("off"),
                  GetParam().shown);
    else
        EXPECT_EQ(qobject_cast<QComboBox*>(&control)->currentText(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SystemSettingsLenient,
    ::testing::Values(
        LenientCase{"RandomFlagMax=sechs", "cmbRndMax", QStringLiteral("1000")},
        LenientCase{"RandomFlagMax=", "cmbRndMax", QStringLiteral("1000")},
        LenientCase{"RandomFlagMax=$10", "cmbRndMax", QStringLiteral("16")},
        LenientCase{"RandomFlagMax=-5", "cmbRndMax", QStringLiteral("-5")},
        LenientCase{"SelectChange=2", "chkSelectChange", QStringLiteral("on")},
        LenientCase{"SelectChange=-1", "chkSelectChange", QStringLiteral("off")},
        LenientCase{"ShowKeyWaitChar=yes", "chkShowKeyWaitChar", QStringLiteral("off")},
        LenientCase{"MciMusic=WaveAudio", "cmbMciMusic", QStringLiteral("WaveAudio")},
        LenientCase{"MciMusic=sequencer", "cmbMciMusic", QStringLiteral("AutoSelect")},
        LenientCase{"MciSound=CDAudio", "cmbMciSound", QStringLiteral("AutoSelect")}));

TEST_F(SystemSettings, AStartBookThatIsGoneIsChosenAgainBeforeOk) {
    openWith({"StartBook=消えた章", "StartPage=次"});
    dialog.load();
    EXPECT_EQ(list("cmbStartBook").currentIndex(), -1);
    EXPECT_EQ(list("cmbStartPage").count(), 0);
    EXPECT_FALSE(okEnabled());
    EXPECT_FALSE(confirm());
    EXPECT_TRUE(dialog.entries().empty());

    list("cmbStartBook").setCurrentText(QStringLiteral("第二章"));
    EXPECT_EQ(list("cmbStartPage").currentIndex(), -1) << "第二章 has no page 次";
    EXPECT_FALSE(okEnabled());
    // The start page as read is selected again in a book that has it.
    list("cmbStartBook").setCurrentText(QStringLiteral("第一章"));
    EXPECT_EQ(list("cmbStartPage").currentText(), QStringLiteral("次"));
    EXPECT_TRUE(okEnabled());
    list("cmbStartBook").setCurrentText(QStringLiteral("第二章"));
    list("cmbStartPage").setCurrentText(QStringLiteral("居間"));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(value("StartBook"), sj("第二章"));
    EXPECT_EQ(value("StartPage"), sj("居間"));
}

TEST_F(SystemSettings, TheResetButtonsPutTheNoFileValuesBack) {
    openWith({});
    dialog.load();
    const std::pair<const char*, const char*> buttons[] = {
        {"btnOpeningDefault", "edtOpening"},
        {"btnSaveFileDef", "edtSaveFile"},
        {"btnMouseNormalDefault", "edtMouseCursorNormal"},
        {"btnMouseKeyWaitDefault", "edtMouseCursorKeyWait"},
        {"btnMouseTimeCountDefault", "edtMouseCursorTimeCount"},
        {"btnMouseClickAbleDefault", "edtMouseCursorClickAble"},
        {"btnDocDefault", "edtDocFile"},
    };
    for (const auto& [button, name] : buttons) {
        edit(name).setText(QStringLiteral("x.bin"));
        child<QPushButton>(dialog, button).click();
    }
    for (const auto& [button, name] : buttons)
        EXPECT_EQ(edit(name).text(),
                  name == std::string("edtDocFile") ? QString() : QStringLiteral("Default"))
            << button;
    EXPECT_EQ(child<QPushButton>(dialog, "btnDocDefault").text(), QStringLiteral("なし"));
}

TEST_F(SystemSettings, EachFileButtonChoosesWithItsFilterIntoItsEdit) {
    openWith({"DataDirectory=data"});
    fs::create_directories(folder.path() / "data");
    dialog.load();
    const std::tuple<const char*, const char*, int> buttons[] = {
        {"btnOpeningSet", "edtOpening", 0},
        {"btnDocSet", "edtDocFile", 2},
        {"btnMouseNormalSet", "edtMouseCursorNormal", 1},
        {"btnMouseKeyWaitSet", "edtMouseCursorKeyWait", 1},
        {"btnMouseTimeCountSet", "edtMouseCursorTimeCount", 1},
        {"btnMouseClickAbleSet", "edtMouseCursorClickAble", 1},
    };
    for (const auto& [button, name, filter] : buttons) {
        const std::string chosen = std::string(name) + ".x";
        prompter.queuePath(folder.write("elsewhere/" + chosen, name));
        child<QPushButton>(dialog, button).click();
        EXPECT_EQ(edit(name).text(), QString::fromStdString(chosen));
        EXPECT_EQ(readFile(folder.path() / "data" / chosen), name);
        ASSERT_EQ(prompter.records().back().call, Call::OpenFile);
        EXPECT_EQ(prompter.records().back().chooser.selectedFilter, filter) << button;
    }
    EXPECT_EQ(prompter.records().back().chooser.filter,
              "ビットマップイメージ (*.bmp);;マウスカーソル (*.cur *.ani);;"
              "テキストファイル (*.txt);;全てのファイル (*)");
}

TEST_F(SystemSettings, AnUntitledComicChoosesNoFileAndKeepsItsDataFolder) {
    dialog.load();
    child<QPushButton>(dialog, "btnMouseNormalSet").click();
    edit("edtDataDir").setText(QStringLiteral("data"));
    edit("edtTitle").setText(QStringLiteral("新しい話"));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(prompter.messages(),
              (std::vector<std::string>{
                  sj("この機能を使うためには\nファイルを一度セーブする必要があります"),
                  sj("データディレクトリの設定は出来ません\nこの機能を使うためにはファイルを一度セ"
                     "ーブする必要があります")}));
    EXPECT_EQ(value("Title"), sj("新しい話"));
    EXPECT_EQ(value("DataDirectory"), "(not written)");
}

TEST_F(SystemSettings, ANewDataFolderIsMadeNextToTheComicAndWrittenLast) {
    openWith({"DataDirectory=old"});
    dialog.load();
    edit("edtDataDir").setText(QStringLiteral("素材\\絵"));
    ASSERT_TRUE(confirm());
    EXPECT_TRUE(fs::is_directory(folder.path() / "素材" / "絵"));
    EXPECT_EQ(dialog.entries().back(), (HeaderEntry{"Comic", "DataDirectory", sj("素材\\絵")}));
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(SystemSettings, AnUnchangedOrExistingDataFolderIsNotMade) {
    openWith({"DataDirectory=gone"});
    dialog.load();
    ASSERT_TRUE(confirm());
    EXPECT_EQ(value("DataDirectory"), "(not written)") << "unchanged";
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));

    fs::create_directories(folder.path() / "Data");
    TfrmSystem other(context);
    other.load();
    child<QLineEdit>(other, "edtDataDir").setText(QStringLiteral("data"));
    other.btnOKClick();
    ASSERT_EQ(other.result(), QDialog::Accepted);
    EXPECT_EQ(other.entries().back().value, "data");
    EXPECT_FALSE(fs::exists(folder.path() / "data")) << "found as Data, as the lookups find it";
}

TEST_F(SystemSettings, AFolderThatCannotBeMadeKeepsTheOldOne) {
    openWith({"DataDirectory=old"});
    folder.write("taken", "a file");
    dialog.load();
    edit("edtDataDir").setText(QStringLiteral("taken"));
    edit("edtTitle").setText(QStringLiteral("題"));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj("フォルダの作成に失敗しました")});
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(value("DataDirectory"), "(not written)");
    EXPECT_EQ(value("Title"), sj("題"));
}

class SystemSettingsFolderName : public SystemSettings,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(SystemSettingsFolderName, ANameLeadingOutOfTheComicsFolderIsRefused) {
    openWith({});
    fs::create_directories(folder.path() / "a");
    dialog.load();
    child<QTabWidget>(dialog, "PageControl").setCurrentIndex(3);
    edit("edtDataDir").setText(QString::fromUtf8(GetParam()));
    EXPECT_FALSE(confirm());
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].startsWith(QStringLiteral("データフォルダには")));
    EXPECT_EQ(child<QTabWidget>(dialog, "PageControl").currentIndex(), 1);
    EXPECT_TRUE(dialog.entries().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2)
        << "nothing made beside the comic and a";
}

INSTANTIATE_TEST_SUITE_P(Names, SystemSettingsFolderName,
                         ::testing::Values("..", "../out", "a/../../out", "/tmp/data", "\\data",
                                           "C:\\data", "a:b"));

TEST_F(SystemSettings, TextTheComicCannotHoldIsRefusedAtItsEdit) {
    openWith({});
    dialog.load();
    child<QTabWidget>(dialog, "PageControl").setCurrentIndex(2);
    edit("edtUserName").setText(QStringLiteral("한"));
    edit("edtDataDir").setText(QStringLiteral("new"));
    EXPECT_FALSE(confirm());
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("한")));
    EXPECT_EQ(child<QTabWidget>(dialog, "PageControl").currentIndex(), 0);
    EXPECT_FALSE(fs::exists(folder.path() / "new")) << "no folder made for a refused OK";
}

TEST_F(SystemSettings, CancelHandsBackNothingAndHelpOpensItsPage) {
    openWith({});
    modal = [](QDialog& shown) {
        child<QLineEdit>(shown, "edtTitle").setText(QStringLiteral("変えた"));
        child<QPushButton>(shown, "btnHelp").click();
        shown.reject();
        return 0;
    };
    EXPECT_EQ(dialog.run(), std::nullopt);
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("system-settings.html"));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic23"));
}

} // namespace
} // namespace pagora::test
