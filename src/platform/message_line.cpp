#include "platform/message_line.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

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

// Hands the text to sink in runs: the text between line breaks, and the two
// characters \r or \n for each break.
template <typename Sink> void forEachEscapedRun(std::string_view text, Sink sink) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t lineBreak = text.find_first_of("\r\n", start);
        sink(text.substr(start, lineBreak - start));
        if (lineBreak == std::string_view::npos)
            return;
        sink(text[lineBreak] == '\r' ? "\\r" : "\\n");
        start = lineBreak + 1;
    }
}

} // namespace

std::string escapeLineBreaks(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() +
                    static_cast<std::size_t>(std::count_if(
                        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; })));
    forEachEscapedRun(text, [&escaped](std::string_view run) { escaped.append(run); });
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

void writeMessageLine(std::ostream& out, MessageKind kind, std::string_view utf8Text) {
    out << label(kind);
    forEachEscapedRun(utf8Text, [&out](std::string_view run) {
        out.write(run.data(), static_cast<std::streamsize>(run.size()));
    });
}

} // namespace pagora
