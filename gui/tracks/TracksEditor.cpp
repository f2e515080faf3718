#include "TracksEditor.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "ExportArtExpansion.h"
#include "GameTextGuard.h"
#include "LanguageTable.h"
#include "SwapListWidget.h"
#include "TrackInfoPages.h"
#include "TrackPicturePages.h"
#include "TrackRacePages.h"
#include "TrackSetupPages.h"
#include "TracksEditorWidgets.h"
#include "base/FileUtils.h"
#include "session/WorkingFiles.h"
#include "tracks/TrackEditing.h"
#include "tracks/TracksArea.h"
#include "transfer/SelectionItems.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

using namespace tracks;

namespace {

// Captions the language files give this window: the window, the left
// column and the page titles. The pages label their own controls.
constexpr TextBinding kTracksEditorTexts[] = {
    {"", TextRole::Caption, 86},
    {"Label1", TextRole::Caption, 318},
    {"GroupBox1", TextRole::Caption, 319},
    {"Button16", TextRole::Caption, 328},
    {"Button15", TextRole::Caption, 329},
    {"Button1", TextRole::Caption, 330},
    {"Button2", TextRole::Caption, 320},
    {"Button3", TextRole::Caption, 321},
    {"Button33", TextRole::Caption, 323},
    {"Button36", TextRole::Caption, 327},
    {"CheckBox3", TextRole::Caption, 4},
    {"TabSheet1", TextRole::TabTitle, 308},
    {"TabSheet2", TextRole::TabTitle, 309},
    {"TabSheet3", TextRole::TabTitle, 310},
    {"TabSheet4", TextRole::TabTitle, 311},
    {"TabSheet5", TextRole::TabTitle, 312},
    {"TabSheet6", TextRole::TabTitle, 313},
    {"TabSheet7", TextRole::TabTitle, 314},
    {"TabSheet8", TextRole::TabTitle, 315},
    {"TabSheet9", TextRole::TabTitle, 316},
    {"TabSheet10", TextRole::TabTitle, 317},
};

constexpr int kTrackEntryText = 1050;

const char* const kPageTitles[TracksEditor::kPageCount] = {"Rekorde",
                                                           "Streckendaten",
                                                           "Boxenstopp-Daten",
                                                           "Streckeninformation",
                                                           "Streckengrafiken",
                                                           "Computer-Wagen Setup",
                                                           "Bodenwellen",
                                                           "GP3INFO",
                                                           "Streckenabschnitte",
                                                           "Texte"};

} // namespace

TracksEditor::TracksEditor(AppContext& app, QWidget* parent)
    : EditorWindow(app, "TForm13", parent), context_{app, -1, false, {}, {}}
{
    context_.storeSlot = [this] { storeSlot(); };
    context_.showSlot = [this] { showSlot(context_.shown); };
    setWindowTitle("Strecken");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;
    body->addWidget(buildLeftColumn());
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    // Ten pages: in German their titles need more room than a 1280-pixel
    // screen has. Shortened titles keep every page one click away, where
    // scroll arrows would hide some.
    pages_->setUsesScrollButtons(false);
    pages_->setElideMode(Qt::ElideRight);
    auto* records = new TrackRecordsPage(context_, pages_);
    auto* trackData = new TrackDataPage(context_, pages_);
    auto* pitStops = new TrackPitStopPage(context_, *trackData, pages_);
    auto* jams = new TrackJamsPage(context_, pages_);
    pictures_ = new TrackPicturesPage(context_, pages_);
    auto* setup = new TrackSetupPage(context_, pages_);
    auto* bumps = new TrackBumpsPage(context_, pages_);
    auto* gp3Info = new TrackGp3InfoPage(context_, pages_);
    auto* sections = new TrackSectionsPage(context_, pages_);
    auto* texts = new TrackTextsPage(context_, pages_);
    pageList_ = {records, trackData, pitStops, jams, pictures_, setup, bumps, gp3Info, sections, texts};
    for (int p = 0; p < kPageCount; ++p) {
        TrackPage* page = pageList_[static_cast<std::size_t>(p)];
        page->setObjectName(QString("TabSheet%1").arg(p + 1));
        pages_->addTab(page, kPageTitles[p]);
    }
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

QWidget* TracksEditor::buildLeftColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label(column, "Label1", "Strecken:"));
    trackList_ = new SwapListWidget("application/x-pitwall-track-slot", column);
    trackList_->setObjectName("ListBox2");
    trackList_->setFixedWidth(200);
    trackList_->canDrag = [this](int) { return dragTracks_->isChecked(); };
    trackList_->setDragEnabled(false);
    trackList_->setAcceptDrops(false);
    layout->addWidget(trackList_, 1);

    auto* moves = new QHBoxLayout;
    const std::pair<const char*, const char*> moveButtons[] = {
        {"Button33", "Oben"}, {"Button34", "-1"}, {"Button35", "+1"}, {"Button36", "Unten"}};
    // "-1" and "+1" stay narrow so that "Oben" and "Unten" have room in
    // every language.
    for (const auto& [name, caption] : moveButtons) {
        QPushButton* b = Button(column, name, caption);
        const bool step = caption[0] == '-' || caption[0] == '+';
        if (step)
            b->setFixedWidth(34);
        moves->addWidget(b, step ? 0 : 1);
    }
    layout->addLayout(moves);
    dragTracks_ = new QCheckBox("Drag 'n Drop", column);
    dragTracks_->setObjectName("CheckBox3");
    layout->addWidget(dragTracks_);

    auto* transfer = new QGroupBox("Import / Export:", column);
    transfer->setObjectName("GroupBox1");
    auto* buttons = new QVBoxLayout(transfer);
    const std::pair<const char*, const char*> captions[] = {
        {"Button16", "Importieren"},      {"Button15", "Exportieren"},      {"Button1", "Standard"},
        {"Button2", "Alles importieren"}, {"Button3", "Alles exportieren"},
    };
    for (const auto& [name, caption] : captions)
        buttons->addWidget(Button(transfer, name, caption));
    layout->addWidget(transfer);

    connect(trackList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || context_.busy || row == context_.shown)
            return;
        storeSlot();
        state().slot = row;
        showSlot(row);
    });
    connect(trackList_, &SwapListWidget::swapRequested, this, [this](int dragged, int target) {
        storeSlot();
        ExchangeTracks(table(), app_.workingSet().transfer, app_.program.directories.working, dragged, target);
        state().slot = target;
        showAll();
    });
    // The setting follows the box at once: the program may be quit with
    // the editor still open, and the settings are written before it goes.
    connect(dragTracks_, &QCheckBox::toggled, this, [this](bool on) {
        trackList_->setDragEnabled(on);
        trackList_->setAcceptDrops(on);
        app_.program.settings.dndTracks = on;
    });
    connect(column->findChild<QPushButton*>("Button33"), &QPushButton::clicked, this, [this] { moveSelected(0); });
    connect(column->findChild<QPushButton*>("Button34"), &QPushButton::clicked, this,
            [this] { moveSelected(std::max(0, state().slot - 1)); });
    connect(column->findChild<QPushButton*>("Button35"), &QPushButton::clicked, this,
            [this] { moveSelected(std::min(kTrackCount - 1, state().slot + 1)); });
    connect(column->findChild<QPushButton*>("Button36"), &QPushButton::clicked, this,
            [this] { moveSelected(kTrackCount - 1); });
    connect(transfer->findChild<QPushButton*>("Button16"), &QPushButton::clicked, this,
            [this] { runTransfer(false, false); });
    connect(transfer->findChild<QPushButton*>("Button15"), &QPushButton::clicked, this,
            [this] { runTransfer(true, false); });
    connect(transfer->findChild<QPushButton*>("Button2"), &QPushButton::clicked, this,
            [this] { runTransfer(false, true); });
    connect(transfer->findChild<QPushButton*>("Button3"), &QPushButton::clicked, this,
            [this] { runTransfer(true, true); });
    connect(transfer->findChild<QPushButton*>("Button1"), &QPushButton::clicked, this, [this] {
        std::vector<std::uint8_t> items;
        for (int item : TrackItems())
            items.push_back(static_cast<std::uint8_t>(item));
        app_.workingSet().transfer.selection = BuildSelection(items);
        TransferUi ui = app_.transferUi();
        std::string standard = IncludeTrailingBackslash(app_.program.directories.program) + "Standard.DAT";
        app_.engine().loadCarset(ItemChoice::AsSelected, standard, ui, CarsetInformation::Keep);
        showAll();
    });
    return column;
}

TrackTable& TracksEditor::table() { return context_.table(); }
TracksEditorState& TracksEditor::state() { return context_.state(); }

void TracksEditor::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    ApplyTexts(this, kTracksEditorTexts, texts);
    for (TrackPage* page : pageList_)
        page->applyLanguage(texts);
    fillTrackList();
}

void TracksEditor::setUp()
{
    TracksEditorState& s = state();
    dragTracks_->setChecked(app_.program.settings.dndTracks);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kPageCount - 1));
    showAll();
}

void TracksEditor::restore() { showAll(); }

void TracksEditor::store()
{
    storeSlot();
    app_.program.settings.dndTracks = dragTracks_->isChecked();
}

QString TracksEditor::recordOf(const QWidget* control) const
{
    return Within(control, pages_) ? TrackRecordName(app_, context_.shown) : QString();
}

void TracksEditor::showAll()
{
    const TransferState& transfer = app_.workingSet().transfer;
    bool any = false;
    for (int item : TrackItems())
        any = any || transfer.isLoaded(item);
    SetupEditorStatusBar(statusBar_, any, true, app_);
    fillTrackList();
    context_.shown = -1;
    showSlot(std::clamp(state().slot, 0, kTrackCount - 1));
}

void TracksEditor::fillTrackList()
{
    QSignalBlocker block(trackList_);
    trackList_->clear();
    for (int t = 0; t < kTrackCount; ++t)
        trackList_->addItem(QString());
    updateTrackEntries();
    trackList_->setCurrentRow(std::clamp(state().slot, 0, kTrackCount - 1));
}

// The entries name each track by its English city, which the texts page and
// GP3INFO's "Take" buttons change.
void TracksEditor::updateTrackEntries()
{
    for (int t = 0; t < kTrackCount && t < trackList_->count(); ++t) {
        const std::string city = table().info[static_cast<std::size_t>(t)].texts[0][1].text();
        trackList_->item(t)->setText(city.empty()
                                         ? FromGameText(app_.program.texts.format(kTrackEntryText, Args(t + 1)))
                                         : QString("%1. %2").arg(t + 1).arg(FromUntrustedGameText(city)));
    }
}

void TracksEditor::showSlot(int slot)
{
    context_.shown = slot;
    const TransferState& transfer = app_.workingSet().transfer;
    const bool infoLoaded = transfer.isLoaded(TrackInfoItem(slot));
    const bool sectionsLoaded = transfer.isLoaded(TrackSectionsItem(slot));
    for (int p = 0; p < kPageCount; ++p)
        pages_->widget(p)->setEnabled(p == kPicturesPage || p == kSectionsPage ? sectionsLoaded : infoLoaded);
    for (TrackPage* page : pageList_)
        page->showSlot();
    updateTrackEntries();
}

void TracksEditor::storeSlot()
{
    if (context_.shown < 0 || context_.busy)
        return;
    for (TrackPage* page : pageList_)
        page->storeSlot();
    updateTrackEntries();
}

void TracksEditor::loadPicture(const std::string& file) { pictures_->loadPicture(file); }

void TracksEditor::moveSelected(int to)
{
    storeSlot();
    const int from = state().slot;
    MoveTrack(table(), app_.workingSet().transfer, app_.program.directories.working, from, to);
    state().slot = std::clamp(to, 0, kTrackCount - 1);
    showAll();
}

void TracksEditor::runTransfer(bool exportToGame, bool everything)
{
    storeSlot();
    std::vector<std::uint8_t> items;
    if (everything) {
        for (int item : TrackItems())
            items.push_back(static_cast<std::uint8_t>(item));
    } else {
        const int slot = state().slot;
        const int page = pages_->currentIndex();
        items.push_back(static_cast<std::uint8_t>(
            page == kPicturesPage || page == kSectionsPage ? TrackSectionsItem(slot) : TrackInfoItem(slot)));
    }
    app_.workingSet().transfer.selection = BuildSelection(items);
    TransferUi ui = app_.transferUi();
    context_.busy = true;
    if (exportToGame) {
        ExpansionChoiceForOneExport expansion(app_); // the workshop sees an enlarged bank
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    } else
        app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    context_.busy = false;
    showAll();
}

std::vector<std::string> TracksEditor::workingFiles() const { return TrackPictureWorkingFiles(app_.program.directories.working); }

} // namespace pitwall::gui
