#include "base/FileHash.h"

#include "base/FileUtils.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace pitwall {

namespace {

std::string Hex(const std::uint8_t* digest, std::size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    return text;
}

} // namespace

Sha256Hasher::Sha256Hasher() { sha256_init(&context_); }

void Sha256Hasher::add(std::span<const std::uint8_t> bytes) { sha256_update(&context_, bytes.size(), bytes.data()); }

std::string Sha256Hasher::hex()
{
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context_, SHA256_DIGEST_SIZE, digest);
    return Hex(digest, sizeof digest);
}

std::string Sha256Hex(std::span<const std::uint8_t> bytes)
{
    Sha256Hasher hash;
    hash.add(bytes);
    return hash.hex();
}

std::string Sha256OfFile(std::string_view file, const std::function<void()>& afterEachPiece)
{
    std::ifstream in = OpenFileForReading(file);
    Sha256Hasher hash;
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got > 0)
            hash.add(std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(got)));
        if (afterEachPiece)
            afterEachPiece();
    }
    if (in.bad())
        throw std::runtime_error("Cannot read file " + std::string(file));
    return hash.hex();
}

} // namespace pitwall
