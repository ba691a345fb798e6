#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

using Lines = std::vector<std::string_view>;

// Header entries that raise nothing by themselves.
const Lines kQuietHeader = {"StartBook=本", "StartPage=一", "MciMusic=Sequencer",
                            "MciSound=WaveAudio", "DataDirectory=data"};

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

// A finding as the tests write it: UTF-8 list text and place.
struct Finding {
    std::string text;
    std::string book;
    std::string page;
    int line;
    bool operator==(const Finding&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Finding& finding) {
    return out << '{' << finding.text << " @ " << finding.book << '/' << finding.page << ':'
               << finding.line << '}';
}

class ErrorCheck : public testing::Test {
protected:
    // A comic of one book "本" with pages "一" (the given lines) and "二", in
    // a folder that also holds a data folder "data".
    void load(const Lines& headerEntries, const Lines& pageLines, const Lines& extraBlocks = {}) {
        comic.LoadFromBytes(comicBytes(headerEntries, pageLines, extraBlocks));
        flags.LoadFlags();
    }

    static std::string comicBytes(const Lines& headerEntries, const Lines& pageLines,
                                  const Lines& extraBlocks = {}) {
        std::string bytes = sj("<Head=\"Comic\">\r\n");
        for (const std::string_view entry : headerEntries)
            bytes += sj(entry) + "\r\n";
        bytes += sj("<Head End>\r\n<Book=\"本\">\r\n<Page=\"一\">\r\n");
        for (const std::string_view line : pageLines)
            bytes += sj(line) + "\r\n";
        bytes += sj("<Page End>\r\n<Page=\"二\">\r\n// \r\n<Page End>\r\n<Book End>\r\n");
        for (const std::string_view line : extraBlocks)
            bytes += sj(line) + "\r\n";
        return bytes;
    }

    std::vector<Finding> run() { return run(folder.path()); }

    std::vector<Finding> run(const std::filesystem::path& comicFolder) {
        check.Initialize(comicFolder);
        check.CheckAll();
        std::vector<Finding> findings;
        for (int i = 0; i < check.ErrorCount; ++i) {
            const TErrorItem& item = check.ErrorItems[static_cast<std::size_t>(i)];
            findings.push_back({toUtf8(ErrorListText(item)), toUtf8(item.BookName),
                                toUtf8(item.PageName), item.LineIndex});
        }
        return findings;
    }

    TempFolder folder;
    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    TCmdCtrl syntax{prompter};
    SystemClock clock;
    SystemRandom random;
    TFlagCtrl flags{comic, prompter, clock, random};
    TErrorCheck check{comic, syntax, flags, prompter};
};

TEST_F(ErrorCheck, AComicWithNoBooksGivesOnlyHeaderFindings) {
    comic.LoadFromBytes(sj("<Head=\"Comic\">\r\nFileType=PGR95\r\n<Head End>\r\n"));
    flags.LoadFlags();
    EXPECT_EQ(run(), (std::vector<Finding>{
                         {"ERROR : 移動先のページが存在しません", "", "", 0},
                         {"WARNING : MCIデバイスがAutoSelectに設定されています", "", "", 0}}));
}

TEST_F(ErrorCheck, FindsFilesInTheDataFolderThenTheComicFolderWhateverTheirCaseAndSeparator) {
    folder.write("data/Pict/Scene.BMP", "x");
    folder.write("only_here.bmp", "x");
    folder.write("data/both.bmp", "x");
    folder.write("both.bmp", "x");
    load(kQuietHeader,
         {"Graphic \"pict\\scene.bmp\",0,0,0,1,\"None\",0,0,0,",
          "Graphic \"only_here.bmp\",0,0,0,1,\"None\",0,0,0,",
          "Graphic \"both.bmp\",0,0,0,1,\"None\",0,0,0,",
          "Graphic \"none.bmp\",0,0,0,1,\"None\",0,0,0,", "Graphic \"\",0,0,0,1,\"None\",0,0,0,"});
    EXPECT_EQ(run(),
              (std::vector<Finding>{
                  {"ERROR : 参照しているファイル\"none.bmp\"が見つかりません", "本", "一", 3},
                  {"ERROR : ファイル名が入力されていません", "本", "一", 4}}));
}

// The comic's folder is "comic"; beside it lie a secret, "x" and a folder "outside".
TEST_F(ErrorCheck, NamesAndLinksLeadingOutOfTheComicFolderAreMissingFiles) {
    folder.write("secret.txt", "x");
    folder.write("x", "x");
    folder.write("outside/o.bmp", "x");
    folder.write("comic/data/a.bmp", "x");
    fs::create_symlink("../secret.txt", folder.path() / "comic" / "pic.bmp");
    fs::create_symlink("../outside", folder.path() / "comic" / "linkdir");
    fs::create_symlink("data/a.bmp", folder.path() / "comic" / "alias.bmp");
    const auto missing = [](std::string_view name, int line) {
        return Finding{"ERROR : 参照しているファイル\"" + std::string(name) + "\"が見つかりません",
                       "本", "一", line};
    };
    load(kQuietHeader, {"Graphic \"..\\secret.txt\",0,0,0,1,\"None\",0,0,0,", "Music \"./../x\",0,",
                        "Graphic \"pic.bmp\",0,0,0,1,\"None\",0,0,0,",
                        "Graphic \"linkdir\\o.bmp\",0,0,0,1,\"None\",0,0,0,",
                        "Graphic \"alias.bmp\",0,0,0,1,\"None\",0,0,0,"});
    EXPECT_EQ(run(folder.path() / "comic"),
              (std::vector<Finding>{missing("..\\secret.txt", 0),
                                    missing("./../x", 1),
                                    {"ERROR : 設定したMCIデバイスでは使用不能なファイルが指定されて"
                                     "います",
                                     "本", "一", 1},
                                    missing("pic.bmp", 2),
                                    missing("linkdir\\o.bmp", 3)}));

    for (const std::string_view dataDirectory :
         {"DataDirectory=../outside", "DataDirectory=linkdir"}) {
        load({"StartBook=本", "StartPage=一", "MciMusic=Sequencer", "MciSound=WaveAudio",
              dataDirectory},
             {"Graphic \"o.bmp\",0,0,0,1,\"None\",0,0,0,"});
        EXPECT_EQ(run(folder.path() / "comic"), std::vector<Finding>{missing("o.bmp", 0)})
            << dataDirectory;
        EXPECT_TRUE(check.DataFolder.empty());
    }
}

// 0x85 starts a double-byte character and "/" cannot end one: the name does
// not decode, whatever lies in a folder named "sub" + U+FFFD.
TEST_F(ErrorCheck, ANameThatDoesNotDecodeIsAMissingFile) {
    folder.write("data/sub\xEF\xBF\xBD/x.bmp", "x");
    std::string bytes = comicBytes(kQuietHeader, {"Graphic \"NAME\",0,0,0,1,\"None\",0,0,0,"});
    const std::string name = "sub\x85/x.bmp";
    bytes.replace(bytes.find("NAME"), 4, name);
    comic.LoadFromBytes(bytes);
    flags.LoadFlags();
    ASSERT_EQ(run().size(), 1u);
    EXPECT_EQ(check.ErrorItems[0].Message,
              sj("参照しているファイル\"") + name + sj("\"が見つかりません"));
}

TEST_F(ErrorCheck, AFolderIsNotAFile) {
    folder.write("data/Pict/a.bmp", "x");
    folder.write("Sounds/b.wav", "x");
    load(kQuietHeader,
         {"Graphic \"pict\",0,0,0,1,\"None\",0,0,0,",
          "Graphic \"sounds\\\",0,0,0,1,\"None\",0,0,0,", "Graphic \"\\\",0,0,0,1,\"None\",0,0,0,",
          "Graphic \"pict\\a.bmp\",0,0,0,1,\"None\",0,0,0,"});
    EXPECT_EQ(run(),
              (std::vector<Finding>{
                  {"ERROR : 参照しているファイル\"pict\"が見つかりません", "本", "一", 0},
                  {"ERROR : 参照しているファイル\"sounds\\\"が見つかりません", "本", "一", 1},
                  {"ERROR : 参照しているファイル\"\\\"が見つかりません", "本", "一", 2}}));
}

// The system would cut the name at the NUL byte and find "a.bmp"; whether the
// folder was listed before (for a name that is missing) must not matter.
TEST_F(ErrorCheck, ANameHoldingANulByteNamesNoFile) {
    using namespace std::string_literals;
    folder.write("data/a.bmp", "x");
    load(kQuietHeader, {});
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst);
        check.Initialize(folder.path());
        if (listedFirst) {
            EXPECT_FALSE(check.IsFileExist("none.bmp"));
        }
        EXPECT_FALSE(check.IsFileExist("a.bmp\0x"s));
        EXPECT_TRUE(check.IsFileExist("a.bmp"));
    }
}

TEST_F(ErrorCheck, WithoutADataFolderFilesAreLookedUpInTheComicFolder) {
    folder.write("a.bmp", "x");
    load({"StartBook=本", "StartPage=一", "MciMusic=Sequencer", "MciSound=WaveAudio"},
         {"Graphic \"a.bmp\",0,0,1,1,\"None\",0,0,1,"});
    EXPECT_TRUE(check.DataFolder.empty());
    EXPECT_EQ(run(), std::vector<Finding>{});
}

TEST_F(ErrorCheck, MusicAndSoundMustSuitTheirDevice) {
    folder.write("data/a.wav", "x");
    folder.write("data/b.MID", "x");
    load(kQuietHeader,
         {"Music \"a.wav\",0,", "Music \"b.MID\",0,", "Sound \"b.MID\",1,", "Sound \"a.wav\",1,"});
    EXPECT_EQ(run(), (std::vector<Finding>{
                         {"ERROR : 設定したMCIデバイスでは使用不能なファイルが指定されています",
                          "本", "一", 0},
                         {"ERROR : 設定したMCIデバイスでは使用不能なファイルが指定されています",
                          "本", "一", 2}}));
}

TEST_F(ErrorCheck, AutoSelectPassesEveryFileAndWarnsOnce) {
    folder.write("data/a.wav", "x");
    load({"StartBook=本", "StartPage=一", "DataDirectory=data"}, {"Music \"a.wav\",0,"});
    EXPECT_EQ(run(), (std::vector<Finding>{
                         {"WARNING : MCIデバイスがAutoSelectに設定されています", "", "", 0}}));
}

TEST_F(ErrorCheck, JumpTargetsMustExist) {
    load(kQuietHeader,
         {"PageJump \"本\",\"二\",0,", "PageJump \"本\",\"三\",0,",
          "SelectDlg \"a\",\"$二$\",\"b\",\"$無$\",\"c\",\"nodollar\",\"d\",\"$無$\",",
          "ClickAble \"本\",\"無\",\"\",0,0,1,0,", "System \"Call\",\"他\",\"一\","});
    EXPECT_EQ(run(),
              (std::vector<Finding>{{"ERROR : 移動先のページが存在しません", "本", "一", 1},
                                    {"ERROR : 移動先のページが存在しません", "本", "一", 2},
                                    {"ERROR : 移動先のページが存在しません", "本", "一", 3},
                                    {"ERROR : 移動先のページが存在しません", "本", "一", 4}}));
}

TEST_F(ErrorCheck, SelectChecksTwentyTargetsAtMost) {
    std::string line = "SelectDlg ";
    for (int i = 0; i < 21; ++i)
        line += "\"c\",\"$" + std::string(i == 20 ? "無" : "二") + "$\",";
    load(kQuietHeader, {line});
    EXPECT_EQ(run(), std::vector<Finding>{});
}

TEST_F(ErrorCheck, VariablesMustBeDefinedAndUnusedOnesAreReported) {
    load(kQuietHeader,
         {"FlagCtrl \"%Flag%\",0,", "ValueCtrl \"%count%\",1,\"%@乱数%\",\"5\",",
          "ValueCtrl \"%missing%\",1,\"1\",\"2\",", "StringCtrl \"$名前$\",\"&天気&\",",
          "StrInput \"t\",\"m\",\"$nothing$\",", "System \"ValDataSave\",\"COUNT\",",
          "MsgDlg \"%inmessage%\",0,\"KeyWait\",\"Normal\",0,0,1,\"/IF:%incondition%==1\""},
         {"<Head=\"ValueFlag\">", "flag=0", "count=0", "inmessage=0", "incondition=0", "<Head End>",
          "<Head=\"StringFlag\">", "名前=", "天気=", "<Head End>"});
    EXPECT_EQ(
        run(),
        (std::vector<Finding>{
            {"ERROR : 参照している数値変数\"missing\"は定義されていません", "本", "一", 2},
            {"ERROR : 参照している文字列変数\"nothing\"は定義されていません", "本", "一", 4},
            {"WARNING : 数値変数「inmessage」は全ブックのどこからも参照されていません", "", "", 0},
            {"WARNING : 数値変数「incondition」は全ブックのどこからも参照されていません", "", "",
             0},
            {"WARNING : 文字列変数「天気」は全ブックのどこからも参照されていません", "", "", 0}}));
}

TEST_F(ErrorCheck, ConstantOperandsCheckNothing) {
    load(kQuietHeader, {"ValueCtrl \"5\",1,\"1\",\"2\","});
    EXPECT_EQ(run(), std::vector<Finding>{});
}

TEST_F(ErrorCheck, WarnsOfManualTransparencyAndOfHidingTheMainWindow) {
    folder.write("data/a.bmp", "x");
    load(kQuietHeader, {"Graphic \"a.bmp\",0,0,1,1,\"None\",0,0,0,", "WindowShow 0,",
                        "WindowShow 0,\"/WIN:1\"", "WindowShow 1,"});
    EXPECT_EQ(run(), (std::vector<Finding>{
                         {"WARNING : 透明色の指定が手動設定に設定されています", "本", "一", 0},
                         {"WARNING : メインウインドウを消去しようとしています", "本", "一", 1}}));
}

TEST_F(ErrorCheck, UnknownCommandsAreErrorsInAnyLetterCaseOnlyWhenUnknown) {
    load(kQuietHeader, {"waittime 10,", "Teleport 1,", "// fine", "MusicStop"});
    EXPECT_EQ(run(), (std::vector<Finding>{{"ERROR : 未知のコマンドがあります", "本", "一", 1}}));
}

TEST_F(ErrorCheck, ALineThatFailsToReadIsCheckedAsFarAsItWasRead) {
    load(kQuietHeader,
         {"Graphic \"none.bmp\",left,0,", "WaitTime soon,", "ClickAble \"本\",\"無\",\"\",0,x,"});
    EXPECT_EQ(run(),
              (std::vector<Finding>{
                  {"ERROR : 参照しているファイル\"none.bmp\"が見つかりません", "本", "一", 0},
                  {"ERROR : 移動先のページが存在しません", "本", "一", 2}}));
}

TEST_F(ErrorCheck, HeaderFilesAreCheckedUnlessDefault) {
    folder.write("data/open.bmp", "x");
    load({"StartBook=本", "StartPage=無", "MciMusic=Sequencer", "MciSound=WaveAudio",
          "DataDirectory=data", "MouseCursorNormal=Default", "MouseCursorKeyWait=wait.cur",
          "MouseCursorClickAble=", "Opening=open.bmp"},
         {"// "});
    EXPECT_EQ(run(), (std::vector<Finding>{
                         {"ERROR : 参照しているファイル\"wait.cur\"が見つかりません", "", "", 0},
                         {"ERROR : ファイル名が入力されていません", "", "", 0},
                         {"ERROR : 移動先のページが存在しません", "", "", 0}}));
}

TEST_F(ErrorCheck, KeepsTheFirstHundredFindings) {
    std::string bytes = sj("<Head=\"Comic\">\r\nStartBook=本\r\nStartPage=一\r\n<Head End>\r\n"
                           "<Book=\"本\">\r\n<Page=\"一\">\r\n");
    for (int i = 0; i < 150; ++i)
        bytes += "Teleport " + std::to_string(i) + "\r\n";
    comic.LoadFromBytes(bytes + "<Page End>\r\n<Book End>\r\n");
    flags.LoadFlags();
    const std::vector<Finding> findings = run();
    ASSERT_EQ(findings.size(), 100u);
    EXPECT_EQ(findings[99].line, 99);
    EXPECT_EQ(check.GetErrorList(99).LineIndex, 99);
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(check.GetErrorList(100).LineIndex, 0);
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{"ErrorCheck::GetErrorList()\naccess error"});
}

TEST_F(ErrorCheck, AFullListStillCountsTheVariablesThatLinesUse) {
    Lines lines(120, "Graphic \"missing.bmp\",0,0,0,0,\"None\",0,0,1,");
    lines.push_back("FlagCtrl \"%a%\",0,");
    lines.push_back("StringCtrl \"$s$\",\"x\",");
    load(kQuietHeader, lines,
         {"<Head=\"ValueFlag\">", "a=0", "b=0", "<Head End>", "<Head=\"StringFlag\">", "s=",
          "<Head End>"});
    EXPECT_EQ(run().size(), 100u);
    EXPECT_EQ(check.UnusedValueFlagList.names(), std::vector<std::string>{"b"});
    EXPECT_TRUE(check.UnusedStringFlagList.names().empty());
}

TEST_F(ErrorCheck, ReportsEachPageBeforeCheckingIt) {
    load(kQuietHeader, {"// "});
    std::vector<std::string> started;
    check.OnPageStart = [&started](const std::string& book, const std::string& page) {
        started.push_back(toUtf8(CheckProgressText(book, page)));
    };
    run();
    EXPECT_EQ(started, (std::vector<std::string>{"エラーチェック中　：　本　／　一",
                                                 "エラーチェック中　：　本　／　二"}));
}

TEST_F(ErrorCheck, InitializeStartsAFreshRun) {
    load(kQuietHeader, {"Teleport 1,", "FlagCtrl \"%a%\",0,"},
         {"<Head=\"ValueFlag\">", "a=0", "b=0", "<Head End>"});
    EXPECT_EQ(run().size(), 2u);
    EXPECT_EQ(run().size(), 2u);
    EXPECT_EQ(check.UnusedValueFlagList.names(), std::vector<std::string>{"b"});
}

TEST(VariableNameList, MatchesWithoutLetterCaseAndRemovesOneEntryAtATime) {
    VariableNameList list;
    list.assign({"Score", "score", sj("ソ"), "b"});
    EXPECT_TRUE(list.contains("SCORE"));
    EXPECT_FALSE(list.contains(sj("ソ").substr(0, 1) + "]"));
    list.remove("sCoRe");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"score", sj("ソ"), "b"}));
    list.remove("SCORE");
    EXPECT_FALSE(list.contains("score"));
    list.remove(sj("ソ"));
    EXPECT_EQ(list.names(), (std::vector<std::string>{"b"}));
}

} // namespace
} // namespace pagora
