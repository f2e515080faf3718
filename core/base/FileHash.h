#pragma once
// SHA-256 of files and byte strings, as lower-case hex: how a restore point
// recognises the files it holds.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include <nettle/sha2.h>

namespace pitwall {

std::string Sha256Hex(std::span<const std::uint8_t> bytes);

// The hash of bytes that come in pieces.
class Sha256Hasher {
public:
    Sha256Hasher();
    void add(std::span<const std::uint8_t> bytes);
    // Lower-case hex of everything added.
    std::string hex();

private:
    sha256_ctx context_;
};

// Throws std::runtime_error naming the file when it cannot be read.
// `afterEachPiece`, when given, is called after each megabyte read (the
// desktop keeps its windows painted there).
std::string Sha256OfFile(std::string_view file, const std::function<void()>& afterEachPiece = {});

} // namespace pitwall
