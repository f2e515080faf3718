// career show: the game's last season report as a table.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/Windows1252.h"
#include "career/SeasonReportFile.h"

namespace pitwall::cli {

namespace {

std::string Column(const std::string& game, std::size_t width)
{
    std::string utf8 = TerminalGameText(game);
    std::size_t shown = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            ++shown;
    return utf8 + std::string(shown < width ? width - shown : 1, ' ');
}

CommandFailure CutShort(const SeasonResult& r)
{
    return CommandFailure("the season report ends after " + std::to_string(r.entries.size()) + " of "
                          + std::to_string(kSeasonReportEntries) + " entries");
}

} // namespace

void AddCareerCommands(CLI::App& app, CliContext& context)
{
    auto* career = app.add_subcommand("career", "The game's season results");
    career->require_subcommand(1);
    auto* cmd = career->add_subcommand("show", "The season report gpsaves\\seasona1.txt as a table");
    auto game = std::make_shared<std::string>();
    auto laps = std::make_shared<unsigned>(0);
    AddGameOption(cmd, *game, context);
    cmd->add_option("--laps", *laps, "Laps of the race, to time the lapped cars (default: unknown)");
    AddJsonFlag(*cmd, context);
    cmd->callback([&context, game, laps] {
        CliSession s(context, *game);
        Messenger messenger(context.texts, context.sink);
        auto read = ReadSeasonReport(s.session().program.settings.gameDirectory, *laps, messenger);
        if (!read)
            throw CommandFailure("the season report could not be read");
        if (!read->found)
            throw CommandFailure("the season report holds no race result");
        const SeasonResult& r = read->result;
        if (context.json) {
            // One document: a report cut short is only the error.
            if (!r.valid)
                throw CutShort(r);
            Json entries = Json::array();
            int position = 1;
            for (const SeasonEntry& e : r.entries) {
                Json entry{{"position", position++}};
                SetGameText(entry, "driver", e.driver);
                SetGameText(entry, "team", e.team);
                SetGameText(entry, "time", ShownReportTime(e, r.laps));
                entry["milliseconds"] = e.time == 0 ? Json(nullptr) : Json(e.time);
                entry["lapsBehind"] = e.lapsBehind;
                entries.push_back(std::move(entry));
            }
            PrintJson(context, Json{{"race", read->raceNumber},
                                    {"laps", r.laps == 0 ? Json(nullptr) : Json(r.laps)},
                                    {"entries", std::move(entries)}});
            return;
        }
        context.out << "race " << read->raceNumber << "\n";
        context.out << "pos  driver                   team                     time\n";
        int position = 1;
        for (const SeasonEntry& e : r.entries) {
            context.out << (position < 10 ? " " : "") << position << "   " << Column(e.driver, 25) << Column(e.team, 25)
                        << TerminalGameText(ShownReportTime(e, r.laps)) << "\n";
            ++position;
        }
        if (!r.valid)
            throw CutShort(r);
    });
}

} // namespace pitwall::cli
