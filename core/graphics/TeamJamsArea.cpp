#include "graphics/TeamJamsArea.h"

#include "app/ProgramState.h"
#include "formats/GameInstallation.h"
#include "graphics/GraphicsTransfer.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetBudget.h"
#include "transfer/CarsetHeader.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr JamGroup kAllGroups[] = {JamGroup::CarLiveries, JamGroup::CockpitLiveries, JamGroup::Jacks,
                                   JamGroup::Helmets};

// Why the team JAMs the load takes from the carset, of all four groups
// together, are more than the teams use, or empty. Each group's area asks
// before it unpacks any of its own; only the first says so.
std::string TeamJamBudgetProblem(const TransferContext& context)
{
    std::vector<std::string> members;
    std::size_t slots = 0;
    for (JamGroup group : kAllGroups)
        for (const JamItem& item : JamItemsOf(group)) {
            slots += item.files.size();
            if (context.selected(item.item))
                for (const JamFileSlot& file : item.files)
                    members.push_back(JamMemberName(file, item.hardware));
        }
    return MemberBudgetProblem(*context.source, members,
                               {"team JAMs", "the teams of a carset", slots, kMaxCarsetTeamJamBytes});
}

} // namespace

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

void TeamJamsArea::take(TransferContext& context, const ByteSource& source)
{
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        takeItem(context, item, source);
    }
}

void TeamJamsArea::takeItem(TransferContext& context, const JamItem& item, const ByteSource& source)
{
    const JamKind kind = item.hardware ? JamKind::SixteenBit : JamKind::EightBit;
    std::vector<ReadJam> jams;
    for (const JamFileSlot& file : item.files) {
        const AreaFile names{JamGamePath(file, item.hardware), JamMemberName(file, item.hardware)};
        auto bytes = source.read(names, kMaxJamFileBytes);
        if (!bytes)
            return;
        // Carsets hold the 8-bit JAM unscrambled.
        std::optional<TJAMFile> jam = source.fromCarset()
            ? DecodeJamBytes(context, *bytes, names.member + " (carset member)", !item.hardware, kind)
            : DecodeJamBytes(context, *bytes, GameFilePath(context.program.settings.gameDirectory, names.gamePath),
                             false, kind);
        if (!jam)
            return;
        jams.push_back(ReadJam{std::move(*jam), std::move(*bytes)});
    }
    JamSlots& slots = JamsOf(set_, group_).variant(item.hardware);
    if (item.hardware)
        hardwareForms_.resize(slots.size());
    for (std::size_t i = 0; i < jams.size(); ++i) {
        const std::size_t slot = item.files[i].slot;
        if (item.hardware)
            hardwareForms_.at(slot) = {std::move(jams[i].bytes), JamBytes(jams[i].jam, true)};
        slots.at(slot) = std::move(jams[i].jam);
    }
    context.markLoaded(item.item);
}

std::vector<std::uint8_t> TeamJamsArea::hardwareBytes(std::size_t slot, const TJAMFile& jam) const
{
    std::vector<std::uint8_t> bytes = JamBytes(jam, true);
    if (slot < hardwareForms_.size() && !hardwareForms_[slot].original.empty()
        && hardwareForms_[slot].assembled == bytes)
        return hardwareForms_[slot].original;
    return bytes;
}

void TeamJamsArea::give(TransferContext& context, const ByteSink& sink) const
{
    const JamVariants& jams = JamsOf(set_, group_);
    for (const JamItem& item : JamItemsOf(group_)) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        if (!RequireLoaded(context, item.item)) {
            sink.leaveOut(item.item);
            continue;
        }
        for (const JamFileSlot& file : item.files) {
            const auto& jam = jams.variant(item.hardware).at(file.slot);
            const AreaFile names{JamGamePath(file, item.hardware), JamMemberName(file, item.hardware)};
            if (!jam || jam->is8Bit() == item.hardware) {
                context.fail((sink.toCarset() ? names.member + " was not stored" : names.gamePath + " was not written")
                             + ": the working set holds no " + (item.hardware ? "16-bit" : "8-bit") + " JAM for it");
                continue;
            }
            // Carsets hold the 8-bit JAM unscrambled.
            sink.write(names, item.hardware ? hardwareBytes(file.slot, *jam) : JamBytes(*jam, !sink.toCarset()));
        }
    }
}

void TeamJamsArea::importFromGame(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Game));
}

void TeamJamsArea::loadFromCarset(TransferContext& context)
{
    if (auto problem = context.source ? TeamJamBudgetProblem(context) : std::string(); !problem.empty()) {
        const bool told = context.failures
            && std::any_of(context.failures->begin(), context.failures->end(),
                           [&](const TransferFailure& f) { return f.text == problem; });
        if (!told)
            context.fail(problem);
        return;
    }
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void TeamJamsArea::exportToGame(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Game)); }

void TeamJamsArea::saveToCarset(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Carset)); }

} // namespace pitwall
