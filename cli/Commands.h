#pragma once

#include "CliContext.h"
#include "RunCli.h"

#include <CLI/CLI.hpp>

namespace pitwall::cli {

// Each command group adds its subcommands to the application; the callbacks
// run with the context and throw CommandFailure on failure.
void AddInstallationCommands(CLI::App& app, CliContext& context);
void AddTransferCommands(CLI::App& app, CliContext& context);
void AddCarsetCommands(CLI::App& app, CliContext& context);
void AddLibraryCommands(CLI::App& app, CliContext& context);
void AddTeamsCommands(CLI::App& app, CliContext& context);
void AddSettingsCommands(CLI::App& app, CliContext& context);
void AddBackupCommands(CLI::App& app, CliContext& context);
void AddJamCommands(CLI::App& app, CliContext& context);
void AddArtCommands(CLI::App& app, CliContext& context);
// Adds to the art commands: call after AddArtCommands.
void AddMenuArtCommands(CLI::App& app, CliContext& context);
void AddSoundCommands(CLI::App& app, CliContext& context);
void AddTextCommands(CLI::App& app, CliContext& context);
void AddTrackCommands(CLI::App& app, CliContext& context);
void AddCockpitCommands(CLI::App& app, CliContext& context);
void AddCareerCommands(CLI::App& app, CliContext& context);
void AddTracksCommands(CLI::App& app, CliContext& context);
void AddGraphicsCommands(CLI::App& app, CliContext& context);
void AddItemsCommand(CLI::App& app, CliContext& context);

} // namespace pitwall::cli
