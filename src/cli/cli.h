#pragma once

#include "cli/cli_support.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace pagora {

// Exit statuses of the command line tool.
inline constexpr int kExitDone = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitFailure = 2; // bad usage, unreadable input, conversion error

// Runs one pagora-cli command (arguments without the program name). Output is
// UTF-8; messages go to err, and progress too when err is a terminal.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false);

// The arguments of a command line (without the program name) as its command
// reads them, before anything runs; empty when the line names no command.
// Throws UsageError when the command's arguments are wrong.
std::optional<ParsedArguments> parseCliArguments(const std::vector<std::string>& arguments);

} // namespace pagora
