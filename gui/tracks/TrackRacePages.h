#pragma once
// The tracks editor's pages about the race at a track: the lap records, the
// track data and the pit stop strategies of the computer cars.

#include "TrackPage.h"

#include <QDate>
#include <QString>

#include <array>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace pitwall::gui {

// "Rekorde": the qualifying and race lap records.
class TrackRecordsPage : public TrackPage {
    Q_OBJECT
public:
    TrackRecordsPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LapRecordControls {
        QLineEdit* driver = nullptr;
        QLineEdit* team = nullptr;
        QLineEdit* time = nullptr;
        QDateEdit* date = nullptr;
        // What the fields showed: only a field the user changed is stored,
        // so a value the field cannot show is not replaced by what it shows.
        QString shownTime;
        QDate shownDate;
    };
    std::array<LapRecordControls, 2> records_{};
    // A time typed only in part shows the record's time again once the
    // user has left the field.
    void showStoredTimeIfNoTime(int record);
};

// "Streckendaten": grip, laps, length, fuel, year, practice day and the
// track file.
class TrackDataPage : public TrackPage {
    Q_OBJECT
public:
    TrackDataPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

    int laps() const;
    void computeLengthFromLaps();
    void computeLapsFromLength();

private:
    QSpinBox* grip_;
    QSpinBox* laps_;
    QSpinBox* metres_;
    QSpinBox* feet_;
    QSpinBox* fuelPlayer_;
    QSpinBox* fuelComputer_;
    QSpinBox* year_;
    QComboBox* practiceDay_;
    QListWidget* trackFiles_;
};

// "Boxenstopp-Daten": the one-, two- and three-stop strategies, reckoned
// with the laps the track data page shows.
class TrackPitStopPage : public TrackPage {
    Q_OBJECT
public:
    TrackPitStopPage(TrackPageContext& context, const TrackDataPage& trackData, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

    void recomputeStrategyLaps();
    void fewerStops();
    void moreStops();
    void perfectStrategy();

private:
    struct StrategyControls {
        QSpinBox* percentage = nullptr;
        std::array<QSpinBox*, 3> lap{};
        std::array<QSpinBox*, 3> window{};
    };
    const TrackDataPage& trackData_;
    std::array<StrategyControls, 3> strategies_{};
};

} // namespace pitwall::gui
