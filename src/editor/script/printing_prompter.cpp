#include "editor/script/printing_prompter.h"

#include "platform/encoding.h"
#include "platform/message_line.h"

#include <cstdio>

namespace pagora {

void printScriptLine(std::string_view utf8Line) {
    std::fwrite(utf8Line.data(), 1, utf8Line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

Answer PrintingPrompter::message(MessageKind kind, std::string_view text, Buttons buttons) {
    printScriptLine(messageLine(kind, toUtf8(text)));
    return ScriptedPrompter::message(kind, text, buttons);
}

} // namespace pagora
