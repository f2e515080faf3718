#pragma once
// The scrambling of 8-bit JAM files. The file is taken as consecutive 32-bit
// little-endian words; word i is XORed with k_i, where k_0 = 0x5A3C9E17 and
// k_(i+1) = 5 * k_i modulo 2^32. Bytes after the last whole word stay as they
// are. Scrambling and unscrambling are the same operation.

#include <cstdint>
#include <span>
#include <string>

namespace pitwall {

inline constexpr std::uint32_t kJamScrambleKey = 0x5A3C9E17;

// The key stream over data that arrives in pieces (the loader reads files in
// 2048-byte blocks): the key runs on from one piece to the next. Every piece
// but the last must be a whole number of words.
class JamKeyStream {
public:
    void apply(std::span<std::uint8_t> bytes);

private:
    std::uint32_t key_ = kJamScrambleKey;
};

void ScrambleBytes(std::span<std::uint8_t> bytes);

// Writes the target as the source's whole words XORed with the key stream
// (the unscrambled .JAD copy of a JAM); a trailing part-word of the source is
// not written. Throws std::runtime_error when a file cannot be read or
// written.
void ScrambleFile(const std::string& source, const std::string& target);

} // namespace pitwall
