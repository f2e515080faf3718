#include "session/ConflictWords.h"

#include "base/FileUtils.h"
#include "formats/ArtBankDirectory.h"
#include "teams/TeamsGameFiles.h"

#include <algorithm>
#include <optional>

namespace pitwall {

namespace {


std::string TeamsWords(const TeamsBytes& part, const UITexts& texts)
{
    using namespace conflict_text;
    const FormatArgs team = Args(part.team + 1);
    switch (part.part) {
    case TeamsPart::Drivers:
        return texts.format(kTeamDrivers, team);
    case TeamsPart::NameEngine:
        return texts.format(kTeamNameEngine, team);
    case TeamsPart::Performance:
        return texts.format(kTeamPerformance, team);
    case TeamsPart::PitOrder:
        return texts.text(kPitOrder);
    case TeamsPart::Tyres:
        return texts.format(kTeamTyres, team);
    }
    return {};
}

// The art entries whose directory record or pixel data the range touches.
std::vector<int> ArtEntriesAt(const ArtDirectory& directory, const ByteRange& range)
{
    std::vector<int> entries;
    const std::uint64_t end = range.offset + range.length;
    for (std::size_t e = 0; e < directory.entriesRead; ++e) {
        const ArtEntry& entry = directory.entries[e];
        const std::uint64_t record = kArtDirectoryStart + e * kArtDirectoryEntrySize;
        const bool inRecord = range.offset < record + kArtDirectoryEntrySize && record < end;
        const bool inData = entry.reservedSize > 0
            && range.offset < std::uint64_t{entry.dataOffset} + entry.reservedSize && entry.dataOffset < end;
        if (inRecord || inData)
            entries.push_back(static_cast<int>(e));
    }
    return entries;
}

// "412, 415-420".
std::string NumberList(const std::vector<int>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        text += (text.empty() ? "" : ", ") + std::to_string(numbers[i]);
        if (j > i)
            text += "-" + std::to_string(numbers[j]);
        i = j + 1;
    }
    return text;
}

} // namespace

std::vector<std::string> OverlapWords(const std::vector<ItemOverlap>& overlaps, const ProgramState& program)
{
    using namespace conflict_text;
    const UITexts& texts = program.texts;
    std::vector<TeamsBytes> teams;
    std::vector<int> artEntries;
    std::vector<std::string> rest;

    for (const ItemOverlap& overlap : overlaps) {
        const std::string file = ConflictFileKey(overlap.relativePath);
        std::vector<ByteRange> unnamed;
        if (file == "GP3.EXE" || file == "F1GSTATE.SAV") {
            const bool savegame = file == "F1GSTATE.SAV";
            for (const ByteRange& r : overlap.ranges) {
                auto parts = TeamsBytesAt(savegame, r.offset, r.length, program.gameVersion, program.savegameFormat);
                teams.insert(teams.end(), parts.begin(), parts.end());
                if (parts.empty())
                    unnamed.push_back(r);
            }
        } else if (file == kArtBankGamePath) {
            std::optional<ArtDirectory> directory;
            try {
                directory = ReadArtDirectory(program.settings.gameDirectory + overlap.relativePath);
            } catch (const std::exception&) {
                // Said with the byte ranges instead.
            }
            for (const ByteRange& r : overlap.ranges) {
                std::vector<int> at = directory ? ArtEntriesAt(*directory, r) : std::vector<int>{};
                artEntries.insert(artEntries.end(), at.begin(), at.end());
                if (at.empty())
                    unnamed.push_back(r);
            }
        } else {
            unnamed = overlap.ranges;
        }
        if (!unnamed.empty()) {
            std::string items = ItemDescription(overlap.firstItem, texts);
            if (overlap.secondItem != overlap.firstItem)
                items += " / " + ItemDescription(overlap.secondItem, texts);
            std::string line = texts.format(kItemBytes, Args(items, overlap.relativePath, RangeText(unnamed)));
            if (std::find(rest.begin(), rest.end(), line) == rest.end())
                rest.push_back(std::move(line));
        }
    }

    // Team by team, the pit order after them; then the art bank; then the rest.
    std::vector<std::string> lines;
    auto key = [](const TeamsBytes& t) {
        return std::pair(t.part == TeamsPart::PitOrder ? kTeamCount : t.team, static_cast<int>(t.part));
    };
    std::sort(teams.begin(), teams.end(), [&](const TeamsBytes& a, const TeamsBytes& b) { return key(a) < key(b); });
    teams.erase(std::unique(teams.begin(), teams.end()), teams.end());
    for (const TeamsBytes& part : teams)
        lines.push_back(TeamsWords(part, texts));
    std::sort(artEntries.begin(), artEntries.end());
    artEntries.erase(std::unique(artEntries.begin(), artEntries.end()), artEntries.end());
    if (artEntries.size() == 1)
        lines.push_back(texts.format(kArtEntry, Args(artEntries.front())));
    else if (!artEntries.empty())
        lines.push_back(texts.format(kArtEntries, Args(NumberList(artEntries))));
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

} // namespace pitwall
