#pragma once
// Which game palette the program uses. The palette shipped beside the
// program (`GP3 Palette.pal`) is a stand-in, since the game's own colours
// cannot be shipped; the user names the real one (taken from their
// installation or tools) in Options, remembered as the setting Palette, or
// for one run through the environment variable PITWALL_PALETTE.

#include "app/ProgramDirectories.h"
#include "app/ProgramState.h"
#include "app/Settings.h"
#include "formats/Palette.h"

#include <string>

namespace pitwall {

class MessageSink;
class UITexts;

inline constexpr const char* kPaletteVariable = "PITWALL_PALETTE";
// "The game palette cannot be read: %s|The palette in use stays."
inline constexpr int kPaletteUnreadableText = 1230;

// PITWALL_PALETTE when set and not empty, else the setting.
std::string ChosenPaletteFile(const Settings& settings, const EnvironmentLookup& environment = SystemEnvironment);

// Reads the user's palette file. False, with UI text 1230 naming the file
// and the reason shown, when it cannot be read; `palette` then stays.
bool ReadUserPalette(const std::string& file, Palette& palette, const UITexts& texts, MessageSink& sink);

// The palette at start: `GP3 Palette.pal` beside the program (missing: UI
// text 349; damaged: the reader's reason; either leaves all black), then the
// chosen file over it when one is chosen and readable.
void LoadGamePalette(ProgramState& state, MessageSink& sink, const EnvironmentLookup& environment = SystemEnvironment);

// The user's choice in Options: a file replaces the palette and becomes the
// setting when it can be read (else UI text 1230 and nothing changes); an
// empty name goes back to the palette beside the program. True when the
// palette in use changed.
bool UsePaletteFile(ProgramState& state, const std::string& file, MessageSink& sink);

} // namespace pitwall
