#include "cli/cli.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    return pagora::runCli({argv + 1, argv + argc}, std::cout, std::cerr, isatty(STDERR_FILENO));
}
