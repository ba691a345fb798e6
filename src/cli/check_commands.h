#pragma once

#include <string>
#include <vector>

namespace pagora {

struct CliContext;

// pagora-cli check FILE.csf [--json]: the editor's error check, one finding a line.
int runCheck(const std::vector<std::string>& arguments, CliContext& context);

} // namespace pagora
