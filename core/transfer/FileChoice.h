#pragma once
// The rules behind the program's open and save dialogs: filters made of UI
// text pairs (a description, then a pattern with its extension), the
// directory each dialog purpose remembers in PITWALL.INI, section "Pathes",
// and the extension a saved name gets from the chosen filter.

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class UITexts;

struct FileFilter {
    std::string description; // UI text n
    std::string pattern;     // UI text n + 1, e.g. "*.gms"
};

std::vector<FileFilter> FileFilters(const UITexts& texts, const std::vector<int>& numbers);

// The directory remembered under `key`, or the game directory.
std::string RememberedDirectory(std::string_view iniPath, std::string_view key, std::string_view gameDirectory);
// Remembers the directory of the chosen file under `key`.
void RememberDirectory(std::string_view iniPath, std::string_view key, std::string_view chosenFile);

// The name as saved. A name that already ends in an extension one of the
// dialog's filters offers keeps it, whichever filter was chosen (the caller
// then writes the format of that extension); any other name gets the first
// extension of the chosen filter's pattern ("*.BMP;*.JPG") appended.
// Extensions are compared without regard to case.
std::string SavedFileName(std::string_view chosenName, const std::vector<std::string>& patterns,
                          std::size_t chosenFilter);

} // namespace pitwall
