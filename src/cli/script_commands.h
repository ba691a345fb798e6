#pragma once

#include <string>
#include <vector>

namespace pagora {

struct CliContext;

// pagora-cli outline FILE.csf [--book BOOK] [--page PAGE]: the command list of
// each page as the editor shows it.
int runOutline(const std::vector<std::string>& arguments, CliContext& context);
// pagora-cli fmt FILE.csf [-o OUT.csf] [--check]: every command line as the
// editor writes it.
int runFmt(const std::vector<std::string>& arguments, CliContext& context);

} // namespace pagora
