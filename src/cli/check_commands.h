#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli check FILE.csf [--json]: the editor's error check, one finding a line.
int runCheck(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
