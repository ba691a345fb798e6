#pragma once

#include <string>
#include <vector>

namespace pagora {

struct CliContext;

// pagora-cli tree FILE.csf: books in order, each page below with its line count.
int runTree(const std::vector<std::string>& arguments, CliContext& context);
// pagora-cli resave FILE.csf [OUT.csf]: what the editor's Save does.
int runResave(const std::vector<std::string>& arguments, CliContext& context);
// pagora-cli new OUT.csf [--user NAME]: a new comic, saved as a first save does.
int runNew(const std::vector<std::string>& arguments, CliContext& context);

} // namespace pagora
