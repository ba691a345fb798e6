#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli outline FILE.csf [--book BOOK] [--page PAGE]: the command list of
// each page as the editor shows it.
int runOutline(const ParsedArguments& parsed, CliContext& context);
// pagora-cli fmt FILE.csf [-o OUT.csf] [--check]: every command line as the
// editor writes it.
int runFmt(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
