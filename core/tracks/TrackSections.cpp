#include "tracks/TrackSections.h"

#include <algorithm>
#include <numeric>

namespace pitwall {

namespace {

constexpr std::uint8_t kFill = 0xFF;
constexpr std::size_t kEntryFixedBytes = 8 + 2;
constexpr std::size_t kLabelBytesMax = 30;
constexpr std::size_t kLabelCharsMax = 29;
// An X1 of the game's screen (0..800) whose low byte is 0xFF has one of
// these high bytes.
constexpr std::uint8_t kHighestFfLowX1 = 2;
// The search over ways to read runs of 0xFF gives up after this many steps.
constexpr int kMaxParseSteps = 20000;

std::uint16_t Word(std::span<const std::uint8_t> r, std::size_t p)
{
    return static_cast<std::uint16_t>(r[p] | r[p + 1] << 8);
}

// Reads one entry at p into the view; the position after it, or nothing
// when the entry does not fit the region or the view is full.
std::optional<std::size_t> ReadEntry(std::span<const std::uint8_t> r, std::size_t p, TrackView& view)
{
    if (view.count >= kMaxSections || r.size() - p < kEntryFixedBytes)
        return std::nullopt;
    TrackSection s;
    s.x1 = Word(r, p);
    s.y1 = Word(r, p + 2);
    s.x2 = Word(r, p + 4);
    s.y2 = Word(r, p + 6);
    p += 8;
    std::string label;
    while (label.size() < kLabelBytesMax && p < r.size() && r[p] != 0)
        label.push_back(static_cast<char>(r[p++]));
    if (label.size() < kLabelBytesMax) {
        if (p >= r.size())
            return std::nullopt;
        ++p; // the zero byte
    }
    if (r.size() - p < 2)
        return std::nullopt;
    s.label = label;
    s.gear = r[p];
    s.speed = r[p + 1];
    view.sections[view.count++] = s;
    view.budget = static_cast<std::uint16_t>(view.budget + label.size());
    return p + 2;
}

// Reads the groups of one slot's region. A run of 0xFF bytes after a
// group's entries is its fill, its separator and possibly the separators of
// empty groups after it (and, when odd, perhaps the low byte of the next
// entry's X1). Which reading is right shows only in whether the rest of the
// region then makes exactly four groups, so the reader tries them, fewest
// fill bytes first.
class SlotParser {
public:
    SlotParser(std::span<const std::uint8_t> region, bool lastSlot) : r_(region), last_(lastSlot) {}

    bool parse(std::size_t p, int g, TrackSecInfo& s)
    {
        if (++steps_ > kMaxParseSteps)
            return false;
        if (g == kTrackViews)
            return p == r_.size();
        std::size_t run = 0;
        while (p + run < r_.size() && r_[p + run] == kFill)
            ++run;
        const bool atEnd = p + run == r_.size();
        if (run == 0) {
            if (atEnd) // region ends without a separator: only the last view of the last slot
                return last_ && g == kTrackViews - 1;
            return entry(p, g, s);
        }
        if (!atEnd && r_[p + run] <= kHighestFfLowX1) {
            // The last 0xFF may be the low byte of the next entry's X1.
            if (run == 1)
                return entry(p, g, s) || close(p, run, g, s);
            TrackSecInfo trial = s;
            if (close(p, run - 1, g, trial)) {
                s = trial;
                return true;
            }
        }
        return close(p, run, g, s);
    }

private:
    bool entry(std::size_t p, int g, TrackSecInfo& s)
    {
        TrackSecInfo trial = s;
        auto next = ReadEntry(r_, p, trial.views[static_cast<std::size_t>(g)]);
        if (!next || !parse(*next, g, trial))
            return false;
        s = trial;
        return true;
    }

    // The run of `run` 0xFF bytes at p closes group g and k - 1 empty groups.
    bool close(std::size_t p, std::size_t run, int g, TrackSecInfo& s)
    {
        const int open = kTrackViews - g;
        if (p + run == r_.size()) {
            const std::size_t separators = static_cast<std::size_t>(open - (last_ ? 1 : 0));
            if (run < 2 * separators)
                return false;
            closeGroups(g, open, run - 2 * separators, s);
            return true;
        }
        const int most = std::min<int>(static_cast<int>(run / 2), open - 1);
        for (int k = most; k >= 1; --k) {
            TrackSecInfo trial = s;
            closeGroups(g, k, run - 2 * static_cast<std::size_t>(k), trial);
            if (parse(p + run, g + k, trial)) {
                s = trial;
                return true;
            }
        }
        return false;
    }

    static void closeGroups(int g, int k, std::size_t fill, TrackSecInfo& s)
    {
        TrackView& view = s.views[static_cast<std::size_t>(g)];
        view.budget = static_cast<std::uint16_t>(std::min<std::size_t>(view.budget + fill, 0xFFFF));
        for (int e = g + 1; e < g + k && e < kTrackViews; ++e)
            s.views[static_cast<std::size_t>(e)] = TrackView{};
    }

    std::span<const std::uint8_t> r_;
    bool last_;
    int steps_ = 0;
};

// The game's own way, for a region that no reading fits: every 0xFFFF word
// closes a group; reading stops at the first entry that does not fit.
TrackSecInfo ReadGreedy(std::span<const std::uint8_t> r)
{
    TrackSecInfo s;
    std::size_t p = 0;
    int g = 0;
    while (g < kTrackViews && p < r.size()) {
        if (r.size() - p >= 2 && Word(r, p) == 0xFFFF) {
            p += 2;
            ++g;
            continue;
        }
        auto next = ReadEntry(r, p, s.views[static_cast<std::size_t>(g)]);
        if (!next)
            break;
        p = *next;
    }
    return s;
}

} // namespace

std::size_t SectionsSlotOffset(int slot)
{
    return kSectionsLead
        + std::accumulate(kSectionsSlotBytes.begin(), kSectionsSlotBytes.begin() + slot, std::size_t{0});
}

SectionsRead ReadTrackSections(std::span<const std::uint8_t> stream)
{
    SectionsRead read;
    for (int t = 0; t < kTrackCount; ++t) {
        const std::size_t start = SectionsSlotOffset(t);
        const std::size_t size = kSectionsSlotBytes[static_cast<std::size_t>(t)];
        if (start > stream.size() || size > stream.size() - start) {
            read.overran = true;
            if (start < stream.size())
                read.bySlot[static_cast<std::size_t>(t)] = ReadGreedy(stream.subspan(start));
            break;
        }
        auto region = stream.subspan(start, size);
        TrackSecInfo s;
        SlotParser parser(region, t == kTrackCount - 1);
        if (parser.parse(0, 0, s)) {
            read.bySlot[static_cast<std::size_t>(t)] = s;
        } else {
            read.bySlot[static_cast<std::size_t>(t)] = ReadGreedy(region);
            read.damaged.push_back(t);
        }
    }
    return read;
}

std::optional<std::string> FirstSectionOffScreen(const TrackSecInfo& sections)
{
    for (std::size_t v = 0; v < sections.views.size(); ++v) {
        const TrackView& view = sections.views[v];
        for (std::size_t i = 0; i < std::min<std::size_t>(view.count, view.sections.size()); ++i) {
            const TrackSection& s = view.sections[i];
            if (s.x1 > kSectionsMaxX || s.x2 > kSectionsMaxX || s.y1 > kSectionsMaxY || s.y2 > kSectionsMaxY)
                return "view " + std::to_string(v + 1) + ", section " + std::to_string(i + 1);
        }
    }
    return std::nullopt;
}

std::size_t LabelLength(const TrackView& view)
{
    std::size_t length = 0;
    for (int i = 0; i < view.count && i < kMaxSections; ++i)
        length += std::min(view.sections[static_cast<std::size_t>(i)].label.text().size(), kLabelCharsMax);
    return length;
}

std::optional<std::vector<std::uint8_t>> SlotSectionsBytes(const TrackSecInfo& sections, int slot)
{
    const std::size_t size = kSectionsSlotBytes.at(static_cast<std::size_t>(slot));
    const bool lastSlot = slot == kTrackCount - 1;
    std::vector<std::uint8_t> out;
    out.reserve(size);
    for (int v = 0; v < kTrackViews; ++v) {
        const TrackView& view = sections.views[static_cast<std::size_t>(v)];
        const std::size_t labels = LabelLength(view);
        if (labels > view.budget)
            return std::nullopt;
        for (int i = 0; i < view.count && i < kMaxSections; ++i) {
            const TrackSection& s = view.sections[static_cast<std::size_t>(i)];
            for (std::uint16_t w : {s.x1, s.y1, s.x2, s.y2}) {
                out.push_back(static_cast<std::uint8_t>(w));
                out.push_back(static_cast<std::uint8_t>(w >> 8));
            }
            std::string label = s.label.text().substr(0, kLabelCharsMax);
            out.insert(out.end(), label.begin(), label.end());
            out.push_back(0);
            out.push_back(s.gear);
            out.push_back(s.speed);
        }
        out.insert(out.end(), view.budget - labels, kFill);
        const bool lastGroup = lastSlot && v == kTrackViews - 1;
        // A slot whose records hold less than its room (budgets of another
        // installation) gives the rest to its last view's fill.
        if (v == kTrackViews - 1) {
            const std::size_t need = out.size() + (lastGroup ? 0 : 2);
            if (need > size)
                return std::nullopt;
            out.insert(out.end(), size - need, kFill);
        }
        if (!lastGroup) {
            out.push_back(kFill);
            out.push_back(kFill);
        }
    }
    return out;
}

} // namespace pitwall
