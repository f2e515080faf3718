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

std::optional<RampBases> GameRecord(TransferContext& context, int team)
{
    const std::uint32_t offset = TableOffset(context);
    if (!offset)
        return std::nullopt;
    RampBases record{};
    context.exe->read(offset + kRampTableBytes * static_cast<std::size_t>(team), record);
    return SubstitutePitCrewDefaults(record, team);
}

std::optional<RampBases> CarsetRecord(TransferContext& context, int team)
{
    const bool format7 = context.headerRead && context.headerRead->format == kFormatWithoutFirstBytes;
    auto bytes = context.loadRecord(PitCrewMemberName(team), format7 ? kPitCrewFormat7Bytes : kRampTableBytes);
    if (!bytes)
        return std::nullopt;
    if (format7)
        return PitCrewRecordOfFormat7(bytes->data());
    RampBases record{};
    std::copy_n(bytes->begin(), kRampTableBytes, record.begin());
    return record;
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

void PitCrewArea::take(TransferContext& context, const ByteSource& source)
{
    if (!anySelected(context))
        return;
    LoadPreviewJams(context, set_.pitCrewTextures, PitCrewTexturePath, false);
    // Each team's record is read from its own place, whichever teams are chosen.
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        auto record = source.fromCarset() ? CarsetRecord(context, t) : GameRecord(context, t);
        // A version without the table, or a missing member, ends the run of
        // pit-crew teams, as the game's own tool does.
        if (!record)
            return;
        set_.pitCrew[static_cast<std::size_t>(t)] = *record;
        context.markLoaded(ItemOf(t));
    }
}

void PitCrewArea::give(TransferContext& context, const ByteSink& sink) const
{
    for (int t = 0; t < kTeamCount; ++t) {
        if (!context.selected(ItemOf(t)))
            continue;
        GraphicsProgress(context, kPitCrewProgressText, ItemOf(t), Args(t));
        if (!RequireLoaded(context, ItemOf(t)))
            continue;
        const RampBases& record = set_.pitCrew[static_cast<std::size_t>(t)];
        if (sink.toCarset()) {
            context.saveMember(PitCrewMemberName(t), std::vector<std::uint8_t>(record.begin(), record.end()));
            continue;
        }
        const std::uint32_t offset = TableOffset(context);
        if (!offset)
            return;
        context.exe->write(offset + kRampTableBytes * static_cast<std::size_t>(t), record);
    }
}

void PitCrewArea::importFromGame(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Game));
}

void PitCrewArea::loadFromCarset(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void PitCrewArea::exportToGame(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Game)); }

void PitCrewArea::saveToCarset(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Carset)); }

} // namespace pitwall
