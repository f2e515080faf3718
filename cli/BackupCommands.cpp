// backup: copy groups of game files into a directory.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "OutputOptions.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "transfer/Backup.h"

namespace pitwall::cli {

namespace {

class TextCopyProgress : public CopyProgress {
public:
    TextCopyProgress(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
    void start(int items, std::uint64_t bytes) override
    {
        items_ = items;
        if (!quiet_)
            err_ << "backing up " << items << " groups, " << FormatSize(bytes) << '\n';
    }
    void step(std::uint64_t bytes, int items) override
    {
        done_ += items;
        if (!quiet_)
            err_ << "  [" << done_ << "/" << items_ << "] " << FormatSize(bytes) << '\n';
    }
    void finish() override {}

private:
    std::ostream& err_;
    bool quiet_;
    int items_ = 0;
    int done_ = 0;
};

} // namespace

void AddBackupCommands(CLI::App& app, CliContext& context)
{
    auto* cmd = app.add_subcommand("backup", "Copy groups of game files into a directory (groups 0..15, or all)");
    auto game = std::make_shared<std::string>();
    auto groups = std::make_shared<std::string>();
    auto to = std::make_shared<std::string>();
    AddGameOption(cmd, *game, context);
    cmd->add_option("--groups", *groups, "Groups like 0,1,3-5 or all")->required();
    cmd->add_option("-o,--output", *to, "Target folder");
    cmd->add_option("--to", *to, "Target folder")->group(""); // the older spelling
    cmd->callback([&context, game, groups, to] {
        RequireOutput(*to);
        CliSession s(context, *game);
        std::vector<int> chosen = ParseNumberList(*groups, 0, static_cast<int>(kBackupGroups.size()) - 1, "group");
        if (IsGameDirectoryItself(s.session().program.settings.gameDirectory, *to))
            throw CommandFailure(Windows1252ToUtf8(context.texts.text(kBackupIntoGameText)));
        TextCopyProgress progress(context.err, context.quiet);
        auto result = RunBackup(s.session().program.settings.gameDirectory, *to, chosen, progress);
        if (!result)
            throw CommandFailure(Windows1252ToUtf8(context.texts.text(kBackupNoTargetText)));
        if (result->complete() && result->filesCopied == 0)
            throw CommandFailure(
                Windows1252ToUtf8(context.texts.format(kBackupNothingCopiedText, Args(UnquoteDirectory(*to)))));
        if (result->complete())
            return;
        for (const CopyFailure& f : result->failures)
            context.err << "  " << TerminalLine(f.file) << ": " << TerminalLine(f.reason) << '\n';
        const std::size_t n = result->failures.size();
        throw CommandFailure("the backup is incomplete: " + std::to_string(n) + (n == 1 ? " file was" : " files were")
                             + " not copied (listed above)");
    });
}

} // namespace pitwall::cli
