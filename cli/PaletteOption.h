#pragma once
// The game palette of a command: --palette FILE, else PITWALL_PALETTE, else
// the palette chosen in the desktop program's Options, else the stand-in
// `GP3 Palette.pal` beside the program.

#include "CliContext.h"

#include "formats/Palette.h"

#include <optional>
#include <string>

namespace pitwall::cli {

struct CommandPalette {
    std::optional<Palette> palette; // none when no palette file is there
    std::string file;               // the file it came from
    bool userChosen = false;        // not the one beside the program
    bool standIn = false;           // the stand-in's colours
};

// A palette the user named that cannot be read fails the command; a missing
// or damaged palette beside the program leaves `palette` empty and `problem`
// set, for the commands that need none.
CommandPalette LoadCommandPalette(const CliContext& context, std::string* problem = nullptr);

} // namespace pitwall::cli
