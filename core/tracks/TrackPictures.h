#pragma once
// The pictures of the track maps in the art bank: for each slot a small
// picture (498 x 359) and a full-screen picture (800 x 600), each in four
// views, at entry 566 + 64 x kind + 4 x slot + view. In the working
// directory and in a carset a replaced picture is TrackReplace<slot><kind>
// <view>.BMP.

#include "formats/ArtBankGroups.h"
#include "formats/ArtPicture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kTrackPictureKinds = 2; // 0 small, 1 full-screen
inline constexpr int kSmallPictureWidth = 498, kSmallPictureHeight = 359;
inline constexpr int kFullPictureWidth = 800, kFullPictureHeight = 600;

// The picture's entry: TrackPictureEntry (formats/ArtBankGroups.h).
std::string TrackPictureMember(int slot, int kind, int view);
bool TrackPictureSizeFits(int kind, int width, int height);

// The entries the export of slot `slot`'s pictures writes: one per replaced
// picture waiting in the working directory (with trailing separator).
std::vector<std::size_t> ReplacedTrackPictureEntries(const std::string& workingDirectory, int slot);
// Of those of the slots, the entries whose picture differs from the one the bank
// `bankFile` holds: only these does an export change (a picture saved
// from the game, a carset of it, is the game's already). A picture that
// cannot be read or compared counts as changed.
std::vector<std::size_t> ChangedTrackPictureEntries(const std::string& workingDirectory, const std::string& bankFile,
                                                    const std::vector<int>& slots);

// The picture of an entry from the bank's bytes; nothing with the reason
// when the directory or the entry is damaged.
std::optional<ArtPicture> ArtPictureFromBank(const std::vector<std::uint8_t>& bank, std::size_t entry,
                                             std::string* reason);
// Encodes the picture into the entry's reserved bytes of `bank` in place.
// False with the reason (and `bank` unchanged) when the picture has not the
// entry's size, or its data does not fit the entry or the bank.
bool PutArtPictureIntoBank(std::vector<std::uint8_t>& bank, std::size_t entry, const ArtPicture& picture,
                           std::string* reason);
// The same in two steps, so pictures can be encoded away from the bank (on
// several cores): the picture's bytes for its entry, then those bytes put
// into the entry of a picture `width` x `height`.
std::vector<std::uint8_t> EncodeForTrackEntry(std::size_t entry, const ArtPicture& picture);
// Whether PutEncodedPictureIntoBank would take the bytes (else the reason),
// so that all pictures of a slot can be checked before the first is put.
bool EncodedPictureFitsBank(const std::vector<std::uint8_t>& bank, std::size_t entry, std::uint32_t width,
                            std::uint32_t height, const std::vector<std::uint8_t>& encoded, std::string* reason);
bool PutEncodedPictureIntoBank(std::vector<std::uint8_t>& bank, std::size_t entry, std::uint32_t width,
                               std::uint32_t height, const std::vector<std::uint8_t>& encoded, std::string* reason);

} // namespace pitwall
