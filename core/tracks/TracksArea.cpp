#include "tracks/TracksArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/ParallelFor.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/GameLanguages.h"
#include "tracks/TrackFileNames.h"
#include "tracks/TrackGameFiles.h"
#include "tracks/TrackJams.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackPositions.h"
#include "tracks/TrackProgress.h"
#include "tracks/TrackSections.h"
#include "tracks/TrackTexts.h"
#include "transfer/GameChangeSet.h"
#include "transfer/GameFile.h"

#include <algorithm>

namespace pitwall {

namespace {

SlotMask Selected(const TransferContext& context, int (*item)(int))
{
    SlotMask mask{};
    for (int t = 0; t < kTrackCount; ++t)
        mask[static_cast<std::size_t>(t)] = context.selected(item(t));
    return mask;
}

bool Any(const SlotMask& mask)
{
    for (bool b : mask)
        if (b)
            return true;
    return false;
}

bool LanguageMissing(const TransferContext& context)
{
    for (int l = 0; l < LanguagesOfVersion(context.program.gameVersion); ++l)
        if (!context.transfer.isLoaded(LanguageItem(l)))
            return true;
    return false;
}

// A replaced picture of one slot from the working directory, read before the
// bank is touched, and encoded for its entry once it is known to differ from
// the picture the entry holds.
struct PreparedPicture {
    std::string member;
    int kind = 0;
    std::size_t entry = 0;
    std::uint32_t width = 0, height = 0;
    ArtPicture picture;
    std::vector<std::uint8_t> encoded;
    std::string reason; // why it is not exported
};

// The entries of the run's pictures that differ from the game's bank, when
// the check before the export worked them out with slot `slot` selected.
// Only the tracks write their pictures' entries, and making room moves an
// entry without changing its pixels, so that verdict still holds here and
// the pictures need not be decoded and compared a second time.
const std::vector<std::size_t>* ComparedBeforeExport(const TransferContext& context, int slot)
{
    const auto& kept = context.artEntriesThatChange;
    if (!kept || !kept->selection[static_cast<std::size_t>(TrackSectionsItem(slot))])
        return nullptr;
    return &kept->entries;
}

// The slot's pictures (at most eight, a few MB) are prepared on every core;
// with `changed`, only those whose entries it lists.
std::vector<PreparedPicture> PrepareSlotPictures(const std::string& working, int slot,
                                                 const std::vector<std::size_t>* changed)
{
    std::vector<PreparedPicture> pictures;
    for (int kind = 0; kind < kTrackPictureKinds; ++kind)
        for (int view = 0; view < kTrackViews; ++view) {
            std::string member = TrackPictureMember(slot, kind, view);
            const std::size_t entry = TrackPictureEntry(slot, kind, view);
            if (changed && std::find(changed->begin(), changed->end(), entry) == changed->end())
                continue;
            if (!FileExists(working + member))
                continue;
            PreparedPicture& p = pictures.emplace_back();
            p.member = std::move(member);
            p.kind = kind;
            p.entry = entry;
        }
    ParallelFor(pictures.size(), [&](std::size_t i) {
        PreparedPicture& p = pictures[i];
        try {
            ArtPicture picture = LoadBmpFileAsArtPicture(working + p.member);
            if (!TrackPictureSizeFits(p.kind, static_cast<int>(picture.width), static_cast<int>(picture.height))) {
                p.reason = "it measures " + std::to_string(picture.width) + " x " + std::to_string(picture.height);
                return;
            }
            p.picture = std::move(picture);
            p.width = p.picture.width;
            p.height = p.picture.height;
        } catch (const std::exception& e) {
            p.reason = e.what();
        }
    });
    return pictures;
}

} // namespace

std::vector<int> TrackItems()
{
    std::vector<int> items;
    for (int t = 0; t < kTrackCount; ++t)
        items.push_back(TrackFileItem(t));
    for (int t = 0; t < kTrackCount; ++t)
        items.push_back(TrackSectionsItem(t));
    for (int t = 0; t < kTrackCount; ++t)
        items.push_back(TrackInfoItem(t));
    items.push_back(kTrackJamsItem);
    return items;
}

std::string TrackFileMember(int slot) { return "Track" + std::to_string(slot) + ".DAT"; }
std::string TrackInfoMember(int slot) { return "TrackInfo" + std::to_string(slot) + ".DAT"; }
std::string TrackSecInfoMember(int slot) { return "TrackSecInfo" + std::to_string(slot) + ".DAT"; }

void TracksArea::importFromGame(TransferContext& context)
{
    const SlotMask files = Selected(context, TrackFileItem);
    const SlotMask sections = Selected(context, TrackSectionsItem);
    const SlotMask info = Selected(context, TrackInfoItem);

    // The game's own track files and JAMs are what the game has: nothing of
    // a carset loaded earlier is left to be written back.
    for (int t = 0; t < kTrackCount; ++t) {
        if (!files[static_cast<std::size_t>(t)])
            continue;
        TrackProgress(context, kTrackFileProgress, t, TrackFileItem(t));
        table_.trackFiles[static_cast<std::size_t>(t)].reset();
        context.markLoaded(TrackFileItem(t));
    }
    // Replaced pictures of the working directory would hide the art bank's.
    for (int t = 0; t < kTrackCount; ++t)
        if (sections[static_cast<std::size_t>(t)])
            for (int kind = 0; kind < kTrackPictureKinds; ++kind)
                for (int view = 0; view < kTrackViews; ++view)
                    DeleteFileForced(context.program.directories.working + TrackPictureMember(t, kind, view));
    if (context.selected(kTrackJamsItem)) {
        TrackProgress(context, kTrackJamsProgress, -1, kTrackJamsItem);
        table_.carsetJams.clear();
        context.markLoaded(kTrackJamsItem);
    }

    TrackTable read = table_;
    if (Any(info)) {
        for (int t = 0; t < kTrackCount; ++t)
            if (info[static_cast<std::size_t>(t)])
                TrackProgress(context, kTrackInfoProgress, -1, TrackInfoItem(t));
        ReadLapRecords(read, *context.savegame, context.program.savegameFormat, info);
        if (LanguageMissing(context) && importLanguages_)
            importLanguages_(context);
        TakeTrackTexts(read, texts_, context.transfer, info);
        ReadTrackParameters(read, *context.exe, context.program.gameVersion, info);
    }
    // A track file is saved under the name the game's table gives its slot,
    // so the name comes with the file even when the slot's information does
    // not (the information item stays as it was).
    SlotMask namesOnly{};
    for (int t = 0; t < kTrackCount; ++t)
        namesOnly[static_cast<std::size_t>(t)] =
            files[static_cast<std::size_t>(t)] && !info[static_cast<std::size_t>(t)];
    if (Any(namesOnly))
        ReadTrackFileNames(read, *context.exe, context.program.gameVersion, namesOnly);
    if (Any(sections)) {
        const TrackExePositions& at = TrackExeAt(context.program.gameVersion);
        if (context.exe->size() < at.sectionsEnd)
            throw GameFileError(context.exe->path() + " is too short for the track sections");
        std::span<const std::uint8_t> stream(context.exe->bytes().data() + at.sectionsStart,
                                             at.sectionsEnd - at.sectionsStart);
        SectionsRead sectionsRead = ReadTrackSections(stream);
        for (int t = 0; t < kTrackCount; ++t) {
            if (!sections[static_cast<std::size_t>(t)])
                continue;
            TrackProgress(context, kTrackSectionsProgress, t, TrackSectionsItem(t));
            read.sections[static_cast<std::size_t>(t)] = sectionsRead.bySlot[static_cast<std::size_t>(t)];
        }
        bool damaged = sectionsRead.overran;
        for (int t : sectionsRead.damaged)
            damaged = damaged || sections[static_cast<std::size_t>(t)];
        if (damaged)
            context.fail(kSectionsTooLongText, {});
    }
    table_ = std::move(read);
    for (int t = 0; t < kTrackCount; ++t) {
        if (sections[static_cast<std::size_t>(t)])
            context.markLoaded(TrackSectionsItem(t));
        if (info[static_cast<std::size_t>(t)])
            context.markLoaded(TrackInfoItem(t));
    }
}

void TracksArea::exportToGame(TransferContext& context)
{
    const bool names = exportTrackFiles(context);

    const SlotMask info = Selected(context, TrackInfoItem);
    if (Any(info)) {
        for (int t = 0; t < kTrackCount; ++t) {
            if (!info[static_cast<std::size_t>(t)])
                continue;
            TrackProgress(context, kTrackInfoProgress, -1, TrackInfoItem(t));
            if (names)
                WriteTrackFileName(table_.info[static_cast<std::size_t>(t)].fileName.text(), *context.exe,
                                   context.program.gameVersion, t);
            SlotMask one{};
            one[static_cast<std::size_t>(t)] = true;
            WriteLapRecords(table_, *context.savegame, context.program.savegameFormat, one);
            WriteTrackParameters(table_, *context.exe, context.program.gameVersion, one);
            const TrackInfo& written = table_.info[static_cast<std::size_t>(t)];
            if (!written.holdsBumpTable())
                continue;
            if (int cut = WriteBumps(written, *context.exe, context.program.gameVersion, t); cut > 0)
                context.fail("Track " + std::to_string(t + 1) + ": " + std::to_string(cut) + " of "
                             + std::to_string(written.bumpCount())
                             + " bumps do not fit into the game's table and are not written.");
        }
        // Names go into the languages' lists for the texts area, which runs
        // after this one, to write. Only slots whose information the working
        // set holds give names, so an empty record never blanks the game's.
        SlotMask loaded{};
        for (int t = 0; t < kTrackCount; ++t)
            loaded[static_cast<std::size_t>(t)] = context.transfer.isLoaded(TrackInfoItem(t));
        for (int language : PutTrackTexts(table_, texts_, context.transfer, loaded))
            context.transfer.selection[static_cast<std::size_t>(LanguageItem(language))] = 1;
    }
    exportSections(context);
    exportJams(context);
}

bool TracksArea::checkBeforeExport(TransferContext& context)
{
    replaceTrackFiles_ = false;
    for (int t = 0; t < kTrackCount; ++t)
        if (context.selected(TrackFileItem(t)) && table_.trackFiles[static_cast<std::size_t>(t)]
            && TrackFileNameProblem(table_.info[static_cast<std::size_t>(t)].fileName.text()).empty()) {
            // Declining skips the track files and their names only; the
            // rest of the export goes on.
            replaceTrackFiles_ = context.messenger.ask(kTrackFilesWarning);
            break;
        }
    return true;
}

bool TracksArea::exportTrackFiles(TransferContext& context)
{
    bool asked = false;
    for (int t = 0; t < kTrackCount; ++t) {
        const auto slot = static_cast<std::size_t>(t);
        if (!context.selected(TrackFileItem(t)) || !table_.trackFiles[slot])
            continue;
        TrackProgress(context, kTrackFileProgress, t, TrackFileItem(t));
        const std::string name = table_.info[slot].fileName.text();
        if (auto problem = TrackFileNameProblem(name); !problem.empty()) {
            context.fail("Track " + std::to_string(t + 1) + " is not exported: " + problem + ".");
            continue;
        }
        if (!asked) {
            asked = true;
            if (!replaceTrackFiles_)
                return false; // no copies and no names
            // The copied file needs its name in the game's table.
            if (context.transfer.isLoaded(TrackInfoItem(t)))
                context.transfer.selection[static_cast<std::size_t>(TrackInfoItem(t))] = 1;
        }
        context.replaceGameFile(TrackFileGamePath(name), *table_.trackFiles[slot]);
    }
    return true;
}

void TracksArea::exportSections(TransferContext& context)
{
    const TrackExePositions& at = TrackExeAt(context.program.gameVersion);
    // The run's bank, edited where the change set holds it.
    std::vector<std::uint8_t>* bank = nullptr;
    bool bankMissing = false;
    for (int t = 0; t < kTrackCount; ++t) {
        if (!context.selected(TrackSectionsItem(t)))
            continue;
        TrackProgress(context, kTrackSectionsProgress, t, TrackSectionsItem(t));
        // A slot's sections and pictures are one item: written whole or
        // not at all, so everything is checked before the first write.
        auto bytes = SlotSectionsBytes(table_.sections[static_cast<std::size_t>(t)], t);
        if (!bytes) {
            context.fail(kLabelsTooLongText, Args(t + 1));
            continue;
        }
        const std::vector<std::size_t>* changed = ComparedBeforeExport(context, t);
        std::vector<PreparedPicture> pictures = PrepareSlotPictures(context.program.directories.working, t, changed);
        if (!pictures.empty() && !bank) {
            bank = context.changes && !bankMissing ? context.changes->holdWholeFile(kArtBankGamePath) : nullptr;
            if (!bank) {
                const std::string file = context.program.settings.gameDirectory + kArtBankGamePath;
                if (bankMissing)
                    context.recordFailure(context.program.texts.format(349, Args(file)));
                else
                    context.fail(349, Args(file));
                bankMissing = true;
                continue;
            }
        }
        // A picture the game already shows is left as it is: it needs no
        // room and changes nothing. The others are encoded; both on every
        // core (the bank is only read here).
        std::vector<char> shown(pictures.size(), 0);
        ParallelFor(pictures.size(), [&](std::size_t i) {
            PreparedPicture& p = pictures[i];
            if (!p.reason.empty())
                return;
            if (!changed) {
                const std::optional<ArtPicture> inBank = ArtPictureFromBank(*bank, p.entry, nullptr);
                shown[i] = inBank && *inBank == p.picture;
            }
            if (!shown[i])
                p.encoded = EncodeForTrackEntry(p.entry, p.picture);
        });
        std::size_t kept = 0;
        for (std::size_t i = 0; i < pictures.size(); ++i)
            if (!shown[i]) {
                if (kept != i)
                    pictures[kept] = std::move(pictures[i]);
                ++kept;
            }
        pictures.resize(kept);
        std::string refused;
        for (const PreparedPicture& p : pictures) {
            std::string reason = p.reason;
            if (reason.empty() && EncodedPictureFitsBank(*bank, p.entry, p.width, p.height, p.encoded, &reason))
                continue;
            refused += (refused.empty() ? "" : "; ") + p.member + ": " + reason;
        }
        if (!refused.empty()) {
            context.fail("The sections and pictures of track " + std::to_string(t + 1) + " are not exported: " + refused
                         + ".");
            continue;
        }
        context.exe->write(at.sectionsStart + SectionsSlotOffset(t), *bytes);
        for (const PreparedPicture& p : pictures)
            PutEncodedPictureIntoBank(*bank, p.entry, p.width, p.height, p.encoded, nullptr);
        if (!pictures.empty())
            context.changes->editWholeFile(kArtBankGamePath);
    }
}

void TracksArea::exportJams(TransferContext& context)
{
    if (!context.selected(kTrackJamsItem))
        return;
    TrackProgress(context, kTrackJamsProgress, -1, kTrackJamsItem);
    for (const auto& [path, bytes] : table_.carsetJams) {
        std::string reason;
        if (!ResolveTrackJam(context.program.settings.gameDirectory, path, &reason)) {
            context.fail("The JAM " + path + " is not written: " + reason + ".");
            continue;
        }
        context.replaceGameFile(GamePathFromGameBytes(path), bytes);
    }
}

void TracksArea::takeTrackTexts(const TransferState& transfer)
{
    SlotMask loaded{};
    for (int t = 0; t < kTrackCount; ++t)
        loaded[static_cast<std::size_t>(t)] = transfer.isLoaded(TrackInfoItem(t));
    TakeTrackTexts(table_, texts_, transfer, loaded);
}

} // namespace pitwall
