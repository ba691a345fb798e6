#include "cli_run.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::runCliCommand;
using test::TempFolder;

const std::string kComic =
    comicBytes({"<Head=\"Comic\">",
                "FileType=PGR95",
                "CmdVer=15",
                "StartBook=本",
                "StartPage=始",
                "Opening=Title.bmp",
                "<Head End>",
                "<Book=\"本\">",
                "<Page=\"始\">",
                "MsgDlg \"%回数%回目、PICT\",0,\"KeyWait\",\"Normal\",0,0,1,",
                "PageJump \"別\",\"次\",0,",
                "<Page End>",
                "<Page=\"次\">",
                "SelectDlg \"a\",\"$始$\",",
                "Graphic \"title.BMP\",0,0,0,1,\"None\",0,0,0,",
                "WaitTime x,\"/IF:%回数%==1\"",
                "<Page End>",
                "<Book End>",
                "<Book=\"別\">",
                "<Page=\"次\">",
                "ValueCtrl \"%回数%\",1,\"%回数%\",\"1\",",
                "<Page End>",
                "<Book End>",
                "<Head=\"ValueFlag\">",
                "回数=0",
                "<Head End>",
                "<Head=\"StringFlag\">",
                "回数=",
                "名=",
                "<Head End>"});

TEST(CliFind, PrintsEachLineWithItsPlaceAndExitsOneWhenNothingIs) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic).string();
    const auto found = runCliCommand({"find", file, "pict"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "本\t始\t0\tメッセージを表示します：%回数%回目、PICT\n");
    EXPECT_EQ(runCliCommand({"find", file, "pict", "--match-case"}).status, 1);
    const auto raw = runCliCommand({"find", file, "KeyWait", "--raw"});
    EXPECT_EQ(raw.status, 0);
    EXPECT_EQ(raw.out, "本\t始\t0\tメッセージを表示します：%回数%回目、PICT\n");
    const auto none = runCliCommand({"find", file, "無いもの"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
}

TEST(CliRefs, ListsLinesAndHeaderKeysOfEachKindOfName) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic).string();
    const auto page = runCliCommand({"refs", file, "--page", "本", "始"});
    EXPECT_EQ(page.status, 0) << page.err;
    EXPECT_EQ(page.out, "\t\t0\tStartPage=始\n本\t次\t0\t選択肢を表示。移動先は、始 です\n");
    const auto variable = runCliCommand({"refs", file, "--variable", "回数"});
    EXPECT_EQ(variable.out, "本\t始\t0\tメッセージを表示します：%回数%回目、PICT\n"
                            "別\t次\t0\t［回数］←［回数］＋［1］\n")
        << "a line that does not read gives only what was read before its fault";
    const auto picture = runCliCommand({"refs", file, "--file", "TITLE.bmp"});
    EXPECT_EQ(picture.out.substr(0, picture.out.find('\n')), "\t\t0\tOpening=Title.bmp");
    const auto book = runCliCommand({"refs", file, "--book", "別"});
    EXPECT_EQ(book.out, "本\t始\t1\t「別」の「次」に移動します\n");
    EXPECT_EQ(runCliCommand({"refs", file, "--variable", "名"}).status, 1);
    EXPECT_EQ(runCliCommand({"refs", file}).status, 2);
    EXPECT_EQ(runCliCommand({"refs", file, "--book", "別", "--file", "x"}).status, 2);
    EXPECT_EQ(runCliCommand({"refs", file, "--page", "本"}).status, 2);
}

TEST(CliRename, RewritesReferencesAndWritesTheOutputFile) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    const auto out = folder.path() / "out.csf";
    const auto renamed =
        runCliCommand({"rename", file.string(), "--page", "別", "次", "終", "-o", out.string()});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "rewritten\t1\n");
    EXPECT_EQ(test::readFile(file), kComic) << "the input stays as it was";
    const auto jumps = runCliCommand({"refs", out.string(), "--page", "別", "終"});
    EXPECT_EQ(jumps.out, "本\t始\t1\t「別」の「終」に移動します\n");
    EXPECT_EQ(runCliCommand({"refs", out.string(), "--page", "別", "次"}).status, 1);
}

TEST(CliRename, VariableOfBothKindsAndTheLinesItLeaves) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    const auto renamed = runCliCommand({"rename", file.string(), "--variable", "回数", "count"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "rewritten\t2\nrewritten\t0\n");
    EXPECT_NE(renamed.err.find("本/次:2: not rewritten"), std::string::npos) << renamed.err;
    const std::string saved = test::readFile(file);
    EXPECT_NE(saved.find("\r\ncount=0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\ncount=\r\n"), std::string::npos);
    EXPECT_NE(saved.find("ValueCtrl \"%count%\",1,\"%count%\",\"1\","), std::string::npos);
}

TEST(CliRename, RefusalsWriteNothing) {
    TempFolder folder;
    const auto file = folder.write("c.csf", kComic);
    const auto taken = runCliCommand({"rename", file.string(), "--book", "別", "本"});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, "warning: 指定されたブック名はすでに使用されてます。\n");
    const auto ambiguous = runCliCommand({"rename", file.string(), "--variable", "名", "a&b"});
    EXPECT_EQ(ambiguous.status, 1);
    EXPECT_NE(ambiguous.err.find("「%」や「&」を含む変数名"), std::string::npos);
    EXPECT_EQ(runCliCommand({"rename", file.string(), "--variable", "無い", "b"}).status, 2);
    EXPECT_EQ(runCliCommand({"rename", file.string(), "--book", "無い", "b"}).status, 2);
    EXPECT_EQ(test::readFile(file), kComic);
}

} // namespace
} // namespace pagora
