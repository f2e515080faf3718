#include "graphics/TeamJamsArea.h"

#include "app/ProgramState.h"
#include "base/ParallelFor.h"
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
    // The files of every selected item are read in turn, then decoded on
    // every core (the 16-bit ones also assembled again, for hardwareBytes),
    // then taken item by item on this thread, which reports what failed.
    struct File {
        std::string label;
        bool hardware = false;
        std::vector<std::uint8_t> bytes;
        DecodedJam decoded;
        std::vector<std::uint8_t> assembled;
    };
    struct ReadItem {
        const JamItem* item = nullptr;
        std::size_t firstFile = 0;
    };
    const std::vector<JamItem> items = JamItemsOf(group_);
    std::vector<ReadItem> read;
    std::vector<File> files;
    for (const JamItem& item : items) {
        if (!context.selected(item.item))
            continue;
        progress(context, item);
        const std::size_t first = files.size();
        for (const JamFileSlot& file : item.files) {
            const AreaFile names{JamGamePath(file, item.hardware), JamMemberName(file, item.hardware)};
            auto bytes = source.read(names, kMaxJamFileBytes);
            if (!bytes)
                break;
            files.push_back({source.fromCarset()
                                 ? names.member + " (carset member)"
                                 : GameFilePath(context.program.settings.gameDirectory, names.gamePath),
                             item.hardware, std::move(*bytes), {}, {}});
        }
        if (files.size() - first == item.files.size())
            read.push_back({&item, first});
        else
            files.resize(first);
    }

    ParallelFor(files.size(), [&](std::size_t i) {
        File& f = files[i];
        // Carsets hold the 8-bit JAM unscrambled.
        f.decoded = DecodeJam(context.program.palette, f.bytes, source.fromCarset() && !f.hardware);
        if (!f.hardware)
            std::vector<std::uint8_t>().swap(f.bytes);
        else if (f.decoded.jam && !f.decoded.jam->is8Bit())
            f.assembled = JamBytes(*f.decoded.jam, true);
    });

    for (const ReadItem& r : read) {
        const JamItem& item = *r.item;
        context.workOnItem(item.item);
        const JamKind kind = item.hardware ? JamKind::SixteenBit : JamKind::EightBit;
        std::vector<TJAMFile> jams;
        for (std::size_t i = 0; i < item.files.size(); ++i) {
            File& f = files[r.firstFile + i];
            std::optional<TJAMFile> jam = TakeDecodedJam(context, std::move(f.decoded), f.label, kind);
            if (!jam)
                break;
            jams.push_back(std::move(*jam));
        }
        if (jams.size() != item.files.size())
            continue;
        JamSlots& slots = JamsOf(set_, group_).variant(item.hardware);
        if (item.hardware)
            hardwareForms_.resize(slots.size());
        for (std::size_t i = 0; i < jams.size(); ++i) {
            const std::size_t slot = item.files[i].slot;
            File& f = files[r.firstFile + i];
            if (item.hardware)
                hardwareForms_.at(slot) = {std::move(f.bytes), std::move(f.assembled)};
            slots.at(slot) = std::move(jams[i]);
        }
        context.markLoaded(item.item);
    }
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
