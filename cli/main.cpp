#include "RunCli.h"

#include "app/ProgramDirectories.h"
#include "base/CommandLine.h"
#include "base/HeapSettings.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    pitwall::UseLargeBlockHeap();
#ifdef SIGXFSZ
    // Beyond a file-size limit (ulimit -f) a write then fails and is
    // reported like a full disk, and the working directory is still removed,
    // instead of the process being killed half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    pitwall::UseUtf8Console();
    // Paths and texts on the command line as UTF-8 (on Windows from the wide
    // command line, not the ANSI code page).
    std::vector<std::string> arguments = pitwall::Utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const auto& a : arguments)
        pointers.push_back(a.c_str());
    pointers.push_back(nullptr);
    pitwall::cli::CliContext context(std::cout, std::cerr, pitwall::ExecutableDirectory(argv[0]));
    return pitwall::cli::RunCli(static_cast<int>(arguments.size()), pointers.data(), context);
}
