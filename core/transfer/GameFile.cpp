#include "transfer/GameFile.h"

#include "transfer/FileUtils.h"

namespace pitwall {

GameFile::GameFile(std::string path) : path_(std::move(path))
{
    if (!FileExists(path_))
        throw GameFileError("Cannot open " + path_ + ": the file does not exist");
    ClearReadOnly(path_);
    size_ = FileSizeOf(path_);
    file_.open(NativePath(path_), std::ios::binary | std::ios::in | std::ios::out);
    if (!file_)
        throw GameFileError("Cannot open " + path_ + " for reading and writing");
}

void GameFile::require(std::uint64_t offset, std::uint64_t count, const char* what) const
{
    if (!file_.is_open())
        throw GameFileError(path_ + " is closed");
    if (offset > size_ || count > size_ - offset)
        throw GameFileError(std::string("Cannot ") + what + " " + std::to_string(count) + " bytes at offset "
                            + std::to_string(offset) + " of " + path_ + " (" + std::to_string(size_) + " bytes)");
}

void GameFile::read(std::uint64_t offset, std::span<std::uint8_t> out)
{
    require(offset, out.size(), "read");
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file_) {
        file_.clear();
        throw GameFileError("Read error in " + path_);
    }
}

std::vector<std::uint8_t> GameFile::read(std::uint64_t offset, std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    read(offset, bytes);
    return bytes;
}

void GameFile::write(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    require(offset, bytes.size(), "write");
    file_.seekp(static_cast<std::streamoff>(offset));
    file_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file_) {
        file_.clear();
        throw GameFileError("Write error in " + path_);
    }
}

std::uint8_t GameFile::readU8(std::uint64_t offset)
{
    std::uint8_t b[1];
    read(offset, b);
    return b[0];
}

std::uint16_t GameFile::readU16(std::uint64_t offset)
{
    std::uint8_t b[2];
    read(offset, b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t GameFile::readU32(std::uint64_t offset)
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
    if (!file_.is_open())
        return;
    file_.flush();
    bool ok = static_cast<bool>(file_);
    file_.close();
    if (!ok)
        throw GameFileError("Write error in " + path_);
}

} // namespace pitwall
