// cockpit lcd export, cockpit lcd import, cockpit render.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "OutputOptions.h"

#include "base/FileUtils.h"
#include "cockpit/CockpitData.h"
#include "cockpit/LcdEmulation.h"
#include "cockpit/ThreeDFile.h"
#include "formats/Png.h"

namespace pitwall::cli {

namespace {

constexpr int kOutsideCockpitText = 909;

int LanguageOption(const std::string& name, int gameVersion)
{
    const int language = LanguageIndexOf(name);
    if (language < 0)
        throw CommandFailure("unknown language " + name);
    if (!LanguagePresent(language, gameVersion))
        throw CommandFailure("this game version has no language " + name);
    return language;
}

void Import(CliSession& s, std::initializer_list<int> items)
{
    auto& transfer = s.workingSet().transfer;
    transfer.selection = {};
    for (int item : items)
        transfer.selection[static_cast<std::size_t>(item)] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
    for (int item : items)
        if (!transfer.loaded[static_cast<std::size_t>(item)])
            throw CommandFailure("the installation's "
                                 + std::string(item == kCockpitSoftwareItem ? "cockpit graphics" : "LCD display file")
                                 + " could not be read");
}

PlaceholderCaptions Captions(const UITexts& texts)
{
    PlaceholderCaptions captions;
    for (int i = 0; i < kLcdPlaceholderCount; ++i)
        captions[static_cast<std::size_t>(i)] = texts.text(kPlaceholderCaptionText + i);
    return captions;
}

struct LcdOptions {
    std::string game;
    std::string language;
    std::string file;
};

CLI::App* LcdCommand(CLI::App* parent, const char* name, const char* help, LcdOptions& o, const char* fileHelp,
                     bool writes, const CliContext& context)
{
    auto* cmd = parent->add_subcommand(name, help);
    AddGameOption(cmd, o.game, context);
    cmd->add_option("--language", o.language, "Game language, e.g. ENGLISH")->required();
    if (writes)
        AddOutputOption(cmd, o.file, "FILE", fileHelp);
    else
        cmd->add_option("FILE", o.file, fileHelp)->required();
    return cmd;
}

} // namespace

void AddCockpitCommands(CLI::App& app, CliContext& context)
{
    auto* cockpit = app.add_subcommand("cockpit", "Cockpit LCD displays of an installation");
    cockpit->require_subcommand(1);
    auto* lcd = cockpit->add_subcommand("lcd", "A language's LCD display file (.3D)");
    lcd->require_subcommand(1);
    {
        auto o = std::make_shared<LcdOptions>();
        auto* cmd = LcdCommand(lcd, "export", "Write a language's LCD displays to a .3D file", *o, ".3D file to write",
                               true, context);
        cmd->callback([&context, o] {
            MakeFolderOf(RequireOutput(o->file));
            CliSession s(context, o->game);
            const int language = LanguageOption(o->language, s.session().program.gameVersion);
            Import(s, {LcdDisplayItem(language)});
            LcdDisplay display = s.workingSet().cockpit.displays[static_cast<std::size_t>(language)];
            ReplaceFileGuarded(context, o->file, WriteThreeD(display));
        });
    }
    {
        auto o = std::make_shared<LcdOptions>();
        auto* cmd = LcdCommand(lcd, "import", "Read a .3D file into a language's LCD displays of the installation", *o,
                               ".3D file to read", false, context);
        cmd->callback([&context, o] {
            CliSession s(context, o->game);
            const int language = LanguageOption(o->language, s.session().program.gameVersion);
            Import(s, {LcdDisplayItem(language)});
            auto& display = s.workingSet().cockpit.displays[static_cast<std::size_t>(language)];
            std::vector<std::uint8_t> bytes;
            try {
                bytes = ReadWholeFile(o->file, kThreeDMaxBytes);
            } catch (const std::exception& e) {
                throw CommandFailure("cannot read " + o->file + ": " + e.what());
            }
            try {
                display = ParseThreeD(bytes, display, Captions(s.session().program.texts), o->file);
            } catch (const ThreeDError& e) {
                throw CommandFailure(e.what());
            }
            s.workingSet().transfer.selection = {};
            s.workingSet().transfer.selection[static_cast<std::size_t>(LcdDisplayItem(language))] = 1;
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui()), "the export");
            s.finish();
        });
    }
    {
        auto o = std::make_shared<LcdOptions>();
        auto screen = std::make_shared<std::string>();
        auto element = std::make_shared<int>(-1);
        auto* cmd = cockpit->add_subcommand("render", "Draw a screen of the cockpit LCD as a PNG picture");
        AddGameOption(cmd, o->game, context);
        cmd->add_option("--language", o->language, "Game language, e.g. ENGLISH")->required();
        cmd->add_option("--screen", *screen, "Screen name, e.g. DRIVING_RACE_TEXT")->required();
        cmd->add_option("--element", *element, "Element drawn as chosen (0-20), for texts shown only then")
            ->check(CLI::Range(0, kLcdElementCount - 1));
        AddOutputOption(cmd, o->file, "FILE", "PNG file to write");
        cmd->callback([&context, o, screen, element] {
            MakeFolderOf(RequireOutput(o->file));
            const int screenIndex = LcdScreenIndex(*screen);
            if (screenIndex < 0)
                throw CommandFailure("unknown screen " + *screen);
            CliSession s(context, o->game);
            const int language = LanguageOption(o->language, s.session().program.gameVersion);
            Import(s, {kCockpitSoftwareItem, LcdDisplayItem(language)});
            LcdFont font;
            try {
                font = LcdFont::Load(context.programDirectory + "Font.BMP");
            } catch (const std::exception& e) {
                throw CommandFailure(e.what());
            }
            const CockpitData& cockpit = s.workingSet().cockpit;
            LcdScene scene;
            scene.preview = &cockpit.graphics[0].preview;
            scene.screen =
                &cockpit.displays[static_cast<std::size_t>(language)].screens[static_cast<std::size_t>(screenIndex)];
            scene.chosenElement = *element;
            scene.outsideText = s.session().program.texts.text(kOutsideCockpitText);
            ReplaceFileGuarded(context, o->file, EncodePng(RenderLcd(scene, font)));
        });
    }
}

} // namespace pitwall::cli
