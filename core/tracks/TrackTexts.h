#pragma once
// The track names of every game language: the seven texts of each slot
// (city, country 1..5, attribute) live in the game's text lists at text
// number base[kind][language] + slot. A language's list counts only while
// its item is loaded.

#include "texts/GameTexts.h"
#include "tracks/TrackTable.h"
#include "transfer/TransferState.h"

namespace pitwall {

// Copies the texts of the loaded languages into the slots marked in `slots`
// (each cut to 29 characters). Texts a list does not hold stay as they are.
void TakeTrackTexts(TrackTable& table, const GameTexts& texts, const TransferState& transfer,
                    const std::array<bool, kTrackCount>& slots);
// Puts the texts of the slots marked in `slots` into the lists of the loaded
// languages and returns those languages. A list too short for a text number
// is left alone.
std::vector<int> PutTrackTexts(const TrackTable& table, GameTexts& texts, const TransferState& transfer,
                               const std::array<bool, kTrackCount>& slots);

} // namespace pitwall
