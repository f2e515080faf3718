#include "ItemNames.h"

#include "CliContext.h"
#include "CliSession.h"

#include "base/Windows1252.h"
#include "cockpit/CockpitData.h"
#include "graphics/CarNumbersArea.h"
#include "graphics/FlagColoursArea.h"
#include "graphics/TeamJams.h"
#include "graphics/TyresArea.h"
#include "menu/MenuArt.h"
#include "settings/GameSettings.h"
#include "sounds/SoundsArea.h"
#include "teams/TeamsArea.h"
#include "texts/GameTexts.h"
#include "tracks/TrackTable.h"
#include "tracks/TracksArea.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <map>

namespace pitwall::cli {

namespace {

// The one item the selection dialog neither shows nor lets be chosen.
constexpr int kHiddenItem = 9;

std::vector<int> Range(int first, int count)
{
    std::vector<int> items;
    for (int n = first; n < first + count; ++n)
        items.push_back(n);
    return items;
}

std::vector<int> Joined(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<ItemGroup> MakeGroups()
{
    std::vector<int> teamJams;
    for (JamGroup g : {JamGroup::CarLiveries, JamGroup::CockpitLiveries, JamGroup::Jacks, JamGroup::Helmets})
        for (const JamItem& item : JamItemsOf(g))
            teamJams.push_back(item.item);
    std::vector<int> trackFiles, trackPictures, trackInfo, languages, lcdDisplays, teamArt;
    for (int t = 0; t < kTrackCount; ++t) {
        trackFiles.push_back(TrackFileItem(t));
        trackPictures.push_back(TrackSectionsItem(t));
        trackInfo.push_back(TrackInfoItem(t));
    }
    for (int l = 0; l < kLanguageCount; ++l) {
        languages.push_back(LanguageItem(l));
        lcdDisplays.push_back(LcdDisplayItem(l));
    }
    for (int t = 0; t < kRacingTeams; ++t)
        teamArt.push_back(TeamArtItem(t));
    return {
        {"teams", {kTeamsItem}},
        {"settings", {kPointsItem, kAidsItem, kMiscItem, kDamageItem, kDisplayItem, kCamerasItem}},
        {"tracks", Joined({trackFiles, trackInfo, {kTrackJamsItem}})},
        {"track-pictures", trackPictures},
        {"texts", languages},
        {"graphics",
         Joined({{kCarNumbersItem, kFlagColoursItem},
                 teamJams,
                 Range(kPitCrewFirst, kTeamCount),
                 {kTyresFirstItem, kTyresFirstItem + 1}})},
        {"cockpit",
         Joined({{kCockpitSoftwareItem, kCockpitHardwareItem, kCockpitObjectsItem, kLcdTextsItem}, lcdDisplays})},
        {"sounds", {kSoundsItem}},
        {"menu", Joined({{kMenuBackgroundsItem, kLoadingPicturesItem}, teamArt})},
        {"all", Range(1, kLastItem)},
    };
}

// The items box N checks besides itself.
std::vector<int> Covered(int item)
{
    if (IsSelectAllBox(item)) {
        auto [first, count] = SelectAllRange(ItemTag(item));
        if (first >= kRowBoxFirst && first < kRowBoxFirst + kTeamCount) { // the row boxes' own select-all box
            std::vector<int> all;
            for (int row = first; row < first + count; ++row)
                for (int n : RowItems(ItemTag(row)))
                    all.push_back(n);
            return all;
        }
        return Range(first, count);
    }
    if (IsRowBox(item)) {
        auto row = RowItems(ItemTag(item));
        return {row.begin(), row.end()};
    }
    return {item};
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The comma-separated words of a list, trimmed.
std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        words.push_back(Trim(text.substr(start, comma == std::string::npos ? comma : comma - start)));
        if (comma == std::string::npos)
            return words;
        start = comma + 1;
    }
}

// Lower-case words joined by ", ": names and the list are compared this way,
// so a name with a comma in it matches however the list spaces it.
std::string Key(const std::vector<std::string>& words, std::size_t first, std::size_t last)
{
    std::string key;
    for (std::size_t i = first; i <= last; ++i)
        key += (i == first ? "" : ", ") + Lower(words[i]);
    return key;
}

} // namespace

const std::vector<ItemGroup>& ItemGroups()
{
    static const std::vector<ItemGroup> groups = MakeGroups();
    return groups;
}

std::string ItemGroupOf(int item)
{
    std::vector<int> covered = Covered(item);
    for (const auto& group : ItemGroups()) {
        if (std::string(group.name) == "all")
            continue;
        bool holdsAll = std::all_of(covered.begin(), covered.end(), [&](int n) {
            return std::find(group.items.begin(), group.items.end(), n) != group.items.end();
        });
        if (holdsAll)
            return group.name;
    }
    return {};
}

std::string ItemName(int item, const UITexts& texts) { return Windows1252ToUtf8(ItemDescription(item, texts)); }

ItemBytes ParseItemList(const std::string& list, const UITexts& texts)
{
    // Item 9 is hidden in the dialog and never chosen.
    std::map<std::string, int> names;
    for (int n = 1; n <= kLastItem; ++n)
        if (n != kHiddenItem) {
            std::string name = ItemName(n, texts);
            names.emplace(Key(Words(name), 0, Words(name).size() - 1), n);
        }
    ItemBytes items{};
    // A select-all or row box stands for the items it checks in the dialog;
    // no area takes the box's own byte.
    auto choose = [&items](int n) {
        for (int covered : Covered(n))
            items[static_cast<std::size_t>(covered)] = 1;
    };
    std::vector<std::string> words = Words(list);
    for (std::size_t i = 0; i < words.size(); ++i) {
        // The longest run of words that is an item's name.
        bool named = false;
        for (std::size_t last = words.size(); last-- > i;) {
            auto found = names.find(Key(words, i, last));
            if (found != names.end()) {
                choose(found->second);
                i = last;
                named = true;
                break;
            }
        }
        if (named)
            continue;
        const std::string& word = words[i];
        auto group = std::find_if(ItemGroups().begin(), ItemGroups().end(),
                                  [&](const ItemGroup& g) { return Lower(word) == g.name; });
        if (group != ItemGroups().end()) {
            for (int n : group->items)
                items[static_cast<std::size_t>(n)] = 1;
            continue;
        }
        auto unknown = [&] {
            std::string groups;
            for (const auto& g : ItemGroups())
                groups += (groups.empty() ? "" : ", ") + std::string(g.name);
            return CLI::ValidationError("unknown item '" + word + "' in '" + list
                                        + "': give numbers, ranges like 11-21, item names or the groups " + groups
                                        + " ('pitwall-cli items' lists them)");
        };
        if (word.empty() || word.find_first_not_of("0123456789- ") != std::string::npos)
            throw unknown();
        const std::vector<int> numbers = ParseNumberList(word, 1, kLastItem, "item");
        // Item 9 has no box in the dialog and carries nothing: asked for on
        // its own it would make an empty carset. A range over it stays a
        // range of the boxes it has.
        if (numbers.size() == 1 && numbers.front() == kHiddenItem)
            throw unknown();
        for (int n : numbers)
            choose(n);
    }
    return items;
}

} // namespace pitwall::cli
