#include "menu/TeamArtArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "menu/GameArtBank.h"
#include "menu/TeamArtEntries.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackTable.h"
#include "transfer/ReportedFormats.h"

namespace pitwall {

namespace {

constexpr int kTeamArtProgressText = 242;
constexpr int kSheetSizeText = 661;
// A BMP of 960 x 590 at 32 bits and its headers, with room to spare.
constexpr std::uint64_t kMaxSheetMember = 4ull * 1024 * 1024;

// A team's sheet as the game's art bank holds it.
std::optional<ArtPicture> GameSheet(TransferContext& context, int team)
{
    const std::string bank = ResolveGamePath(context.program.settings.gameDirectory, kArtBankGamePath);
    ArtPicture sheet;
    if (!ComposeTeamSheet(bank, team, sheet, &context.messenger)) {
        context.recordFailure("The art of team " + std::to_string(team + 1) + " could not be read from " + bank);
        return std::nullopt;
    }
    return sheet;
}

// A team's sheet as a carset holds it: a BMP of the sheet's size.
std::optional<ArtPicture> CarsetSheet(TransferContext& context, int team)
{
    auto bytes = context.loadMember(TeamArtMember(team), kMaxSheetMember);
    if (!bytes)
        return std::nullopt;
    Image image;
    try {
        image = DecodeBmp(*bytes);
    } catch (const FormatError& e) {
        context.fail(TeamArtMember(team) + " in the carset is not a picture: " + e.what());
        return std::nullopt;
    }
    if (image.width() != static_cast<int>(kTeamSheetWidth) || image.height() != static_cast<int>(kTeamSheetHeight)) {
        context.fail(kSheetSizeText, Args(kTeamSheetWidth, kTeamSheetHeight));
        return std::nullopt;
    }
    return ArtPictureFromImage(image);
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
    for (int t = 0; t < kRacingTeams; ++t) {
        if (!context.selected(TeamArtItem(t)))
            continue;
        context.progress(kTeamArtProgressText, TeamArtItem(t), Args(t + 1));
        auto sheet = source.fromCarset() ? CarsetSheet(context, t) : GameSheet(context, t);
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
    std::vector<std::size_t> entries;
    const std::string bank = ResolveGamePath(context.program.settings.gameDirectory, kArtBankGamePath);
    for (int s = 0; s < kTrackCount; ++s)
        if (context.selected(kTrackGraphicsFirst + s))
            for (std::size_t e : ChangedTrackPictureEntries(context.program.directories.working, bank, s))
                entries.push_back(e);
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
