// library: the user's folder of carsets, applying one of them with its
// history kept per installation, and undoing one apply alone.

#include "ApplyCarset.h"
#include "Commands.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "ItemNames.h"
#include "JsonOutput.h"
#include "OutputOptions.h"

#include "app/ProgramDirectories.h"
#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "transfer/CarsetLibrary.h"
#include "transfer/LibraryHistory.h"
#include "transfer/PointOperationText.h"
#include "transfer/RunUndo.h"

#include <memory>

namespace pitwall::cli {

namespace {

void AddLibraryOption(CLI::App* command, std::string& directory)
{
    command->add_option("--library", directory,
                        "Library folder (default: PITWALL_LIBRARY, the desktop program's choice, or Library in the "
                        "user's data directory)");
}

// `chosen`: --library. A library not yet made is empty, but a folder named
// on the command line that is not there is a mistake (a typing slip would
// otherwise read as an empty library), except for `library add`, which
// makes it.
enum class LibraryUse { Read, Add };

CarsetLibrary OpenLibrary(const CliContext& context, const std::string& chosen, LibraryUse use = LibraryUse::Read)
{
    std::string directory =
        chosen.empty() ? ChosenLibraryDirectory(context.desktopSettingsFile()) : IncludeTrailingBackslash(chosen);
    if (directory.empty())
        throw CommandFailure("no folder for the carset library: name one with --library DIR or PITWALL_LIBRARY");
    if (!chosen.empty() && use == LibraryUse::Read && !DirectoryExists(directory))
        throw CommandFailure("the library folder " + chosen + " does not exist");
    return CarsetLibrary(directory);
}

// "GP3.EXE was not found in the game directory."
constexpr int kGameExeNotFoundText = 347;

// The installation a history belongs to, checked as every command with
// --game checks it: a folder that is none has no history, not an empty one.
std::string RequireInstallation(const CliContext& context, const std::string& game)
{
    if (!DirectoryExists(game))
        throw CommandFailure("not a directory: " + game);
    const std::string directory = IncludeTrailingBackslash(game);
    if (!GameDirectoryHasExe(directory))
        throw CommandFailure("not a valid Grand Prix 3 installation: "
                             + Windows1252ToUtf8(context.texts.text(kGameExeNotFoundText)));
    return directory;
}

LibraryCarset FindCarset(const CarsetLibrary& library, const std::string& name)
{
    auto carset = library.find(name);
    if (!carset)
        throw CommandFailure("the library " + library.directory() + " holds no carset named " + name
                             + " (see library list)");
    return *carset;
}

// The groups of the items a carset holds, as the items command names them:
// "teams, graphics, sounds".
std::vector<std::string> ItemWords(const std::vector<int>& items)
{
    std::vector<std::string> words;
    for (const ItemGroup& group : ItemGroups()) {
        if (std::string(group.name) == "all")
            continue;
        for (int item : group.items)
            if (std::find(items.begin(), items.end(), item) != items.end()) {
                words.push_back(group.name);
                break;
            }
    }
    return words;
}

std::vector<int> HeldItems(const ItemBytes& bytes)
{
    std::vector<int> items;
    for (int i = 1; i <= kLastItem; ++i)
        if (bytes[static_cast<std::size_t>(i)] && IsDataItem(i))
            items.push_back(i);
    return items;
}

std::string Joined(const std::vector<std::string>& words, const char* separator = ", ")
{
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : separator) + w;
    return text;
}

std::string PointLine(const CliContext& context, const RestorePoint& p)
{
    return p.id + "  " + p.time + "  " + MessageTextToUtf8(OperationText(p, context.texts));
}

Json CarsetJson(const LibraryCarset& c)
{
    if (!c.readable())
        return Json{{"name", c.name}, {"path", c.path}, {"error", c.error}};
    return Json{{"name", c.name},
                {"path", c.path},
                {"sha256", c.sha256},
                {"size", c.size},
                {"version", Windows1252ToUtf8(c.info.version)},
                {"author", Windows1252ToUtf8(c.info.author)},
                {"date", Windows1252ToUtf8(c.info.date)},
                {"items", HeldItems(c.items)},
                {"words", ItemWords(HeldItems(c.items))}};
}

} // namespace

void AddLibraryCommands(CLI::App& app, CliContext& context)
{
    auto* library = app.add_subcommand("library", "Keep carsets in a library, apply them and undo one apply alone");
    library->require_subcommand(1);
    {
        auto* cmd = library->add_subcommand("add", "Copy carsets into the library");
        auto files = std::make_shared<std::vector<std::string>>();
        auto name = std::make_shared<std::string>();
        auto dir = std::make_shared<std::string>();
        cmd->add_option("CARSET", *files, "Carset files (.GMS)")->required();
        cmd->add_option("--name", *name, "The name to keep it under (one carset only)");
        AddLibraryOption(cmd, *dir);
        cmd->callback([&context, files, name, dir] {
            if (!name->empty() && files->size() > 1)
                throw CommandFailure("--name goes with one carset only");
            CarsetLibrary lib = OpenLibrary(context, *dir, LibraryUse::Add);
            for (const std::string& file : *files) {
                try {
                    bool held = false;
                    LibraryCarset added = lib.add(file, *name, &held);
                    Note(context, (held ? "already held: " : "added ") + added.name + " (" + added.path + ")");
                } catch (const LibraryError& e) {
                    throw CommandFailure(e.what());
                }
            }
        });
    }
    {
        auto* cmd = library->add_subcommand("list", "The carsets in the library, with what each holds");
        auto dir = std::make_shared<std::string>();
        AddLibraryOption(cmd, *dir);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, dir] {
            CarsetLibrary lib = OpenLibrary(context, *dir);
            std::vector<LibraryCarset> carsets = lib.list();
            if (context.json) {
                Json list = Json::array();
                for (const auto& c : carsets)
                    list.push_back(CarsetJson(c));
                PrintJson(context, Json{{"library", lib.directory()}, {"carsets", list}});
                return;
            }
            if (carsets.empty() && !context.quiet)
                context.err << "the library " << lib.directory() << " holds no carsets\n";
            for (const auto& c : carsets) {
                if (!c.readable()) {
                    context.out << c.name << "  (cannot be read: " << c.error << ")\n";
                    continue;
                }
                context.out << c.name << "  " << Windows1252ToUtf8(c.info.version) << "  "
                            << Windows1252ToUtf8(c.info.author) << "  " << Joined(ItemWords(HeldItems(c.items)))
                            << "\n";
            }
        });
    }
    {
        auto* cmd = library->add_subcommand("remove", "Remove a carset from the library");
        auto name = std::make_shared<std::string>();
        auto dir = std::make_shared<std::string>();
        cmd->add_option("NAME", *name, "The carset's name in the library")->required();
        AddLibraryOption(cmd, *dir);
        cmd->callback([&context, name, dir] {
            try {
                OpenLibrary(context, *dir).remove(*name);
            } catch (const LibraryError& e) {
                throw CommandFailure(e.what());
            }
            if (!context.quiet)
                context.err << "removed " << *name << " from the library\n";
        });
    }
    {
        auto* cmd = library->add_subcommand(
            "apply", "Apply a carset of the library to an installation, keeping it in the installation's history");
        auto name = std::make_shared<std::string>();
        auto dir = std::make_shared<std::string>();
        auto request = std::make_shared<ApplyRequest>();
        cmd->add_option("NAME", *name, "The carset's name in the library")->required();
        AddGameOption(cmd, request->game, context);
        AddLibraryOption(cmd, *dir);
        cmd->add_option("--items", request->items, "Only these items (see the items command)");
        cmd->add_flag("--dry-run", request->dryRun,
                      "Print, per item, the game files and byte ranges that would change; change nothing");
        cmd->add_flag("--yes", context.sink.answerYes, "Answer Yes to every question of the run");
        cmd->add_flag("--expand-art", request->expandArt,
                      "Enlarge art-bank entries that have no room for the new pictures");
        cmd->callback([&context, name, dir, request] {
            CarsetLibrary lib = OpenLibrary(context, *dir);
            LibraryCarset carset = FindCarset(lib, *name);
            if (!carset.readable())
                throw CommandFailure(carset.path + " cannot be read: " + carset.error);
            ApplyRequest run = *request;
            run.carset = carset.path;
            // A history the apply could not be added to is found before the game changes.
            try {
                LibraryHistory(lib.directory(), run.game).read();
            } catch (const std::exception& e) {
                throw CommandFailure(e.what());
            }
            ApplyCarset(context, run, [&](const TransferReport& report) {
                try {
                    LibraryHistory(lib.directory(), run.game)
                        .record(MakeAppliedCarset(carset, report.restorePointId, report.changes));
                } catch (const std::exception& e) {
                    context.err << "the carset was applied, but the library's history could not be written: "
                                << e.what() << "\n";
                    context.exitStatus = 1;
                }
            });
        });
    }
    {
        auto* cmd = library->add_subcommand(
            "undo", "Undo the newest apply of a carset alone: its bytes go back, later changes elsewhere stay");
        auto name = std::make_shared<std::string>();
        auto dir = std::make_shared<std::string>();
        auto game = std::make_shared<std::string>();
        auto dryRun = std::make_shared<bool>(false);
        cmd->add_option("NAME", *name, "The carset's name in the library")->required();
        AddGameOption(cmd, *game, context);
        AddLibraryOption(cmd, *dir);
        cmd->add_flag("--yes", context.sink.answerYes,
                      "When later changes wrote the same bytes, undo them too (newest first)");
        cmd->add_flag("--dry-run", *dryRun, "Say what the undo would put back; change nothing");
        cmd->callback([&context, name, dir, game, dryRun] {
            CarsetLibrary lib = OpenLibrary(context, *dir);
            if (!DirectoryExists(*game))
                throw CommandFailure("not a directory: " + *game);
            const std::string gameDirectory = IncludeTrailingBackslash(*game);
            LibraryHistory history(lib.directory(), gameDirectory);
            const std::vector<AppliedCarset> entries = history.read();
            const AppliedCarset* applied = history.lastInEffect(entries, *name);
            if (!applied)
                throw CommandFailure("the history of " + gameDirectory + " holds no apply of " + *name
                                     + " that is still in effect (see library history)");
            RestorePoints points = OpenRestorePoints(context, gameDirectory);
            UndoPlan plan = PlanRunUndo(points, applied->restorePointId);
            if (!plan.refusal.empty())
                throw CommandFailure("cannot undo " + *name + " alone: " + plan.refusal);
            if (!plan.overlapping.empty()) {
                std::string text = "later changes wrote bytes that " + *name + " wrote too:";
                for (const auto& p : plan.overlapping)
                    text += "\n  " + PointLine(context, p);
                if (!context.sink.answerYes)
                    throw CommandFailure(text + "\nnothing was changed (--yes undoes them too, newest first)");
                if (!context.quiet)
                    context.err << text << "\nundoing them too\n";
                plan = PlanRunUndo(points, applied->restorePointId, true);
                if (!plan.refusal.empty())
                    throw CommandFailure("cannot undo " + *name + ": " + plan.refusal);
            }
            if (*dryRun) {
                for (const auto& run : plan.runs)
                    context.out << "undo " << PointLine(context, run) << "\n";
                for (const auto& f : plan.files)
                    context.out << "  " << f << "\n";
                return;
            }
            CliCommitObserver observer(context);
            CommitResult result;
            try {
                result = UndoRuns(points, plan, applied->carset, &observer);
            } catch (const RestorePointError& e) {
                throw PointFailure(context, e);
            }
            if (!result.ok())
                throw CommandFailure("the undo failed: " + result.error
                                     + (result.written.empty()  ? " Nothing was changed."
                                            : result.rolledBack ? " (the files were put back as they were)"
                                                                : ""));
            observer.tellRestorePoint();
            // Every library apply the undo took back is no longer in effect.
            for (const auto& run : plan.runs)
                history.markUndone(run.id, result.restorePointId);
            if (!context.quiet) {
                context.err << "undid " << *name;
                if (plan.runs.size() > 1)
                    context.err << " and " << plan.runs.size() - 1 << " later changes";
                context.err << ": " << result.written.size() << " files written\n";
                for (const auto& f : plan.createdFiles)
                    context.err << "left in place (the apply created it): " << f << "\n";
            }
        });
    }
    {
        auto* cmd = library->add_subcommand("history", "The carsets of the library applied to an installation");
        auto dir = std::make_shared<std::string>();
        auto game = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        AddLibraryOption(cmd, *dir);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, dir, game] {
            CarsetLibrary lib = OpenLibrary(context, *dir);
            LibraryHistory history(lib.directory(), RequireInstallation(context, *game));
            const std::vector<AppliedCarset> entries = history.read();
            if (context.json) {
                Json list = Json::array();
                for (const auto& e : entries)
                    list.push_back(Json{{"time", e.time},
                                        {"carset", e.carset},
                                        {"sha256", e.sha256},
                                        {"items", e.items},
                                        {"restorePoint", e.restorePointId},
                                        {"undone", e.undone()},
                                        {"undoRestorePoint", e.undone() ? Json(e.undonePointId) : Json(nullptr)}});
                PrintJson(context, Json{{"history", list}});
                return;
            }
            if (entries.empty() && !context.quiet)
                context.err << "no carset of the library has been applied to " << *game << "\n";
            for (const auto& e : entries)
                context.out << e.time << "  " << e.carset << "  " << Joined(ItemWords(e.items)) << "  "
                            << e.restorePointId << (e.undone() ? "  undone" : "") << "\n";
        });
    }
}

} // namespace pitwall::cli
