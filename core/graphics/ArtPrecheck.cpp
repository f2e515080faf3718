#include "graphics/ArtPrecheck.h"

#include "app/ProgramState.h"
#include "formats/GameInstallation.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>

namespace pitwall {

namespace {

void AddRange(std::vector<int>& entries, int first, int last)
{
    for (int e = first; e <= last; ++e)
        entries.push_back(e);
}

} // namespace

std::vector<int> ArtEntriesToWrite(const ItemBytes& selection, const std::vector<int>& menuBackgrounds)
{
    auto selected = [&](int item) { return selection.at(static_cast<std::size_t>(item)) != 0; };
    std::vector<int> entries;
    for (int t = 0; t < 11; ++t) {
        if (!selected(kTeamArtFirst + t))
            continue;
        AddRange(entries, 10 + 30 * t, 39 + 30 * t);
        for (int first : {400, 411, 422, 433})
            entries.push_back(first + t);
        AddRange(entries, 445 + 4 * t, 448 + 4 * t);
        AddRange(entries, 489 + 6 * t, 494 + 6 * t);
        // The team sheet's last picture: the export writes it like the rest.
        entries.push_back(555 + t);
    }
    for (int s = 0; s < 16; ++s) {
        if (!selected(kTrackGraphicsFirst + s))
            continue;
        AddRange(entries, 566 + 4 * s, 569 + 4 * s);
        AddRange(entries, 630 + 4 * s, 633 + 4 * s);
    }
    if (selected(kMenuBackgroundsItem))
        for (int n : menuBackgrounds)
            if (n >= 0 && n < kMenuBackgroundCount)
                entries.push_back(static_cast<int>(kMenuBackgroundFirstEntry) + n);
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return entries;
}

std::vector<int> ArtEntriesThatDoNotFit(const ArtDirectory& directory, const std::vector<int>& entries)
{
    std::vector<int> missing;
    for (int e : entries) {
        const auto index = static_cast<std::size_t>(e);
        if (index >= directory.entriesRead || index >= directory.entries.size() || !directory.entries[index].fits())
            missing.push_back(e);
    }
    return missing;
}

std::vector<int> ItemsWritingEntries(const ItemBytes& selection, const std::vector<int>& menuBackgrounds,
                                     const std::vector<int>& entries)
{
    std::vector<int> candidates{kMenuBackgroundsItem};
    for (int t = 0; t < 11; ++t)
        candidates.push_back(kTeamArtFirst + t);
    for (int s = 0; s < 16; ++s)
        candidates.push_back(kTrackGraphicsFirst + s);
    std::vector<int> items;
    for (int item : candidates) {
        if (!selection.at(static_cast<std::size_t>(item)))
            continue;
        ItemBytes one{};
        one[static_cast<std::size_t>(item)] = 1;
        for (int e : ArtEntriesToWrite(one, menuBackgrounds))
            if (std::find(entries.begin(), entries.end(), e) != entries.end()) {
                items.push_back(item);
                break;
            }
    }
    std::sort(items.begin(), items.end());
    return items;
}

std::string LeftOutText(int item, const UITexts& texts)
{
    constexpr int kLeftOutText = 963;
    return texts.format(kLeftOutText, Args(ItemDescription(item, texts)));
}

void LeaveOutItems(TransferContext& context, const std::vector<int>& items)
{
    for (int item : items) {
        context.transfer.selection.at(static_cast<std::size_t>(item)) = 0;
        context.currentItem = item;
        context.recordFailure(LeftOutText(item, context.program.texts));
    }
    context.currentItem = 0;
}

bool ArtPrecheck::run(TransferContext& context) const
{
    // Without a front end that enlarges entries beforehand, the team-art
    // area checks the room of everything written into the bank: it asks
    // before enlarging exactly the entries of team art, menu backgrounds and
    // track pictures that change. Entries whose picture stays as it is need
    // no room at all.
    if (!expand)
        return true;
    std::vector<int> entries;
    if (entriesThatChange) {
        for (std::size_t e : entriesThatChange(context))
            entries.push_back(static_cast<int>(e));
        std::sort(entries.begin(), entries.end());
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    } else {
        entries = ArtEntriesToWrite(context.transfer.selection,
                                    menuBackgrounds ? MenuBackgroundNumbers(*menuBackgrounds) : std::vector<int>{});
    }
    if (entries.empty())
        return true;
    ArtDirectory directory;
    const std::string bank = GameFilePath(context.program.settings.gameDirectory, kArtBankGamePath);
    if (!ReadArtDirectory(bank, directory, &context.messenger))
        return false;
    const std::vector<int> missing = ArtEntriesThatDoNotFit(directory, entries);
    if (missing.empty())
        return true;
    return expand(context, directory, missing);
}

} // namespace pitwall
