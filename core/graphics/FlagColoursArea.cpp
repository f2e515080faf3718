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

void FlagColoursArea::take(TransferContext& context, const ByteSource& source)
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (source.fromCarset())
        bytes = context.loadRecord(kFlagColoursMember, kFlagTableBytes);
    else if (const std::uint32_t offset = TableOffset(context))
        bytes = context.exe->read(offset, kFlagTableBytes);
    if (!bytes)
        return;
    TakeTableBytes(set_.flags, *bytes);
    LoadPreviewJams(context, set_.flagFrames, FlagFramePath, true);
    context.markLoaded(kFlagColoursItem);
}

void FlagColoursArea::give(TransferContext& context, const ByteSink& sink) const
{
    if (!context.selected(kFlagColoursItem))
        return;
    GraphicsProgress(context, kFlagProgressText, kFlagColoursItem);
    if (!RequireLoaded(context, kFlagColoursItem))
        return;
    if (sink.toCarset())
        context.saveMember(kFlagColoursMember, TableBytes(set_.flags));
    else if (const std::uint32_t offset = TableOffset(context))
        context.exe->write(offset, TableBytes(set_.flags));
}

void FlagColoursArea::importFromGame(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Game));
}

void FlagColoursArea::loadFromCarset(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void FlagColoursArea::exportToGame(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Game)); }

void FlagColoursArea::saveToCarset(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Carset)); }

} // namespace pitwall
