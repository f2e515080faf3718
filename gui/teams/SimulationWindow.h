#pragma once
// TForm2 "Simulation": how the teams and drivers of the working set would
// line up in qualifying and in the race, as names with lap times or gaps.
// One window for the whole run, started by the teams editor.

#include "teams/RaceSimulation.h"

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace pitwall::gui {

class AppContext;

class SimulationWindow : public QWidget {
    Q_OBJECT
public:
    enum class Ranking { Qualifying, Race };

    explicit SimulationWindow(AppContext& app, QWidget* parent = nullptr);

    // The program's simulation window, made on first use beside the main window.
    static SimulationWindow* instanceFor(AppContext& app);

    // "Neu simulieren" of either group (and the editor's simulation buttons).
    void simulateQualifying();
    void simulateRace();
    void applyLanguage();

    // Shown lines of a group, best first.
    const std::vector<std::string>& lines(Ranking ranking) const;

private:
    struct Group {
        QGroupBox* box = nullptr;
        std::vector<QLabel*> names;
        std::vector<QLabel*> values;
        QRadioButton* firstPart = nullptr;
        QRadioButton* secondPart = nullptr;
        std::vector<std::string> lines;
    };

    void buildGroup(Group& group, Ranking ranking, int rows);
    void simulate(Ranking ranking);
    void rebuildLastRanking();
    void showRanking(Ranking ranking);
    Group& group(Ranking ranking) { return ranking == Ranking::Qualifying ? qualifying_ : race_; }

    AppContext& app_;
    RandomBelow random_;
    Group qualifying_;
    Group race_;
    QRadioButton* absolute_;
    QRadioButton* relative_;
    QRadioButton* driverNames_;
    QRadioButton* teamNames_;
    QCheckBox* consistency_;
    SimulationResult lastResult_{};
    std::optional<Ranking> lastRanking_;
};

} // namespace pitwall::gui
