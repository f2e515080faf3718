// import, apply, restore: moving items between installations through
// carsets, and putting an installation back as it was before a run.

#include "ApplyCarset.h"
#include "ArtExpansionOption.h"
#include "CarsetInfoOptions.h"
#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "ItemNames.h"
#include "JsonOutput.h"
#include "OutputOptions.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "sounds/SoundsArea.h"
#include "transfer/CarsetHeader.h"
#include "transfer/PointOperationText.h"
#include "transfer/SelectionItems.h"

#include <chrono>
#include <cstdio>
#include <optional>

namespace pitwall::cli {

namespace {

// --timings: the seconds each phase of a run took, one line each on stderr,
// for bench/compare.sh to set against the standard tools.
class PhaseTimer {
public:
    PhaseTimer(CliContext& context, bool enabled) : context_(context), enabled_(enabled) {}
    void phaseDone(const char* phase)
    {
        auto now = std::chrono::steady_clock::now();
        if (enabled_) {
            char line[64];
            std::snprintf(line, sizeof line, "timing %s %.4f\n", phase,
                          std::chrono::duration<double>(now - start_).count());
            context_.err << line << std::flush;
        }
        start_ = now;
    }

private:
    CliContext& context_;
    bool enabled_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// "2026-12-08T06:54:35Z" as seconds since 1970 (UTC); null when the
// manifest holds something else.
Json UnixSeconds(const std::string& iso)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char end = 0;
    if (iso.size() != 20 || std::sscanf(iso.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &end) != 7
        || end != 'Z' || h > 23 || mi > 59 || s > 60)
        return nullptr;
    using namespace std::chrono;
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!date.ok())
        return nullptr;
    return (sys_days{date}.time_since_epoch() / seconds{1}) + 3600LL * h + 60LL * mi + s;
}

// The point's operation in the CLI's language, UTF-8.
std::string OperationWords(const CliContext& context, const RestorePoint& p)
{
    return MessageTextToUtf8(OperationText(p, context.texts));
}

Json RestorePointJson(const CliContext& context, const RestorePoint& p)
{
    Json files = Json::array();
    for (const RestorePointFile& f : p.files)
        files.push_back({{"path", f.relativePath}, {"existed", f.existed}, {"size", f.size}});
    const std::string carset = p.what.carset();
    return Json{{"id", p.id},
                {"time", p.time},
                {"unixTime", UnixSeconds(p.time)},
                {"operation", p.operation},
                {"kind", p.what.kind.empty() ? Json(nullptr) : Json(p.what.kind)},
                {"arguments", p.what.args},
                {"words", OperationWords(context, p)},
                {"carset", carset.empty() ? Json(nullptr) : Json(carset)},
                {"fileCount", p.files.size()},
                {"totalSize", p.totalSize()},
                {"files", files}};
}

// A carset carries the sounds marked for it. The sounds editor's marks do
// not exist here: every sound goes, or the ones --sounds lists.
void MarkSoundsToCarry(SoundTable& table, const std::optional<std::vector<int>>& numbers)
{
    table.marks.assign(table.entries.size(), numbers ? 0 : 1);
    if (!numbers)
        return;
    for (int n : *numbers) {
        if (static_cast<std::size_t>(n) >= table.entries.size())
            throw CommandFailure("no sound " + std::to_string(n) + ": the installation's sound bank holds "
                                 + std::to_string(table.entries.size()) + " sounds, 0 to "
                                 + std::to_string(static_cast<int>(table.entries.size()) - 1));
        table.marks[static_cast<std::size_t>(n)] = 1;
    }
}

// Items listed for an apply that the carset does not carry: a note, or the
// end of the run when it carries none of them (nothing would be written).
// True when some are missing: the run goes on with the others but does not
// end as though it had done all that was asked.
bool SayWhatTheCarsetLacks(CliContext& context, const ItemBytes& asked, const CarsetHeader& header)
{
    std::string lacking;
    bool anyCarried = false;
    for (int n = 1; n <= kLastItem; ++n) {
        const auto i = static_cast<std::size_t>(n);
        // Item 9 and the select-all and row boxes (which a range or "all"
        // also names) carry nothing in any carset.
        if (!asked[i] || !IsDataItem(n))
            continue;
        if (header.items[i])
            anyCarried = true;
        else
            lacking += (lacking.empty() ? "" : ", ") + std::to_string(n);
    }
    if (!anyCarried)
        throw CommandFailure("the carset carries none of the listed items; nothing was done");
    if (lacking.empty())
        return false;
    // The reason the run ends with status 1: said also with --quiet.
    context.err << TerminalLine("the carset does not carry items " + lacking + "; they are left as they are") << '\n';
    return true;
}

} // namespace

TransferReport ApplyCarset(CliContext& context, const ApplyRequest& request, const AppliedCallback& applied)
{
    CliSession s(context, request.game);
    PhaseTimer timer(context, request.timings);
    if (request.expandArt)
        UseArtExpansion(s, context, request.dryRun);
    bool complete = request.items.empty();
    ItemBytes asked{};
    if (!complete) {
        asked = ParseItemList(request.items, context.texts);
        s.leaveOutItemsTheGameLacks(asked, request.items);
        s.workingSet().transfer.selection = asked;
    }
    s.require(s.engine().loadCarset(complete ? ItemChoice::AllHeld : ItemChoice::AsSelected, request.carset, s.ui()),
              "loading the carset");
    const bool skipped = !complete && SayWhatTheCarsetLacks(context, asked, s.engine().lastHeader());
    timer.phaseDone("load");
    // Export exactly what the carset load brought in.
    if (request.dryRun) {
        TransferOutcome outcome = s.engine().exportToGame(ItemChoice::AsSelected, s.ui(), ExportMode::Preview);
        PrintChanges(context, s.engine().lastReport().changes);
        s.require(outcome, "the export");
        s.finish();
        if (skipped)
            context.exitStatus = 1;
        return s.engine().lastReport();
    }
    TransferOutcome outcome = s.engine().exportToGame(ItemChoice::AsSelected, s.ui());
    TransferReport report = s.engine().lastReport();
    // Whatever else went wrong, files that were written stay written.
    if (applied && !report.restorePointId.empty() && !report.written.empty())
        applied(report);
    s.require(outcome, "the export");
    timer.phaseDone("export");
    // The closing lines count what was written and name the point that keeps
    // the files as they were.
    const std::size_t written = report.written.size();
    if (written == 0)
        Note(context,
             std::string("no game file changed") + (report.ok() ? ": the installation already held all of it" : ""));
    else
        Note(context, "wrote " + std::to_string(written) + (written == 1 ? " game file" : " game files"));
    s.tellRestorePoint();
    s.finish();
    if (skipped)
        context.exitStatus = 1;
    return report;
}

void AddTransferCommands(CLI::App& app, CliContext& context)
{
    {
        auto* cmd = app.add_subcommand("import", "Import items from an installation and save them as a carset");
        auto game = std::make_shared<std::string>();
        auto items = std::make_shared<std::string>();
        auto output = std::make_shared<std::string>();
        auto sounds = std::make_shared<std::string>();
        auto info = std::make_shared<CarsetInfoOptions>();
        auto timings = std::make_shared<bool>(false);
        AddGameOption(cmd, *game, context);
        cmd->add_option("--items", *items,
                        "Items to import: numbers, ranges like 11-21, names or groups (see the items command), or all")
            ->required();
        cmd->add_option("-o,--output", *output, "Carset file to write (.GMS)")->required();
        auto* soundsOption = cmd->add_option(
            "--sounds", *sounds, "With the sounds (item 116): only these sounds, numbers from 0 and ranges like 5-9");
        AddCarsetInfoOptions(*cmd, *info);
        cmd->add_flag("--timings", *timings, "Print the seconds the import and the carset save took");
        cmd->callback([&context, game, items, output, sounds, soundsOption, info, timings] {
            RequireNoGameFileAt(*output);
            ItemBytes selection = ParseItemList(*items, context.texts);
            std::optional<std::vector<int>> soundNumbers;
            if (soundsOption->count() > 0) {
                if (!selection[kSoundsItem])
                    throw CommandFailure("--sounds needs the sounds (item " + std::to_string(kSoundsItem)
                                         + ") in --items");
                soundNumbers = ParseNumberList(*sounds, 0, static_cast<int>(kMaxSounds) - 1, "sound");
            }
            std::optional<CarsetInfo> carsetInfo = CarsetInfoFromOptions(*info);
            CliSession s(context, *game);
            PhaseTimer timer(context, *timings);
            s.leaveOutItemsTheGameLacks(selection, *items);
            s.workingSet().transfer.selection = selection;
            s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
            if (selection[kSoundsItem])
                MarkSoundsToCarry(s.workingSet().sounds, soundNumbers);
            if (carsetInfo)
                s.workingSet().carsetInfo = *carsetInfo;
            timer.phaseDone("import");
            s.require(s.engine().saveCarset(ItemChoice::AsSelected, *output, s.ui()), "saving the carset");
            timer.phaseDone("save");
            s.finish();
        });
    }
    {
        auto* cmd = app.add_subcommand(
            "apply", "Load a carset (all of it or the listed items) and export it to an installation");
        auto carset = std::make_shared<std::string>();
        auto game = std::make_shared<std::string>();
        auto items = std::make_shared<std::string>();
        auto dryRun = std::make_shared<bool>(false);
        auto expandArt = std::make_shared<bool>(false);
        auto timings = std::make_shared<bool>(false);
        cmd->add_option("CARSET", *carset, "Carset file (.GMS)")->required();
        AddGameOption(cmd, *game, context);
        cmd->add_option("--items", *items,
                        "Only these items: numbers, ranges like 11-21, names or groups (see the items command)");
        cmd->add_flag("--dry-run", *dryRun,
                      "Print, per item, the game files and byte ranges that would change; change nothing");
        cmd->add_flag("--yes", context.sink.answerYes, "Answer Yes to every question of the run");
        cmd->add_flag("--expand-art", *expandArt, "Enlarge art-bank entries that have no room for the new pictures");
        cmd->add_flag("--timings", *timings, "Print the seconds the carset load and the export took");
        cmd->callback([&context, carset, game, items, dryRun, expandArt, timings] {
            ApplyCarset(context, ApplyRequest{*carset, *game, *items, *dryRun, *expandArt, *timings});
        });
    }
    {
        auto* cmd = app.add_subcommand("restore", "List the restore points of an installation, or put one back");
        auto game = std::make_shared<std::string>();
        auto id = std::make_shared<std::string>();
        auto list = std::make_shared<bool>(false);
        cmd->add_option("ID", *id, "Restore point to put back (default: the newest)");
        AddGameOption(cmd, *game, context);
        cmd->add_flag("--list", *list, "List the restore points, newest first");
        cmd->add_flag("--yes", context.sink.answerYes,
                      "Restore even when later restore points follow (their changes are undone)");
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game, id, list] {
            if (context.json && !*list)
                throw CommandFailure("--json goes with --list: putting a restore point back shows nothing");
            if (!DirectoryExists(*game))
                throw CommandFailure("not a directory: " + *game);
            RestorePoints points = OpenRestorePoints(context, IncludeTrailingBackslash(*game));
            // A restore waits for a run writing into the installation and
            // chooses its point only then, never one still being made.
            std::optional<InstallationLock> held;
            if (!*list) {
                try {
                    held.emplace(points.lock(id->empty() ? "restore" : "restore " + *id));
                } catch (const RestorePointError& e) {
                    throw PointFailure(context, e);
                }
            }
            std::vector<RestorePoint> all = points.list();
            if (*list && context.json) {
                Json points = Json::array();
                for (const auto& p : all)
                    points.push_back(RestorePointJson(context, p));
                PrintJson(context, Json{{"restorePoints", points}});
                return;
            }
            if (*list) {
                for (const auto& p : all)
                    context.out << p.id << "  " << p.time << "  " << OperationWords(context, p) << "  "
                                << p.files.size() << " files  " << p.totalSize() << " bytes\n";
                return;
            }
            if (all.empty())
                throw CommandFailure("there are no restore points for " + *game);
            std::optional<RestorePoint> point = id->empty() ? std::optional(all.front()) : points.find(*id);
            if (!point)
                throw CommandFailure("no restore point " + *id + " for " + *game + " (see restore --list)");
            // The changes made since the point are undone with it: they are
            // named, and only --yes goes on.
            const std::vector<RestorePoint> later = points.madeAfter(*point);
            if (!later.empty()) {
                std::string text = "restoring " + point->id + " undoes " + std::to_string(later.size())
                    + (later.size() == 1 ? " later change:" : " later changes:");
                for (const auto& p : later)
                    text += "\n  " + p.id + "  " + p.time + "  " + OperationWords(context, p);
                if (!context.sink.answerYes)
                    throw CommandFailure(text + "\nnothing was put back (--yes restores all the same)");
                if (!context.quiet)
                    context.err << text << "\n";
            }
            // The state being replaced becomes a point of its own first, so
            // the restore can be undone in turn.
            std::optional<RestorePoint> before;
            try {
                if (!points.changedBackTo(*point).empty())
                    before =
                        points.create(PointOperation{point_kind::kRestore, {point->id}}, points.filesBackTo(*point));
            } catch (const RestorePointError& e) {
                throw PointFailure(context, e);
            }
            RestoreReport report = points.restoreBackTo(*point);
            if (before && !context.quiet)
                context.err << "restore point " << before->id << " keeps the files as they were before the restore\n";
            if (before && report.ok()) {
                try {
                    points.prune();
                } catch (const std::exception&) {}
            }
            if (!context.quiet) {
                context.err << "put back " << report.written() << " files from restore point " << point->id;
                if (!report.unchanged.empty())
                    context.err << " (" << report.unchanged.size() << " more were as they were already)";
                context.err << '\n';
            }
            if (!report.ok()) {
                std::string text = std::to_string(report.failed.size()) + " files could not be put back:";
                for (const auto& f : report.failed)
                    text += "\n  " + f;
                throw CommandFailure(text);
            }
        });
    }
}

} // namespace pitwall::cli
