#pragma once
// The program-wide state set up when the main window is created and cleaned
// up when the program ends: directories, settings, the UI texts and the
// recognised game installation.

#include "app/Language.h"
#include "app/ProgramDirectories.h"
#include "app/Settings.h"
#include "base/InstallationLock.h"
#include "base/OwnerLock.h"
#include "base/UITexts.h"
#include "formats/GameInstallation.h"
#include "formats/Palette.h"

#include <memory>
#include <string>

namespace pitwall {

class MessageSink;

struct ProgramState {
    ProgramDirectories directories;
    Settings settings;
    // The settings as the file held them at the start: at the end only what
    // this run changed is written, over what another instance wrote since.
    Settings settingsAsRead;
    UITexts texts;
    std::vector<std::string> languageFiles;
    int languageIndex = 0;
    int gameVersion = kUnknownVersion;
    int savegameFormat = 0;
    std::string currentCarsetFile;
    // Where restore points are kept (one folder per installation below it);
    // empty: the user's data directory.
    std::string restorePointRoot;
    // Who writes into installations (named to a second writer); the desktop
    // program leaves the run's start open, so that each export is a run.
    WriterInfo writer;
    // The game palette (GP3 Palette.pal beside the program), loaded at start.
    Palette palette;
    bool firstActivationDone = false;
    // Held while the program runs: the working directory is this instance's
    // (see app/WorkingDirectory.h). Empty for a state that owns none.
    std::shared_ptr<OwnerLock> workingDirectoryLock;
};

enum class StartupOutcome { Ready, NoLanguageFiles, NoWorkingDirectory };

// The non-window steps of creating the main window, in order: directories,
// settings, language, a fresh working directory of this instance's own
// (TEMP, or TEMP-2 ... when another running instance owns TEMP; anything left
// in it from an earlier run is deleted, read-only files included, a link as
// a link; then the working and staging directories are created owner-only,
// and when they cannot be had as new, real directories of our own, that is
// reported and the program does not start; leftovers of crashed instances
// beside it are removed) and the game palette (a missing or damaged
// palette file is reported and leaves an all-black palette; the user's
// palette file, when one is chosen, then replaces it, or is reported and
// leaves the one beside the program).
StartupOutcome StartProgram(ProgramState& state, const std::string& executableDirectory, MessageSink& sink,
                            const EnvironmentLookup& environment = SystemEnvironment);

// Recognises the installation in the game directory and stores the version
// and savegame format; returns the detection with the message to show.
GameDetection RecogniseGame(ProgramState& state);

// Writes the settings, deletes the working directory and gives it up. A settings file
// that cannot be written is reported through the sink; the clean-up still
// runs.
void ShutdownCleanup(ProgramState& state, MessageSink& sink);

} // namespace pitwall
