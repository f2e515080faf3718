#include "TrackRacePages.h"

#include "AppContext.h"
#include "LanguageTable.h"
#include "TracksEditorWidgets.h"
#include "formats/TrackFile.h"
#include "teams/RaceSimulation.h"
#include "tracks/TrackDates.h"
#include "tracks/TrackEditing.h"
#include "tracks/TracksArea.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace pitwall::gui {

using namespace tracks;

namespace {

constexpr int kRecordLabelsText = 1051, kPracticeDaysText = 1056;
constexpr int kStrategyGroupText = 1059, kShareText = 1060, kStopLapText = 1061, kStopWindowText = 1062;

constexpr TextBinding kRecordsTexts[] = {
    {"GroupBox2", TextRole::Caption, 363},
    {"GroupBox3", TextRole::Caption, 364},
};

constexpr TextBinding kTrackDataTexts[] = {
    {"Button7", TextRole::Caption, 331},  {"Button8", TextRole::Caption, 332},  {"Label10", TextRole::Caption, 369},
    {"Label11", TextRole::Caption, 370},  {"Label12", TextRole::Caption, 371},  {"Label13", TextRole::Caption, 372},
    {"Label14", TextRole::Caption, 1052}, {"Label15", TextRole::Caption, 1053}, {"Label16", TextRole::Caption, 1054},
    {"Label17", TextRole::Caption, 1055}, {"Label20", TextRole::Caption, 1057}, {"Label21", TextRole::Caption, 1058},
};

constexpr TextBinding kPitStopTexts[] = {
    {"BitBtn22", TextRole::Caption, 333},
    {"BitBtn23", TextRole::Caption, 334},
    {"BitBtn24", TextRole::Caption, 335},
    {"Button9", TextRole::Caption, 336},
};

// Lap times are shown as minutes.seconds.thousandths ("1.33.200").
QString LapTimeText(std::uint32_t ms) { return QString::fromStdString(FormatLapTime(static_cast<std::int32_t>(ms))); }

// Minutes are not limited to one digit: a carset may hold a lap of ten
// minutes or more. Seconds go to 59.
const QRegularExpression& LapTimePattern()
{
    static const QRegularExpression pattern("^\\s*(\\d{1,5})\\.([0-5]?\\d)\\.(\\d{1,3})\\s*$");
    return pattern;
}

std::optional<std::uint32_t> LapTimeOf(const QString& text)
{
    auto match = LapTimePattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    // The last group is a fraction of the second: "1.33.2" is 1:33.200.
    const std::uint64_t ms = match.captured(1).toULongLong() * 60000 + match.captured(2).toULongLong() * 1000
        + match.captured(3).leftJustified(3, '0').toULongLong();
    if (ms > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(ms);
}

QDate DateOf(std::uint32_t serial)
{
    CalendarDate d = DateOfSerial(serial);
    return QDate(d.year, d.month, d.day);
}

} // namespace

TrackRecordsPage::TrackRecordsPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QVBoxLayout(this);
    const char* titles[2] = {"Qualifying:", "Rennen:"};
    for (int r = 0; r < 2; ++r) {
        auto* box = new QGroupBox(titles[r], this);
        box->setObjectName(QString("GroupBox%1").arg(r + 2));
        auto* grid = new QGridLayout(box);
        LapRecordControls& c = records_[static_cast<std::size_t>(r)];
        c.driver = Edit(box, QString("Edit%1").arg(1 + 4 * r), 24);
        c.driver->setMinimumWidth(220); // 24 characters
        c.team = Edit(box, QString("Edit%1").arg(2 + 4 * r), 13);
        c.time = Edit(box, QString("MaskEdit%1").arg(1 + r), 12);
        c.time->setValidator(new QRegularExpressionValidator(LapTimePattern(), c.time));
        c.time->installEventFilter(this);
        c.date = new QDateEdit(box);
        c.date->setObjectName(QString("DateTimePicker%1").arg(1 + r));
        c.date->setCalendarPopup(true);
        c.date->setDisplayFormat("dd.MM.yyyy");
        // Every date a record can hold from day 0 on; the savegame itself
        // keeps 1978 to 2157 and holds other dates at the nearest end.
        c.date->setDateRange(DateOf(0), QDate(9999, 12, 31));
        const char* labels[4] = {"Fahrer:", "Team:", "Rekord:", "Datum:"};
        QWidget* fields[4] = {c.driver, c.team, c.time, c.date};
        for (int i = 0; i < 4; ++i) {
            grid->addWidget(Label(box, QString("Label%1").arg(22 + 4 * r + i), labels[i]), i, 0);
            grid->addWidget(fields[i], i, 1);
        }
        grid->setColumnStretch(2, 1);
        layout->addWidget(box);
    }
    layout->addStretch();
}

// A time typed only in part ("1.19") is no time: the field shows the
// record's again rather than a value that was not taken.
void TrackRecordsPage::showStoredTimeIfNoTime(int record)
{
    LapRecordControls& c = records_[static_cast<std::size_t>(record)];
    if (context_.shown < 0 || LapTimeOf(c.time->text()))
        return;
    const LapRecord& r = record == 0 ? context_.info().qualifying : context_.info().race;
    c.time->setText(LapTimeText(r.lapTime));
    c.shownTime = c.time->text();
}

bool TrackRecordsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        for (int r = 0; r < 2; ++r)
            if (watched == records_[static_cast<std::size_t>(r)].time)
                showStoredTimeIfNoTime(r);
    return TrackPage::eventFilter(watched, event);
}

void TrackRecordsPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kRecordsTexts, texts);
    const QStringList labels = TextLinesOf(texts, kRecordLabelsText);
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 4; ++i)
            SetCaption(this, QString("Label%1").arg(22 + 4 * r + i), labels.value(i));
}

void TrackRecordsPage::showSlot()
{
    const LapRecord* r[2] = {&context_.info().qualifying, &context_.info().race};
    for (int i = 0; i < 2; ++i) {
        LapRecordControls& c = records_[static_cast<std::size_t>(i)];
        ShowText(c.driver, r[i]->driver);
        ShowText(c.team, r[i]->team);
        c.time->setText(LapTimeText(r[i]->lapTime));
        c.date->setDate(DateOf(r[i]->date));
        c.shownTime = c.time->text();
        c.shownDate = c.date->date();
    }
}

void TrackRecordsPage::storeSlot()
{
    LapRecord* r[2] = {&context_.info().qualifying, &context_.info().race};
    for (int i = 0; i < 2; ++i) {
        LapRecordControls& c = records_[static_cast<std::size_t>(i)];
        StoreText(c.driver, r[i]->driver);
        StoreText(c.team, r[i]->team, 13);
        if (c.time->text() != c.shownTime) {
            if (auto ms = LapTimeOf(c.time->text()))
                r[i]->lapTime = *ms;
            else if (!c.time->hasFocus()) // still being typed, else
                showStoredTimeIfNoTime(i);
        }
        if (c.date->date() != c.shownDate) {
            QDate d = c.date->date();
            r[i]->date = SerialOfDate({d.year(), d.month(), d.day()});
        }
        c.shownTime = c.time->text();
        c.shownDate = c.date->date();
    }
}

TrackDataPage::TrackDataPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grip_ = NumberField(this, "SpinEdit1", 0, 65535);
    laps_ = NumberField(this, "SpinEdit2", 0, 255);
    metres_ = NumberField(this, "SpinEdit3", 0, 65535);
    feet_ = NumberField(this, "SpinEdit4", 0, 65535);
    fuelPlayer_ = NumberField(this, "SpinEdit5", 0, 65535);
    fuelComputer_ = NumberField(this, "SpinEdit6", 0, 65535);
    year_ = NumberField(this, "SpinEdit7", 0, 65535);
    practiceDay_ = new QComboBox(this);
    practiceDay_->setObjectName("ComboBox1");
    practiceDay_->addItems({"Donnerstag", "Freitag"});
    const std::pair<const char*, QWidget*> rows[] = {{"Grip-Wert:", grip_},
                                                     {"Rundenanzahl:", laps_},
                                                     {"Länge (Meter):", metres_},
                                                     {"Länge (Fuss):", feet_},
                                                     {"Spritverbrauch (Spieler):", fuelPlayer_},
                                                     {"Spritverbrauch (Computer):", fuelComputer_},
                                                     {"Jahr:", year_},
                                                     {"Trainingstag:", practiceDay_}};
    int row = 0;
    for (const auto& [caption, control] : rows) {
        grid->addWidget(Label(this, QString("Label%1").arg(10 + row).toLatin1().constData(), caption), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }
    QPushButton* lengthFromLaps = Button(this, "Button7", "Länge anhand Rundenzahl berechnen");
    QPushButton* lapsFromLength = Button(this, "Button8", "Rundenzahl anhand Länge berechnen");
    grid->addWidget(lengthFromLaps, row++, 0, 1, 2);
    grid->addWidget(lapsFromLength, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    layout->addLayout(grid);

    auto* files = new QVBoxLayout;
    files->addWidget(Label(this, "Label20", "Streckendatei:"));
    trackFiles_ = new QListWidget(this);
    trackFiles_->setObjectName("ListBox3");
    files->addWidget(trackFiles_, 1);
    auto* explanation =
        Label(this, "Label21", "Nur Dateien aus CIRCUITS mit höchstens 10 Zeichen im Namen können gewählt werden.");
    explanation->setWordWrap(true);
    files->addWidget(explanation);
    layout->addLayout(files, 1);

    connect(lengthFromLaps, &QPushButton::clicked, this, &TrackDataPage::computeLengthFromLaps);
    connect(lapsFromLength, &QPushButton::clicked, this, &TrackDataPage::computeLapsFromLength);
}

void TrackDataPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kTrackDataTexts, texts);
    SetEntries(practiceDay_, TextLinesOf(texts, kPracticeDaysText));
}

void TrackDataPage::showSlot()
{
    const TrackInfo& i = context_.info();
    ShowSpin(grip_, i.grip);
    ShowSpin(laps_, i.laps);
    ShowSpin(metres_, i.metres);
    ShowSpin(feet_, i.feet);
    ShowSpin(fuelPlayer_, i.fuelPlayer);
    ShowSpin(fuelComputer_, i.fuelComputer);
    ShowSpin(year_, i.year);
    practiceDay_->setCurrentIndex(i.practiceDay == 1 ? 1 : 0);
    QSignalBlocker block(trackFiles_);
    trackFiles_->clear();
    // File names come as UTF-8, the slot's name as game text.
    for (const std::string& name : ListTrackFiles(context_.app.program.settings.gameDirectory))
        trackFiles_->addItem(QString::fromStdString(name));
    auto found = trackFiles_->findItems(FromUntrustedGameText(i.fileName.text()), Qt::MatchFixedString);
    if (!found.isEmpty())
        trackFiles_->setCurrentItem(found.front());
}

void TrackDataPage::storeSlot()
{
    TrackInfo& i = context_.info();
    StoreSpin(grip_, i.grip);
    StoreSpin(laps_, i.laps);
    StoreSpin(metres_, i.metres);
    StoreSpin(feet_, i.feet);
    StoreSpin(fuelPlayer_, i.fuelPlayer);
    StoreSpin(fuelComputer_, i.fuelComputer);
    StoreSpin(year_, i.year);
    // A carset's byte other than 0 and 1 shows as Thursday, as the game
    // reads it, and stays until the user picks a day.
    if ((practiceDay_->currentIndex() == 1) != (i.practiceDay == 1))
        i.practiceDay = static_cast<std::uint8_t>(practiceDay_->currentIndex() == 1 ? 1 : 0);
    // Only names the list offers (files of CIRCUITS, at most ten
    // characters) can become the slot's track file, and only one the user
    // picked: a list that shows none of them (a carset's track not yet in
    // CIRCUITS) gets a current but unselected first row when it takes the
    // focus.
    if (QListWidgetItem* item = trackFiles_->currentItem(); item && item->isSelected())
        // The list is found without regard to case (the game's file system
        // ignores it): a carset's "f1ct01.dat" stays as it is spelt.
        if (item->text().compare(FromUntrustedGameText(i.fileName.text()), Qt::CaseInsensitive) != 0)
            i.fileName = ToGameText(item->text()).substr(0, kMaxTrackFileNameLength);
}

int TrackDataPage::laps() const { return laps_->value(); }

void TrackDataPage::computeLengthFromLaps()
{
    if (auto metres = LengthFromLaps(laps_->value()))
        metres_->setValue(*metres);
}

void TrackDataPage::computeLapsFromLength()
{
    if (auto laps = LapsFromLength(metres_->value()))
        laps_->setValue(*laps);
}

TrackPitStopPage::TrackPitStopPage(TrackPageContext& context, const TrackDataPage& trackData, QWidget* parent)
    : TrackPage(context, parent), trackData_(trackData)
{
    auto* layout = new QVBoxLayout(this);
    const char* titles[3] = {"1-Stopp-Strategie", "2-Stopp-Strategie", "3-Stopp-Strategie"};
    int spin = 10;
    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(titles[g], this);
        box->setObjectName(QString("GroupBox%1").arg(10 + g));
        auto* grid = new QGridLayout(box);
        StrategyControls& c = strategies_[static_cast<std::size_t>(g)];
        c.percentage = NumberField(box, QString("SpinEdit%1").arg(spin++), 0, 100);
        grid->addWidget(Label(box, QString("Label%1").arg(120 + g), "Prozent der Fahrer mit dieser Strategie:"), 0, 0);
        grid->addWidget(c.percentage, 0, 1);
        for (int s = 0; s <= g; ++s) {
            c.lap[static_cast<std::size_t>(s)] = NumberField(box, QString("SpinEdit%1").arg(spin++), 0, 255);
            c.window[static_cast<std::size_t>(s)] = NumberField(box, QString("SpinEdit%1").arg(spin++), 0, 255);
            grid->addWidget(
                Label(box, QString("Label%1").arg(130 + 3 * g + s), QString("Stop Nr. %1 in Runde:").arg(s + 1)), s + 1,
                0);
            grid->addWidget(c.lap[static_cast<std::size_t>(s)], s + 1, 1);
            grid->addWidget(Label(box, QString("Label%1").arg(140 + 3 * g + s), "Spätestens"), s + 1, 2);
            grid->addWidget(c.window[static_cast<std::size_t>(s)], s + 1, 3);
            grid->addWidget(Label(box, QString("Label%1").arg(150 + 3 * g + s), "Runden danach."), s + 1, 4);
        }
        grid->setColumnStretch(5, 1);
        layout->addWidget(box);
    }
    auto* buttons = new QHBoxLayout;
    QPushButton* fewer = Button(this, "BitBtn22", "Weniger Stopps");
    QPushButton* more = Button(this, "BitBtn23", "Mehr Stopps");
    QPushButton* perfect = Button(this, "BitBtn24", "Stoppstrategie perfektionieren");
    QPushButton* recompute = Button(this, "Button9", "Rundenzahlen neu berechnen");
    for (QPushButton* b : {fewer, more, perfect, recompute})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    connect(fewer, &QPushButton::clicked, this, &TrackPitStopPage::fewerStops);
    connect(more, &QPushButton::clicked, this, &TrackPitStopPage::moreStops);
    connect(recompute, &QPushButton::clicked, this, &TrackPitStopPage::recomputeStrategyLaps);
    connect(perfect, &QPushButton::clicked, this, &TrackPitStopPage::perfectStrategy);
}

void TrackPitStopPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kPitStopTexts, texts);
    const QStringList window = TextLinesOf(texts, kStopWindowText);
    for (int g = 0; g < 3; ++g) {
        SetCaption(this, QString("GroupBox%1").arg(10 + g),
                   FromGameText(texts.format(kStrategyGroupText, Args(g + 1))));
        SetCaption(this, QString("Label%1").arg(120 + g), FromGameText(texts.text(kShareText)));
        for (int s = 0; s <= g; ++s) {
            SetCaption(this, QString("Label%1").arg(130 + 3 * g + s),
                       FromGameText(texts.format(kStopLapText, Args(s + 1))));
            SetCaption(this, QString("Label%1").arg(140 + 3 * g + s), window.value(0));
            SetCaption(this, QString("Label%1").arg(150 + 3 * g + s), window.value(1));
        }
    }
}

void TrackPitStopPage::showSlot()
{
    const TrackInfo& i = context_.info();
    for (int g = 0; g < 3; ++g) {
        StrategyControls& c = strategies_[static_cast<std::size_t>(g)];
        ShowSpin(c.percentage, i.strategies[static_cast<std::size_t>(8 * g)]);
        for (int s = 0; s <= g; ++s) {
            ShowSpin(c.lap[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 1)]);
            ShowSpin(c.window[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 2)]);
        }
    }
}

void TrackPitStopPage::storeSlot()
{
    TrackInfo& i = context_.info();
    for (int g = 0; g < 3; ++g) {
        StrategyControls& c = strategies_[static_cast<std::size_t>(g)];
        StoreSpin(c.percentage, i.strategies[static_cast<std::size_t>(8 * g)]);
        for (int s = 0; s <= g; ++s) {
            StoreSpin(c.lap[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 1)]);
            StoreSpin(c.window[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 2)]);
        }
    }
}

void TrackPitStopPage::recomputeStrategyLaps()
{
    storeSlot();
    RecomputeStrategyLaps(context_.info(), trackData_.laps());
    showSlot();
}

void TrackPitStopPage::fewerStops()
{
    storeSlot();
    FewerStops(context_.info(), trackData_.laps());
    showSlot();
}

void TrackPitStopPage::moreStops()
{
    storeSlot();
    MoreStops(context_.info(), trackData_.laps());
    showSlot();
}

void TrackPitStopPage::perfectStrategy()
{
    storeSlot();
    PerfectStrategy(context_.info(), trackData_.laps());
    showSlot();
}

} // namespace pitwall::gui
