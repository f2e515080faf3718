// The track data of GP3.EXE and F1GSTATE.SAV: per slot the computer car
// setup, grip, fuel, pit stop strategies and bumps around the track base,
// the 10-byte records, the second laps copy, the track file names, the
// stream of track-map labels, and the lap records in the savegame. Every
// value differs between slots and fields, so a round trip that loses or
// moves a byte shows.

#include "DemoContext.h"

#include <algorithm>
#include <array>
#include <string>

namespace pitwall::demo {

namespace {

struct TrackPositions {
    std::array<std::uint32_t, 16> bases;
    std::uint32_t strategies, records, secondLaps, fileNames, sectionsStart;
};

// Positions of the game (v1.00, v1.13); kept here on purpose, apart from the
// program's own tables, so that the tests compare two independent sources.
constexpr TrackPositions kPositions[2] = {
    {{0x142BA0, 0x142C74, 0x142D88, 0x142E8C, 0x142F84, 0x143068, 0x143154, 0x14323C, 0x14331C, 0x14340C, 0x1434F8,
      0x1435E8, 0x1436E4, 0x1437D4, 0x1438C4, 0x1439A0},
     80,
     0x73B3B4,
     0x143A7E,
     0x8378F1,
     0x84763E},
    {{0x143E10, 0x143EE8, 0x144000, 0x144108, 0x144204, 0x1442EC, 0x1443DC, 0x1444C8, 0x1445AC, 0x1446A0, 0x144790,
      0x144884, 0x144984, 0x144A78, 0x144B6C, 0x144C4C},
     84,
     0x73C948,
     0x144D2E,
     0x83A36D,
     0x84A392},
};
constexpr std::uint32_t kLapRecords[2] = {0x616, 0x6DA};
constexpr int kSlotBytes[16] = {1380, 1444, 1560, 1256, 1136, 1156, 720,  1236,
                                1496, 1224, 1307, 1020, 1624, 1416, 1248, 1862};

constexpr const char* kDrivers[] = {"Mika Hakkinen",  "David Coulthard",    "Michael Schumacher",
                                    "Eddie Irvine",   "Jacques Villeneuve", "Heinz-Harald Frentzen",
                                    "Damon Hill",     "Ralf Schumacher",    "Giancarlo Fisichella",
                                    "Alexander Wurz", "Jean Alesi",         "Johnny Herbert"};
constexpr const char* kTeams[] = {"McLaren",  "Ferrari", "Williams", "Jordan",
                                  "Benetton", "Sauber",  "Arrows",   "Stewart"};
constexpr const char* kWords[] = {"Turn",   "Hairpin", "Chicane", "Curve", "Straight", "Bend",
                                  "Corner", "Esses",   "Loop",    "Kink",  "Bridge",   "Pits"};

struct Entry {
    std::string label;
    int x1, y1, x2, y2, gear, speed;
};

// Four views whose entries fill the slot's bytes exactly: every entry takes
// 11 bytes and its label, every group is followed by a separator (except the
// very last group of the stream).
std::array<std::vector<Entry>, 4> SlotViews(int slot, DemoRandom& rnd)
{
    std::array<std::vector<Entry>, 4> views;
    const int separators = slot == 15 ? 6 : 8;
    int room = kSlotBytes[slot] - separators;
    auto entry = [&](int view, int index) {
        Entry e;
        e.label = std::string(kWords[rnd.between(0, 11)]) + " " + std::to_string(index + 1);
        // Some sections start at x 255: a low byte 0xFF right after a
        // group separator.
        e.x1 = (slot + view + index) % 7 == 3 ? 255 : rnd.between(0, 700);
        e.y1 = rnd.between(0, 500);
        e.x2 = std::min(800, e.x1 + rnd.between(20, 100));
        e.y2 = std::min(600, e.y1 + rnd.between(20, 100));
        e.gear = rnd.between(1, 6);
        e.speed = rnd.between(40, 200);
        return e;
    };
    // The smallest slot leaves its last view empty, as a circuit with fewer
    // views would.
    const int views4 = slot == 6 ? 3 : 4;
    for (int v = 0; v < views4; ++v)
        for (int i = 0; i < 3 + (slot + v) % 4; ++i) {
            views[static_cast<std::size_t>(v)].push_back(entry(v, i));
            room -= 11 + static_cast<int>(views[static_cast<std::size_t>(v)].back().label.size());
        }
    // Fill the rest: lengthen labels up to 29 characters, add entries while
    // a whole one still fits.
    int v = 0;
    while (room > 0) {
        auto& list = views[static_cast<std::size_t>(v % views4)];
        if (room >= 11 + 12 && list.size() < 30) {
            list.push_back(entry(v % views4, static_cast<int>(list.size())));
            room -= 11 + static_cast<int>(list.back().label.size());
        } else {
            for (auto& e : list) {
                int add = std::min(room, 29 - static_cast<int>(e.label.size()));
                for (int k = 0; k < add; ++k)
                    e.label.push_back(static_cast<char>('a' + rnd.between(0, 25)));
                room -= add;
                if (room == 0)
                    break;
            }
        }
        ++v;
    }
    return views;
}

void WriteSections(DemoContext& context, const TrackPositions& at, DemoRandom& rnd)
{
    std::vector<std::uint8_t> stream;
    stream.push_back(0x34);
    stream.push_back(0x12);
    for (int t = 0; t < 16; ++t) {
        auto views = SlotViews(t, rnd);
        for (int v = 0; v < 4; ++v) {
            for (const Entry& e : views[static_cast<std::size_t>(v)]) {
                for (int w : {e.x1, e.y1, e.x2, e.y2}) {
                    stream.push_back(static_cast<std::uint8_t>(w));
                    stream.push_back(static_cast<std::uint8_t>(w >> 8));
                }
                stream.insert(stream.end(), e.label.begin(), e.label.end());
                stream.push_back(0);
                stream.push_back(static_cast<std::uint8_t>(e.gear));
                stream.push_back(static_cast<std::uint8_t>(e.speed));
            }
            if (!(t == 15 && v == 3)) {
                stream.push_back(0xFF);
                stream.push_back(0xFF);
            }
        }
    }
    context.putExeBytes(at.sectionsStart, stream);
}

void WriteLapRecord(DemoContext& context, std::uint32_t at, DemoRandom& rnd)
{
    context.putSaveText(at, kDrivers[rnd.between(0, 11)], 24);
    context.putSaveText(at + 24, kTeams[rnd.between(0, 7)], 14);
    context.putSave(at + 38, static_cast<std::uint64_t>(rnd.between(62'000, 130'000)), 4);
    // Days from 1 January 1978: 1985..2000.
    context.putSave(at + 42, static_cast<std::uint64_t>(rnd.between(2'600, 8'100)), 2);
}

} // namespace

void WriteTrackData(DemoContext& context)
{
    DemoRandom rnd(context.seed * 313 + 11);
    const TrackPositions& at = kPositions[context.versionColumn()];
    for (int t = 0; t < 16; ++t) {
        const std::uint32_t base = at.bases[static_cast<std::size_t>(t)];
        for (int i = 0; i < 8; ++i) {
            const int value = i < 2 ? rnd.between(0, 20) : rnd.between(0, 80);
            context.putExe(base - 20 + static_cast<std::uint32_t>(i), static_cast<std::uint64_t>((value + 151) % 256),
                           1);
        }
        context.putExe(base, static_cast<std::uint64_t>(rnd.between(9000, 16000)), 2);
        context.putExe(base + 48, static_cast<std::uint64_t>(rnd.between(800, 1400)), 2);
        context.putExe(base + 50, static_cast<std::uint64_t>(rnd.between(700, 1300)), 2);

        const int laps = rnd.between(44, 78);
        const int one = rnd.between(10, 50), two = rnd.between(20, 100 - one);
        const int percentages[3] = {one, two, 100 - one - two};
        for (int g = 0; g < 3; ++g) {
            const std::uint32_t group = base + at.strategies + 16u * static_cast<std::uint32_t>(g);
            for (int w = 0; w < 8; ++w) {
                int value = w == 0 ? percentages[g] : 1000 + t * 40 + g * 10 + w;
                if (w >= 1 && w <= 2 * (g + 1))
                    value = w % 2 == 1 ? laps / (g + 2) * ((w + 1) / 2) : laps / 10;
                context.putExe(group + 2u * static_cast<std::uint32_t>(w), static_cast<std::uint64_t>(value), 2);
            }
        }

        // Bumps up to the next block of the game's table.
        const std::uint32_t next = t < 15 ? at.bases[static_cast<std::size_t>(t) + 1] - 20 : at.secondLaps;
        const int room = static_cast<int>((next - (base + 160)) / 4) - 1;
        const int bumps = std::min(room, 2 + t % 5);
        for (int b = 0; b < bumps; ++b) {
            context.putExe(base + 160 + 4u * static_cast<std::uint32_t>(b),
                           static_cast<std::uint64_t>(500 + b * 700 + rnd.between(0, 600)), 2);
            context.putExe(base + 162 + 4u * static_cast<std::uint32_t>(b),
                           static_cast<std::uint64_t>(rnd.between(1, 400)), 2);
        }
        context.putExe(base + 160 + 4u * static_cast<std::uint32_t>(bumps), 0xFFFF, 2);

        const std::uint32_t record = at.records + 10u * static_cast<std::uint32_t>(t);
        const int metres = rnd.between(3300, 7000);
        context.putExe(record, static_cast<std::uint64_t>(1990 + t), 2);
        context.putExe(record + 2, static_cast<std::uint64_t>(metres), 2);
        context.putExe(record + 4, static_cast<std::uint64_t>(metres * 3281 / 1000), 2);
        context.putExe(record + 6, static_cast<std::uint64_t>(laps), 1);
        context.putExe(record + 7, t % 3 == 0 ? 0u : 0x00FFu, 2);
        context.putExe(at.secondLaps + static_cast<std::uint32_t>(t), static_cast<std::uint64_t>(laps), 1);

        std::string name = "CIRCUITS\\F1CT" + std::string(t < 9 ? "0" : "") + std::to_string(t + 1) + ".DAT";
        name.resize(19, ' ');
        std::vector<std::uint8_t> field(name.begin(), name.end());
        field.push_back(0);
        context.putExeBytes(at.fileNames + 20u * static_cast<std::uint32_t>(t), field);

        const std::uint32_t save = kLapRecords[context.formatColumn()] + 89u * static_cast<std::uint32_t>(t);
        WriteLapRecord(context, save, rnd);
        WriteLapRecord(context, save + 44, rnd);
        context.putSave(save + 88, static_cast<std::uint64_t>(rnd.between(1, 250)), 1);
    }
    WriteSections(context, at, rnd);
}

} // namespace pitwall::demo
