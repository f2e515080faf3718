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

inline CliRun RunCommand(std::vector<std::string> args)
{
    args.insert(args.begin(), "pitwall-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    cli::CliContext context(out, err, PITWALL_RUNTIME_DIR "/");
    CliRun r;
    r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace pitwall::test
