// text export, text import: a language's texts of an installation, read and
// written through the language areas (LDATA\<LANGUAGE>.str).

#include "CliSession.h"
#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "OutputOptions.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "texts/LanguagesArea.h"
#include "transfer/ReportedFormats.h"

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

// 0 for .STR, 1 for .TXT.
int RequireKind(CliContext& context, const std::string& file)
{
    CommandMessages messages(context);
    int kind = CheckFileExtension(file, {".STR", ".TXT"}, true, messages.get());
    if (kind < 0)
        messages.fail("the file must end in .STR or .TXT: " + file);
    return kind;
}

// The user's --force answers the count question with Yes; every other
// message goes to stderr as usual.
class ForcedAnswers : public MessageSink {
public:
    explicit ForcedAnswers(MessageSink& inner) : inner_(inner) {}
    void showMessage(const Message& message) override { inner_.showMessage(message); }
    bool askYesNo(const Message&) override { return true; }

private:
    MessageSink& inner_;
};

void ImportLanguage(CliSession& s, int language)
{
    s.workingSet().transfer.selection = {};
    s.workingSet().transfer.selection[static_cast<std::size_t>(LanguageItem(language))] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
    s.finish();
}

} // namespace

void AddTextCommands(CLI::App& app, CliContext& context)
{
    auto* text = app.add_subcommand("text", "The game's texts of one language");
    text->require_subcommand(1);
    {
        auto* cmd = text->add_subcommand("export", "Save a language's texts as a .STR or .TXT file");
        auto game = std::make_shared<std::string>();
        auto language = AddLanguageOption(cmd);
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT", "File to write (.STR or .TXT)");
        auto encoding = std::make_shared<std::string>("windows-1252");
        cmd->add_option("--encoding", *encoding, "Character set of a .TXT file: windows-1252 (as the game) or utf-8")
            ->check(CLI::IsMember({"windows-1252", "utf-8"}, CLI::ignore_case));
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, language, out, encoding] {
            const std::string& file = RequireNoGameFileAt(RequireOutput(*out));
            const int kind = RequireKind(context, file);
            const bool utf8 = EqualsIgnoreCase(*encoding, "utf-8");
            if (utf8 && kind == 0)
                throw CommandFailure("--encoding utf-8 is for .TXT files; a .STR file is always as the game reads it");
            CliSession s(context, *game);
            const int l = RequireLanguage(language->value(), s.session().program.gameVersion);
            ImportLanguage(s, l);
            const auto& strings = s.workingSet().gameTexts.languages[static_cast<std::size_t>(l)];
            try {
                MakeFolderOf(file);
                if (kind == 0)
                    WriteStringFile(file, strings);
                else
                    WriteTextFile(file, strings, utf8 ? TextFileEncoding::Utf8 : TextFileEncoding::Windows1252);
            } catch (const std::length_error& e) {
                throw CommandFailure(e.what());
            }
            Note(context, "wrote " + file);
        });
    }
    {
        auto* cmd = text->add_subcommand("import", "Replace a language's texts by a .STR or .TXT file");
        auto game = std::make_shared<std::string>();
        auto language = AddLanguageOption(cmd);
        auto in = std::make_shared<std::string>();
        auto force = std::make_shared<bool>(false);
        cmd->add_option("IN", *in, "File to read (.STR or .TXT)");
        AddGameOption(cmd, *game, context);
        cmd->add_flag("--force", *force, "Write even when the number of texts does not fit the game version");
        cmd->callback([&context, game, language, in, force] {
            // With --language named, the one positional argument is the file.
            if (!language->named.empty() && in->empty()) {
                *in = language->positional;
                language->positional.clear();
            }
            if (in->empty())
                throw CLI::RequiredError("IN");
            const int kind = RequireKind(context, *in);
            if (!FileExists(*in))
                throw CommandFailure(context.texts.format(349, Args(*in)));
            CliSession s(context, *game);
            const int version = s.session().program.gameVersion;
            const int l = RequireLanguage(language->value(), version);
            CommandMessages messages(context);
            std::vector<std::string> strings;
            if (kind == 0) {
                if (!ReadStringFile(*in, strings, messages.get()))
                    messages.fail("cannot read " + *in);
            } else {
                strings = ReadTextFile(*in);
            }
            // Everything the export would refuse is refused before it runs.
            try {
                RequireStringsFit(strings);
                RequireStringFileFits(BuildStringFile(strings));
            } catch (const std::length_error& e) {
                throw CommandFailure(e.what());
            }
            if (!StringCountFits(l, version, strings.size()) && !*force)
                throw CommandFailure(
                    TerminalLine(Windows1252ToUtf8(context.texts.format(
                        941, Args(GameVersionName(VersionOfStringCount(l, strings.size())), GameVersionName(version)))))
                    + " (" + std::to_string(strings.size()) + " texts; --force writes anyway)");
            const int item = LanguageItem(l);
            s.workingSet().gameTexts.languages[static_cast<std::size_t>(l)] = std::move(strings);
            s.workingSet().transfer.loaded[static_cast<std::size_t>(item)] = 1;
            s.workingSet().transfer.selection = {};
            s.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
            ForcedAnswers forced(context.sink);
            TransferUi ui{s.ui().loading, forced};
            ui.commitObserver = s.ui().commitObserver;
            ui.operation = PointOperation{point_kind::kTextImport, {LanguageNameUtf8(l)}};
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, ui), "the export");
            s.tellRestorePoint();
            s.finish();
        });
    }
}

} // namespace pitwall::cli
