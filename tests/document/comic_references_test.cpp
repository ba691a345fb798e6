// References across a comic, and renames that rewrite them as one undo step.
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "document/comic_references.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

// Two books with a page 表 each; lines of book 一 jump to both, choose its
// own 表, call, click, and use the variables 回数 and 名前.
class ComicReferences : public testing::Test {
protected:
    ComicReferences() {
        comic.LoadFromBytes(test::comicBytes({
            "<Head=\"Comic\">",
            "StartBook=一",
            "StartPage=表",
            "Opening=pict\\Title.BMP",
            "MouseCursorNormal=Default",
            "<Head End>",
            "<Book=\"一\">",
            "<Page=\"表\">",
            "PageJump \"二\",\"表\",0,",
            "SelectDlg \"%回数%回目\",\"$表$\",\"裏へ\",\"$裏$\",",
            "<Page End>",
            "<Page=\"裏\">",
            "PageJump \"一\",\"表\",0,",
            "System \"Call\",\"一\",\"表\",",
            "ClickAble \"一\",\"裏\",\"pict\\title.bmp\",1,0,1,0,",
            "ValueCtrl \"%回数%\",1,\"%回数%\",\"1\",",
            "MsgDlg \"&名前&\",0,\"KeyWait\",\"Normal\",0,0,1,\"/TIME:x\",\"/IF:%回数%>=1\"",
            "<Page End>",
            "<Book End>",
            "<Book=\"二\">",
            "<Page=\"表\">",
            "SelectDlg \"戻る\",\"$表$\",",
            "Graphic \"PICT/TITLE.bmp\",0,0,0,1,\"None\",0,0,0,",
            "<Page End>",
            "<Book End>",
            "<Head=\"ValueFlag\">",
            "回数=3",
            "他=0",
            "<Head End>",
        }));
        comic.History().clear();
    }

    // The places found, as "book/page:line" in UTF-8 ("header:key" for a header entry).
    std::vector<std::string> places(const NameTarget& target) const {
        std::vector<std::string> found;
        for (const FoundLine& line : findReferences(comic, target))
            found.push_back(line.inHeader()
                                ? "header:" + toUtf8(line.text.substr(0, line.text.find('=')))
                                : toUtf8(line.book) + "/" + toUtf8(line.page) + ":" +
                                      std::to_string(line.line));
        return found;
    }
    std::vector<std::string> pageLines(std::string_view book, std::string_view page) const {
        std::vector<std::string> lines;
        for (const std::string_view line : comic.PeekCommands(toCp932(book), toCp932(page)))
            lines.push_back(toUtf8(line));
        return lines;
    }
    static NameTarget page(std::string_view book, std::string_view page) {
        return {NameKind::Page, toCp932(page), toCp932(book)};
    }
    static NameTarget named(NameKind kind, std::string_view name) { return {kind, toCp932(name)}; }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    TCmdCtrl syntax{prompter};
};

TEST_F(ComicReferences, OfAPageAreTheLinesAndHeaderKeysLeadingToItInItsOwnBook) {
    EXPECT_EQ(places(page("一", "表")),
              (std::vector<std::string>{"header:StartPage", "一/表:1", "一/裏:0", "一/裏:1"}));
    EXPECT_EQ(places(page("二", "表")), (std::vector<std::string>{"一/表:0", "二/表:0"}))
        << "a choice leads to a page of its own book";
    EXPECT_EQ(places(page("一", "裏")), (std::vector<std::string>{"一/表:1", "一/裏:2"}));
    EXPECT_EQ(places(named(NameKind::Book, "二")), (std::vector<std::string>{"一/表:0"}));
}

TEST_F(ComicReferences, OfVariablesAndFilesAreWhatTheRecordsRead) {
    EXPECT_EQ(places(named(NameKind::NumericVariable, "回数")),
              (std::vector<std::string>{"一/表:1", "一/裏:3"}))
        << "the strict /TIME: ends the reading before the condition";
    EXPECT_EQ(places(named(NameKind::StringVariable, "名前")),
              (std::vector<std::string>{"一/裏:4"}));
    EXPECT_EQ(places(named(NameKind::File, "pict\\title.bmp")),
              (std::vector<std::string>{"header:Opening", "一/裏:2", "二/表:1"}));
    EXPECT_EQ(countReferencingLines(comic, named(NameKind::File, "pict/title.bmp")), 2);
    const std::vector<FoundLine> found = findReferences(comic, page("二", "表"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(toUtf8(found[0].text),
              toUtf8(syntax.MakeCmdRef(comic.GetCommand(toCp932("一"), toCp932("表"), 0)).Text));
}

TEST_F(ComicReferences, PageRenameRewritesItsReferencesAsOneStepThatUndoesByteForByte) {
    const std::string before = comic.SaveToBytes();
    const RenameVerdict renamed =
        renameNodeAndReferences(comic, syntax, {TreeLevel::Page, toCp932("二"), toCp932("表")},
                                toCp932("おもて"), ReferenceUpdate::Rewrite);
    ASSERT_TRUE(renamed.verdict.done());
    EXPECT_EQ(renamed.references.rewritten, 2);
    EXPECT_TRUE(renamed.references.leftAlone.empty());
    EXPECT_EQ(pageLines("一", "表")[0], "PageJump \"二\",\"おもて\",0,");
    EXPECT_EQ(pageLines("一", "表")[1], "SelectDlg \"%回数%回目\",\"$表$\",\"裏へ\",\"$裏$\",")
        << "book 一 keeps its own 表";
    EXPECT_EQ(pageLines("二", "おもて")[0], "SelectDlg \"戻る\",\"$おもて$\",");
    EXPECT_EQ(comic.History().undoCount(), 1u);
    comic.History().undo();
    EXPECT_EQ(comic.SaveToBytes(), before);
}

TEST_F(ComicReferences, BookRenameWithoutRewriteKeepsTheLines) {
    const std::vector<std::string> lines = pageLines("一", "表");
    const RenameVerdict renamed = renameNodeAndReferences(
        comic, syntax, {TreeLevel::Book, toCp932("二"), {}}, toCp932("弐"), ReferenceUpdate::Keep);
    ASSERT_TRUE(renamed.verdict.done());
    EXPECT_EQ(renamed.references.rewritten, 0);
    EXPECT_EQ(pageLines("一", "表"), lines);
    EXPECT_EQ(places(named(NameKind::Book, "二")), (std::vector<std::string>{"一/表:0"}));
}

TEST_F(ComicReferences, RenamesToANameInUseAreRefusedAndChangeNothing) {
    const std::string before = comic.SaveToBytes();
    const RenameVerdict page =
        renameNodeAndReferences(comic, syntax, {TreeLevel::Page, toCp932("一"), toCp932("裏")},
                                toCp932("表"), ReferenceUpdate::Rewrite);
    EXPECT_TRUE(page.verdict.refusal.has_value());
    const RenameVerdict variable =
        renameVariable(comic, syntax, VariableKind::Numeric, toCp932("回数"), toCp932("他"),
                       ReferenceUpdate::Rewrite);
    ASSERT_TRUE(variable.verdict.refusal.has_value());
    EXPECT_EQ(toUtf8(variable.verdict.refusal->text),
              "変数名「他」はすでに使用されています\n別の変数名を指定して下さい");
    EXPECT_EQ(comic.SaveToBytes(), before);
    EXPECT_EQ(comic.History().undoCount(), 0u);
}

struct BadVariableName {
    std::string name;
    bool reportedByTheNameCheck;
};

class VariableRenameRefusals : public ComicReferences,
                               public testing::WithParamInterface<BadVariableName> {};

TEST_P(VariableRenameRefusals, LeaveTheComicAsItWas) {
    const std::string before = comic.SaveToBytes();
    const RenameVerdict renamed =
        renameVariable(comic, syntax, VariableKind::Numeric, toCp932("回数"),
                       toCp932(GetParam().name), ReferenceUpdate::Rewrite);
    EXPECT_FALSE(renamed.verdict.done());
    EXPECT_EQ(renamed.verdict.refusal.has_value(), !GetParam().reportedByTheNameCheck);
    EXPECT_EQ(prompter.records().size(), GetParam().reportedByTheNameCheck ? 1u : 0u);
    EXPECT_EQ(comic.SaveToBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Names, VariableRenameRefusals,
                         testing::Values(BadVariableName{"a%b", false},
                                         BadVariableName{"a&b", false},
                                         BadVariableName{"@乱数", false},
                                         BadVariableName{"", false}, BadVariableName{"a=b", false},
                                         BadVariableName{"a:b", true}));

TEST_F(ComicReferences, VariableRenameKeepsItsPlaceAndValueAndLeavesLinesThatDoNotRead) {
    const std::string before = comic.SaveToBytes();
    const RenameVerdict renamed =
        renameVariable(comic, syntax, VariableKind::Numeric, toCp932("回数"), toCp932("count"),
                       ReferenceUpdate::Rewrite);
    ASSERT_TRUE(renamed.verdict.done());
    EXPECT_EQ(renamed.references.rewritten, 2);
    ASSERT_EQ(renamed.references.leftAlone.size(), 1u);
    EXPECT_EQ(renamed.references.leftAlone[0], (EditPlace{toCp932("一"), toCp932("裏"), 4}));
    EXPECT_EQ(
        comic.GetHeaderEntries("ValueFlag"),
        (std::vector<std::pair<std::string, std::string>>{{"count", "3"}, {toCp932("他"), "0"}}));
    EXPECT_EQ(pageLines("一", "裏")[3], "ValueCtrl \"%count%\",1,\"%count%\",\"1\",");
    EXPECT_EQ(pageLines("一", "表")[1], "SelectDlg \"%count%回目\",\"$表$\",\"裏へ\",\"$裏$\",");
    comic.History().undo();
    EXPECT_EQ(comic.SaveToBytes(), before);
}

} // namespace
} // namespace pagora
