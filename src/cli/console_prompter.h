#pragma once

#include "platform/prompter.h"

#include <iosfwd>

namespace pagora {

// The command line tool's Prompter: each message goes to the error stream as
// one UTF-8 line, "error: ", "warning: ", "information: " or "confirmation: "
// and the text with CR and LF written as \r and \n. Questions take their safe
// default; inputs and choosers are cancelled.
class ConsolePrompter : public QuietPrompter {
public:
    explicit ConsolePrompter(std::ostream& err)
        : err_(err) {}

    Answer message(MessageKind kind, std::string_view text, Buttons buttons) override;

    // Prints a UTF-8 text in the same form as a message of that kind.
    void report(MessageKind kind, std::string_view utf8Text);

private:
    std::ostream& err_;
};

} // namespace pagora
