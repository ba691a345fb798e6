#include "dialog_fixture.h"
#include "gui/help_topics.h"
#include "settings/menu_set_dialog.h"

#include <QComboBox>
#include <QLabel>

namespace pagora::test {
namespace {

const char* const kBoxes[] = {"cmbSave", "cmbLoad",  "cmbConfig",  "cmbDocument",
                              "cmbHelp", "cmbSetup", "cmbVersion", "cmbExit"};

class MenuSetDialog : public DialogTest {
protected:
    QComboBox& box(const char* name) { return child<QComboBox>(dialog, name); }
    QStringList shown() {
        QStringList texts;
        for (const char* name : kBoxes)
            texts << box(name).currentText();
        return texts;
    }

    TfrmMenuSet dialog{context};
};

TEST_F(MenuSetDialog, WithoutAMenuBlockShowsEveryItemAndLetsThePlayerControlTwo) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("メニュー設定"));
    EXPECT_EQ(box("cmbSave").count(), 2);
    EXPECT_EQ(box("cmbHelp").itemText(2), QStringLiteral("自動制御"));
    QStringList labels;
    for (const char* name : kBoxes)
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (label->buddy() == &box(name))
                labels << label->text();
    EXPECT_EQ(labels, QStringList({"現在の状況をセーブする", "セーブ内容をロードする", "環境設定",
                                   "ドキュメントの表示", "ヘルプの表示", "セットアップ",
                                   "バージョン情報", "終了"}));
    dialog.load();
    EXPECT_EQ(shown(), QStringList({"表示", "表示", "表示", "自動制御", "自動制御", "表示", "表示",
                                    "表示"}));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.entries(), (std::vector<HeaderEntry>{{"Menu", "Save", "1"},
                                                          {"Menu", "Load", "1"},
                                                          {"Menu", "Config", "1"},
                                                          {"Menu", "Document", "Auto"},
                                                          {"Menu", "Help", "Auto"},
                                                          {"Menu", "Setup", "1"},
                                                          {"Menu", "Version", "1"},
                                                          {"Menu", "Exit", "1"}}));
}

// A stored value, the choice it opens with, and what OK writes back.
struct StoredChoice {
    std::string name;
    const char* key;
    const char* box;
    const char* stored;
    QString shown;
    std::string written;
};

void PrintTo(const StoredChoice& c, std::ostream* out) {
    *out << c.name;
}

class MenuChoices : public MenuSetDialog, public testing::WithParamInterface<StoredChoice> {};

TEST_P(MenuChoices, OpenAsTheirNumberWithTheFallbacksAndAreWrittenBack) {
    const StoredChoice& c = GetParam();
    comic.WriteHeader("Menu", c.key, c.stored);
    dialog.load();
    EXPECT_EQ(box(c.box).currentText(), c.shown);
    dialog.btnOKClick();
    const auto written = std::ranges::find(dialog.entries(), std::string(c.key), &HeaderEntry::key);
    ASSERT_NE(written, dialog.entries().end());
    EXPECT_EQ(written->value, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MenuChoices,
    testing::Values(StoredChoice{"HiddenHelp", "Help", "cmbHelp", "0", "非表示", "0"},
                    StoredChoice{"AutoSaveIsShown", "Save", "cmbSave", "Auto", "表示", "1"},
                    StoredChoice{"ShownDocument", "Document", "cmbDocument", "1", "表示", "1"},
                    StoredChoice{"AutoDocument", "Document", "cmbDocument", "2", "自動制御",
                                 "Auto"},
                    StoredChoice{"TextExit", "Exit", "cmbExit", "はい", "表示", "1"},
                    StoredChoice{"NoThirdChoiceForSetup", "Setup", "cmbSetup", "2", "表示", "1"},
                    StoredChoice{"NegativeVersion", "Version", "cmbVersion", "-1", "表示", "1"},
                    StoredChoice{"OutOfRangeHelp", "Help", "cmbHelp", "7", "自動制御", "Auto"},
                    StoredChoice{"HiddenConfig", "Config", "cmbConfig", " 0", "非表示", "0"}),
    [](const testing::TestParamInfo<StoredChoice>& test) { return test.param.name; });

TEST_F(MenuSetDialog, RunHandsBackTheChoicesOnOkOnly) {
    modal = [this](QDialog&) {
        box("cmbLoad").setCurrentIndex(0);
        box("cmbDocument").setCurrentIndex(1);
        dialog.btnOKClick();
        return 0;
    };
    const std::optional<std::vector<HeaderEntry>> entries = dialog.run();
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->at(1), (HeaderEntry{"Menu", "Load", "0"}));
    EXPECT_EQ(entries->at(3), (HeaderEntry{"Menu", "Document", "1"}));

    modal = [](QDialog& shown) {
        shown.reject();
        return 0;
    };
    EXPECT_EQ(dialog.run(), std::nullopt);
    dialog.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("player-menu.html"));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic%1").arg(kMenuSetHelpTopic));
}

} // namespace
} // namespace pagora::test
