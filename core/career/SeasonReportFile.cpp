#include "career/SeasonReportFile.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "formats/GameInstallation.h"

namespace pitwall {

std::optional<SeasonReportRead> ReadSeasonReport(const std::string& gameDirectory, std::uint32_t laps,
                                                 Messenger& messenger)
{
    std::string file = GameFilePath(gameDirectory, kSeasonReportGamePath);
    if (!FileExists(file)) {
        messenger.show(349, Args(file));
        return std::nullopt;
    }
    try {
        if (FileSizeOf(file) > kMaxSeasonReportBytes) {
            messenger.showFixed(file + " is larger than any season report; it was not read");
            return std::nullopt;
        }
        auto bytes = ReadWholeFile(file, kMaxSeasonReportBytes);
        return ParseSeasonReport(std::string(bytes.begin(), bytes.end()), laps);
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return std::nullopt;
    }
}

} // namespace pitwall
