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

// The name as saved: the pattern's extension is appended unless the name
// already ends in it (compared without regard to case).
std::string WithFilterExtension(std::string_view chosenName, std::string_view pattern);

} // namespace pitwall
