#pragma once
// TForm12 "Teams und Fahrer": the teams and drivers of the working set, one
// team at a time, with the pit lane, team and driver exchange, quick settings
// over all teams or drivers, equalising, .PER files and the simulation.

#include "EditorStates.h"
#include "EditorWindow.h"
#include "teams/QuickSettings.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;

namespace pitwall {
struct TeamTable;
}

namespace pitwall::gui {

class SwapListWidget;

class TeamsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit TeamsEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;
    // The team shown, or for a driver's controls (and its exchange) the
    // driver; none for the team list, quick settings and the misc page,
    // which change many records.
    QString recordOf(const QWidget* control) const override;

private:
    struct DriverControls {
        QLineEdit* name = nullptr;
        QSpinBox* qp = nullptr;
        QSpinBox* rp = nullptr;
        QSpinBox* qa = nullptr;
        QSpinBox* ra = nullptr;
        QSpinBox* carNumber = nullptr;
        QCheckBox* selected = nullptr;
    };
    // One "Schnelleinstellung" group: the field choice and the step of each row.
    struct QuickGroup {
        QGroupBox* box = nullptr;
        std::vector<QRadioButton*> fields;
        std::array<QSpinBox*, kQuickRowCount> steps{};
        int field = 0; // the field whose steps the rows show
    };

    QWidget* buildLeftColumn();
    QWidget* buildTeamPage();
    QWidget* buildDriverPage();
    QWidget* buildMiscPage();
    QGroupBox* buildDriverGroup(int driver, QWidget* parent);
    QGroupBox* buildQuickGroup(QuickGroup& group, bool teams, QWidget* parent);

    TeamTable& table();
    TeamsEditorState& state();

    // The whole window from the working set (after creation, import, load).
    void showAll();
    void showTeam(int slot);
    void storeTeam();
    void fillTeamList();
    void fillExchangeLists();
    void fillPitList();

    void showListedTeam(int row);
    void teamsDragged(int draggedRow, int targetRow);
    void swapWithTeam(int chosen);
    void driverExchange(int driver, int chosen);
    void pitSwap(int positionA, int positionB);
    void pitStep(int offset);
    void reversePitOrder();
    void selectQuickField(QuickGroup& group, bool teams, int field);
    void quickClick(bool teams, QuickRow row, int sign);
    void equaliseClick(Equalisation equalisation);
    void importTeams();
    void exportTeams();
    void loadStandardTeams();
    void loadTeamsFile();
    void saveTeamsFile();
    void simulateClick(bool race);

    int shown_ = -1; // team slot the controls show
    SwapListWidget* teamList_;
    QCheckBox* dragTeams_;
    QTabWidget* pages_;
    QStatusBar* statusBar_;

    QLineEdit* teamName_;
    QLineEdit* engineName_;
    QSpinBox* tqp_;
    QSpinBox* trp_;
    QSpinBox* failure_;
    QLineEdit* failureRate_;
    QRadioButton* goodyear_;
    QRadioButton* bridgestone_;
    SwapListWidget* pitList_;
    QComboBox* teamExchange_;
    QuickGroup teamQuick_;

    std::array<DriverControls, 2> drivers_;
    std::array<QComboBox*, 2> driverExchange_{};
    QuickGroup driverQuick_;
};

} // namespace pitwall::gui
