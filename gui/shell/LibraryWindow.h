#pragma once
// The carset library: the carsets the user keeps in the library folder,
// each with small pictures of what it carries, its name, author, version
// and items in words; Add, Remove, Apply (the carset loaded and exported
// through the confirmed export, the apply kept in the installation's
// history) and Undo (that apply's bytes put back alone, or with the later
// runs that wrote over them when the user agrees). Further pages: the
// history of this installation, and the conflicts between chosen carsets.

#include "graphics/CarsetThumbnails.h"
#include "transfer/CarsetLibrary.h"
#include "transfer/LibraryHistory.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTabWidget;
class QTreeWidget;

namespace pitwall::gui {

class AppContext;

class LibraryWindow : public QDialog {
    Q_OBJECT
public:
    explicit LibraryWindow(AppContext& app, QWidget* parent = nullptr);

    void applyLanguage();
    // Reads the folder, the history and the pictures again.
    void refresh();

    const std::string& directory() const { return library_.directory(); }
    const std::vector<LibraryCarset>& carsets() const { return carsets_; }
    const std::vector<AppliedCarset>& history() const { return history_; }
    QTreeWidget* list() const { return list_; }
    QTreeWidget* historyList() const { return historyList_; }
    QTreeWidget* conflictList() const { return conflictList_; }
    QTabWidget* pages() const { return pages_; }
    // The pictures shown in the carset's row.
    const std::vector<CarsetThumbnail>& thumbnailsOf(std::size_t row) const { return thumbnails_.at(row); }

    // The carset files Add takes; the program's open dialog (several files)
    // unless replaced.
    std::function<std::vector<std::string>()> chooseCarsetFiles;

    void addCarsets();
    void removeChosen();
    void applyChosen();
    void undoChosen();
    // Fills the conflicts page for the carsets chosen in the list.
    void showConflicts();

private:
    int chosenRow() const;
    void fillList();
    void fillHistory();
    LibraryHistory historyStore() const;

    AppContext& app_;
    CarsetLibrary library_;
    ThumbnailCache thumbnailCache_;
    std::vector<LibraryCarset> carsets_;
    std::vector<std::vector<CarsetThumbnail>> thumbnails_;
    std::vector<AppliedCarset> history_;
    QTabWidget* pages_;
    QTreeWidget* list_;
    QTreeWidget* historyList_;
    QTreeWidget* conflictList_;
    QLabel* conflictHint_;
};

// Opens the library window of the main window (one at a time).
void ShowLibraryWindow(AppContext& app, QWidget* parent);

} // namespace pitwall::gui
