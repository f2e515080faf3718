// The tracks editor's pages of numbers: lap records, track data, pit stop
// strategies, computer car setup and bumps.

#include "TracksEditor.h"

#include "AppContext.h"
#include "TracksEditorWidgets.h"
#include "formats/TrackFile.h"
#include "teams/RaceSimulation.h"
#include "tracks/TrackDates.h"
#include "tracks/TrackEditing.h"
#include "tracks/TracksArea.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace pitwall::gui {

using namespace tracks;

namespace {

constexpr int kSetupMaximum[kSetupValues] = {20, 20, 80, 80, 80, 80, 80, 80};
const char* const kSetupCaptions[kSetupValues] = {
    "Frontflügel:", "Heckflügel:", "1. Gang:", "2. Gang:", "3. Gang:", "4. Gang:", "5. Gang:", "6. Gang:"};

// Lap times are shown as minutes.seconds.thousandths ("1.33.200").
QString LapTimeText(std::uint32_t ms) { return QString::fromStdString(FormatLapTime(static_cast<std::int32_t>(ms))); }

// Minutes are not limited to one digit: a carset may hold a lap of ten
// minutes or more.
const QRegularExpression& LapTimePattern()
{
    static const QRegularExpression pattern("^\\s*(\\d{1,5})\\.(\\d{1,2})\\.(\\d{1,3})\\s*$");
    return pattern;
}

std::optional<std::uint32_t> LapTimeOf(const QString& text)
{
    auto match = LapTimePattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const std::uint64_t ms = match.captured(1).toULongLong() * 60000 + match.captured(2).toULongLong() * 1000
        + match.captured(3).toULongLong();
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

QWidget* TracksEditor::buildRecordsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    const char* titles[2] = {"Qualifying:", "Rennen:"};
    for (int r = 0; r < 2; ++r) {
        auto* box = new QGroupBox(titles[r], page);
        box->setObjectName(QString("GroupBox%1").arg(r + 2));
        auto* grid = new QGridLayout(box);
        LapRecordControls& c = records_[static_cast<std::size_t>(r)];
        c.driver = Edit(box, QString("Edit%1").arg(1 + 4 * r), 24);
        c.driver->setMinimumWidth(220); // 24 characters
        c.team = Edit(box, QString("Edit%1").arg(2 + 4 * r), 13);
        c.time = Edit(box, QString("MaskEdit%1").arg(1 + r), 12);
        c.time->setValidator(new QRegularExpressionValidator(LapTimePattern(), c.time));
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
    return page;
}

void TracksEditor::showRecords()
{
    const LapRecord* r[2] = {&info().qualifying, &info().race};
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

void TracksEditor::storeRecords()
{
    LapRecord* r[2] = {&info().qualifying, &info().race};
    for (int i = 0; i < 2; ++i) {
        LapRecordControls& c = records_[static_cast<std::size_t>(i)];
        StoreText(c.driver, r[i]->driver);
        StoreText(c.team, r[i]->team, 13);
        if (auto ms = LapTimeOf(c.time->text()); ms && c.time->text() != c.shownTime)
            r[i]->lapTime = *ms;
        if (c.date->date() != c.shownDate) {
            QDate d = c.date->date();
            r[i]->date = SerialOfDate({d.year(), d.month(), d.day()});
        }
        c.shownTime = c.time->text();
        c.shownDate = c.date->date();
    }
}

QWidget* TracksEditor::buildTrackDataPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* grid = new QGridLayout;
    grip_ = NumberField(page, "SpinEdit1", 0, 65535);
    laps_ = NumberField(page, "SpinEdit2", 0, 255);
    metres_ = NumberField(page, "SpinEdit3", 0, 65535);
    feet_ = NumberField(page, "SpinEdit4", 0, 65535);
    fuelPlayer_ = NumberField(page, "SpinEdit5", 0, 65535);
    fuelComputer_ = NumberField(page, "SpinEdit6", 0, 65535);
    year_ = NumberField(page, "SpinEdit7", 0, 65535);
    practiceDay_ = new QComboBox(page);
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
        grid->addWidget(Label(page, QString("Label%1").arg(10 + row).toLatin1().constData(), caption), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }
    QPushButton* lengthFromLaps = Button(page, "Button7", "Länge anhand Rundenzahl berechnen");
    QPushButton* lapsFromLength = Button(page, "Button8", "Rundenzahl anhand Länge berechnen");
    grid->addWidget(lengthFromLaps, row++, 0, 1, 2);
    grid->addWidget(lapsFromLength, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    layout->addLayout(grid);

    auto* files = new QVBoxLayout;
    files->addWidget(Label(page, "Label20", "Streckendatei:"));
    trackFiles_ = new QListWidget(page);
    trackFiles_->setObjectName("ListBox3");
    files->addWidget(trackFiles_, 1);
    auto* explanation =
        Label(page, "Label21", "Nur Dateien aus CIRCUITS mit höchstens 10 Zeichen im Namen können gewählt werden.");
    explanation->setWordWrap(true);
    files->addWidget(explanation);
    layout->addLayout(files, 1);

    connect(lengthFromLaps, &QPushButton::clicked, this, &TracksEditor::computeLengthFromLaps);
    connect(lapsFromLength, &QPushButton::clicked, this, &TracksEditor::computeLapsFromLength);
    return page;
}

void TracksEditor::showTrackData()
{
    const TrackInfo& i = info();
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
    for (const std::string& name : ListTrackFiles(app_.program.settings.gameDirectory))
        trackFiles_->addItem(FromUntrustedGameText(name));
    auto found = trackFiles_->findItems(FromUntrustedGameText(i.fileName.text()), Qt::MatchFixedString);
    if (!found.isEmpty())
        trackFiles_->setCurrentItem(found.front());
}

void TracksEditor::storeTrackData()
{
    TrackInfo& i = info();
    StoreSpin(grip_, i.grip);
    StoreSpin(laps_, i.laps);
    StoreSpin(metres_, i.metres);
    StoreSpin(feet_, i.feet);
    StoreSpin(fuelPlayer_, i.fuelPlayer);
    StoreSpin(fuelComputer_, i.fuelComputer);
    StoreSpin(year_, i.year);
    i.practiceDay = static_cast<std::uint8_t>(practiceDay_->currentIndex() == 1 ? 1 : 0);
    // Only names the list offers (files of CIRCUITS, at most ten
    // characters) can become the slot's track file.
    if (QListWidgetItem* item = trackFiles_->currentItem())
        if (item->text() != FromUntrustedGameText(i.fileName.text()))
            i.fileName = ToGameText(item->text()).substr(0, kMaxTrackFileNameLength);
}

void TracksEditor::computeLengthFromLaps()
{
    if (auto metres = LengthFromLaps(laps_->value()))
        metres_->setValue(*metres);
}

void TracksEditor::computeLapsFromLength()
{
    if (auto laps = LapsFromLength(metres_->value()))
        laps_->setValue(*laps);
}

QWidget* TracksEditor::buildPitStopPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    const char* titles[3] = {"1-Stopp-Strategie", "2-Stopp-Strategie", "3-Stopp-Strategie"};
    int spin = 10;
    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(titles[g], page);
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
    QPushButton* fewer = Button(page, "BitBtn22", "Weniger Stopps");
    QPushButton* more = Button(page, "BitBtn23", "Mehr Stopps");
    QPushButton* perfect = Button(page, "BitBtn24", "Stoppstrategie perfektionieren");
    QPushButton* recompute = Button(page, "Button9", "Rundenzahlen neu berechnen");
    for (QPushButton* b : {fewer, more, perfect, recompute})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    connect(fewer, &QPushButton::clicked, this, &TracksEditor::fewerStops);
    connect(more, &QPushButton::clicked, this, &TracksEditor::moreStops);
    connect(recompute, &QPushButton::clicked, this, &TracksEditor::recomputeStrategyLaps);
    connect(perfect, &QPushButton::clicked, this, &TracksEditor::perfectStrategy);
    return page;
}

void TracksEditor::showStrategies()
{
    const TrackInfo& i = info();
    for (int g = 0; g < 3; ++g) {
        StrategyControls& c = strategies_[static_cast<std::size_t>(g)];
        ShowSpin(c.percentage, i.strategies[static_cast<std::size_t>(8 * g)]);
        for (int s = 0; s <= g; ++s) {
            ShowSpin(c.lap[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 1)]);
            ShowSpin(c.window[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 2)]);
        }
    }
}

void TracksEditor::storeStrategies()
{
    TrackInfo& i = info();
    for (int g = 0; g < 3; ++g) {
        StrategyControls& c = strategies_[static_cast<std::size_t>(g)];
        StoreSpin(c.percentage, i.strategies[static_cast<std::size_t>(8 * g)]);
        for (int s = 0; s <= g; ++s) {
            StoreSpin(c.lap[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 1)]);
            StoreSpin(c.window[static_cast<std::size_t>(s)], i.strategies[static_cast<std::size_t>(8 * g + 2 * s + 2)]);
        }
    }
}

void TracksEditor::recomputeStrategyLaps()
{
    storeStrategies();
    RecomputeStrategyLaps(info(), laps_->value());
    showStrategies();
}

void TracksEditor::fewerStops()
{
    storeStrategies();
    FewerStops(info(), laps_->value());
    showStrategies();
}

void TracksEditor::moreStops()
{
    storeStrategies();
    MoreStops(info(), laps_->value());
    showStrategies();
}

void TracksEditor::perfectStrategy()
{
    storeStrategies();
    PerfectStrategy(info(), laps_->value());
    showStrategies();
}

QWidget* TracksEditor::buildSetupPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < kSetupValues; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, page);
        bar->setObjectName(QString("ScrollBar%1").arg(3 + i));
        bar->setRange(0, kSetupMaximum[i]);
        bar->setMinimumWidth(260);
        auto* value = Label(page, QString("Label%1").arg(110 + i).toLatin1().constData(), "0");
        value->setMinimumWidth(30);
        setup_[static_cast<std::size_t>(i)] = bar;
        setupValues_[static_cast<std::size_t>(i)] = value;
        grid->addWidget(Label(page, QString("Label%1").arg(100 + i).toLatin1().constData(), kSetupCaptions[i]), i, 0);
        grid->addWidget(bar, i, 1);
        grid->addWidget(value, i, 2);
        connect(bar, &QScrollBar::valueChanged, value, [value](int v) { value->setNum(v); });
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(kSetupValues, 1);
    return page;
}

void TracksEditor::showSetup()
{
    for (int i = 0; i < kSetupValues; ++i) {
        const int v = info().setup[static_cast<std::size_t>(i)];
        setup_[static_cast<std::size_t>(i)]->setValue(std::min(v, kSetupMaximum[i]));
        setupValues_[static_cast<std::size_t>(i)]->setNum(v);
    }
}

void TracksEditor::storeSetup()
{
    for (int i = 0; i < kSetupValues; ++i) {
        auto& v = info().setup[static_cast<std::size_t>(i)];
        if (setup_[static_cast<std::size_t>(i)]->value() != std::min<int>(v, kSetupMaximum[i]))
            v = static_cast<std::uint8_t>(setup_[static_cast<std::size_t>(i)]->value());
    }
}

QWidget* TracksEditor::buildBumpsPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* listBox = new QGroupBox("Liste alle Bodenwellen", page);
    listBox->setObjectName("GroupBox30");
    auto* listLayout = new QVBoxLayout(listBox);
    bumps_ = new QTreeWidget(listBox);
    bumps_->setObjectName("ListView1");
    bumps_->setHeaderLabels({"Index", "Position", "Stärke"});
    bumps_->setRootIsDecorated(false);
    listLayout->addWidget(bumps_);
    layout->addWidget(listBox, 1);

    auto* edit = new QGroupBox("Bodenwelle editieren", page);
    edit->setObjectName("GroupBox31");
    auto* grid = new QGridLayout(edit);
    bumpIndex_ = NumberField(edit, "SpinEdit40", 0, kMaxBumps - 1);
    bumpIndex_->setReadOnly(true);
    // Position 0xFFFF ends the game's table of bumps: it would cut off the
    // bump and every one after it.
    bumpPosition_ = NumberField(edit, "SpinEdit41", 0, 0xFFFE);
    bumpStrength_ = NumberField(edit, "SpinEdit42", 0, 65535);
    grid->addWidget(Label(edit, "Label160", "Index:"), 0, 0);
    grid->addWidget(bumpIndex_, 0, 1);
    grid->addWidget(Label(edit, "Label161", "Position:"), 1, 0);
    grid->addWidget(bumpPosition_, 1, 1);
    grid->addWidget(Label(edit, "Label162", "Stärke:"), 2, 0);
    grid->addWidget(bumpStrength_, 2, 1);
    grid->setRowStretch(3, 1);
    layout->addWidget(edit);

    connect(bumps_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (busy_ || !item)
            return;
        storeBump();
        shownBump_ = bumps_->indexOfTopLevelItem(item);
        const Bump& b = info().bumps[static_cast<std::size_t>(shownBump_)];
        bumpIndex_->setValue(shownBump_);
        bumpPosition_->setValue(b.position);
        bumpStrength_->setValue(b.strength);
    });
    return page;
}

void TracksEditor::showBumps()
{
    QSignalBlocker block(bumps_);
    bumps_->clear();
    shownBump_ = -1;
    const int count = info().bumpCount();
    for (int b = 0; b < count; ++b) {
        const Bump& bump = info().bumps[static_cast<std::size_t>(b)];
        bumps_->addTopLevelItem(
            new QTreeWidgetItem({QString::number(b), QString::number(bump.position), QString::number(bump.strength)}));
    }
    bumpPosition_->setValue(0);
    bumpStrength_->setValue(0);
}

void TracksEditor::storeBump()
{
    if (shownBump_ < 0 || shownBump_ >= kMaxBumps)
        return;
    Bump& b = info().bumps[static_cast<std::size_t>(shownBump_)];
    StoreSpin(bumpPosition_, b.position);
    StoreSpin(bumpStrength_, b.strength);
    if (QTreeWidgetItem* item = bumps_->topLevelItem(shownBump_)) {
        item->setText(1, QString::number(b.position));
        item->setText(2, QString::number(b.strength));
    }
}

} // namespace pitwall::gui
