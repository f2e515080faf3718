#include "DemoContext.h"
#include "DemoJamWriter.h"

#include <cstdio>
#include <string>
#include <vector>

namespace pitwall::demo {

namespace {

struct DemoCircuit {
    const char* name;
    const char* country;
    int laps;
    int metres;
    const char* jam; // the circuit's own texture
};
constexpr DemoCircuit kCircuits[16] = {
    {"Albert Park", "Australia", 58, 5302, "ALBERT"},     {"Interlagos", "Brazil", 72, 4292, "INTERL"},
    {"Oscar Galvez", "Argentina", 72, 4259, "GALVEZ"},    {"Imola", "San Marino", 62, 4930, "IMOLA"},
    {"Catalunya", "Spain", 65, 4728, "CATALU"},           {"Monte Carlo", "Monaco", 78, 3367, "MONACO"},
    {"Gilles Villeneuve", "Canada", 69, 4421, "GILLES"},  {"Magny-Cours", "France", 71, 4250, "MAGNYC"},
    {"Silverstone", "Great Britain", 60, 5140, "SILVER"}, {"A1-Ring", "Austria", 71, 4319, "A1RING"},
    {"Hockenheim", "Germany", 45, 6823, "HOCKEN"},        {"Hungaroring", "Hungary", 77, 3972, "HUNGAR"},
    {"Spa-Francorchamps", "Belgium", 44, 6968, "SPAFRA"}, {"Monza", "Italy", 53, 5770, "MONZA"},
    {"Nurburgring", "Luxembourg", 67, 4556, "NURBUR"},    {"Suzuka", "Japan", 53, 5864, "SUZUKA"},
};

// Textures shared by every circuit, and which of them exist in which folder.
constexpr const char* kSharedJams[] = {"TRKGRASS", "TRKSKY", "TRKKERB", "TRKBARR"};

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

// Track-like filler: words of geometry and object data. Never forms the
// JAM-list marker 0C 0D 0E 0F or the info marker by accident.
void Filler(std::vector<std::uint8_t>& b, std::size_t bytes, DemoRandom& rnd)
{
    for (std::size_t i = 0; i < bytes; i += 8) {
        std::uint64_t v = rnd.next();
        for (std::size_t k = 0; k < 8 && i + k < bytes; ++k) {
            auto c = static_cast<std::uint8_t>(v >> (8 * k));
            if (c == 0x0C || c == '#')
                c = 0x2C;
            b.push_back(c);
        }
    }
}

std::vector<std::uint8_t> TrackFile(int t, const std::vector<std::string>& jams, DemoRandom& rnd, bool mixedCase)
{
    const DemoCircuit& c = kCircuits[t];
    std::vector<std::uint8_t> b;
    Filler(b, static_cast<std::size_t>(rnd.between(140'000, 250'000)), rnd);
    for (std::uint8_t m : {12, 13, 14, 15})
        b.push_back(m);
    Put16(b, static_cast<std::uint16_t>(jams.size()));
    for (const std::string& j : jams) {
        b.insert(b.end(), j.begin(), j.end());
        b.push_back(0);
    }
    Filler(b, static_cast<std::size_t>(rnd.between(20'000, 40'000)), rnd);
    const int lapMs = c.metres * 18 + rnd.between(0, 999);
    auto lapTime = [](int ms) {
        return std::to_string(ms / 60000) + ":" + (ms / 1000 % 60 < 10 ? "0" : "") + std::to_string(ms / 1000 % 60)
            + "." + std::to_string(ms % 1000 + 1000).substr(1);
    };
    std::string info = "#GP3INFO|";
    auto add = [&](const char* key, const std::string& value) {
        std::string k = key;
        if (mixedCase)
            for (std::size_t i = 1; i < k.size(); ++i)
                k[i] = static_cast<char>(k[i] | 0x20);
        info += k + "|" + value + "|";
    };
    add("NAME", c.name);
    add("COUNTRY", c.country);
    add("CREATED", "1998-0" + std::to_string(1 + t % 9) + "-15");
    add("AUTHOR", "Demo Circuits Team");
    add("YEAR", "1998");
    add("EVENT", std::string(c.country) + " Grand Prix");
    add("DESC", "Generated circuit " + std::to_string(t + 1));
    add("LAPS", std::to_string(c.laps));
    add("SLOT", std::to_string(t + 1));
    add("TYRE", std::to_string(rnd.between(1, 5)));
    add("LENGTHMETERS", std::to_string(c.metres));
    add("WEBSITE", "http://example.invalid/");
    add("LAPRECORD", lapTime(lapMs));
    add("LAPRECORDQUALIFY", lapTime(lapMs - 1800));
    add("SPLIT1", std::to_string(c.metres / 3));
    add("SPLIT2", std::to_string(2 * c.metres / 3));
    add("UNDERLAY", "0");
    b.insert(b.end(), info.begin(), info.end());
    // The file's last four bytes: a checksum, not part of the block.
    std::uint32_t sum = 0;
    for (std::uint8_t v : b)
        sum = sum * 31 + v;
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    return b;
}

// Real textures of a plausible size, so that carrying them through a carset
// is a test of something: the 8-bit one under GP3JAMS, the 16-bit one with
// the same layout under GP3JAMSH.
void WriteTrackJam(DemoContext& context, const std::string& file, bool software, bool hardware, DemoRandom& rnd)
{
    DemoJamLayout layout = MakeJamLayout(64 * rnd.between(1, 3), rnd.between(3, 8), rnd);
    if (software)
        context.writeFile("GP3JAMS\\" + file, Jam8File(layout, MakeJam8Page(layout, rnd)));
    if (hardware)
        context.writeFile("GP3JAMSH\\" + file, Jam16File(layout, MakeJam16Page(layout, rnd), rnd.chance(33), rnd));
}

} // namespace

void WriteTrackFiles(DemoContext& context)
{
    DemoRandom rnd(context.seed * 977 + 3);
    for (const char* shared : kSharedJams) {
        const std::string file = std::string(shared) + ".JAM";
        WriteTrackJam(context, file, true, true, rnd);
    }
    for (int t = 0; t < 16; ++t) {
        const std::string own = std::string(kCircuits[t].jam) + ".JAM";
        const std::string only = std::string(kCircuits[t].jam) + "H.JAM";
        std::vector<std::string> jams = {"GP3JAMS\\" + own, "GP3JAMS\\" + only};
        for (const char* shared : kSharedJams)
            jams.push_back(std::string("GP3JAMS\\") + shared + ".JAM");
        // Every circuit's textures exist in both folders.
        WriteTrackJam(context, own, true, true, rnd);
        WriteTrackJam(context, only, true, true, rnd);
        // The last circuit names one texture nobody installed.
        if (t == 15)
            jams.push_back("GP3JAMS\\SUZUKAX.JAM");
        char name[32];
        std::snprintf(name, sizeof name, "CIRCUITS\\F1CT%02d.DAT", t + 1);
        context.writeFile(name, TrackFile(t, jams, rnd, t % 4 == 1));
    }
    // An added circuit whose name is too long for the game's table of track files.
    context.writeFile("CIRCUITS\\SILVERSTONE98.DAT", TrackFile(8, {"GP3JAMS\\TRKSKY.JAM"}, rnd, false));
}

} // namespace pitwall::demo
