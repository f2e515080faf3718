#include "teams/RaceSimulation.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace pitwall {

namespace {

struct Strengths {
    std::int32_t strength;
    std::int32_t consistency;
    std::int32_t teamPerformance;
};

template <typename Pick>
SimulationResult Simulate(const TeamTable& table, bool randomise, const RandomBelow& random, Pick pick)
{
    SimulationResult result;
    for (int d = 0; d < kDriverCount; ++d) {
        const TeamRecord& team = table.teams[static_cast<std::size_t>(d / 2)];
        Strengths s = pick(team, team.drivers[static_cast<std::size_t>(d % 2)]);
        std::int32_t score = 90000 - 2 * (s.strength - s.consistency + 25 * (s.teamPerformance - 820) - 16300);
        if (randomise && s.consistency > 0)
            score += random(2 * s.consistency);
        result[static_cast<std::size_t>(d)] = {score, d};
    }
    // An exchange sort that swaps only on a strictly greater score. It is not
    // stable: equal scores end up in whatever order these exchanges leave
    // them, not always in driver-index order, and that order is part of the
    // ranking users compare, so no other sort will do.
    for (std::size_t i = 0; i + 1 < result.size(); ++i)
        for (std::size_t j = i + 1; j < result.size(); ++j)
            if (result[i].score > result[j].score)
                std::swap(result[i], result[j]);
    return result;
}

} // namespace

RandomBelow MakeRandomBelow(std::uint32_t seed)
{
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int bound) { return bound > 0 ? std::uniform_int_distribution<int>(0, bound - 1)(*engine) : 0; };
}

SimulationResult SimulateQualifying(const TeamTable& table, bool randomise, const RandomBelow& random)
{
    return Simulate(table, randomise, random, [](const TeamRecord& team, const DriverRecord& d) {
        return Strengths{d.qp, d.qa, team.tqp};
    });
}

SimulationResult SimulateRace(const TeamTable& table, bool randomise, const RandomBelow& random)
{
    return Simulate(table, randomise, random, [](const TeamRecord& team, const DriverRecord& d) {
        return Strengths{d.rp, d.ra, team.trp};
    });
}

std::vector<std::string> FormatSimulationResult(const SimulationResult& result, const TeamTable& table, bool relative,
                                                bool driverNames)
{
    std::vector<std::string> lines;
    const std::int32_t best = result[0].score;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const int d = result[i].driverIndex;
        // With gaps, the leader's line of the team view names the team
        // alone: the line the others' gaps are counted from.
        const bool car = !relative || i > 0;
        std::string label = driverNames ? table.driver(d).name.text()
                                        : table.teams[static_cast<std::size_t>(d / 2)].name.text()
                + (car ? "[" + std::to_string(d % 2) + "]" : std::string());
        std::string value =
            relative && i > 0 ? "+" + std::to_string(result[i].score - best) : std::to_string(result[i].score);
        lines.push_back(label + "=" + value);
    }
    return lines;
}

std::pair<std::string, std::int32_t> SplitSimulationLine(const std::string& line)
{
    std::size_t eq = line.rfind('=');
    if (eq == std::string::npos)
        return {line, 0};
    std::string_view value = std::string_view(line).substr(eq + 1);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    std::int32_t number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        number = 0;
    return {line.substr(0, eq), number};
}

std::string FormatLapTime(std::int32_t milliseconds)
{
    std::int64_t ms = milliseconds;
    const char* sign = ms < 0 ? "-" : "";
    ms = std::llabs(ms);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld.%03lld", sign, static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return buffer;
}

} // namespace pitwall
