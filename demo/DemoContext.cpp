#include "DemoContext.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <bit>
#include <stdexcept>

namespace pitwall::demo {

namespace {

void Put(std::vector<std::uint8_t>& image, std::uint32_t offset, std::uint64_t value, int width, const char* what)
{
    if (static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(width) > image.size())
        throw std::logic_error(std::string("demo generator writes beyond the end of ") + what);
    for (int i = 0; i < width; ++i)
        image[offset + static_cast<std::uint32_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

void DemoContext::putExe(std::uint32_t offset, std::uint64_t value, int width)
{
    Put(exe, offset, value, width, "GP3.EXE");
}

void DemoContext::putSave(std::uint32_t offset, std::uint64_t value, int width)
{
    Put(savegame, offset, value, width, "F1GSTATE.SAV");
}

void DemoContext::putExeBytes(std::uint32_t offset, const std::vector<std::uint8_t>& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        putExe(offset + static_cast<std::uint32_t>(i), bytes[i], 1);
}

void DemoContext::putExeDouble(std::uint32_t offset, double value)
{
    putExe(offset, std::bit_cast<std::uint64_t>(value), 8);
}

void DemoContext::putSaveText(std::uint32_t offset, std::string_view text, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        putSave(offset + static_cast<std::uint32_t>(i), i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0, 1);
}

void DemoContext::writeFile(std::string_view gameRelative, const std::vector<std::uint8_t>& bytes) const
{
    std::string path = ResolveGamePath(directory, gameRelative);
    ForceDirectories(DirectoryOf(path));
    WriteWholeFile(path, bytes);
}

} // namespace pitwall::demo
