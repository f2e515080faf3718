#pragma once
// TForm25 "Karriere": season results collected from the game's season
// report. Seasons the user adds, 16 Grand Prix each with three kinds of
// result; the shown result as a list of driver, team and time, and as CSV.

#include "EditorWindow.h"

class QButtonGroup;
class QListWidget;
class QStatusBar;
class QTreeWidget;

namespace pitwall {
struct SeasonResult;
}

namespace pitwall::gui {

class CareerWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit CareerWindow(AppContext& app, QWidget* parent = nullptr);
    // Works on the game's files themselves, loaded data or not.
    bool needsLoadedData() const override { return false; }

    void setUp() override;
    void applyLanguage() override;
    bool storesData() const override { return false; }
    bool restoresData() const override { return false; }

    // Reads the game's season report into the chosen result.
    void importSeasonReport();
    void addSeason();
    void exportCsv();

private:
    SeasonResult* shownResult();
    void fillSeasons();
    void showResult();

    QListWidget* seasons_;
    QListWidget* grandsPrix_;
    QTreeWidget* results_;
    QButtonGroup* kinds_;
    QStatusBar* statusBar_;
};

} // namespace pitwall::gui
