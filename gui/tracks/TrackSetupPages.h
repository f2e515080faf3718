#pragma once
// The tracks editor's pages about the car on the track: the computer cars'
// setup and the bumps of the track.

#include "TrackPage.h"

#include <array>

class QGroupBox;
class QLabel;
class QScrollBar;
class QSpinBox;
class QTreeWidget;

namespace pitwall::gui {

// "Computer-Wagen Setup": wings and gears of the computer cars.
class TrackSetupPage : public TrackPage {
    Q_OBJECT
public:
    TrackSetupPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

private:
    std::array<QScrollBar*, 8> setup_{};
    std::array<QLabel*, 8> setupValues_{};
};

// "Bodenwellen": the list of bumps and the one being edited.
class TrackBumpsPage : public TrackPage {
    Q_OBJECT
public:
    TrackBumpsPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

private:
    int shownBump_ = -1; // bump the edit fields show
    QTreeWidget* bumps_;
    QGroupBox* bumpEdit_;
    QSpinBox* bumpIndex_;
    QSpinBox* bumpPosition_;
    QSpinBox* bumpStrength_;
};

} // namespace pitwall::gui
