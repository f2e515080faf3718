#pragma once
// SHA-256 of files and byte strings, as lower-case hex: how a restore point
// recognises the files it holds.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pitwall {

std::string Sha256Hex(std::span<const std::uint8_t> bytes);
// Throws std::runtime_error naming the file when it cannot be read.
std::string Sha256OfFile(std::string_view file);

} // namespace pitwall
