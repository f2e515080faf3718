#include "Commands.h"

#include "app/ProgramDirectories.h"

#include <iostream>

int main(int argc, char** argv)
{
    pitwall::cli::CliContext context(std::cout, std::cerr, pitwall::ExecutableDirectory(argv[0]));
    return pitwall::cli::RunCli(argc, argv, context);
}
