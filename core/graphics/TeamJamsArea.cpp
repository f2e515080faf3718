#include "graphics/TeamJamsArea.h"

#include "graphics/GraphicsTransfer.h"
#include "transfer/CarsetHeader.h"

namespace pitwall {

std::vector<int> TeamJamsArea::items() const
{
    std::vector<int> numbers;
    for (const JamItem& item : JamItemsOf(group_))
        numbers.push_back(item.item);
    return numbers;
}

void TeamJamsArea::progress(TransferContext& context, const JamItem& item) const
{
    const int text = JamProgressText(group_) + (item.hardware ? 1 : 0);
    if (group_ == JamGroup::Helmets)
        GraphicsProgress(context, text, item.item);
    else
        GraphicsProgress(context, text, item.item, Args(item.files.front().name));
}

template <typename Read>
void TeamJamsArea::take(TransferContext& context, const JamItem& item, Read read)
{
    std::vector<TJAMFile> jams;
    for (const JamFileSlot& file : item.files) {
        std::optional<TJAMFile> jam = read(file);
        if (!jam)
            return;
        jams.push_back(std::move(*jam));
    }
    JamSlots& slots = JamsOf(set_, group_).variant(item.hardware);
    for (std::size_t i = 0; i < jams.size(); ++i)
        slots.at(item.files[i].slot) = std::move(jams[i]);
    context.markLoaded(item.item);
}

void TeamJamsArea::importFromGame(TransferContext& context)
{
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        const JamKind kind = item.hardware ? JamKind::SixteenBit : JamKind::EightBit;
        take(context, item,
             [&](const JamFileSlot& file) { return ReadGameJam(context, JamGamePath(file, item.hardware), kind); });
    }
}

void TeamJamsArea::loadFromCarset(TransferContext& context)
{
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        const JamKind kind = item.hardware ? JamKind::SixteenBit : JamKind::EightBit;
        take(context, item, [&](const JamFileSlot& file) -> std::optional<TJAMFile> {
            const std::string member = JamMemberName(file, item.hardware);
            auto bytes = context.loadMember(member, kMaxJamFileBytes);
            if (!bytes)
                return std::nullopt;
            return DecodeJamBytes(context, *bytes, member + " (carset member)", !item.hardware, kind);
        });
    }
}

void TeamJamsArea::exportToGame(TransferContext& context)
{
    const JamVariants& jams = JamsOf(set_, group_);
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        if (!RequireLoaded(context, item.item))
            continue;
        for (const JamFileSlot& file : item.files) {
            const auto& jam = jams.variant(item.hardware).at(file.slot);
            if (!jam || jam->is8Bit() == item.hardware) {
                context.fail(JamGamePath(file, item.hardware) + " was not written: the working set holds no "
                             + (item.hardware ? "16-bit" : "8-bit") + " JAM for it");
                continue;
            }
            context.replaceGameFile(JamGamePath(file, item.hardware), JamBytes(*jam, true));
        }
    }
}

void TeamJamsArea::saveToCarset(TransferContext& context)
{
    const JamVariants& jams = JamsOf(set_, group_);
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        if (!RequireLoaded(context, item.item)) {
            if (context.headerWrite)
                context.headerWrite->items.at(static_cast<std::size_t>(item.item)) = 0;
            continue;
        }
        for (const JamFileSlot& file : item.files) {
            const auto& jam = jams.variant(item.hardware).at(file.slot);
            const std::string member = JamMemberName(file, item.hardware);
            if (!jam || jam->is8Bit() == item.hardware) {
                context.fail(member + " was not stored: the working set holds no "
                             + (item.hardware ? "16-bit" : "8-bit") + " JAM for it");
                continue;
            }
            // Carsets hold the 8-bit JAM unscrambled.
            context.saveMember(member, JamBytes(*jam, item.hardware));
        }
    }
}

} // namespace pitwall
