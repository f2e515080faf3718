#include "DemoContext.h"

#include "app/Windows1252.h"

#include <array>
#include <string>

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
    {"FRAN\xC3\xA7" "AIS", "fr", {2702, 2843}, {1789, 1805, 1821, 1837, 1853, 1869, 1901}},
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
    {"Montr\xC3\xA9" "al", "Canada", "Canadian", "CAN", "Hard on brakes"},
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

// Game-like filler: short menu texts, a few with line breaks and tab stops,
// some empty, some with accented letters.
std::string FillerText(const DemoLanguage& l, int n, DemoRandom& rnd)
{
    switch (rnd.between(0, 19)) {
    case 0:
        return "";
    case 1:
        return std::string(l.tag) + " line " + std::to_string(n) + "\r\nsecond line";
    case 2:
        return std::string("Option\t") + std::to_string(n);
    case 3:
        return "Caf\xE9 " + std::to_string(n) + " \xAB" + l.tag + "\xBB";
    case 4:
        return "Press ^ to continue " + std::to_string(n);
    default:
        return std::string(l.tag) + " text " + std::to_string(n);
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
                if (n >= l.trackBlocks[static_cast<std::size_t>(b)] && n < l.trackBlocks[static_cast<std::size_t>(b)] + 16)
                    text = Utf8ToWindows1252(TrackText(b, n - l.trackBlocks[static_cast<std::size_t>(b)]));
            if (text.empty())
                text = FillerText(l, n, rnd);
            Append(file, text);
        }
        context.writeFile(std::string("LDATA\\") + l.fileName + ".str", file);
    }
}

} // namespace pitwall::demo
