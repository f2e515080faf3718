// tracks show, tracks check-jams: the sixteen track slots of an installation.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/TrackFile.h"
#include "teams/RaceSimulation.h"
#include "tracks/TrackDates.h"
#include "tracks/TrackFileNames.h"
#include "tracks/TrackJams.h"
#include "tracks/TracksArea.h"
#include "transfer/ReportedFormats.h"

namespace pitwall::cli {

namespace {

void ImportTracks(CliSession& s)
{
    s.workingSet().transfer.selection = {};
    for (int item : TrackItems())
        s.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
}

std::string GameFile(const std::string& game, const std::string& relative)
{
    try {
        std::string file = ResolveGamePath(game, relative);
        return FileExists(file) ? file : std::string();
    } catch (const GamePathError&) {
        return {};
    }
}

struct SlotJams {
    bool trackFileFound = false;
    std::vector<std::string> jams;
};

SlotJams JamsOfSlot(const std::string& game, const TrackInfo& info)
{
    SlotJams result;
    const std::string name = info.fileName.text();
    if (!TrackFileNameProblem(name).empty())
        return result;
    const std::string file = GameFile(game, TrackFileGamePath(name));
    if (file.empty())
        return result;
    result.trackFileFound = true;
    result.jams = ReadJamList(file, nullptr);
    return result;
}

bool JamPresent(const std::string& game, const std::string& path)
{
    return TrackJamPathProblem(path).empty() && !GameFile(game, GamePathFromGameBytes(path)).empty();
}

void PrintLapRecord(std::ostream& out, const char* what, const LapRecord& r)
{
    out << "  " << what << FormatLapTime(static_cast<std::int32_t>(r.lapTime)) << "  "
        << TerminalGameText(r.driver.text()) << " (" << TerminalGameText(r.team.text()) << ")  "
        << FormatSerialDate(r.date) << '\n';
}

void PrintSlot(CliContext& context, const std::string& game, const TrackTable& table, int t)
{
    const TrackInfo& info = table.info[static_cast<std::size_t>(t)];
    auto& out = context.out;
    out << "Track " << t + 1;
    // Names come from the English texts when the languages are loaded.
    if (const std::string city = info.texts[kTrackCity][1].text(); !city.empty())
        out << ": " << TerminalGameText(city) << " (" << TerminalGameText(info.texts[kTrackCountry1][1].text()) << ")";
    out << '\n';
    out << "  track file " << TerminalGamePath(info.fileName.text()) << ", laps " << int{info.laps} << ", length "
        << info.metres << " m / " << info.feet << " ft, year " << info.year << ", grip " << info.grip << ", practice "
        << (info.practiceDay == 1 ? "Friday" : "Thursday") << '\n';
    PrintLapRecord(out, "qualifying record ", info.qualifying);
    PrintLapRecord(out, "race record       ", info.race);
    for (int g = 0; g < 3; ++g) {
        const auto* w = &info.strategies[static_cast<std::size_t>(8 * g)];
        out << "  " << g + 1 << "-stop strategy: " << w[0] << " %";
        for (int stop = 1; stop <= g + 1; ++stop)
            out << ", stop " << stop << " lap " << w[2 * stop - 1] << " (window " << w[2 * stop] << ")";
        out << '\n';
    }
    SlotJams jams = JamsOfSlot(game, info);
    if (!jams.trackFileFound) {
        out << "  JAMs: track file not found\n";
        return;
    }
    out << "  JAMs needed: " << jams.jams.size() << '\n';
    for (const std::string& jam : jams.jams)
        out << "    " << TerminalGamePath(jam) << (JamPresent(game, jam) ? "  present" : "  MISSING")
            << (JamPresent(game, HardwareJamPath(jam)) ? "" : "  (hardware copy missing)") << '\n';
}

Json LapRecordJson(const LapRecord& r)
{
    Json record{{"lapTime", r.lapTime}, {"lapTimeText", FormatLapTime(static_cast<std::int32_t>(r.lapTime))}};
    SetGameText(record, "driver", r.driver.text());
    SetGameText(record, "team", r.team.text());
    record["date"] = FormatSerialDate(r.date);
    return record;
}

// What PrintSlot shows, as one object.
Json SlotJson(const std::string& game, const TrackTable& table, int t)
{
    const TrackInfo& info = table.info[static_cast<std::size_t>(t)];
    Json slot{{"slot", t + 1}};
    SetGameText(slot, "city", info.texts[kTrackCity][1].text());
    SetGameText(slot, "country", info.texts[kTrackCountry1][1].text());
    SetGameText(slot, "trackFile", info.fileName.text());
    slot["laps"] = info.laps;
    slot["metres"] = info.metres;
    slot["feet"] = info.feet;
    slot["year"] = info.year;
    slot["grip"] = info.grip;
    slot["practiceDay"] = info.practiceDay == 1 ? "Friday" : "Thursday";
    slot["qualifyingRecord"] = LapRecordJson(info.qualifying);
    slot["raceRecord"] = LapRecordJson(info.race);
    Json strategies = Json::array();
    for (int g = 0; g < 3; ++g) {
        const auto* w = &info.strategies[static_cast<std::size_t>(8 * g)];
        Json stops = Json::array();
        for (int stop = 1; stop <= g + 1; ++stop)
            stops.push_back({{"lap", w[2 * stop - 1]}, {"window", w[2 * stop]}});
        strategies.push_back({{"stopCount", g + 1}, {"percent", w[0]}, {"stops", std::move(stops)}});
    }
    slot["strategies"] = std::move(strategies);
    SlotJams jams = JamsOfSlot(game, info);
    slot["trackFileFound"] = jams.trackFileFound;
    Json list = Json::array();
    for (const std::string& jam : jams.jams) {
        Json entry = Json::object();
        SetGameText(entry, "path", jam);
        entry["present"] = JamPresent(game, jam);
        entry["hardwarePresent"] = JamPresent(game, HardwareJamPath(jam));
        list.push_back(std::move(entry));
    }
    slot["jams"] = std::move(list);
    return slot;
}

} // namespace

void AddTracksCommands(CLI::App& app, CliContext& context)
{
    auto* tracks = app.add_subcommand("tracks", "The sixteen track slots of an installation");
    tracks->require_subcommand(1);
    {
        auto* cmd = tracks->add_subcommand("show",
                                           "Track file, laps, length, year, grip, lap records, "
                                           "strategies and JAMs of every slot");
        auto game = std::make_shared<std::string>();
        auto slot = std::make_shared<int>(0);
        AddGameOption(cmd, *game, context);
        cmd->add_option("--slot", *slot, "Only this slot (1..16)")->check(CLI::Range(1, kTrackCount));
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game, slot] {
            CliSession s(context, *game);
            ImportTracks(s);
            const std::string& directory = s.session().program.settings.gameDirectory;
            if (context.json) {
                // A run that leaves something out fails with the error alone.
                s.finish();
                Json tracks = Json::array();
                for (int t = 0; t < kTrackCount; ++t)
                    if (*slot == 0 || *slot == t + 1)
                        tracks.push_back(SlotJson(directory, s.workingSet().tracks, t));
                PrintJson(context, Json{{"tracks", std::move(tracks)}});
                return;
            }
            for (int t = 0; t < kTrackCount; ++t)
                if (*slot == 0 || *slot == t + 1)
                    PrintSlot(context, directory, s.workingSet().tracks, t);
            s.finish();
        });
    }
    {
        auto* cmd = tracks->add_subcommand("check-jams",
                                           "Whether every JAM the track files need is installed, "
                                           "for software (GP3JAMS) and hardware (GP3JAMSH)");
        auto game = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game] {
            CliSession s(context, *game);
            ImportTracks(s);
            const std::string& directory = s.session().program.settings.gameDirectory;
            std::vector<std::string> missing;
            std::size_t checked = 0;
            for (int t = 0; t < kTrackCount; ++t) {
                const TrackInfo& info = s.workingSet().tracks.info[static_cast<std::size_t>(t)];
                SlotJams jams = JamsOfSlot(directory, info);
                if (!jams.trackFileFound) {
                    missing.push_back("track " + std::to_string(t + 1) + ": track file "
                                      + TerminalGamePath(info.fileName.text()));
                    continue;
                }
                for (const std::string& jam : jams.jams)
                    for (const std::string& path : {jam, HardwareJamPath(jam)}) {
                        ++checked;
                        if (!JamPresent(directory, path))
                            missing.push_back("track " + std::to_string(t + 1) + ": " + TerminalGamePath(path));
                    }
            }
            for (const std::string& m : missing)
                context.err << "missing: " << m << '\n';
            if (!missing.empty())
                throw CommandFailure(std::to_string(missing.size()) + " of the files the tracks need are missing");
            context.out << "All " << checked << " JAM files the tracks need are present.\n";
        });
    }
}

} // namespace pitwall::cli
