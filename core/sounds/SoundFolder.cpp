#include "sounds/SoundFolder.h"

#include "base/FileUtils.h"
#include "transfer/ReportedFormats.h"

#include <map>

namespace pitwall {

std::string SoundWavName(std::size_t index) { return "Sound" + std::to_string(index) + ".WAV"; }

namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

std::vector<std::string> ExtractAllSounds(const SoundTable& table, const std::string& workDirectory,
                                          const std::string& folder)
{
    const std::string from = IncludeTrailingBackslash(workDirectory);
    const std::string to = IncludeTrailingBackslash(folder);
    std::vector<std::string> failed;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        const std::string file = from + SoundWorkFileName(i);
        if (!FileExists(file) || !CopyFileForced(file, to + SoundWavName(i)))
            failed.push_back(file);
    }
    return failed;
}

std::vector<std::size_t> ReplaceAllSounds(SoundTable& table, const std::string& folder,
                                          const std::string& workDirectory, Messenger* messenger,
                                          std::vector<ConvertedSound>* converted)
{
    const std::string dir = IncludeTrailingBackslash(folder);
    // The folder's files by their name in capitals; of several names that
    // differ only in case the first by name wins.
    std::map<std::string, std::string> byName;
    for (const std::string& name : ListFiles(dir, "*", false, false))
        byName.emplace(Upper(FileNameOf(name)), FileNameOf(name));
    std::vector<std::size_t> replaced;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        auto found = byName.find(Upper(SoundWavName(i)));
        if (found == byName.end())
            continue;
        const std::string file = dir + found->second;
        auto taken = TakeInSoundFile(table, i, file, workDirectory, messenger);
        if (!taken)
            continue;
        replaced.push_back(i);
        if (converted && taken->converted())
            converted->push_back({file, *taken});
    }
    return replaced;
}

} // namespace pitwall
