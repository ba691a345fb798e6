#include "platform/message_line.h"

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

} // namespace

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

std::string messageLine(MessageKind kind, std::string_view utf8Text) {
    return label(kind) + escapeLineBreaks(utf8Text);
}

} // namespace pagora
