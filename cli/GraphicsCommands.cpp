// graphics show: the team graphics of an installation; and the art-bank
// expansion that exports of team art, track pictures and menu backgrounds
// may need (--expand-art).

#include "ArtExpansionOption.h"
#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "formats/ArtBankDirectory.h"
#include "formats/GameInstallation.h"
#include "graphics/TeamJams.h"
#include "menu/GameArtBank.h"

#include <cstdio>

namespace pitwall::cli {

namespace {

std::vector<int> ShownItems()
{
    std::vector<int> items = {1, 6}; // the teams for their names
    for (int n = 11; n <= 76; ++n)
        items.push_back(n);
    for (int n = 178; n <= 188; ++n)
        items.push_back(n);
    return items;
}

// "8-bit 256x384 24 images" or "-" when the variant was not read.
std::string Describe(const std::optional<TJAMFile>& jam)
{
    if (!jam)
        return "-";
    return std::string(jam->is8Bit() ? "8-bit " : "16-bit ") + "256x" + std::to_string(jam->pageHeight()) + " "
        + std::to_string(jam->imageCount()) + (jam->imageCount() == 1 ? " image" : " images");
}

void PrintCarNumbers(std::ostream& out, const CarNumberRecord& r)
{
    static const char* const kViews[] = {"left", "front", "right"};
    for (int n = 0; n < 2; ++n) {
        out << "    number " << n + 1 << " source:";
        for (int v = 0; v < 3; ++v) {
            const std::size_t at = static_cast<std::size_t>(12 * n + 4 * v);
            out << " " << kViews[v] << " " << r[at] << "," << r[at + 1] << " " << r[at + 2] << "x" << r[at + 3];
        }
        out << "\n";
    }
    out << "    target:";
    for (int v = 0; v < 3; ++v)
        out << " " << kViews[v] << " " << r[static_cast<std::size_t>(24 + 2 * v)] << ","
            << r[static_cast<std::size_t>(25 + 2 * v)];
    out << "\n";
}

// One variant of a graphic: {"bits", "pageWidth", "pageHeight", "images"},
// or null when it was not read.
Json JamJson(const std::optional<TJAMFile>& jam)
{
    if (!jam)
        return nullptr;
    return Json{{"bits", jam->is8Bit() ? 8 : 16},
                {"pageWidth", 256},
                {"pageHeight", jam->pageHeight()},
                {"images", jam->imageCount()}};
}

Json GraphicJson(const char* file, const std::optional<TJAMFile>& soft, const std::optional<TJAMFile>& hard)
{
    return Json{{"file", file}, {"software", JamJson(soft)}, {"hardware", JamJson(hard)}};
}

Json CarNumbersJson(const CarNumberRecord& r)
{
    static const char* const kViews[] = {"left", "front", "right"};
    Json numbers = Json::array();
    for (int n = 0; n < 2; ++n) {
        Json source = Json::object();
        for (int v = 0; v < 3; ++v) {
            const std::size_t at = static_cast<std::size_t>(12 * n + 4 * v);
            source[kViews[v]] = {{"x", r[at]}, {"y", r[at + 1]}, {"width", r[at + 2]}, {"height", r[at + 3]}};
        }
        numbers.push_back(source);
    }
    Json target = Json::object();
    for (int v = 0; v < 3; ++v)
        target[kViews[v]] = {{"x", r[static_cast<std::size_t>(24 + 2 * v)]},
                             {"y", r[static_cast<std::size_t>(25 + 2 * v)]}};
    return Json{{"sources", numbers}, {"target", target}};
}

} // namespace

void UseArtExpansion(CliSession& s, CliContext& context, bool preview)
{
    // The enlarged bank is one of the run's changes like any other: a
    // preview lists it, and the real run writes it with the rest of the
    // export behind one restore point, so one `restore` undoes the whole run.
    s.session().graphicsAreas().artPrecheck.expand = [&context, preview](TransferContext& run, const ArtDirectory&,
                                                                         const std::vector<int>& entries) {
        // "10-339,400-443,...": the entries, runs kept short.
        std::string list;
        for (std::size_t i = 0; i < entries.size();) {
            std::size_t j = i;
            while (j + 1 < entries.size() && entries[j + 1] == entries[j] + 1)
                ++j;
            list += (list.empty() ? "" : ",") + std::to_string(entries[i]);
            if (j > i)
                list += "-" + std::to_string(entries[j]);
            i = j + 1;
        }
        std::vector<bool> flags(kArtEntryCount, false);
        for (int e : entries)
            flags.at(static_cast<std::size_t>(e)) = true;
        if (!ExpandArtBankInRun(run, flags, false)) {
            run.fail("the art bank was not expanded, so the export stopped");
            return false;
        }
        if (!context.quiet)
            context.err << (preview ? "the export would enlarge art-bank entries "
                                    : "the export enlarges art-bank entries ")
                        << list << "\n";
        return true;
    };
}

void AddGraphicsCommands(CLI::App& app, CliContext& context)
{
    auto* graphics = app.add_subcommand("graphics", "Team graphics: liveries, cockpits, jacks, car numbers, pit crew");
    graphics->require_subcommand(1);
    auto* cmd = graphics->add_subcommand("show",
                                         "Per team: the liveries, cockpits and jacks in each variant, the "
                                         "car-number positions and the pit-crew ramps");
    auto game = std::make_shared<std::string>();
    AddGameOption(cmd, *game, context);
    AddJsonFlag(*cmd, context);
    cmd->callback([&context, game] {
        CliSession s(context, *game);
        auto& transfer = s.workingSet().transfer;
        transfer.selection = {};
        for (int item : ShownItems())
            transfer.selection[static_cast<std::size_t>(item)] = 1;
        // Files that are missing or damaged are reported and shown as "-".
        const TransferOutcome outcome =
            s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui());
        const GraphicsSet& g = s.workingSet().graphics;
        const TeamTable& teams = s.workingSet().teams;
        if (context.json) {
            // A failure is then the one document on stdout: found before
            // anything is printed.
            s.require(outcome, "reading the graphics");
            s.finish();
            Json list = Json::array();
            for (int t = 0; t < kTeamCount; ++t) {
                const auto i = static_cast<std::size_t>(t);
                const auto j = static_cast<std::size_t>(t + kTeamCount);
                const TeamJamNames& names = kTeamJamNames[i];
                Json team = {{"number", t + 1}};
                SetGameText(team, "name", teams.teams[i].name.text());
                team["car"] = GraphicJson(names.car, g.cars.soft[i], g.cars.hard[i]);
                team["cockpit"] = GraphicJson(names.cockpit, g.cockpits.soft[i], g.cockpits.hard[i]);
                team["jacks"] = Json::array({GraphicJson(names.jack, g.jacks.soft[i], g.jacks.hard[i]),
                                             GraphicJson(names.jack2, g.jacks.soft[j], g.jacks.hard[j])});
                team["carNumbers"] = transfer.isLoaded(6) ? CarNumbersJson(g.carNumbers[i]) : Json(nullptr);
                Json ramps = nullptr;
                if (transfer.isLoaded(kPitCrewFirst + t)) {
                    ramps = Json::array();
                    for (std::uint8_t base : g.pitCrew[i])
                        ramps.push_back(base);
                }
                team["pitCrewRamps"] = ramps;
                list.push_back(team);
            }
            PrintJson(context, Json{{"teams", list}});
            return;
        }
        for (int t = 0; t < kTeamCount; ++t) {
            const auto i = static_cast<std::size_t>(t);
            const auto j = static_cast<std::size_t>(t + kTeamCount);
            const TeamJamNames& names = kTeamJamNames[i];
            context.out << "team " << t + 1 << " (" << TerminalGameText(teams.teams[i].name.text()) << ")\n";
            context.out << "  car     " << names.car << "  software " << Describe(g.cars.soft[i]) << "; hardware "
                        << Describe(g.cars.hard[i]) << "\n";
            context.out << "  cockpit " << names.cockpit << "  software " << Describe(g.cockpits.soft[i])
                        << "; hardware " << Describe(g.cockpits.hard[i]) << "\n";
            context.out << "  jacks   " << names.jack << " " << names.jack2 << "  software "
                        << Describe(g.jacks.soft[i]) << " + " << Describe(g.jacks.soft[j]) << "; hardware "
                        << Describe(g.jacks.hard[i]) << " + " << Describe(g.jacks.hard[j]) << "\n";
            if (transfer.isLoaded(6)) {
                context.out << "  car numbers\n";
                PrintCarNumbers(context.out, g.carNumbers[i]);
            }
            if (transfer.isLoaded(kPitCrewFirst + t)) {
                context.out << "  pit crew ramps";
                for (std::uint8_t base : g.pitCrew[i])
                    context.out << " " << static_cast<int>(base);
                context.out << "\n";
            }
        }
        s.require(outcome, "reading the graphics");
        s.finish();
    });
}

} // namespace pitwall::cli
