#pragma once
// The progress lines and messages of the track transfers.

#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kTrackFileProgress = 358;     // "Track file %d"
inline constexpr int kTrackInfoProgress = 226;     // "Track information"
inline constexpr int kTrackSectionsProgress = 709; // "Track pictures and sections %d"
inline constexpr int kTrackJamsProgress = 666;
inline constexpr int kTrackFilesWarning = 215;    // OK/Cancel before track files are replaced
inline constexpr int kMissingTrackFileText = 667; // path, slot
inline constexpr int kSectionsTooLongText = 764;
inline constexpr int kLabelsTooLongText = 765; // slot

// The loading window's line for an item: the UI text, formatted with the
// slot (shown from 1) unless `slot` is negative. Following writes belong to
// the item.
void TrackProgress(TransferContext& context, int text, int slot, int item);

} // namespace pitwall
