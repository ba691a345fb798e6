#include "platform/message_line.h"

#include <cstdio>

namespace pagora {
namespace {

std::string escapedByte(const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

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

std::string escapeControls(std::string_view utf8Text) {
    std::string escaped;
    escaped.reserve(utf8Text.size());
    for (std::size_t i = 0; i < utf8Text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8Text[i]);
        const auto next =
            i + 1 < utf8Text.size() ? static_cast<unsigned char>(utf8Text[i + 1]) : 0u;
        if (byte == '\t') {
            escaped += "\\t";
        } else if (byte == '\n') {
            escaped += "\\n";
        } else if (byte == '\r') {
            escaped += "\\r";
        } else if (byte < 0x20 || byte == 0x7f) {
            escaped += escapedByte("\\x%02x", byte);
        } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {
            escaped += escapedByte("\\u%04x", next); // a C1 control, two bytes in UTF-8
            ++i;
        } else {
            escaped += static_cast<char>(byte);
        }
    }
    return escaped;
}

std::string messageLine(MessageKind kind, std::string_view utf8Text) {
    return label(kind) + escapeLineBreaks(utf8Text);
}

} // namespace pagora
