// Finding, listing references and renaming with them from the main window.
#include "editor/find_dialog.h"
#include "editor/results_panel.h"
#include "editor_fixture.h"
#include "platform/encoding.h"
#include "settings/flag_set_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace pagora::test {
namespace {

// Book 上 jumps to 下/終 twice; book 下 has its own page 始 that a choice leads to.
std::vector<std::string> referencingComic() {
    return {"<Head=\"Comic\">",
            "StartBook=上",
            "StartPage=始",
            "<Head End>",
            "<Book=\"上\">",
            "<Page=\"始\">",
            "PageJump \"下\",\"終\",0,",
            "MsgDlg \"%回数%回目\",0,\"KeyWait\",\"Normal\",0,0,1,",
            "<Page End>",
            "<Book End>",
            "<Book=\"下\">",
            "<Page=\"始\">",
            "SelectDlg \"終わる\",\"$終$\",",
            "<Page End>",
            "<Page=\"終\">",
            "ValueCtrl \"%回数%\",1,\"%回数%\",\"1\",",
            "<Page End>",
            "<Book End>",
            "<Head=\"ValueFlag\">",
            "回数=0",
            "<Head End>"};
}

class References : public EditorTest {
protected:
    std::unique_ptr<TfrmMain> openAt(std::string_view book, std::string_view page) {
        auto window = showWindow(writeComic("refs.csf", referencingComic()));
        window->OpenPage(sj(book), sj(page), 0);
        return window;
    }
    static std::string line(TfrmMain& window, std::string_view book, std::string_view page,
                            int index) {
        return toUtf8(window.objects().comic.GetCommand(sj(book), sj(page), index));
    }
    static QStringList results(TfrmMain& window) {
        QStringList texts;
        QListWidget& list = window.resultsPanel().list();
        for (int row = 0; row < list.count(); ++row)
            texts.append(list.item(row)->text());
        return texts;
    }
};

struct RenameAnswer {
    Answer answer;
    const char* jumpAfter; // empty: the page keeps its name
};

class PageRenameQuestion : public References, public testing::WithParamInterface<RenameAnswer> {};

TEST_P(PageRenameQuestion, NamesTheLinesAndDoesWhatTheAnswerSays) {
    const auto window = openAt("下", "終");
    const std::string before = window->objects().comic.SaveToBytes();
    prompter.queueInput(sj("最後"));
    prompter.queueAnswer(GetParam().answer);
    window->actions().menuPageRename->trigger();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(prompter.records()[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(toUtf8(prompter.records()[1].text), "参照している 2 行も変更しますか？");
    const std::string jump = GetParam().jumpAfter;
    if (jump.empty()) {
        EXPECT_EQ(window->objects().comic.SaveToBytes(), before);
        EXPECT_FALSE(window->isModified());
        return;
    }
    EXPECT_EQ(line(*window, "上", "始", 0), jump);
    EXPECT_EQ(window->objects().comic.History().undoCount(), 1u) << "one step, rewrites included";
    window->actions().menuUndo->trigger();
    EXPECT_EQ(window->objects().comic.SaveToBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Answers, PageRenameQuestion,
                         testing::Values(RenameAnswer{Answer::Yes, "PageJump \"下\",\"最後\",0,"},
                                         RenameAnswer{Answer::No, "PageJump \"下\",\"終\",0,"},
                                         RenameAnswer{Answer::Cancel, ""}));

TEST_F(References, ARenameToANameInUseIsRefusedBeforeTheQuestion) {
    const auto window = openAt("下", "終");
    prompter.queueInput(sj("始"));
    window->actions().menuPageRename->trigger();
    ASSERT_EQ(prompter.records().size(), 2u);
    EXPECT_EQ(toUtf8(prompter.records()[1].text), "指定されたページ名はすでに使用されてます。");
    EXPECT_FALSE(window->isModified());
}

TEST_F(References, DeletingAReferencedPageNamesTheLinesBeforeTheQuestion) {
    const auto window = openAt("下", "終");
    prompter.queueAnswer(Answer::No);
    window->actions().menuPageDelete->trigger();
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(toUtf8(prompter.records()[0].text),
              "このページを参照している行が 2 行あります\r\n"
              "現在開いているページを削除します\r\nよろしいですか？");
    prompter.clear();
    window->OpenPage(sj("下"), sj("始"), 0);
    prompter.queueAnswer(Answer::No);
    window->actions().menuPageDelete->trigger();
    EXPECT_EQ(toUtf8(prompter.records()[0].text),
              "現在開いているページを削除します\r\nよろしいですか？")
        << "the choice of book 上 leads to nothing here: no line is named";
}

TEST_F(References, PageReferencesFillTheResultsPanelAndADoubleClickOpensTheLine) {
    const auto window = openAt("下", "終");
    window->actions().menuPageReferences->trigger();
    EXPECT_TRUE(window->resultsPanel().isVisible());
    EXPECT_EQ(window->resultsPanel().windowTitle(),
              QStringLiteral("ページ「下 / 終」への参照（2 件）"));
    EXPECT_EQ(results(*window),
              (QStringList{QStringLiteral("上 / 始 / 1: 「下」の「終」に移動します"),
                           QStringLiteral("下 / 始 / 1: 選択肢を表示。移動先は、終 です")}));
    window->resultsPanel().list().setCurrentRow(1);
    window->lstResultListDblClick();
    EXPECT_EQ(toUtf8(window->file().currentPage), "始");
    EXPECT_EQ(toUtf8(window->file().currentBook), "下");
}

TEST_F(References, F3BeforeAnythingWasFoundAsksWhatToFind) {
    const auto window = openAt("上", "始");
    int dialogs = 0;
    modal = [&dialogs](QDialog& dialog) {
        dialogs += dialog.objectName() == QStringLiteral("TfrmFind") ? 1 : 0;
        return 0;
    };
    window->commandList().setFocus();
    QTest::keyClick(&window->commandList(), Qt::Key_F3);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(window->actions().menuFind->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
}

TEST_F(References, FindShowsTheLinesAndFindNextGoesRound) {
    const auto window = openAt("上", "始");
    modal = [](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtFindText").setText(QStringLiteral("回数"));
        static_cast<TfrmFind&>(dialog).btnOKClick();
        return 1;
    };
    window->actions().menuFind->trigger();
    EXPECT_EQ(results(*window),
              (QStringList{QStringLiteral("上 / 始 / 2: メッセージを表示します：%回数%回目"),
                           QStringLiteral("下 / 終 / 1: ［回数］←［回数］＋［1］")}));
    QListWidget& list = window->resultsPanel().list();
    for (int row = 0; row < list.count(); ++row) {
        const auto first = static_cast<int>(list.item(row)->text().indexOf(QStringLiteral("回数")));
        EXPECT_EQ(list.item(row)->data(Qt::UserRole).toPoint(), QPoint(first, first + 2))
            << "the first match is marked in row " << row;
    }
    window->actions().menuFindNext->trigger();
    EXPECT_EQ(toUtf8(window->file().currentPage), "始");
    EXPECT_EQ(window->commandList().currentIndex().row(), 1);
    window->actions().menuFindNext->trigger();
    EXPECT_EQ(toUtf8(window->file().currentBook), "下");
    window->actions().menuFindNext->trigger();
    EXPECT_EQ(toUtf8(window->file().currentBook), "上") << "after the last page, the first";

    modal = [](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtFindText").setText(QStringLiteral("無い"));
        static_cast<TfrmFind&>(dialog).btnOKClick();
        return 1;
    };
    window->actions().menuFind->trigger();
    prompter.clear();
    window->actions().menuFindNext->trigger();
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj("「無い」は見つかりませんでした")});
}

TEST_F(References, VariableTableRenamesWithItsReferencesAndListsThem) {
    const auto window = openAt("上", "始");
    modal = [this](QDialog& dialog) {
        child<QListWidget>(dialog, "lstValueFlag").setCurrentRow(0);
        prompter.queueInput(sj("count"));
        prompter.queueAnswer(Answer::Yes);
        child<QPushButton>(dialog, "btnValueFlagRename").click();
        child<QPushButton>(dialog, "btnValueFlagReferences").click();
        prompter.queueAnswer(Answer::No);
        child<QPushButton>(dialog, "btnValueFlagDelete").click();
        return 1;
    };
    window->actions().menuFlagSetting->trigger();
    EXPECT_EQ(line(*window, "下", "終", 0), "ValueCtrl \"%count%\",1,\"%count%\",\"1\",");
    EXPECT_EQ(window->objects().comic.GetHeaderKeys("ValueFlag"),
              std::vector<std::string>{"count"});
    EXPECT_EQ(results(*window).size(), 2);
    const std::vector<std::string> messages = prompter.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(toUtf8(messages[0]), "参照している 2 行も変更しますか？");
    EXPECT_EQ(toUtf8(messages[1]), "この変数を使っている行が 2 行あります\n"
                                   "パゴラは変数削除の安全性をチェックしません\n"
                                   "数値変数「count」を削除してもよろしいですか？");
}

} // namespace
} // namespace pagora::test
