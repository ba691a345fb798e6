#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli tree FILE.csf: books in order, each page below with its line count.
int runTree(const ParsedArguments& parsed, CliContext& context);
// pagora-cli resave FILE.csf [OUT.csf]: what the editor's Save does.
int runResave(const ParsedArguments& parsed, CliContext& context);
// pagora-cli new OUT.csf [--user NAME]: a new comic, saved as a first save does.
int runNew(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
