#pragma once
// Small pictures of what a carset carries, for the carset library: each
// team's car livery, the helmet sheet and each team's art, decoded from the
// carset's own members (an 8-bit livery through the game palette, a 16-bit
// one as it is, the team art from its BMP) and shrunk to a fixed width.
// They are kept as PNG files in the user's cache folder, one folder per
// carset (by the hash of its file), so the library shows them again without
// opening the carset. A member that is missing, damaged or too large gives
// no picture; nothing here throws for a bad carset.

#include "app/ProgramDirectories.h"
#include "formats/Image.h"
#include "formats/Palette.h"

#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kThumbnailWidth = 96;

enum class ThumbnailKind { Livery, Helmets, TeamArt };

struct CarsetThumbnail {
    ThumbnailKind kind = ThumbnailKind::Livery;
    int item = 0;       // the selection item the picture shows
    int team = 0;       // team slot (0 for the helmets)
    std::string member; // the carset member it was made from
    Image picture;      // kThumbnailWidth wide, 24-bit
};

// $XDG_CACHE_HOME/pitwall/Thumbnails/, else ~/.cache/pitwall/Thumbnails/
// (on Windows %LOCALAPPDATA%\pitwall\Thumbnails\); empty when the
// environment names none of them.
std::string DefaultThumbnailCache(const EnvironmentLookup& environment = SystemEnvironment);

// Decodes the pictures from the carset file: liveries in team order (the
// software JAM, else the hardware one), the first helmet sheet, then the
// team art. An unreadable carset gives none.
std::vector<CarsetThumbnail> MakeCarsetThumbnails(const std::string& carsetFile, const Palette& palette);

class ThumbnailCache {
public:
    // `root` as DefaultThumbnailCache gives it; an empty root caches nothing.
    explicit ThumbnailCache(std::string root) : root_(std::move(root)) {}

    // The carset's folder in the cache: <root>/<sha256>/.
    std::string folderOf(const std::string& sha256) const;
    // The pictures of the carset whose file hashes to `sha256`: read from
    // the cache when it holds them for this palette, else made from the
    // file and written to the cache (a cache that cannot be written only
    // means they are made again next time).
    std::vector<CarsetThumbnail> thumbnails(const std::string& carsetFile, const std::string& sha256,
                                            const Palette& palette) const;
    // Whether the last call to thumbnails() read the cache.
    bool lastFromCache() const { return lastFromCache_; }

private:
    std::string root_;
    mutable bool lastFromCache_ = false;
};

} // namespace pitwall
