#pragma once

#include "cli/cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace pagora::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs pagora-cli in process and keeps what it printed.
inline CliRun runCliCommand(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = runCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

} // namespace pagora::test
