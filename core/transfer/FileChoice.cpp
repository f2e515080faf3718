#include "transfer/FileChoice.h"

#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/FileUtils.h"
#include "base/UITexts.h"

#include <algorithm>

namespace pitwall {

std::vector<FileFilter> FileFilters(const UITexts& texts, const std::vector<int>& numbers)
{
    std::vector<FileFilter> filters;
    for (int n : numbers)
        filters.push_back({texts.text(n), texts.text(n + 1)});
    return filters;
}

std::string RememberedDirectory(std::string_view iniPath, std::string_view key, std::string_view gameDirectory)
{
    IniFile ini;
    ini.load(iniPath);
    return ini.readString(kPathsSection, key, gameDirectory);
}

void RememberDirectory(std::string_view iniPath, std::string_view key, std::string_view chosenFile)
{
    IniFile ini;
    ini.load(iniPath);
    ini.writeString(kPathsSection, key, DirectoryOf(chosenFile));
    try {
        ini.save(iniPath);
    } catch (const std::exception&) {
        // Remembering a directory is a convenience; a read-only settings file
        // must not stop the open or save itself.
    }
}

namespace {

// The extensions of a pattern such as "*.BMP;*.JPG", without wildcards.
std::vector<std::string> PatternExtensions(std::string_view pattern)
{
    std::vector<std::string> extensions;
    while (!pattern.empty()) {
        const std::size_t end = std::min(pattern.find(';'), pattern.size());
        std::string extension = ExtensionOf(pattern.substr(0, end));
        if (extension.size() > 1 && extension.find_first_of("*?") == std::string::npos)
            extensions.push_back(extension);
        pattern.remove_prefix(std::min(end + 1, pattern.size()));
    }
    return extensions;
}

} // namespace

std::string SavedFileName(std::string_view chosenName, const std::vector<std::string>& patterns,
                          std::size_t chosenFilter)
{
    const std::string have = ExtensionOf(chosenName);
    for (const std::string& pattern : patterns)
        for (const std::string& extension : PatternExtensions(pattern))
            if (EqualsIgnoreAsciiCase(have, extension))
                return std::string(chosenName);
    if (chosenFilter >= patterns.size())
        return std::string(chosenName);
    const std::vector<std::string> wanted = PatternExtensions(patterns[chosenFilter]);
    return wanted.empty() ? std::string(chosenName) : std::string(chosenName) + wanted.front();
}

} // namespace pitwall
