#pragma once
// The art-bank expansion of ArtBankExpansion.h for a bank held in memory (the
// bank of an export, which the run writes to the game with its other files):
// the new directory is laid out first, then the entries to enlarge are
// decoded and encoded again on every core straight into their places in the
// new bank. The result is byte for byte the bank ExpandArtBank writes.

#include "formats/ArtBankDirectory.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace pitwall {

// Returns the expanded bank and sets `result` to its directory. `bankName`
// names the bank in messages. Throws FormatError (UI text 1146 or 1147) for a
// bank that cannot be expanded, as ExpandArtBank does, and (1146) for one
// that would grow beyond kMaxArtBankBytes. `keepAlive`, when
// given, is called now and then on the calling thread. workers 0: one per
// core.
std::vector<std::uint8_t> ExpandArtBankBytes(std::span<const std::uint8_t> bank, std::string_view bankName,
                                             const std::vector<bool>& flags, ArtDirectory& result,
                                             const std::function<void()>& keepAlive = {}, unsigned workers = 0);

} // namespace pitwall
