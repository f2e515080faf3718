#include "graphics/FlagColoursArea.h"

#include "app/ProgramState.h"
#include "graphics/GraphicsOffsets.h"
#include "graphics/GraphicsTransfer.h"
#include "graphics/PreviewJams.h"
#include "transfer/GameFile.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kFlagProgressText = 1004;
constexpr std::size_t kFlagTableBytes = kFlagTypeCount * kRampTableBytes;

std::uint32_t TableOffset(TransferContext& context)
{
    const int version = context.program.gameVersion;
    if (version < 1 || version > 3) {
        context.fail("The flag colours are not known for this version of GP3.EXE");
        return 0;
    }
    return kFlagColoursOffset[static_cast<std::size_t>(version)];
}

std::vector<std::uint8_t> TableBytes(const std::array<RampBases, kFlagTypeCount>& flags)
{
    std::vector<std::uint8_t> bytes;
    for (const RampBases& table : flags)
        bytes.insert(bytes.end(), table.begin(), table.end());
    return bytes;
}

void TakeTableBytes(std::array<RampBases, kFlagTypeCount>& flags, const std::vector<std::uint8_t>& bytes)
{
    for (std::size_t f = 0; f < flags.size(); ++f)
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(f * kRampTableBytes), kRampTableBytes,
                    flags[f].begin());
}

} // namespace

void FlagColoursArea::importFromGame(TransferContext& context)
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    const std::uint32_t offset = TableOffset(context);
    if (!offset)
        return;
    TakeTableBytes(set_.flags, context.exe->read(offset, kFlagTableBytes));
    LoadPreviewJams(context, set_.flagFrames, FlagFramePath, true);
    context.markLoaded(kFlagColoursItem);
}

void FlagColoursArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    if (!RequireLoaded(context, kFlagColoursItem))
        return;
    if (const std::uint32_t offset = TableOffset(context))
        context.exe->write(offset, TableBytes(set_.flags));
}

void FlagColoursArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    auto bytes = context.loadRecord(kFlagColoursMember, kFlagTableBytes);
    if (!bytes)
        return;
    TakeTableBytes(set_.flags, *bytes);
    LoadPreviewJams(context, set_.flagFrames, FlagFramePath, true);
    context.markLoaded(kFlagColoursItem);
}

void FlagColoursArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    if (RequireLoaded(context, kFlagColoursItem))
        context.saveMember(kFlagColoursMember, TableBytes(set_.flags));
}

} // namespace pitwall
