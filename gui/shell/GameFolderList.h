#pragma once
// The list of game folders in the options: each folder with the game version
// found in it, the one in use selected. Picking an entry makes it the game
// folder; "Add folder..." adds one chosen in a folder dialog, "Remove" takes
// the selected one off the list (the folder itself is left alone).

#include <QWidget>
#include <functional>
#include <string>

class QListWidget;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

// "<folder>   (<game version>)", in the language loaded.
QString GameFolderEntry(const UITexts& texts, const std::string& directory);

class AppContext;

class GameFolderList : public QWidget {
    Q_OBJECT
public:
    explicit GameFolderList(AppContext& app, QWidget* parent = nullptr);

    // Lists the settings' folders again, in the language loaded.
    void refresh();
    // Adds the folder when it holds GP3.EXE and selects it; otherwise says
    // that it does not. Returns whether it was added or already listed.
    bool addFolder(const std::string& directory);
    // Called with the folder the user picked (trailing separator).
    std::function<void(const std::string&)> picked;

private:
    void browse();
    void removeSelected();

    AppContext& app_;
    QListWidget* list_;
};

} // namespace pitwall::gui
