#include "DemoArtPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pitwall::demo {

namespace {

constexpr ArtWord kKey = 0x7C1F;

// Sprite sizes of the team sheets' 45 positions.
constexpr DemoArtSize kCarFrames[30] = {{29, 119},  {29, 119},  {34, 120},  {43, 120},  {53, 121},  {62, 121},
                                        {72, 121},  {81, 121},  {89, 120},  {97, 120},  {103, 120}, {109, 119},
                                        {113, 118}, {117, 118}, {119, 117}, {120, 117}, {120, 116}, {119, 116},
                                        {117, 115}, {113, 114}, {109, 114}, {103, 114}, {97, 115},  {90, 115},
                                        {82, 116},  {72, 116},  {62, 116},  {53, 117},  {43, 118},  {35, 119}};
constexpr DemoArtSize kHelmets[6] = {{78, 79}, {79, 79}, {77, 79}, {81, 78}, {81, 78}, {78, 78}};

enum class Kind {
    kUnknown,
    kLogo,
    kCar,
    kCarSide,
    kBanner,
    kSpare,
    kPortrait,
    kHelmet,
    kTeamLogo,
    kTrack,
    kWeather,
    kBackground
};

Kind KindOf(std::size_t e)
{
    if (e == 0)
        return Kind::kUnknown;
    if (e <= 9)
        return Kind::kLogo;
    if (e <= 399)
        return Kind::kCar;
    if (e <= 421)
        return Kind::kCar;
    if (e <= 432)
        return Kind::kCarSide;
    if (e <= 443)
        return Kind::kBanner;
    if (e == 444)
        return Kind::kSpare;
    if (e <= 488)
        return Kind::kPortrait;
    if (e <= 554)
        return Kind::kHelmet;
    if (e <= 565)
        return Kind::kTeamLogo;
    if (e <= 693)
        return Kind::kTrack;
    if (e <= 754)
        return Kind::kWeather;
    return Kind::kBackground;
}

std::uint32_t Hash(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0)
{
    std::uint64_t z = seed * 0x9E3779B97F4A7C15ull + a * 0xBF58476D1CE4E5B9ull + b * 0x94D049BB133111EBull + 1;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

int Channel(int v) { return v < 0 ? 0 : (v > 31 ? 31 : v); }

ArtWord Word(int r, int g, int b)
{
    auto w = static_cast<ArtWord>((Channel(r) << 10) | (Channel(g) << 5) | Channel(b));
    return w == kKey ? static_cast<ArtWord>(w - 1) : w;
}

struct Colour {
    int r, g, b;
    ArtWord shade(int s) const { return Word(r + s, g + s, b + s); }
};

Colour ColourOf(std::uint32_t h)
{
    return {static_cast<int>(h % 24) + 4, static_cast<int>((h >> 8) % 24) + 4, static_cast<int>((h >> 16) % 24) + 4};
}

// A left-right symmetric body on key colour: shaded across, banded down,
// outlined. Used for the car frames and the car pictures.
void PaintBody(ArtPicture& p, std::uint32_t h)
{
    const Colour c1 = ColourOf(h), c2 = ColourOf(h >> 5), dark = {2, 2, 3};
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    for (int y = 0; y < ht; ++y) {
        const double t = (2.0 * y - (ht - 1)) / ht;
        const int half = static_cast<int>((w / 2) * std::sqrt(std::max(0.0, 1.0 - t * t * 0.9)));
        const Colour& band = ((y * 6 / std::max(ht, 1)) % 2) ? c2 : c1;
        for (int x = 0; x < w; ++x) {
            const int off = std::abs(2 * x - (w - 1));
            ArtWord v = kKey;
            if (off < 2 * half - 3)
                v = band.shade(off * 6 / std::max(w, 1) - 3);
            else if (off < 2 * half)
                v = dark.shade(0);
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = v;
        }
    }
}

// Symmetric across the main diagonal (a column read downwards repeats a row).
void PaintPortrait(ArtPicture& p, std::uint32_t h)
{
    const Colour skin = {26, 20, 16}, back = ColourOf(h);
    const int w = static_cast<int>(p.width);
    for (int y = 0; y < static_cast<int>(p.height); ++y)
        for (int x = 0; x < w; ++x) {
            const int m = std::min(x, y), s = x + y;
            ArtWord v = s < w ? back.shade(m / 6 - 4) : skin.shade((m / 9) % 3 - 1);
            if (s > 2 * w - 24)
                v = kKey;
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = v;
        }
}

void PaintHelmet(ArtPicture& p, std::uint32_t h)
{
    const Colour c = ColourOf(h), stripe = ColourOf(h >> 7);
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    const int r2 = (std::min(w, ht) / 2 - 2) * (std::min(w, ht) / 2 - 2);
    for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = 2 * x - (w - 1), dy = 2 * y - (ht - 1);
            ArtWord v = kKey;
            if (dx * dx + dy * dy < 4 * r2)
                v = (std::abs(dx) < 8) ? stripe.shade(0) : (y > ht * 3 / 5 ? Word(3, 3, 5) : c.shade(-dy / 16));
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = v;
        }
}

// Lettering: blocks of colour on key, with a few pixels of noise like
// anti-aliased type.
void PaintLettering(ArtPicture& p, std::uint32_t h)
{
    const Colour c = ColourOf(h);
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x) {
            const int cell = x / std::max(ht / 2, 4);
            const bool letter = (Hash(h, cell) % 5) != 0 && (x % std::max(ht / 2, 4)) < std::max(ht / 2, 4) - 2
                && y > ht / 6 && y < ht - ht / 6 && ((Hash(h, cell, y * 4 / std::max(ht, 1)) >> 3) % 4) != 0;
            ArtWord v = letter ? c.shade(y * 8 / std::max(ht, 1) - 4) : kKey;
            if (letter && Hash(h, static_cast<std::uint64_t>(y) * 977 + static_cast<std::uint64_t>(x)) % 29 == 0)
                v = Word(31, 31, 31);
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = v;
        }
}

// A track map: grass in bands, the circuit as a ring of tarmac with white
// kerbs around a rounded rectangle whose proportions depend on the track, and
// the view's label box. Drawn as runs per row.
void PaintTrack(ArtPicture& p, std::uint32_t h, int view)
{
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    const int x0 = w / 8 + static_cast<int>(h % 40), x1 = w - w / 8 - static_cast<int>((h >> 6) % 40);
    const int y0 = ht / 8 + static_cast<int>((h >> 12) % 30), y1 = ht - ht / 8 - static_cast<int>((h >> 18) % 30);
    const int radius = std::min(x1 - x0, y1 - y0) / 4, track = std::max(w / 100, 4), kerb = 2;
    const ArtWord tarmac = Word(12, 12, 13), white = Word(29, 29, 29);
    auto run = [&](ArtWord* row, int from, int to, ArtWord v) {
        from = std::clamp(from, 0, w);
        to = std::clamp(to, 0, w);
        if (from < to)
            std::fill(row + from, row + to, v);
    };
    // Half-width of the rounded rectangle shrunk by `inset` at row y (0 outside).
    auto span = [&](int y, int inset, int& left, int& right) {
        const int top = y0 + inset, bottom = y1 - inset, r = std::max(radius - inset, 1);
        if (y < top || y >= bottom) {
            left = right = 0;
            return false;
        }
        int dy = 0;
        if (y < top + r)
            dy = top + r - y;
        else if (y >= bottom - r)
            dy = y - (bottom - r) + 1;
        const int cut = r - static_cast<int>(std::sqrt(std::max(0, r * r - dy * dy)));
        left = x0 + inset + cut;
        right = x1 - inset - cut;
        return left < right;
    };
    for (int y = 0; y < ht; ++y) {
        ArtWord* row = &p.at(0, static_cast<std::uint32_t>(y));
        run(row, 0, w, Word(6, 14 + (y / 24) % 3, 5));
        int ol, orr, il, ir, kl, kr;
        if (span(y, -kerb, kl, kr))
            run(row, kl, kr, white);
        if (span(y, 0, ol, orr))
            run(row, ol, orr, tarmac);
        if (span(y, track, il, ir))
            run(row, il, ir, white);
        if (span(y, track + kerb, il, ir))
            run(row, il, ir, Word(6, 14 + (y / 24) % 3, 5));
    }
    // The label box of the view.
    const int bx = (view % 2) ? w - 130 : 10, by = (view / 2) ? ht - 44 : 8;
    for (int y = by; y < by + 34 && y < ht; ++y)
        for (int x = bx; x < bx + 120 && x < w; ++x)
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = Word(2, 2, 8 + (x / 10) % 2);
}

void PaintWeather(ArtPicture& p, std::uint32_t h)
{
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    const int sx = w / 3 + static_cast<int>(h % 20), sy = ht / 3;
    for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x) {
            ArtWord v = Word(8 + y / 6, 14 + y / 8, 28);
            const int d2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
            if (d2 < 144)
                v = Word(31, 28, 6);
            if ((h & 1) && y > ht / 2 && std::abs(x - w / 2) < 30 - (y - ht / 2))
                v = Word(25, 25, 26);
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) = v;
        }
}

// A menu background: a sky of flat bands, a band of diagonal stripes, a
// mirror-symmetric emblem, a chequered floor and a block of fine detail.
void PaintBackground(ArtPicture& p, std::uint32_t h)
{
    const Colour sky = ColourOf(h), stripe = ColourOf(h >> 9), floor = ColourOf(h >> 17);
    const int w = static_cast<int>(p.width), ht = static_cast<int>(p.height);
    const int period = 8 + static_cast<int>(h % 8);
    for (int y = 0; y < ht; ++y) {
        ArtWord* row = &p.at(0, static_cast<std::uint32_t>(y));
        if (y < ht / 3) {
            std::fill(row, row + w, sky.shade(y / 12 - 8));
        } else if (y < ht / 2) {
            for (int x = 0; x < w; ++x)
                row[x] = (((x - y + 4096) / period) % 3 == 0) ? stripe.shade(2) : sky.shade(-4);
        } else if (y < ht * 4 / 5) {
            for (int x = 0; x < w; ++x) {
                const int off = std::abs(2 * x - (w - 1));
                row[x] = off < (y - ht / 2) * 5 ? stripe.shade(off / 40 - 6) : sky.shade(-6);
            }
        } else {
            for (int x = 0; x < w; ++x)
                row[x] = ((x / 32 + y / 16) % 2) ? floor.shade(0) : floor.shade(-8);
        }
    }
    for (int y = ht - 30; y < ht - 14; ++y)
        for (int x = 40; x < 220; ++x)
            p.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) =
                (Hash(h, static_cast<std::uint64_t>(y) * 1000 + static_cast<std::uint64_t>(x)) % 3) ? Word(31, 31, 31)
                                                                                                    : Word(1, 1, 1);
}

void PaintSimple(ArtPicture& p, std::uint32_t h)
{
    for (std::uint32_t y = 0; y < p.height; ++y)
        for (std::uint32_t x = 0; x < p.width; ++x)
            p.at(x, y) = ((x / 4 + y / 4) % 2) ? Word(static_cast<int>(h % 32), 8, 8) : Word(4, 4, 20);
}

} // namespace

DemoArtSize DemoArtEntrySize(std::size_t e)
{
    switch (KindOf(e)) {
    case Kind::kUnknown:
        return {16, 16};
    case Kind::kLogo:
        return e == 1 ? DemoArtSize{400, 120} : DemoArtSize{160, 60};
    case Kind::kCar:
        if (e >= 400 && e <= 410)
            return {74, 190};
        if (e >= 411)
            return {58, 150};
        return kCarFrames[(e - 10) % 30];
    case Kind::kCarSide:
        return {200, 46};
    case Kind::kBanner:
        return {86, 20};
    case Kind::kSpare:
        return {64, 32};
    case Kind::kPortrait:
        return {128, 128};
    case Kind::kHelmet:
        return kHelmets[(e - 489) % 6];
    case Kind::kTeamLogo:
        return {115, 56};
    case Kind::kTrack:
        return e < 630 ? DemoArtSize{498, 359} : DemoArtSize{800, 600};
    case Kind::kWeather:
        return {96, 72};
    case Kind::kBackground:
        return {800, 600};
    }
    return {};
}

bool DemoArtEntryExpanded(std::size_t e)
{
    return (e >= 1 && e <= 9) || (e >= 489 && e <= 494) || (e >= 694 && e <= 700) || e == 566 || e == 755;
}

ArtPicture DemoArtPicture(std::size_t entry, std::uint64_t seed)
{
    ArtPicture p;
    DrawDemoArtPicture(entry, seed, p);
    return p;
}

void DrawDemoArtPicture(std::size_t entry, std::uint64_t seed, ArtPicture& p)
{
    const DemoArtSize size = DemoArtEntrySize(entry);
    p.width = size.width;
    p.height = size.height;
    // Every painter sets every pixel; only the size changes.
    p.words.resize(static_cast<std::size_t>(size.width) * size.height);
    // Pictures of one team share their colours.
    std::uint32_t h = Hash(seed, entry);
    switch (KindOf(entry)) {
    case Kind::kCar:
    case Kind::kCarSide:
        PaintBody(p, entry <= 399 ? Hash(seed, 10000 + (entry - 10) / 30) : h);
        break;
    case Kind::kPortrait:
        PaintPortrait(p, h);
        break;
    case Kind::kHelmet:
        PaintHelmet(p, h);
        break;
    case Kind::kLogo:
    case Kind::kBanner:
    case Kind::kTeamLogo:
        PaintLettering(p, h);
        break;
    case Kind::kTrack:
        // The four views of a track show the same circuit.
        PaintTrack(p, Hash(seed, 20000 + (entry - 566) / 4), static_cast<int>((entry - 566) % 4));
        break;
    case Kind::kWeather:
        PaintWeather(p, h);
        break;
    case Kind::kBackground:
        PaintBackground(p, h);
        break;
    default:
        PaintSimple(p, h);
    }
}

} // namespace pitwall::demo
