// text export, text import: the game's text files LDATA\<LANGUAGE>.str.

#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameWrites.h"

#include "app/GameInstallation.h"
#include "app/Windows1252.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "transfer/FileUtils.h"

namespace pitwall::cli {

namespace {

int RequireLanguage(const std::string& name, int gameVersion)
{
    int language = LanguageIndexOf(name);
    if (language < 0) {
        std::string known;
        for (int i = 0; i < kLanguageCount; ++i)
            known += (i ? ", " : "") + LanguageNameUtf8(i);
        throw CommandFailure("unknown language '" + name + "'; the languages are " + known);
    }
    if (!LanguagePresent(language, gameVersion))
        throw CommandFailure(LanguageNameUtf8(language) + " is not a language of " + GameVersionName(gameVersion));
    return language;
}

int RequireVersion(CliContext& context, const std::string& game)
{
    if (!DirectoryExists(game))
        throw CommandFailure("not a directory: " + game);
    GameDetection d = DetectGameVersions(IncludeTrailingBackslash(game));
    if (!d.ok)
        throw CommandFailure("not a valid Grand Prix 3 installation: "
                             + Windows1252ToUtf8(context.texts.text(d.messageNumber)));
    return d.gameVersion;
}

// 0 for .STR, 1 for .TXT.
int RequireKind(CliContext& context, const std::string& file)
{
    CommandMessages messages(context);
    int kind = CheckFileExtension(file, {".STR", ".TXT"}, true, messages.get());
    if (kind < 0)
        messages.fail("the file must end in .STR or .TXT: " + file);
    return kind;
}

} // namespace

void AddTextCommands(CLI::App& app, CliContext& context)
{
    auto* text = app.add_subcommand("text", "The game's texts of one language");
    text->require_subcommand(1);
    {
        auto* cmd = text->add_subcommand("export", "Save a language's texts as a .STR or .TXT file");
        auto game = std::make_shared<std::string>();
        auto language = std::make_shared<std::string>();
        auto out = std::make_shared<std::string>();
        cmd->add_option("LANGUAGE", *language, "Language name, such as ENGLISH")->required();
        cmd->add_option("OUT", *out, "File to write (.STR or .TXT)")->required();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->callback([&context, game, language, out] {
            const int version = RequireVersion(context, *game);
            const int l = RequireLanguage(*language, version);
            const int kind = RequireKind(context, *out);
            CommandMessages messages(context);
            std::vector<std::string> strings;
            if (!ReadStringFile(GameFile(*game, LanguageFileGamePath(l)), strings, messages.get()))
                messages.fail("cannot read the texts");
            if (kind == 0)
                WriteStringFile(*out, strings);
            else
                WriteTextFile(*out, strings);
        });
    }
    {
        auto* cmd = text->add_subcommand("import", "Replace a language's texts by a .STR or .TXT file");
        auto game = std::make_shared<std::string>();
        auto language = std::make_shared<std::string>();
        auto in = std::make_shared<std::string>();
        auto force = std::make_shared<bool>(false);
        cmd->add_option("LANGUAGE", *language, "Language name, such as ENGLISH")->required();
        cmd->add_option("IN", *in, "File to read (.STR or .TXT)")->required();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->add_flag("--force", *force, "Write even when the number of texts does not fit the game version");
        cmd->callback([&context, game, language, in, force] {
            const int version = RequireVersion(context, *game);
            const int l = RequireLanguage(*language, version);
            const int kind = RequireKind(context, *in);
            if (!FileExists(*in))
                throw CommandFailure(context.texts.format(349, Args(*in)));
            CommandMessages messages(context);
            std::vector<std::string> strings;
            if (kind == 0) {
                if (!ReadStringFile(*in, strings, messages.get()))
                    messages.fail("cannot read " + *in);
            } else {
                strings = ReadTextFile(*in);
            }
            if (!StringCountFits(l, version, strings.size()) && !*force)
                throw CommandFailure(Windows1252ToUtf8(context.texts.format(
                                         941, Args(GameVersionName(VersionOfStringCount(l, strings.size())),
                                                   GameVersionName(version))))
                                     + " (" + std::to_string(strings.size()) + " texts; --force writes anyway)");
            auto built = BuildStringFile(strings);
            try {
                RequireStringFileFits(built);
            } catch (const std::length_error& e) {
                throw CommandFailure(e.what());
            }
            GameChangeSet changes(IncludeTrailingBackslash(*game));
            changes.replaceFile(LanguageFileGamePath(l), std::move(built));
            CommitGameChanges(context, changes, "text import " + LanguageNameUtf8(l));
        });
    }
}

} // namespace pitwall::cli
