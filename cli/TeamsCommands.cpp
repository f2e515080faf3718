// teams show, teams per-export, teams per-import.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "JsonOutput.h"
#include "OutputOptions.h"
#include "TerminalText.h"

#include "base/Windows1252.h"
#include "teams/PerFile.h"
#include "teams/TeamsArea.h"

#include <cstdio>

namespace pitwall::cli {

namespace {

void ImportTeams(CliSession& s)
{
    s.workingSet().transfer.selection = {};
    s.workingSet().transfer.selection[kTeamsItem] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
}

// A name of the game files, made safe to print, padded to `width` columns.
std::string Padded(const std::string& text, std::size_t width)
{
    std::string utf8 = TerminalGameText(text);
    std::size_t shown = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            ++shown;
    return utf8 + std::string(shown < width ? width - shown : 1, ' ');
}

// The table as the text shows it: slots, tyre types and pit positions
// counted from 1.
Json TeamsJson(const TeamTable& t)
{
    Json teams = Json::array();
    for (int slot = 0; slot < kTeamCount; ++slot) {
        const TeamRecord& team = t.teams[static_cast<std::size_t>(slot)];
        Json entry{{"slot", slot + 1}};
        SetGameText(entry, "name", team.name.text());
        SetGameText(entry, "engine", team.engine.text());
        entry["failure"] = team.failure;
        entry["tqp"] = team.tqp;
        entry["trp"] = team.trp;
        entry["tyreType"] = team.tyreType + 1;
        entry["pitPosition"] = team.pitPosition + 1;
        Json drivers = Json::array();
        for (const DriverRecord& d : team.drivers) {
            Json driver = Json::object();
            SetGameText(driver, "name", d.name.text());
            driver["carNumber"] = d.carNumber;
            driver["qp"] = d.qp;
            driver["rp"] = d.rp;
            driver["qa"] = d.qa;
            driver["ra"] = d.ra;
            driver["selected"] = d.selected != 0;
            drivers.push_back(std::move(driver));
        }
        entry["drivers"] = std::move(drivers);
        teams.push_back(std::move(entry));
    }
    return Json{{"teams", std::move(teams)}};
}

} // namespace

void AddTeamsCommands(CLI::App& app, CliContext& context)
{
    auto* teams = app.add_subcommand("teams", "Teams and drivers of an installation");
    teams->require_subcommand(1);
    {
        auto* cmd = teams->add_subcommand("show", "A table of the teams and drivers");
        auto game = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game] {
            CliSession s(context, *game);
            ImportTeams(s);
            const TeamTable& t = s.workingSet().teams;
            if (context.json) {
                PrintJson(context, TeamsJson(t));
                return;
            }
            context.out << "slot  team           engine         TFAIL   TQP   TRP  tyre  pit\n";
            for (int slot = 0; slot < kTeamCount; ++slot) {
                const TeamRecord& team = t.teams[static_cast<std::size_t>(slot)];
                char values[64];
                std::snprintf(values, sizeof values, "%5u %5u %5u  %4d  %3d\n", team.failure, team.tqp, team.trp,
                              team.tyreType + 1, team.pitPosition + 1);
                context.out << (slot < 9 ? " " : "") << slot + 1 << "    " << Padded(team.name.text(), 15)
                            << Padded(team.engine.text(), 14) << values;
                for (const DriverRecord& d : team.drivers) {
                    char driverValues[80];
                    std::snprintf(driverValues, sizeof driverValues, "#%-3d QP %5u RP %5u QA %5u RA %5u%s\n",
                                  d.carNumber, d.qp, d.rp, d.qa, d.ra, d.selected ? "  selected" : "");
                    context.out << "        " << Padded(d.name.text(), 25) << driverValues;
                }
            }
        });
    }
    {
        auto* cmd = teams->add_subcommand("per-export", "Write the installation's teams and drivers to a .PER file");
        auto game = std::make_shared<std::string>();
        auto file = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        AddOutputOption(cmd, *file, "FILE", ".PER file to write");
        cmd->callback([&context, game, file] {
            MakeFolderOf(RequireNoGameFileAt(RequireOutput(*file)));
            CliSession s(context, *game);
            ImportTeams(s);
            SavePerFile(s.workingSet().teams, *file);
        });
    }
    {
        auto* cmd = teams->add_subcommand("per-import", "Read a .PER file into the installation's teams and drivers");
        auto game = std::make_shared<std::string>();
        auto file = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        cmd->add_option("FILE", *file, ".PER file to read")->required();
        cmd->callback([&context, game, file] {
            CliSession s(context, *game);
            ImportTeams(s);
            if (!LoadPerFile(s.workingSet().teams, *file))
                throw CommandFailure("cannot read " + *file);
            s.workingSet().transfer.selection = {};
            s.workingSet().transfer.selection[kTeamsItem] = 1;
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui()), "the export");
            s.finish();
        });
    }
}

} // namespace pitwall::cli
