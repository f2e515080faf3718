#include "GraphicsEditor.h"

#include "AppContext.h"
#include "CarNumbersBox.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "ExportArtExpansion.h"
#include "GraphicsColourPages.h"
#include "GraphicsJamPages.h"
#include "LanguageTable.h"
#include "QtMessages.h"
#include "graphics/CarNumbersArea.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

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

} // namespace

GraphicsEditor::GraphicsEditor(AppContext& app, QWidget* parent)
    : EditorWindow(app, "TForm15", parent), context_{app, true, {}, {}, {}}
{
    setWindowTitle("Grafiken");
    // Nothing is shown while the controls are being made.
    context_.showPage = [this] { showPage(); };
    context_.transfer = [this](const std::vector<int>& items, bool toGame) { runTransfer(items, toGame); };
    context_.dithering = [this] { return dither_->isChecked() ? Dithering::FloydSteinberg : Dithering::None; };
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl2");
    carPage_ = new GraphicsJamPage(context_, GraphicsPage::Cars, "ListBox6", "RadioGroup8", pages_);
    auto* cockpits = new GraphicsJamPage(context_, GraphicsPage::Cockpits, "ListBox7", "RadioGroup1", pages_);
    auto* jacks = new GraphicsJamPage(context_, GraphicsPage::Jacks, "ListBox8", "RadioGroup2", pages_);
    auto* helmets = new GraphicsJamPage(context_, GraphicsPage::Helmets, "ListBox5", "RadioGroup4", pages_);
    auto* pitCrew = new GraphicsPitCrewPage(context_, pages_);
    auto* tyres = new GraphicsTyresPage(context_, pages_);
    flagsPage_ = new GraphicsFlagsPage(context_, pages_);
    pageList_ = {carPage_, cockpits, jacks, helmets, pitCrew, tyres, flagsPage_};
    const char* const titles[kGraphicsPageCount] = {"Autos",     "Cockpits", "Wagenheber", "Helme",
                                                    "Boxencrew", "Reifen",   "Flaggen"};
    for (int i = 0; i < kGraphicsPageCount; ++i) {
        pages_->addTab(pageList_[static_cast<std::size_t>(i)], titles[i]);
        pages_->widget(i)->setObjectName(QString("TabSheet%1").arg(i + 1));
    }
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
        if (!context_.filling)
            showPage();
    });
    fillLists();
}

GraphicsPage GraphicsEditor::currentPage() const
{
    return static_cast<GraphicsPage>(std::max(0, pages_->currentIndex()));
}

QString GraphicsEditor::recordOf(const QWidget* control) const
{
    for (const GraphicsEditorPage* p : pageList_)
        if (Within(control, p))
            return RecordParts({PageTitleOf(pages_, control), p->record()});
    return {};
}

GraphicsEditorPage* GraphicsEditor::page(GraphicsPage page) const { return pageList_[static_cast<std::size_t>(page)]; }

bool GraphicsEditor::blinkOn() const { return carPage_->blinkOn(); }
int GraphicsEditor::flagFrame() const { return flagsPage_->frame(); }
const QImage& GraphicsEditor::carPicture() const { return carPage_->carPicture(); }

void GraphicsEditor::fillLists()
{
    context_.filling = true;
    for (GraphicsEditorPage* p : pageList_)
        p->fillLists();
    context_.filling = false;
}

void GraphicsEditor::store()
{
    carPage_->carNumbers()->storeNumbers();
    GraphicsEditorState& s = app_.editorStates.graphics;
    s.page = pages_->currentIndex();
    for (GraphicsEditorPage* p : pageList_)
        p->storeChoices(s);
}

void GraphicsEditor::restore()
{
    fillLists();
    carPage_->carNumbers()->forgetShownNumbers();
    showPage();
}

void GraphicsEditor::setUp()
{
    const GraphicsEditorState& s = app_.editorStates.graphics;
    context_.filling = true;
    for (GraphicsEditorPage* p : pageList_)
        p->setUpChoices(s);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kGraphicsPageCount - 1));
    context_.filling = false;
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
    if (!context_.filling)
        showPage();
}

void GraphicsEditor::hideEvent(QHideEvent* event)
{
    // The base stores the fields and remembers the choices.
    timer1_->stop();
    timer2_->stop();
    EditorWindow::hideEvent(event);
}

void GraphicsEditor::showStatus()
{
    GraphicsEditorPage* shown = page(currentPage());
    const bool loaded = context_.isLoaded(PageLoadedItem(shown->kind(), shown->team(), shown->variant()));
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
    shown->enableControls(loaded);
}

void GraphicsEditor::showPage()
{
    const GraphicsPage shown = currentPage();
    if (shown == GraphicsPage::Cars)
        timer1_->start();
    else
        timer1_->stop();
    if (shown == GraphicsPage::Flags && flagsPage_->animates())
        timer2_->start();
    else
        timer2_->stop();
    showStatus();
    page(shown)->draw();
}

void GraphicsEditor::runTransfer(const std::vector<int>& items, bool toGame)
{
    // The fields hold the car-number positions being typed: they go into
    // the working set unless this import replaces them.
    const bool importsNumbers = !toGame && std::find(items.begin(), items.end(), kCarNumbersItem) != items.end();
    if (!importsNumbers)
        carPage_->carNumbers()->storeNumbers();
    auto& transfer = app_.workingSet().transfer;
    transfer.selection = {};
    for (int item : items)
        transfer.selection.at(static_cast<std::size_t>(item)) = 1;
    TransferUi ui = app_.transferUi();
    if (toGame) {
        ExpansionChoiceForOneExport expansion(app_); // the workshop sees an enlarged bank
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
        showStatus();
        return;
    }
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    carPage_->carNumbers()->forgetShownNumbers(); // the fields show the imported values
    fillLists();
    showPage();
}

void GraphicsEditor::blinkCarOutline()
{
    if (!transferRunning())
        carPage_->blinkCarOutline(currentPage() == GraphicsPage::Cars);
}

void GraphicsEditor::advanceFlagFrame()
{
    if (!transferRunning())
        flagsPage_->stepFrame(1);
}

} // namespace pitwall::gui
