#include "app/GamePalette.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "formats/PaletteFiles.h"

#include <exception>

namespace pitwall {

std::string ChosenPaletteFile(const Settings& settings, const EnvironmentLookup& environment)
{
    if (auto variable = environment(kPaletteVariable); variable && !variable->empty())
        return *variable;
    return settings.paletteFile;
}

bool ReadUserPalette(const std::string& file, Palette& palette, const UITexts& texts, MessageSink& sink)
{
    try {
        palette = ReadPaletteFile(file);
        return true;
    } catch (const std::exception& e) {
        // The reasons of the format readers name the file already.
        const std::string what = e.what();
        Messenger messenger(texts, sink);
        messenger.show(kPaletteUnreadableText, Args(what.find(file) == std::string::npos ? file + ": " + what : what));
        return false;
    }
}

namespace {

void LoadProgramPalette(ProgramState& state, MessageSink& sink)
{
    const std::string file = state.directories.program + kPaletteFileName;
    try {
        state.palette = LoadPaletteFile(file);
    } catch (const std::exception& e) {
        if (!FileExists(file)) {
            Messenger messenger(state.texts, sink);
            messenger.show(349, Args(file));
        } else {
            sink.showMessage(Message{-1, e.what()});
        }
    }
}

} // namespace

void LoadGamePalette(ProgramState& state, MessageSink& sink, const EnvironmentLookup& environment)
{
    LoadProgramPalette(state, sink);
    if (const std::string chosen = ChosenPaletteFile(state.settings, environment); !chosen.empty())
        ReadUserPalette(chosen, state.palette, state.texts, sink);
}

bool UsePaletteFile(ProgramState& state, const std::string& file, MessageSink& sink)
{
    if (file.empty()) {
        const bool wasChosen = !state.settings.paletteFile.empty();
        state.settings.paletteFile.clear();
        if (wasChosen)
            LoadProgramPalette(state, sink);
        return wasChosen;
    }
    Palette palette;
    if (!ReadUserPalette(file, palette, state.texts, sink))
        return false;
    state.settings.paletteFile = file;
    const bool changed = !(palette == state.palette);
    state.palette = palette;
    return changed;
}

} // namespace pitwall
