#include "transfer/FileChoice.h"

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/UITexts.h"
#include "transfer/FileUtils.h"

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

std::string WithFilterExtension(std::string_view chosenName, std::string_view pattern)
{
    std::string extension = ExtensionOf(pattern);
    if (extension.empty() || extension.find('*') != std::string::npos)
        return std::string(chosenName);
    if (EqualsIgnoreAsciiCase(ExtensionOf(chosenName), extension))
        return std::string(chosenName);
    return std::string(chosenName) + extension;
}

} // namespace pitwall
