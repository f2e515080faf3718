#include "DemoArtEncoder.h"

#include <algorithm>

namespace pitwall::demo {

namespace {

constexpr int kCounts[8] = {2, 3, 4, 5, 6, 7, 14, 28};
constexpr int kSteps[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr std::int64_t kRow = 800;
constexpr std::int64_t kMaxDistance = 127 * 1024 + 255 * 4 + 3;
constexpr ArtWord kKey = 0x7C1F;

struct Candidate {
    // Source start relative to the current pixel, or mirrored across the
    // picture (mirror), or transposed (column y, row x).
    int dx, dy;
    int direction;
    enum Kind { kRelative, kMirror, kTranspose } kind = kRelative;
};

constexpr Candidate kCandidates[] = {
    {-1, 0, 0},
    {0, -1, 0},
    {-1, -1, 0},
    {0, 0, 4, Candidate::kMirror},
    {0, 0, 2, Candidate::kTranspose},
    {0, -29, 2},
    {0, -1, 6},
    {-1, -1, 6},
    {0, -29, 1},
    {27, -29, 3},
    {-1, -1, 5},
    {0, -1, 7},
    {-2, 0, 0},
    {-3, 0, 0},
    {0, -2, 0},
    {1, -1, 0},
    {-1, -1, 4},
};
constexpr unsigned kCandidateCount = sizeof kCandidates / sizeof kCandidates[0];

class Encoder {
public:
    Encoder(const ArtPicture& p, bool singleWordKeys, unsigned preference, DemoArtStats* stats)
        : p_(p),
          w_(p.width),
          h_(p.height),
          single_(singleWordKeys),
          pref_(preference % kCandidateCount),
          stats_(stats),
          last_(pref_)
    {}

    std::vector<std::uint8_t> run()
    {
        const std::size_t total = p_.words.size();
        out_.reserve(total / 4 + 16);
        while (pos_ < total) {
            int bestLen = 0;
            std::int64_t bestD = 0;
            int bestDir = 0;
            unsigned bestCandidate = last_;
            // The candidate that worked last usually works again; the others
            // follow in the picture's preferred order.
            for (unsigned k = 0; k <= kCandidateCount && bestLen < 28; ++k) {
                const unsigned index = k == 0 ? last_ : (k - 1 + pref_) % kCandidateCount;
                if (k > 0 && index == last_)
                    continue;
                const Candidate& c = kCandidates[index];
                std::int64_t d;
                if (!distanceFor(c, d))
                    continue;
                int len = matchLength(d, c.direction);
                if (len > bestLen) {
                    bestLen = len;
                    bestD = d;
                    bestDir = c.direction;
                    bestCandidate = index;
                }
            }
            const ArtWord here = p_.words[pos_];
            std::size_t keys = 0;
            if (here == kKey && !single_)
                while (pos_ + keys < total && keys < 256 && p_.words[pos_ + keys] == kKey)
                    ++keys;
            if (keys > 0 && static_cast<int>(keys) >= bestLen) {
                put16(kKey);
                put8(static_cast<std::uint8_t>(keys - 1));
                pos_ += keys;
                if (stats_)
                    ++stats_->keyRuns;
            } else if (bestLen >= 2) {
                int code = 7;
                while (kCounts[code] > bestLen)
                    --code;
                putCopy(bestD, code, bestDir);
                last_ = bestCandidate;
                pos_ += static_cast<std::size_t>(kCounts[code]);
            } else {
                put16(here);
                ++pos_;
                if (stats_)
                    ++(here == kKey ? stats_->singleKeyWords : stats_->literalWords);
            }
        }
        return std::move(out_);
    }

private:
    // The distance whose source start is the candidate's place, when it has one.
    bool distanceFor(const Candidate& c, std::int64_t& d) const
    {
        const std::int64_t x = static_cast<std::int64_t>(pos_ % w_);
        const std::int64_t y = static_cast<std::int64_t>(pos_ / w_);
        std::int64_t sx, sy;
        switch (c.kind) {
        case Candidate::kMirror:
            sx = static_cast<std::int64_t>(w_) - 1 - x;
            sy = y;
            break;
        case Candidate::kTranspose:
            sx = y;
            sy = x;
            break;
        default:
            sx = x + c.dx;
            sy = y + c.dy;
        }
        if (sx < 0 || sy < 0 || sx >= static_cast<std::int64_t>(w_) || sy > y || (sy == y && sx >= x))
            return false;
        if (sy == y)
            d = x - sx;
        else
            d = kRow * (y - sy) - sx + x;
        return d >= 1 && d <= kMaxDistance;
    }

    // How many pixels (at most 28) a copy with this distance and direction
    // reproduces, following the game's rules for the source.
    int matchLength(std::int64_t d, int direction) const
    {
        const std::int64_t w = w_, h = h_;
        const std::int64_t x = static_cast<std::int64_t>(pos_ % w_);
        const std::int64_t y = static_cast<std::int64_t>(pos_ / w_);
        std::int64_t sx, sy;
        if (d <= x) {
            sx = x - d;
            sy = y;
        } else {
            std::int64_t e = d - x, q = e / kRow;
            sx = kRow - (e - kRow * q);
            sy = y - 1 - q;
        }
        const std::size_t total = p_.words.size();
        const std::size_t limit = std::min<std::size_t>(28, total - pos_);
        // The common case: a copy along a row that does not reach its end.
        if (direction == 0 && sx >= 0 && sx + static_cast<std::int64_t>(limit) <= w && sy >= 0 && sy < h) {
            const ArtWord* src = p_.words.data() + static_cast<std::size_t>(sy * w + sx);
            const ArtWord* dst = p_.words.data() + pos_;
            std::size_t n = 0;
            while (n < limit && src + n < dst + n && src[n] == dst[n])
                ++n;
            return static_cast<int>(n);
        }
        int n = 0;
        while (n < 28 && pos_ + static_cast<std::size_t>(n) < total) {
            if (sx < 0) {
                sx = w - 1;
                --sy;
            } else if (sx >= w) {
                sx = 0;
                ++sy;
            }
            if (sy < 0 || sy >= h)
                break;
            const std::size_t src = static_cast<std::size_t>(sy * w + sx);
            const std::size_t dst = pos_ + static_cast<std::size_t>(n);
            if (src >= dst || p_.words[src] != p_.words[dst])
                break;
            ++n;
            sx += kSteps[direction][0];
            sy += kSteps[direction][1];
        }
        return n;
    }

    void putCopy(std::int64_t d, int code, int direction)
    {
        const auto b0 = static_cast<std::uint8_t>((d >> 2) & 0xFF);
        const auto b1 = static_cast<std::uint8_t>(0x80 | ((d >> 10) & 0x7F));
        const auto b2 = static_cast<std::uint8_t>(((d & 3) << 6) | (code << 3) | direction);
        out_.push_back(b0);
        out_.push_back(b1);
        out_.push_back(b2);
        if (stats_) {
            ++stats_->copyTokens;
            ++stats_->copyByDirection[direction];
            stats_->longestDistance = std::max(stats_->longestDistance, static_cast<std::uint32_t>(d));
        }
    }
    void put16(ArtWord v)
    {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void put8(std::uint8_t v) { out_.push_back(v); }

    const ArtPicture& p_;
    std::uint32_t w_, h_;
    bool single_;
    unsigned pref_;
    DemoArtStats* stats_;
    std::size_t pos_ = 0;
    unsigned last_;
    std::vector<std::uint8_t> out_;
};

} // namespace

std::vector<std::uint8_t> EncodeDemoArt(const ArtPicture& picture, bool singleWordKeys, unsigned preference,
                                        DemoArtStats* stats)
{
    if (picture.width == 0 || picture.height == 0)
        return {};
    return Encoder(picture, singleWordKeys, preference, stats).run();
}

} // namespace pitwall::demo
