#pragma once
// Reading part of a large game file (the art bank, a track file) without
// reading all of it.

#include <cstdint>
#include <string_view>
#include <vector>

namespace pitwall {

// Up to `count` bytes from `offset`; fewer (possibly none) when the file ends
// earlier. Throws std::runtime_error when the file cannot be opened.
std::vector<std::uint8_t> ReadFileRange(std::string_view file, std::uint64_t offset, std::uint64_t count);

} // namespace pitwall
