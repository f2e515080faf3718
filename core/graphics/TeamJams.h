#pragma once
// Which JAM files each item of the team graphics carries: car liveries
// (items 11 + t software, 22 + t hardware), cockpit liveries (33 + t,
// 44 + t), jacks (55 + t, 66 + t; two files each) and helmet sheets (77
// software, 102 hardware; two files).

#include "graphics/GraphicsSet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pitwall {

enum class JamGroup { CarLiveries, CockpitLiveries, Jacks, Helmets };

// What the team JAMs of one carset (all four groups, both variants) may hold
// together: the game's own are a few hundred kilobytes each, and a carset's
// are held in memory from its load until they are exported.
inline constexpr std::uint64_t kMaxCarsetTeamJamBytes = 64'000'000;

// One file of an item: its slot in the group's arrays, its name and folder
// below GP3JAMS / GP3JAMSH.
struct JamFileSlot {
    std::size_t slot = 0;
    std::string name;
    std::string folder;
};

struct JamItem {
    int item = 0;
    bool hardware = false;
    // Team slot (0 for the helmets).
    int team = 0;
    std::vector<JamFileSlot> files;
};

// Every item of the group, software items first, in team order.
std::vector<JamItem> JamItemsOf(JamGroup group);
// The UI text of the group's software progress line (the hardware one is
// the next number).
int JamProgressText(JamGroup group);
JamVariants& JamsOf(GraphicsSet& set, JamGroup group);

// Game path of a file of a variant: "GP3JAMS\Liveries\WILLIA98.JAM".
std::string JamGamePath(const JamFileSlot& file, bool hardware);
// Carset member: "WILLIA98.JAMSoft.DAT" / "WILLIA98.JAMHard.DAT".
std::string JamMemberName(const JamFileSlot& file, bool hardware);

} // namespace pitwall
