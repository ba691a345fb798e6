// Reading and writing the record of each command kind.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>
#include <random>

namespace pagora {
namespace {

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

class CmdRecords : public testing::Test {
protected:
    ScriptedPrompter prompter;
    TCmdCtrl syntax{prompter};
};

TEST_F(CmdRecords, NewRecordsHoldTheirDocumentedValues) {
    EXPECT_EQ(syntax.ParseMsgDlg("MsgDlg"), TCmdMsgDlg{});
    EXPECT_EQ(TCmdMsgDlg{}.Mode, 1);
    EXPECT_TRUE(TCmdMsgDlg{}.ClickAbleEnabled);
    EXPECT_TRUE(TCmdGraphic{}.ShowAtOnce);
    EXPECT_TRUE(TCmdSound{}.WaitEnd);
    EXPECT_TRUE(TCmdClickAble{}.CursorChange);
    EXPECT_TRUE(TCmdWindowShow{}.Show);
    EXPECT_EQ(TCmdStrInput{}.Title, sj("文字列の入力"));
    EXPECT_EQ(TOptParam{}.Color, 0xFFFFFFu);
    EXPECT_EQ(TOptParam{}.If.Operator, -1);
}

TEST_F(CmdRecords, ReadsAMessageWithACommaInsideItsQuotes) {
    const TCmdMsgDlg record = syntax.ParseMsgDlg(
        sj("MsgDlg \"こんにちは、世界\",1,\"Char-Scroll\",\"Slow\",1,1,0,\"/WIN:1\""));
    EXPECT_EQ(record.Text, sj("こんにちは、世界"));
    EXPECT_TRUE(record.DrawNormal);
    EXPECT_EQ(record.Mode, 5);
    EXPECT_EQ(record.Speed, 2);
    EXPECT_TRUE(record.KeyWaitEachLine);
    EXPECT_TRUE(record.KeyWaitAfter);
    EXPECT_FALSE(record.ClickAbleEnabled);
    EXPECT_EQ(record.Option.Win, 1);
}

TEST_F(CmdRecords, NameWordsAreCaseSensitive) {
    EXPECT_EQ(syntax.ParseMsgDlg("MsgDlg \"a\",0,\"char-scroll\",\"fast\",").Mode, 1);
    EXPECT_EQ(syntax.ParseMsgDlg("MsgDlg \"a\",0,\"char-scroll\",\"fast\",").Speed, 0);
    EXPECT_EQ(syntax.ParseGraphic("Graphic \"a\",0,0,0,1,\"zoomup\",").Effect, 0);
    EXPECT_EQ(syntax.ParseGraphic("Graphic \"a\",0,0,0,1,\"ZoomDownSect\",").Effect, 18);
    EXPECT_EQ(syntax.ParseSystem("System \"call\",\"b\",\"p\",").SubCommand, 0);
}

TEST_F(CmdRecords, EmptyParametersAndOptionsKeepNewRecordValues) {
    EXPECT_EQ(syntax.ParseWaitTime("WaitTime ,").Time, 0);
    EXPECT_TRUE(syntax.ParseSound("Sound \"a.wav\",,").WaitEnd);
    EXPECT_EQ(syntax.ParseStrInput("StrInput \"\",\"m\",\"$s$\",").Title, sj("文字列の入力"));
    // An option standing where a positional parameter belongs takes its place.
    const TCmdPageJump jump = syntax.ParsePageJump("PageJump \"/WIN:1\",\"p\",");
    EXPECT_EQ(jump.BookName, "");
    EXPECT_EQ(jump.PageName, "p");
    EXPECT_EQ(jump.Option.Win, 1);
}

TEST_F(CmdRecords, StrictFieldsThrowLenientFieldsBecomeZero) {
    EXPECT_THROW(syntax.ParseWaitTime("WaitTime abc,"), ConversionError);
    EXPECT_THROW(syntax.ParseGraphic("Graphic \"a\",x,"), ConversionError);
    EXPECT_THROW(syntax.ParseFlagCtrl("FlagCtrl \"%f%\",on,"), ConversionError);
    EXPECT_THROW(syntax.ParseValueCtrl("ValueCtrl \"%a%\",+,"), ConversionError);
    EXPECT_THROW(syntax.ParseSound("Sound \"a\",yes,"), ConversionError);
    EXPECT_EQ(syntax.ParseMusic("Music \"a\",many,").LoopCount, 0);
    EXPECT_EQ(syntax.ParsePageJump("PageJump \"b\",\"p\",x,").Reserved, 0);
    EXPECT_EQ(syntax.ParseClickAble("ClickAble \"b\",\"p\",\"i\",two,").ImageDivision, 0);
}

TEST_F(CmdRecords, AFailedReadCanKeepTheFieldsReadBeforeTheFailure) {
    using Failure = TCmdCtrl::ReadFailure;
    EXPECT_THROW(syntax.ParseCommand("Graphic \"a.bmp\",x,1,1,", Failure::Throw), ConversionError);
    const CmdRecord partial =
        syntax.ParseCommand("Graphic \"a.bmp\",x,1,1,\"/WIN:2\"", Failure::KeepWhatWasRead);
    TCmdGraphic expected;
    expected.FileName = "a.bmp";
    EXPECT_EQ(partial, CmdRecord(expected));
    // A failing option keeps every positional field.
    const CmdRecord options =
        syntax.ParseCommand("Sound \"s.wav\",0,\"/WIN:x\"", Failure::KeepWhatWasRead);
    EXPECT_EQ(options, CmdRecord(TCmdSound{"s.wav", false, {}}));
}

// The view form reads the same fields, as parts of the line itself.
TEST_F(CmdRecords, ViewRecordsHoldTheFieldsOfTheOwnedOnesAsPartsOfTheLine) {
    using Failure = TCmdCtrl::ReadFailure;
    const auto within = [](std::string_view part, std::string_view line) {
        return part.empty() || (part.data() >= line.data() &&
                                part.data() + part.size() <= line.data() + line.size());
    };
    const std::string graphic = "Graphic \"pict\\a.bmp\",0,x,1,";
    const auto viewed = std::get<BasicCmdGraphic<std::string_view>>(
        syntax.ParseCommandView(CmdKind::Graphic, graphic, Failure::KeepWhatWasRead));
    const auto owned =
        std::get<TCmdGraphic>(syntax.ParseCommand(graphic, Failure::KeepWhatWasRead));
    EXPECT_EQ(viewed.FileName, owned.FileName);
    EXPECT_TRUE(within(viewed.FileName, graphic));
    EXPECT_EQ(viewed.UseTransparent, owned.UseTransparent); // left as it was at the failure

    const std::string select = sj("SelectDlg \"はい\",\"$一$\",\"いいえ\",\"二\",\"/WIN:2\"");
    const auto choices = std::get<BasicCmdSelectDlg<std::string_view>>(
        syntax.ParseCommandView(CmdKind::SelectDlg, select, Failure::Throw));
    const TCmdSelectDlg ownedChoices = syntax.ParseSelectDlg(select);
    for (std::size_t i = 0; i < kSelectPairs; ++i) {
        EXPECT_EQ(choices.Items[i], ownedChoices.Items[i]) << i;
        EXPECT_EQ(choices.Targets[i], ownedChoices.Targets[i]) << i;
        EXPECT_TRUE(within(choices.Items[i], select) && within(choices.Targets[i], select)) << i;
    }
    EXPECT_EQ(choices.Option, ownedChoices.Option);
    EXPECT_EQ(std::get<BasicCmdStrInput<std::string_view>>(
                  syntax.ParseCommandView(CmdKind::StrInput, "StrInput ,", Failure::Throw))
                  .Title,
              defaultInputTitle());
}

TEST_F(CmdRecords, PageJumpKeepsItsReservedNumber) {
    const std::string line = sj("PageJump \"本\",\"頁\",7,");
    EXPECT_EQ(syntax.ParsePageJump(line).Reserved, 7);
    EXPECT_EQ(syntax.BuildPageJump(syntax.ParsePageJump(line)), line);
}

TEST_F(CmdRecords, SelectReadingKeepsThePairWithoutDollarWritingStopsBeforeIt) {
    const TCmdSelectDlg record =
        syntax.ParseSelectDlg("SelectDlg \"a\",\"$p$\",\"b\",\"q\",\"c\",\"$r$\",\"/TIME:5\"");
    EXPECT_EQ(record.Items[1], "b");
    EXPECT_EQ(record.Targets[1], "q");
    EXPECT_EQ(record.Items[2], "");
    EXPECT_EQ(record.Option.Time, 5);
    EXPECT_EQ(syntax.BuildSelectDlg(record), "SelectDlg \"a\",\"$p$\",\"/TIME:5\"");
}

TEST_F(CmdRecords, SelectReadsAtMostTwentyOnePairs) {
    std::string line = "SelectDlg ";
    for (int i = 0; i < 25; ++i)
        line += "\"c" + std::to_string(i) + "\",\"$p" + std::to_string(i) + "$\",";
    const TCmdSelectDlg record = syntax.ParseSelectDlg(line);
    EXPECT_EQ(record.Targets[20], "$p20$");
    std::string expected = "SelectDlg ";
    for (int i = 0; i < 21; ++i)
        expected += "\"c" + std::to_string(i) + "\",\"$p" + std::to_string(i) + "$\",";
    EXPECT_EQ(syntax.BuildSelectDlg(record), expected);
}

TEST_F(CmdRecords, SpecialLayouts) {
    EXPECT_EQ(syntax.BuildClickAbleClear({}), "ClickAbleClear ,");
    TCmdClickAbleClear clear;
    clear.Option.Win = 3;
    EXPECT_EQ(syntax.BuildClickAbleClear(clear), "ClickAbleClear ,\"/WIN:3\"");
    EXPECT_EQ(syntax.ParseClickAbleClear("ClickAbleClear ,\"/WIN:3\""), clear);
    EXPECT_EQ(syntax.BuildSelectDlg({}), "SelectDlg ");
    EXPECT_EQ(syntax.BuildCommand(syntax.ParseCommand("MusicStop")), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(syntax.ParseCommand("// x")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(syntax.ParseCommand("Unknown 1,")));
}

TEST_F(CmdRecords, SystemWritesNoneOutsideItsRangeAndStopsAtAnEmptyParameter) {
    TCmdSystem record;
    record.SubCommand = 12;
    record.Params = {"", "x"};
    EXPECT_EQ(syntax.BuildSystem(record), "System \"None\",");
    record.SubCommand = 7;
    record.Params = {"b", "p"};
    EXPECT_EQ(syntax.BuildSystem(record), "System \"Call\",\"b\",\"p\",");
    record.SubCommand = 8;
    record.Params = {};
    EXPECT_EQ(syntax.BuildSystem(record), "System \"Return\",");
}

TEST_F(CmdRecords, AMessageIsWrittenAsTheLayoutShows) {
    TCmdMsgDlg record;
    record.Text = sj("今日は");
    record.Option.If = {"%a%", "3", 2};
    record.Option.Win = 1;
    EXPECT_EQ(syntax.BuildMsgDlg(record),
              sj("MsgDlg \"今日は\",0,\"KeyWait\",\"Normal\",0,0,1,\"/IF:%a%>=3\",\"/WIN:1\""));
}

TEST_F(CmdRecords, AQuoteInATextIsCutWithAMessage) {
    TCmdStringCtrl record;
    record.Target = "$s$";
    record.Value = "say \"hi\"";
    EXPECT_EQ(syntax.BuildStringCtrl(record), "StringCtrl \"$s$\",\"say \",");
    EXPECT_EQ(prompter.messages().size(), 1u);
}

// --- generated records through Build and Parse ---

class RecordGenerator {
public:
    explicit RecordGenerator(unsigned seed)
        : random_(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool flag() { return number(0, 1) == 1; }

    // A text as dialogs write it: no double quote, not starting with "/", not empty.
    std::string text() {
        static const std::string pieces[] = {sj("あ"), sj("表"), sj("ソ"), "a",      ",", " ",  "%",
                                             "&",      "#",      "<B>",    sj("、"), "/", "x:y"};
        std::string value = "t";
        for (int i = number(0, 6); i > 0; --i)
            value += pieces[number(0, 12)];
        return value;
    }
    std::string variable(char delimiter) { return delimiter + text() + delimiter; }

    TOptParam option() {
        TOptParam option;
        if (flag())
            option.If = {"%" + std::to_string(number(0, 99)) + "%", text(), number(0, 5)};
        if (flag()) {
            const int operators[] = {0, 1, 6};
            option.IfS = {"%s%", flag() ? text() : std::string(), operators[number(0, 2)]};
        }
        if (flag())
            option.Time = number(1, 100);
        else if (flag())
            option.TimeHide = number(1, 100);
        if (flag()) {
            option.PosLeft = number(-5, 100);
            option.PosTop = number(-5, 100);
            option.PosRight = option.PosLeft + number(1, 100);
            option.PosBottom = option.PosTop + number(1, 100);
        }
        if (flag())
            option.Color =
                static_cast<std::uint32_t>(number(0, 0x7FFFFFFF)) | (flag() ? 0x80000000u : 0);
        if (flag())
            option.Size = number(1, 72);
        option.Win = number(0, 5);
        return option;
    }

    CmdRecord record(CmdKind kind) {
        switch (kind) {
        case CmdKind::MsgDlg:
            return TCmdMsgDlg{text(), flag(), number(0, 5), number(0, 2),
                              flag(), flag(), flag(),       option()};
        case CmdKind::Graphic:
            return TCmdGraphic{text(),        number(-9, 999), number(-9, 999), flag(), flag(),
                               number(0, 18), flag(),          flag(),          flag(), option()};
        case CmdKind::Music:
            return TCmdMusic{text(), number(-3, 20), option()};
        case CmdKind::Sound:
            return TCmdSound{text(), flag(), option()};
        case CmdKind::WaitTime:
            return TCmdWaitTime{number(-100, 100000), option()};
        case CmdKind::FlagCtrl:
            return TCmdFlagCtrl{variable('%'), number(0, 2), option()};
        case CmdKind::SelectDlg: {
            TCmdSelectDlg select;
            for (int i = number(0, kSelectPairs) - 1; i >= 0; --i) {
                select.Items[static_cast<std::size_t>(i)] = text();
                select.Targets[static_cast<std::size_t>(i)] = variable('$');
            }
            select.Option = option();
            return select;
        }
        case CmdKind::PageJump:
            return TCmdPageJump{text(), text(), number(-5, 5), option()};
        case CmdKind::MouseClick:
            return TCmdMouseClick{flag(), option()};
        case CmdKind::ValueCtrl:
            return TCmdValueCtrl{{variable('%'), variable('%'), std::to_string(number(0, 9))},
                                 number(1, 5),
                                 option()};
        case CmdKind::StringCtrl:
            return TCmdStringCtrl{variable('$'), text(), option()};
        case CmdKind::ClickAble:
            return TCmdClickAble{text(), text(), text(), number(0, 3),
                                 flag(), flag(), flag(), option()};
        case CmdKind::ClickAbleClear:
            return TCmdClickAbleClear{option()};
        case CmdKind::StrInput:
            return TCmdStrInput{text(), text(), variable('$'), option()};
        case CmdKind::WindowShow:
            return TCmdWindowShow{flag(), option()};
        case CmdKind::System: {
            TCmdSystem system{number(0, 10), {}, option()};
            const int parameters = number(0, 2);
            for (int i = 0; i < parameters; ++i)
                system.Params[static_cast<std::size_t>(i)] = text();
            return system;
        }
        default:
            return std::monostate{};
        }
    }

private:
    std::mt19937 random_;
};

class RecordRoundTrip : public testing::TestWithParam<CmdKind> {};

TEST_P(RecordRoundTrip, ReadingWhatWasWrittenGivesTheSameRecord) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    RecordGenerator generate(static_cast<unsigned>(GetParam()) * 7919u);
    for (int i = 0; i < 300; ++i) {
        const CmdRecord record = generate.record(GetParam());
        const std::string line = syntax.BuildCommand(record);
        ASSERT_EQ(TCmdCtrl::GetCommandKind(line), GetParam()) << toUtf8(line);
        ASSERT_EQ(syntax.ParseCommand(line), record) << toUtf8(line);
    }
    EXPECT_TRUE(prompter.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RecordRoundTrip,
                         testing::Values(CmdKind::MsgDlg, CmdKind::Graphic, CmdKind::Music,
                                         CmdKind::Sound, CmdKind::WaitTime, CmdKind::FlagCtrl,
                                         CmdKind::SelectDlg, CmdKind::PageJump, CmdKind::MouseClick,
                                         CmdKind::ValueCtrl, CmdKind::StringCtrl,
                                         CmdKind::ClickAble, CmdKind::ClickAbleClear,
                                         CmdKind::StrInput, CmdKind::WindowShow, CmdKind::System),
                         [](const testing::TestParamInfo<CmdKind>& param) {
                             return std::string(keywordOf(param.param));
                         });

TEST(HostileLines, ReadWithoutCrashing) {
    ScriptedPrompter prompter;
    TCmdCtrl syntax(prompter);
    const std::string lines[] = {
        "MsgDlg \"never closed",
        "SelectDlg " + std::string(10000, ','),
        "MsgDlg \"/IF:\",\"/IFS:%\",\"/POS:\",\"/COLOR:\"",
        "ValueCtrl " + std::string(5000, '%'),
        std::string("Graphic \x81\"\x82,\xFF", 13),
        "System \"" + std::string(10 << 20, 'x') + "\"",
    };
    for (const std::string& line : lines) {
        try {
            const CmdRecord record = syntax.ParseCommand(line);
            const std::string rebuilt = syntax.BuildCommand(record);
            EXPECT_EQ(syntax.ParseCommand(rebuilt), record);
            EXPECT_EQ(syntax.MakeCmdRef(line).Kind, TCmdCtrl::GetCommandKind(line));
        } catch (const ConversionError&) {
            // Strict fields may refuse; nothing else may escape.
        }
    }
    const std::string& longSystem = lines[5];
    EXPECT_EQ(syntax.ParseSystem(longSystem).SubCommand, 0);
    EXPECT_EQ(syntax.BuildSelectDlg(syntax.ParseSelectDlg(lines[1])), "SelectDlg ");
}

} // namespace
} // namespace pagora
