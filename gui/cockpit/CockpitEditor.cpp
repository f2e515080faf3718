#include "CockpitEditor.h"

#include "AppContext.h"
#include "CockpitGraphicsPage.h"
#include "CockpitLcdPage.h"
#include "CockpitPositionPages.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "QtMessages.h"

#include "cockpit/CockpitData.h"
#include "transfer/SelectionItems.h"

#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kGraphicsLoadedText = 513;
constexpr int kGraphicsMissingText = 517;

constexpr TextBinding kCockpitEditorTexts[] = {
    {"", TextRole::Caption, 482},
    {"TabSheet1", TextRole::TabTitle, 483},
    {"TabSheet2", TextRole::TabTitle, 484},
    {"TabSheet3", TextRole::TabTitle, 485},
    {"TabSheet4", TextRole::TabTitle, 486},
    {"RadioGroup1", TextRole::Caption, 487},
    {"RadioGroup2", TextRole::Caption, 487},
    {"RadioGroup3", TextRole::Caption, 487},
    {"RadioGroup4", TextRole::Caption, 487},
    {"Software1", TextRole::Caption, 488},
    {"Software2", TextRole::Caption, 488},
    {"Software3", TextRole::Caption, 488},
    {"Software4", TextRole::Caption, 488},
    {"Hardware1", TextRole::Caption, 489},
    {"Hardware2", TextRole::Caption, 489},
    {"Hardware3", TextRole::Caption, 489},
    {"Hardware4", TextRole::Caption, 489},
    {"Button1", TextRole::Caption, 490},
    {"Button2", TextRole::Caption, 491},
    {"Button3", TextRole::Caption, 492},
    {"Button4", TextRole::Caption, 493},
    {"Button5", TextRole::Caption, 494},
    {"Button6", TextRole::Caption, 495},
    {"Button7", TextRole::Caption, 496},
    {"Button8", TextRole::Caption, 497},
    {"Button9", TextRole::Caption, 498},
    {"Button10", TextRole::Caption, 499},
    {"Button11", TextRole::Caption, 490},
    {"Button12", TextRole::Caption, 498},
    {"Button13", TextRole::Caption, 499},
    {"Button14", TextRole::Caption, 490},
    {"Button15", TextRole::Caption, 498},
    {"Button16", TextRole::Caption, 499},
    {"Button17", TextRole::Caption, 511},
    {"Button18", TextRole::Caption, 512},
    {"Button19", TextRole::Caption, 490},
    {"Label1", TextRole::Caption, 500},
    {"Label2", TextRole::Caption, 501},
    {"Label3", TextRole::Caption, 501},
    {"Label4", TextRole::Caption, 502},
    {"Label5", TextRole::Caption, 503},
    {"Label6", TextRole::Caption, 504},
    {"Label7", TextRole::Caption, 506},
    {"Label8", TextRole::Caption, 507},
    {"Label9", TextRole::Caption, 508},
    {"CheckBox1", TextRole::Caption, 510},
};

} // namespace

CockpitEditor::CockpitEditor(AppContext& app, QWidget* parent)
    : EditorWindow(app, "TForm16", parent), context_{app, false, {}, {}, {}, {}, {}}
{
    context_.redraw = [this] { redraw(); };
    context_.updateStatus = [this] { updateStatus(); };
    context_.chooseVariant = [this](int variant) { chooseVariant(variant); };
    context_.runImport = [this](const std::vector<int>& items) { runImport(items); };
    context_.runExport = [this](const std::vector<int>& items) { runExport(items); };
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl6");
    pageList_[kGraphicsPage] = new CockpitGraphicsPage(context_, kGraphicsPage, pages_);
    pageList_[kObjectsPage] = new CockpitObjectsPage(context_, kObjectsPage, pages_);
    pageList_[kTextsPage] = new CockpitLcdTextsPage(context_, kTextsPage, pages_);
    pageList_[kLcdPage] = new CockpitLcdPage(context_, kLcdPage, pages_);
    for (int p = 0; p < kPageCount; ++p) {
        pageList_[static_cast<std::size_t>(p)]->setObjectName(QString("TabSheet%1").arg(p + 1));
        pages_->addTab(pageList_[static_cast<std::size_t>(p)], QString());
    }
    // The emulated LCD is drawn again once a second.
    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (pages_->currentIndex() == kLcdPage && !transferRunning())
            redraw();
    });
    timer_->start();
    layout->addWidget(pages_);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        context_.state().page = page;
        updateStatus();
        redraw();
    });
}

QString CockpitEditor::recordOf(const QWidget* control) const
{
    for (const CockpitPage* page : pageList_)
        if (Within(control, page))
            return RecordParts({PageTitleOf(pages_, control), page->record()});
    return {};
}

CockpitPage* CockpitEditor::currentPage() const
{
    return pageList_[static_cast<std::size_t>(std::clamp(pages_->currentIndex(), 0, kPageCount - 1))];
}

void CockpitEditor::runImport(const std::vector<int>& items)
{
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::vector<std::uint8_t>(items.begin(), items.end()));
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    showAll();
}

void CockpitEditor::runExport(const std::vector<int>& items)
{
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::vector<std::uint8_t>(items.begin(), items.end()));
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    // Writing the displays sorts their elements: show the order written, and
    // the history takes it as no edit.
    app_.session.edits.adopt(app_.workingSet());
    showAll();
}

void CockpitEditor::applyLanguage()
{
    ApplyTexts(this, kCockpitEditorTexts, app_.program.texts);
    showAll();
}

void CockpitEditor::setUp()
{
    CockpitEditorState& s = context_.state();
    if (s.object == 255)
        s.object = 0;
    if (s.lcdText == 255)
        s.lcdText = 0;
    ApplyTexts(this, kCockpitEditorTexts, app_.program.texts);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kPageCount - 1));
    showAll();
}

void CockpitEditor::restore() { showAll(); }

void CockpitEditor::store()
{
    for (CockpitPage* page : pageList_)
        page->store();
}

void CockpitEditor::chooseVariant(int variant)
{
    context_.state().variant = variant;
    context_.showing = true;
    for (CockpitPage* page : pageList_)
        page->showVariant(variant);
    context_.showing = false;
    updateStatus();
    redraw();
}

void CockpitEditor::showAll()
{
    chooseVariant(context_.state().variant);
    for (CockpitPage* page : pageList_)
        page->showState();
    updateStatus();
    redraw();
}

void CockpitEditor::updateStatus()
{
    const UITexts& texts = app_.program.texts;
    const bool graphics = context_.loaded(CockpitGraphicsItem(context_.state().variant));
    for (CockpitPage* page : pageList_)
        page->showStatusText(FromGameText(texts.text(graphics ? kGraphicsLoadedText : kGraphicsMissingText)));
    SetupEditorStatusBar(statusBar_, context_.loaded(currentPage()->statusItem()), true, app_);
}

// The cockpit set the pages draw over, with what the current page draws on
// it.
void CockpitEditor::redraw()
{
    const CockpitEditorState& s = context_.state();
    const CockpitGraphicsSet& set = context_.cockpit().graphics[static_cast<std::size_t>(s.variant)];
    const bool graphics = context_.loaded(CockpitGraphicsItem(s.variant)) && set.loaded();
    shown_ = currentPage()->picture(graphics ? set.preview : Image(kCockpitPreviewWidth, kCockpitPreviewHeight));
    currentPage()->showPicture(shown_, 1);
}

} // namespace pitwall::gui
