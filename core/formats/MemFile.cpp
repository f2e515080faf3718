#include "formats/MemFile.h"

#include "base/FileUtils.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace pitwall {

void TMemFile::Read(std::span<std::uint8_t> destination, bool advance)
{
    std::uint64_t end = static_cast<std::uint64_t>(position_) + destination.size();
    if (end > buffer_.size())
        throw std::out_of_range("memory file: read of " + std::to_string(destination.size()) + " bytes at "
                                + std::to_string(position_) + " beyond its " + std::to_string(buffer_.size())
                                + " bytes");
    std::copy_n(buffer_.begin() + position_, destination.size(), destination.begin());
    if (advance)
        position_ = static_cast<std::uint32_t>(end);
}

void TMemFile::Write(std::span<const std::uint8_t> source, bool advance)
{
    std::uint64_t end = static_cast<std::uint64_t>(position_) + source.size();
    if (end > std::numeric_limits<std::uint32_t>::max())
        throw std::out_of_range("memory file: content beyond 4 GiB");
    if (end > buffer_.size())
        buffer_.resize(static_cast<std::size_t>(end), 0);
    std::copy(source.begin(), source.end(), buffer_.begin() + position_);
    if (advance) {
        position_ = static_cast<std::uint32_t>(end);
        length_ = std::max(length_, position_);
    }
}

std::span<std::uint8_t> TMemFile::Content() { return std::span<std::uint8_t>(buffer_).first(length_); }

std::span<const std::uint8_t> TMemFile::Content() const
{
    return std::span<const std::uint8_t>(buffer_).first(length_);
}

void TMemFile::WriteToFile(const std::string& fileName, std::uint64_t offset, std::uint32_t count) const
{
    if (count > buffer_.size())
        throw std::out_of_range("memory file: " + std::to_string(count) + " bytes asked, "
                                + std::to_string(buffer_.size()) + " held");
    // The file is rewritten as a whole, so a failed write leaves it as it was.
    std::vector<std::uint8_t> content;
    if (FileExists(fileName))
        content = ReadWholeFile(fileName);
    if (offset > UINT64_MAX - count)
        throw std::out_of_range("memory file: write position beyond any file");
    if (content.size() < offset + count)
        content.resize(static_cast<std::size_t>(offset + count), 0); // a gap past the end reads as zero bytes
    std::copy_n(buffer_.begin(), count, content.begin() + static_cast<std::ptrdiff_t>(offset));
    WriteWholeFile(fileName, content);
}

void TMemFile::SaveToFile(const std::string& fileName) const
{
    auto content = Content();
    WriteWholeFile(fileName, std::vector<std::uint8_t>(content.begin(), content.end()));
}

} // namespace pitwall
