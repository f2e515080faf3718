// art menu export-all, art loading export, art loading import: the menu
// backgrounds of the art bank and the six loading pictures, as files named
// by a pattern whose "*" becomes the picture's number.

#include "CliSession.h"
#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "OutputOptions.h"

#include "base/FileUtils.h"
#include "formats/ArtBankDirectory.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"

#include <vector>

namespace pitwall::cli {

namespace {

// Questions are answered Yes only with --yes; without it the first question
// is kept so the command can name it.
class AnsweringMessages : public MessageSink {
public:
    AnsweringMessages(MessageSink& shown, bool yes) : shown_(shown), yes_(yes) {}
    void showMessage(const Message& message) override { shown_.showMessage(message); }
    bool askYesNo(const Message& message) override
    {
        if (!yes_ && declined.empty())
            declined = message.text;
        return yes_;
    }
    std::string declined;

private:
    MessageSink& shown_;
    bool yes_;
};

std::string RequirePattern(const std::string& pattern)
{
    if (pattern.find('*') == std::string::npos)
        throw CommandFailure("the file-name pattern needs a \"*\" for the number: " + pattern);
    return pattern;
}

// The files a pattern names for the numbers first..last, each checked
// before the first is written: a pattern pointing into an installation
// ("GAME/BITMAPS/LOADING*.BMP") would replace its pictures with no restore
// point.
std::vector<std::string> PatternTargets(const std::string& pattern, int first, int last)
{
    std::vector<std::string> targets;
    for (int n = first; n <= last; ++n)
        targets.push_back(RequireNoGameFileAt(PatternFileName(pattern, n)));
    return targets;
}

void ImportItem(CliSession& s, int item, const char* what)
{
    s.workingSet().transfer.selection = {};
    s.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), what);
}

} // namespace

void AddMenuArtCommands(CLI::App& app, CliContext& context)
{
    CLI::App* art = app.get_subcommand("art");
    {
        auto* menu = art->add_subcommand("menu", "The 85 menu backgrounds (art-bank entries 755-839)");
        menu->require_subcommand(1);
        auto* cmd = menu->add_subcommand("export-all", "Save every menu background as a BMP or JPG");
        auto game = std::make_shared<std::string>();
        auto pattern = std::make_shared<std::string>();
        cmd->add_option("PATTERN", *pattern, "File names, \"*\" for the number (BG*.JPG gives BG0.JPG..BG84.JPG)")
            ->required();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, pattern] {
            RequirePattern(*pattern);
            const std::string bank = GameFile(*game, kArtBankGamePath);
            const std::vector<std::string> targets = PatternTargets(*pattern, 0, kMenuBackgroundCount - 1);
            MakeFolderOf(*pattern);
            CommandMessages messages(context);
            // No replacement pictures here: every background comes from the bank.
            for (int n = 0; n < kMenuBackgroundCount; ++n) {
                const std::string& target = targets[static_cast<std::size_t>(n)];
                if (!SaveMenuBackground(std::string(), bank, n, target, messages.get()))
                    messages.fail("cannot write " + target);
                else
                    Detail(context, "wrote " + target);
            }
            Note(context, std::to_string(kMenuBackgroundCount) + " menu backgrounds written");
        });
    }
    auto* loading = art->add_subcommand("loading", "The six loading pictures BITMAPS\\LOADING1.BMP..LOADING6.BMP");
    loading->require_subcommand(1);
    {
        auto* cmd = loading->add_subcommand("export", "Copy the six loading pictures to files");
        auto game = std::make_shared<std::string>();
        auto pattern = std::make_shared<std::string>();
        cmd->add_option("PATTERN", *pattern, "File names, \"*\" for the number 1-6")->required();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, pattern] {
            RequirePattern(*pattern);
            const std::vector<std::string> targets = PatternTargets(*pattern, 1, kLoadingPictureCount);
            CliSession s(context, *game);
            ImportItem(s, kLoadingPicturesItem, "the import of the loading pictures");
            const std::string& work = s.session().program.directories.working;
            MakeFolderOf(*pattern);
            for (int n = 1; n <= kLoadingPictureCount; ++n) {
                std::string reason;
                const std::string& target = targets[static_cast<std::size_t>(n - 1)];
                if (!CopyFileForced(work + LoadingPictureName(n), target, &reason))
                    throw CommandFailure("cannot write " + target + ": " + reason);
                Detail(context, "wrote " + target);
            }
            Note(context, std::to_string(kLoadingPictureCount) + " loading pictures written");
        });
    }
    {
        auto* cmd = loading->add_subcommand(
            "import", "Replace the loading pictures for which files of the pattern exist (640 x 480)");
        auto game = std::make_shared<std::string>();
        auto pattern = std::make_shared<std::string>();
        auto yes = std::make_shared<bool>(false);
        cmd->add_option("PATTERN", *pattern, "File names, \"*\" for the number 1-6")->required();
        AddGameOption(cmd, *game, context);
        cmd->add_flag("--yes", *yes, "Stretch pictures of another size to 640 x 480");
        cmd->callback([&context, game, pattern, yes] {
            RequirePattern(*pattern);
            RequirePictureFile(context, *pattern);
            CliSession s(context, *game);
            ImportItem(s, kLoadingPicturesItem, "the import of the loading pictures");
            AnsweringMessages sink(context.sink, *yes);
            Messenger messenger(context.texts, sink);
            int found = 0;
            for (int n = 1; n <= kLoadingPictureCount; ++n) {
                const std::string file = PatternFileName(*pattern, n);
                if (!FileExists(file))
                    continue;
                ++found;
                if (TakeInLoadingPicture(s.session().program.directories.working, n, file, messenger))
                    continue;
                if (!sink.declined.empty())
                    throw CommandFailure(file + ": " + sink.declined + " (answer Yes with --yes); nothing was written");
                throw CommandFailure("cannot take in " + file + "; nothing was written");
            }
            if (found == 0)
                throw CommandFailure("no file matches " + *pattern);
            s.workingSet().transfer.selection = {};
            s.workingSet().transfer.selection[kLoadingPicturesItem] = 1;
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui()), "the export of the loading pictures");
            s.finish();
        });
    }
}

} // namespace pitwall::cli
