#include "GameOption.h"

#include "app/IniFile.h"
#include "app/ProgramDirectories.h"
#include "app/Settings.h"
#include "base/FileUtils.h"

namespace pitwall::cli {

std::string DefaultGameDirectory(const CliContext& context)
{
    // A default that no longer names a folder says where it came from: the
    // user did not type it.
    if (auto game = SystemEnvironment("PITWALL_GAME"); game && !game->empty()) {
        if (!DirectoryExists(*game))
            throw CommandFailure("PITWALL_GAME names " + *game + ", which is not a folder");
        return *game;
    }
    // The desktop program beside this one keeps its settings where it finds
    // them; only read here, so the file stays as the desktop program left it.
    std::string settings = context.desktopSettingsFile();
    IniFile ini;
    if (FileExists(settings) && ini.load(settings)) {
        std::string game = ini.readString(kGeneralSection, "GP3Path", "");
        if (!game.empty()) {
            if (!DirectoryExists(game))
                throw CommandFailure("the desktop program's game folder " + game + " (GP3Path in " + settings
                                     + ") does not exist; give --game DIRECTORY");
            return game;
        }
    }
    throw CLI::RequiredError("no game directory: give --game DIRECTORY, set PITWALL_GAME, or choose the game in the "
                             "desktop program (GP3Path in "
                                 + settings + ")",
                             CLI::ExitCodes::RequiredError);
}

void AddGameOption(CLI::App* command, std::string& game, const CliContext& context)
{
    command->add_option("--game", game, "Game directory (default: $PITWALL_GAME, else the desktop program's game)");
    // Runs before the parser has looked at the rest of the line, so a missing
    // game is a usage error like any other and a mistyped option still gets
    // its own message.
    command->parse_complete_callback([&game, &context] {
        if (game.empty())
            game = DefaultGameDirectory(context);
    });
}

} // namespace pitwall::cli
