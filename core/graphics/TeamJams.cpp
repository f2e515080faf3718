#include "graphics/TeamJams.h"

#include "transfer/SelectionItems.h"

namespace pitwall {

namespace {

struct GroupInfo {
    int softFirst;
    int hardFirst;
    int progressText;
};

GroupInfo InfoOf(JamGroup group)
{
    switch (group) {
    case JamGroup::CarLiveries:
        return {kCarSoftFirst, kCarHardFirst, 231};
    case JamGroup::CockpitLiveries:
        return {kCockpitSoftFirst, kCockpitHardFirst, 233};
    case JamGroup::Jacks:
        return {kJackSoftFirst, kJackHardFirst, 235};
    case JamGroup::Helmets:
        break;
    }
    return {77, 102, 237};
}

std::vector<JamFileSlot> FilesOf(JamGroup group, int team)
{
    const auto t = static_cast<std::size_t>(team);
    const TeamJamNames& names = kTeamJamNames[t];
    switch (group) {
    case JamGroup::CarLiveries:
        return {{t, names.car, kLiveriesFolder}};
    case JamGroup::CockpitLiveries:
        return {{t, names.cockpit, kLiveriesFolder}};
    case JamGroup::Jacks:
        return {{t, names.jack, kMainFolder}, {t + kTeamCount, names.jack2, kMainFolder}};
    case JamGroup::Helmets:
        break;
    }
    return {{0, kHelmetSheetNames[0], kLiveriesFolder}, {1, kHelmetSheetNames[1], kLiveriesFolder}};
}

} // namespace

std::vector<JamItem> JamItemsOf(JamGroup group)
{
    const GroupInfo info = InfoOf(group);
    const int teams = group == JamGroup::Helmets ? 1 : kTeamCount;
    std::vector<JamItem> items;
    for (bool hardware : {false, true})
        for (int t = 0; t < teams; ++t)
            items.push_back({(hardware ? info.hardFirst : info.softFirst) + t, hardware, t, FilesOf(group, t)});
    return items;
}

int JamProgressText(JamGroup group) { return InfoOf(group).progressText; }

JamVariants& JamsOf(GraphicsSet& set, JamGroup group)
{
    switch (group) {
    case JamGroup::CarLiveries:
        return set.cars;
    case JamGroup::CockpitLiveries:
        return set.cockpits;
    case JamGroup::Jacks:
        return set.jacks;
    case JamGroup::Helmets:
        break;
    }
    return set.helmets;
}

std::string JamGamePath(const JamFileSlot& file, bool hardware)
{
    return std::string(hardware ? kHardwareJamFolder : kSoftwareJamFolder) + file.folder + file.name;
}

std::string JamMemberName(const JamFileSlot& file, bool hardware)
{
    return file.name + (hardware ? kHardMemberSuffix : kSoftMemberSuffix);
}

} // namespace pitwall
