#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli pack FILE.csf OUT.cpf [--compress NAME]...: builds the comic's
// package as the package wizard does.
int runPack(const ParsedArguments& parsed, CliContext& context);
// pagora-cli ls ARCHIVE.cpf: the header and every directory entry.
int runLs(const ParsedArguments& parsed, CliContext& context);
// pagora-cli unpack ARCHIVE.cpf DIR [--max-size BYTES]: writes every entry into
// DIR, none larger than BYTES (512 MiB unless given).
int runUnpack(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
