#include "menu/TeamArtArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/ParallelFor.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "menu/GameArtBank.h"
#include "menu/TeamArtEntries.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackTable.h"
#include "transfer/CarsetArchive.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

#include <exception>

namespace pitwall {

namespace {

constexpr int kTeamArtProgressText = 242;
constexpr int kSheetSizeText = 661;
// A BMP of 960 x 590 at 32 bits and its headers, with room to spare.
constexpr std::uint64_t kMaxSheetMember = 4ull * 1024 * 1024;

// A team's sheet made on any thread, from the game's art bank or from a
// carset's BMP: what went wrong is kept for the transfer's thread to report.
struct PreparedSheet {
    bool whole = false; // game: every entry read; carset: the sheet's size
    ArtPicture sheet;
    std::exception_ptr failure;
};

PreparedSheet ComposeGameSheet(const std::string& bank, int team)
{
    PreparedSheet prepared;
    try {
        prepared.whole = ComposeTeamSheet(bank, team, prepared.sheet);
    } catch (...) {
        prepared.failure = std::current_exception();
    }
    return prepared;
}

std::optional<ArtPicture> GameSheet(TransferContext& context, const std::string& bank, int team,
                                    PreparedSheet prepared)
{
    const bool whole = ReportFormatErrors(&context.messenger, [&] {
        if (prepared.failure)
            std::rethrow_exception(prepared.failure);
        return prepared.whole;
    });
    if (!whole) {
        context.recordFailure("The art of team " + std::to_string(team + 1) + " could not be read from " + bank);
        return std::nullopt;
    }
    return std::move(prepared.sheet);
}

// A carset holds a team's sheet as a BMP of the sheet's size.
PreparedSheet DecodeCarsetSheet(const std::vector<std::uint8_t>& bytes)
{
    PreparedSheet prepared;
    try {
        ArtPicture sheet = ArtPictureFromBmp(bytes);
        prepared.whole = sheet.width == kTeamSheetWidth && sheet.height == kTeamSheetHeight;
        if (prepared.whole)
            prepared.sheet = std::move(sheet);
    } catch (...) {
        prepared.failure = std::current_exception();
    }
    return prepared;
}

std::optional<ArtPicture> CarsetSheet(TransferContext& context, int team, PreparedSheet prepared)
{
    try {
        if (prepared.failure)
            std::rethrow_exception(prepared.failure);
    } catch (const FormatError& e) {
        context.fail(TeamArtMember(team) + " in the carset is not a picture: " + e.what());
        return std::nullopt;
    }
    if (!prepared.whole) {
        context.fail(kSheetSizeText, Args(kTeamSheetWidth, kTeamSheetHeight));
        return std::nullopt;
    }
    return std::move(prepared.sheet);
}

} // namespace

std::vector<int> TeamArtArea::items() const
{
    std::vector<int> items;
    for (int t = 0; t < kRacingTeams; ++t)
        items.push_back(TeamArtItem(t));
    return items;
}

void TeamArtArea::take(TransferContext& context, const ByteSource& source)
{
    // The game's sheets are composed from the bank (only read here), a
    // carset's unpacked and decoded, on every core; then each is taken in
    // turn on this thread, which reports what failed.
    std::vector<int> teams;
    for (int t = 0; t < kRacingTeams; ++t)
        if (context.selected(TeamArtItem(t)))
            teams.push_back(t);
    std::vector<std::optional<PreparedSheet>> prepared(teams.size());
    std::string bank;
    std::exception_ptr unpackFailure;
    if (source.fromCarset()) {
        std::vector<std::string> members;
        for (int t : teams)
            members.push_back(TeamArtMember(t));
        try {
            context.source->extractEach(members, context.program.directories.working, kMaxSheetMember,
                                        [&](std::size_t i, std::vector<std::uint8_t> bytes) {
                                            prepared[i] = DecodeCarsetSheet(bytes);
                                        });
        } catch (...) {
            unpackFailure = std::current_exception();
        }
    } else {
        bank = ResolveGamePath(context.program.settings.gameDirectory, kArtBankGamePath);
        ParallelFor(teams.size(), [&](std::size_t i) { prepared[i] = ComposeGameSheet(bank, teams[i]); });
    }
    for (std::size_t i = 0; i < teams.size(); ++i) {
        const int t = teams[i];
        context.progress(kTeamArtProgressText, TeamArtItem(t), Args(t + 1));
        std::optional<ArtPicture> sheet;
        if (!prepared[i]) {
            // The first member the carset holds and that was not unpacked is
            // the one whose failure ends the area, as it would have in turn.
            if (unpackFailure && context.source->contains(TeamArtMember(t)))
                std::rethrow_exception(unpackFailure);
            context.fail(349, Args(context.source->memberLabel(TeamArtMember(t))));
        } else if (source.fromCarset())
            sheet = CarsetSheet(context, t, std::move(*prepared[i]));
        else
            sheet = GameSheet(context, bank, t, std::move(*prepared[i]));
        if (!sheet)
            continue;
        sheets_[static_cast<std::size_t>(t)] = std::move(*sheet);
        context.markLoaded(TeamArtItem(t));
    }
}

void TeamArtArea::importFromGame(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Game));
}

std::vector<std::size_t> TeamArtArea::entriesTheExportChanges(TransferContext& context) const
{
    auto& kept = context.artEntriesThatChange;
    if (!kept || kept->selection != context.transfer.selection)
        kept = TransferContext::ChangedArtEntries{context.transfer.selection, changedEntries(context)};
    return kept->entries;
}

std::vector<std::size_t> TeamArtArea::changedEntries(const TransferContext& context) const
{
    // Room is needed only for the pictures the export really changes: the
    // team art and the track pictures that differ from the bank's, and the
    // menu backgrounds loaded from files.
    const std::string bank = ResolveGamePath(context.program.settings.gameDirectory, kArtBankGamePath);
    std::vector<int> trackSlots;
    for (int s = 0; s < kTrackCount; ++s)
        if (context.selected(kTrackGraphicsFirst + s))
            trackSlots.push_back(s);
    std::vector<std::size_t> entries =
        ChangedTrackPictureEntries(context.program.directories.working, bank, trackSlots);
    bool any = context.selected(kMenuBackgroundsItem);
    for (int t = 0; t < kRacingTeams; ++t)
        any = any || context.selected(TeamArtItem(t));
    if (!any)
        return entries;
    ArtDirectory directory;
    // A bank without a whole directory is reported when the export reaches it.
    const bool readable = ReadArtDirectory(bank, directory, nullptr) && directory.complete();
    for (int t = 0; t < kRacingTeams && readable; ++t) {
        const ArtPicture& sheet = sheets_[static_cast<std::size_t>(t)];
        if (!context.selected(TeamArtItem(t)) || sheet.width != kTeamSheetWidth || sheet.height != kTeamSheetHeight)
            continue;
        for (const TeamArtChange& change : ChangedTeamArt(bank, directory, t, sheet))
            entries.push_back(change.entry);
    }
    if (context.selected(kMenuBackgroundsItem))
        for (int n : MenuBackgroundNumbers(backgrounds_))
            if (FileExists(context.program.directories.working + MenuReplacementName(n)))
                entries.push_back(kMenuBackgroundFirstEntry + static_cast<std::size_t>(n));
    return entries;
}

bool TeamArtArea::checkBeforeExport(TransferContext& context)
{
    return MakeRoomInArtBank(context, entriesTheExportChanges(context));
}

void TeamArtArea::exportToGame(TransferContext& context)
{
    std::vector<int> teams;
    for (int t = 0; t < kRacingTeams; ++t) {
        if (!context.selected(TeamArtItem(t)))
            continue;
        const ArtPicture& sheet = sheets_[static_cast<std::size_t>(t)];
        if (sheet.width != kTeamSheetWidth || sheet.height != kTeamSheetHeight) {
            context.progress(kTeamArtProgressText, TeamArtItem(t), Args(t + 1));
            context.fail(kSheetSizeText, Args(kTeamSheetWidth, kTeamSheetHeight));
            continue;
        }
        teams.push_back(t);
    }
    if (teams.empty())
        return;
    // Every team's art goes into the one bank the run holds (up to 180 MB
    // once expanded). A sheet that does not fit in full is not written in
    // part: all its pictures are encoded before any of them is written.
    EditGameArtBank(context, [&](std::vector<std::uint8_t>& bank, const ArtDirectory& directory) {
        bool any = false;
        for (int t : teams) {
            context.progress(kTeamArtProgressText, TeamArtItem(t), Args(t + 1));
            std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> writes;
            bool fits = true;
            for (const TeamArtChange& change :
                 ChangedTeamArt(bank, directory, t, sheets_[static_cast<std::size_t>(t)])) {
                const ArtEntry& entry = directory.entries[change.entry];
                auto bytes = EncodeForEntry(entry, change.entry, change.picture, &context.messenger);
                if (!bytes) {
                    fits = false;
                    break;
                }
                writes.emplace_back(entry.dataOffset, std::move(*bytes));
            }
            if (!fits) {
                context.recordFailure("The art of team " + std::to_string(t + 1) + " does not fit into GP3ART5.BIN");
                continue;
            }
            for (const auto& [offset, bytes] : writes)
                PatchArtBank(bank, offset, bytes);
            any = any || !writes.empty();
        }
        return any;
    });
}

void TeamArtArea::loadFromCarset(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void TeamArtArea::saveToCarset(TransferContext& context)
{
    for (int t = 0; t < kRacingTeams; ++t) {
        if (!context.selected(TeamArtItem(t)))
            continue;
        context.progress(kTeamArtProgressText, TeamArtItem(t), Args(t + 1));
        const ArtPicture& sheet = sheets_[static_cast<std::size_t>(t)];
        if (sheet.width != kTeamSheetWidth || sheet.height != kTeamSheetHeight) {
            context.fail(kSheetSizeText, Args(kTeamSheetWidth, kTeamSheetHeight));
            continue;
        }
        context.saveMember(TeamArtMember(t), EncodeArtPictureBmp(sheet));
    }
}

} // namespace pitwall
