#include "GraphicsEditor.h"

#include "AppContext.h"
#include "ColorPicker.h"
#include "EditorStatusBar.h"
#include "GP3Image.h"
#include "LanguageTable.h"
#include "QtMessages.h"
#include "graphics/CarNumbersArea.h"
#include "graphics/GraphicsSet.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kHelmetListFirst = 239;
constexpr int kBodyPartFirst = 885;
constexpr int kFlagTypeFirst = 1005;
constexpr int kTeamListChars = 13;

constexpr TextBinding kGraphicsTexts[] = {
    {"", TextRole::Caption, 374},
    {"TabSheet1", TextRole::TabTitle, 375},
    {"TabSheet2", TextRole::TabTitle, 376},
    {"TabSheet3", TextRole::TabTitle, 377},
    {"TabSheet4", TextRole::TabTitle, 378},
    {"TabSheet5", TextRole::TabTitle, 379},
    {"TabSheet6", TextRole::TabTitle, 380},
    {"TabSheet7", TextRole::TabTitle, 381},
    {"RadioGroup8", TextRole::Caption, 382},
    {"RadioGroup1", TextRole::Caption, 382},
    {"RadioGroup2", TextRole::Caption, 382},
    {"RadioGroup4", TextRole::Caption, 382},
    {"RadioGroup8_0", TextRole::Caption, 384},
    {"RadioGroup8_1", TextRole::Caption, 385},
    {"RadioGroup1_0", TextRole::Caption, 384},
    {"RadioGroup1_1", TextRole::Caption, 385},
    {"RadioGroup2_0", TextRole::Caption, 384},
    {"RadioGroup2_1", TextRole::Caption, 385},
    {"RadioGroup4_0", TextRole::Caption, 384},
    {"RadioGroup4_1", TextRole::Caption, 385},
    {"GroupBox1", TextRole::Caption, 396},
    {"Label1", TextRole::Caption, 398},
    {"Label2", TextRole::Caption, 399},
    {"Label3", TextRole::Caption, 400},
    {"Label4", TextRole::Caption, 401},
    {"Label5", TextRole::Caption, 402},
    {"Label6", TextRole::Caption, 400},
    {"Label7", TextRole::Caption, 401},
    {"Label8", TextRole::Caption, 402},
    {"NumbersImport", TextRole::Caption, 394},
    {"NumbersExport", TextRole::Caption, 395},
    {"RadioGroup3", TextRole::Caption, 416},
    {"RadioGroup3_0", TextRole::Caption, 406},
    {"RadioGroup3_1", TextRole::Caption, 408},
    {"RadioGroup5", TextRole::Caption, 417},
    {"RadioGroup5_0", TextRole::Caption, 403},
    {"RadioGroup5_1", TextRole::Caption, 404},
    {"RadioGroup5_2", TextRole::Caption, 405},
    {"TyreSave", TextRole::Caption, 409},
    {"TyreLoad", TextRole::Caption, 410},
    {"Label9", TextRole::Caption, 411},
    {"Label10", TextRole::Caption, 412},
    {"CheckBox1", TextRole::Caption, 413},
    {"NextFrame", TextRole::Caption, 414},
    {"PreviousFrame", TextRole::Caption, 415},
    {"CheckBoxDither", TextRole::Caption, 921},
};

// The buttons every page's transfer group has, by the text they show.
constexpr const char* kPageNames[] = {"Car", "Cockpit", "Jack", "Helmet", "Crew", "Tyre", "Flag"};

} // namespace

GraphicsEditor::GraphicsEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm15", parent)
{
    setWindowTitle("Grafiken");
    // Nothing is shown while the controls are being made.
    filling_ = true;
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl2");
    pages_->addTab(buildJamPage(jamPages_[0], GraphicsPage::Cars, "ListBox6", "RadioGroup8"), "Autos");
    pages_->addTab(buildJamPage(jamPages_[1], GraphicsPage::Cockpits, "ListBox7", "RadioGroup1"), "Cockpits");
    pages_->addTab(buildJamPage(jamPages_[2], GraphicsPage::Jacks, "ListBox8", "RadioGroup2"), "Wagenheber");
    pages_->addTab(buildJamPage(jamPages_[3], GraphicsPage::Helmets, "ListBox5", "RadioGroup4"), "Helme");
    pages_->addTab(buildPitCrewPage(), "Boxencrew");
    pages_->addTab(buildTyresPage(), "Reifen");
    pages_->addTab(buildFlagsPage(), "Flaggen");
    for (int i = 0; i < kGraphicsPageCount; ++i)
        pages_->widget(i)->setObjectName(QString("TabSheet%1").arg(i + 1));
    layout->addWidget(pages_);
    // Pictures painted in true colour are reduced to the game palette when
    // they go into a software JAM; dithering is the user's choice.
    dither_ = new QCheckBox("Beim Reduzieren auf die Spielpalette rastern", this);
    dither_->setObjectName("CheckBoxDither");
    layout->addWidget(dither_);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, &GraphicsEditor::blinkCarOutline);
    timer2_ = new QTimer(this);
    timer2_->setObjectName("Timer2");
    timer2_->setInterval(100);
    connect(timer2_, &QTimer::timeout, this, &GraphicsEditor::advanceFlagFrame);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int) {
        if (!filling_)
            showPage();
    });
    fillLists();
}

Dithering GraphicsEditor::dithering() const
{
    return dither_->isChecked() ? Dithering::FloydSteinberg : Dithering::None;
}

GraphicsSet& GraphicsEditor::graphics() { return app_.workingSet().graphics; }
GraphicsEditorState& GraphicsEditor::state() { return app_.editorStates.graphics; }
bool GraphicsEditor::isLoaded(int item) const { return app_.workingSet().transfer.isLoaded(item); }
GraphicsPage GraphicsEditor::currentPage() const
{
    return static_cast<GraphicsPage>(std::max(0, pages_->currentIndex()));
}

int GraphicsEditor::pageTeam(GraphicsPage page) const
{
    switch (page) {
    case GraphicsPage::Cars:
    case GraphicsPage::Cockpits:
    case GraphicsPage::Jacks:
        return std::max(0, jamPages_[static_cast<std::size_t>(page)].list->currentRow());
    case GraphicsPage::PitCrew:
        return std::max(0, crewTeams_->currentRow());
    case GraphicsPage::Tyres:
        return tyreTypes_[1]->isChecked() ? 1 : 0;
    case GraphicsPage::Helmets:
    case GraphicsPage::Flags:
        break;
    }
    return 0;
}

int GraphicsEditor::pageVariant(GraphicsPage page) const
{
    const auto index = static_cast<std::size_t>(page);
    if (index < jamPages_.size())
        return jamPages_[index].variant[1]->isChecked() ? 1 : 0;
    return 0;
}

void GraphicsEditor::addTransferButtons(QWidget* parent, QLayout* layout, GraphicsPage page,
                                        std::vector<QPushButton*>& buttons)
{
    struct Command {
        const char* suffix;
        const char* caption;
        int text;
        bool all;
        bool toGame;
    };
    static constexpr Command kCommands[] = {{"Import", "Importieren", 390, false, false},
                                            {"Export", "Exportieren", 391, false, true},
                                            {"ImportAll", "Alles importieren", 392, true, false},
                                            {"ExportAll", "Alles exportieren", 393, true, true}};
    const char* prefix = kPageNames[static_cast<int>(page)];
    for (const Command& c : kCommands) {
        auto* button = new QPushButton(c.caption, parent);
        button->setObjectName(QString(prefix) + c.suffix);
        button->setProperty("uiText", c.text);
        layout->addWidget(button);
        buttons.push_back(button);
        connect(button, &QPushButton::clicked, this, [this, page, c] {
            runTransfer(c.all ? PageAllItems(page) : PageItems(page, pageTeam(page), pageVariant(page)), c.toGame);
        });
    }
}

void GraphicsEditor::fillLists()
{
    filling_ = true;
    const auto& teams = app_.workingSet().teams;
    const UITexts& texts = app_.program.texts;
    auto fillTeams = [&](QListWidget* list) {
        const int row = list->currentRow();
        list->clear();
        for (const auto& t : teams.teams)
            list->addItem(FromUntrustedGameText(t.name.text().substr(0, kTeamListChars)));
        list->setCurrentRow(std::max(0, row));
    };
    for (std::size_t i = 0; i < 3; ++i)
        fillTeams(jamPages_[i].list);
    fillTeams(crewTeams_);
    QListWidget* helmets = jamPages_[3].list;
    const int helmetRow = helmets->currentRow();
    helmets->clear();
    helmets->addItem(FromGameText(texts.text(kHelmetListFirst)));
    for (const auto& t : teams.teams)
        for (const auto& d : t.drivers)
            helmets->addItem(FromUntrustedGameText(d.name.text()));
    helmets->setCurrentRow(std::max(0, helmetRow));
    const int part = bodyParts_->currentRow();
    bodyParts_->clear();
    for (int n = 0; n < 13; ++n)
        bodyParts_->addItem(FromGameText(texts.text(kBodyPartFirst + n)));
    bodyParts_->setCurrentRow(std::max(0, part));
    const int flag = flagTypes_->currentRow();
    flagTypes_->clear();
    for (int n = 0; n < 4; ++n)
        flagTypes_->addItem(FromGameText(texts.text(kFlagTypeFirst + n)));
    flagTypes_->setCurrentRow(std::max(0, flag));
    filling_ = false;
}

void GraphicsEditor::store()
{
    storeNumbers();
    GraphicsEditorState& s = state();
    s.page = pages_->currentIndex();
    for (std::size_t i = 0; i < jamPages_.size(); ++i) {
        s.team[i] = std::max(0, jamPages_[i].list->currentRow());
        s.variant[i] = pageVariant(static_cast<GraphicsPage>(i));
    }
    s.helmet = s.team[3];
    s.team[static_cast<std::size_t>(GraphicsPage::PitCrew)] = pageTeam(GraphicsPage::PitCrew);
    s.team[static_cast<std::size_t>(GraphicsPage::Tyres)] = pageTeam(GraphicsPage::Tyres);
    s.bodyPart = std::max(0, bodyParts_->currentRow());
    s.texture = std::max(0, textures_->currentRow());
    s.flagType = std::max(0, flagTypes_->currentRow());
    s.tyreView = tyreViews_[2]->isChecked() ? 2 : tyreViews_[1]->isChecked() ? 1 : 0;
    s.animation = animation_->isChecked();
}

void GraphicsEditor::restore()
{
    fillLists();
    numbersTeam_ = -1;
    showPage();
}

void GraphicsEditor::setUp()
{
    const GraphicsEditorState& s = state();
    filling_ = true;
    for (std::size_t i = 0; i < jamPages_.size(); ++i) {
        jamPages_[i].list->setCurrentRow(i == 3 ? s.helmet : s.team[i]);
        jamPages_[i].variant[static_cast<std::size_t>(s.variant[i] == 1 ? 1 : 0)]->setChecked(true);
    }
    crewTeams_->setCurrentRow(s.team[static_cast<std::size_t>(GraphicsPage::PitCrew)]);
    tyreTypes_[static_cast<std::size_t>(s.team[static_cast<std::size_t>(GraphicsPage::Tyres)] == 1 ? 1 : 0)]
        ->setChecked(true);
    tyreViews_[static_cast<std::size_t>(std::clamp(s.tyreView, 0, 2))]->setChecked(true);
    bodyParts_->setCurrentRow(s.bodyPart);
    textures_->setCurrentRow(s.texture);
    flagTypes_->setCurrentRow(s.flagType);
    animation_->setChecked(s.animation);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kGraphicsPageCount - 1));
    filling_ = false;
    applyLanguage();
    showPage();
}

void GraphicsEditor::applyLanguage()
{
    ApplyTexts(this, kGraphicsTexts, app_.program.texts);
    const UITexts& texts = app_.program.texts;
    for (QPushButton* button : findChildren<QPushButton*>())
        if (const QVariant text = button->property("uiText"); text.isValid())
            button->setText(FromGameText(texts.text(text.toInt())));
    fillLists();
}

void GraphicsEditor::showEvent(QShowEvent* event)
{
    EditorWindow::showEvent(event);
    if (!filling_)
        showPage();
}

void GraphicsEditor::hideEvent(QHideEvent* event)
{
    // The base stores the fields and remembers the choices.
    timer1_->stop();
    timer2_->stop();
    EditorWindow::hideEvent(event);
}

bool GraphicsEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (int f = 0; f < kCarNumberFields; ++f)
            if (watched == numberFields_[static_cast<std::size_t>(f)])
                focusedField_ = f;
    return EditorWindow::eventFilter(watched, event);
}

void GraphicsEditor::showStatus()
{
    const GraphicsPage page = currentPage();
    const int team = pageTeam(page);
    const int item = PageLoadedItem(page, team, pageVariant(page));
    const bool loaded = isLoaded(item);
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
    const auto index = static_cast<std::size_t>(page);
    if (index < jamPages_.size()) {
        JamPage& p = jamPages_[index];
        const bool hardware = pageVariant(page) == 1;
        p.save->setEnabled(loaded);
        p.load->setEnabled(loaded);
        if (p.toHard)
            p.toHard->setEnabled(loaded && !hardware);
        p.toSoft->setEnabled(loaded && hardware);
        if (page == GraphicsPage::Cars) {
            const bool numbers = isLoaded(6);
            for (QLineEdit* field : numberFields_)
                field->setEnabled(numbers);
            for (QRadioButton* set : numberSets_)
                set->setEnabled(numbers);
        }
    } else if (page == GraphicsPage::PitCrew) {
        picker_->setEnabled(loaded);
        bodyParts_->setEnabled(loaded);
    } else if (page == GraphicsPage::Tyres) {
        tyreSave_->setEnabled(loaded);
        tyreLoad_->setEnabled(loaded);
    } else {
        for (GP3Image* grid : grids_)
            grid->setEnabled(loaded);
    }
}

void GraphicsEditor::showPage()
{
    const GraphicsPage page = currentPage();
    if (page == GraphicsPage::Cars)
        timer1_->start();
    else
        timer1_->stop();
    if (page == GraphicsPage::Flags && animation_->isChecked())
        timer2_->start();
    else
        timer2_->stop();
    showStatus();
    const auto index = static_cast<std::size_t>(page);
    if (index < jamPages_.size()) {
        if (page == GraphicsPage::Cars)
            showNumbers();
        drawJamPage(jamPages_[index]);
    } else if (page == GraphicsPage::PitCrew) {
        drawPitCrew();
    } else if (page == GraphicsPage::Tyres) {
        drawTyres();
    } else {
        drawFlags();
    }
}

void GraphicsEditor::runTransfer(const std::vector<int>& items, bool toGame)
{
    // The fields hold the car-number positions being typed: they go into
    // the working set unless this import replaces them.
    const bool importsNumbers = !toGame && std::find(items.begin(), items.end(), kCarNumbersItem) != items.end();
    if (!importsNumbers)
        storeNumbers();
    auto& transfer = app_.workingSet().transfer;
    transfer.selection = {};
    for (int item : items)
        transfer.selection.at(static_cast<std::size_t>(item)) = 1;
    TransferUi ui = app_.transferUi();
    if (toGame) {
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
        showStatus();
        return;
    }
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    numbersTeam_ = -1; // the fields show the imported values
    fillLists();
    showPage();
}

void GraphicsEditor::blinkCarOutline()
{
    blink_ = !blink_;
    if (currentPage() == GraphicsPage::Cars)
        drawCarPicture();
}

void GraphicsEditor::advanceFlagFrame() { stepFrame(1); }

} // namespace pitwall::gui
