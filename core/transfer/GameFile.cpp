#include "transfer/GameFile.h"

#include "base/FileUtils.h"
#include "base/SafeWrite.h"

#include <algorithm>

namespace pitwall {

namespace {
// Far beyond any GP3.EXE or F1GSTATE.SAV; a larger file is not one of them.
constexpr std::uint64_t kMaxGameFileSize = 64ull * 1024 * 1024;
} // namespace

GameFile::GameFile(std::string path) : path_(std::move(path))
{
    if (!FileExists(path_))
        throw GameFileError("Cannot open " + path_ + ": " + WhyNotAFile(path_));
    try {
        original_ = ReadWholeFile(path_, kMaxGameFileSize);
    } catch (const std::exception& e) {
        throw GameFileError(e.what());
    }
    bytes_ = original_;
}

void GameFile::require(std::uint64_t offset, std::uint64_t count, const char* what) const
{
    const std::uint64_t size = bytes_.size();
    if (offset > size || count > size - offset)
        throw GameFileError(std::string("Cannot ") + what + " " + std::to_string(count) + " bytes at offset "
                            + std::to_string(offset) + " of " + path_ + " (" + std::to_string(size) + " bytes)");
}

void GameFile::read(std::uint64_t offset, std::span<std::uint8_t> out) const
{
    require(offset, out.size(), "read");
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

std::vector<std::uint8_t> GameFile::read(std::uint64_t offset, std::size_t count) const
{
    require(offset, count, "read");
    auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(count));
}

void GameFile::write(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    require(offset, bytes.size(), "write");
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    if (!bytes.empty())
        writes_.push_back({item_, offset, bytes.size()});
}

std::uint8_t GameFile::readU8(std::uint64_t offset) const
{
    std::uint8_t b[1];
    read(offset, b);
    return b[0];
}

std::uint16_t GameFile::readU16(std::uint64_t offset) const
{
    std::uint8_t b[2];
    read(offset, b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t GameFile::readU32(std::uint64_t offset) const
{
    std::uint8_t b[4];
    read(offset, b);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
        | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void GameFile::writeU8(std::uint64_t offset, std::uint8_t value)
{
    std::uint8_t b[1] = {value};
    write(offset, b);
}

void GameFile::writeU16(std::uint64_t offset, std::uint16_t value)
{
    std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    write(offset, b);
}

void GameFile::writeU32(std::uint64_t offset, std::uint32_t value)
{
    std::uint8_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    write(offset, b);
}

void GameFile::close()
{
    if (!changed())
        return;
    ReplaceFileSafely(path_, bytes_);
    original_ = bytes_;
    writes_.clear();
}

} // namespace pitwall
