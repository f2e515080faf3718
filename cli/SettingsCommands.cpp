// settings show, settings set: the six setting areas of an installation.

#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "JsonOutput.h"

#include "settings/SettingsKeys.h"
#include "settings/SettingsValues.h"

#include <cctype>
#include <cstdio>
#include <set>

namespace pitwall::cli {

namespace {

constexpr int kSettingsItems[] = {kPointsItem, kAidsItem, kMiscItem, kDamageItem, kDisplayItem, kCamerasItem};

void ImportSettings(CliSession& s, const std::set<int>& items)
{
    s.workingSet().transfer.selection = {};
    for (int item : items)
        s.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()), "the import");
}

std::string OnOff(std::uint8_t value) { return value ? "on" : "off"; }

void Show(std::ostream& out, const GameSettings& s)
{
    out << "points:";
    for (std::uint8_t p : s.points.points)
        out << ' ' << int(p);
    out << "\n\naids        F1 F2 F3 F4 F5 F6 F7 F8  mask\n";
    for (int level = 0; level < kAidLevelCount; ++level) {
        std::uint16_t mask = s.aids.masks[static_cast<std::size_t>(level)];
        char line[80];
        std::snprintf(line, sizeof line, "%-10s", std::string(kAidLevelNames[static_cast<std::size_t>(level)]).c_str());
        out << line;
        AidSwitches on = AidSwitchesOf(mask);
        for (bool aid : on)
            out << (aid ? "  x" : "  .");
        std::snprintf(line, sizeof line, "  0x%04X\n", mask);
        out << line;
    }
    out << "  F1 " << kAidNames[0];
    for (int aid = 1; aid < kAidCount; ++aid)
        out << ", F" << aid + 1 << ' ' << kAidNames[static_cast<std::size_t>(aid)];
    out << "\n\n";

    const MiscSettings& m = s.misc;
    out << "quick-race-laps: " << int(m.quickRaceLaps) << " laps\n"
        << "keep-track-records: " << OnOff(m.keepTrackRecords) << "\n"
        << "player-performance: " << (m.presetPerformance ? "preset" : "team") << "\n"
        << "player-qualifying: " << m.playerQualifying << "\n"
        << "player-race: " << m.playerRace << "\n"
        << "show-computer-fuel: " << OnOff(m.showComputerFuel) << "\n"
        << "pit-speed-mph: " << m.pitSpeedMph << " mph\n";
    int weight = WeightForEditor(m.weight);
    if (weight == 0 && m.weight != 0.0)
        out << "weight: not a usable number in the game file\n";
    else
        out << "weight: " << weight << " kg\n";

    const DamageSettings& d = s.damage;
    out << "\ndamage: wall-robustness " << d.wallRobustness << ", car-robustness " << d.carRobustness
        << ", wall-bounce " << int(d.wallBounce) << ", car-bounce " << int(d.carBounce) << "\n";
    for (int part = 0; part < kCarPartCount; ++part) {
        char line[80];
        std::snprintf(line, sizeof line, "  %-24s %5u\n",
                      std::string(kCarPartNames[static_cast<std::size_t>(part)]).c_str(),
                      d.parts[static_cast<std::size_t>(part)]);
        out << line;
    }

    out << "\nvisible-car distances:";
    for (int view = 0; view < kViewCount; ++view)
        out << ' ' << kViewNames[static_cast<std::size_t>(view)] << ' '
            << s.display.views[static_cast<std::size_t>(view)] << (view + 1 < kViewCount ? "," : "\n");

    out << "\ncameras (angles in degrees)\n"
        << "camera      x      y      z direction  pitch   roll detail1 detail2 unknown1 unknown2\n";
    for (int c = 0; c < kCameraCount; ++c) {
        const auto& w = s.cameras.cameras[static_cast<std::size_t>(c)].words;
        char line[160];
        std::snprintf(line, sizeof line, "%6d %6d %6d %6d %9d %6d %6d %7d %7d %8d %8d\n", c + 1, w[CameraRecord::X],
                      w[CameraRecord::Y], w[CameraRecord::Z], AngleDegrees(w[CameraRecord::Direction]),
                      AngleDegrees(w[CameraRecord::Pitch]), AngleDegrees(w[CameraRecord::Roll]),
                      w[CameraRecord::Detail1], w[CameraRecord::Detail2], w[CameraRecord::Unknown1],
                      w[CameraRecord::Unknown2]);
        out << line;
    }
}

// "in-car" -> "inCar": the command line's names as field names.
std::string FieldName(std::string_view name)
{
    std::string field;
    bool upper = false;
    for (char c : name) {
        if (c == '-' || c == ' ') {
            upper = true;
            continue;
        }
        field += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return field;
}

// The values the text shows, with the same names: the misc and damage
// fields are the keys of 'settings set' in camel case, angles in degrees.
Json SettingsJson(const GameSettings& s)
{
    Json points = Json::array();
    for (std::uint8_t p : s.points.points)
        points.push_back(p);

    Json aids = Json::array();
    for (int level = 0; level < kAidLevelCount; ++level) {
        std::uint16_t mask = s.aids.masks[static_cast<std::size_t>(level)];
        Json on = Json::object();
        AidSwitches switches = AidSwitchesOf(mask);
        for (int aid = 0; aid < kAidCount; ++aid)
            on["F" + std::to_string(aid + 1)] = switches[static_cast<std::size_t>(aid)];
        aids.push_back({{"level", kAidLevelNames[static_cast<std::size_t>(level)]}, {"mask", mask}, {"on", on}});
    }
    Json aidNames = Json::object();
    for (int aid = 0; aid < kAidCount; ++aid)
        aidNames["F" + std::to_string(aid + 1)] = kAidNames[static_cast<std::size_t>(aid)];

    const MiscSettings& m = s.misc;
    int weight = WeightForEditor(m.weight);
    Json misc{{"quickRaceLaps", m.quickRaceLaps},
              {"keepTrackRecords", m.keepTrackRecords != 0},
              {"playerPerformance", m.presetPerformance ? "preset" : "team"},
              {"playerQualifying", m.playerQualifying},
              {"playerRace", m.playerRace},
              {"showComputerFuel", m.showComputerFuel != 0},
              {"pitSpeedMph", m.pitSpeedMph},
              // null: the game file holds no usable number.
              {"weight", weight == 0 && m.weight != 0.0 ? Json(nullptr) : Json(weight)}};

    const DamageSettings& d = s.damage;
    Json parts = Json::array();
    for (int part = 0; part < kCarPartCount; ++part)
        parts.push_back({{"part", kCarPartNames[static_cast<std::size_t>(part)]},
                         {"value", d.parts[static_cast<std::size_t>(part)]}});
    Json damage{{"wallRobustness", d.wallRobustness}, {"carRobustness", d.carRobustness},
                {"wallBounce", d.wallBounce},         {"carBounce", d.carBounce},
                {"parts", std::move(parts)}};

    Json distances = Json::object();
    for (int view = 0; view < kViewCount; ++view)
        distances[FieldName(kViewNames[static_cast<std::size_t>(view)])] =
            s.display.views[static_cast<std::size_t>(view)];

    Json cameras = Json::array();
    for (int c = 0; c < kCameraCount; ++c) {
        const auto& w = s.cameras.cameras[static_cast<std::size_t>(c)].words;
        cameras.push_back({{"camera", c + 1},
                           {"x", w[CameraRecord::X]},
                           {"y", w[CameraRecord::Y]},
                           {"z", w[CameraRecord::Z]},
                           {"direction", AngleDegrees(w[CameraRecord::Direction])},
                           {"pitch", AngleDegrees(w[CameraRecord::Pitch])},
                           {"roll", AngleDegrees(w[CameraRecord::Roll])},
                           {"detail1", w[CameraRecord::Detail1]},
                           {"detail2", w[CameraRecord::Detail2]},
                           {"unknown1", w[CameraRecord::Unknown1]},
                           {"unknown2", w[CameraRecord::Unknown2]}});
    }
    return Json{{"points", std::move(points)},        {"aids", std::move(aids)},
                {"aidNames", std::move(aidNames)},    {"misc", std::move(misc)},
                {"damage", std::move(damage)},        {"visibleCarDistances", std::move(distances)},
                {"cameras", std::move(cameras)}};
}

} // namespace

void AddSettingsCommands(CLI::App& app, CliContext& context)
{
    auto* settings = app.add_subcommand("settings", "Points, aids, damage, display, misc and camera settings");
    settings->require_subcommand(1);
    {
        auto* cmd = settings->add_subcommand("show", "The six setting records of an installation");
        auto game = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game] {
            CliSession s(context, *game);
            ImportSettings(s, {std::begin(kSettingsItems), std::end(kSettingsItems)});
            if (context.json) {
                // A run that leaves something out fails with the error alone.
                s.finish();
                PrintJson(context, SettingsJson(s.workingSet().settings));
                return;
            }
            Show(context.out, s.workingSet().settings);
            s.finish();
        });
    }
    {
        auto* cmd = settings->add_subcommand(
            "set",
            "Change single values, e.g. points=10,6,4,3,2,1 pit-speed-mph=60 aids.rookie=F1,F2,F5 "
            "damage.nose=1200 camera.3.direction=-90 (see 'settings keys')");
        auto game = std::make_shared<std::string>();
        auto assignments = std::make_shared<std::vector<std::string>>();
        AddGameOption(cmd, *game, context);
        cmd->add_option("KEY=VALUE", *assignments, "Values to change")->required();
        cmd->callback([&context, game, assignments] {
            // Every key is checked before the installation is even read.
            std::set<int> items;
            for (const std::string& a : *assignments) {
                auto eq = a.find('=');
                if (eq == std::string::npos)
                    throw CommandFailure("\"" + a + "\" is not KEY=VALUE; nothing was written");
                try {
                    items.insert(SettingKeyItem(a.substr(0, eq)));
                } catch (const SettingKeyError& e) {
                    throw CommandFailure(std::string(e.what()) + "; nothing was written");
                }
            }
            CliSession s(context, *game);
            ImportSettings(s, items);
            GameSettings& settings = s.workingSet().settings;
            for (const std::string& a : *assignments) {
                auto eq = a.find('=');
                try {
                    SetSettingValue(settings, a.substr(0, eq), a.substr(eq + 1));
                } catch (const SettingKeyError& e) {
                    throw CommandFailure(std::string(e.what()) + "; nothing was written");
                }
            }
            s.workingSet().transfer.selection = {};
            for (int item : items)
                s.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
            s.ui().operation = PointOperation{point_kind::kSettings, {}};
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui()), "the export");
            s.finish();
        });
    }
    {
        auto* cmd = settings->add_subcommand("keys", "Every key 'settings set' knows");
        cmd->callback([&context] {
            for (const std::string& key : SettingKeys())
                context.out << key << "\n";
        });
    }
}

} // namespace pitwall::cli
