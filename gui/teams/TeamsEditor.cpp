#include "TeamsEditor.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "GameTextGuard.h"
#include "LanguageTable.h"
#include "MainWindow.h"
#include "SimulationWindow.h"
#include "SwapListWidget.h"
#include "base/FileUtils.h"
#include "teams/PerFile.h"
#include "teams/PitLane.h"
#include "teams/TeamExchange.h"
#include "teams/TeamsArea.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
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

constexpr QuickSetting kRowSettings[kQuickRowCount] = {QuickSetting::Shift, QuickSetting::StretchBottom,
                                                       QuickSetting::StretchTop};

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
    GuardGameTextFields(this, app_.program.texts);

    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page >= 0)
            state().page = page;
    });
}

TeamTable& TeamsEditor::table() { return app_.workingSet().teams; }
TeamsEditorState& TeamsEditor::state() { return app_.editorStates.teams; }

void TeamsEditor::applyLanguage()
{
    ApplyTexts(this, kTeamsEditorTexts, app_.program.texts);
    // The simulation window belongs to this editor's commands; it is
    // recaptioned with it.
    if (app_.mainWindow)
        if (auto* simulation = app_.mainWindow->findChild<SimulationWindow*>("TForm2", Qt::FindDirectChildrenOnly))
            simulation->applyLanguage();
}

void TeamsEditor::setUp()
{
    TeamsEditorState& s = state();
    dragTeams_->setChecked(app_.program.settings.dndTeams);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kPageCount - 1));
    int teamField = std::clamp(s.teamField, 0, static_cast<int>(teamQuick_.fields.size()) - 1);
    int driverField = std::clamp(s.driverField, 0, static_cast<int>(driverQuick_.fields.size()) - 1);
    selectQuickField(teamQuick_, true, teamField);
    selectQuickField(driverQuick_, false, driverField);
    showAll();
}

void TeamsEditor::restore() { showAll(); }

void TeamsEditor::store()
{
    storeTeam();
    app_.program.settings.dndTeams = dragTeams_->isChecked();
}

QString TeamsEditor::recordOf(const QWidget* control) const
{
    if (shown_ < 0 || Within(control, teamQuick_.box) || Within(control, driverQuick_.box))
        return {};
    for (int d = 0; d < 2; ++d) {
        const std::size_t i = static_cast<std::size_t>(d);
        const QWidget* group = drivers_[i].name->parentWidget();
        if (Within(control, group) || Within(control, driverExchange_[i]))
            return DriverRecordName(app_, 2 * shown_ + d);
    }
    if (Within(control, pages_->widget(0)))
        return TeamRecordName(app_, shown_);
    return {};
}

void TeamsEditor::showAll()
{
    bool loaded = app_.workingSet().transfer.isLoaded(kTeamsItem);
    for (int p = 0; p < pages_->count(); ++p)
        pages_->widget(p)->setEnabled(loaded);
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
    fillTeamList();
    fillExchangeLists();
    int team = std::clamp(state().team, 0, kTeamCount - 1);
    {
        QSignalBlocker block(teamList_);
        teamList_->setCurrentRow(team);
    }
    showTeam(team);
}

void TeamsEditor::fillTeamList()
{
    QSignalBlocker block(teamList_);
    int row = teamList_->currentRow();
    teamList_->clear();
    for (const TeamRecord& t : table().teams)
        teamList_->addItem(FromUntrustedGameText(t.name.text()));
    teamList_->setCurrentRow(row);
}

void TeamsEditor::fillExchangeLists()
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

void TeamsEditor::fillPitList()
{
    QSignalBlocker block(pitList_);
    PitOrder order = BuildPitOrder(table());
    pitList_->clear();
    for (int p = 0; p < kPitPositionCount; ++p)
        pitList_->addItem(QString("%1: %2").arg(p + 1).arg(FromUntrustedGameText(table().teams[order[p]].name.text())));
    if (shown_ >= 0)
        pitList_->setCurrentRow(table().teams[static_cast<std::size_t>(shown_)].pitPosition);
}

void TeamsEditor::showTeam(int slot)
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
    fillPitList();
}

void TeamsEditor::storeTeam()
{
    if (shown_ < 0)
        return;
    TeamRecord& t = table().teams.at(static_cast<std::size_t>(shown_));
    StoreText(teamName_, t.name);
    StoreText(engineName_, t.engine);
    StoreSpin(tqp_, t.tqp);
    StoreSpin(trp_, t.trp);
    StoreSpin(failure_, t.failure);
    // A carset's tyre byte other than the two types shows as Goodyear, as
    // the game reads it, and stays until the user picks a type.
    if (bridgestone_->isChecked() != (t.tyreType == kTyreBridgestone))
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

void TeamsEditor::showListedTeam(int row)
{
    if (row < 0)
        return;
    storeTeam();
    state().team = row;
    showTeam(row);
}

void TeamsEditor::teamsDragged(int draggedRow, int targetRow)
{
    storeTeam();
    SwapTeams(table(), draggedRow, targetRow);
    fillTeamList();
    showTeam(shown_);
    fillExchangeLists();
}

void TeamsEditor::swapWithTeam(int chosen)
{
    if (chosen < 0 || shown_ < 0)
        return;
    storeTeam();
    SwapTeams(table(), shown_, chosen);
    fillTeamList();
    showTeam(shown_);
    fillExchangeLists();
}

void TeamsEditor::driverExchange(int driver, int chosen)
{
    if (chosen < 0 || shown_ < 0)
        return;
    storeTeam();
    SwapDrivers(table(), 2 * shown_ + driver, chosen);
    showTeam(shown_);
    fillExchangeLists();
}

void TeamsEditor::pitSwap(int positionA, int positionB)
{
    if (positionA < 0)
        return;
    SwapPitPositions(table(), positionA, positionB);
    fillPitList();
}

void TeamsEditor::pitStep(int offset)
{
    int position = pitList_->currentRow();
    int target = position + offset;
    if (position < 0 || target < 0 || target >= kPitPositionCount)
        return;
    pitSwap(position, target);
}

void TeamsEditor::reversePitOrder()
{
    ReversePitOrder(table());
    fillPitList();
}

void TeamsEditor::selectQuickField(QuickGroup& group, bool teams, int field)
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

void TeamsEditor::quickClick(bool teams, QuickRow row, int sign)
{
    QuickGroup& group = teams ? teamQuick_ : driverQuick_;
    int delta = sign * group.steps[static_cast<std::size_t>(row)]->value();
    storeTeam();
    if (teams)
        ApplyQuickSetting(table(), static_cast<TeamValue>(group.field), kRowSettings[row], delta);
    else
        ApplyQuickSetting(table(), static_cast<DriverValue>(group.field), kRowSettings[row], delta);
    showTeam(shown_);
}

void TeamsEditor::equaliseClick(Equalisation equalisation)
{
    storeTeam();
    Equalise(table(), equalisation);
    showTeam(shown_);
}

void TeamsEditor::importTeams()
{
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    showAll();
}

void TeamsEditor::exportTeams()
{
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(ItemChoice::AsSelected, ui);
}

void TeamsEditor::loadStandardTeams()
{
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kTeamsItem});
    TransferUi ui = app_.transferUi();
    std::string standard = IncludeTrailingBackslash(app_.program.directories.program) + "Standard.DAT";
    // The load restores the open editor, this one. Defaults are not a
    // carset of the user's: the carset information stays as it is.
    app_.engine().loadCarset(ItemChoice::AsSelected, standard, ui, CarsetInformation::Keep);
}

void TeamsEditor::loadTeamsFile()
{
    auto name = app_.chooseFileToOpen({"TeamsLoad", "", {kPerFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".PER"}, true, &messenger) < 0)
        return;
    // Tyres, pit positions and the selected marks stay: keep what was typed.
    storeTeam();
    try {
        if (!LoadPerFile(table(), *name))
            return;
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return;
    }
    app_.workingSet().transfer.loaded[kTeamsItem] = 1;
    showAll();
}

void TeamsEditor::saveTeamsFile()
{
    storeTeam();
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

void TeamsEditor::simulateClick(bool race)
{
    storeTeam();
    SimulationWindow* window = SimulationWindow::instanceFor(app_);
    if (race)
        window->simulateRace();
    else
        window->simulateQualifying();
}

} // namespace pitwall::gui
