// Classifies, reads, rewrites, reads again and summarises an arbitrary line,
// and finds the names it uses. What the writer produces must be a fixed
// point: reading it and writing the record again gives the same line and the
// same record. Every name found is a non-empty part of the line, and a
// rename of the first one leaves no reference to the old name.
#include "document/cmd_ctrl.h"
#include "document/name_references.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    pagora::ScriptedPrompter prompter;
    pagora::TCmdCtrl syntax(prompter);
    pagora::TCmdCtrl::GetCommandKind(line);
    pagora::TCmdCtrl::GetOptionValue(line, "IF");
    syntax.CheckName(line);
    pagora::NameReferenceReader names;
    std::optional<pagora::NameTarget> first;
    names.forEach(line, [line, &first](const pagora::NameReference& reference) {
        if (reference.name.empty() || line.find(reference.name) == std::string_view::npos)
            __builtin_trap();
        if (!first)
            first = pagora::NameTarget{reference.kind, std::string(reference.name),
                                       std::string(reference.book)};
    });
    if (first && first->name != "renamed" && first->kind != pagora::NameKind::File) {
        const pagora::LineRewrite rewrite = names.rewrite(line, {*first, "renamed"});
        if (rewrite.result == pagora::LineRewrite::Result::Rewritten)
            names.forEach(rewrite.line, [&first](const pagora::NameReference& reference) {
                if (first->matches(reference))
                    __builtin_trap();
            });
    }
    try {
        syntax.MakeCmdRef(line);
    } catch (const pagora::ConversionError&) {
    }
    try {
        const std::string written = syntax.BuildCommand(syntax.ParseCommand(line));
        const pagora::CmdRecord reread = syntax.ParseCommand(written);
        const std::string rewritten = syntax.BuildCommand(reread);
        if (rewritten != written || syntax.ParseCommand(rewritten) != reread)
            __builtin_trap();
        syntax.MakeCmdRef(written);
    } catch (const pagora::ConversionError&) {
    }
    return 0;
}
