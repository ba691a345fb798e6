#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <functional>
#include <gtest/gtest.h>

namespace pagora {
namespace {

using Lines = std::vector<std::string>;

// Each case of a table is named by its name field.
struct CaseName {
    template <class Case> std::string operator()(const testing::TestParamInfo<Case>& test) const {
        return test.param.name;
    }
};

// Three books; the third has a page named like the start page, and the
// second only one page.
std::string sampleComic() {
    return test::comicBytes({"<Head=\"Comic\">",
                             "StartBook=第一章",
                             "StartPage=はじまり",
                             "<Head End>",
                             "<Book=\"第一章\">",
                             "<Page=\"はじまり\">",
                             "a0",
                             "a1",
                             "a2",
                             "<Page End>",
                             "<Page=\"次\">",
                             "b0",
                             "<Page End>",
                             "<Book End>",
                             "<Book=\"第二章\">",
                             "<Page=\"居間\">",
                             "c0",
                             "<Page End>",
                             "<Book End>",
                             "<Book=\"第三章\">",
                             "<Page=\"はじまり\">",
                             "d0",
                             "<Page End>",
                             "<Page=\"台所\">",
                             "e0",
                             "<Page End>",
                             "<Book End>"});
}

// Nodes and moves named in UTF-8.
TreeNode cpPage(std::string_view book, std::string_view page) {
    return {TreeLevel::Page, toCp932(book), toCp932(page)};
}
TreeNode cpBook(std::string_view book) {
    return {TreeLevel::Book, toCp932(book), {}};
}
TreeMove cpMove(const TreeNode& source, std::string_view book, std::string_view page, bool before) {
    return {source, toCp932(book), toCp932(page), before};
}

class ComicEditing : public testing::Test {
protected:
    ComicEditing() {
        comic.LoadFromBytes(sampleComic());
        prompter.clear();
    }

    static std::string sj(std::string_view utf8) { return toCp932(utf8); }
    static Lines utf8(const Lines& cp932) {
        Lines names;
        for (const std::string& name : cp932)
            names.push_back(toUtf8(name));
        return names;
    }
    Lines books() { return utf8(comic.GetBookList()); }
    Lines pages(std::string_view book) { return utf8(comic.GetPageList(sj(book))); }
    Lines lines(std::string_view book, std::string_view page) {
        Lines result;
        for (const std::string_view line : comic.PeekCommands(sj(book), sj(page)))
            result.emplace_back(line);
        return result;
    }
    static EditPlace place(std::string_view book, std::string_view page, int line = -1) {
        return {sj(book), sj(page), line};
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    TCmdCtrl syntax{prompter};
};

void expectVerdict(const EditVerdict& actual, const EditVerdict& expected) {
    EXPECT_EQ(actual.focus, expected.focus);
    EXPECT_EQ(actual.refusal, expected.refusal);
}

// --- command lines ---

using LineEdit = std::function<EditVerdict(TComicFileCtrl&, const EditPlace&, CommandClipboard&)>;

struct LineEditCase {
    std::string name;
    int focused;
    LineEdit edit;
    Lines page;    // the page afterwards
    int focus;     // the focused line afterwards
    Lines clipped; // the clipboard afterwards, which starts as c1, c2
};

void PrintTo(const LineEditCase& c, std::ostream* out) {
    *out << c.name;
}

LineEdit deleting(std::vector<int> rows) {
    return [rows](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard&) {
        return deleteLines(comic, at, rows);
    };
}

LineEdit inserting(std::string line) {
    return [line](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard&) {
        return insertLineAfter(comic, at, line);
    };
}

const LineEdit kInsertEmpty = [](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard&) {
    return insertEmptyLine(comic, at);
};
const LineEdit kAppendEmpty = [](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard&) {
    return appendEmptyLine(comic, at);
};
const LineEdit kPaste = [](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard& clip) {
    return pasteLines(comic, at, clip);
};

class LineEdits : public ComicEditing, public testing::WithParamInterface<LineEditCase> {};

TEST_P(LineEdits, ChangeThePageAndFocusTheirLine) {
    const LineEditCase& c = GetParam();
    CommandClipboard clipboard{"c1", "c2"};
    const EditVerdict verdict = c.edit(comic, place("第一章", "はじまり", c.focused), clipboard);
    EXPECT_EQ(lines("第一章", "はじまり"), c.page);
    expectVerdict(verdict, EditVerdict::doneAt(place("第一章", "はじまり", c.focus)));
    EXPECT_EQ(clipboard, c.clipped);
    EXPECT_EQ(lines("第一章", "次"), Lines{"b0"}) << "the next page is untouched";
    EXPECT_TRUE(prompter.records().empty());
}

TEST_P(LineEdits, LeaveAPageTheComicDoesNotHoldAlone) {
    const std::string before = comic.SaveToBytes();
    CommandClipboard clipboard{"c1", "c2"};
    expectVerdict(GetParam().edit(comic, place("第一章", "無い", GetParam().focused), clipboard),
                  EditVerdict::unchanged());
    EXPECT_EQ(comic.SaveToBytes(), before);
}

const Lines kClip{"c1", "c2"};

INSTANTIATE_TEST_SUITE_P(
    Table, LineEdits,
    testing::Values(
        LineEditCase{
            "InsertBeforeTheFocusedLine", 1, kInsertEmpty, {"a0", "// ", "a1", "a2"}, 1, kClip},
        LineEditCase{
            "InsertWithNoFocusGoesToTheTop", -1, kInsertEmpty, {"// ", "a0", "a1", "a2"}, 0, kClip},
        LineEditCase{"AddAtEnd", 0, kAppendEmpty, {"a0", "a1", "a2", "// "}, 3, kClip},
        LineEditCase{"ANewLineGoesAfterTheFocusedLine",
                     0,
                     inserting("n"),
                     {"a0", "n", "a1", "a2"},
                     1,
                     kClip},
        LineEditCase{"ANewLineAfterTheLastGoesAtTheEnd",
                     2,
                     inserting("n"),
                     {"a0", "a1", "a2", "n"},
                     3,
                     kClip},
        LineEditCase{"ANewLineWithNoFocusGoesToTheTop",
                     -1,
                     inserting("n"),
                     {"n", "a0", "a1", "a2"},
                     0,
                     kClip},
        LineEditCase{"SetTheFocusedLine",
                     1,
                     [](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard&) {
                         return setLine(comic, at, "n");
                     },
                     {"a0", "n", "a2"},
                     1,
                     kClip},
        LineEditCase{"DeleteKeepsTheFocusedLine", 0, deleting({1}), {"a0", "a2"}, 0, kClip},
        LineEditCase{
            "DeleteInAnyOrderFallsBackToTheLastLine", 2, deleting({2, 0, 2}), {"a1"}, 0, kClip},
        LineEditCase{
            "DeletingEveryLineLeavesAnEmptyComment", 1, deleting({0, 1, 2}), {"// "}, 0, kClip},
        LineEditCase{"PasteGoesBeforeTheFocusedLineInOrder",
                     1,
                     kPaste,
                     {"a0", "c1", "c2", "a1", "a2"},
                     1,
                     kClip},
        LineEditCase{
            "PasteWithNoFocusGoesToTheTop", -1, kPaste, {"c1", "c2", "a0", "a1", "a2"}, 0, kClip},
        LineEditCase{"CutCopiesInPageOrderThenDeletes",
                     2,
                     [](TComicFileCtrl& comic, const EditPlace& at, CommandClipboard& clip) {
                         return cutLines(comic, at, {2, 0}, clip);
                     },
                     {"a1"},
                     0,
                     Lines{"a0", "a2"}}),
    CaseName());

TEST_F(ComicEditing, CopyTakesTheRowsInPageOrderAndLeavesThePage) {
    EXPECT_EQ(copyLines(comic, place("第一章", "はじまり"), {2, 0}), (Lines{"a0", "a2"}));
    EXPECT_EQ(copyLines(comic, place("第一章", "はじまり"), {}), Lines{});
    EXPECT_EQ(lines("第一章", "はじまり"), (Lines{"a0", "a1", "a2"}));
}

TEST_F(ComicEditing, NothingToDeleteOrPasteOrSetChangesNothing) {
    expectVerdict(deleteLines(comic, place("第一章", "はじまり", 1), {}), EditVerdict::unchanged());
    expectVerdict(pasteLines(comic, place("第一章", "はじまり", 1), {}), EditVerdict::unchanged());
    CommandClipboard clipboard{"old"};
    expectVerdict(cutLines(comic, place("第一章", "はじまり", 1), {}, clipboard),
                  EditVerdict::unchanged());
    EXPECT_EQ(clipboard, Lines{});
    expectVerdict(setLine(comic, place("第一章", "はじまり", 3), "n"), EditVerdict::unchanged());
    expectVerdict(setLine(comic, place("第一章", "はじまり", -1), "n"), EditVerdict::unchanged());
    EXPECT_EQ(lines("第一章", "はじまり"), (Lines{"a0", "a1", "a2"}));
}

TEST_F(ComicEditing, AnEmptyPageOfTheFileIsRefilledByADeleteOfNothing) {
    comic.LoadFromBytes(
        test::comicBytes({"<Book=\"b\">", "<Page=\"p\">", "<Page End>", "<Book End>"}));
    expectVerdict(deleteLines(comic, {"b", "p", -1}, {}), EditVerdict::doneAt({"b", "p", 0}));
    EXPECT_EQ(comic.PeekCommands("b", "p"), std::vector<std::string_view>{"// "});
}

// --- header ---

TEST_F(ComicEditing, HeaderKeysAreWrittenInOrderIntoTheirBlocksAsOneStep) {
    expectVerdict(writeHeaderKeys(comic, {{"Comic", "StartPage", "x"},
                                          {"Menu", "a", "1"},
                                          {"Comic", "Title", "t"},
                                          {"Menu", "a", "2"}}),
                  EditVerdict::doneAt({}));
    EXPECT_EQ(comic.GetHeaderEntries("Comic"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"StartBook", sj("第一章")}, {"StartPage", "x"}, {"Title", "t"}}));
    EXPECT_EQ(comic.GetHeaderEntries("Menu"),
              (std::vector<std::pair<std::string, std::string>>{{"a", "2"}}));
    EXPECT_EQ(comic.History().undoCount(), 1u);
    comic.History().undo();
    EXPECT_TRUE(comic.GetHeaderKeys("Menu").empty()) << "the block made for it goes too";
    EXPECT_EQ(comic.ReadHeader("Comic", "StartPage", "-"), sj("はじまり"));
    expectVerdict(writeHeaderKeys(comic, {}), EditVerdict::unchanged());
}

// --- variables ---

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST_F(ComicEditing, AVariableIsChangedInPlaceOrAppendedAndTheFirstMakesItsBlockLast) {
    expectVerdict(declareVariable(comic, VariableKind::Numeric, "a", "1"), EditVerdict::doneAt({}));
    expectVerdict(declareVariable(comic, VariableKind::Numeric, "b", "2"), EditVerdict::doneAt({}));
    expectVerdict(declareVariable(comic, VariableKind::Numeric, "a", "3"), EditVerdict::doneAt({}));
    EXPECT_EQ(comic.GetHeaderEntries("ValueFlag"), (Entries{{"a", "3"}, {"b", "2"}}));
    const std::vector<std::string> body = comic.Lines();
    EXPECT_EQ(std::vector<std::string>(body.end() - 5, body.end()),
              (Lines{"<Head=\"ValueFlag\">", "// ", "a=3", "b=2", "<Head End>"}))
        << "the block made at the end of the file";
    EXPECT_EQ(comic.History().undoCount(), 3u);
    comic.History().undo();
    EXPECT_EQ(comic.GetHeaderEntries("ValueFlag"), (Entries{{"a", "1"}, {"b", "2"}}));

    expectVerdict(declareVariable(comic, VariableKind::String, "a", ""), EditVerdict::doneAt({}));
    EXPECT_EQ(comic.GetHeaderEntries("StringFlag"), (Entries{{"a", ""}}))
        << "a string variable of the same name is another variable";
    expectVerdict(declareVariable(comic, VariableKind::String, "a", ""), EditVerdict::unchanged());
    EXPECT_EQ(comic.History().undoCount(), 3u) << "the same value again is no step";
}

TEST_F(ComicEditing, DeletingAVariableLeavesTheLinesThatUseIt) {
    const std::string line = "ValueCtrl \"%a%\",1,\"%a%\",\"1\",";
    comic.SetCommand(sj("第一章"), sj("次"), line, 0);
    declareVariable(comic, VariableKind::Numeric, "a", "1");
    declareVariable(comic, VariableKind::Numeric, "b", "2");
    const std::size_t steps = comic.History().undoCount();
    expectVerdict(deleteVariable(comic, VariableKind::String, "a"), EditVerdict::unchanged());
    expectVerdict(deleteVariable(comic, VariableKind::Numeric, "a"), EditVerdict::doneAt({}));
    EXPECT_EQ(comic.GetHeaderEntries("ValueFlag"), (Entries{{"b", "2"}}));
    EXPECT_EQ(comic.GetCommand(sj("第一章"), sj("次"), 0), line);
    EXPECT_EQ(comic.History().undoCount(), steps + 1);
    EXPECT_EQ(comic.History().undoLabel(), sj("変数の削除"));
    comic.History().undo();
    EXPECT_EQ(comic.GetHeaderEntries("ValueFlag"), (Entries{{"a", "1"}, {"b", "2"}}));
}

struct RefusedDeclaration {
    std::string name;
    std::string variable; // CP932 bytes as typed
    std::string value;
    std::string message; // UTF-8
};

void PrintTo(const RefusedDeclaration& c, std::ostream* out) {
    *out << c.name;
}

class RefusedDeclarations : public testing::TestWithParam<RefusedDeclaration> {};

TEST_P(RefusedDeclarations, ChangeNothingAndSayWhy) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(sampleComic());
    const std::string before = comic.SaveToBytes();
    const EditVerdict verdict =
        declareVariable(comic, VariableKind::String, GetParam().variable, GetParam().value);
    EXPECT_FALSE(verdict.done());
    ASSERT_TRUE(verdict.refusal.has_value());
    EXPECT_EQ(verdict.refusal->kind, MessageKind::Warning);
    EXPECT_EQ(toUtf8(verdict.refusal->text), GetParam().message);
    EXPECT_EQ(comic.SaveToBytes(), before);
    EXPECT_EQ(comic.History().undoCount(), 0u);
}

const std::string kUnwritableName = "この変数名はコミックファイルに書き込めません\n"
                                    "「<」や「//」で始まる名前、「=」や改行を含む名前は使えません";

INSTANTIATE_TEST_SUITE_P(
    HeaderLines, RefusedDeclarations,
    testing::Values(
        RefusedDeclaration{"EmptyName", "", "x", "変数名を入力して下さい"},
        RefusedDeclaration{"BuiltInPrefix", "@天気", "x",
                           "「@」で始まる名前は組み込み変数のものです\n別の変数名を指定して下さい"},
        RefusedDeclaration{"MarkerPrefix", "<Head End>", "x", kUnwritableName},
        RefusedDeclaration{"CommentPrefix", "//a", "x", kUnwritableName},
        RefusedDeclaration{"EqualsSign", "a=b", "x", kUnwritableName},
        RefusedDeclaration{"LineBreakInName", "a\nb", "x", kUnwritableName},
        RefusedDeclaration{"LineBreakInValue", "a", "x\r\ny", "変数の初期値に改行は使えません"}),
    CaseName());

// --- books and pages ---

TEST_F(ComicEditing, TheProposedNameSkipsEveryNumberInUseWhateverTheOrder) {
    comic.LoadFromBytes(test::comicBytes({"<Book=\"ブック2\">", "<Page=\"ページ1\">", "x",
                                          "<Page End>", "<Book End>", "<Book=\"ブック1\">",
                                          "<Page=\"ページ3\">", "x", "<Page End>", "<Book End>"}));
    EXPECT_EQ(toUtf8(proposeName(comic, cpBook("ブック2"))), "ブック3");
    EXPECT_EQ(toUtf8(proposeName(comic, cpPage("ブック2", "ページ1"))), "ページ2");
    EXPECT_EQ(toUtf8(proposeName(comic, cpPage("ブック1", "ページ3"))), "ページ1")
        << "only the pages of the node's book count";
}

struct NodeEditCase {
    std::string name;
    std::function<EditVerdict(TComicFileCtrl&, TCmdCtrl&)> edit;
    std::function<EditVerdict()> expected;
    Lines books;          // afterwards
    Lines pagesOfFirst;   // afterwards, of the first book
    bool nameCheckFailed; // whether the name check reported the name
};

void PrintTo(const NodeEditCase& c, std::ostream* out) {
    *out << c.name;
}

class NodeEdits : public ComicEditing, public testing::WithParamInterface<NodeEditCase> {};

TEST_P(NodeEdits, FollowTheirRules) {
    const NodeEditCase& c = GetParam();
    expectVerdict(c.edit(comic, syntax), c.expected());
    EXPECT_EQ(books(), c.books);
    EXPECT_EQ(pages(books().front()), c.pagesOfFirst);
    ASSERT_EQ(prompter.records().size(), c.nameCheckFailed ? 1u : 0u);
    if (c.nameCheckFailed) {
        EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    }
}

const Lines kBooks{"第一章", "第二章", "第三章"};
const Lines kFirstPages{"はじまり", "次"};
const std::string kStartBookRenamed = "指定されたブックは、\r\nスタートブックに設定されています。\r"
                                      "\n名前を変更することはできません。";
const std::string kStartPageRenamed = "指定されたページは、\r\nスタートページに設定されています。\r"
                                      "\n名前を変更することはできません。";
const std::string kBookInUse = "指定されたブック名はすでに使用されてます。";
const std::string kPageInUse = "指定されたページ名はすでに使用されてます。";

std::function<EditVerdict()> doneAt(std::string_view book, std::string_view page = {}) {
    return [=] {
        return EditVerdict::doneAt({toCp932(book), toCp932(page), -1});
    };
}

std::function<EditVerdict()> refusedWith(MessageKind kind, std::string_view text) {
    return [=] {
        return EditVerdict::refused(kind, toCp932(text));
    };
}

std::function<EditVerdict()> nothing() {
    return [] {
        return EditVerdict::unchanged();
    };
}

INSTANTIATE_TEST_SUITE_P(
    Add, NodeEdits,
    testing::Values(
        NodeEditCase{"ABookGoesLastWithItsFirstPage",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return addNode(comic, syntax, cpBook("終章"));
                     },
                     doneAt("終章"), Lines{"第一章", "第二章", "第三章", "終章"}, kFirstPages,
                     false},
        NodeEditCase{"APageGoesLastInItsBook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return addNode(comic, syntax, cpPage("第一章", "居間"));
                     },
                     doneAt("第一章", "居間"), kBooks, Lines{"はじまり", "次", "居間"}, false},
        NodeEditCase{"ABookNameInUse",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return addNode(comic, syntax, cpBook("第二章"));
                     },
                     refusedWith(MessageKind::Warning, kBookInUse), kBooks, kFirstPages, false},
        NodeEditCase{"APageNameInUseInItsBook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return addNode(comic, syntax, cpPage("第一章", "次"));
                     },
                     refusedWith(MessageKind::Warning, kPageInUse), kBooks, kFirstPages, false},
        NodeEditCase{"AnInvalidNameIsReportedByTheNameCheck",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return addNode(comic, syntax, cpBook("第\"章"));
                     },
                     nothing(), kBooks, kFirstPages, true}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Rename, NodeEdits,
    testing::Values(
        NodeEditCase{"TheStartBook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpBook("第一章"), toCp932("序章"));
                     },
                     refusedWith(MessageKind::Information, kStartBookRenamed), kBooks, kFirstPages,
                     false},
        NodeEditCase{
            "TheStartPage",
            [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                return renameNode(comic, syntax, cpPage("第一章", "はじまり"), toCp932("序"));
            },
            refusedWith(MessageKind::Information, kStartPageRenamed), kBooks, kFirstPages, false},
        NodeEditCase{"AnotherPageOfTheStartBook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpPage("第一章", "次"),
                                           toCp932("その後"));
                     },
                     doneAt("第一章", "その後"), kBooks, Lines{"はじまり", "その後"}, false},
        NodeEditCase{"AStartPageNameInAnotherBook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpPage("第三章", "はじまり"),
                                           toCp932("序"));
                     },
                     doneAt("第三章", "序"), kBooks, kFirstPages, false},
        NodeEditCase{"ABook",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpBook("第二章"), toCp932("終章"));
                     },
                     doneAt("終章"), Lines{"第一章", "終章", "第三章"}, kFirstPages, false},
        NodeEditCase{"ToItsOwnName",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpBook("第二章"), toCp932("第二章"));
                     },
                     nothing(), kBooks, kFirstPages, false},
        NodeEditCase{"ToABookNameInUse",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpBook("第二章"), toCp932("第一章"));
                     },
                     refusedWith(MessageKind::Warning, kBookInUse), kBooks, kFirstPages, false},
        NodeEditCase{"ToAPageNameInUse",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpPage("第一章", "次"),
                                           toCp932("はじまり"));
                     },
                     refusedWith(MessageKind::Warning, kPageInUse), kBooks, kFirstPages, false},
        NodeEditCase{"ToAnInvalidName",
                     [](TComicFileCtrl& comic, TCmdCtrl& syntax) {
                         return renameNode(comic, syntax, cpBook("第二章"), toCp932("終:章"));
                     },
                     nothing(), kBooks, kFirstPages, true}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Delete, NodeEdits,
    testing::Values(
        NodeEditCase{
            "TheStartBook",
            [](TComicFileCtrl& comic, TCmdCtrl&) { return deleteNode(comic, cpBook("第一章")); },
            refusedWith(MessageKind::Information,
                        "指定されたブックは、\r\nスタートブックに設定されています。\r\n"
                        "削除することはできません。"),
            kBooks, kFirstPages, false},
        NodeEditCase{"TheStartPage",
                     [](TComicFileCtrl& comic, TCmdCtrl&) {
                         return deleteNode(comic, cpPage("第一章", "はじまり"));
                     },
                     refusedWith(MessageKind::Information,
                                 "指定されたページは、\r\nスタートページに設定されています。\r\n"
                                 "削除することはできません。"),
                     kBooks, kFirstPages, false},
        NodeEditCase{"TheLastPageOfABook",
                     [](TComicFileCtrl& comic, TCmdCtrl&) {
                         return deleteNode(comic, cpPage("第二章", "居間"));
                     },
                     refusedWith(MessageKind::Information,
                                 "ブックには、最低１つのページが必要です。\r\n"
                                 "ページを削除することはできません。"),
                     kBooks, kFirstPages, false},
        NodeEditCase{"APageShowsTheFirstPageOfItsBook",
                     [](TComicFileCtrl& comic, TCmdCtrl&) {
                         return deleteNode(comic, cpPage("第一章", "次"));
                     },
                     doneAt("第一章", "はじまり"), kBooks, Lines{"はじまり"}, false},
        NodeEditCase{"AStartPageNameInAnotherBook",
                     [](TComicFileCtrl& comic, TCmdCtrl&) {
                         return deleteNode(comic, cpPage("第三章", "はじまり"));
                     },
                     doneAt("第三章", "台所"), kBooks, kFirstPages, false},
        NodeEditCase{
            "ABookShowsTheFirstBook",
            [](TComicFileCtrl& comic, TCmdCtrl&) { return deleteNode(comic, cpBook("第二章")); },
            doneAt("第一章"), Lines{"第一章", "第三章"}, kFirstPages, false}),
    CaseName());

TEST_F(ComicEditing, TheLastBookIsNeverDeletedEvenWhenItIsNotTheStartBook) {
    comic.LoadFromBytes(
        test::comicBytes({"<Book=\"b\">", "<Page=\"p\">", "x", "<Page End>", "<Book End>"}));
    const std::optional<EditMessage> refusal = checkDelete(comic, cpBook("b"));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->kind, MessageKind::Information);
    EXPECT_EQ(toUtf8(refusal->text),
              "コミックには、最低１つのブックが必要です。\r\nブックを削除することはできません。");
    expectVerdict(deleteNode(comic, cpBook("b")), {std::nullopt, refusal});
    EXPECT_EQ(books(), Lines{"b"});
}

TEST_F(ComicEditing, TheOpenNodeIsTheOpenBookOrPage) {
    const EditPlace open = place("第一章", "次", 2);
    EXPECT_EQ(TreeNode::openAt(TreeLevel::Book, open), cpBook("第一章"));
    EXPECT_EQ(TreeNode::openAt(TreeLevel::Page, open), cpPage("第一章", "次"));
    EXPECT_EQ(cpBook("第一章").named(sj("終章")), cpBook("終章"));
    EXPECT_EQ(cpPage("第一章", "次").named(sj("居間")), cpPage("第一章", "居間"));
}

// --- moving by drag and drop ---

const TreeNode kRoot{};

struct DropCase {
    std::string name;
    TreeNode source;
    TreeNode target;
    std::optional<TreeMove> move;
};

void PrintTo(const DropCase& c, std::ostream* out) {
    *out << c.name;
}

class Drops : public ComicEditing, public testing::WithParamInterface<DropCase> {};

TEST_P(Drops, DecodeIntoTheMoveTheyAskFor) {
    EXPECT_EQ(decodeDrop(comic, GetParam().source, GetParam().target), GetParam().move);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Drops,
    testing::Values(
        DropCase{"APageOntoAPageGoesAfterIt", cpPage("第一章", "次"), cpPage("第三章", "台所"),
                 cpMove(cpPage("第一章", "次"), "第三章", "台所", false)},
        DropCase{"APageOntoABookGoesToItsTop", cpPage("第一章", "次"), cpBook("第三章"),
                 cpMove(cpPage("第一章", "次"), "第三章", "はじまり", true)},
        DropCase{"APageOntoTheRootDoesNotMove", cpPage("第一章", "次"), kRoot, std::nullopt},
        DropCase{"ABookOntoTheRootGoesToTheFront", cpBook("第三章"), kRoot,
                 cpMove(cpBook("第三章"), "第一章", "", true)},
        DropCase{"ABookOntoABookGoesAfterIt", cpBook("第一章"), cpBook("第二章"),
                 cpMove(cpBook("第一章"), "第二章", "居間", false)},
        DropCase{"ABookOntoAPageGoesAfterItsBook", cpBook("第一章"), cpPage("第三章", "台所"),
                 cpMove(cpBook("第一章"), "第三章", "台所", false)},
        DropCase{"TheRootDoesNotMove", kRoot, cpBook("第二章"), std::nullopt}),
    CaseName());

struct MoveCase {
    std::string name;
    TreeMove move;
    std::function<EditVerdict()> expected;
    Lines books;         // afterwards
    Lines pagesOfFirst;  // afterwards
    Lines pagesOfSecond; // afterwards
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class Moves : public ComicEditing, public testing::WithParamInterface<MoveCase> {};

TEST_P(Moves, FollowTheirRules) {
    const MoveCase& c = GetParam();
    const EditVerdict expected = c.expected();
    EXPECT_EQ(checkMove(comic, c.move), expected.refusal);
    expectVerdict(moveNode(comic, c.move), expected);
    EXPECT_EQ(books(), c.books);
    EXPECT_EQ(pages(books()[0]), c.pagesOfFirst);
    EXPECT_EQ(pages(books()[1]), c.pagesOfSecond);
}

const std::string kOnePageMoved =
    "ブックには、最低１つのページが必要です。\r\nページを移動することはできません。";

INSTANTIATE_TEST_SUITE_P(
    Table, Moves,
    testing::Values(
        MoveCase{"APageAfterAnotherOfItsBook",
                 cpMove(cpPage("第一章", "はじまり"), "第一章", "次", false),
                 doneAt("第一章", "はじまり"), kBooks, Lines{"次", "はじまり"}, Lines{"居間"}},
        MoveCase{"APageToTheTopOfAnotherBook",
                 cpMove(cpPage("第一章", "次"), "第二章", "居間", true), doneAt("第二章", "次"),
                 kBooks, Lines{"はじまり"}, Lines{"次", "居間"}},
        MoveCase{"TheOnlyPageOfABookEvenToAnotherBook",
                 cpMove(cpPage("第二章", "居間"), "第一章", "次", false),
                 refusedWith(MessageKind::Information, kOnePageMoved), kBooks, kFirstPages,
                 Lines{"居間"}},
        MoveCase{"APageOntoItself",
                 cpMove(cpPage("第一章", "はじまり"), "第一章", "はじまり", true),
                 refusedWith(MessageKind::Error,
                             "移動先と移動元のページが同じです\n移動することはできません"),
                 kBooks, kFirstPages, Lines{"居間"}},
        MoveCase{"APageToABookWithAPageOfItsName",
                 cpMove(cpPage("第三章", "はじまり"), "第一章", "次", false),
                 refusedWith(MessageKind::Warning,
                             "移動先のブックに同名のページが存在します\n移動することはできません"),
                 kBooks, kFirstPages, Lines{"居間"}},
        MoveCase{"ABookToTheFront", cpMove(cpBook("第三章"), "第一章", "", true), doneAt("第三章"),
                 Lines{"第三章", "第一章", "第二章"}, Lines{"はじまり", "台所"}, kFirstPages},
        MoveCase{"ABookAfterAnother", cpMove(cpBook("第一章"), "第二章", "居間", false),
                 doneAt("第一章"), Lines{"第二章", "第一章", "第三章"}, Lines{"居間"}, kFirstPages},
        MoveCase{"ABookOntoItself", cpMove(cpBook("第一章"), "第一章", "次", false), nothing(),
                 kBooks, kFirstPages, Lines{"居間"}}),
    CaseName());

TEST_F(ComicEditing, OnlyAPageGoingToAnotherBookIsAskedAbout) {
    EXPECT_TRUE(cpMove(cpPage("第一章", "次"), "第二章", "居間", true).toAnotherBook());
    EXPECT_FALSE(cpMove(cpPage("第一章", "次"), "第一章", "はじまり", true).toAnotherBook());
    EXPECT_FALSE(cpMove(cpBook("第一章"), "第二章", "居間", false).toAnotherBook());
}

} // namespace
} // namespace pagora
