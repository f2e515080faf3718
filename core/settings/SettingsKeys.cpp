#include "settings/SettingsKeys.h"

#include "settings/SettingsValues.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace pitwall {

namespace {

[[noreturn]] void BadValue(const std::string& key, const std::string& value, const std::string& why)
{
    throw SettingKeyError("the value \"" + value + "\" of " + key + " is refused: " + why);
}

long long Number(const std::string& key, const std::string& text, long long low, long long high)
{
    long long n = 0;
    const char* end = text.data() + text.size();
    auto [at, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || at != end)
        BadValue(key, text, "not a whole number");
    if (n < low || n > high)
        BadValue(key, text, "outside " + std::to_string(low) + ".." + std::to_string(high));
    return n;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

bool OnOff(const std::string& key, const std::string& value)
{
    if (value == "on" || value == "1" || value == "yes")
        return true;
    if (value == "off" || value == "0" || value == "no")
        return false;
    BadValue(key, value, "use on or off");
}

// "front wing right, small" -> "front-wing-right-small"
std::string KeyName(std::string_view name)
{
    std::string key;
    for (char c : name) {
        if (c == ' ')
            key += '-';
        else if (c != ',')
            key += c;
    }
    return key;
}

using Setter = std::function<void(GameSettings&, const std::string& key, const std::string& value)>;

struct KeyEntry {
    int item;
    Setter set;
};

std::map<std::string, KeyEntry> BuildKeys()
{
    std::map<std::string, KeyEntry> keys;
    keys["points"] = {kPointsItem, [](GameSettings& s, const std::string& key, const std::string& value) {
                          auto parts = Split(value);
                          if (parts.size() > kFinishingPositions)
                              BadValue(key, value, "more than 22 positions");
                          PointsTable table;
                          for (std::size_t p = 0; p < parts.size(); ++p)
                              table.points[p] = static_cast<std::uint8_t>(Number(key, parts[p], 0, 255));
                          s.points = table;
                      }};
    for (int level = 0; level < kAidLevelCount; ++level)
        keys["aids." + std::string(kAidLevelNames[static_cast<std::size_t>(level)])] = {
            kAidsItem, [level](GameSettings& s, const std::string& key, const std::string& value) {
                AidSwitches on{};
                if (value != "none" && !value.empty())
                    for (const std::string& f : Split(value)) {
                        if (f.size() != 2 || (f[0] != 'F' && f[0] != 'f') || f[1] < '1' || f[1] > '8')
                            BadValue(key, value, "name the aids as F1..F8, or none");
                        on[static_cast<std::size_t>(f[1] - '1')] = true;
                    }
                s.aids.masks[static_cast<std::size_t>(level)] = AidMask(on);
            }};

    auto misc = [&keys](const char* name,
                        std::function<void(MiscSettings&, const std::string&, const std::string&)> f) {
        keys[name] = {kMiscItem, [f](GameSettings& s, const std::string& key, const std::string& value) {
                          MiscSettings changed = s.misc;
                          f(changed, key, value);
                          s.misc = changed;
                      }};
    };
    misc("quick-race-laps", [](MiscSettings& m, const std::string& k, const std::string& v) {
        m.quickRaceLaps = static_cast<std::uint8_t>(Number(k, v, 0, kQuickRaceLapsMax));
    });
    misc("keep-track-records",
         [](MiscSettings& m, const std::string& k, const std::string& v) { m.keepTrackRecords = OnOff(k, v); });
    misc("show-computer-fuel",
         [](MiscSettings& m, const std::string& k, const std::string& v) { m.showComputerFuel = OnOff(k, v); });
    misc("player-performance", [](MiscSettings& m, const std::string& k, const std::string& v) {
        if (v != "preset" && v != "team")
            BadValue(k, v, "use preset or team");
        m.presetPerformance = v == "preset" ? 1 : 0;
    });
    misc("player-qualifying", [](MiscSettings& m, const std::string& k, const std::string& v) {
        m.playerQualifying = static_cast<std::uint16_t>(Number(k, v, 0, kPlayerPerformanceMax));
    });
    misc("player-race", [](MiscSettings& m, const std::string& k, const std::string& v) {
        m.playerRace = static_cast<std::uint16_t>(Number(k, v, 0, kPlayerPerformanceMax));
    });
    misc("pit-speed-mph", [](MiscSettings& m, const std::string& k, const std::string& v) {
        m.pitSpeedMph = static_cast<std::int32_t>(Number(k, v, 0, kPitSpeedMaxMph));
    });
    misc("weight", [](MiscSettings& m, const std::string& k, const std::string& v) {
        m.weight = static_cast<double>(Number(k, v, 0, kWeightMax));
    });

    auto damage = [&keys](const std::string& name, long long high,
                          std::function<void(DamageSettings&, std::uint16_t)> f) {
        keys["damage." + name] = {kDamageItem,
                                  [f, high](GameSettings& s, const std::string& key, const std::string& value) {
                                      f(s.damage, static_cast<std::uint16_t>(Number(key, value, 0, high)));
                                  }};
    };
    damage("wall-robustness", 65535, [](DamageSettings& d, std::uint16_t v) { d.wallRobustness = v; });
    damage("car-robustness", 65535, [](DamageSettings& d, std::uint16_t v) { d.carRobustness = v; });
    damage("wall-bounce", 255, [](DamageSettings& d, std::uint16_t v) { d.wallBounce = static_cast<std::uint8_t>(v); });
    damage("car-bounce", 255, [](DamageSettings& d, std::uint16_t v) { d.carBounce = static_cast<std::uint8_t>(v); });
    for (int part = 0; part < kCarPartCount; ++part)
        damage(KeyName(kCarPartNames[static_cast<std::size_t>(part)]), 65535,
               [part](DamageSettings& d, std::uint16_t v) { d.parts[static_cast<std::size_t>(part)] = v; });

    for (int view = 0; view < kViewCount; ++view)
        keys["display." + std::string(kViewNames[static_cast<std::size_t>(view)])] = {
            kDisplayItem, [view](GameSettings& s, const std::string& key, const std::string& value) {
                s.display.views[static_cast<std::size_t>(view)] =
                    static_cast<std::int32_t>(Number(key, value, INT32_MIN, INT32_MAX));
            }};

    static constexpr const char* kWordKeys[CameraRecord::Count] = {
        "x", "z", "y", "direction", "pitch", "roll", "detail1", "detail2", "unknown1", "unknown2"};
    for (int camera = 0; camera < kCameraCount; ++camera)
        for (int word = 0; word < CameraRecord::Count; ++word) {
            bool angle = word >= CameraRecord::Direction && word <= CameraRecord::Roll;
            keys["camera." + std::to_string(camera + 1) + "." + kWordKeys[word]] = {
                kCamerasItem, [camera, word, angle](GameSettings& s, const std::string& key, const std::string& value) {
                    auto& w = s.cameras.cameras[static_cast<std::size_t>(camera)].words[static_cast<std::size_t>(word)];
                    if (angle)
                        w = AngleWord(static_cast<int>(Number(key, value, -180, 180)));
                    else
                        w = static_cast<std::int16_t>(Number(key, value, -32768, 32767));
                }};
        }
    return keys;
}

const std::map<std::string, KeyEntry>& Keys()
{
    // Built once, never changed afterwards.
    static const std::map<std::string, KeyEntry> keys = BuildKeys();
    return keys;
}

const KeyEntry& Find(const std::string& key)
{
    auto it = Keys().find(key);
    if (it == Keys().end())
        throw SettingKeyError("unknown setting " + key);
    return it->second;
}

} // namespace

int SettingKeyItem(const std::string& key) { return Find(key).item; }

void SetSettingValue(GameSettings& settings, const std::string& key, const std::string& value)
{
    Find(key).set(settings, key, value);
}

std::vector<std::string> SettingKeys()
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : Keys())
        names.push_back(name);
    return names;
}

} // namespace pitwall
