#include "formats/TeamArtSheet.h"

#include "formats/ArtBankFile.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr SheetPoint kPlaces[kTeamSheetPositions] = {
    {0, 0},     {32, 0},    {64, 0},    {101, 0},   {148, 0},   {204, 0},   {269, 0},   {344, 0},   {428, 0},
    {520, 0},   {620, 0},   {726, 0},   {838, 0},   {0, 125},   {120, 125}, {242, 125}, {363, 125}, {483, 125},
    {604, 125}, {726, 125}, {846, 125}, {0, 250},   {112, 250}, {221, 250}, {321, 250}, {414, 250}, {499, 250},
    {584, 250}, {659, 250}, {726, 250}, {0, 375},   {80, 375},  {80, 530},  {810, 375}, {140, 375}, {270, 375},
    {400, 375}, {530, 375}, {300, 505}, {390, 505}, {480, 505}, {570, 505}, {660, 505}, {750, 505}, {840, 505},
};

constexpr SheetSize kSpriteSizes[kTeamSheetPositions] = {
    {29, 119},  {29, 119},  {34, 120},  {43, 120},  {53, 121},  {62, 121},  {72, 121},  {81, 121},  {89, 120},
    {97, 120},  {103, 120}, {109, 119}, {113, 118}, {117, 118}, {119, 117}, {120, 117}, {120, 116}, {119, 116},
    {117, 115}, {113, 114}, {109, 114}, {103, 114}, {97, 115},  {90, 115},  {82, 116},  {72, 116},  {62, 116},
    {53, 117},  {43, 118},  {35, 119},  {74, 190},  {58, 150},  {200, 46},  {86, 20},   {128, 128}, {128, 128},
    {128, 128}, {128, 128}, {78, 79},   {79, 79},   {77, 79},   {81, 78},   {81, 78},   {78, 78},   {115, 56},
};

constexpr std::size_t kHelmetFirst = 38;
constexpr std::size_t kHelmetLast = 43;
constexpr std::uint32_t kHelmetFillWidth = 85;
constexpr std::uint32_t kHelmetFillHeight = 80;

void Blit(const ArtPicture& from, SheetPoint fromAt, SheetSize size, ArtPicture& to, std::int64_t x, std::int64_t y,
          bool keyed)
{
    // The rectangle clipped once to both pictures, then copied row by row.
    std::int64_t x0 = 0, y0 = 0, x1 = size.width, y1 = size.height;
    x0 = std::max({x0, -x, -std::int64_t{fromAt.x}});
    y0 = std::max({y0, -y, -std::int64_t{fromAt.y}});
    x1 = std::min({x1, std::int64_t{from.width} - fromAt.x, std::int64_t{to.width} - x});
    y1 = std::min({y1, std::int64_t{from.height} - fromAt.y, std::int64_t{to.height} - y});
    if (x0 >= x1 || y0 >= y1)
        return;
    const auto count = static_cast<std::size_t>(x1 - x0);
    for (std::int64_t j = y0; j < y1; ++j) {
        const ArtWord* source =
            &from.words[static_cast<std::size_t>(fromAt.y + j) * from.width + static_cast<std::size_t>(fromAt.x + x0)];
        ArtWord* target = &to.words[static_cast<std::size_t>(y + j) * to.width + static_cast<std::size_t>(x + x0)];
        if (!keyed) {
            std::copy_n(source, count, target);
            continue;
        }
        for (std::size_t i = 0; i < count; ++i)
            if (source[i] != kArtKeyWord)
                target[i] = source[i];
    }
}

} // namespace

std::size_t TeamSheetEntry(int team, std::size_t position)
{
    const auto t = static_cast<std::size_t>(team);
    if (position < 30)
        return 10 + 30 * t + position;
    if (position == 30)
        return 400 + t;
    if (position == 31)
        return 411 + t;
    if (position == 32)
        return 422 + t;
    if (position == 33)
        return 433 + t;
    if (position < 38)
        return 445 + 4 * t + (position - 34);
    if (position < 44)
        return 489 + 6 * t + (position - 38);
    return 555 + t;
}

SheetPoint TeamSheetPlace(std::size_t position)
{
    return position < kTeamSheetPositions ? kPlaces[position] : SheetPoint{};
}

SheetSize TeamSpriteSize(std::size_t position)
{
    return position < kTeamSheetPositions ? kSpriteSizes[position] : SheetSize{};
}

bool IsTeamArtEntry(std::size_t entry) { return entry >= 10 && entry <= 565; }

bool ComposeTeamSheet(std::string_view bankFile, int team, ArtPicture& sheet)
{
    ArtPicture composed(kTeamSheetWidth, kTeamSheetHeight);
    for (std::size_t p = kHelmetFirst; p <= kHelmetLast; ++p)
        Blit(ArtPicture(kHelmetFillWidth, kHelmetFillHeight, kArtKeyWord), {}, {kHelmetFillWidth, kHelmetFillHeight},
             composed, kPlaces[p].x, kPlaces[p].y, false);
    ArtBankReader bank(bankFile);
    ArtPicture entry;
    for (std::size_t p = 0; p < kTeamSheetPositions; ++p) {
        if (!bank.read(TeamSheetEntry(team, p), entry))
            return false;
        Blit(entry, {}, {entry.width, entry.height}, composed, kPlaces[p].x, kPlaces[p].y, false);
    }
    sheet = std::move(composed);
    return true;
}

bool WriteTeamSheet(std::string_view bankFile, const ArtDirectory& directory, int team, const ArtPicture& sheet,
                    std::vector<FormatError>& faults)
{
    bool all = true;
    for (std::size_t p = 0; p < kTeamSheetPositions; ++p) {
        const std::size_t index = TeamSheetEntry(team, p);
        const ArtEntry& e = directory.entries[index];
        if (e.width > kTeamSheetWidth || e.height > kTeamSheetHeight) {
            all = false;
            continue;
        }
        try {
            WriteArtImage(bankFile, e, index, CutTeamSheetEntry(sheet, p, e));
        } catch (const FormatError& fault) {
            if (fault.number() < 0)
                throw;
            faults.push_back(fault);
            all = false;
        }
    }
    return all;
}

ArtPicture CutTeamSheetEntry(const ArtPicture& sheet, std::size_t position, const ArtEntry& entry)
{
    ArtPicture cut(entry.width, entry.height, kArtKeyWord);
    if (position < kTeamSheetPositions)
        Blit(sheet, kPlaces[position], {entry.width, entry.height}, cut, 0, 0, false);
    return cut;
}

void DrawTeamSprite(const ArtPicture& sheet, std::size_t position, ArtPicture& target, int x, int y)
{
    if (position >= kTeamSheetPositions)
        return;
    Blit(sheet, kPlaces[position], kSpriteSizes[position], target, x, y, true);
}

} // namespace pitwall
