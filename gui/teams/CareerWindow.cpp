#include "CareerWindow.h"

#include "AppContext.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "career/CareerResults.h"
#include "career/SeasonReportFile.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kSeasonName = 147, kShortReport = 148, kNoResult = 151, kCsvFilter = 149;

constexpr TextBinding kCareerTexts[] = {
    {"", TextRole::Caption, 133},
    {"Label1", TextRole::Caption, 134},
    {"TabSheet1", TextRole::TabTitle, 135},
    {"Label2", TextRole::Caption, 136},
    {"Label3", TextRole::Caption, 137},
    {"ListView1", TextRole::Column, 138, 0},
    {"ListView1", TextRole::Column, 139, 1},
    {"ListView1", TextRole::Column, 140, 2},
    {"RadioGroup1", TextRole::Caption, 141},
    {"RadioGroup1_0", TextRole::Caption, 142},
    {"RadioGroup1_1", TextRole::Caption, 143},
    {"RadioGroup1_2", TextRole::Caption, 144},
    {"Button1", TextRole::Caption, 145},
    {"Button2", TextRole::Caption, 146},
    {"Button16", TextRole::Caption, 152},
};

} // namespace

CareerWindow::CareerWindow(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm25", parent)
{
    setWindowTitle("Karriere");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Label(this, "Label1", "Saisons:"));
    seasons_ = new QListWidget(this);
    seasons_->setObjectName("ListBox1");
    seasons_->setFixedWidth(160);
    left->addWidget(seasons_, 1);
    auto* add = Button(this, "Button1", "Saison hinzufügen");
    left->addWidget(add);
    body->addLayout(left);

    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    auto* pageLayout = new QHBoxLayout(page);
    auto* gpColumn = new QVBoxLayout;
    gpColumn->addWidget(Label(page, "Label2", "Grand Prix's"));
    grandsPrix_ = new QListWidget(page);
    grandsPrix_->setObjectName("ListBox2");
    grandsPrix_->setFixedWidth(90);
    for (int g = 1; g <= kCareerGrandsPrix; ++g)
        grandsPrix_->addItem(QString("GP%1").arg(g));
    gpColumn->addWidget(grandsPrix_, 1);
    pageLayout->addLayout(gpColumn);
    auto* resultColumn = new QVBoxLayout;
    resultColumn->addWidget(Label(page, "Label3", "Ergebnisse:"));
    results_ = new QTreeWidget(page);
    results_->setObjectName("ListView1");
    results_->setRootIsDecorated(false);
    results_->setColumnCount(3);
    results_->setHeaderLabels({"Fahrer", "Team", "Zeit"});
    results_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    resultColumn->addWidget(results_, 1);
    auto* kinds = new QGroupBox("Anzeige von...", page);
    kinds->setObjectName("RadioGroup1");
    auto* kindRow = new QHBoxLayout(kinds);
    kinds_ = new QButtonGroup(this);
    const char* kindCaptions[] = {"Rennergebniss", "Schnellste Runden", "Startaufstellung"};
    for (int k = 0; k < kResultKinds; ++k) {
        auto* radio = new QRadioButton(kindCaptions[k], kinds);
        radio->setObjectName(QString("RadioGroup1_%1").arg(k));
        kinds_->addButton(radio, k);
        kindRow->addWidget(radio);
    }
    resultColumn->addWidget(kinds);
    auto* buttons = new QHBoxLayout;
    auto* import = Button(page, "Button16", "Importieren");
    auto* csv = Button(page, "Button2", "Als CSV exportieren");
    buttons->addWidget(import);
    buttons->addWidget(csv);
    buttons->addStretch();
    resultColumn->addLayout(buttons);
    pageLayout->addLayout(resultColumn, 1);
    pages->addTab(page, "Saisonresultate");
    body->addWidget(pages, 1);
    layout->addLayout(body, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    connect(seasons_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            app_.editorStates.careerSeason = row;
        showResult();
    });
    connect(grandsPrix_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            app_.editorStates.careerGrandPrix = row;
        showResult();
    });
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int id) {
        app_.editorStates.careerKind = id;
        showResult();
    });
    connect(add, &QPushButton::clicked, this, &CareerWindow::addSeason);
    connect(import, &QPushButton::clicked, this, &CareerWindow::importSeasonReport);
    connect(csv, &QPushButton::clicked, this, &CareerWindow::exportCsv);
}

void CareerWindow::applyLanguage()
{
    ApplyTexts(this, kCareerTexts, app_.program.texts);
    fillSeasons();
}

void CareerWindow::setUp()
{
    // A first season is there from the start, so a report can be read at once.
    if (app_.editorStates.career.seasons.empty())
        addSeason();
    fillSeasons();
    QSignalBlocker block(grandsPrix_);
    grandsPrix_->setCurrentRow(std::clamp(app_.editorStates.careerGrandPrix, 0, kCareerGrandsPrix - 1));
    kinds_->button(std::clamp(app_.editorStates.careerKind, 0, kResultKinds - 1))->setChecked(true);
    SetupEditorStatusBar(statusBar_, true, true, app_);
    showResult();
}

void CareerWindow::fillSeasons()
{
    QSignalBlocker block(seasons_);
    seasons_->clear();
    const auto& seasons = app_.editorStates.career.seasons;
    for (std::size_t s = 0; s < seasons.size(); ++s)
        seasons_->addItem(FromGameText(app_.program.texts.format(kSeasonName, Args(static_cast<int>(s) + 1))));
    if (!seasons.empty())
        seasons_->setCurrentRow(std::clamp(app_.editorStates.careerSeason, 0, static_cast<int>(seasons.size()) - 1));
}

void CareerWindow::addSeason()
{
    auto& seasons = app_.editorStates.career.seasons;
    seasons.emplace_back();
    app_.editorStates.careerSeason = static_cast<int>(seasons.size()) - 1;
    fillSeasons();
    showResult();
}

SeasonResult* CareerWindow::shownResult()
{
    auto& seasons = app_.editorStates.career.seasons;
    int s = seasons_->currentRow();
    if (s < 0 || s >= static_cast<int>(seasons.size()))
        return nullptr;
    int g = std::clamp(grandsPrix_->currentRow(), 0, kCareerGrandsPrix - 1);
    int k = std::clamp(kinds_->checkedId(), 0, kResultKinds - 1);
    return &seasons[static_cast<std::size_t>(s)].result(g, k);
}

void CareerWindow::showResult()
{
    results_->clear();
    SeasonResult* result = shownResult();
    if (!result)
        return;
    for (const SeasonEntry& e : result->entries) {
        auto* row = new QTreeWidgetItem(results_);
        row->setText(0, FromUntrustedGameText(e.driver));
        row->setText(1, FromUntrustedGameText(e.team));
        row->setText(2, FromUntrustedGameText(ShownReportTime(e, result->laps, &app_.program.texts)));
    }
    findChild<QPushButton*>("Button2")->setEnabled(!result->entries.empty());
}

void CareerWindow::importSeasonReport()
{
    SeasonResult* result = shownResult();
    if (!result)
        return;
    Messenger messenger = app_.messenger();
    auto read = ReadSeasonReport(app_.program.settings.gameDirectory, result->laps, messenger);
    if (!read)
        return; // a missing report leaves the result as it was
    if (!read->found) {
        messenger.show(kNoResult);
        return;
    }
    *result = read->result;
    if (!result->valid)
        messenger.show(kShortReport, Args(static_cast<int>(result->entries.size())));
    showResult();
}

void CareerWindow::exportCsv()
{
    SeasonResult* result = shownResult();
    if (!result || result->entries.empty())
        return;
    auto name = app_.chooseFileToSave({"CareerSave", "Result.CSV", {kCsvFilter}, 1});
    if (!name)
        return;
    std::string csv = ResultAsCsv(*result);
    try {
        WriteWholeFile(*name, std::vector<std::uint8_t>(csv.begin(), csv.end()));
    } catch (const std::exception& e) {
        Messenger messenger = app_.messenger();
        messenger.showFixed(e.what());
    }
}

} // namespace pitwall::gui
