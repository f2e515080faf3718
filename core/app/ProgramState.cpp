#include "app/ProgramState.h"

#include "app/GamePalette.h"
#include "app/WorkingDirectory.h"
#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/PrivateDirectory.h"

namespace pitwall {

StartupOutcome StartProgram(ProgramState& state, const std::string& executableDirectory, MessageSink& sink,
                            const EnvironmentLookup& environment)
{
    state.directories = ComputeProgramDirectories(executableDirectory, environment);
    ReadSettings(state.directories.settingsFileToRead(), state.settings);
    if (!state.settings.gameDirectory.empty())
        state.settings.gameDirectory = IncludeTrailingBackslash(state.settings.gameDirectory);
    state.settingsAsRead = state.settings;

    SelectedLanguage language =
        SelectLanguage(state.directories.program, state.settings.languageFile, state.texts, sink);
    if (language.outcome == LanguageSelection::NoLanguageFiles)
        return StartupOutcome::NoLanguageFiles;
    state.languageFiles = std::move(language.files);
    state.languageIndex = language.index;
    state.settings.languageFile = language.file;

    state.currentCarsetFile.clear();
    // A working directory no other running instance owns. Carsets are
    // unpacked there, so nobody else may have put anything in the way: a
    // directory (or link) that survives the deletion is refused.
    state.workingDirectoryLock.reset();
    try {
        const std::string family = state.directories.working;
        state.workingDirectoryLock = ClaimWorkingDirectory(state.directories);
        DeleteTree(state.directories.working);
        CreatePrivateDirectory(state.directories.working);
        CreatePrivateDirectory(state.directories.staging);
        RemoveLeftoverWorkingDirectories(family);
    } catch (const PrivateDirectoryError& e) {
        sink.showMessage(Message{-1, std::string("Pitwall cannot set up its working directory. ") + e.what()});
        return StartupOutcome::NoWorkingDirectory;
    }
    state.firstActivationDone = false;

    LoadGamePalette(state, sink, environment);
    return StartupOutcome::Ready;
}

GameDetection RecogniseGame(ProgramState& state)
{
    GameDetection d = DetectGameVersions(state.settings.gameDirectory);
    state.gameVersion = d.gameVersion;
    state.savegameFormat = d.savegameFormat;
    return d;
}

void ShutdownCleanup(ProgramState& state, MessageSink& sink)
{
    try {
        WriteSettings(state.directories.settingsFile(), state.settings, &state.settingsAsRead);
    } catch (const std::exception& e) {
        sink.showMessage(Message{-1, e.what()});
    }
    // Only an owner empties its working directory.
    if (state.workingDirectoryLock)
        DeleteTree(state.directories.working);
    state.workingDirectoryLock.reset();
}

} // namespace pitwall
