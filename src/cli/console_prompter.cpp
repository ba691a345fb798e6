#include "cli/console_prompter.h"

#include "platform/encoding.h"

#include <ostream>

namespace pagora {
namespace {

const char* label(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return "error: ";
    case MessageKind::Warning:
        return "warning: ";
    case MessageKind::Information:
        return "information: ";
    case MessageKind::Confirmation:
        return "confirmation: ";
    }
    return "";
}

std::string escapeLineBreaks(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

Answer ConsolePrompter::message(MessageKind kind, std::string_view text, Buttons buttons) {
    report(kind, toUtf8(text));
    return safeDefault(buttons);
}

void ConsolePrompter::report(MessageKind kind, std::string_view utf8Text) {
    err_ << label(kind) << escapeLineBreaks(utf8Text) << '\n';
}

} // namespace pagora
