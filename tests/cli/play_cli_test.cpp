#include "cli_run.h"
#include "support/comic_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;
using test::runCliCommand;
using test::TempFolder;

const std::string kSample = PAGORA_SOURCE_DIR "/examples/sample/Sample.csf";
const std::string kPlayData = PAGORA_SOURCE_DIR "/tests/cli/play/";

// The sample comic played through, every kind of its lines answered: the
// trace is checked in, so any change of what play does shows in review.
TEST(CliPlay, TheSampleComicPlaysAsItsCheckedInTrace) {
    const auto result = runCliCommand({"play", kSample, "--answers", kPlayData + "sample.answers",
                                       "--seed", "1", "--clock", "2026-12-08T10:00:00"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, test::readFile(kPlayData + "sample.trace"));
}

TEST(CliPlay, StartsFromTheNamedPageAndStopsAtAWaitWithoutAnswer) {
    const auto result = runCliCommand({"play", kSample, "--from", "第二章", "おわり"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(result.out.rfind("第二章/おわり:3\t")),
              "第二章/おわり:3\tstop\twaiting for a key\n");
    EXPECT_EQ(result.out.rfind("第二章/おわり:0\tareas-cleared\twin=3\n", 0), 0u);
}

TEST(CliPlay, AFaultAtPlayTimeExitsWithOne) {
    TempFolder folder;
    const auto file = folder.write(
        "c.csf", comicBytes({"<Head=\"Comic\">", "StartBook=本", "StartPage=始", "<Head End>",
                             "<Book=\"本\">", "<Page=\"始\">", "PageJump \"本\",\"無い\",0,",
                             "<Page End>", "<Book End>"}));
    const auto result = runCliCommand({"play", file.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "本/始:0\tfault\t移動先のページ“本/無い”は存在しません\n"
                          "本/始:0\tend\tfault\n");
}

TEST(CliPlay, TheEventLimitStopsALoopThatWaits) {
    TempFolder folder;
    const auto file = folder.write(
        "c.csf", comicBytes({"<Head=\"Comic\">", "StartBook=本", "StartPage=始", "<Head End>",
                             "<Book=\"本\">", "<Page=\"始\">", "WaitTime 10,",
                             "PageJump \"本\",\"始\",0,", "<Page End>", "<Book End>"}));
    const auto result = runCliCommand({"play", file.string(), "--max-events", "2"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "本/始:0\twait\t10 ms\n本/始:0\twait\t10 ms\n"
                          "本/始:1\tstop\tafter 2 events\n");
}

struct UsageCase {
    std::vector<std::string> arguments;
    std::string error;
};

class CliPlayUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(CliPlayUsage, IsRefusedWithTwoBeforePlaying) {
    TempFolder folder;
    folder.write("bad.answers", "key\nchoose 0\n");
    std::vector<std::string> arguments = {"play", kSample};
    for (std::string argument : GetParam().arguments) {
        if (argument == "BAD")
            argument = (folder.path() / "bad.answers").string();
        arguments.push_back(argument);
    }
    const auto result = runCliCommand(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().error), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliPlayUsage,
    testing::Values(UsageCase{{"--from", "第一章"}, "--from needs two values"},
                    UsageCase{{"--from", "第一章", "無い"}, "no such book or page"},
                    UsageCase{{"--clock", "2026-13-01T00:00:00"}, "--clock needs a time"},
                    UsageCase{{"--seed", "x"}, "--seed needs a number"},
                    UsageCase{{"--max-events", "0"}, "--max-events needs a number"},
                    UsageCase{{"--answers", "BAD"}, "answers line 2: choose 0"},
                    UsageCase{{"--answers", "/nonexistent/answers"}, "/nonexistent/answers"}));

} // namespace
} // namespace pagora
