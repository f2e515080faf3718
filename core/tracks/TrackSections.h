#pragma once
// The labels of the track-map pictures as GP3.EXE keeps them: one stream
// that starts with a word the game skips, then for each slot 0..15 and view
// 0..3 a group of entries, groups separated by the word 0xFFFF. An entry is
// X1 Y1 X2 Y2 (u16), the label with its zero byte (at most 30 bytes) and
// the gear and speed bytes. Every slot occupies a fixed number of bytes;
// a view whose labels became shorter is padded with 0xFF bytes before its
// separator, so the slots after it stay where the game looks for them.

#include "tracks/TrackTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr std::array<std::size_t, kTrackCount> kSectionsSlotBytes = {
    1380, 1444, 1560, 1256, 1136, 1156, 720, 1236, 1496, 1224, 1307, 1020, 1624, 1416, 1248, 1862};
// The word before the first group.
inline constexpr std::size_t kSectionsLead = 2;

// Where slot `slot`'s bytes start, counted from the stream start.
std::size_t SectionsSlotOffset(int slot);

struct SectionsRead {
    std::array<TrackSecInfo, kTrackCount> bySlot{};
    // Slots whose bytes could not be read as four groups (damaged stream):
    // they keep what was read up to the damage.
    std::vector<int> damaged;
    // The stream is shorter than the sixteen slots need: reading stopped.
    bool overran = false;
};

// `stream` is the game's stream area from its start to its end. The fill a
// shortened view left before its separator is counted into the view's
// budget, so that writing it back gives the slot its fixed size again.
SectionsRead ReadTrackSections(std::span<const std::uint8_t> stream);

// The game's track-map screen: section corners lie within X 0..800 and
// Y 0..600. An X1 beyond it could read as the stream's group separator.
inline constexpr std::uint16_t kSectionsMaxX = 800, kSectionsMaxY = 600;
// The first section of the record with a corner off the screen ("view 2,
// section 5"), or nothing.
std::optional<std::string> FirstSectionOffScreen(const TrackSecInfo& sections);

// The label characters a view writes (each label at most 29).
std::size_t LabelLength(const TrackView& view);
// The slot's bytes in the stream, exactly kSectionsSlotBytes[slot] long.
// Nothing when a view's labels exceed its budget, or the entries would not
// fit the slot's fixed size.
std::optional<std::vector<std::uint8_t>> SlotSectionsBytes(const TrackSecInfo& sections, int slot);

} // namespace pitwall
