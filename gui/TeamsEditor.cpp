#include "TeamsEditor.h"

#include "AppContext.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "MainWindow.h"
#include "SimulationWindow.h"
#include "SwapListWidget.h"
#include "teams/PerFile.h"
#include "teams/PitLane.h"
#include "teams/TeamExchange.h"
#include "teams/TeamsArea.h"
#include "transfer/FileUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kPerFilter = 986;
constexpr int kPageCount = 3;
// What a name field lets the user type: one character more than the record
// keeps, as the game's own editor did; storing cuts it.
constexpr int kTeamNameInput = 14;
constexpr int kDriverNameInput = 24;

constexpr TextBinding kTeamsEditorTexts[] = {
    {"", TextRole::Caption, 1},
    {"Label1", TextRole::Caption, 3},
    {"CheckBox3", TextRole::Caption, 4},
    {"GroupBox1", TextRole::Caption, 5},
    {"Button16", TextRole::Caption, 6},
    {"Button15", TextRole::Caption, 7},
    {"Button1", TextRole::Caption, 8},
    {"Button17", TextRole::Caption, 9},
    {"Button18", TextRole::Caption, 10},
    {"TabSheet1", TextRole::TabTitle, 11},
    {"TabSheet2", TextRole::TabTitle, 12},
    {"TabSheet3", TextRole::TabTitle, 13},
    {"Label2", TextRole::Caption, 14},
    {"Label3", TextRole::Caption, 15},
    {"Label4", TextRole::Caption, 16},
    {"Label5", TextRole::Caption, 17},
    {"Label6", TextRole::Caption, 18},
    {"Label7", TextRole::Caption, 19},
    {"RadioGroup1", TextRole::Caption, 20},
    {"RadioGroup1_0", TextRole::Caption, 21},
    {"RadioGroup1_1", TextRole::Caption, 22},
    {"GroupBox2", TextRole::Caption, 23},
    {"Button2", TextRole::Caption, 24},
    {"Button3", TextRole::Caption, 25},
    {"Button19", TextRole::Caption, 26},
    {"Label9", TextRole::Caption, 27},
    {"GroupBox3", TextRole::Caption, 28},
    {"RadioGroup2_0", TextRole::Caption, 29},
    {"RadioGroup2_1", TextRole::Caption, 30},
    {"RadioGroup2_2", TextRole::Caption, 31},
    {"Label10", TextRole::Caption, 32},
    {"Label11", TextRole::Caption, 33},
    {"Label12", TextRole::Caption, 34},
    {"Label13", TextRole::Caption, 63},
    {"GroupBox4", TextRole::Caption, 35},
    {"GroupBox5", TextRole::Caption, 36},
    {"Label20", TextRole::Caption, 37},
    {"Label21", TextRole::Caption, 38},
    {"Label22", TextRole::Caption, 39},
    {"Label23", TextRole::Caption, 40},
    {"Label24", TextRole::Caption, 41},
    {"Label25", TextRole::Caption, 42},
    {"CheckBox1", TextRole::Caption, 43},
    {"Label26", TextRole::Caption, 37},
    {"Label27", TextRole::Caption, 38},
    {"Label28", TextRole::Caption, 39},
    {"Label29", TextRole::Caption, 40},
    {"Label30", TextRole::Caption, 41},
    {"Label31", TextRole::Caption, 42},
    {"CheckBox2", TextRole::Caption, 43},
    {"Label18", TextRole::Caption, 44},
    {"Label19", TextRole::Caption, 45},
    {"GroupBox6", TextRole::Caption, 46},
    {"RadioGroup3_0", TextRole::Caption, 47},
    {"RadioGroup3_1", TextRole::Caption, 48},
    {"RadioGroup3_2", TextRole::Caption, 49},
    {"RadioGroup3_3", TextRole::Caption, 50},
    {"Label14", TextRole::Caption, 32},
    {"Label15", TextRole::Caption, 33},
    {"Label16", TextRole::Caption, 34},
    {"Label17", TextRole::Caption, 63},
    {"GroupBox7", TextRole::Caption, 51},
    {"Button53", TextRole::Caption, 52},
    {"Button54", TextRole::Caption, 53},
    {"GroupBox8", TextRole::Caption, 54},
    {"BitBtn12", TextRole::Caption, 55},
    {"BitBtn13", TextRole::Caption, 56},
    {"BitBtn14", TextRole::Caption, 57},
    {"BitBtn15", TextRole::Caption, 58},
    {"BitBtn16", TextRole::Caption, 59},
    {"BitBtn17", TextRole::Caption, 60},
    {"Button4", TextRole::Hint, 61},
    {"Button5", TextRole::Hint, 62},
    {"Button6", TextRole::Hint, 61},
    {"Button7", TextRole::Hint, 62},
    {"Button8", TextRole::Hint, 61},
    {"Button9", TextRole::Hint, 62},
    {"Button20", TextRole::Hint, 61},
    {"Button21", TextRole::Hint, 62},
    {"Button22", TextRole::Hint, 61},
    {"Button23", TextRole::Hint, 62},
    {"Button24", TextRole::Hint, 61},
    {"Button25", TextRole::Hint, 62},
};

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

constexpr QuickSetting kRowSettings[kQuickRowCount] = {QuickSetting::Shift, QuickSetting::StretchBottom,
                                                        QuickSetting::StretchTop};

QLabel* Label(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QSpinBox* Spin(QWidget* parent, const QString& name, ValueRange range)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(range.minimum, range.maximum);
    spin->setMinimumWidth(80);
    return spin;
}

QLineEdit* Edit(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    // Wide enough for the longest name the game holds.
    QMargins margins = edit->textMargins();
    int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(maxLength, QChar('N')))
                          + margins.left() + margins.right() + 2 * frame + 8);
    return edit;
}

// A value goes back into its field only when the user changed it: a value
// outside the control's range (a car number above 99 from a carset) must
// not be cut just because the team was shown.
template <typename Field>
void StoreSpin(const QSpinBox* spin, Field& field)
{
    int shown = std::clamp(static_cast<int>(field), spin->minimum(), spin->maximum());
    if (spin->value() != shown)
        field = static_cast<Field>(spin->value());
}

// Likewise for names: a byte the code page cannot show would not survive
// the round trip through the control.
template <std::size_t N>
void StoreText(const QLineEdit* edit, FixedText<N>& field)
{
    if (edit->text() != FromUntrustedGameText(field.text()))
        field = ToGameText(edit->text());
}

void SetItems(QComboBox* combo, const QStringList& items)
{
    QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

} // namespace

TeamsEditor::TeamsEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm12", parent)
{
    setWindowTitle("Teams und Fahrer");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;
    body->addWidget(buildLeftColumn());
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    pages_->addTab(buildTeamPage(), "Teamdaten");
    pages_->addTab(buildDriverPage(), "Fahrerdaten");
    pages_->addTab(buildMiscPage(), "Verschiedenes");
    body->addWidget(pages_, 1);
    layout->addLayout(body, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page >= 0)
            state().page = page;
    });
}

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
        {"Button16", "Importieren"},          {"Button15", "Exportieren"},
        {"Button1", "Standard"},              {"Button17", "Aus PER-Datei laden"},
        {"Button18", "Als PER-Datei speichern"},
    };
    for (const auto& [name, caption] : captions)
        buttons->addWidget(Button(transfer, name, caption));
    layout->addWidget(transfer);

    connect(teamList_, &QListWidget::currentRowChanged, this, &TeamsEditor::ListBox1Click);
    connect(teamList_, &SwapListWidget::swapRequested, this, &TeamsEditor::TeamsDragged);
    connect(dragTeams_, &QCheckBox::toggled, this, [this](bool on) {
        teamList_->setDragEnabled(on);
        teamList_->setAcceptDrops(on);
    });
    connect(transfer->findChild<QPushButton*>("Button16"), &QPushButton::clicked, this, &TeamsEditor::Button16Click);
    connect(transfer->findChild<QPushButton*>("Button15"), &QPushButton::clicked, this, &TeamsEditor::Button15Click);
    connect(transfer->findChild<QPushButton*>("Button1"), &QPushButton::clicked, this, &TeamsEditor::Button1Click);
    connect(transfer->findChild<QPushButton*>("Button17"), &QPushButton::clicked, this, &TeamsEditor::Button17Click);
    connect(transfer->findChild<QPushButton*>("Button18"), &QPushButton::clicked, this, &TeamsEditor::Button18Click);
    return column;
}

QWidget* TeamsEditor::buildTeamPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    auto* grid = new QGridLayout(page);

    auto* fields = new QGridLayout;
    teamName_ = Edit(page, "Edit1", kTeamNameInput);
    engineName_ = Edit(page, "Edit2", kTeamNameInput);
    tqp_ = Spin(page, "SpinEdit2", EditorRange(TeamValue::QualifyingPerformance));
    trp_ = Spin(page, "SpinEdit3", EditorRange(TeamValue::RacePerformance));
    failure_ = Spin(page, "SpinEdit1", EditorRange(TeamValue::Failure));
    failureRate_ = Edit(page, "Edit5", 8);
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
    connect(pitList_, &SwapListWidget::swapRequested, this, &TeamsEditor::PitSwap);
    connect(up, &QPushButton::clicked, this, [this] { PitSwap(pitList_->currentRow(), 0); });
    connect(down, &QPushButton::clicked, this, [this] { PitSwap(pitList_->currentRow(), kPitPositionCount - 1); });
    connect(back, &QPushButton::clicked, this, [this] { PitStep(-1); });
    connect(forward, &QPushButton::clicked, this, [this] { PitStep(+1); });
    connect(reverse, &QPushButton::clicked, this, &TeamsEditor::Button19Click);
    connect(teamExchange_, &QComboBox::activated, this, &TeamsEditor::ComboBox5Change);
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
    c.name = Edit(box, driver == 0 ? "Edit3" : "Edit4", kDriverNameInput);
    c.qp = Spin(box, spinName(0), full);
    c.rp = Spin(box, spinName(1), full);
    c.qa = Spin(box, spinName(2), full);
    c.ra = Spin(box, spinName(3), full);
    c.carNumber = Spin(box, spinName(4), {0, 99});
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
        exchange->addWidget(Label(page, label.constData(), d == 0 ? "Fahrer 1 tauschen mit:" : "Fahrer 2 tauschen mit:"));
        auto* combo = new QComboBox(page);
        combo->setObjectName(d == 0 ? "ComboBox3" : "ComboBox4");
        exchange->addWidget(combo, 1);
        driverExchange_[static_cast<std::size_t>(d)] = combo;
        grid->addLayout(exchange, 1, d);
        connect(combo, &QComboBox::activated, this, [this, d](int chosen) { DriverExchange(d, chosen); });
    }
    grid->addWidget(buildQuickGroup(driverQuick_, false, page), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

QGroupBox* TeamsEditor::buildQuickGroup(QuickGroup& group, bool teams, QWidget* parent)
{
    auto* box = new QGroupBox(teams ? "Schnelleinstellung für alle Teams:" : "Schnelleinstellung für alle Fahrer:",
                              parent);
    box->setObjectName(teams ? "GroupBox3" : "GroupBox6");
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
                SelectQuickField(group, teams, f);
        });
    }
    choiceLayout->addStretch();
    {
        // Loaded shows the remembered field and its steps.
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
        QSpinBox* step = Spin(box, QString("SpinEdit%1").arg(stepNumbers[r]), {0, 65535});
        group.steps[static_cast<std::size_t>(r)] = step;
        rows->addWidget(Label(box, label.constData(), rowCaptions[r]), r + 1, 0);
        rows->addWidget(down, r + 1, 1);
        rows->addWidget(up, r + 1, 2);
        rows->addWidget(step, r + 1, 3);
        auto row = static_cast<QuickRow>(r);
        connect(down, &QPushButton::clicked, this, [this, teams, row] { QuickClick(teams, row, -1); });
        connect(up, &QPushButton::clicked, this, [this, teams, row] { QuickClick(teams, row, +1); });
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
    connect(qualifying, &QPushButton::clicked, this, [this] { SimulateClick(false); });
    connect(race, &QPushButton::clicked, this, [this] { SimulateClick(true); });

    auto* equalise = new QGroupBox("Angleichen:", page);
    equalise->setObjectName("GroupBox8");
    auto* equaliseLayout = new QVBoxLayout(equalise);
    for (const EqualiseButton& b : kEqualiseButtons) {
        QPushButton* button = Button(equalise, b.name, b.caption);
        button->setStyleSheet("text-align: left; padding: 4px 8px;");
        equaliseLayout->addWidget(button);
        Equalisation e = b.equalisation;
        connect(button, &QPushButton::clicked, this, [this, e] { EqualiseClick(e); });
    }
    layout->addWidget(equalise);
    layout->addStretch();
    return page;
}

TeamTable& TeamsEditor::table() { return app_.workingSet().teams; }
TeamsEditorState& TeamsEditor::state() { return app_.editorStates.teams; }

void TeamsEditor::ApplyLanguage()
{
    ApplyTexts(this, kTeamsEditorTexts, app_.program.texts);
    // The simulation window belongs to this editor's commands; it is
    // recaptioned with it.
    if (app_.mainWindow)
        if (auto* simulation = app_.mainWindow->findChild<SimulationWindow*>("TForm2", Qt::FindDirectChildrenOnly))
            simulation->ApplyLanguage();
}

void TeamsEditor::Loaded()
{
    TeamsEditorState& s = state();
    dragTeams_->setChecked(app_.program.settings.dndTeams);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kPageCount - 1));
    int teamField = std::clamp(s.teamField, 0, static_cast<int>(teamQuick_.fields.size()) - 1);
    int driverField = std::clamp(s.driverField, 0, static_cast<int>(driverQuick_.fields.size()) - 1);
    SelectQuickField(teamQuick_, true, teamField);
    SelectQuickField(driverQuick_, false, driverField);
    ShowAll();
}

void TeamsEditor::Restore() { ShowAll(); }

void TeamsEditor::Store()
{
    StoreTeam();
    app_.program.settings.dndTeams = dragTeams_->isChecked();
}

void TeamsEditor::ShowAll()
{
    bool loaded = app_.workingSet().transfer.isLoaded(kTeamsItem);
    for (int p = 0; p < pages_->count(); ++p)
        pages_->widget(p)->setEnabled(loaded);
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
    FillTeamList();
    FillExchangeLists();
    int team = std::clamp(state().team, 0, kTeamCount - 1);
    {
        QSignalBlocker block(teamList_);
        teamList_->setCurrentRow(team);
    }
    ShowTeam(team);
}

void TeamsEditor::FillTeamList()
{
    QSignalBlocker block(teamList_);
    int row = teamList_->currentRow();
    teamList_->clear();
    for (const TeamRecord& t : table().teams)
        teamList_->addItem(FromUntrustedGameText(t.name.text()));
    teamList_->setCurrentRow(row);
}

void TeamsEditor::FillExchangeLists()
{
    QStringList teams;
    for (const TeamRecord& t : table().teams)
        teams << FromUntrustedGameText(t.name.text());
    QStringList driverNames;
    for (int d = 0; d < kDriverCount; ++d)
        driverNames << FromUntrustedGameText(table().driver(d).name.text());
    SetItems(teamExchange_, teams);
    for (QComboBox* combo : driverExchange_)
        SetItems(combo, driverNames);
}

void TeamsEditor::FillPitList()
{
    QSignalBlocker block(pitList_);
    PitOrder order = BuildPitOrder(table());
    pitList_->clear();
    for (int p = 0; p < kPitPositionCount; ++p)
        pitList_->addItem(QString("%1: %2").arg(p + 1).arg(FromUntrustedGameText(table().teams[order[p]].name.text())));
    if (shown_ >= 0)
        pitList_->setCurrentRow(table().teams[static_cast<std::size_t>(shown_)].pitPosition);
}

void TeamsEditor::ShowTeam(int slot)
{
    const TeamRecord& t = table().teams.at(static_cast<std::size_t>(slot));
    shown_ = slot;
    teamName_->setText(FromUntrustedGameText(t.name.text()));
    engineName_->setText(FromUntrustedGameText(t.engine.text()));
    tqp_->setValue(t.tqp);
    trp_->setValue(t.trp);
    failure_->setValue(t.failure);
    failureRate_->setText(QString::number(t.failure / 500));
    (t.tyreType == kTyreBridgestone ? bridgestone_ : goodyear_)->setChecked(true);
    for (std::size_t d = 0; d < 2; ++d) {
        const DriverRecord& r = t.drivers[d];
        DriverControls& c = drivers_[d];
        c.name->setText(FromUntrustedGameText(r.name.text()));
        c.qp->setValue(r.qp);
        c.rp->setValue(r.rp);
        c.qa->setValue(r.qa);
        c.ra->setValue(r.ra);
        c.carNumber->setValue(r.carNumber);
        c.selected->setChecked(r.selected != 0);
    }
    FillPitList();
}

void TeamsEditor::StoreTeam()
{
    if (shown_ < 0)
        return;
    TeamRecord& t = table().teams.at(static_cast<std::size_t>(shown_));
    StoreText(teamName_, t.name);
    StoreText(engineName_, t.engine);
    StoreSpin(tqp_, t.tqp);
    StoreSpin(trp_, t.trp);
    StoreSpin(failure_, t.failure);
    if (goodyear_->isChecked() || bridgestone_->isChecked())
        t.tyreType = bridgestone_->isChecked() ? kTyreBridgestone : kTyreGoodyear;
    for (std::size_t d = 0; d < 2; ++d) {
        DriverRecord& r = t.drivers[d];
        const DriverControls& c = drivers_[d];
        StoreText(c.name, r.name);
        StoreSpin(c.qp, r.qp);
        StoreSpin(c.rp, r.rp);
        StoreSpin(c.qa, r.qa);
        StoreSpin(c.ra, r.ra);
        StoreSpin(c.carNumber, r.carNumber);
        // Any byte other than 0 marks a driver as selected; keep it as it is.
        if (c.selected->isChecked() != (r.selected != 0))
            r.selected = c.selected->isChecked() ? 1 : 0;
    }
    if (QListWidgetItem* item = teamList_->item(shown_))
        item->setText(FromUntrustedGameText(t.name.text()));
}

void TeamsEditor::ListBox1Click(int row)
{
    if (row < 0)
        return;
    StoreTeam();
    state().team = row;
    ShowTeam(row);
}

void TeamsEditor::TeamsDragged(int draggedRow, int targetRow)
{
    StoreTeam();
    SwapTeams(table(), draggedRow, targetRow);
    FillTeamList();
    ShowTeam(shown_);
    FillExchangeLists();
}

void TeamsEditor::ComboBox5Change(int chosen)
{
    if (chosen < 0 || shown_ < 0)
        return;
    StoreTeam();
    SwapTeams(table(), shown_, chosen);
    FillTeamList();
    ShowTeam(shown_);
    FillExchangeLists();
}

void TeamsEditor::DriverExchange(int driver, int chosen)
{
    if (chosen < 0 || shown_ < 0)
        return;
    StoreTeam();
    SwapDrivers(table(), 2 * shown_ + driver, chosen);
    ShowTeam(shown_);
    FillExchangeLists();
}

void TeamsEditor::PitSwap(int positionA, int positionB)
{
    if (positionA < 0)
        return;
    SwapPitPositions(table(), positionA, positionB);
    FillPitList();
}

void TeamsEditor::PitStep(int offset)
{
    int position = pitList_->currentRow();
    int target = position + offset;
    if (position < 0 || target < 0 || target >= kPitPositionCount)
        return;
    PitSwap(position, target);
}

void TeamsEditor::Button19Click()
{
    ReversePitOrder(table());
    FillPitList();
}

void TeamsEditor::SelectQuickField(QuickGroup& group, bool teams, int field)
{
    group.field = field;
    if (teams)
        state().teamField = field;
    else
        state().driverField = field;
    {
        QSignalBlocker block(group.fields[static_cast<std::size_t>(field)]);
        group.fields[static_cast<std::size_t>(field)]->setChecked(true);
    }
    QuickSteps steps = teams ? state().teamSteps.at(static_cast<std::size_t>(field))
                             : state().driverSteps.at(static_cast<std::size_t>(field));
    for (std::size_t r = 0; r < steps.size(); ++r)
        group.steps[r]->setValue(steps[r]);
}

void TeamsEditor::QuickClick(bool teams, QuickRow row, int sign)
{
    QuickGroup& group = teams ? teamQuick_ : driverQuick_;
    int delta = sign * group.steps[static_cast<std::size_t>(row)]->value();
    StoreTeam();
    if (teams)
        ApplyQuickSetting(table(), static_cast<TeamValue>(group.field), kRowSettings[row], delta);
    else
        ApplyQuickSetting(table(), static_cast<DriverValue>(group.field), kRowSettings[row], delta);
    ShowTeam(shown_);
}

void TeamsEditor::EqualiseClick(Equalisation equalisation)
{
    StoreTeam();
    Equalise(table(), equalisation);
    ShowTeam(shown_);
}

void TeamsEditor::Button16Click()
{
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(false, false, ui);
    ShowAll();
}

void TeamsEditor::Button15Click()
{
    Store();
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(false, ui);
}

void TeamsEditor::Button1Click()
{
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    std::string standard = IncludeTrailingBackslash(app_.program.directories.program) + "Standard.DAT";
    // The load restores the open editor, this one. Defaults are not a
    // carset of the user's: the carset information stays as it is.
    app_.engine().loadCarset(false, false, standard, ui, false);
}

void TeamsEditor::Button17Click()
{
    auto name = app_.chooseFileToOpen({"TeamsLoad", "", {kPerFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".PER"}, true, &messenger) < 0)
        return;
    // Tyres, pit positions and the selected marks stay: keep what was typed.
    StoreTeam();
    try {
        if (!LoadPerFile(table(), *name))
            return;
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return;
    }
    app_.workingSet().transfer.loaded[kTeamsItem] = 1;
    ShowAll();
}

void TeamsEditor::Button18Click()
{
    StoreTeam();
    auto name = app_.chooseFileToSave({"TeamsSave", "Pitwall.PER", {kPerFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".PER"}, true, &messenger) < 0)
        return;
    try {
        SavePerFile(table(), *name);
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
    }
}

void TeamsEditor::SimulateClick(bool race)
{
    StoreTeam();
    SimulationWindow* window = SimulationWindow::Of(app_);
    if (race)
        window->SimulateRace();
    else
        window->SimulateQualifying();
}

} // namespace pitwall::gui
