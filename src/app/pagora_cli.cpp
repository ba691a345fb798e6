#include "cli/cli.h"

#include <iostream>

int main(int argc, char** argv) {
    return pagora::runCli({argv + 1, argv + argc}, std::cout, std::cerr);
}
