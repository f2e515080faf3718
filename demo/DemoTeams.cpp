#include "DemoContext.h"

#include <array>
#include <string>
#include <vector>

namespace pitwall::demo {

namespace {

// Where the game keeps teams and drivers: {v1.00, v1.13} in GP3.EXE and
// {format 1, format 2} in F1GSTATE.SAV. Written independently of the
// program's own tables, so a wrong offset there shows up in the tests.
constexpr std::array<std::uint32_t, 2> kPerformanceBlock = {0x143A90, 0x144D40};
constexpr std::array<std::uint32_t, 2> kCarNumbers = {0x73A256, 0x73B7EA};
constexpr std::array<std::uint32_t, 2> kTyreWords = {0x73A2C4, 0x73B858};
constexpr std::array<std::uint32_t, 2> kPitOrder = {0x73B470, 0x73CA04};
constexpr std::array<std::uint32_t, 2> kNamesBlock = {0x15518, 0x155DC};
constexpr std::array<std::uint32_t, 2> kSelectionBytes = {0x1543C, 0x15500};

constexpr std::uint16_t kPerformanceBias = 32719;
constexpr std::uint32_t kBridgestoneWord = 0x03370336;
constexpr std::uint32_t kGoodyearWord = 0x03350334;

// Fictional teams of a late-nineties grid, strongest first, with engines.
struct DemoTeam {
    const char* name;
    const char* engine;
    int strength; // 0 (front) .. 10 (back)
};
constexpr DemoTeam kTeams[11] = {
    {"Wilmore", "Mekatron", 1}, {"Ferrano", "Ferrano", 0},      {"Benedetti", "Playfair", 3},
    {"McAllen", "Mercator", 2}, {"Jardine", "Mugami Honda", 4}, {"Provost", "Pergeot", 6},
    {"Saubert", "Petronex", 5}, {"Arrowood", "Arrowood", 8},    {"Stewardson", "Fordham", 7},
    {"Tyrwell", "Fordham", 9},  {"Minotti", "Fordham", 10},
};

constexpr const char* kFirstNames[] = {"Jacques",   "Heinz",      "Michael", "Rubens",  "Eddie",   "Damon",
                                       "Mika",      "David",      "Ralf",    "Jean",    "Olivier", "Johnny",
                                       "Pedro",     "Toranosuke", "Esteban", "Shinji",  "Ricardo", "Jarno",
                                       "Giancarlo", "Alexander",  "Jos",     "Mika Jr", "Luca",    "Marc",
                                       "Tarso",     "Norberto",   "Pierre",  "Vincenzo"};
constexpr const char* kLastNames[] = {"Villanova", "Frentz",   "Schumann",   "Barrelo",  "Irwin",   "Hilton",
                                      "Hakonen",   "Coulter",  "Schuhman",   "Alessio",  "Panisse", "Herbison",
                                      "Dinis",     "Takagawa", "Tuera",      "Nakamoto", "Rosetti", "Trullo",
                                      "Fisicari",  "Wurtz",    "Verstappel", "Saloma",   "Badori",  "Genet",
                                      "Marquez",   "Fontana",  "Lamy",       "Sospiri"};

} // namespace

void WriteTeamsAndDrivers(DemoContext& context)
{
    auto& rnd = context.random;
    const std::size_t v = context.versionColumn();
    const std::size_t f = context.formatColumn();

    // Which driver sits where depends on the seed, so two installations made
    // with different seeds differ in every name and most values.
    std::vector<int> firstOrder(std::size(kFirstNames)), lastOrder(std::size(kLastNames));
    for (std::size_t i = 0; i < firstOrder.size(); ++i)
        firstOrder[i] = static_cast<int>(i);
    for (std::size_t i = 0; i < lastOrder.size(); ++i)
        lastOrder[i] = static_cast<int>(i);
    rnd.shuffle(firstOrder);
    rnd.shuffle(lastOrder);
    std::vector<int> teamOrder(11);
    for (int t = 0; t < 11; ++t)
        teamOrder[static_cast<std::size_t>(t)] = t;
    rnd.shuffle(teamOrder);

    std::vector<std::uint8_t> performance(242, 0);
    auto putPerf = [&](std::size_t at, std::uint16_t word) {
        performance[at] = static_cast<std::uint8_t>(word);
        performance[at + 1] = static_cast<std::uint8_t>(word >> 8);
    };

    std::uint32_t names = kNamesBlock[f];
    int carNumber = 1;
    for (int slot = 0; slot < 11; ++slot) {
        const DemoTeam& team = kTeams[teamOrder[static_cast<std::size_t>(slot)]];
        int tqp = 700 + (10 - team.strength) * 14 + rnd.between(-6, 6);
        int trp = tqp - rnd.between(0, 15);
        putPerf(static_cast<std::size_t>(slot) * 2, static_cast<std::uint16_t>(tqp - kPerformanceBias));
        putPerf(22 + static_cast<std::size_t>(slot) * 2, static_cast<std::uint16_t>(trp - kPerformanceBias));
        putPerf(220 + static_cast<std::size_t>(slot) * 2, static_cast<std::uint16_t>(rnd.between(3000, 9000)));

        context.putSaveText(names + 22 * 24 + static_cast<std::uint32_t>(slot) * 13, team.name, 13);
        context.putSaveText(names + 22 * 24 + 11 * 13 + static_cast<std::uint32_t>(slot) * 13, team.engine, 13);

        bool bridgestone = team.strength % 3 == 1 || rnd.chance(20);
        context.putExe(kTyreWords[v] + static_cast<std::uint32_t>(slot) * 4,
                       bridgestone ? kBridgestoneWord : kGoodyearWord, 4);

        for (int n = 0; n < 2; ++n) {
            int d = slot * 2 + n;
            std::string name = std::string(kFirstNames[firstOrder[static_cast<std::size_t>(d)]]) + " "
                + kLastNames[lastOrder[static_cast<std::size_t>(d)]];
            context.putSaveText(names + static_cast<std::uint32_t>(d) * 24, name, 24);
            // Skip 13, as the grid does.
            if (carNumber == 13)
                ++carNumber;
            context.putExe(kCarNumbers[v] + static_cast<std::uint32_t>(d), static_cast<std::uint8_t>(carNumber++), 1);
            int qp = 15400 + rnd.between(0, 1400) - team.strength * 40;
            int rp = qp + rnd.between(-200, 200);
            putPerf(44 + static_cast<std::size_t>(d) * 4, static_cast<std::uint16_t>(qp));
            putPerf(46 + static_cast<std::size_t>(d) * 4, static_cast<std::uint16_t>(rp));
            putPerf(132 + static_cast<std::size_t>(d) * 4, static_cast<std::uint16_t>(rnd.between(150, 600)));
            putPerf(134 + static_cast<std::size_t>(d) * 4, static_cast<std::uint16_t>(rnd.between(150, 600)));
            // The savegame keeps the 1-based driver index in the low bits and
            // marks the player's driver with bit 7.
            bool selected = d == 2 * (static_cast<int>(rnd.next() % 11));
            context.putSave(kSelectionBytes[f] + static_cast<std::uint32_t>(d),
                            static_cast<std::uint8_t>((selected ? 0x80 : 0) + d + 1), 1);
        }
    }
    context.putExeBytes(kPerformanceBlock[v], performance);

    // Pit lane: a shuffled order of the team slots, stored 1-based.
    std::vector<int> pit(11);
    for (int p = 0; p < 11; ++p)
        pit[static_cast<std::size_t>(p)] = p;
    rnd.shuffle(pit);
    for (int p = 0; p < 11; ++p)
        context.putExe(kPitOrder[v] + static_cast<std::uint32_t>(p),
                       static_cast<std::uint8_t>(pit[static_cast<std::size_t>(p)] + 1), 1);
}

} // namespace pitwall::demo
