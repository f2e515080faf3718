#include "LibraryWindow.h"

#include "AppContext.h"
#include "BusyCursor.h"
#include "ConfirmedExport.h"
#include "FileDialogs.h"
#include "ImageConversion.h"
#include "LanguageLocale.h"
#include "LanguageTable.h"
#include "MainWindow.h"
#include "QtMessages.h"
#include "TransferSummary.h"
#include "base/FileUtils.h"
#include "base/PrivateDirectory.h"
#include "base/Windows1252.h"
#include "menu/MenuArt.h"
#include "session/ConflictWords.h"
#include "session/Session.h"
#include "transfer/CarsetConflicts.h"
#include "transfer/PointOperationText.h"
#include "transfer/ProgramRestorePoints.h"
#include "transfer/RunUndo.h"
#include "transfer/SelectionItems.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace pitwall::gui {

namespace {

constexpr int kCannotReadText = 1288, kRemoveQuestionText = 1289, kAddRemoveFailedText = 1290,
              kNothingToUndoText = 1291, kCannotUndoText = 1292, kUndoThroughText = 1293, kUndoneText = 1294,
              kUndoFailedText = 1295, kBothCarryText = 1297, kNoCommonBytesText = 1298, kHistoryNotWrittenText = 1300;
constexpr int kInEffectText = 1286, kUndoneStateText = 1287;
constexpr int kCarsetFilterText = 996, kCarsetPatternText = 997;

constexpr TextBinding kLibraryTexts[] = {
    {"", TextRole::Caption, 1272},
    {"PageCarsets", TextRole::TabTitle, 1273},
    {"PageHistory", TextRole::TabTitle, 1274},
    {"PageConflicts", TextRole::TabTitle, 1275},
    {"ListCarsets", TextRole::Column, 1276, 0},
    {"ListCarsets", TextRole::Column, 1277, 1},
    {"ListCarsets", TextRole::Column, 1278, 2},
    {"ListCarsets", TextRole::Column, 1279, 3},
    {"ListCarsets", TextRole::Column, 1280, 4},
    {"ButtonAdd", TextRole::Caption, 1281},
    {"ButtonRemove", TextRole::Caption, 1282},
    {"ButtonApply", TextRole::Caption, 1283},
    {"ButtonUndo", TextRole::Caption, 1284},
    {"ListHistory", TextRole::Column, 69, 0},
    {"ListHistory", TextRole::Column, 1190, 1},
    {"ListHistory", TextRole::Column, 1280, 2},
    {"ListHistory", TextRole::Column, 1285, 3},
    {"LabelConflicts", TextRole::Caption, 1296},
    {"ButtonClose", TextRole::Caption, 750},
};

// The strip of pictures in a row: this high, at most this many.
constexpr int kStripHeight = 44;
constexpr std::size_t kStripPictures = 5;
constexpr int kStripDescriptionText = 1251;
constexpr int kStripGap = 3;

// What a carset carries as the selection dialog names it: a column or row
// of the dialog held whole by its caption, held in part by its caption and
// how many of it; every other item by its own caption; in item order
// (Windows-1252).
std::string ItemWords(const ItemBytes& items, const UITexts& texts)
{
    auto held = [&](int n) { return n >= 0 && n < kItemCount && items[static_cast<std::size_t>(n)] != 0; };
    const std::string allPrefix = texts.text(465);
    std::vector<std::pair<int, std::string>> words; // first item, words
    std::vector<bool> said(kItemCount, false);
    for (int box = 1; box <= kLastItem; ++box) {
        if (!IsSelectAllBox(box) || box == kRowBoxFirst + 11)
            continue;
        auto [first, count] = SelectAllRange(ItemTag(box));
        int n = 0;
        for (int item = first; item < first + count; ++item) {
            n += held(item) ? 1 : 0;
            said[static_cast<std::size_t>(item)] = true;
        }
        if (n == 0)
            continue;
        std::string name = ItemDescription(box, texts);
        if (!allPrefix.empty() && name.rfind(allPrefix, 0) == 0)
            name = name.substr(allPrefix.size());
        while (!name.empty() && name.front() == ' ')
            name.erase(name.begin());
        words.emplace_back(first,
                           n == count ? name : name + " (" + std::to_string(n) + "/" + std::to_string(count) + ")");
    }
    for (int item = 1; item <= kLastItem; ++item)
        if (held(item) && !said[static_cast<std::size_t>(item)] && IsDataItem(item))
            words.emplace_back(item, ItemDescription(item, texts));
    std::stable_sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : ", ") + w.second;
    return text;
}

ItemBytes ItemsOf(const std::vector<int>& list)
{
    ItemBytes items{};
    for (int n : list)
        if (n >= 0 && n < kItemCount)
            items[static_cast<std::size_t>(n)] = 1;
    return items;
}

// A few of the pictures, side by side: two liveries, the helmets, two
// sheets of team art, as far as the carset has them.
// `kinds` counts the liveries, helmets and team art shown.
QPixmap Strip(const std::vector<CarsetThumbnail>& thumbnails, std::array<int, 3>& kinds)
{
    std::vector<const CarsetThumbnail*> shown;
    auto take = [&](ThumbnailKind kind, std::size_t most) {
        std::size_t n = 0;
        for (const CarsetThumbnail& t : thumbnails)
            if (t.kind == kind && n < most && shown.size() < kStripPictures
                && std::find(shown.begin(), shown.end(), &t) == shown.end()) {
                shown.push_back(&t);
                ++n;
            }
    };
    take(ThumbnailKind::Livery, 2);
    take(ThumbnailKind::Helmets, 1);
    take(ThumbnailKind::TeamArt, 2);
    take(ThumbnailKind::Livery, kStripPictures); // more liveries where the others are missing
    take(ThumbnailKind::TeamArt, kStripPictures);
    // Every strip has room for the most pictures, so the rows line up.
    QPixmap strip(static_cast<int>(kStripPictures) * (kThumbnailWidth / 2 + kStripGap), kStripHeight);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int x = 0;
    kinds = {};
    for (const CarsetThumbnail* t : shown) {
        ++kinds[t->kind == ThumbnailKind::Livery ? 0 : t->kind == ThumbnailKind::Helmets ? 1 : 2];
        QImage picture = ToQImage(t->picture);
        QSize size = picture.size().scaled(kThumbnailWidth / 2, kStripHeight, Qt::KeepAspectRatio);
        painter.drawImage(QRect(x, (kStripHeight - size.height()) / 2, size.width(), size.height()), picture);
        x += size.width() + kStripGap;
    }
    return strip;
}

// Questions while working out a carset's changes are answered Yes, nothing
// is shown: the user's own session stays untouched.
class QuietSink : public MessageSink {
public:
    void showMessage(const Message&) override {}
    bool askYesNo(const Message&) override { return true; }
};

class QuietLoading : public pitwall::LoadingWindow {
public:
    void begin(const std::string&, const std::string&, std::uint16_t) override {}
    void setProgress(const std::string&, int) override {}
    void end() override {}
};

// What the carset would change in the installation: loaded whole into a
// session of its own (its own working folder), its export prepared and
// never written. Nothing when it cannot be loaded.
std::optional<CarsetChanges> PreviewCarset(const ProgramState& program, const LibraryCarset& carset)
{
    QTemporaryDir working;
    if (!working.isValid())
        return std::nullopt;
    ProgramState state = program;
    state.workingDirectoryLock.reset();
    state.settings.showExportOK = false;
    state.directories.working = IncludeTrailingBackslash(working.path().toStdString());
    state.directories.staging = state.directories.working + "Carset" + kPathSeparator;
    try {
        CreatePrivateDirectory(state.directories.staging);
        Session session(state);
        QuietLoading loading;
        QuietSink sink;
        TransferUi ui{loading, sink};
        const TransferOutcome loaded =
            session.engine.loadCarset(ItemChoice::AllHeld, carset.path, ui, CarsetInformation::Keep);
        if (loaded == TransferOutcome::Cancelled || loaded == TransferOutcome::Refused)
            return std::nullopt;
        CarsetChanges changes;
        changes.name = carset.name;
        changes.items = session.engine.lastHeader().items;
        session.engine.exportToGame(ItemChoice::AsSelected, ui, ExportMode::Preview);
        changes.changes = session.engine.lastReport().changes;
        return changes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

QString ItemListText(const std::vector<int>& items, const UITexts& texts)
{
    return FromGameText(ItemWords(ItemsOf(items), texts));
}

} // namespace

LibraryWindow::LibraryWindow(AppContext& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      library_(ChosenLibraryDirectory(app.program.directories.settingsFile())),
      thumbnailCache_(DefaultThumbnailCache())
{
    setObjectName("TFormLibrary");
    setWindowTitle("Carset-Bibliothek");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControlLibrary");

    auto* carsetsPage = new QWidget(pages_);
    carsetsPage->setObjectName("PageCarsets");
    auto* carsetsLayout = new QVBoxLayout(carsetsPage);
    list_ = new QTreeWidget(carsetsPage);
    list_->setObjectName("ListCarsets");
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHeaderLabels({"Bilder", "Name", "Autor", "Version", "Enthält"});
    list_->setIconSize(QSize(static_cast<int>(kStripPictures) * (kThumbnailWidth / 2 + kStripGap), kStripHeight));
    list_->setWordWrap(true);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    auto* add = new QPushButton("Hinzufügen...", carsetsPage);
    add->setObjectName("ButtonAdd");
    auto* remove = new QPushButton("Entfernen", carsetsPage);
    remove->setObjectName("ButtonRemove");
    auto* apply = new QPushButton("Anwenden", carsetsPage);
    apply->setObjectName("ButtonApply");
    // Enter applies the chosen carset (which asks before writing), never
    // adds or removes one.
    apply->setDefault(true);
    auto* undo = new QPushButton("Rückgängig", carsetsPage);
    undo->setObjectName("ButtonUndo");
    auto* carsetButtons = new QHBoxLayout;
    carsetButtons->addWidget(add);
    carsetButtons->addWidget(remove);
    carsetButtons->addStretch();
    carsetButtons->addWidget(apply);
    carsetButtons->addWidget(undo);
    carsetsLayout->addWidget(list_);
    carsetsLayout->addLayout(carsetButtons);
    pages_->addTab(carsetsPage, "Carsets");

    auto* historyPage = new QWidget(pages_);
    historyPage->setObjectName("PageHistory");
    auto* historyLayout = new QVBoxLayout(historyPage);
    historyList_ = new QTreeWidget(historyPage);
    historyList_->setObjectName("ListHistory");
    historyList_->setRootIsDecorated(false);
    historyList_->setHeaderLabels({"Zeit", "Carset", "Enthält", "Stand"});
    historyList_->header()->setStretchLastSection(false);
    historyList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    historyList_->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    historyLayout->addWidget(historyList_);
    pages_->addTab(historyPage, "Verlauf");

    auto* conflictsPage = new QWidget(pages_);
    conflictsPage->setObjectName("PageConflicts");
    auto* conflictsLayout = new QVBoxLayout(conflictsPage);
    conflictHint_ = new QLabel(conflictsPage);
    conflictHint_->setObjectName("LabelConflicts");
    conflictHint_->setWordWrap(true);
    conflictList_ = new QTreeWidget(conflictsPage);
    conflictList_->setObjectName("ListConflicts");
    conflictList_->setHeaderHidden(true);
    conflictsLayout->addWidget(conflictHint_);
    conflictsLayout->addWidget(conflictList_);
    pages_->addTab(conflictsPage, "Konflikte");

    auto* close = new QPushButton("Schließen", this);
    close->setObjectName("ButtonClose");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addWidget(pages_);
    layout->addLayout(bottom);
    resize(860, 440);

    chooseCarsetFiles = [this] {
        std::vector<std::string> files;
        const UITexts& texts = app_.program.texts;
        const QString filter = DialogFilterEntry(FromGameText(texts.text(kCarsetFilterText)),
                                                 FromGameText(texts.text(kCarsetPatternText)));
        for (const QString& f : QFileDialog::getOpenFileNames(this, windowTitle(), QString(), filter))
            files.push_back(f.toStdString());
        return files;
    };

    connect(add, &QPushButton::clicked, this, &LibraryWindow::addCarsets);
    connect(remove, &QPushButton::clicked, this, &LibraryWindow::removeChosen);
    connect(apply, &QPushButton::clicked, this, &LibraryWindow::applyChosen);
    connect(undo, &QPushButton::clicked, this, &LibraryWindow::undoChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(pages_, &QTabWidget::currentChanged, this, [this, conflictsPage] {
        if (pages_->currentWidget() == conflictsPage)
            showConflicts();
    });
    applyLanguage();
    refresh();
}

void LibraryWindow::applyLanguage() { ApplyTexts(this, kLibraryTexts, app_.program.texts); }

LibraryHistory LibraryWindow::historyStore() const
{
    return LibraryHistory(library_.directory(), app_.program.settings.gameDirectory);
}

void LibraryWindow::refresh()
{
    // The folder may have been changed in Options since the window opened.
    library_ = CarsetLibrary(ChosenLibraryDirectory(app_.program.directories.settingsFile()));
    carsets_ = library_.directory().empty() ? std::vector<LibraryCarset>{} : library_.list();
    thumbnails_.clear();
    for (const LibraryCarset& c : carsets_)
        thumbnails_.push_back(c.readable() ? thumbnailCache_.thumbnails(c.path, c.sha256, app_.program.palette)
                                           : std::vector<CarsetThumbnail>{});
    fillList();
    history_ = library_.directory().empty() ? std::vector<AppliedCarset>{} : historyStore().entries();
    fillHistory();
}

void LibraryWindow::fillList()
{
    const UITexts& texts = app_.program.texts;
    list_->clear();
    for (std::size_t i = 0; i < carsets_.size(); ++i) {
        const LibraryCarset& c = carsets_[i];
        auto* item = new QTreeWidgetItem(list_);
        std::array<int, 3> kinds{};
        item->setIcon(0, QIcon(Strip(thumbnails_[i], kinds)));
        item->setData(0, Qt::AccessibleDescriptionRole,
                      FromGameText(texts.format(kStripDescriptionText, Args(kinds[0], kinds[1], kinds[2]))));
        item->setText(1, QString::fromStdString(c.name));
        item->setToolTip(1, QString::fromStdString(c.path));
        if (!c.readable()) {
            item->setText(4, FromMessageText(texts.format(kCannotReadText, Args(c.error))));
            continue;
        }
        item->setText(2, FromUntrustedGameText(c.info.author));
        item->setText(3, FromUntrustedGameText(c.info.version));
        const QString words = FromGameText(ItemWords(c.items, texts));
        item->setText(4, words);
        item->setToolTip(4, words);
    }
    list_->resizeColumnToContents(0);
    list_->setColumnWidth(1, std::max(list_->columnWidth(1), 120));
    if (!carsets_.empty() && !list_->currentItem())
        list_->setCurrentItem(list_->topLevelItem(0));
}

void LibraryWindow::fillHistory()
{
    const UITexts& texts = app_.program.texts;
    historyList_->clear();
    // Newest first, as the restore window lists its points.
    for (auto it = history_.rbegin(); it != history_.rend(); ++it) {
        auto* item = new QTreeWidgetItem(historyList_);
        item->setText(0, LocalTimeText(it->time, app_.program));
        item->setToolTip(0, QString::fromStdString(it->restorePointId));
        item->setText(1, QString::fromStdString(it->carset));
        item->setText(2, ItemListText(it->items, texts));
        item->setToolTip(2, item->text(2));
        item->setText(3, FromGameText(texts.text(it->undone() ? kUndoneStateText : kInEffectText)));
    }
}

int LibraryWindow::chosenRow() const
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 && static_cast<std::size_t>(row) < carsets_.size() ? row : -1;
}

void LibraryWindow::addCarsets()
{
    Messenger messenger = app_.messenger();
    const std::vector<std::string> files = chooseCarsetFiles ? chooseCarsetFiles() : std::vector<std::string>{};
    if (files.empty())
        return;
    std::string lastAdded;
    for (const std::string& file : files) {
        try {
            lastAdded = library_.add(file).name;
        } catch (const std::exception& e) {
            messenger.show(kAddRemoveFailedText, Args(file, e.what()));
        }
    }
    refresh();
    for (std::size_t i = 0; i < carsets_.size(); ++i)
        if (carsets_[i].name == lastAdded)
            list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
}

void LibraryWindow::removeChosen()
{
    const int row = chosenRow();
    if (row < 0)
        return;
    const std::string name = carsets_[static_cast<std::size_t>(row)].name;
    Messenger messenger = app_.messenger();
    if (!messenger.askNoByDefault(kRemoveQuestionText, Args(name)))
        return;
    try {
        library_.remove(name);
    } catch (const std::exception& e) {
        messenger.show(kAddRemoveFailedText, Args(name, e.what()));
    }
    refresh();
}

void LibraryWindow::applyChosen()
{
    const int row = chosenRow();
    if (row < 0)
        return;
    const LibraryCarset carset = carsets_[static_cast<std::size_t>(row)];
    Messenger messenger = app_.messenger();
    if (!carset.readable()) {
        messenger.show(kAddRemoveFailedText, Args(carset.name, carset.error));
        return;
    }
    // A history the apply could not be added to is found before the game changes.
    try {
        historyStore().read();
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return;
    }
    MainWindow* main = app_.mainWindow;
    // The carset replaces the working set as "load complete carset" does.
    if (main && !main->keepEditsBeforeGoingOn())
        return;
    TransferUi ui = app_.transferUi();
    const TransferOutcome loaded = app_.engine().loadCarset(ItemChoice::AllHeld, carset.path, ui);
    if (loaded == TransferOutcome::Cancelled || loaded == TransferOutcome::Refused) {
        TransferReport report = app_.engine().lastReport();
        ShowNotDoneSummary(report, messenger);
        return;
    }
    // What could not be loaded was said as it failed; the summary comes
    // before the export of the rest.
    if (loaded == TransferOutcome::DoneWithErrors) {
        TransferReport report = app_.engine().lastReport();
        ShowNotDoneSummary(report, messenger);
    }
    app_.session.edits.reset(app_.workingSet());
    if (main) {
        main->restoreCurrentEditor();
        main->updateEditState();
    }
    // What the carset brought goes into the game (the load left its items
    // selected), nothing else the working set held before; the menu
    // backgrounds as their list names them.
    TransferState& transfer = app_.workingSet().transfer;
    if (app_.workingSet().menuBackgrounds.empty())
        transfer.selection[static_cast<std::size_t>(kMenuBackgroundsItem)] = 0;
    const TransferOutcome exported = RunConfirmedExport(app_, ItemChoice::AsSelected, this);
    if (main)
        main->restoreCurrentEditor(); // the export sorts the cockpit displays
    const TransferReport report = app_.engine().lastReport();
    if (!report.restorePointId.empty() && !report.written.empty()) {
        try {
            historyStore().record(MakeAppliedCarset(carset, report.restorePointId, report.changes));
        } catch (const std::exception& e) {
            messenger.show(kHistoryNotWrittenText, Args(e.what()));
        }
    }
    if (exported == TransferOutcome::Done) {
        app_.session.edits.markSaved();
        if (main)
            main->updateEditState();
    }
    refresh();
    list_->setCurrentItem(list_->topLevelItem(row));
}

void LibraryWindow::undoChosen()
{
    const int row = chosenRow();
    if (row < 0)
        return;
    const std::string name = carsets_[static_cast<std::size_t>(row)].name;
    const std::string& shownName = name;
    Messenger messenger = app_.messenger();
    LibraryHistory history = historyStore();
    std::vector<AppliedCarset> entries;
    try {
        entries = history.read();
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return;
    }
    const AppliedCarset* applied = history.lastInEffect(entries, name);
    if (!applied) {
        messenger.show(kNothingToUndoText, Args(shownName));
        return;
    }
    const std::string pointId = applied->restorePointId;
    RestorePoints store = ProgramRestorePoints(app_.program, app_.program.settings.gameDirectory);
    UndoPlan plan;
    try {
        plan = PlanRunUndo(store, pointId);
        if (!plan.refusal.empty()) {
            messenger.show(kCannotUndoText, Args(shownName, plan.refusal));
            return;
        }
        if (!plan.overlapping.empty()) {
            // The later runs over the same bytes are named; only with the
            // user's yes are they undone too.
            std::vector<std::string> lines;
            for (const RestorePoint& p : plan.overlapping)
                lines.push_back(LocalTimeText(p.time, app_.program).toStdString() + "  "
                                + OperationText(p, app_.program.texts));
            if (!messenger.askNoByDefault(kUndoThroughText, Args(shownName, MessageList(lines, app_.program.texts))))
                return;
            plan = PlanRunUndo(store, pointId, true);
            if (!plan.possible()) {
                messenger.show(kCannotUndoText, Args(shownName, plan.refusal));
                return;
            }
        }
    } catch (const std::exception& e) {
        messenger.show(kUndoFailedText, Args(e.what()));
        return;
    }
    CommitResult result;
    try {
        // Putting back a large file (the art bank) keeps the windows painted.
        TransferUi ui = app_.transferUi();
        BusyCursor busy;
        result = UndoRuns(store, plan, name, nullptr, [&ui] { ui.loading.keepAlive(); });
    } catch (const std::exception& e) {
        messenger.show(kUndoFailedText, Args(e.what()));
        return;
    }
    if (!result.ok()) {
        messenger.show(kUndoFailedText, Args(result.error));
        refresh();
        return;
    }
    try {
        for (const RestorePoint& run : plan.runs)
            history.markUndone(run.id, result.restorePointId);
    } catch (const std::exception& e) {
        messenger.show(kHistoryNotWrittenText, Args(e.what()));
    }
    // The working set keeps what it holds: only the game's files changed.
    messenger.show(kUndoneText, Args(shownName, static_cast<int>(result.written.size())));
    refresh();
    list_->setCurrentItem(list_->topLevelItem(row));
}

void LibraryWindow::showConflicts()
{
    conflictList_->clear();
    std::vector<const LibraryCarset*> chosen;
    for (QTreeWidgetItem* item : list_->selectedItems()) {
        const int row = list_->indexOfTopLevelItem(item);
        if (row >= 0 && static_cast<std::size_t>(row) < carsets_.size()
            && carsets_[static_cast<std::size_t>(row)].readable())
            chosen.push_back(&carsets_[static_cast<std::size_t>(row)]);
    }
    conflictHint_->setVisible(chosen.size() < 2);
    if (chosen.size() < 2)
        return;
    const UITexts& texts = app_.program.texts;
    std::vector<CarsetChanges> changes;
    std::vector<std::string> unread;
    std::vector<CarsetPairConflicts> pairs;
    {
        BusyCursor busy;
        for (const LibraryCarset* c : chosen) {
            if (auto preview = PreviewCarset(app_.program, *c))
                changes.push_back(std::move(*preview));
            else
                unread.push_back(c->name);
        }
        pairs = FindCarsetConflicts(changes);
    }
    for (const std::string& name : unread) {
        auto* item = new QTreeWidgetItem(conflictList_);
        item->setText(0, FromMessageText(texts.format(kCannotReadText, Args(name))));
    }
    for (const CarsetPairConflicts& pair : pairs) {
        auto* top = new QTreeWidgetItem(conflictList_);
        top->setText(0, QString::fromStdString(changes[pair.first].name + "  \u2013  " + changes[pair.second].name));
        auto* shared = new QTreeWidgetItem(top);
        const std::string sharedWords = pair.sharedItems.empty() ? "-" : ItemWords(ItemsOf(pair.sharedItems), texts);
        shared->setText(0, FromGameText(texts.format(kBothCarryText, Args(sharedWords))));
        if (!pair.overlapping()) {
            (new QTreeWidgetItem(top))->setText(0, FromGameText(texts.text(kNoCommonBytesText)));
        } else {
            for (const std::string& line : OverlapWords(pair.overlaps, app_.program))
                (new QTreeWidgetItem(top))->setText(0, FromGameText(line));
        }
        top->setExpanded(true);
    }
}

void ShowLibraryWindow(AppContext& app, QWidget* parent)
{
    auto* window = parent ? parent->findChild<LibraryWindow*>() : nullptr;
    if (!window) {
        window = new LibraryWindow(app, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        window->applyLanguage();
        window->refresh();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace pitwall::gui
