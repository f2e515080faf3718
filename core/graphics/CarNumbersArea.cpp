#include "graphics/CarNumbersArea.h"

#include "app/ProgramState.h"
#include "graphics/CarNumbers.h"
#include "graphics/GraphicsOffsets.h"
#include "graphics/GraphicsTransfer.h"

namespace pitwall {

namespace {

constexpr int kCarNumbersProgressText = 770;

// The version's offset, or 0 after a message when the version is unknown.
std::uint32_t OffsetFor(TransferContext& context)
{
    const int version = context.program.gameVersion;
    if (version < 1 || version > 3) {
        context.fail("The car-number positions are not known for this version of GP3.EXE");
        return 0;
    }
    return kCarNumbersOffset[static_cast<std::size_t>(version)];
}

} // namespace

void CarNumbersArea::importFromGame(TransferContext& context)
{
    if (!context.selected(kCarNumbersItem))
        return;
    GraphicsProgress(context, kCarNumbersProgressText, kCarNumbersItem);
    if (const std::uint32_t offset = OffsetFor(context)) {
        table_ = ReadCarNumbers(*context.exe, offset);
        context.markLoaded(kCarNumbersItem);
    }
}

void CarNumbersArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kCarNumbersItem))
        return;
    GraphicsProgress(context, kCarNumbersProgressText, kCarNumbersItem);
    if (!RequireLoaded(context, kCarNumbersItem))
        return;
    if (const std::uint32_t offset = OffsetFor(context))
        WriteCarNumbers(table_, *context.exe, offset);
}

void CarNumbersArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kCarNumbersItem))
        return;
    context.workOnItem(kCarNumbersItem);
    auto bytes = context.loadRecord(kCarNumbersMember, kCarNumbersBytes);
    if (!bytes)
        return;
    table_ = CarNumbersFromImage(*bytes);
    context.markLoaded(kCarNumbersItem);
}

void CarNumbersArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kCarNumbersItem))
        return;
    context.workOnItem(kCarNumbersItem);
    if (RequireLoaded(context, kCarNumbersItem))
        context.saveMember(kCarNumbersMember, CarNumbersImage(table_));
}

} // namespace pitwall
