#include "TracksEditor.h"

#include "AppContext.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "SwapListWidget.h"
#include "TracksEditorWidgets.h"
#include "base/FileUtils.h"
#include "tracks/TrackEditing.h"
#include "tracks/TracksArea.h"
#include "transfer/SelectionItems.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

using namespace tracks;

namespace {

// Captions the language files give this window: the window, the left
// column and the page titles. The pages' own labels follow in their files.
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
    {"Button7", TextRole::Caption, 331},
    {"Button8", TextRole::Caption, 332},
    {"BitBtn22", TextRole::Caption, 333},
    {"BitBtn23", TextRole::Caption, 334},
    {"BitBtn24", TextRole::Caption, 335},
    {"Button9", TextRole::Caption, 336},
    {"Label40", TextRole::Caption, 340},
    {"BitBtn25", TextRole::Caption, 338},
    {"BitBtn1", TextRole::Caption, 339},
    {"Button64", TextRole::Caption, 341},
    {"Button63", TextRole::Caption, 342},
    {"Button12", TextRole::Caption, 343},
    {"Button11", TextRole::Caption, 344},
    {"CheckBox1", TextRole::Caption, 345},
    {"GroupBox20", TextRole::Caption, 356},
    {"Button40", TextRole::Caption, 350},
    {"Label60", TextRole::Caption, 360},
    {"Label66", TextRole::Caption, 362},
    {"GroupBox2", TextRole::Caption, 363},
    {"GroupBox3", TextRole::Caption, 364},
    {"Label10", TextRole::Caption, 369},
    {"Label11", TextRole::Caption, 370},
    {"Label12", TextRole::Caption, 371},
    {"Label13", TextRole::Caption, 372},
    {"CheckBox3", TextRole::Caption, 4},
    // Track data.
    {"Label14", TextRole::Caption, 1052},
    {"Label15", TextRole::Caption, 1053},
    {"Label16", TextRole::Caption, 1054},
    {"Label17", TextRole::Caption, 1055},
    {"Label20", TextRole::Caption, 1057},
    {"Label21", TextRole::Caption, 1058},
    // Track pictures and sections.
    {"Label80", TextRole::Caption, 1063},
    {"Label81", TextRole::Caption, 1065},
    {"Label82", TextRole::Caption, 1067},
    {"Label90", TextRole::Caption, 1065},
    {"ListView3", TextRole::Column, 1082, 0},
    {"ListView3", TextRole::Column, 1083, 1},
    {"ListView3", TextRole::Column, 1084, 2},
    {"GroupBox50", TextRole::Caption, 1085},
    // Bumps.
    {"GroupBox30", TextRole::Caption, 1071},
    {"GroupBox31", TextRole::Caption, 1072},
    {"ListView1", TextRole::Column, 1073, 0},
    {"ListView1", TextRole::Column, 1074, 1},
    {"ListView1", TextRole::Column, 1075, 2},
    // GP3INFO: the buttons carry the names of the entries they take.
    {"ListView2", TextRole::Column, 1078, 0},
    {"ListView2", TextRole::Column, 1079, 1},
    {"CheckBox2", TextRole::Caption, 1080},
    {"GroupBox40", TextRole::Caption, 1081},
    {"Button41", TextRole::Caption, 964},
    {"Button42", TextRole::Caption, 965},
    {"Button43", TextRole::Caption, 968},
    {"Button44", TextRole::Caption, 971},
    {"Button45", TextRole::Caption, 974},
    {"Button46", TextRole::Caption, 976},
    {"Button47", TextRole::Caption, 975},
    {"Button48", TextRole::Caption, 973},
    {"Button48", TextRole::Hint, 1090},
};

// Texts with a number in them, and texts that caption several controls
// (their lines are separated by "|").
constexpr int kTrackEntryText = 1050, kRecordLabelsText = 1051, kPracticeDaysText = 1056;
constexpr int kStrategyGroupText = 1059, kShareText = 1060, kStopLapText = 1061, kStopWindowText = 1062;
constexpr int kPictureKindsText = 1064, kViewEntryText = 1066, kWingsText = 1069, kGearText = 1070;
constexpr int kCornersText = 1086, kCountryText = 1088, kAllTracksText = 1089;
constexpr int kBumpLabelsText[3] = {1073, 1074, 1075};
constexpr int kSectionLabelsText[3] = {1082, 1083, 1084};

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

TracksEditor::TracksEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm13", parent)
{
    setWindowTitle("Strecken");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;
    body->addWidget(buildLeftColumn());
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    QWidget* pages[kPageCount] = {buildRecordsPage(),  buildTrackDataPage(), buildPitStopPage(), buildTrackInfoPage(),
                                  buildPicturesPage(), buildSetupPage(),     buildBumpsPage(),   buildGp3InfoPage(),
                                  buildSectionsPage(), buildTextsPage()};
    for (int p = 0; p < kPageCount; ++p) {
        pages[p]->setObjectName(QString("TabSheet%1").arg(p + 1));
        pages_->addTab(pages[p], kPageTitles[p]);
    }
    body->addWidget(pages_, 1);
    layout->addLayout(body, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

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
        if (row < 0 || busy_ || row == shown_)
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

TrackTable& TracksEditor::table() { return app_.workingSet().tracks; }
TracksEditorState& TracksEditor::state() { return app_.editorStates.tracks; }
TrackInfo& TracksEditor::info()
{
    return table().info[static_cast<std::size_t>(std::clamp(shown_, 0, kTrackCount - 1))];
}

void TracksEditor::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    ApplyTexts(this, kTracksEditorTexts, texts);
    auto caption = [this](const QString& name, const QString& text) {
        if (auto* label = findChild<QLabel*>(name))
            label->setText(text);
        else if (auto* button = findChild<QAbstractButton*>(name))
            button->setText(text);
        else if (auto* group = findChild<QGroupBox*>(name))
            group->setTitle(text);
    };
    auto lines = [&texts](int number) { return TextLines(FromGameText(texts.text(number))); };
    auto line = [&lines](int number, int index) { return lines(number).value(index); };
    auto entries = [](QComboBox* combo, const QStringList& list) {
        QSignalBlocker block(combo);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, list.value(i));
    };

    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 4; ++i)
            caption(QString("Label%1").arg(22 + 4 * r + i), line(kRecordLabelsText, i));
    entries(practiceDay_, lines(kPracticeDaysText));
    for (int g = 0; g < 3; ++g) {
        caption(QString("GroupBox%1").arg(10 + g), FromGameText(texts.format(kStrategyGroupText, Args(g + 1))));
        caption(QString("Label%1").arg(120 + g), FromGameText(texts.text(kShareText)));
        for (int s = 0; s <= g; ++s) {
            caption(QString("Label%1").arg(130 + 3 * g + s), FromGameText(texts.format(kStopLapText, Args(s + 1))));
            caption(QString("Label%1").arg(140 + 3 * g + s), line(kStopWindowText, 0));
            caption(QString("Label%1").arg(150 + 3 * g + s), line(kStopWindowText, 1));
        }
    }
    entries(pictureKind_, lines(kPictureKindsText));
    QStringList views;
    for (int v = 0; v < kTrackViews; ++v)
        views << FromGameText(texts.format(kViewEntryText, Args(v + 1)));
    entries(pictureView_, views);
    entries(sectionsView_, views);
    caption("Label100", line(kWingsText, 0));
    caption("Label101", line(kWingsText, 1));
    for (int gear = 1; gear <= 6; ++gear)
        caption(QString("Label%1").arg(101 + gear), FromGameText(texts.format(kGearText, Args(gear))));
    for (int i = 0; i < 3; ++i) {
        caption(QString("Label%1").arg(160 + i), FromGameText(texts.text(kBumpLabelsText[i])) + ":");
        caption(QString("Label%1").arg(170 + i), FromGameText(texts.text(kSectionLabelsText[i])) + ":");
    }
    caption("Label173", line(kCornersText, 0));
    caption("Label174", line(kCornersText, 1));
    for (int k = 1; k <= 5; ++k)
        caption(QString("Label%1").arg(60 + k), FromGameText(texts.format(kCountryText, Args(k))));
    for (int k = 0; k < kTrackTextKinds; ++k)
        caption(QString("Button%1").arg(70 + k), FromGameText(texts.text(kAllTracksText)));
    fillTrackList();
    // What the pages show in the language's own words.
    if (shown_ >= 0) {
        showTrackInfo();
        showGp3Info();
        showSectionLimits();
    }
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

void TracksEditor::showAll()
{
    const TransferState& transfer = app_.workingSet().transfer;
    bool any = false;
    for (int item : TrackItems())
        any = any || transfer.isLoaded(item);
    SetupEditorStatusBar(statusBar_, any, true, app_);
    fillTrackList();
    shown_ = -1;
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
    shown_ = slot;
    const TransferState& transfer = app_.workingSet().transfer;
    const bool infoLoaded = transfer.isLoaded(TrackInfoItem(slot));
    const bool sectionsLoaded = transfer.isLoaded(TrackSectionsItem(slot));
    for (int p = 0; p < kPageCount; ++p)
        pages_->widget(p)->setEnabled(p == kPicturesPage || p == kSectionsPage ? sectionsLoaded : infoLoaded);
    showRecords();
    showTrackData();
    showStrategies();
    showSetup();
    showBumps();
    showTrackInfo();
    showGp3Info();
    showTexts();
    showPicture();
    showSections();
    updateTrackEntries();
}

void TracksEditor::storeSlot()
{
    if (shown_ < 0 || busy_)
        return;
    storeRecords();
    storeTrackData();
    storeStrategies();
    storeSetup();
    storeBump();
    storeTexts();
    storeSection();
    updateTrackEntries();
}

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
    busy_ = true;
    if (exportToGame)
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    else
        app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    busy_ = false;
    showAll();
}

} // namespace pitwall::gui
