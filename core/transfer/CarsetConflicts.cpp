#include "transfer/CarsetConflicts.h"

#include <algorithm>
#include <cstdio>

namespace pitwall {

namespace {

// Sorted, with overlapping and touching ranges joined; empty ones dropped.
std::vector<ByteRange> Normalised(std::vector<ByteRange> ranges)
{
    std::erase_if(ranges, [](const ByteRange& r) { return r.length == 0; });
    std::sort(ranges.begin(), ranges.end(), [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
    std::vector<ByteRange> joined;
    for (const ByteRange& r : ranges) {
        if (!joined.empty() && r.offset <= joined.back().offset + joined.back().length) {
            ByteRange& last = joined.back();
            last.length = std::max(last.offset + last.length, r.offset + r.length) - last.offset;
        } else {
            joined.push_back(r);
        }
    }
    return joined;
}

std::string Hex(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}


} // namespace

std::vector<ByteRange> IntersectRanges(std::vector<ByteRange> a, std::vector<ByteRange> b)
{
    a = Normalised(std::move(a));
    b = Normalised(std::move(b));
    std::vector<ByteRange> common;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::uint64_t from = std::max(a[i].offset, b[j].offset);
        const std::uint64_t aEnd = a[i].offset + a[i].length, bEnd = b[j].offset + b[j].length;
        const std::uint64_t to = std::min(aEnd, bEnd);
        if (from < to)
            common.push_back({from, to - from});
        if (aEnd < bEnd)
            ++i;
        else
            ++j;
    }
    return common;
}

std::vector<CarsetPairConflicts> FindCarsetConflicts(const std::vector<CarsetChanges>& carsets)
{
    std::vector<CarsetPairConflicts> pairs;
    for (std::size_t a = 0; a < carsets.size(); ++a) {
        for (std::size_t b = a + 1; b < carsets.size(); ++b) {
            CarsetPairConflicts pair;
            pair.first = a;
            pair.second = b;
            for (int n = 1; n < kItemCount; ++n)
                if (carsets[a].items[static_cast<std::size_t>(n)] && carsets[b].items[static_cast<std::size_t>(n)])
                    pair.sharedItems.push_back(n);
            for (const FileChange& fa : carsets[a].changes) {
                for (const FileChange& fb : carsets[b].changes) {
                    if (ConflictFileKey(fa.relativePath) != ConflictFileKey(fb.relativePath))
                        continue;
                    // Item 0 is what follows from the others (the checksum).
                    for (const ItemChange& ia : fa.items) {
                        if (ia.item == 0)
                            continue;
                        for (const ItemChange& ib : fb.items) {
                            if (ib.item == 0)
                                continue;
                            std::vector<ByteRange> common = IntersectRanges(ia.ranges, ib.ranges);
                            if (!common.empty())
                                pair.overlaps.push_back({fa.relativePath, ia.item, ib.item, std::move(common)});
                        }
                    }
                }
            }
            pairs.push_back(std::move(pair));
        }
    }
    return pairs;
}

std::string RangeText(const std::vector<ByteRange>& ranges, std::size_t shown)
{
    std::string text;
    for (std::size_t i = 0; i < ranges.size() && i < shown; ++i) {
        text += (i == 0 ? "" : ", ") + Hex(ranges[i].offset);
        if (ranges[i].length > 1)
            text += "-" + Hex(ranges[i].offset + ranges[i].length - 1);
    }
    if (ranges.size() > shown)
        text += " (+" + std::to_string(ranges.size() - shown) + ")";
    return text;
}

std::string ConflictFileKey(const std::string& relativePath)
{
    std::string key = relativePath;
    for (char& c : key) {
        if (c == '/')
            c = '\\';
        else if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
}

} // namespace pitwall
