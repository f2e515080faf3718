#include "graphics/PitCrewArea.h"

#include "app/ProgramState.h"
#include "graphics/GraphicsOffsets.h"
#include "graphics/GraphicsTransfer.h"
#include "graphics/PreviewJams.h"
#include "graphics/RampTables.h"
#include "transfer/CarsetHeader.h"
#include "transfer/GameFile.h"
#include "transfer/SelectionItems.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kPitCrewProgressText = 898;
constexpr std::uint32_t kFormatWithoutFirstBytes = 7;

int ItemOf(int team) { return kPitCrewFirst + team; }

std::uint32_t TableOffset(TransferContext& context)
{
    const int version = context.program.gameVersion;
    if (version < 1 || version > 3) {
        context.fail("The pit-crew colours are not known for this version of GP3.EXE");
        return 0;
    }
    return kPitCrewOffset[static_cast<std::size_t>(version)];
}

} // namespace

std::string PitCrewMemberName(int team) { return "PitCrewColors" + std::to_string(team) + ".DAT"; }

std::vector<int> PitCrewArea::items() const
{
    std::vector<int> numbers;
    for (int t = 0; t < kTeamCount; ++t)
        numbers.push_back(ItemOf(t));
    return numbers;
}

bool PitCrewArea::anySelected(const TransferContext& context) const
{
    for (int t = 0; t < kTeamCount; ++t)
        if (context.selected(ItemOf(t)))
            return true;
    return false;
}

void PitCrewArea::importFromGame(TransferContext& context)
{
    if (!anySelected(context))
        return;
    LoadPreviewJams(context, set_.pitCrewTextures, PitCrewTexturePath, false);
    // Each team's record is read from its own place, whichever teams are chosen.
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        const std::uint32_t offset = TableOffset(context);
        if (!offset)
            return;
        RampBases record{};
        context.exe->read(offset + kRampTableBytes * static_cast<std::size_t>(t), record);
        set_.pitCrew[static_cast<std::size_t>(t)] = SubstitutePitCrewDefaults(record, t);
        context.markLoaded(ItemOf(t));
    }
}

void PitCrewArea::exportToGame(TransferContext& context)
{
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        if (!RequireLoaded(context, ItemOf(t)))
            continue;
        const std::uint32_t offset = TableOffset(context);
        if (!offset)
            return;
        context.exe->write(offset + kRampTableBytes * static_cast<std::size_t>(t),
                           set_.pitCrew[static_cast<std::size_t>(t)]);
    }
}

void PitCrewArea::loadFromCarset(TransferContext& context)
{
    if (!anySelected(context))
        return;
    LoadPreviewJams(context, set_.pitCrewTextures, PitCrewTexturePath, false);
    const bool format7 = context.headerRead && context.headerRead->format == kFormatWithoutFirstBytes;
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        auto bytes = context.loadRecord(PitCrewMemberName(t), format7 ? kPitCrewFormat7Bytes : kRampTableBytes);
        // A missing member ends the run of pit-crew teams, as the game's
        // own tool does.
        if (!bytes)
            return;
        RampBases record{};
        if (format7)
            record = PitCrewRecordOfFormat7(bytes->data());
        else
            std::copy_n(bytes->begin(), kRampTableBytes, record.begin());
        set_.pitCrew[static_cast<std::size_t>(t)] = record;
        context.markLoaded(ItemOf(t));
    }
}

void PitCrewArea::saveToCarset(TransferContext& context)
{
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        if (!RequireLoaded(context, ItemOf(t)))
            continue;
        const RampBases& record = set_.pitCrew[static_cast<std::size_t>(t)];
        context.saveMember(PitCrewMemberName(t), std::vector<std::uint8_t>(record.begin(), record.end()));
    }
}

} // namespace pitwall
