#include "transfer/AreaFiles.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"
#include "transfer/CarsetHeader.h"

#include <filesystem>

namespace pitwall {

std::optional<std::vector<std::uint8_t>> ReadGameBytes(TransferContext& context, const std::string& gameRelative,
                                                       std::uint64_t maxBytes)
{
    const std::string path = GameFilePath(context.program.settings.gameDirectory, gameRelative);
    std::error_code error;
    if (!std::filesystem::is_regular_file(NativePath(path), error)) {
        context.fail(349, Args(path));
        return std::nullopt;
    }
    try {
        return ReadWholeFile(path, maxBytes);
    } catch (const std::exception& e) {
        context.fail(e.what());
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> ByteSource::read(const AreaFile& file, std::uint64_t maxBytes) const
{
    if (fromCarset())
        return context_.loadMember(file.member, maxBytes);
    return ReadGameBytes(context_, file.gamePath, maxBytes);
}

void ByteSink::write(const AreaFile& file, std::vector<std::uint8_t> bytes) const
{
    if (toCarset())
        context_.saveMember(file.member, std::move(bytes));
    else
        context_.replaceGameFile(file.gamePath, std::move(bytes));
}

void ByteSink::leaveOut(int item) const
{
    if (toCarset() && context_.headerWrite)
        context_.headerWrite->items.at(static_cast<std::size_t>(item)) = 0;
}

} // namespace pitwall
