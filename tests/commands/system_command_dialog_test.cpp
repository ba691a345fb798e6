#include "commands/system_command_dialog.h"
#include "dialog_fixture.h"
#include "gui/help_topics.h"
#include "test_command_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

namespace pagora::test {
namespace {

// The dialog over a comic with books 第一章 (pages はじまり, 次) and 第二章
// (居間), numeric variables score, 回数 and string variables name, 天気.
class SystemDialog : public DialogTest {
protected:
    SystemDialog() { openComic(comicWithVariables()); }

    QComboBox& list(const char* name) { return child<QComboBox>(dialog, name); }
    QLineEdit& edit(const char* name) { return child<QLineEdit>(dialog, name); }
    QListWidget& commands() { return child<QListWidget>(dialog, "lstCmdList"); }
    bool okEnabled() { return child<QPushButton>(dialog, "btnOK").isEnabled(); }
    QString shownPage() {
        return child<QStackedWidget>(dialog, "Notebook").currentWidget()->objectName();
    }
    // A click on the sub-command at that position of the list.
    void choose(int position) {
        commands().setCurrentRow(position);
        dialog.lstCmdListClick();
    }
    std::optional<std::string> pressOK() { return test::pressOK(dialog); }

    TfrmSystemCmd dialog{context};
};

TEST_F(SystemDialog, ANewCommandOpensWithNothingChosenAndOKDisabled) {
    dialog.loadLine("");
    QStringList captions;
    for (int i = 0; i < commands().count(); ++i)
        captions << commands().item(i)->text();
    EXPECT_EQ(captions, QStringList({"全てのデータを保存", "全てのデータを読込", "数値変数の保存",
                                     "数値変数の読込", "文字列変数の保存", "文字列変数の読込",
                                     "サブルーチンコール", "サブルーチンから復帰",
                                     "メニュー項目の呼び出し", "セーブインデックス名変更"}));
    EXPECT_EQ(commands().currentRow(), -1);
    EXPECT_EQ(shownPage(), QStringLiteral("None"));
    EXPECT_FALSE(okEnabled());
    EXPECT_EQ(pressOK(), std::nullopt) << "a disabled OK does nothing";

    EXPECT_EQ(itemsOf(list("cmbSaveValFlag")), QStringList({"score", "回数"}));
    EXPECT_EQ(itemsOf(list("cmbLoadStrFlag")), QStringList({"name", "天気"}))
        << "no built-in variables";
    EXPECT_EQ(itemsOf(list("cmbCallBook")), QStringList({"第一章", "第二章"}));
    EXPECT_EQ(itemsOf(list("cmbMenuCtrl")),
              QStringList({"現在の状況をセーブする", "セーブ内容をロードする", "環境設定",
                           "ドキュメントの表示", "ヘルプの表示", "バージョン情報", "セットアップ",
                           "終了"}));
}

// A line of each sub-command: the list position and page it opens with,
// and the line OK writes back unchanged.
struct SubCommandLine {
    const char* name;
    const char* line;
    int position;
    const char* page;
};

class SystemLines : public SystemDialog, public ::testing::WithParamInterface<SubCommandLine> {};

TEST_P(SystemLines, OpenAtTheirPageAndAreWrittenBackUnchanged) {
    const SubCommandLine& given = GetParam();
    const std::string line = sj(given.line);
    dialog.loadLine(line);
    EXPECT_EQ(commands().currentRow(), given.position);
    EXPECT_EQ(shownPage(), QString::fromLatin1(given.page));
    EXPECT_TRUE(okEnabled());
    EXPECT_EQ(pressOK(), line);
}

INSTANTIATE_TEST_SUITE_P(
    SubCommands, SystemLines,
    ::testing::Values(
        SubCommandLine{"AllDataSave", R"(System "AllDataSave","ひだまり",)", 0, "AllDataSave"},
        SubCommandLine{"AllDataLoadUnnamed", R"(System "AllDataLoad",)", 1, "AllDataLoad"},
        SubCommandLine{"ValDataSave", R"(System "ValDataSave","回数",)", 2, "ValDataSave"},
        SubCommandLine{"ValDataLoad", R"(System "ValDataLoad","score",)", 3, "ValDataLoad"},
        SubCommandLine{"StrDataSave", R"(System "StrDataSave","name",)", 4, "StrDataSave"},
        SubCommandLine{"StrDataLoad", R"(System "StrDataLoad","天気",)", 5, "StrDataLoad"},
        SubCommandLine{"Call", R"(System "Call","第一章","次","/IF:%score%==1")", 6, "Call"},
        SubCommandLine{"Return", R"(System "Return",)", 7, "Return"},
        SubCommandLine{"MenuCtrl", R"(System "MenuCtrl","Version",)", 8, "MenuCtrl"},
        SubCommandLine{"SaveNameSet", R"(System "SaveNameSet","&name&さんの記録",)", 9,
                       "SaveNameSet"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(SystemDialog, ShowsEachStoredParameterInItsControl) {
    dialog.loadLine(sj(R"(System "MenuCtrl","Version",)"));
    EXPECT_EQ(list("cmbMenuCtrl").currentText(), QStringLiteral("バージョン情報"));
    dialog.loadLine(sj(R"(System "Call","第一章","次",)"));
    EXPECT_EQ(list("cmbCallBook").currentText(), QStringLiteral("第一章"));
    EXPECT_EQ(itemsOf(list("cmbCallPage")), QStringList({"はじまり", "次"}));
    EXPECT_EQ(list("cmbCallPage").currentText(), QStringLiteral("次"));
    dialog.loadLine(sj(R"(System "StrDataSave","天気",)"));
    EXPECT_EQ(list("cmbSaveStrFlag").currentText(), QStringLiteral("天気"));
    EXPECT_EQ(list("cmbCallBook").currentIndex(), -1) << "opening clears the other pages";
}

TEST_F(SystemDialog, ASubroutineCallNeedsABookAndAPage) {
    dialog.loadLine("");
    choose(6);
    EXPECT_EQ(shownPage(), QStringLiteral("Call"));
    EXPECT_FALSE(okEnabled());
    list("cmbCallBook").setCurrentIndex(1);
    EXPECT_EQ(itemsOf(list("cmbCallPage")), QStringList({"居間"}));
    EXPECT_FALSE(okEnabled()) << "a book but no page";
    list("cmbCallPage").setCurrentIndex(0);
    EXPECT_TRUE(okEnabled());
    list("cmbCallBook").setCurrentIndex(0);
    EXPECT_EQ(itemsOf(list("cmbCallPage")), QStringList({"はじまり", "次"}));
    EXPECT_FALSE(okEnabled()) << "another book's pages, none chosen yet";
    list("cmbCallPage").setCurrentIndex(0);
    EXPECT_EQ(pressOK(), sj(R"(System "Call","第一章","はじまり",)"));
}

TEST_F(SystemDialog, OnlyThePageOfTheChosenSubCommandIsStored) {
    dialog.loadLine(sj(R"(System "Call","第一章","次","/IF:%score%==1")"));
    choose(0);
    edit("edtSaveBlockName").setText(QStringLiteral("ブロック"));
    EXPECT_TRUE(okEnabled()) << "free texts may be empty";
    choose(1);
    EXPECT_EQ(pressOK(), sj(R"(System "AllDataLoad","/IF:%score%==1")"));
    choose(7);
    EXPECT_EQ(pressOK(), sj(R"(System "Return","/IF:%score%==1")"));
    choose(2);
    EXPECT_FALSE(okEnabled()) << "no variable chosen";
    list("cmbSaveValFlag").setCurrentIndex(1);
    EXPECT_TRUE(okEnabled());
    EXPECT_EQ(pressOK(), sj(R"(System "ValDataSave","回数","/IF:%score%==1")"));
    choose(8);
    EXPECT_FALSE(okEnabled());
    list("cmbMenuCtrl").setCurrentIndex(7);
    EXPECT_EQ(pressOK(), sj(R"(System "MenuCtrl","Exit","/IF:%score%==1")"));
}

// Lines naming what the comic no longer has, or what no sub-command knows:
// the dialog opens with what can be read and OK waits for a choice.
class SystemUnknownNames : public SystemDialog,
                           public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(SystemUnknownNames, OpenWithNothingChosenThereAndOKDisabled) {
    const auto [line, position] = GetParam();
    dialog.loadLine(sj(line));
    EXPECT_EQ(commands().currentRow(), position);
    EXPECT_FALSE(okEnabled());
}

INSTANTIATE_TEST_SUITE_P(Lines, SystemUnknownNames,
                         ::testing::Values(std::pair{R"(System "ValDataSave","消えた",)", 2},
                                           std::pair{R"(System "StrDataLoad",)", 5},
                                           std::pair{R"(System "Call","第九章","居間",)", 6},
                                           std::pair{R"(System "Call","第二章","はじまり",)", 6},
                                           std::pair{R"(System "MenuCtrl","version",)", 8},
                                           std::pair{R"(System "Jump","第一章",)", -1},
                                           std::pair{"System ", -1}));

TEST_F(SystemDialog, TheSaveIndexNamesPopupEmbedsAVariableInPlaceOfTheSelection) {
    dialog.loadLine(sj(R"(System "SaveNameSet","xyz",)"));
    QLineEdit& name = edit("edtSaveIndexName");
    name.setSelection(1, 1);
    auto* popup = name.findChild<QMenu*>(QStringLiteral("popMemo"));
    ASSERT_NE(popup, nullptr);
    QStringList captions;
    for (const QAction* item : popup->actions())
        if (!item->isSeparator())
            captions << item->text();
    EXPECT_EQ(captions, QStringList({"切り取り", "コピー", "貼り付け", "数値変数の埋め込み",
                                     "文字列変数の埋め込み"}));
    modal = [](QDialog& chooser) {
        child<QListWidget>(chooser, "lstFlagList").setCurrentRow(1);
        static_cast<DialogFrame&>(chooser).btnOKClick();
        return 0;
    };
    popup->findChild<QAction*>(QStringLiteral("popValueFlag"))->trigger();
    EXPECT_EQ(name.text(), QStringLiteral("x%回数%z"));
    EXPECT_EQ(pressOK(), sj(R"(System "SaveNameSet","x%回数%z",)"));
}

TEST_F(SystemDialog, HelpOpensItsTopic) {
    dialog.loadLine("");
    dialog.btnHelpClick();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fileName(), QStringLiteral("system-command.html"));
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic%1").arg(kSystemCmdHelpTopic));
    const std::string page = readFile(std::filesystem::path(PAGORA_SOURCE_DIR) / "docs" / "help" /
                                      "system-command.html");
    EXPECT_NE(page.find("id=\"topic53\""), std::string::npos);
}

} // namespace
} // namespace pagora::test
