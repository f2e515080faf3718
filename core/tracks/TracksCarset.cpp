// The track area's carset load and save.

#include "tracks/TracksArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/TrackFile.h"
#include "tracks/TrackFileNames.h"
#include "tracks/TrackImages.h"
#include "tracks/TrackJams.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackProgress.h"
#include "tracks/TrackSections.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetBudget.h"
#include "transfer/CarsetHeader.h"
#include "transfer/TransferUi.h"

#include <set>

namespace pitwall {

namespace {

// A BMP of the largest track picture with room for other tools' headers.
constexpr std::uint64_t kMaxTrackPictureBytes = 2'000'000;
constexpr std::uint64_t kMaxTrackJamInfoBytes = 1'000'000;

// The game's file below the game directory, or nothing when it is not there.
std::optional<std::vector<std::uint8_t>> ReadGameFile(const TransferContext& context, const std::string& gamePath,
                                                      std::uint64_t maxBytes)
{
    std::string file;
    try {
        file = ResolveGamePath(context.program.settings.gameDirectory, gamePath);
    } catch (const GamePathError&) {
        return std::nullopt;
    }
    if (!FileExists(file))
        return std::nullopt;
    return ReadWholeFile(file, maxBytes);
}

void LoadTrackJams(TransferContext& context, TrackTable& table)
{
    table.carsetJams.clear();
    const CarsetArchive& carset = *context.source;
    if (!carset.contains(kTrackJamInfoMember))
        return;
    auto info = carset.read(kTrackJamInfoMember, kMaxTrackJamInfoBytes);
    // The JAMs to take, each once: names checked first, then what they hold
    // together on the sizes the carset declares, before any is unpacked.
    std::vector<std::string> wanted;
    std::set<std::string> seen;
    for (const auto& [slot, jams] : ParseTrackJamInfo(std::string(info.begin(), info.end()))) {
        // Of a carset's track files, only the JAMs of those taken: another
        // slot's textures would replace those its own track file uses.
        const auto trackFile = static_cast<std::size_t>(TrackFileItem(slot));
        if (context.headerRead && context.headerRead->items[trackFile] && !context.selected(TrackFileItem(slot)))
            continue;
        if (jams.size() > kMaxJamsPerTrack) {
            context.fail("The JAMs of track " + std::to_string(slot + 1) + " in " + FileNameOf(carset.path())
                         + " are not loaded: it lists " + std::to_string(jams.size())
                         + " of them; a track uses at most " + std::to_string(kMaxJamsPerTrack) + ".");
            continue;
        }
        for (const std::string& path : jams) {
            const std::string member = JamMemberName(path);
            if (auto problem = TrackJamPathProblem(path); !problem.empty() || !IsBareMemberName(member)) {
                context.fail("The JAM " + carset.memberLabel(member)
                             + " is refused: " + (problem.empty() ? "it is not a bare member name" : problem) + ".");
                continue;
            }
            if (seen.insert(path).second && carset.contains(member))
                wanted.push_back(path);
        }
    }
    std::vector<std::string> members;
    for (const std::string& path : wanted)
        members.push_back(JamMemberName(path));
    const MemberBudget budget{"track JAMs", "the tracks of a carset",
                              kMaxJamsPerTrack * static_cast<std::size_t>(kTrackCount), kMaxCarsetTrackJamBytes};
    if (auto problem = MemberBudgetProblem(carset, members, budget); !problem.empty()) {
        context.fail(problem);
        return;
    }
    for (const std::string& path : wanted) {
        try {
            table.carsetJams[path] = carset.read(JamMemberName(path), kMaxTrackJamBytes);
        } catch (const CarsetError& e) {
            context.fail(e.what());
        }
    }
}

} // namespace

void TracksArea::loadFromCarset(TransferContext& context)
{
    // First the track files, then the information, then sections and
    // pictures, as the game's program did.
    for (int t = 0; t < kTrackCount; ++t) {
        if (!context.selected(TrackFileItem(t)))
            continue;
        TrackProgress(context, kTrackFileProgress, t, TrackFileItem(t));
        auto bytes = context.loadMember(TrackFileMember(t), kMaxTrackFileBytes);
        if (!bytes)
            continue;
        table_.trackFiles[static_cast<std::size_t>(t)] = std::move(*bytes);
        context.markLoaded(TrackFileItem(t));
    }
    if (context.selected(kTrackJamsItem)) {
        TrackProgress(context, kTrackJamsProgress, -1, kTrackJamsItem);
        LoadTrackJams(context, table_);
        context.markLoaded(kTrackJamsItem);
    }

    const bool oldFormat = context.headerRead && context.headerRead->format < kCarsetFormat;
    for (int t = 0; t < kTrackCount; ++t) {
        const auto slot = static_cast<std::size_t>(t);
        if (!context.selected(TrackInfoItem(t)))
            continue;
        TrackProgress(context, kTrackInfoProgress, -1, TrackInfoItem(t));
        auto bytes = context.loadRecord(TrackInfoMember(t), oldFormat ? kOldTrackInfoSize : kTrackInfoSize);
        if (!bytes)
            continue;
        TrackInfo info = table_.info[slot];
        if (oldFormat)
            ReadOldTrackInfo(info, *bytes);
        else
            info = TrackInfoFromImage(*bytes);
        // The name becomes a path in CIRCUITS: a carset cannot name any
        // other file. Its track file is dropped with it, since it would
        // otherwise be written under the slot's old name.
        if (auto problem = TrackFileNameProblem(info.fileName.text()); !problem.empty()) {
            context.fail(context.source->memberLabel(TrackInfoMember(t)) + " is refused: " + problem + ".");
            if (table_.trackFiles[slot]) {
                table_.trackFiles[slot].reset();
                context.transfer.loaded[static_cast<std::size_t>(TrackFileItem(t))] = 0;
            }
            continue;
        }
        table_.info[slot] = info;
        context.markLoaded(TrackInfoItem(t));
    }

    for (int t = 0; t < kTrackCount; ++t) {
        if (!context.selected(TrackSectionsItem(t)))
            continue;
        TrackProgress(context, kTrackSectionsProgress, t, TrackSectionsItem(t));
        std::optional<TrackSecInfo> sections;
        if (context.source->contains(TrackSecInfoMember(t))) {
            auto bytes = context.loadRecord(TrackSecInfoMember(t), kTrackSecInfoSize);
            if (!bytes)
                continue;
            sections = TrackSecInfoFromImage(*bytes);
            // Written into the game's stream, such a corner would break the
            // slot's groups apart; the slot and its pictures stay as they were.
            if (auto off = FirstSectionOffScreen(*sections)) {
                context.fail(context.source->memberLabel(TrackSecInfoMember(t)) + " is refused: " + *off
                             + " lies outside the track map (X 0.." + std::to_string(kSectionsMaxX) + ", Y 0.."
                             + std::to_string(kSectionsMaxY) + ").");
                continue;
            }
        }
        // Each picture file of the working directory exists afterwards
        // exactly when the carset holds it.
        std::vector<std::string> pictures;
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view)
                pictures.push_back(TrackPictureMember(t, kind, view));
        context.source->extractEach(pictures, context.program.directories.working, kMaxTrackPictureBytes);
        if (sections)
            table_.sections[static_cast<std::size_t>(t)] = *sections;
        context.markLoaded(TrackSectionsItem(t));
    }
}

void TracksArea::saveToCarset(TransferContext& context)
{
    for (int t = 0; t < kTrackCount; ++t) {
        const auto slot = static_cast<std::size_t>(t);
        if (!context.selected(TrackFileItem(t)))
            continue;
        TrackProgress(context, kTrackFileProgress, t, TrackFileItem(t));
        // A track file taken from a carset and not yet exported is the one
        // the working set has; otherwise the game's.
        std::optional<std::vector<std::uint8_t>> bytes = table_.trackFiles[slot];
        const std::string name = table_.info[slot].fileName.text();
        if (!bytes && TrackFileNameProblem(name).empty())
            bytes = ReadGameFile(context, TrackFileGamePath(name), kMaxTrackFileBytes);
        if (!bytes) {
            context.fail(kMissingTrackFileText,
                         Args(context.program.settings.gameDirectory + TrackFileGamePath(name), t + 1));
            context.transfer.selection[static_cast<std::size_t>(TrackFileItem(t))] = 0;
            if (context.headerWrite)
                context.headerWrite->items[static_cast<std::size_t>(TrackFileItem(t))] = 0;
            continue;
        }
        context.saveMember(TrackFileMember(t), std::move(*bytes));
    }

    std::optional<std::vector<std::uint8_t>> bank;
    bool bankRead = false;
    for (int t = 0; t < kTrackCount; ++t) {
        if (!context.selected(TrackSectionsItem(t)))
            continue;
        TrackProgress(context, kTrackSectionsProgress, t, TrackSectionsItem(t));
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view) {
                const std::string member = TrackPictureMember(t, kind, view);
                const std::string file = context.program.directories.working + member;
                if (FileExists(file)) {
                    context.saveMember(member, ReadWholeFile(file, kMaxTrackPictureBytes));
                    continue;
                }
                if (!bankRead) {
                    bankRead = true;
                    bank = ReadGameFile(context, kArtBankGamePath, kMaxArtBankBytes);
                    if (!bank)
                        context.fail(349, Args(context.program.settings.gameDirectory + kArtBankGamePath));
                }
                if (!bank)
                    continue;
                std::string reason;
                auto picture = ArtPictureFromBank(*bank, TrackPictureEntry(t, kind, view), &reason);
                if (!picture) {
                    context.fail("The track picture " + member + " is not saved: " + reason + ".");
                    continue;
                }
                context.saveMember(member, EncodeArtPictureBmp(*picture));
            }
        context.saveMember(TrackSecInfoMember(t), TrackSecInfoImage(table_.sections[static_cast<std::size_t>(t)]));
    }

    std::vector<int> jamSlots;
    for (int t = 0; t < kTrackCount; ++t) {
        if (!context.selected(TrackInfoItem(t)))
            continue;
        TrackProgress(context, kTrackInfoProgress, -1, TrackInfoItem(t));
        context.saveMember(TrackInfoMember(t), TrackInfoImage(table_.info[static_cast<std::size_t>(t)]));
        if (context.selected(kTrackJamsItem) && context.selected(TrackFileItem(t)))
            jamSlots.push_back(t);
    }
    if (!jamSlots.empty())
        saveTrackJams(context, jamSlots);
}

void TracksArea::saveTrackJams(TransferContext& context, const std::vector<int>& slots)
{
    TrackProgress(context, kTrackJamsProgress, -1, kTrackJamsItem);
    TrackJamLists lists;
    std::set<std::string> stored;
    for (int t : slots) {
        const auto slot = static_cast<std::size_t>(t);
        const std::string name = table_.info[slot].fileName.text();
        std::optional<std::vector<std::uint8_t>> trackFile = table_.trackFiles[slot];
        if (!trackFile && TrackFileNameProblem(name).empty())
            trackFile = ReadGameFile(context, TrackFileGamePath(name), kMaxTrackFileBytes);
        auto& list = lists[t];
        if (!trackFile)
            continue;
        for (const std::string& path : ParseJamList(*trackFile)) {
            // A track file names its JAMs itself; only those of the game's
            // JAM folders are read, so no other file of the computer can
            // end up in a carset.
            if (auto problem = TrackJamPathProblem(path); !problem.empty()) {
                context.fail("The JAM " + path + " named by track " + std::to_string(t + 1)
                             + " is not saved: " + problem + ".");
                continue;
            }
            list.push_back(path);
            if (!stored.insert(path).second)
                continue;
            std::optional<std::vector<std::uint8_t>> jam;
            if (auto held = table_.carsetJams.find(path); held != table_.carsetJams.end())
                jam = held->second;
            else if (auto file = ResolveTrackJam(context.program.settings.gameDirectory, path, nullptr);
                     file && FileExists(*file))
                jam = ReadWholeFile(*file, kMaxTrackJamBytes);
            // A JAM the installation lacks is listed but not stored; the
            // track's JAM check names it.
            if (jam) {
                context.loading.setProgress(path, 0);
                context.saveMember(JamMemberName(path), std::move(*jam));
            }
        }
    }
    const std::string text = BuildTrackJamInfo(lists);
    context.saveMember(kTrackJamInfoMember, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace pitwall
