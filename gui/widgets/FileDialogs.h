#pragma once
// The program's open and save dialogs: filters from UI text pairs, the
// directory each purpose remembers in PITWALL.INI, and the extension of the
// chosen filter on save.

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace pitwall::gui {

class AppContext;

struct FileRequest {
    std::string key;          // "Pathes" key of the purpose
    std::string defaultName;  // e.g. "Carset.GMS"
    std::vector<int> filters; // first UI text of each (description, pattern) pair
    int filterIndex = 1;      // 1-based
};

// One entry of a dialog's filter list: the description without any pattern
// it already shows in parentheses, then the patterns ("a;b" as "a b").
QString DialogFilterEntry(QString description, const QString& pattern);

// The chosen full name (UTF-8), or nothing when cancelled.
std::optional<std::string> ChooseFileToOpen(AppContext& app, QWidget* parent, const FileRequest& request);
std::optional<std::string> ChooseFileToSave(AppContext& app, QWidget* parent, const FileRequest& request);

} // namespace pitwall::gui
