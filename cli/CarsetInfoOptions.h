#pragma once
// The carset information (INFO.DAT) on the command line: import's --name,
// --author, --date, --description, --version-text and --show-info fill it as
// the information window's OK does, and carset info shows it field by field.
// The window has no field of its own for a name: the name is the first line
// of its free text, the description the lines after it.

#include "transfer/CarsetInfo.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace pitwall::cli {

struct CarsetInfoOptions {
    std::string name, author, date, description, versionText;
    bool showInfo = false;
    // The options themselves, to tell which were given.
    CLI::Option *nameOption = nullptr, *authorOption = nullptr, *dateOption = nullptr,
                *descriptionOption = nullptr, *versionOption = nullptr, *showOption = nullptr;
};

void AddCarsetInfoOptions(CLI::App& command, CarsetInfoOptions& options);

// When any of the options was given: the information as the window's OK
// makes it of its fields, a field not given keeping the window's own default
// (version "v1.0", the rest empty, not shown on loading). Nothing when none
// was given: the information stays as it is, as when nobody opens the
// window. CommandFailure for a text that INFO.DAT cannot hold as the window
// would write it.
std::optional<CarsetInfo> CarsetInfoFromOptions(const CarsetInfoOptions& options);

// The information as carset info shows it (Windows-1252, as stored); each
// field is what its line holds, empty when the information is too short.
struct ShownCarsetInfo {
    std::string version, author, date;
    bool showOnLoad = false;
    std::string name;
    std::vector<std::string> description;
};
ShownCarsetInfo ShowCarsetInfo(const CarsetInfo& info);

} // namespace pitwall::cli
