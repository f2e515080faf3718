#pragma once
// Finds and loads the sound module (pitwall-sound) in a directory, normally
// the program's own (lib/pitwall beside bin/ when installed), and makes a player from it. The module stays loaded for
// the rest of the run once a player has been made.

#include "SoundPlayer.h"

#include <memory>

namespace pitwall::gui {

struct SoundModuleLoad {
    std::unique_ptr<SoundPlayer> player;
    // Without a player: the module's full file name, and why it could not be
    // used (empty when the file is not there at all).
    QString file;
    QString reason;
};

// The file name of the module (as the build names it).
QString SoundModuleFileName();
SoundModuleLoad LoadSoundModule(const QString& directory);

} // namespace pitwall::gui
