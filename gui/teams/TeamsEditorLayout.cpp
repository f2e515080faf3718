// The teams editor's controls: the list column and its three pages, built
// with the German captions the language table replaces.

#include "TeamsEditor.h"

#include "AppContext.h"
#include "ChoiceFromListOnly.h"
#include "SwapListWidget.h"
#include "WidgetHelpers.h"
#include "teams/PitLane.h"
#include "teams/TeamsArea.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

// What a name field lets the user type: one character more than the record
// keeps, as the game's own editor did; storing cuts it.
constexpr int kTeamNameInput = 14;
constexpr int kDriverNameInput = 24;
// The "Angleichen" buttons in their order, with their German captions.
struct EqualiseButton {
    const char* name;
    const char* caption;
    Equalisation equalisation;
};
constexpr EqualiseButton kEqualiseButtons[] = {
    {"BitBtn12", "Qualifikationsperformance = Rennperformance", Equalisation::QualifyingPerformanceFromRace},
    {"BitBtn13", "Rennperformance = Qualifikationsperformance", Equalisation::RacePerformanceFromQualifying},
    {"BitBtn14", "Qualifikationsgrip = Renngrip (Fahrerperformance)", Equalisation::QualifyingStrengthFromRace},
    {"BitBtn15", "Renngrip = Qualifikationsgrip (Fahrerperformance)", Equalisation::RaceStrengthFromQualifying},
    {"BitBtn16", "Qualifikationskonstanz = Rennkonstanz", Equalisation::QualifyingConsistencyFromRace},
    {"BitBtn17", "Rennkonstanz = Qualifikationskonstanz", Equalisation::RaceConsistencyFromQualifying},
};

// The spin box of a team or driver value, over the range the editor offers.
QSpinBox* RangeField(QWidget* parent, const QString& name, ValueRange range)
{
    return NumberField(parent, name, range.minimum, range.maximum);
}

// A name field wide enough for the longest name the game holds.
QLineEdit* NameEdit(QWidget* parent, const QString& name, int maxLength)
{
    QLineEdit* edit = Edit(parent, name, maxLength);
    QMargins margins = edit->textMargins();
    int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(maxLength, QChar('N'))) + margins.left()
                          + margins.right() + 2 * frame + 8);
    return edit;
}

} // namespace

QWidget* TeamsEditor::buildLeftColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label(column, "Label1", "Teams:"));
    teamList_ = new SwapListWidget("application/x-pitwall-team-slot", column);
    teamList_->setObjectName("ListBox1");
    teamList_->setFixedWidth(170);
    teamList_->canDrag = [this](int) { return dragTeams_->isChecked(); };
    teamList_->setDragEnabled(false);
    teamList_->setAcceptDrops(false);
    layout->addWidget(teamList_, 1);
    dragTeams_ = new QCheckBox("Drag 'n Drop", column);
    dragTeams_->setObjectName("CheckBox3");
    layout->addWidget(dragTeams_);

    auto* transfer = new QGroupBox("Import / Export:", column);
    transfer->setObjectName("GroupBox1");
    auto* buttons = new QVBoxLayout(transfer);
    const std::pair<const char*, const char*> captions[] = {
        {"Button16", "Importieren"},
        {"Button15", "Exportieren"},
        {"Button1", "Standard"},
        {"Button17", "Aus PER-Datei laden"},
        {"Button18", "Als PER-Datei speichern"},
    };
    for (const auto& [name, caption] : captions)
        buttons->addWidget(Button(transfer, name, caption));
    layout->addWidget(transfer);

    connect(teamList_, &QListWidget::currentRowChanged, this, &TeamsEditor::showListedTeam);
    connect(teamList_, &SwapListWidget::swapRequested, this, &TeamsEditor::teamsDragged);
    // The setting follows the box at once: the program may be quit with
    // the editor still open, and the settings are written before it goes.
    connect(dragTeams_, &QCheckBox::toggled, this, [this](bool on) {
        teamList_->setDragEnabled(on);
        teamList_->setAcceptDrops(on);
        app_.program.settings.dndTeams = on;
    });
    connect(transfer->findChild<QPushButton*>("Button16"), &QPushButton::clicked, this, &TeamsEditor::importTeams);
    connect(transfer->findChild<QPushButton*>("Button15"), &QPushButton::clicked, this, &TeamsEditor::exportTeams);
    connect(transfer->findChild<QPushButton*>("Button1"), &QPushButton::clicked, this, &TeamsEditor::loadStandardTeams);
    connect(transfer->findChild<QPushButton*>("Button17"), &QPushButton::clicked, this, &TeamsEditor::loadTeamsFile);
    connect(transfer->findChild<QPushButton*>("Button18"), &QPushButton::clicked, this, &TeamsEditor::saveTeamsFile);
    return column;
}

QWidget* TeamsEditor::buildTeamPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    auto* grid = new QGridLayout(page);

    auto* fields = new QGridLayout;
    teamName_ = NameEdit(page, "Edit1", kTeamNameInput);
    engineName_ = NameEdit(page, "Edit2", kTeamNameInput);
    tqp_ = RangeField(page, "SpinEdit2", EditorRange(TeamValue::QualifyingPerformance));
    trp_ = RangeField(page, "SpinEdit3", EditorRange(TeamValue::RacePerformance));
    failure_ = RangeField(page, "SpinEdit1", EditorRange(TeamValue::Failure));
    failureRate_ = NameEdit(page, "Edit5", 8);
    failureRate_->setReadOnly(true);
    failureRate_->setMaximumWidth(60);
    auto* rate = new QHBoxLayout;
    rate->addWidget(failureRate_);
    rate->addWidget(Label(page, "Label8", "%"));
    rate->addStretch();
    fields->addWidget(Label(page, "Label2", "Team:"), 0, 0);
    fields->addWidget(teamName_, 0, 1);
    fields->addWidget(Label(page, "Label3", "Motor:"), 1, 0);
    fields->addWidget(engineName_, 1, 1);
    fields->addWidget(Label(page, "Label4", "Leistung - Quali:"), 2, 0);
    fields->addWidget(tqp_, 2, 1);
    fields->addWidget(Label(page, "Label5", "Leistung - Rennen:"), 3, 0);
    fields->addWidget(trp_, 3, 1);
    fields->addWidget(Label(page, "Label6", "Defektanfälligkeit:"), 4, 0);
    fields->addWidget(failure_, 4, 1);
    fields->addWidget(Label(page, "Label7", "Ausfallrate:"), 5, 0);
    fields->addLayout(rate, 5, 1);

    auto* tyres = new QGroupBox("Reifentyp:", page);
    tyres->setObjectName("RadioGroup1");
    auto* tyreLayout = new QVBoxLayout(tyres);
    goodyear_ = new QRadioButton("Typ 1 (Goodyear)", tyres);
    goodyear_->setObjectName("RadioGroup1_0");
    bridgestone_ = new QRadioButton("Typ 2 (Bridgestone)", tyres);
    bridgestone_->setObjectName("RadioGroup1_1");
    tyreLayout->addWidget(goodyear_);
    tyreLayout->addWidget(bridgestone_);
    fields->addWidget(tyres, 6, 0, 1, 2);
    grid->addLayout(fields, 0, 0);

    auto* pit = new QGroupBox("Position in der Boxengasse:", page);
    pit->setObjectName("GroupBox2");
    auto* pitLayout = new QGridLayout(pit);
    pitList_ = new SwapListWidget("application/x-pitwall-pit-position", pit);
    pitList_->setObjectName("ListBox10");
    pitList_->setDragEnabled(true);
    pitList_->setAcceptDrops(true);
    // Only the shown team can be dragged to another place of the pit lane.
    pitList_->canDrag = [this](int row) { return shown_ >= 0 && row == table().teams[shown_].pitPosition; };
    pitLayout->addWidget(pitList_, 0, 0, 1, 4);
    QPushButton* up = Button(pit, "Button2", "Oben");
    QPushButton* back = Button(pit, "Button50", "-1");
    QPushButton* forward = Button(pit, "Button51", "+1");
    QPushButton* down = Button(pit, "Button3", "Unten");
    QPushButton* reverse = Button(pit, "Button19", "Positionen umdrehen");
    pitLayout->addWidget(up, 1, 0);
    pitLayout->addWidget(back, 1, 1);
    pitLayout->addWidget(forward, 1, 2);
    pitLayout->addWidget(down, 1, 3);
    pitLayout->addWidget(reverse, 2, 0, 1, 4);
    grid->addWidget(pit, 0, 1, 2, 1);

    auto* exchange = new QHBoxLayout;
    exchange->addWidget(Label(page, "Label9", "Team tauschen mit:"));
    teamExchange_ = new QComboBox(page);
    teamExchange_->setObjectName("ComboBox5");
    exchange->addWidget(teamExchange_, 1);
    grid->addLayout(exchange, 1, 0);

    grid->addWidget(buildQuickGroup(teamQuick_, true, page), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);

    connect(failure_, &QSpinBox::valueChanged, this,
            [this](int value) { failureRate_->setText(QString::number(value / 500)); });
    connect(pitList_, &SwapListWidget::swapRequested, this, &TeamsEditor::pitSwap);
    connect(up, &QPushButton::clicked, this, [this] { pitSwap(pitList_->currentRow(), 0); });
    connect(down, &QPushButton::clicked, this, [this] { pitSwap(pitList_->currentRow(), kPitPositionCount - 1); });
    connect(back, &QPushButton::clicked, this, [this] { pitStep(-1); });
    connect(forward, &QPushButton::clicked, this, [this] { pitStep(+1); });
    connect(reverse, &QPushButton::clicked, this, &TeamsEditor::reversePitOrder);
    ChooseFromListOnly(teamExchange_);
    connect(teamExchange_, &QComboBox::activated, this, &TeamsEditor::swapWithTeam);
    return page;
}

QGroupBox* TeamsEditor::buildDriverGroup(int driver, QWidget* parent)
{
    auto* box = new QGroupBox(driver == 0 ? "Fahrer 1:" : "Fahrer 2:", parent);
    box->setObjectName(driver == 0 ? "GroupBox4" : "GroupBox5");
    auto* grid = new QGridLayout(box);
    DriverControls& c = drivers_[static_cast<std::size_t>(driver)];
    int firstSpin = driver == 0 ? 4 : 9;
    int firstLabel = driver == 0 ? 20 : 26;
    auto spinName = [&](int k) { return QString("SpinEdit%1").arg(firstSpin + k); };
    ValueRange full = EditorRange(DriverValue::QualifyingStrength);
    c.name = NameEdit(box, driver == 0 ? "Edit3" : "Edit4", kDriverNameInput);
    c.qp = RangeField(box, spinName(0), full);
    c.rp = RangeField(box, spinName(1), full);
    c.qa = RangeField(box, spinName(2), full);
    c.ra = RangeField(box, spinName(3), full);
    c.carNumber = RangeField(box, spinName(4), {0, 99});
    c.selected = new QCheckBox("Fahrer gewählt", box);
    c.selected->setObjectName(driver == 0 ? "CheckBox1" : "CheckBox2");
    const std::pair<const char*, QWidget*> rows[] = {
        {"Name:", c.name},           {"Stärke - Quali: ", c.qp},    {"Stärke - Rennen:", c.rp},
        {"Konstanz - Quali:", c.qa}, {"Konstanz - Rennen: ", c.ra}, {"Fahrzeugnummer:", c.carNumber},
    };
    int row = 0;
    for (const auto& [caption, control] : rows) {
        QByteArray name = QString("Label%1").arg(firstLabel + row).toLatin1();
        grid->addWidget(Label(box, name.constData(), caption), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }
    grid->addWidget(c.selected, row, 0, 1, 2);
    return box;
}

QWidget* TeamsEditor::buildDriverPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    auto* grid = new QGridLayout(page);
    grid->addWidget(buildDriverGroup(0, page), 0, 0);
    grid->addWidget(buildDriverGroup(1, page), 0, 1);
    for (int d = 0; d < 2; ++d) {
        auto* exchange = new QHBoxLayout;
        QByteArray label = QString("Label%1").arg(18 + d).toLatin1();
        exchange->addWidget(
            Label(page, label.constData(), d == 0 ? "Fahrer 1 tauschen mit:" : "Fahrer 2 tauschen mit:"));
        auto* combo = new QComboBox(page);
        combo->setObjectName(d == 0 ? "ComboBox3" : "ComboBox4");
        exchange->addWidget(combo, 1);
        driverExchange_[static_cast<std::size_t>(d)] = combo;
        grid->addLayout(exchange, 1, d);
        ChooseFromListOnly(combo);
        connect(combo, &QComboBox::activated, this, [this, d](int chosen) { driverExchange(d, chosen); });
    }
    grid->addWidget(buildQuickGroup(driverQuick_, false, page), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

QGroupBox* TeamsEditor::buildQuickGroup(QuickGroup& group, bool teams, QWidget* parent)
{
    auto* box =
        new QGroupBox(teams ? "Schnelleinstellung für alle Teams:" : "Schnelleinstellung für alle Fahrer:", parent);
    box->setObjectName(teams ? "GroupBox3" : "GroupBox6");
    group.box = box;
    auto* layout = new QHBoxLayout(box);

    auto* choice = new QWidget(box);
    choice->setObjectName(teams ? "RadioGroup2" : "RadioGroup3");
    auto* choiceLayout = new QVBoxLayout(choice);
    choiceLayout->setContentsMargins(0, 0, 0, 0);
    const QStringList teamFields = {"Defektanfälligkeit", "Leistung - Quali", "Leistung - Rennen"};
    const QStringList driverFields = {"Stärke - Qualifikation", "Stärke - Rennen", "Konstanz - Qualifikation",
                                      "Konstanz - Rennen"};
    const QStringList& captions = teams ? teamFields : driverFields;
    for (int f = 0; f < captions.size(); ++f) {
        auto* radio = new QRadioButton(captions[f], choice);
        radio->setObjectName(QString("%1_%2").arg(choice->objectName()).arg(f));
        choiceLayout->addWidget(radio);
        group.fields.push_back(radio);
        connect(radio, &QRadioButton::toggled, this, [this, &group, teams, f](bool on) {
            if (on)
                selectQuickField(group, teams, f);
        });
    }
    choiceLayout->addStretch();
    {
        // setUp shows the remembered field and its steps.
        QSignalBlocker block(group.fields.front());
        group.fields.front()->setChecked(true);
    }
    layout->addWidget(choice);

    auto* rows = new QGridLayout;
    int firstLabel = teams ? 10 : 14;
    int firstButton = teams ? 4 : 20;
    const char* rowCaptions[kQuickRowCount] = {"Durchschnitt:", teams ? "Minimum:" : "Mininum:", "Maximum:"};
    // Step controls of the rows average, minimum, maximum.
    const int stepNumbers[kQuickRowCount] = {teams ? 14 : 19, teams ? 15 : 18, teams ? 16 : 17};
    QByteArray header = QString("Label%1").arg(firstLabel + 3).toLatin1();
    rows->addWidget(Label(box, header.constData(), "Schritt:"), 0, 3);
    for (int r = 0; r < kQuickRowCount; ++r) {
        QByteArray label = QString("Label%1").arg(firstLabel + r).toLatin1();
        QByteArray minus = QString("Button%1").arg(firstButton + 2 * r).toLatin1();
        QByteArray plus = QString("Button%1").arg(firstButton + 2 * r + 1).toLatin1();
        QPushButton* down = Button(box, minus.constData(), "-");
        QPushButton* up = Button(box, plus.constData(), "+");
        down->setFixedWidth(32);
        up->setFixedWidth(32);
        QSpinBox* step = RangeField(box, QString("SpinEdit%1").arg(stepNumbers[r]), {0, 65535});
        group.steps[static_cast<std::size_t>(r)] = step;
        rows->addWidget(Label(box, label.constData(), rowCaptions[r]), r + 1, 0);
        rows->addWidget(down, r + 1, 1);
        rows->addWidget(up, r + 1, 2);
        rows->addWidget(step, r + 1, 3);
        auto row = static_cast<QuickRow>(r);
        connect(down, &QPushButton::clicked, this, [this, teams, row] { quickClick(teams, row, -1); });
        connect(up, &QPushButton::clicked, this, [this, teams, row] { quickClick(teams, row, +1); });
        connect(step, &QSpinBox::valueChanged, this, [this, &group, teams, r](int value) {
            auto field = static_cast<std::size_t>(group.field);
            QuickSteps& steps = teams ? state().teamSteps.at(field) : state().driverSteps.at(field);
            steps[static_cast<std::size_t>(r)] = value;
        });
    }
    layout->addLayout(rows);
    layout->addStretch();
    return box;
}

QWidget* TeamsEditor::buildMiscPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet3");
    auto* layout = new QVBoxLayout(page);

    auto* simulation = new QGroupBox("Simulation:", page);
    simulation->setObjectName("GroupBox7");
    auto* simulationLayout = new QHBoxLayout(simulation);
    QPushButton* qualifying = Button(simulation, "Button53", "Qualifying simulieren");
    QPushButton* race = Button(simulation, "Button54", "Rennen simulieren");
    simulationLayout->addWidget(qualifying);
    simulationLayout->addWidget(race);
    simulationLayout->addStretch();
    layout->addWidget(simulation);
    connect(qualifying, &QPushButton::clicked, this, [this] { simulateClick(false); });
    connect(race, &QPushButton::clicked, this, [this] { simulateClick(true); });

    auto* equalise = new QGroupBox("Angleichen:", page);
    equalise->setObjectName("GroupBox8");
    auto* equaliseLayout = new QVBoxLayout(equalise);
    // One sheet for all the buttons (read once, not once per button).
    equalise->setStyleSheet("QPushButton { text-align: left; padding: 4px 8px; }");
    for (const EqualiseButton& b : kEqualiseButtons) {
        QPushButton* button = Button(equalise, b.name, b.caption);
        equaliseLayout->addWidget(button);
        Equalisation e = b.equalisation;
        connect(button, &QPushButton::clicked, this, [this, e] { equaliseClick(e); });
    }
    layout->addWidget(equalise);
    layout->addStretch();
    return page;
}

} // namespace pitwall::gui
