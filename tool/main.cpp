// corkpane-tool: the program's modules from the command line.
#include "CommandRegistry.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    // Text is bytes (Shift_JIS): no locale conversion, no newline mangling.
    std::ios::sync_with_stdio(false);
    tool::Args args(argv + 1, argv + argc);
    tool::Io io{std::cin, std::cout, std::cerr};
    const int status = tool::CommandRegistry::instance().run(args, io);
    std::cout.flush();
    return status;
}
