#include "formats/TrackFile.h"

#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/GamePath.h"
#include "base/Windows1252.h"
#include "formats/FileRange.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr std::string_view kInfoMarker = "#GP3INFO";
constexpr std::uint8_t kJamMarker[4] = {12, 13, 14, 15};
// The bytes a JAM list can reach beyond the search window: 65,535 names of
// at most 100 bytes each.
constexpr std::size_t kJamListReach = 65'535 * (kMaxJamNameBytes + 1) + 6;

bool MatchesMarkerAt(ByteReader& r, std::size_t at)
{
    r.seek(at);
    for (char m : kInfoMarker)
        if (UpperWindows1252(static_cast<char>(r.u8())) != m)
            return false;
    return true;
}

int KnownKeyIndex(const std::string& upperKey)
{
    for (std::size_t i = 0; i < kTrackInfoKeys.size(); ++i)
        if (upperKey == kTrackInfoKeys[i])
            return static_cast<int>(i);
    return -1;
}

} // namespace

TrackInfoBlock ParseTrackInfo(std::span<const std::uint8_t> window)
{
    TrackInfoBlock block;
    const std::size_t s = window.size();
    if (s < kInfoMarker.size())
        return block;
    ByteReader r(window);
    std::size_t marker = s - kInfoMarker.size() + 1;
    bool found = false;
    while (marker-- > 0)
        if (MatchesMarkerAt(r, marker)) {
            found = true;
            break;
        }
    if (!found)
        return block;

    // The marker, one separator, then the tokens up to the file's last 4 bytes.
    std::size_t start = marker + kInfoMarker.size() + 1;
    std::size_t end = s >= 4 ? s - 4 : 0;
    std::string token, key;
    bool expectKey = true;
    if (start < end) {
        r.seek(start);
        for (auto b : r.bytes(end - start)) {
            char c = static_cast<char>(b);
            if (c != '|') {
                token += c;
                continue;
            }
            if (expectKey) {
                key = UpperWindows1252(token);
            } else if (int i = KnownKeyIndex(key); i >= 0) {
                block.values[static_cast<std::size_t>(i)] = token;
            }
            expectKey = !expectKey;
            token.clear();
        }
    }
    block.found = true;
    return block;
}

std::vector<std::string> ParseJamList(std::span<const std::uint8_t> head)
{
    std::vector<std::string> names;
    const std::size_t window = std::min(head.size(), kTrackSearchWindow);
    if (window < 4)
        return names;
    ByteReader r(head);
    std::size_t at = window - 4 + 1;
    bool found = false;
    while (at-- > 1) {
        r.seek(at);
        auto four = r.bytes(4);
        if (std::equal(four.begin(), four.end(), std::begin(kJamMarker))) {
            found = true;
            break;
        }
    }
    if (!found)
        return names;
    r.seek(at + 4);
    if (r.remaining() < 2)
        return names;
    std::uint16_t count = r.u16();
    for (std::uint16_t i = 0; i < count && !r.atEnd(); ++i) {
        auto field = r.bytes(std::min(r.remaining(), kMaxJamNameBytes));
        auto zero = std::find(field.begin(), field.end(), std::uint8_t{0});
        names.emplace_back(field.begin(), zero);
        // The next name starts right after this one's 0 byte.
        std::size_t used = static_cast<std::size_t>(zero - field.begin()) + (zero != field.end() ? 1 : 0);
        r.seek(r.position() - field.size() + used);
    }
    return names;
}

bool ReadTrackInfo(std::string_view file, TrackInfoBlock& block)
{
    block = TrackInfoBlock{};
    RequireFile(file);
    block = ParseTrackInfo(ReadFileRange(file, 0, kTrackSearchWindow));
    return block.found;
}

std::vector<std::string> ReadJamList(std::string_view file)
{
    RequireFile(file);
    return ParseJamList(ReadFileRange(file, 0, kTrackSearchWindow + kJamListReach));
}

std::vector<std::string> ListTrackFiles(std::string_view gameDirectory)
{
    std::vector<std::string> names;
    std::string circuits = ResolveGamePath(IncludeTrailingBackslash(gameDirectory), "CIRCUITS");
    if (!DirectoryExists(circuits))
        return names;
    for (const std::string& path : ListFiles(IncludeTrailingBackslash(circuits), "*.*", false, false)) {
        std::string name = Utf8ToWindows1252(FileNameOf(path));
        if (name.size() <= kMaxTrackFileNameLength)
            names.push_back(Windows1252ToUtf8(UpperWindows1252(name)));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pitwall
