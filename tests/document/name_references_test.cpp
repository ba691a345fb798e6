#include "document/comic_file.h"
#include "document/name_references.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>
#include <utility>

namespace pagora {
namespace {

// A name found in a line, in UTF-8; a page with its book.
struct Ref {
    NameKind kind;
    std::string name;
    std::string book = {};
    bool operator==(const Ref&) const = default;
};
using Found = std::vector<Ref>;

void PrintTo(const Ref& ref, std::ostream* out) {
    *out << static_cast<int>(ref.kind) << ":" << ref.book << "/" << ref.name;
}

constexpr NameKind N = NameKind::NumericVariable;
constexpr NameKind S = NameKind::StringVariable;
constexpr NameKind B = NameKind::Book;
constexpr NameKind P = NameKind::Page;
constexpr NameKind F = NameKind::File;

// The book of the page that holds the lines of these tests.
const std::string kOwnBook = "自分の本";

Found namesOf(NameReferenceReader& reader, std::string_view cp932Line) {
    Found found;
    const std::string ownBook = toCp932(kOwnBook);
    reader.forEach(
        cp932Line,
        [&](const NameReference& reference) {
            found.push_back({reference.kind, toUtf8(reference.name), toUtf8(reference.book)});
        },
        NameKinds::all(), ownBook);
    return found;
}

struct ReferenceCase {
    std::string name;
    std::string line; // UTF-8
    Found found;
};

void PrintTo(const ReferenceCase& c, std::ostream* out) {
    *out << c.name;
}

class NameReferences : public testing::TestWithParam<ReferenceCase> {};

TEST_P(NameReferences, AreFoundWhereEachKindOfLineHoldsThem) {
    NameReferenceReader reader;
    EXPECT_EQ(namesOf(reader, toCp932(GetParam().line)), GetParam().found);
}

const std::string kMsgTail = ",0,\"KeyWait\",\"Normal\",0,0,1,";

INSTANTIATE_TEST_SUITE_P(
    EveryKind, NameReferences,
    testing::Values(
        ReferenceCase{"MessageEmbedsBothKinds",
                      "MsgDlg \"&名前&さんは%回数%回目\"" + kMsgTail,
                      {{S, "名前"}, {N, "回数"}}},
        ReferenceCase{"PercentBetweenAmpersandsBelongsToTheStringName",
                      "MsgDlg \"&a%b& と %n%\"" + kMsgTail,
                      {{S, "a%b"}, {N, "n"}}},
        ReferenceCase{"UnpairedAmpersandLeavesThePercentsUnread",
                      "MsgDlg \"&a& &b %n%\"" + kMsgTail,
                      {{S, "a"}}},
        ReferenceCase{"UnpairedPercentAndEmptyNamesReferToNothing",
                      "MsgDlg \"%a%%%&& 50%\"" + kMsgTail,
                      {{N, "a"}}},
        ReferenceCase{"ChoicesUpToTheFirstTargetThatIsNotAPage",
                      "SelectDlg \"%a%へ\",\"$p1$\",\"&b&\",\"$p2$\",\"%c%\",\"p3\",",
                      {{N, "a"}, {P, "p1", kOwnBook}, {S, "b"}, {P, "p2", kOwnBook}}},
        ReferenceCase{"FlagBetweenPercents", "FlagCtrl \"%鍵%\",0,", {{N, "鍵"}}},
        ReferenceCase{"BareFlag", "FlagCtrl \"鍵\",2,", {{N, "鍵"}}},
        ReferenceCase{"ValueTargetAndVariableOperands",
                      "ValueCtrl \"%x%\",1,\"%y%\",\"5\",",
                      {{N, "x"}, {N, "y"}}},
        ReferenceCase{"ValueLineReadAsFarAsItCan", "ValueCtrl \"%x%\",\"+\",\"%y%\",", {{N, "x"}}},
        ReferenceCase{"AssignedTargetAndText",
                      "StringCtrl \"$s$\",\"&t&と%n%\",",
                      {{S, "s"}, {S, "t"}, {N, "n"}}},
        ReferenceCase{
            "InputTargetOnlyNotItsTexts", "StrInput \"%a%\",\"&b&を入力\",\"$s$\",", {{S, "s"}}},
        ReferenceCase{"BareInputTarget", "StrInput \"題\",\"\",\"s\",", {{S, "s"}}},
        ReferenceCase{"SavedNumericVariable", "System \"ValDataSave\",\"n\",", {{N, "n"}}},
        ReferenceCase{"LoadedStringVariable", "System \"StrDataLoad\",\"s\",", {{S, "s"}}},
        ReferenceCase{
            "SaveIndexNameEmbeds", "System \"SaveNameSet\",\"&名前&の記録\",", {{S, "名前"}}},
        ReferenceCase{"CallNamesABookAndItsPageNoVariable",
                      "System \"Call\",\"%a%\",\"&b&\",",
                      {{B, "%a%"}, {P, "&b&", "%a%"}}},
        ReferenceCase{"SaveBlockNameNoVariable", "System \"AllDataSave\",\"%a%\",", {}},
        ReferenceCase{"JumpTarget", "PageJump \"本\",\"頁\",0,", {{B, "本"}, {P, "頁", "本"}}},
        ReferenceCase{"ClickableTargetAndPicture",
                      "ClickAble \"本\",\"頁\",\"pict\\ボタン.bmp\",2,0,1,0,",
                      {{B, "本"}, {P, "頁", "本"}, {F, "pict\\ボタン.bmp"}}},
        ReferenceCase{"ChoiceTargetsArePagesOfTheOwnBook",
                      "SelectDlg \"はい\",\"$表$\",\"いいえ\",\"$裏$\",",
                      {{P, "表", kOwnBook}, {P, "裏", kOwnBook}}},
        ReferenceCase{"MediaFiles", "Music \"bgm.mid\",0,", {{F, "bgm.mid"}}},
        ReferenceCase{"SoundFile", "Sound \"se.wav\",1,", {{F, "se.wav"}}},
        ReferenceCase{"ConditionsAfterTheFields",
                      "MsgDlg \"%m%\"" + kMsgTail + "\"/IFS:%s%<-%t%\",\"/IF:%a%>=%b%\"",
                      {{N, "m"}, {N, "a"}, {N, "b"}, {S, "s"}, {S, "t"}}},
        ReferenceCase{"MusicStopHoldsNone", "MusicStop", {}},
        ReferenceCase{"ConditionsOfALineWithoutNamesOfItsOwn",
                      "Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,\"/IF:%a%==3\",\"/IFS:%s%==晴れ\"",
                      {{F, "a.bmp"}, {N, "a"}, {S, "s"}}},
        ReferenceCase{"BrokenConditionGivesNothing", "WaitTime 5,\"/IF:a==1\",\"/IFS:%s%=>x\"", {}},
        ReferenceCase{"StrictOptionFailureKeepsTheFields",
                      "MsgDlg \"%a%\"" + kMsgTail + "\"/TIME:x\"",
                      {{N, "a"}}},
        ReferenceCase{"CommentAndUnknownKeywordHoldNone", "// %a% &b&", {}},
        ReferenceCase{"UnknownKeyword", "Flash \"%a%\",", {}}),
    [](const testing::TestParamInfo<ReferenceCase>& test) { return test.param.name; });

// A rename in one line: the line it becomes (UTF-8), empty when the line
// does not refer to the old name, "!" when it refers to it but cannot be
// rewritten without losing what it holds.
struct RewriteCase {
    std::string name;
    std::string line;
    NameKind kind;
    std::string from;
    std::string to;
    std::string book;
    std::string expected;
};

void PrintTo(const RewriteCase& c, std::ostream* out) {
    *out << c.name;
}

class NameRewrites : public testing::TestWithParam<RewriteCase> {};

// Every rewrite is read back through the records: the rewritten line names
// what the old one named, with exactly the matching references renamed.
TEST_P(NameRewrites, RenameExactlyTheMatchingReferences) {
    const RewriteCase& c = GetParam();
    NameReferenceReader reader;
    const NameChange change{{c.kind, toCp932(c.from), toCp932(c.book)}, toCp932(c.to)};
    const std::string line = toCp932(c.line);
    const LineRewrite rewrite = reader.rewrite(line, change, toCp932(kOwnBook));
    if (c.expected.empty()) {
        EXPECT_EQ(rewrite.result, LineRewrite::Result::Unchanged);
        return;
    }
    if (c.expected == "!") {
        EXPECT_EQ(rewrite.result, LineRewrite::Result::NotRewritable);
        return;
    }
    ASSERT_EQ(rewrite.result, LineRewrite::Result::Rewritten);
    EXPECT_EQ(toUtf8(rewrite.line), c.expected);
    Found renamed = namesOf(reader, line);
    for (Ref& ref : renamed) {
        if (ref.kind == c.kind && ref.name == c.from && (c.kind != P || ref.book == c.book))
            ref.name = c.to;
        if (c.kind == B && ref.kind == P && ref.book == c.from)
            ref.book = c.to; // the pages of a renamed book are its pages still
    }
    EXPECT_EQ(namesOf(reader, rewrite.line), renamed);
}

const std::string kOwn = kOwnBook;

INSTANTIATE_TEST_SUITE_P(
    EveryKindAndOption, NameRewrites,
    testing::Values(
        RewriteCase{"EmbeddedNumericOnly", "MsgDlg \"%回数%と&回数&\"" + kMsgTail, N, "回数",
                    "count", "", "MsgDlg \"%count%と&回数&\"" + kMsgTail},
        RewriteCase{"EmbeddedStringTwice", "MsgDlg \"&名&&名&\"" + kMsgTail, S, "名", "name", "",
                    "MsgDlg \"&name&&name&\"" + kMsgTail},
        RewriteCase{"LongerNameUntouched", "MsgDlg \"%ab%\"" + kMsgTail, N, "a", "x", "", ""},
        RewriteCase{"BothConditions", "WaitTime 5,\"/IF:%a%>=%a%\",\"/IFS:%a%==%b%\"", N, "a", "z",
                    "", "WaitTime 5,\"/IF:%z%>=%z%\",\"/IFS:%a%==%b%\""},
        RewriteCase{"StringCondition", "WaitTime 5,\"/IFS:%s%<-%t%\"", S, "t", "u", "",
                    "WaitTime 5,\"/IFS:%s%<-%u%\""},
        RewriteCase{"ChoiceTextAndTarget", "SelectDlg \"%a%へ\",\"$表$\",\"戻る\",\"$a$\",", N, "a",
                    "b", "", "SelectDlg \"%b%へ\",\"$表$\",\"戻る\",\"$a$\","},
        RewriteCase{"ChoiceTargetOfTheOwnBook", "SelectDlg \"はい\",\"$表$\",\"表\",\"$裏$\",", P,
                    "表", "おもて", kOwn, "SelectDlg \"はい\",\"$おもて$\",\"表\",\"$裏$\","},
        RewriteCase{"ChoiceTargetOfAnotherBooksPage", "SelectDlg \"はい\",\"$表$\",", P, "表",
                    "おもて", "別の本", ""},
        RewriteCase{"BareFlag", "FlagCtrl \"鍵\",2,", N, "鍵", "かぎ", "", "FlagCtrl \"かぎ\",2,"},
        RewriteCase{"DelimitedFlag", "FlagCtrl \"%鍵%\",0,", N, "鍵", "k", "",
                    "FlagCtrl \"%k%\",0,"},
        RewriteCase{"ValueOperands", "ValueCtrl \"%x%\",1,\"%x%\",\"%y%\",", N, "x", "w", "",
                    "ValueCtrl \"%w%\",1,\"%w%\",\"%y%\","},
        RewriteCase{"AssignedTargetAndText", "StringCtrl \"$s$\",\"&s&!\",", S, "s", "t", "",
                    "StringCtrl \"$t$\",\"&t&!\","},
        RewriteCase{"BareInputTarget", "StrInput \"題\",\"\",\"s\",", S, "s", "t", "",
                    "StrInput \"題\",\"\",\"t\","},
        RewriteCase{"SavedVariable", "System \"ValDataSave\",\"n\",", N, "n", "m", "",
                    "System \"ValDataSave\",\"m\","},
        RewriteCase{"LoadedStringNotNumeric", "System \"StrDataLoad\",\"n\",", N, "n", "m", "", ""},
        RewriteCase{"SaveIndexName", "System \"SaveNameSet\",\"&名&の記録\",", S, "名", "氏名", "",
                    "System \"SaveNameSet\",\"&氏名&の記録\","},
        RewriteCase{"CalledBook", "System \"Call\",\"本\",\"頁\",", B, "本", "書", "",
                    "System \"Call\",\"書\",\"頁\","},
        RewriteCase{"CalledPage", "System \"Call\",\"本\",\"頁\",", P, "頁", "ページ", "本",
                    "System \"Call\",\"本\",\"ページ\","},
        RewriteCase{"JumpBook", "PageJump \"本\",\"本\",0,", B, "本", "書", "",
                    "PageJump \"書\",\"本\",0,"},
        RewriteCase{"JumpPageOfItsBookOnly", "PageJump \"本\",\"頁\",0,", P, "頁", "x", "別", ""},
        RewriteCase{"ClickablePage", "ClickAble \"本\",\"頁\",\"\",0,0,1,0,", P, "頁", "x", "本",
                    "ClickAble \"本\",\"x\",\"\",0,0,1,0,"},
        // ソ and 表 end in the byte of "\", ポ in that of "|".
        RewriteCase{"TrailBytesOfBackslashAndBar", "MsgDlg \"%ソ表%%ポ%\"" + kMsgTail, N, "ソ表",
                    "ポソ", "", "MsgDlg \"%ポソ%%ポ%\"" + kMsgTail},
        RewriteCase{"NameOfEveryAllowedCharacter",
                    "ValueCtrl \"%a-b_c.d,e[f]g{h}i<j>k+l|m~n@o#p^\\\\q%\",1,\"1\",\"1\",", N,
                    "a-b_c.d,e[f]g{h}i<j>k+l|m~n@o#p^\\\\q", "c", "",
                    "ValueCtrl \"%c%\",1,\"1\",\"1\","},
        RewriteCase{"LineThatDoesNotRead", "MsgDlg \"%a%\"" + kMsgTail + "\"/TIME:x\"", N, "a", "b",
                    "", "!"},
        RewriteCase{"BrokenConditionWouldBeLost", "MsgDlg \"%a%\"" + kMsgTail + "\"/IF:a==1\"", N,
                    "a", "b", "", "!"},
        RewriteCase{"UnknownOptionWouldBeLost", "FlagCtrl \"a\",0,\"/FUTURE:1\"", N, "a", "b", "",
                    "!"},
        RewriteCase{"KeywordNotAsWritten", "flagctrl \"a\",0,", N, "a", "b", "", "!"},
        RewriteCase{"NoReferenceInABrokenLine", "MsgDlg \"%a%\"" + kMsgTail + "\"/TIME:x\"", N, "z",
                    "b", "", ""}),
    [](const testing::TestParamInfo<RewriteCase>& test) { return test.param.name; });

TEST(FileNames, CompareInAnyLetterCaseWithEitherSeparator) {
    EXPECT_TRUE(sameFileName("pict\\A.BMP", "PICT/a.bmp"));
    EXPECT_FALSE(sameFileName("pict\\a.bmp", "pict\\b.bmp"));
    EXPECT_FALSE(sameFileName("a.bmp", "a.bmpx"));
    // The second byte of ソ is that of "\": it is no separator.
    EXPECT_TRUE(sameFileName(toCp932("ソ.bmp"), toCp932("ソ.BMP")));
    EXPECT_FALSE(sameFileName(toCp932("ソ"), "\x83/"));
    // The second byte of Ａ (82 60) is "`", of ａ (82 81) no letter: never folded.
    EXPECT_FALSE(sameFileName(toCp932("Ａ"), toCp932("ａ")));
    EXPECT_FALSE(sameFileName("\x82"
                              "A",
                              "\x82"
                              "a"));
}

// Book 一 holds a page of lines that name the same variables in several ways;
// the header's declarations are no use of a variable.
class ReferenceCounting : public testing::Test {
protected:
    ReferenceCounting() {
        comic.LoadFromBytes(test::comicBytes({
            "<Head=\"ValueFlag\">",
            "a=0",
            "<Head End>",
            "<Book=\"一\">",
            "<Page=\"p\">",
            "ValueCtrl \"%a%\",1,\"%a%\",\"1\",",
            "MsgDlg \"%a%と&a&\",0,\"KeyWait\",\"Normal\",0,0,1,",
            "MsgDlg \"x\",0,\"KeyWait\",\"Normal\",0,0,1,\"/IFS:%a%==%b%\"",
            "<Page End>",
            "<Page=\"q\">",
            "FlagCtrl \"%a%\",0,",
            "<Page End>",
            "<Book End>",
            "<Book=\"二\">",
            "<Page=\"p\">",
            "System \"StrDataSave\",\"名前\",",
            "<Page End>",
            "<Book End>",
        }));
    }
    int lines(NameKind kind, std::string_view utf8) const {
        return counts.lines(kind, toCp932(utf8));
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    ReferenceCounts counts;
};

TEST_F(ReferenceCounting, CountsEachLineOnceForEachKindOfName) {
    counts = countReferences(comic);
    EXPECT_EQ(lines(N, "a"), 3) << "a line naming a variable twice counts once";
    EXPECT_EQ(lines(S, "a"), 2) << "the string variable of the same name is another";
    EXPECT_EQ(lines(S, "b"), 1);
    EXPECT_EQ(lines(S, "名前"), 1) << "every book and page";
    EXPECT_EQ(lines(N, "b"), 0);
    EXPECT_EQ(lines(N, "missing"), 0);
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(ReferenceCounting, FollowTheDocumentWhenCountedAgain) {
    comic.SetCommand(toCp932("一"), "q", "FlagCtrl \"%b%\",0,", 0);
    counts = countReferences(comic);
    EXPECT_EQ(lines(N, "a"), 2);
    EXPECT_EQ(lines(N, "b"), 1);
}

TEST(ReferenceCountingSample, TheSampleComicsVariables) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromFile(std::filesystem::path(PAGORA_SOURCE_DIR) / "examples/sample/Sample.csf");
    const ReferenceCounts counts = countReferences(comic);
    const std::pair<NameKind, const char*> names[] = {
        {N, "訪問回数"}, {N, "鍵フラグ"}, {N, "ちょうちょ"}, {S, "名前"}, {S, "天気"}};
    std::vector<int> found;
    for (const auto& [kind, name] : names)
        found.push_back(counts.lines(kind, toCp932(name)));
    EXPECT_EQ(found, (std::vector<int>{3, 4, 2, 7, 2}));
}

} // namespace
} // namespace pagora
