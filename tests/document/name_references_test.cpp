#include "document/comic_file.h"
#include "document/name_references.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>
#include <utility>

namespace pagora {
namespace {

using Found = std::vector<std::pair<NameKind, std::string>>; // names in UTF-8

constexpr NameKind N = NameKind::NumericVariable;
constexpr NameKind S = NameKind::StringVariable;

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
    Found found;
    reader.forEach(toCp932(GetParam().line), [&](const NameReference& reference) {
        found.emplace_back(reference.kind, toUtf8(reference.name));
    });
    EXPECT_EQ(found, GetParam().found);
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
                      {{N, "a"}, {S, "b"}}},
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
        ReferenceCase{"CallAndSaveBlockNameNoVariable", "System \"Call\",\"%a%\",\"&b&\",", {}},
        ReferenceCase{"ConditionsAfterTheFields",
                      "MsgDlg \"%m%\"" + kMsgTail + "\"/IFS:%s%<-%t%\",\"/IF:%a%>=%b%\"",
                      {{N, "m"}, {N, "a"}, {N, "b"}, {S, "s"}, {S, "t"}}},
        ReferenceCase{"MusicStopHoldsNone", "MusicStop", {}},
        ReferenceCase{"ConditionsOfALineWithoutNamesOfItsOwn",
                      "Graphic \"a.bmp\",0,0,0,1,\"None\",0,0,0,\"/IF:%a%==3\",\"/IFS:%s%==晴れ\"",
                      {{N, "a"}, {S, "s"}}},
        ReferenceCase{"BrokenConditionGivesNothing", "WaitTime 5,\"/IF:a==1\",\"/IFS:%s%=>x\"", {}},
        ReferenceCase{"StrictOptionFailureKeepsTheFields",
                      "MsgDlg \"%a%\"" + kMsgTail + "\"/TIME:x\"",
                      {{N, "a"}}},
        ReferenceCase{"CommentAndUnknownKeywordHoldNone", "// %a% &b&", {}},
        ReferenceCase{"UnknownKeyword", "Flash \"%a%\",", {}}),
    [](const testing::TestParamInfo<ReferenceCase>& test) { return test.param.name; });

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
