#pragma once

#include "platform/scripted_prompter.h"

#include <string_view>

namespace pagora {

// Writes one line of a script's output to standard output, at once.
void printScriptLine(std::string_view utf8Line);

// The Prompter of a script run: every message box is printed as the command
// line tool prints it and answered from the script's queued answers (else
// its safe default); inputs and choosers take the queued results.
class PrintingPrompter : public ScriptedPrompter {
public:
    Answer message(MessageKind kind, std::string_view text, Buttons buttons) override;
};

} // namespace pagora
