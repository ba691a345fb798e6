#include "cli/console_prompter.h"

#include "platform/encoding.h"
#include "platform/message_line.h"

#include <ostream>

namespace pagora {

Answer ConsolePrompter::message(MessageKind kind, std::string_view text, Buttons buttons) {
    report(kind, toUtf8(text));
    return safeDefault(buttons);
}

void ConsolePrompter::report(MessageKind kind, std::string_view utf8Text) {
    writeMessageLine(err_, kind, utf8Text);
    err_ << '\n';
}

} // namespace pagora
