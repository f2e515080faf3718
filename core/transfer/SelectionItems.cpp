#include "transfer/SelectionItems.h"

#include "base/UITexts.h"
#include "formats/GameLanguages.h"

namespace pitwall {

namespace {

struct WeightRange {
    int first, last, weight;
};

// Progress units per item; items not listed weigh 0.
constexpr WeightRange kWeights[] = {
    {1, 5, 1},      {6, 6, 2},     {7, 8, 60},      {9, 9, 3},      {11, 32, 40},  {33, 54, 15},    {55, 76, 50},
    {77, 77, 40},   {78, 78, 1},   {85, 100, 10},   {102, 102, 40}, {103, 103, 1}, {104, 114, 100}, {116, 116, 10},
    {117, 117, 30}, {119, 156, 1}, {167, 167, 100}, {168, 175, 5},  {178, 188, 3}, {189, 190, 100},
};

struct SelectAll {
    int box, first, count;
};

constexpr SelectAll kSelectAll[] = {
    {79, 11, 11},   {80, 22, 11},   {81, 33, 11},   {82, 44, 11},   {83, 55, 11},  {84, 66, 11},   {101, 85, 16},
    {115, 104, 11}, {137, 121, 16}, {154, 138, 16}, {166, 155, 11}, {176, 168, 8}, {177, 178, 11},
};

struct Caption {
    int first, last, text;
};

// The dialog's language table: box (range) -> UI text (consecutive).
constexpr Caption kCaptions[] = {
    {1, 4, 470},     {5, 5, 663},     {6, 6, 741},      {7, 7, 910},      {8, 8, 911},      {9, 9, 359},
    {10, 10, 1092},  {77, 77, 466},   {78, 78, 476},    {85, 101, 424},   {102, 102, 467},  {103, 103, 475},
    {116, 116, 477}, {117, 117, 468}, {118, 118, 1101}, {119, 119, 478},  {120, 120, 479},  {167, 167, 666},
    {168, 175, 699}, {176, 176, 447}, {189, 189, 1116}, {190, 190, 1117}, {191, 198, 1136},
};

// Labels of the dialog used to describe items without their own caption.
constexpr int kTeamRowLabel = 454;  // "Team Nr. 1:" .. 464
constexpr int kTrackRowLabel = 534; // the sixteen track labels .. 549
constexpr int kCarLabel = 449, kCockpitLabel = 450, kJackLabel = 914, kTeamArtLabel = 452, kPitCrewLabel = 899;
constexpr int kAllRowLabel = 465; // "Alle:", the row of the select-all boxes
constexpr int kAllLabel = 913, kTrackFilesLabel = 551, kTrackGraphicsLabel = 552, kTrackInfoLabel = 474;

std::string Trimmed(std::string s)
{
    while (!s.empty() && (s.back() == ':' || s.back() == ' '))
        s.pop_back();
    return s;
}

} // namespace

int ProgressWeight(int item)
{
    for (const auto& r : kWeights)
        if (item >= r.first && item <= r.last)
            return r.weight;
    return 0;
}

std::uint16_t ProgressTotal(const ItemBytes& selection)
{
    std::uint16_t total = 0;
    for (int n = 0; n < kItemCount; ++n)
        if (selection[static_cast<std::size_t>(n)] != 0)
            total = static_cast<std::uint16_t>(total + ProgressWeight(n));
    return total;
}

int ItemTag(int item)
{
    for (const auto& s : kSelectAll)
        if (s.box == item)
            return s.first | (s.count << 8);
    if (item >= kRowBoxFirst && item < kRowBoxFirst + 11)
        return item - kRowBoxFirst + 11;
    return 0;
}

bool IsSelectAllBox(int item)
{
    for (const auto& s : kSelectAll)
        if (s.box == item)
            return true;
    return false;
}

bool IsRowBox(int item) { return item >= kRowBoxFirst && item < kRowBoxFirst + 11; }

std::pair<int, int> SelectAllRange(int tag) { return {tag & 0xFF, tag >> 8}; }

std::array<int, 8> RowItems(int tag)
{
    return {tag, tag + 11, tag + 22, tag + 33, tag + 44, tag + 55, tag + 93, tag + 167};
}

bool IsItemVisible(int item) { return item >= 1 && item <= kLastItem && item != 9 && item != 167; }

bool IsDataItem(int item)
{
    return item >= 1 && item <= kLastItem && item != 9 && !IsSelectAllBox(item) && !IsRowBox(item);
}

bool LeavesOutHeldItems(const ItemBytes& chosen, const ItemBytes& held, const ItemBytes& carried)
{
    for (int n = 1; n <= kLastItem; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (IsDataItem(n) && IsItemVisible(n) && held[i] && carried[i] && !chosen[i])
            return true;
    }
    return false;
}

bool ItemInGameVersion(int item, int gameVersion)
{
    for (int first : {kTextsFirst, kLcdDisplayFirst})
        if (item >= first && item < first + kLanguageCount)
            return LanguagePresent(item - first, gameVersion);
    return true;
}

int ItemCaptionText(int item)
{
    for (const auto& c : kCaptions)
        if (item >= c.first && item <= c.last)
            return c.text + (item - c.first);
    return -1;
}

std::string ItemDescription(int item, const UITexts& texts)
{
    auto team = [&](int first) { return Trimmed(texts.text(kTeamRowLabel + item - first)); };
    auto track = [&](int first) { return Trimmed(texts.text(kTrackRowLabel + item - first)); };
    auto column = [&](int label, const char* variant, int first) {
        return Trimmed(texts.text(label)) + " " + variant + ", " + team(first);
    };
    if (item >= kCarSoftFirst && item < kCarSoftFirst + 11)
        return column(kCarLabel, "SW", kCarSoftFirst);
    if (item >= kCarHardFirst && item < kCarHardFirst + 11)
        return column(kCarLabel, "HW", kCarHardFirst);
    if (item >= kCockpitSoftFirst && item < kCockpitSoftFirst + 11)
        return column(kCockpitLabel, "SW", kCockpitSoftFirst);
    if (item >= kCockpitHardFirst && item < kCockpitHardFirst + 11)
        return column(kCockpitLabel, "HW", kCockpitHardFirst);
    if (item >= kJackSoftFirst && item < kJackSoftFirst + 11)
        return column(kJackLabel, "SW", kJackSoftFirst);
    if (item >= kJackHardFirst && item < kJackHardFirst + 11)
        return column(kJackLabel, "HW", kJackHardFirst);
    if (item >= kTeamArtFirst && item < kTeamArtFirst + 11)
        return Trimmed(texts.text(kTeamArtLabel)) + ", " + team(kTeamArtFirst);
    if (item >= kPitCrewFirst && item < kPitCrewFirst + 11)
        return Trimmed(texts.text(kPitCrewLabel)) + ", " + team(kPitCrewFirst);
    if (IsRowBox(item))
        return Trimmed(texts.text(kAllLabel)) + ", " + team(kRowBoxFirst);
    if (item >= kTrackFileFirst && item < kTrackFileFirst + 16)
        return Trimmed(texts.text(kTrackFilesLabel)) + " " + track(kTrackFileFirst);
    if (item >= kTrackGraphicsFirst && item < kTrackGraphicsFirst + 16)
        return Trimmed(texts.text(kTrackGraphicsLabel)) + " " + track(kTrackGraphicsFirst);
    if (item >= kTrackInfoFirst && item < kTrackInfoFirst + 16)
        return Trimmed(texts.text(kTrackInfoLabel)) + " " + track(kTrackInfoFirst);
    int caption = ItemCaptionText(item);
    if (caption >= 0)
        return texts.text(caption);
    // The boxes of the "All:" row without a caption: named after their column.
    struct AllBox {
        int box, label;
        const char* variant;
    };
    constexpr AllBox kAllBoxes[] = {
        {79, kCarLabel, " SW"},     {80, kCarLabel, " HW"},  {81, kCockpitLabel, " SW"}, {82, kCockpitLabel, " HW"},
        {83, kJackLabel, " SW"},    {84, kJackLabel, " HW"}, {115, kTeamArtLabel, ""},   {137, kTrackGraphicsLabel, ""},
        {154, kTrackInfoLabel, ""}, {166, kAllLabel, ""},    {177, kPitCrewLabel, ""},
    };
    for (const auto& b : kAllBoxes)
        if (b.box == item)
            return texts.text(kAllRowLabel) + " " + Trimmed(texts.text(b.label)) + b.variant;
    return "#" + std::to_string(item);
}

ItemBytes BuildSelection(std::span<const std::uint8_t> bytes)
{
    ItemBytes selection{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != 255) {
            selection[bytes[i]] = 1;
        } else if (i + 2 < bytes.size()) {
            for (int n = bytes[i + 1]; n <= bytes[i + 2]; ++n)
                selection[static_cast<std::size_t>(n)] = 1;
            i += 2;
        } else {
            break; // a range marker without its two bytes selects nothing
        }
    }
    return selection;
}

} // namespace pitwall
