#pragma once

#include "platform/prompter.h"

#include <string>
#include <string_view>

namespace pagora {

// A message as one line of text for a console: "error: ", "warning: ",
// "information: " or "confirmation: " and the UTF-8 text with CR and LF
// written as \r and \n (no line end).
std::string messageLine(MessageKind kind, std::string_view utf8Text);

// The text with CR and LF written as \r and \n.
std::string escapeLineBreaks(std::string_view text);

} // namespace pagora
