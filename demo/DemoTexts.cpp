#include "DemoContext.h"

#include "base/Windows1252.h"

#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace pitwall::demo {

namespace {

// The languages and their file names (UTF-8 on disk), strings per file for
// {v1.00, v1.13} and where the seven blocks of track texts start. Kept here
// apart from the program's tables, so a wrong number there shows in the tests.
struct DemoLanguage {
    const char* fileName;
    const char* tag;
    std::array<int, 2> count;
    std::array<int, 7> trackBlocks;
};
constexpr DemoLanguage kLanguages[8] = {
    {"DEUTSCH", "de", {2702, 2843}, {1789, 1805, 1821, 1837, 1853, 1869, 1885}},
    {"ENGLISH", "en", {2694, 2835}, {1781, 1797, 1813, 1829, 1845, 1861, 1877}},
    {"ESPA\xC3\xB1OL", "es", {2702, 2843}, {1789, 1805, 1821, 1837, 1853, 1869, 1901}},
    {"FRAN\xC3\xA7"
     "AIS",
     "fr",
     {2702, 2843},
     {1789, 1805, 1821, 1837, 1853, 1869, 1901}},
    {"ITALIANO", "it", {2701, 2842}, {1789, 1805, 1821, 1837, 1853, 1869, 1901}},
    {"AMERICAN_ENGLISH", "us", {0, 2835}, {1781, 1797, 1813, 1829, 1845, 1861, 1877}},
    {"POLSKI", "pl", {0, 2833}, {1779, 1795, 1811, 1827, 1843, 1859, 1875}},
    {"PORTUGU\xC3\xAAs", "pt", {0, 2842}, {1788, 1804, 1820, 1836, 1852, 1868, 1900}},
};

// The 1998 calendar: city, country, Grand Prix name, circuit character.
struct DemoTrackNames {
    const char* city;
    const char* country;
    const char* event;
    const char* code;
    const char* character;
};
constexpr DemoTrackNames kTracks[16] = {
    {"Melbourne", "Australia", "Australian", "AUS", "Park circuit"},
    {"Interlagos", "Brazil", "Brazilian", "BRA", "Anti-clockwise, bumpy"},
    {"Buenos Aires", "Argentina", "Argentine", "ARG", "Tight and twisty"},
    {"Imola", "San Marino", "San Marino", "SMR", "Chicanes and kerbs"},
    {"Barcelona", "Spain", "Spanish", "ESP", "Hard on tyres"},
    {"Monte Carlo", "Monaco", "Monaco", "MON", "Street circuit"},
    {"Montr\xC3\xA9"
     "al",
     "Canada", "Canadian", "CAN", "Hard on brakes"},
    {"Magny-Cours", "France", "French", "FRA", "Smooth surface"},
    {"Silverstone", "Great Britain", "British", "GBR", "Fast and flowing"},
    {"Spielberg", "Austria", "Austrian", "AUT", "Uphill and downhill"},
    {"Hockenheim", "Germany", "German", "GER", "Long straights"},
    {"Budapest", "Hungary", "Hungarian", "HUN", "Slow and dusty"},
    {"Spa", "Belgium", "Belgian", "BEL", "Changeable weather"},
    {"Monza", "Italy", "Italian", "ITA", "Temple of speed"},
    {"N\xC3\xBCrburg", "Luxembourg", "Luxembourg", "LUX", "Modern, wide"},
    {"Suzuka", "Japan", "Japanese", "JPN", "Figure of eight"},
};

std::string TrackText(int block, int track)
{
    const DemoTrackNames& t = kTracks[track];
    switch (block) {
    case 0:
        return t.city;
    case 1:
        return t.country;
    case 2:
        return std::string(t.event) + " Grand Prix";
    case 3:
        return std::string("Gran Premio ") + t.event;
    case 4:
        return t.code;
    case 5:
        return std::string(t.country) + " (" + t.city + ")";
    default:
        return t.character;
    }
}

// Game-like filler: short menu texts, a few with line breaks (CR LF as the
// game's menus, bare line feeds inside and outside double quotes as its
// messages) and tab stops, some empty, some with the Windows-1252 letters of
// the game's languages. Each carries its number, so every text differs.
std::string FillerText(const DemoLanguage& l, int n, DemoRandom& rnd)
{
    const std::string number = std::to_string(n);
    switch (rnd.between(0, 23)) {
    case 0:
        return "";
    case 1:
        return std::string(l.tag) + " line " + number + "\r\nsecond line";
    case 2:
        return std::string("Option\t") + number;
    case 3:
        return "Caf\xE9 " + number + " \xAB" + l.tag + "\xBB";
    case 4:
        return "Press ^ to continue " + number;
    case 5:
        return "Stra\xDF"
               "e "
            + number
            + ": K\xE4"
              "fer, Espa\xF1"
              "a, gar\xE7on";
    case 6:
        return std::string(l.tag) + " message " + number + "\nsecond line";
    case 7:
        return std::string(l.tag) + " quote " + number + " \"first\nstill quoted\"\nnext line";
    default:
        return std::string(l.tag) + " text " + number;
    }
}

void Append(std::vector<std::uint8_t>& file, const std::string& text)
{
    file.insert(file.end(), text.begin(), text.end());
    file.push_back(0);
}

} // namespace

void WriteGameTexts(DemoContext& context)
{
    DemoRandom rnd(context.seed * 131 + 17);
    const std::size_t column = context.versionColumn();
    for (const DemoLanguage& l : kLanguages) {
        const int count = l.count[column];
        if (count == 0)
            continue;
        std::vector<std::uint8_t> file = {0x75, 0x0A, 0x00, 0x00};
        for (int n = 0; n < count; ++n) {
            std::string text;
            for (int b = 0; b < 7; ++b)
                if (n >= l.trackBlocks[static_cast<std::size_t>(b)]
                    && n < l.trackBlocks[static_cast<std::size_t>(b)] + 16)
                    text = Utf8ToWindows1252(TrackText(b, n - l.trackBlocks[static_cast<std::size_t>(b)]));
            if (text.empty())
                text = FillerText(l, n, rnd);
            Append(file, text);
        }
        context.writeFile(std::string("LDATA\\") + l.fileName + ".str", file);
    }
}

namespace {

// The 1998 field in the game's order, as the season report names them.
struct DemoEntrant {
    const char* driver;
    const char* team;
};
constexpr DemoEntrant kEntrants[22] = {
    {"Mika H\xE4kkinen", "McLaren Mercedes"},
    {"David Coulthard", "McLaren Mercedes"},
    {"Michael Schumacher", "Ferrari"},
    {"Eddie Irvine", "Ferrari"},
    {"Jacques Villeneuve", "Williams Mecachrome"},
    {"Heinz-Harald Frentzen", "Williams Mecachrome"},
    {"Giancarlo Fisichella", "Benetton Playlife"},
    {"Alexander Wurz", "Benetton Playlife"},
    {"Damon Hill", "Jordan Mugen-Honda"},
    {"Ralf Schumacher", "Jordan Mugen-Honda"},
    {"Jean Alesi", "Sauber Petronas"},
    {"Johnny Herbert", "Sauber Petronas"},
    {"Olivier Panis", "Prost Peugeot"},
    {"Jarno Trulli", "Prost Peugeot"},
    {"Rubens Barrichello", "Stewart Ford"},
    {"Jan Magnussen", "Stewart Ford"},
    {"Mika Salo", "Arrows"},
    {"Pedro Diniz", "Arrows"},
    {"Toranosuke Takagi", "Tyrrell Ford"},
    {"Ricardo Rosset", "Tyrrell Ford"},
    {"Esteban Tuero", "Minardi Ford"},
    {"Shinji Nakano", "Minardi Ford"},
};

} // namespace

// gpsaves\seasona1.txt: the report the game writes after a race of a
// season. The winner's time, gaps for the cars on the lead lap, laps behind
// for the lapped cars and retirements at the end; order drawn from the seed.
void WriteSeasonReport(DemoContext& context)
{
    DemoRandom rnd(context.seed * 977 + 5);
    std::array<int, 22> order{};
    for (int i = 0; i < 22; ++i)
        order[static_cast<std::size_t>(i)] = i;
    for (int i = 21; i > 0; --i)
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(rnd.between(0, i))]);

    std::string text = "Grand Prix 3 - Season Report\r\n\r\nAustralian Grand Prix, Melbourne\r\n(1 of 16)\r\n\r\n"
                       "Race Result\r\n\r\n";
    const int minutes = rnd.between(28, 34);
    const int seconds = rnd.between(0, 59);
    const int thousandths = rnd.between(0, 999);
    int gap = 0;
    for (int p = 0; p < 22; ++p) {
        const DemoEntrant& e = kEntrants[order[static_cast<std::size_t>(p)]];
        char time[32];
        if (p == 0) {
            std::snprintf(time, sizeof time, "1:%02d:%02d.%03d", minutes, seconds, thousandths);
        } else if (p < 12) {
            gap += rnd.between(300, 9000);
            if (gap >= 60000)
                std::snprintf(time, sizeof time, "+%d:%02d.%03d", gap / 60000, gap / 1000 % 60, gap % 1000);
            else
                std::snprintf(time, sizeof time, "+%d.%03d", gap / 1000, gap % 1000);
        } else if (p < 18) {
            std::snprintf(time, sizeof time, "-%d Lap%s", p < 15 ? 1 : 2, p < 15 ? "" : "s");
        } else {
            std::snprintf(time, sizeof time, "DNF");
        }
        char line[128];
        std::snprintf(line, sizeof line, "%2d. %s  %s\r\n", p + 1, e.driver, time);
        text += line;
        text += std::string("    ") + e.team + "\r\n\r\n";
    }
    context.writeFile("gpsaves\\seasona1.txt", std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace pitwall::demo
