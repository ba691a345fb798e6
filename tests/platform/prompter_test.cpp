#include "platform/message_line.h"
#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace pagora {
namespace {

TEST(SafeDefault, NeverConfirmsADestructiveChoice) {
    EXPECT_EQ(safeDefault(Buttons::Ok), Answer::Ok);
    EXPECT_EQ(safeDefault(Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(safeDefault(Buttons::YesNo), Answer::No);
    EXPECT_EQ(safeDefault(Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(safeDefault(Buttons::AbortIgnore), Answer::Ignore);
}

TEST(ScriptedPrompter, RecordsCallsAndAnswersFromItsQueues) {
    ScriptedPrompter prompter;
    prompter.queueAnswer(Answer::Abort);
    prompter.queueInput("typed");
    prompter.queuePath(std::filesystem::path("/tmp/x.csf"));
    prompter.queueColor(0x00FF0000u);

    EXPECT_EQ(prompter.message(MessageKind::Error, "first", Buttons::AbortIgnore), Answer::Abort);
    EXPECT_EQ(prompter.message(MessageKind::Confirmation, "second", Buttons::YesNo), Answer::No);
    EXPECT_EQ(prompter.inputText("caption", "prompt", ""), "typed");
    EXPECT_EQ(prompter.inputText("caption", "again", ""), std::nullopt);
    FileChooser chooser;
    chooser.title = "open";
    EXPECT_EQ(prompter.openFile(chooser), std::filesystem::path("/tmp/x.csf"));
    EXPECT_EQ(prompter.saveFile(chooser), std::nullopt);
    EXPECT_EQ(prompter.chooseColor(0), 0x00FF0000u);
    EXPECT_EQ(prompter.chooseColor(0), std::nullopt);

    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"first", "second"}));
    ASSERT_EQ(prompter.records().size(), 8u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter.records()[0].buttons, Buttons::AbortIgnore);
    EXPECT_EQ(prompter.records()[2].call, ScriptedPrompter::Call::InputText);
    EXPECT_EQ(prompter.records()[2].text, "prompt");
    EXPECT_EQ(prompter.records()[4].text, "open");
}

} // namespace
} // namespace pagora

namespace pagora {
namespace {

struct LineBreakCase {
    std::string_view text;
    std::string_view escaped;
};

class MessageLineBreaks : public testing::TestWithParam<LineBreakCase> {};

TEST_P(MessageLineBreaks, AreEscapedAlikeWhetherTheLineIsBuiltOrWritten) {
    const LineBreakCase& c = GetParam();
    const std::string expected = "warning: " + std::string(c.escaped);
    EXPECT_EQ(escapeLineBreaks(c.text), c.escaped);
    EXPECT_EQ(messageLine(MessageKind::Warning, c.text), expected);
    std::ostringstream written;
    writeMessageLine(written, MessageKind::Warning, c.text);
    EXPECT_EQ(written.str(), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageLineBreaks,
                         testing::Values(LineBreakCase{"", ""}, LineBreakCase{"plain", "plain"},
                                         LineBreakCase{"a\r\nb", "a\\r\\nb"},
                                         LineBreakCase{"\n\r", "\\n\\r"},
                                         LineBreakCase{"ends\n", "ends\\n"},
                                         LineBreakCase{"\rstarts", "\\rstarts"},
                                         LineBreakCase{"a\rb\nc\\n", "a\\rb\\nc\\n"}));

} // namespace
} // namespace pagora
