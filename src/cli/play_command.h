#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli play FILE.csf [--from BOOK PAGE] [--answers FILE] [--seed N]
// [--clock TIME] [--max-events N]: plays the comic without a display, one
// trace line per event, answering its waits from the answers file.
int runPlay(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
