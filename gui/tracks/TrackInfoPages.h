#pragma once
// The tracks editor's pages about the track file and the names: the JAMs
// the track file needs, its GP3INFO block, and the texts of every language.

#include "TrackPage.h"
#include "formats/TrackFile.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace pitwall::gui {

// "Streckeninformation": the JAMs the track file names, and the checks
// that the game has them.
class TrackJamsPage : public TrackPage {
    Q_OBJECT
public:
    TrackJamsPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void applyLanguage(const UITexts& texts) override;

    void checkJams(bool hardware);

private:
    QListWidget* jams_;
    QLabel* jamCount_;
    QPushButton* checkSoftware_;
    QPushButton* checkHardware_;
};

// "GP3INFO": the block in the track file, whose values can be taken into
// the slot.
class TrackGp3InfoPage : public TrackPage {
    Q_OBJECT
public:
    TrackGp3InfoPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void applyLanguage(const UITexts& texts) override;

    void takeFromGp3Info(int field);

private:
    QTreeWidget* gp3Info_;
    QCheckBox* gp3InfoFound_;
    TrackInfoBlock gp3Block_;
};

// "Texte": city, countries and attribute in one language at a time.
class TrackTextsPage : public TrackPage {
    Q_OBJECT
public:
    TrackTextsPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

    void useTextForAllTracks(int kind);

private:
    std::array<QPushButton*, 8> flags_{};
    std::array<QLineEdit*, 7> texts_{};
};

} // namespace pitwall::gui
