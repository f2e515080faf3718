#pragma once
// The sixteen track slots of the season as the working set holds them: for
// each slot its track information (lap records, the parameters the game
// keeps in GP3.EXE, the track texts of every language, bumps) and its track
// sections (the labels of the track-map pictures, four views). The byte
// images of both records are the carset members TrackInfo<i>.DAT and
// TrackSecInfo<i>.DAT (TrackImages.h).

#include "teams/FixedText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kTrackCount = 16;
inline constexpr int kTrackLanguageCount = 8;
// The seven texts of a track: city, country 1..5, attribute.
inline constexpr int kTrackTextKinds = 7;
inline constexpr int kTrackTextWidth = 30;
inline constexpr int kTrackFileNameWidth = 20;
inline constexpr int kStrategyWords = 24;
inline constexpr int kSetupValues = 8;
inline constexpr int kMaxBumps = 50;
inline constexpr int kTrackViews = 4;
inline constexpr int kMaxSections = 30;
inline constexpr int kSectionLabelWidth = 30;

// Track texts by kind.
enum TrackTextKind { kTrackCity = 0, kTrackCountry1 = 1, kTrackAttribute = 6 };

struct LapRecord {
    FixedText<24> driver;
    FixedText<14> team;
    std::array<std::uint8_t, 2> unused{};
    std::uint32_t lapTime = 0; // milliseconds
    std::uint32_t date = 0;    // Windows date serial (day 0 = 30 December 1899)

    friend bool operator==(const LapRecord&, const LapRecord&) = default;
};

struct Bump {
    std::uint16_t position = 0;
    std::uint16_t strength = 0;

    friend bool operator==(const Bump&, const Bump&) = default;
};

struct TrackInfo {
    LapRecord qualifying;
    LapRecord race;
    // The savegame byte after the two lap records; carried unchanged.
    std::uint8_t savegameByte = 0;
    std::uint8_t laps = 0;
    // [kind][language]: at most 29 characters and a zero.
    std::array<std::array<FixedText<kTrackTextWidth>, kTrackLanguageCount>, kTrackTextKinds> texts{};
    // The file name in CIRCUITS, upper case, at most 10 characters used.
    FixedText<kTrackFileNameWidth> fileName;
    std::uint16_t grip = 0;
    // Three groups of eight words: 1-, 2- and 3-stop strategies.
    std::array<std::uint16_t, kStrategyWords> strategies{};
    std::uint16_t metres = 0;
    std::uint16_t feet = 0;
    // Front wing, rear wing, gears 1..6.
    std::array<std::uint8_t, kSetupValues> setup{};
    std::uint16_t fuelPlayer = 0;
    std::uint16_t fuelComputer = 0;
    std::uint16_t year = 0;
    // 0 Thursday, 1 Friday.
    std::uint8_t practiceDay = 0;
    std::uint8_t unused1867 = 0;
    std::array<Bump, kMaxBumps> bumps{};
    // Number of bumps minus one (0xFF: no bumps).
    std::uint8_t bumpCountMinusOne = 0;

    // The bumps the record holds: none for 0xFF, never more than 50.
    int bumpCount() const { return bumpCountMinusOne == 0xFF ? 0 : std::min(bumpCountMinusOne + 1, kMaxBumps); }
    // False for a record that never held a game's bump table: the blank
    // record (one bump at 0 of strength 0, which no track needs), as a carset
    // of the older format leaves it when the slot was not imported first.
    // Such a record's bumps are not written: they would wipe the game's.
    bool holdsBumpTable() const { return bumpCountMinusOne != 0 || bumps[0] != Bump{}; }

    friend bool operator==(const TrackInfo&, const TrackInfo&) = default;
};

struct TrackSection {
    FixedText<kSectionLabelWidth> label;
    std::uint8_t gear = 0;
    std::uint8_t speed = 0; // mph
    std::uint16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    friend bool operator==(const TrackSection&, const TrackSection&) = default;
};

struct TrackView {
    // Label characters the view held when it was read from the game: what
    // its part of the game's stream has room for.
    std::uint16_t budget = 0;
    std::uint8_t count = 0;
    std::uint8_t unused = 0;
    std::array<TrackSection, kMaxSections> sections{};

    friend bool operator==(const TrackView&, const TrackView&) = default;
};

struct TrackSecInfo {
    std::array<TrackView, kTrackViews> views{};

    friend bool operator==(const TrackSecInfo&, const TrackSecInfo&) = default;
};

struct TrackTable {
    std::array<TrackInfo, kTrackCount> info{};
    std::array<TrackSecInfo, kTrackCount> sections{};
    // A track file taken from a carset (member Track<i>.DAT), to be copied
    // into CIRCUITS on export; empty when the slot's file is the game's own.
    std::array<std::optional<std::vector<std::uint8_t>>, kTrackCount> trackFiles{};
    // JAM textures taken from a carset, by game path ("GP3JAMS\X.JAM"), to
    // be written into the game on export.
    std::map<std::string, std::vector<std::uint8_t>> carsetJams;
};

// Windows date serials of the lap records.
inline constexpr std::uint32_t kSavegameDateBase = 28491; // 1 January 1978

} // namespace pitwall
