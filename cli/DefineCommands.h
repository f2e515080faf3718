#pragma once
// The whole command line as one CLI11 application: global options and every
// command with its options. The program runs it; the build walks the same
// tree to write the shell completions and the man page.

#include "CliContext.h"

#include <CLI/CLI.hpp>

namespace pitwall::cli {

void DefineCommands(CLI::App& app, CliContext& context);

} // namespace pitwall::cli
