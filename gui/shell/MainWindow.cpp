#include "MainWindow.h"

#include "AboutWindow.h"
#include "AccessibleNames.h"
#include "AppContext.h"
#include "BackupWindow.h"
#include "CarsetInfoWindow.h"
#include "ConfirmedExport.h"
#include "DialogMnemonics.h"
#include "EditTracker.h"
#include "EditorRegistry.h"
#include "EditorStatusBar.h"
#include "EditorWindow.h"
#include "GameStart.h"
#include "HelpWindow.h"
#include "InfoWindow.h"
#include "LanguageTable.h"
#include "LibraryWindow.h"
#include "LoadingWindow.h"
#include "Mnemonics.h"
#include "OptionsDialog.h"
#include "PaletteNotice.h"
#include "RestoreWindow.h"
#include "ScreenPlacement.h"
#include "SelectionDialogWindow.h"
#include "SimulationWindow.h"
#include "SplashWindow.h"
#include "TransferSummary.h"
#include "UITextViewer.h"
#include "UnsavedEditsQuestion.h"
#include "app/IniFile.h"
#include "app/RecentCarsets.h"
#include "app/Settings.h"
#include "app/WindowPosition.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "formats/ArtBankDirectory.h"
#include "transfer/ReportedFormats.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace pitwall::gui {

namespace {

// Room left below the main window for the editor that opens under it.
constexpr int kEditorAllowance = 510;
// The marquee scrolls once its text is at least this wide (pixels).
constexpr int kMarqueeWidth = 250;

constexpr TextBinding kMainTexts[] = {
    {"Datei1", TextRole::Caption, 191},
    {"Bearbeiten1", TextRole::Caption, 1175},
    {"Installationen1", TextRole::Caption, 1198},
    {"LetzteCarsets1", TextRole::Caption, 1200},
    {"Carsetbibliothek1", TextRole::Caption, 1271},
    {"Setladen1", TextRole::Caption, 192},
    {"MenuItem5", TextRole::Caption, 192},
    {"KomplettesSetladen2", TextRole::Caption, 1105},
    {"MenuItem6", TextRole::Caption, 1105},
    {"Setspeichern1", TextRole::Caption, 193},
    {"Setspeichern2", TextRole::Caption, 193},
    {"KomplettesSetspeichern1", TextRole::Caption, 1106},
    {"KomplettesSetladen1", TextRole::Caption, 1106},
    {"Importieren1", TextRole::Caption, 194},
    {"MenuItem1", TextRole::Caption, 194},
    {"Allesimportieren1", TextRole::Caption, 1107},
    {"MenuItem2", TextRole::Caption, 1107},
    {"Exportieren1", TextRole::Caption, 195},
    {"MenuItem3", TextRole::Caption, 195},
    {"Allesexportieren1", TextRole::Caption, 1108},
    {"Wiederherstellen1", TextRole::Caption, 67},
    {"MenuItem4", TextRole::Caption, 1108},
    {"Beenden1", TextRole::Caption, 196},
    {"Optionen1", TextRole::Caption, 1110},
    {"ToolBar1", TextRole::Caption, 167},
    {"CarsetInformationeditieren1", TextRole::Caption, 727},
    {"Backup1", TextRole::Caption, 422},
    {"GrandPrix3starten1", TextRole::Caption, 1109},
    {"Optionen2", TextRole::Caption, 187},
    {"Editoren1", TextRole::Caption, 1111},
    {"TeamsFahrer1", TextRole::Caption, 0},
    {"Strecken1", TextRole::Caption, 86},
    {"Texte1", TextRole::Caption, 105},
    {"N3DGrafiken1", TextRole::Caption, 1113},
    {"Menugrafiken1", TextRole::Caption, 1114},
    {"Cockpit1", TextRole::Caption, 157},
    {"Sounds1", TextRole::Caption, 169},
    {"Verschiedenes1", TextRole::Caption, 81},
    {"Karriere1", TextRole::Caption, 1115},
    {"Workshops1", TextRole::Caption, 916},
    {"Hilfe1", TextRole::Caption, 324},
    {"Inhalt", TextRole::Caption, 325},
    {"Info1", TextRole::Caption, 1112},
    {"About1", TextRole::Caption, 326},
};

// Captions of the smaller windows that live as long as the main window.
constexpr TextBinding kLoadingTexts[] = {{"", TextRole::Caption, 208}, {"Label1", TextRole::Caption, 209}};

const std::vector<int> kCarsetFilter = {996};

constexpr int kNoRestorePointsText = 77;
constexpr int kManualNotOpenedText = 991;
constexpr int kUndoText = 1176, kUndoStepText = 1177, kRedoText = 1178, kRedoStepText = 1179;

} // namespace

MainWindow::MainWindow(AppContext& app) : app_(app)
{
    setObjectName("TForm1");
    setWindowTitle("Pitwall[*]"); // "*" while the data holds unsaved edits
    setAcceptDrops(true);
    app_.mainWindow = this;
    buildMenus();
    buildToolBar();
    qApp->installEventFilter(this);
    qApp->installEventFilter(new DialogMnemonics(this));
    editTracker_ = new EditTracker(app_, [this] { return editor_.data(); }, this);
    connect(editTracker_, &EditTracker::historyChanged, this, &MainWindow::updateEditState);
    fitToBars();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect s = screen->availableGeometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height() - kEditorAllowance) / 2);
    }
    // Where it stood when the program last ended, as far as a screen shows it.
    if (auto saved = ReadMainWindowPosition(app_.program.directories.settingsFile())) {
        const QPoint at(saved->left, saved->top);
        QScreen* screen = QGuiApplication::screenAt(at);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen)
            move(MovedOntoScreen(QRect(at, frameGeometry().size()), screen->availableGeometry()).topLeft());
    }

    // The fixed dialogs live as long as the main window, each built when it
    // is first needed (in the language the main window shows by then).
    app_.loadingWindow.setFactory([this] {
        auto* window = new LoadingWindow(this);
        if (languageApplied_)
            ApplyTexts(window, kLoadingTexts, app_.program.texts);
        return window;
    });
    app_.selectionDialog.setFactory([this] {
        auto* dialog = new SelectionDialogWindow(app_, this);
        if (languageApplied_)
            dialog->applyLanguage();
        return dialog;
    });
    app_.optionsDialog.setFactory([this] {
        auto* dialog = new OptionsDialog(app_, this);
        dialog->languageChanged = [this] { applyLanguage(); };
        dialog->mayQuit = [this] { return mayQuit(); };
        dialog->paletteChanged = [this] {
            UpdatePaletteNotice(*this, app_);
            fitToBars();
        };
        if (languageApplied_)
            dialog->applyLanguage();
        return dialog;
    });

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &MainWindow::scrollMarquee);
    timer_->start();
}

void MainWindow::setSplash(SplashWindow* splash) { splash_ = splash; }

MainWindow::~MainWindow()
{
    app_.loadingWindow.clearFactory();
    app_.selectionDialog.clearFactory();
    app_.optionsDialog.clearFactory();
    if (app_.mainWindow == this)
        app_.mainWindow = nullptr;
}

void MainWindow::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    const auto& files = app_.program.languageFiles;
    int chosen = app_.program.languageIndex;
    app_.qtTranslations.use(chosen >= 0 && chosen < static_cast<int>(files.size()) ? files[chosen] : std::string());
    if (editor_) {
        editor_->applyLanguage();
        editor_->showWhetherDataIsLoaded(); // the panel over an editor with nothing loaded
    }
    ApplyTexts(this, kMainTexts, texts);
    updateEditState();
    AssignMnemonics(menuBar());
    copyHintsFromMenu();
    if (helpWindow_)
        helpWindow_->applyLanguage();
    languageApplied_ = true;
    if (auto* selection = app_.selectionDialog.created())
        selection->applyLanguage();
    if (auto* loading = app_.loadingWindow.created())
        ApplyTexts(loading, kLoadingTexts, texts);
    if (auto* options = app_.optionsDialog.created())
        options->applyLanguage();
    if (auto* simulation = findChild<SimulationWindow*>("TForm2", Qt::FindDirectChildrenOnly))
        simulation->applyLanguage();
    // The library stays open beside the main window: its words (states,
    // what carsets carry) are rebuilt too.
    if (auto* library = findChild<LibraryWindow*>()) {
        library->applyLanguage();
        library->refresh();
    }
    UpdatePaletteNotice(*this, app_);
    fitToBars();
    // Names for assistive technology follow the captions just set.
    NameControls(this);
}

bool MainWindow::checkGameInstallation()
{
    Messenger messenger = app_.messenger();
    while (!GameDirectoryHasExe(app_.program.settings.gameDirectory)) {
        messenger.show(210);
        app_.optionsDialog->exec();
        if (app_.shutDown)
            return false;
    }
    for (GameDetection d = RecogniseGame(app_.program); !d.ok; d = RecogniseGame(app_.program)) {
        messenger.show(d.messageNumber);
        app_.optionsDialog->exec();
        if (app_.shutDown)
            return false;
        while (!GameDirectoryHasExe(app_.program.settings.gameDirectory)) {
            messenger.show(210);
            app_.optionsDialog->exec();
            if (app_.shutDown)
                return false;
        }
    }
    return true;
}

bool MainWindow::firstActivation()
{
    if (firstActivationDone_)
        return true;
    developerMenu_->menuAction()->setVisible(false);
    if (app_.program.settings.firstTime)
        showInfo();
    if (!checkGameInstallation())
        return false;
    readArtBankDirectory();
    if (app_.program.settings.alwaysImport) {
        app_.workingSet().transfer.selectAll();
        TransferUi ui = app_.transferUi();
        // What the start imports is where the user's edits begin.
        startAnew(app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui));
        tellWhatWasNotDone(false);
    }
    applyLanguage();
    copyHintsFromMenu();
    openEditor("TForm12");
    if (splash_) {
        splash_->hide();
        splash_->deleteLater();
    }
    firstActivationDone_ = true;
    app_.program.firstActivationDone = true;
    return true;
}

void MainWindow::fitToBars()
{
    // The window is its menu and tool bar, and the status line while it has
    // something to say; the editors sit below it.
    int height = menuBar()->sizeHint().height() + toolBar_->sizeHint().height() + 4;
    if (QStatusBar* bar = findChild<QStatusBar*>("StatusBarMain", Qt::FindDirectChildrenOnly); bar && !bar->isHidden())
        height += bar->sizeHint().height();
    if (size() == QSize(760, height))
        return;
    setFixedSize(760, height);
    if (editor_)
        placeEditor(EditorPlacement::Follow);
}

void MainWindow::placeEditor(EditorPlacement placement)
{
    if (!editor_)
        return;
    // The editor sits directly below, at least as wide as the main window.
    // A wider editor leaves the main window as it is (growing it for good
    // pushed its right end off a small screen), and an editor too tall for
    // the room below is moved up onto the screen rather than cut off.
    const int editorExtra = editor_->frameGeometry().width() - editor_->width();
    if (editor_->frameGeometry().width() < frameGeometry().width())
        editor_->resize(frameGeometry().width() - editorExtra, editor_->height());
    const QRect available = AvailableAreaOf(this);
    const int editorHeight = editor_->frameGeometry().height();
    if (placement == EditorPlacement::MakeRoom && !available.isEmpty()) {
        // Make room below by moving the main window up, and to the left for
        // a wider editor, as far as the screen's top and left allow.
        const int top = std::max(available.top(), available.bottom() + 1 - editorHeight - frameGeometry().height());
        const int left = std::max(available.left(), available.right() + 1 - editor_->frameGeometry().width());
        const QPoint now = frameGeometry().topLeft();
        const QPoint wanted(std::min(now.x(), left), std::min(now.y(), top));
        if (wanted != now)
            move(wanted);
    }
    const QRect frame = frameGeometry();
    const QPoint below(frame.left(), frame.bottom() + 1);
    if (placement == EditorPlacement::MakeRoom)
        MoveOntoScreen(editor_, below, this);
    else
        editor_->move(below); // where the user drags the pair, both go
}

void MainWindow::openEditor(const char* className)
{
    if (editor_ && editor_->objectName() == className) {
        // Open already (perhaps hidden by the window manager, or behind the
        // main window): brought back to the user, not made again.
        editor_->show();
        editor_->raise();
        editor_->activateWindow();
        return;
    }
    const EditorEntry* entry = FindEditor(className);
    if (!entry || (editor_ && !editor_->mayClose()))
        return;
    EditorWindow* next = entry->create(app_);
    next->setParent(this, next->windowFlags());
    EditorWindow* previous = editor_;
    editor_ = next;
    placeEditor(EditorPlacement::MakeRoom);
    next->applyLanguage();
    next->setUp();
    next->showWhetherDataIsLoaded();
    next->show();
    SettleShownLayout(next);
    placeEditor(EditorPlacement::MakeRoom); // its size is final now
    if (previous) {
        previous->hide();
        previous->deleteLater();
    }
    connect(next, &EditorWindow::ownHistoryChanged, this, &MainWindow::updateEditState);
    updateEditState(); // the Edit menu names the steps of the editor in front
}

void MainWindow::storeCurrentEditor()
{
    if (editor_ && editor_->storesData())
        editor_->store();
}

void MainWindow::restoreCurrentEditor()
{
    if (editor_ && editor_->restoresData())
        editor_->restore();
    if (editor_)
        editor_->showWhetherDataIsLoaded();
}

void MainWindow::scrollMarquee()
{
    if (!editor_)
        return;
    auto* bar = editor_->findChild<QStatusBar*>("StatusBar1");
    QLabel* panel = bar ? StatusPanel(bar, 1) : nullptr;
    if (!panel)
        return;
    QFontMetrics metrics(panel->font());
    auto shown = NextMarqueeText(FromGameText(app_.program.texts.marquee()), marqueePosition_, kMarqueeWidth,
                                 [&](const QString& s) { return metrics.horizontalAdvance(s); });
    if (shown)
        panel->setText(*shown);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    placeEditor(EditorPlacement::Follow);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!app_.shutDown && !mayQuit()) {
        event->ignore();
        return;
    }
    try {
        WriteMainWindowPosition(app_.program.directories.settingsFile(), {frameGeometry().left(), frameGeometry().top()});
    } catch (const std::exception&) {
        // A settings file that cannot be written keeps the old place; the
        // program ends all the same, without a message about a window's place.
    }
    app_.shutdown();
    event->accept();
    app_.quit();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".gms", Qt::CaseInsensitive)) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".gms", Qt::CaseInsensitive)) {
            event->acceptProposedAction();
            loadCompleteCarset(url.toLocalFile().toStdString());
            return;
        }
}

// --- Datei ---------------------------------------------------------------

void MainWindow::loadCarset(bool complete, const std::string& fileName)
{
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(fileName, {".GMS"}, true, &messenger) < 0)
        return;
    if (!keepEditsBeforeGoingOn())
        return;
    TransferUi ui = app_.transferUi();
    const TransferOutcome outcome =
        app_.engine().loadCarset(complete ? ItemChoice::AllHeld : ItemChoice::AskUser, fileName, ui);
    if (outcome == TransferOutcome::Done || outcome == TransferOutcome::DoneWithErrors)
        rememberCarset(fileName);
    startAnew(outcome);
    tellWhatWasNotDone(true);
}

void MainWindow::loadCompleteCarset(const std::string& fileName) { loadCarset(true, fileName); }

// The list is kept in the settings file at once; a settings file that cannot
// be written only leaves the list as it was.
void MainWindow::rememberCarset(const std::string& fileName)
{
    RememberRecentCarset(app_.program.directories.settingsFile(), fileName);
}

void MainWindow::openCarset()
{
    if (auto name = app_.chooseFileToOpen({"CarsetLoad", "Carset.GMS", kCarsetFilter, 1}))
        loadCarset(false, *name);
}

void MainWindow::openCompleteCarset()
{
    if (auto name = app_.chooseFileToOpen({"CarsetLoad", "Carset.GMS", kCarsetFilter, 1}))
        loadCarset(true, *name);
}

void MainWindow::saveCarset(bool complete)
{
    auto name = app_.chooseFileToSave({app_.program.directories.program, "Carset.GMS", kCarsetFilter, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".GMS"}, true, &messenger) < 0)
        return;
    // The archive replaces an existing file only once it is complete.
    storeCurrentEditor();
    TransferUi ui = app_.transferUi();
    editTracker_->flush();
    const TransferOutcome outcome =
        app_.engine().saveCarset(complete ? ItemChoice::AllHeld : ItemChoice::AskUser, *name, ui);
    if (outcome == TransferOutcome::Done || outcome == TransferOutcome::DoneWithErrors)
        rememberCarset(*name);
    markSavedIfDone(outcome);
    tellWhatWasNotDone(true);
}

void MainWindow::saveCarsetAs() { saveCarset(false); }
void MainWindow::saveCompleteCarsetAs() { saveCarset(true); }

void MainWindow::importSelected()
{
    if (!keepEditsBeforeGoingOn())
        return;
    TransferUi ui = app_.transferUi();
    startAnew(app_.engine().importFromGame(ItemChoice::AskUser, OpenEditor::StoreAndRestore, ui));
    tellWhatWasNotDone(true);
}

void MainWindow::importAll()
{
    if (!keepEditsBeforeGoingOn())
        return;
    app_.workingSet().transfer.selectAll();
    TransferUi ui = app_.transferUi();
    startAnew(app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::StoreAndRestore, ui));
    tellWhatWasNotDone(false);
}

void MainWindow::exportSelected()
{
    storeCurrentEditor();
    editTracker_->flush();
    markSavedIfDone(RunConfirmedExport(app_, ItemChoice::AskUser, this));
    showWhatTheExportWrote();
}

void MainWindow::exportAll()
{
    storeCurrentEditor();
    app_.workingSet().transfer.selection = app_.workingSet().transfer.loaded;
    // The menu backgrounds export what their list names: with an empty list
    // "everything" asks for none of them, and a background loaded but never
    // listed is not reported as unwritten on every export.
    if (app_.workingSet().menuBackgrounds.empty())
        app_.workingSet().transfer.selection[static_cast<std::size_t>(kMenuBackgroundsItem)] = 0;
    editTracker_->flush();
    markSavedIfDone(RunConfirmedExport(app_, ItemChoice::AsSelected, this));
    showWhatTheExportWrote();
}

void MainWindow::showWhatTheExportWrote()
{
    // Writing the cockpit displays (and already the confirmation's dry run)
    // sorts their elements in the working set: the editor shows the order
    // written, so its fields and the data stay in step.
    if (editor_ && editor_->restoresData())
        editor_->restore();
}

void MainWindow::startAnew(TransferOutcome outcome)
{
    // An import or load that ran replaces the data: its history ends here.
    if (outcome == TransferOutcome::Cancelled || outcome == TransferOutcome::Refused)
        return;
    app_.session.edits.reset(app_.workingSet());
    updateEditState();
}

void MainWindow::markSavedIfDone(TransferOutcome outcome)
{
    // Items left out of the run keep whatever edits they hold unsaved.
    if (outcome != TransferOutcome::Done || app_.engine().lastReport().leftOutHeld)
        return;
    app_.session.edits.markSaved();
    updateEditState();
}

void MainWindow::undoEdit()
{
    if (editor_ && editor_->keepsOwnHistory()) {
        editor_->undoOwnStep();
        updateEditState();
        return;
    }
    editTracker_->flush();
    try {
        app_.session.edits.undo(app_.workingSet());
    } catch (const FileWriteError& e) {
        // A working file could not be put back: the step stays where it was.
        app_.messenger().showFixed(e.file() + ": " + e.reason());
    }
    restoreCurrentEditor();
    updateEditState();
}

void MainWindow::redoEdit()
{
    if (editor_ && editor_->keepsOwnHistory()) {
        editor_->redoOwnStep();
        updateEditState();
        return;
    }
    editTracker_->flush();
    try {
        app_.session.edits.redo(app_.workingSet());
    } catch (const FileWriteError& e) {
        // A working file could not be put back: the step stays where it was.
        app_.messenger().showFixed(e.file() + ": " + e.reason());
    }
    restoreCurrentEditor();
    updateEditState();
}

void MainWindow::updateEditState()
{
    const EditHistory& history = app_.session.edits;
    const UITexts& texts = app_.program.texts;
    auto* undo = findChild<QAction*>("Rueckgaengig1");
    auto* redo = findChild<QAction*>("Wiederholen1");
    const bool own = editor_ && editor_->keepsOwnHistory();
    const std::string undoName = own ? editor_->ownUndoName() : history.canUndo() ? history.undoName() : "";
    const std::string redoName = own ? editor_->ownRedoName() : history.canRedo() ? history.redoName() : "";
    undo->setEnabled(!undoName.empty());
    // Step names are message texts: they may name a file in UTF-8.
    undo->setText(
        FromMessageText(undoName.empty() ? texts.text(kUndoText) : texts.format(kUndoStepText, Args(undoName))));
    redo->setEnabled(!redoName.empty());
    redo->setText(
        FromMessageText(redoName.empty() ? texts.text(kRedoText) : texts.format(kRedoStepText, Args(redoName))));
    AssignMnemonics(editMenu_);
    setWindowModified(history.unsaved());
}

bool MainWindow::mayQuit() { return (!editor_ || editor_->mayClose()) && keepEditsBeforeGoingOn(); }

bool MainWindow::keepEditsBeforeGoingOn()
{
    storeCurrentEditor();
    editTracker_->flush();
    if (!app_.session.edits.unsaved())
        return true;
    using Answer = AppContext::EditsAnswer;
    const Answer answer = app_.askAboutEdits ? app_.askAboutEdits() : AskAboutUnsavedEdits(app_.program.texts, this);
    if (answer == Answer::Discard)
        return true;
    if (answer == Answer::SaveCarset)
        saveCarset(true); // everything held, so no edit is left out
    else if (answer == Answer::Export)
        exportAll();
    else
        return false;
    // Go on only once the edits are kept; a cancelled or failed save or
    // export keeps the program where it was.
    return !app_.session.edits.unsaved();
}

void MainWindow::showRestorePoints()
{
    RestoreWindow window(app_, this);
    if (window.points().empty()) {
        Messenger m = app_.messenger();
        m.show(kNoRestorePointsText);
        return;
    }
    window.exec();
}

void MainWindow::tellWhatWasNotDone(bool withSkipped)
{
    TransferReport report = app_.engine().lastReport();
    // "Everything" asks for what the program can carry: the items it cannot
    // carry yet were not asked for one by one.
    if (!withSkipped)
        report.skipped.clear();
    Messenger m = app_.messenger();
    ShowNotDoneSummary(report, m);
}

void MainWindow::quitProgram() { close(); }

// --- Tools ---------------------------------------------------------------

void MainWindow::editCarsetInfo()
{
    editTracker_->flush();
    CarsetInfoWindow window(app_, app_.workingSet().carsetInfo, this);
    if (window.exec() != QDialog::Accepted)
        return;
    window.applyCarsetInfoEdits(app_.workingSet().carsetInfo);
    // Carried only in carsets: an edit the next carset load or quitting
    // would drop unasked unless it counts as one.
    editTracker_->noticeEdit(window.windowTitle());
}

void MainWindow::showBackupWindow()
{
    BackupWindow window(app_, this);
    window.exec();
}

void MainWindow::startGame() { StartGame(app_); }

// The manual's pages lie beside the language files; the program's own
// help window shows them.
void MainWindow::openManual()
{
    QWidget* front = QApplication::activeWindow();
    showHelpFor(front ? front : this);
}

HelpWindow* MainWindow::helpWindow() const { return helpWindow_; }

void MainWindow::showHelpFor(QWidget* window)
{
    if (window && window == helpWindow_)
        return;
    // Owned by the window asked about, so a modal dialog does not block it.
    QWidget* owner = window && window->isModal() ? window : this;
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(app_.program.texts, app_.program.directories.program + kManualFolder, owner);
    else if (helpWindow_->parentWidget() != owner)
        helpWindow_->setParent(owner, helpWindow_->windowFlags());
    if (!helpWindow_->showPageFor(window ? window->objectName() : QString())) {
        app_.messenger().show(kManualNotOpenedText, Args(app_.program.directories.program + kManualFolder));
        return;
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // An editor that grows once its pages are built is kept on the screen.
    if (event->type() == QEvent::Resize && watched == editor_.data())
        QTimer::singleShot(0, this, [this] { placeEditor(EditorPlacement::MakeRoom); });
    if (event->type() == QEvent::Show && watched->isWidgetType()
        && NamesControlsWhenShown(static_cast<QWidget*>(watched)))
        NameControls(static_cast<QWidget*>(watched));
    // F1 where no shortcut took it (editors, dialogs): the page of the
    // window in front.
    if (event->type() == QEvent::KeyPress && IsHelpKey(static_cast<QKeyEvent*>(event)->key())
        && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier && watched->isWidgetType()) {
        showHelpFor(static_cast<QWidget*>(watched)->window());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The art bank's directory of entries (where each picture lies in the
// game's art file) belongs to the installation: exports into it rely on it.
void MainWindow::readArtBankDirectory()
{
    Messenger messenger = app_.messenger();
    app_.workingSet().artIndex = {};
    ReadArtDirectory(GameFilePath(app_.program.settings.gameDirectory, kArtBankGamePath), app_.workingSet().artIndex,
                     &messenger);
}

void MainWindow::switchInstallation(const std::string& directory)
{
    Settings& settings = app_.program.settings;
    const bool other = IncludeTrailingBackslash(directory) != settings.gameDirectory;
    if (other && !keepEditsBeforeGoingOn())
        return;
    settings.gameDirectory = IncludeTrailingBackslash(directory);
    RememberGameDirectory(settings, settings.gameDirectory);
    if (!app_.shutDown && !checkGameInstallation())
        return;
    if (other)
        readArtBankDirectory();
    if (editor_)
        editor_->setUp();
}

void MainWindow::showOptions()
{
    const std::string before = app_.program.settings.gameDirectory;
    app_.optionsDialog->exec();
    if (!app_.shutDown && !checkGameInstallation())
        return;
    if (app_.program.settings.gameDirectory != before)
        readArtBankDirectory();
    if (editor_)
        editor_->setUp();
}

// --- Hilfe / Developer -----------------------------------------------------

void MainWindow::showInfo()
{
    InfoWindow window(app_, this);
    window.showBackup = [this] { showBackupWindow(); };
    window.exec();
}

void MainWindow::showAbout()
{
    AboutWindow window(app_.program.texts, this);
    window.exec();
}

void MainWindow::showUiTexts()
{
    UITextViewer viewer(this);
    viewer.fill(app_.program.texts);
    viewer.exec();
}

} // namespace pitwall::gui
