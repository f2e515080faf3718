#pragma once
// The command line's entry point, without the parser's headers: the program's
// main and the tests include only this.

#include "CliContext.h"

namespace pitwall::cli {

// Parses and runs one command line; returns the exit code (0 ok, 1 failure,
// 2 usage). Output that could not all be written to `context.out` is a
// failure.
int RunCli(int argc, const char* const* argv, CliContext& context);

} // namespace pitwall::cli
