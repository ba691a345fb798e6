#pragma once

#include "platform/prompter.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace pagora {

// A message as one line of text for a console: "error: ", "warning: ",
// "information: " or "confirmation: " and the UTF-8 text with CR and LF
// written as \r and \n (no line end).
std::string messageLine(MessageKind kind, std::string_view utf8Text);

// The same line written to out, without building it in memory.
void writeMessageLine(std::ostream& out, MessageKind kind, std::string_view utf8Text);

// The text with CR and LF written as \r and \n.
std::string escapeLineBreaks(std::string_view text);

// UTF-8 text safe to print on a terminal: tab, LF and CR written as \t, \n
// and \r, the other C0 controls and DEL as \x1b and the like, and the C1
// controls U+0080 to U+009F as \u0080 to \u009f.
std::string escapeControls(std::string_view utf8Text);

} // namespace pagora
