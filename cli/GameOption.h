#pragma once
// The --game option of the commands that work on an installation. Left out,
// the game is the one PITWALL_GAME names, else the one the desktop program
// last worked on (GP3Path in its settings file).

#include "CliContext.h"

#include <CLI/CLI.hpp>
#include <string>

namespace pitwall::cli {

void AddGameOption(CLI::App* command, std::string& game, const CliContext& context);

// The game directory to use when --game was not given: a usage error naming
// --game, PITWALL_GAME and the settings file when there is none, a
// CommandFailure saying where a default came from when it is not a folder.
std::string DefaultGameDirectory(const CliContext& context);

} // namespace pitwall::cli
