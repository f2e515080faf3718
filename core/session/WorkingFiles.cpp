#include "session/WorkingFiles.h"

#include "formats/SoundBankFiles.h"
#include "menu/MenuArt.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackTable.h"

namespace pitwall {

std::vector<std::string> SoundWorkingFiles(const std::string& workDirectory)
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < kMaxSounds; ++i)
        files.push_back(workDirectory + SoundWorkFileName(i));
    return files;
}

std::vector<std::string> MenuPictureWorkingFiles(const std::string& workDirectory)
{
    std::vector<std::string> files;
    for (int n = 1; n <= kLoadingPictureCount; ++n) // numbered from 1, as the game's files
        files.push_back(workDirectory + LoadingPictureName(n));
    for (int n = 0; n < kMenuBackgroundCount; ++n)
        files.push_back(workDirectory + MenuReplacementName(n));
    return files;
}

std::vector<std::string> TrackPictureWorkingFiles(const std::string& workDirectory)
{
    std::vector<std::string> files;
    for (int slot = 0; slot < kTrackCount; ++slot)
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view)
                files.push_back(workDirectory + TrackPictureMember(slot, kind, view));
    return files;
}

} // namespace pitwall
