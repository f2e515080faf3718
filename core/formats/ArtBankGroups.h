#pragma once
// Which art-bank entries belong together: the groups the expansion offers
// (game logo, team art, track pictures, weather, menu backgrounds) and the
// entries a racing team's art, a track's pictures and a menu background use.

#include <cstddef>
#include <vector>

namespace pitwall {

struct ArtEntryRange {
    std::size_t first;
    std::size_t last; // inclusive
};

inline constexpr ArtEntryRange kGameLogoEntries{1, 9};
inline constexpr ArtEntryRange kTeamArtEntries{10, 565};
inline constexpr ArtEntryRange kTrackPictureEntries{566, 693};
inline constexpr ArtEntryRange kWeatherEntries{694, 754};
inline constexpr ArtEntryRange kMenuBackgroundEntries{755, 839};
inline constexpr std::size_t kMenuBackgrounds = 85;

// The 45 entries of racing team t (0..10), in sheet order.
std::vector<std::size_t> TeamArtEntryList(int team);
// The eight pictures of track slot k (0..15): small pictures 566 + 4k + view,
// then full-screen pictures 630 + 4k + view.
std::vector<std::size_t> TrackPictureEntryList(int track);
// Track picture of a kind (0 small, 1 full screen) and view (0..3).
std::size_t TrackPictureEntry(int track, int kind, int view);
std::size_t MenuBackgroundEntry(int background);

} // namespace pitwall
