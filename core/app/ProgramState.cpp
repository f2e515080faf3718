#include "app/ProgramState.h"

#include "app/GamePalette.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/PrivateDirectory.h"

namespace pitwall {

StartupOutcome StartProgram(ProgramState& state, const std::string& executableDirectory, MessageSink& sink,
                            const EnvironmentLookup& environment)
{
    state.directories = ComputeProgramDirectories(executableDirectory, environment);
    ReadSettings(state.directories.settingsFile(), state.settings);
    if (!state.settings.gameDirectory.empty())
        state.settings.gameDirectory = IncludeTrailingBackslash(state.settings.gameDirectory);

    SelectedLanguage language =
        SelectLanguage(state.directories.program, state.settings.languageFile, state.texts, sink);
    if (language.outcome == LanguageSelection::NoLanguageFiles)
        return StartupOutcome::NoLanguageFiles;
    state.languageFiles = std::move(language.files);
    state.languageIndex = language.index;
    state.settings.languageFile = language.file;

    state.currentCarsetFile.clear();
    // Carsets are unpacked here, so nobody else may have put anything in
    // the way: a directory (or link) that survives the deletion is refused.
    DeleteTree(state.directories.working);
    try {
        const std::string& working = state.directories.working;
        ForceDirectories(DirectoryOf(working.substr(0, working.size() - 1)));
        CreatePrivateDirectory(working);
        CreatePrivateDirectory(state.directories.staging);
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
        WriteSettings(state.directories.settingsFile(), state.settings);
    } catch (const std::exception& e) {
        sink.showMessage(Message{-1, e.what()});
    }
    DeleteTree(state.directories.working);
}

} // namespace pitwall
