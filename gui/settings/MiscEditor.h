#pragma once
// TForm18 "Verschiedenes": the six setting areas on six pages (points,
// driving aids, damage, display distances, assorted settings, on-board
// cameras), each page with its own import, export and defaults.

#include "EditorWindow.h"

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QCheckBox;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace pitwall {
struct GameSettings;
}

namespace pitwall::gui {

class CarOutline;
struct MiscEditorState;

class MiscEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit MiscEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;
    // The page, and on the cameras page the camera chosen.
    QString recordOf(const QWidget* control) const override;

    enum Page { kPointsPage, kAidsPage, kDamagePage, kDisplayPage, kMiscPage, kCamerasPage, kPageCount };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPointsPage();
    QWidget* buildAidsPage();
    QWidget* buildDamagePage();
    QWidget* buildDisplayPage();
    QWidget* buildMiscPage();
    QWidget* buildCamerasPage();
    QGroupBox* buildTransferGroup(Page page, QWidget* parent);

    GameSettings& settings();
    MiscEditorState& state();

    // Every page from the records, the enabled states and the status bar.
    void showAll();
    void showPage(Page page);
    void storePage(Page page);
    void showCamera(int camera);
    void storeCamera(int camera);
    void updateEnabled();
    void performanceChange();
    void cameraClick(int row);
    void allAidsClick(int level);
    void importClick(Page page);
    void exportClick(Page page);
    void standardClick(Page page);

    QTabWidget* pages_;
    QStatusBar* statusBar_;
    std::array<QSpinBox*, 22> points_{};
    std::array<std::array<QToolButton*, 8>, 5> aids_{};
    std::array<QSpinBox*, 22> parts_{};
    QSpinBox* wallBounce_;
    QSpinBox* wallRobustness_;
    QSpinBox* carRobustness_;
    QSpinBox* carBounce_;
    CarOutline* outline_;
    std::array<QSpinBox*, 4> distances_{};
    QSpinBox* quickRaceLaps_;
    QComboBox* performance_;
    QSpinBox* playerQualifying_;
    QSpinBox* playerRace_;
    QSpinBox* weight_;
    int weightShown_ = 0; // what the weight field showed, to see whether the user changed it
    QCheckBox* keepRecords_;
    QCheckBox* showFuel_;
    QSpinBox* pitSpeed_;
    QListWidget* cameraList_;
    std::array<QSpinBox*, 10> cameraWords_{};
    int cameraShown_ = 0; // the camera the fields show
};

} // namespace pitwall::gui
