#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli find FILE.csf TEXT [--match-case] [--raw]: the command lines
// whose display text (or raw line) holds TEXT.
int runFind(const ParsedArguments& parsed, CliContext& context);
// pagora-cli refs FILE.csf (--page BOOK PAGE | --book BOOK | --variable NAME |
// --file NAME): every line and header entry that leads to the name.
int runRefs(const ParsedArguments& parsed, CliContext& context);
// pagora-cli rename FILE.csf (--page BOOK OLD NEW | --book OLD NEW |
// --variable OLD NEW) [-o OUT.csf]: renames and rewrites the references as
// the editor does.
int runRename(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
