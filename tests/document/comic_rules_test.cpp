#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;

const std::string kWrongType =
    "ファイルタイプが違います。\nこのファイルは正常に編集できないかもしれません";
const std::string kNewerVersion =
    "このファイルには現バージョンで編集できない\nコマンドが含まれている可能性があります\n"
    "無理に編集するとファイルを壊してしまうかも知れません";

std::string comicWithHeader(std::string_view fileType, std::string_view commandVersion) {
    return comicBytes({"<Head=\"Comic\">", fileType, commandVersion, "<Head End>", "<Book=\"b\">",
                       "<Page=\"p\">", "x", "<Page End>", "<Book End>"});
}

class OpenChecks : public testing::Test {
protected:
    OpenVerdict open(const std::string& bytes) {
        comic.LoadFromBytes(bytes);
        prompter.clear();
        return CheckOpenedComic(comic, prompter, toCp932("花子"));
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
};

TEST_F(OpenChecks, AComicOfThisVersionRaisesNothing) {
    EXPECT_EQ(open(comicWithHeader("FileType=PGR95", "CmdVer=15")), OpenVerdict::Kept);
    EXPECT_EQ(open(comicWithHeader("// no type", "// no version")), OpenVerdict::Kept);
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(OpenChecks, ANewerVersionAsksAbortOrIgnore) {
    prompter.queueAnswer(Answer::Ignore);
    EXPECT_EQ(open(comicWithHeader("FileType=PGR95", "CmdVer=16")), OpenVerdict::Kept);
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].text, toCp932(kNewerVersion));
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::AbortIgnore);
    EXPECT_EQ(comic.GetCommand("b", "p", 0), "x");
}

TEST_F(OpenChecks, AVersionOfLettersCountsAsZero) {
    EXPECT_EQ(open(comicWithHeader("FileType=PGR95", "CmdVer=abc")), OpenVerdict::Kept);
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(OpenChecks, AbortDiscardsTheFileForANewComicWithTheUserName) {
    prompter.queueAnswer(Answer::Abort);
    EXPECT_EQ(open(comicWithHeader("FileType=OTHER", "CmdVer=15")), OpenVerdict::Discarded);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{toCp932(kWrongType)});
    EXPECT_EQ(comic.GetBookList(), std::vector<std::string>{toCp932("スタートブック")});
    EXPECT_EQ(comic.ReadHeader("Comic", "Copyright", ""), toCp932("花子"));
    EXPECT_EQ(comic.Line(9), toCp932("Copyright=花子"));
    EXPECT_EQ(comic.Line(10), "<Head End>");
}

TEST_F(OpenChecks, IgnoringTheFileTypeStillChecksTheVersion) {
    prompter.queueAnswer(Answer::Ignore);
    prompter.queueAnswer(Answer::Abort);
    EXPECT_EQ(open(comicWithHeader("FileType=X", "CmdVer=99")), OpenVerdict::Discarded);
    EXPECT_EQ(prompter.messages(),
              (std::vector<std::string>{toCp932(kWrongType), toCp932(kNewerVersion)}));
}

TEST(NewComic, AnUnknownUserAddsNoCopyright) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    StartNewComic(comic, "");
    EXPECT_EQ(comic.ReadHeader("Comic", "Copyright", "none"), "none");
}

TEST(SaveStamp, TheTemplateSavedAtOnceCarriesVersionAndType) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    SetEditorFileHead(comic);
    StartNewComic(comic, "Pagora User");
    StampForSave(comic);
    EXPECT_EQ(comic.SaveToBytes(),
              comicBytes({"/// Interactive Pagora for Win95",
                          "/// Comic Script File (Command Version 15)", "<Head=\"Comic\">",
                          "FileType=PGR95", "CmdVer=15", "StartBook=スタートブック",
                          "StartPage=スタートページ", "MciMusic=Sequencer", "MciSound=WaveAudio",
                          "SelectChange=1", "ShowKeyWaitChar=1", "Copyright=Pagora User",
                          "<Head End>", "<Book=\"スタートブック\">", "<Page=\"スタートページ\">",
                          "// ", "<Page End>", "<Book End>"}));
}

TEST(ComicTemplate, IsTheNewComicWithTheTemplateHeadAndTheUserAsCopyright) {
    ScriptedPrompter prompter;
    const std::string bytes = ComicTemplateBytes(prompter, toCp932("花子"));
    EXPECT_EQ(bytes, comicBytes({"/// Interactive Pagora for Win95",
                                 "/// Comic Script File (Template)", "<Head=\"Comic\">",
                                 "FileType=PGR95", "CmdVer=0", "StartBook=スタートブック",
                                 "StartPage=スタートページ", "MciMusic=Sequencer",
                                 "MciSound=WaveAudio", "SelectChange=1", "ShowKeyWaitChar=1",
                                 "Copyright=花子", "<Head End>", "<Book=\"スタートブック\">",
                                 "<Page=\"スタートページ\">", "// ", "<Page End>", "<Book End>"}));
    // Shift-JIS bytes and CR LF, as Windows writes them.
    EXPECT_NE(bytes.find("Copyright=\x89\xd4\x8e\x71\r\n<Head End>\r\n"), std::string::npos);
    EXPECT_TRUE(prompter.messages().empty());
}

TEST(ComicTemplate, ANewComicMadeFromItOpensWithoutAQuestion) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(ComicTemplateBytes(prompter, "Pagora User"));
    EXPECT_EQ(CheckOpenedComic(comic, prompter, "someone else"), OpenVerdict::Kept);
    EXPECT_EQ(comic.ReadHeader("Comic", "Copyright", ""), "Pagora User");
    EXPECT_EQ(comic.GetPageList(toCp932("スタートブック")),
              std::vector<std::string>{toCp932("スタートページ")});
    EXPECT_TRUE(prompter.messages().empty());
}

TEST(SaveStamp, AComicWithoutTheEntriesGetsThemBeforeTheEndMarker) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(comicBytes({"<Head=\"Comic\">", "Title=t", "<Head End>"}));
    StampForSave(comic);
    EXPECT_EQ(comic.Lines(), (std::vector<std::string>{"<Head=\"Comic\">", "Title=t", "CmdVer=15",
                                                       "FileType=PGR95", "<Head End>"}));
}

} // namespace
} // namespace pagora
