#pragma once
// Runs one pitwall-cli command line in-process, with the language files of
// the build, and returns what it printed.

#include "RunCli.h"

#include <sstream>
#include <string>
#include <vector>

namespace pitwall::test {

struct CliRun {
    int code = 0;
    std::string out, err;
};

// `executableDirectory`: where the program runs from (its settings beside it
// when the folder is writable).
inline CliRun RunCommand(std::vector<std::string> args,
                         const std::string& executableDirectory = PITWALL_RUNTIME_DIR "/")
{
    args.insert(args.begin(), "pitwall-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    cli::CliContext context(out, err, executableDirectory);
    CliRun r;
    r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace pitwall::test
