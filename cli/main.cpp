#include "Commands.h"

#include "app/ProgramDirectories.h"
#include "base/HugePageMalloc.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv)
{
    pitwall::RestartWithHugePageMalloc(argv);
#ifdef SIGXFSZ
    // Beyond a file-size limit (ulimit -f) a write then fails and is
    // reported like a full disk, and the working directory is still removed,
    // instead of the process being killed half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    pitwall::cli::CliContext context(std::cout, std::cerr, pitwall::ExecutableDirectory(argv[0]));
    return pitwall::cli::RunCli(argc, argv, context);
}
