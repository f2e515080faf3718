#include "GuiTestSupport.h"

#include "BackupWindow.h"
#include "CarsetInfoWindow.h"
#include "DirectoryEdit.h"
#include "FileDialogs.h"
#include "LoadingWindow.h"
#include "Mnemonics.h"
#include "OptionsDialog.h"
#include "ProgressWindow.h"
#include "SelectionDialogWindow.h"
#include "SplashWindow.h"
#include "teams/TeamsArea.h"
#include "tracks/TracksArea.h"
#include "transfer/CarsetArchive.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::Child;
using pitwall::gui::test::OnModal;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void firstActivationAsksForTheGameUntilItIsValid();
    void wrongSizesShowTheirMessages();
    void languageSwitchRecaptionsTheOpenWindows();
    void fixedDialogsAreBuiltOnceOnFirstUse();
    void editorsOpenOnceAndFollowTheMainWindow();
    void selectionDialogRulesOnTheWidgets();
    void loadingAndProgressWindows();
    void carsetInformationWindowMakesTwelveLines();
    void menuTransfersRunOnTheTeamsArea();
    void alwaysImportOnVersion100StartsWithoutAMessage();
    void backupOntoAFullDiskSaysWhatIsMissing();
    void fileFiltersShowTheirPatternOnce();
    void gameStartWithoutItsLauncherSaysWhatIsMissing();
    void dragAndDropTickedInAnOpenEditorOutlivesQuitting();
};

void MainWindowTest::firstActivationAsksForTheGameUntilItIsValid()
{
    GuiProgram p(0);
    std::string game = p.path("later-game");
    // The splash stays on top of the main window, but steps aside for the
    // options dialog, whose middle it would otherwise cover.
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->show();
    p.window->show();
    QVERIFY(splash->isVisible());
    p.window->setSplash(splash);
    bool splashOverOptions = false;
    int shown = 0;
    OnModal([&](QWidget* modal) {
        auto* options = qobject_cast<OptionsDialog*>(modal);
        if (!options)
            return true;
        splashOverOptions = splashOverOptions || (splash && splash->isVisible());
        ++shown;
        auto* edit = options->findChild<QLineEdit*>("Edit8");
        if (shown == 1) {
            edit->setText(QString::fromStdString(p.path("nowhere"))); // still no GP3.EXE
        } else {
            pitwall::test::MakeDemo(game, 2, 1);
            edit->setText(QString::fromStdString(game)); // typed without trailing separator
        }
        options->accept();
        return shown < 2;
    });
    QVERIFY(p.window->firstActivation());
    QCOMPARE(shown, 2);
    QVERIFY(!splashOverOptions);
    QCOMPARE(p.numbers(), (std::vector<int>{210, 210}));
    QCOMPARE(p.program.settings.gameDirectory, game + "/");
    QCOMPARE(p.program.gameVersion, 2);
    QVERIFY(p.window->currentEditor());
    QCOMPARE(p.window->currentEditor()->objectName(), QString("TForm12"));
}

void MainWindowTest::wrongSizesShowTheirMessages()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    std::filesystem::resize_file(NativePath(p.path("game/GP3.EXE")), 8'835'073);
    int shown = 0;
    OnModal([&](QWidget* modal) {
        auto* options = qobject_cast<OptionsDialog*>(modal);
        if (!options)
            return true;
        ++shown;
        if (shown == 1) {
            std::filesystem::resize_file(NativePath(p.path("game/GP3.EXE")), 8'835'072);
            std::filesystem::resize_file(NativePath(p.path("game/F1GSTATE.SAV")), 88'335);
        } else {
            std::filesystem::resize_file(NativePath(p.path("game/F1GSTATE.SAV")), 88'334);
        }
        options->accept();
        return shown < 2;
    });
    QVERIFY(p.window->checkGameInstallation());
    QCOMPARE(p.numbers(), (std::vector<int>{925, 980}));
}

void MainWindowTest::fixedDialogsAreBuiltOnceOnFirstUse()
{
    GuiProgram p(2);
    QVERIFY(!p.app->optionsDialog.created());
    QVERIFY(!p.app->selectionDialog.created());
    QVERIFY(!p.app->loadingWindow.created());
    OptionsDialog* options = p.app->optionsDialog;
    QVERIFY(options);
    QCOMPARE(options->parent(), p.window.get());
    QCOMPARE(p.app->optionsDialog.get(), options);
    QCOMPARE(p.window->findChildren<OptionsDialog*>().size(), qsizetype(1));
    QVERIFY(p.app->loadingWindow.get());
    // Once the main window has gone with its dialogs, none is built again.
    p.window.reset();
    QVERIFY(!p.app->optionsDialog.created());
    QVERIFY(!p.app->loadingWindow.get());
    QVERIFY(!p.app->selectionDialog.get());
}

void MainWindowTest::languageSwitchRecaptionsTheOpenWindows()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    auto* file = p.window->findChild<QMenu*>("Datei1");
    auto* sets = p.app->selectionDialog->findChild<QCheckBox*>("CheckBox1");
    QString englishFile = file->title();
    QString englishTeams = sets->text();

    // Choosing the other language in the options dialog, whose list shows
    // file names with their accents.
    p.program.languageFiles.push_back("FRANÇAIS.LNG");
    auto* options = p.app->optionsDialog.get();
    options->show();
    auto* list = options->findChild<QListWidget*>("ListBox19");
    QCOMPARE(list->findItems(QString::fromUtf8("FRANÇAIS.LNG"), Qt::MatchExactly).size(), 1);
    auto items = list->findItems("DEUTSCH.LNG", Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    // With the keys: a letter moves to the entry, which is taken at once.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_D);
    QCOMPARE(list->currentItem(), items[0]);
    options->hide();

    QCOMPARE(p.program.settings.languageFile, std::string("DEUTSCH.LNG"));
    QVERIFY(file->title() != englishFile);
    QCOMPARE(WithoutMnemonic(file->title()), FromGameText(p.program.texts.text(191)));
    QVERIFY(sets->text() != englishTeams);
    QCOMPARE(sets->text(), FromGameText(p.program.texts.text(470)));
    auto* tabs = p.app->selectionDialog->findChild<QTabWidget*>();
    QCOMPARE(tabs->tabText(0), FromGameText(p.program.texts.text(469)));
    auto* status = p.window->currentEditor()->findChild<QStatusBar*>("StatusBar1");
    QVERIFY(status);
    // Nothing is loaded yet: the panel over the editor speaks the new language too.
    auto* panelButton = p.window->currentEditor()->findChild<QPushButton*>("NoDataImport");
    QVERIFY(panelButton && panelButton->isVisible());
    QCOMPARE(WithoutMnemonic(panelButton->text()), FromGameText(p.program.texts.text(1214)));
}

void MainWindowTest::editorsOpenOnceAndFollowTheMainWindow()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->openEditor("TForm13");
    QPointer<EditorWindow> tracks = p.window->currentEditor();
    QCOMPARE(tracks->objectName(), QString("TForm13"));
    p.window->findChild<QAction*>("Strecken1")->trigger();
    QCOMPARE(p.window->currentEditor(), tracks.data()); // not created again
    p.window->move(p.window->x() + 40, p.window->y() + 30);
    QCoreApplication::processEvents();
    QCOMPARE(tracks->x(), p.window->frameGeometry().left());
    QCOMPARE(tracks->y(), p.window->frameGeometry().bottom() + 1);
    p.window->openEditor("TForm12");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tracks.isNull()); // the previous editor is gone
    // An editor is at least as wide as the main window, and a wider one
    // leaves the main window as it was.
    const int mainWidth = p.window->frameGeometry().width();
    QVERIFY(p.window->currentEditor()->frameGeometry().width() >= mainWidth);
    p.window->openEditor("TForm13");
    QCOMPARE(p.window->frameGeometry().width(), mainWidth);
    QVERIFY(p.window->currentEditor()->frameGeometry().width() >= mainWidth);
}

void MainWindowTest::selectionDialogRulesOnTheWidgets()
{
    GuiProgram p(2);
    SelectionDialogWindow& d = *p.app->selectionDialog;
    ItemBytes offered{};
    for (int n : {1, 13, 24, 46, 180, 173})
        offered[static_cast<std::size_t>(n)] = 1;
    // Rows say which team and track they stand for once the data is held.
    WorkingSet& data = p.app->workingSet();
    data.teams.teams[2].name.assign("Ferrano");
    data.transfer.loaded[kTeamsItem] = 1;
    data.tracks.info[4].texts[kTrackCity][1].assign("Imola");
    data.tracks.info[5].texts[kTrackCity][1].assign("Monaco");
    data.transfer.loaded[static_cast<std::size_t>(TrackInfoItem(4))] = 1;
    d.prepareExport(offered, false);
    QVERIFY(Child<QLabel>(&d, "LabelTeam3")->text().endsWith(": Ferrano"));
    QVERIFY(Child<QLabel>(&d, "LabelTrack5")->text().endsWith(": Imola"));
    QVERIFY(Child<QLabel>(&d, "LabelTrack6")->text().endsWith(" 6:")); // not loaded: the number alone
    d.box(157)->click(); // the row box of team 3
    QVERIFY(d.box(13)->isChecked() && d.box(24)->isChecked() && d.box(46)->isChecked() && d.box(180)->isChecked());
    QVERIFY(!d.box(35)->isChecked() && !d.box(35)->isEnabled());

    // An import from a v1.00 game: no American, Polish or Portuguese texts.
    d.box(173)->setChecked(true);
    d.prepareImport(offered, false, 1);
    QVERIFY(!d.box(173)->isEnabled() && !d.box(174)->isEnabled() && !d.box(175)->isEnabled());
    QVERIFY(!d.box(173)->isChecked());
    QVERIFY(!d.box(85)->isEnabled()); // track files only come from carsets
    QVERIFY(d.box(2)->isEnabled());

    d.show();
    d.allBox()->click(); // "Alles importieren / exportieren"
    ItemBytes selected = d.readSelectionDialog();
    QVERIFY(selected[1] && selected[2] && selected[195]);
    QVERIFY(!selected[198]);                 // v1.00 has five LCD displays
    QVERIFY(!selected[9] && !selected[167]); // hidden boxes never count
    QVERIFY(!selected[173] && !selected[85]);
    d.box(2)->click();
    QVERIFY(!d.readSelectionDialog()[2]);
    d.hide();
}

void MainWindowTest::loadingAndProgressWindows()
{
    gui::LoadingWindow loading;
    loading.begin("Caption", "Line", 0);
    loading.setProgress("step", 5);
    QCOMPARE(loading.gaugeValue(), 0); // a total of 0 leaves the gauge alone
    QCOMPARE(loading.counter(), 5);
    loading.end();
    loading.begin("Caption", "Line", 10);
    loading.setProgress("step", 4); // shown again: the counter starts anew
    QCOMPARE(loading.gaugeValue(), 40);

    ProgressWindow progress;
    std::int64_t now = 0;
    progress.setElapsedSource([&] { return now; });
    progress.start(4, "%d of %d files", false, "Backup", "%d seconds left", 400);
    now = 1000;
    progress.step(100, "", false);
    QCOMPARE(progress.gaugeValue(), 25);
    QCOMPARE(progress.firstLine(), QString("1 of 4 files"));
    QCOMPARE(progress.secondLine(), QString("3 seconds left"));

    // The percentage must stand out from the navy bar: at 100 % the text lies
    // wholly on navy, so some pixels in the middle of the bar must be light.
    progress.step(400, "", true);
    auto* gauge = progress.findChild<QProgressBar*>("Gauge1");
    QVERIFY(gauge);
    gauge->resize(300, 24);
    QImage shot = gauge->grab().toImage();
    int light = 0, navy = 0;
    for (int x = shot.width() / 3; x < 2 * shot.width() / 3; ++x)
        for (int y = shot.height() / 4; y < 3 * shot.height() / 4; ++y) {
            QColor c = shot.pixelColor(x, y);
            light += c.lightness() > 200;
            navy += c.blue() > 100 && c.red() < 60 && c.green() < 60;
        }
    QVERIFY2(navy > 0, "the filled bar is navy");
    QVERIFY2(light > 0, "the percentage is readable on the navy bar");
}

void MainWindowTest::carsetInformationWindowMakesTwelveLines()
{
    GuiProgram p(2);
    CarsetInfo info; // start-up defaults: the window keeps its own fields
    CarsetInfoWindow w(*p.app, info);
    QCOMPARE(w.versionBox()->currentText(), QString("v1.0"));
    QVERIFY(w.authorField()->text().isEmpty());
    QVERIFY(!w.showOnLoadBox()->isChecked());
    w.authorField()->setText("Jürgen");
    w.dateField()->setText("06.12.26");
    w.showOnLoadBox()->setChecked(true);
    w.memo()->setPlainText("First line\nSecond line");
    w.applyCarsetInfoEdits(info);
    QCOMPARE(info.lines.size(), std::size_t(12));
    QCOMPARE(info.lines[1], std::string("J\xFCrgen"));
    QCOMPARE(info.lines[2], std::string("06.12.26"));
    QCOMPARE(info.lines[3], std::string("1"));
    QCOMPARE(info.lines[9], std::string("RESERVED"));
    QCOMPARE(info.lines[11], std::string("Second line"));

    // A pasted line break keeps the author on its line (the lines after it
    // have fixed places); a letter INFO.DAT cannot hold is refused.
    w.authorField()->selectAll();
    w.authorField()->insert("Max\nMustermann");
    w.authorField()->insert(QString::fromUtf8("Ł"));
    w.applyCarsetInfoEdits(info);
    QCOMPARE(info.lines.size(), std::size_t(12));
    QCOMPARE(info.lines[1], std::string("Max Mustermann"));
    QCOMPARE(info.lines[3], std::string("1"));

    // A carset's own lines are shown without their control characters and
    // kept as they are when OK is pressed without an edit.
    CarsetInfo made;
    made.lines = {"v1.0",
                  "Mr\x1B]0;x\x07 X",
                  "24.12.2003",
                  "0",
                  "RESERVED",
                  "RESERVED",
                  "RESERVED",
                  "RESERVED",
                  "RESERVED",
                  "RESERVED",
                  "\x1B[2JHello\xA0you\x9D"};
    const CarsetInfo kept = made;
    CarsetInfoWindow shown(*p.app, made);
    QCOMPARE(shown.authorField()->text(), QString("Mr]0;x X"));
    QCOMPARE(shown.memo()->document()->toRawText(), QString("[2JHello\u00A0you"));
    shown.applyCarsetInfoEdits(made);
    QCOMPARE(made.lines, kept.lines);
}

void MainWindowTest::backupOntoAFullDiskSaysWhatIsMissing()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    BackupWindow w(*p.app);
    w.show();
    w.list()->topLevelItem(0)->setCheckState(0, Qt::Checked); // GP3.EXE
    w.list()->topLevelItem(1)->setCheckState(0, Qt::Checked); // F1GSTATE.SAV
    w.target()->setText(QString::fromStdString(p.path("backup")));
    {
        pitwall::test::FileSizeLimit full(FileSizeOf(p.path("game/F1GSTATE.SAV")) + 1);
        w.startBackup();
    }
    QCOMPARE(p.messages.size(), std::size_t(1));
    const std::string& text = p.messages[0].text;
    QVERIFY2(text.find("Files not copied: 1") != std::string::npos, text.c_str());
    QVERIFY2(text.find(p.path("game/GP3.EXE") + ": ") != std::string::npos, text.c_str());
    QVERIFY(!FileExists(p.path("backup/GP3.EXE")));
    QVERIFY(FileExists(p.path("backup/F1GSTATE.SAV")));
    // A complete backup says so, in the installation's spelling of its folders.
    w.list()->topLevelItem(3)->setCheckState(0, Qt::Checked); // LData\*.STR
    // A folder named beyond Windows-1252 is named with its own letters.
    w.target()->setText(QString::fromStdString(p.path("second Pawe\u0142")));
    w.startBackup();
    QCOMPARE(p.numbers().back(), 164);
    QVERIFY2(FromMessageText(p.messages.back().text).contains(QString("second Pawe\u0142")),
             p.messages.back().text.c_str());
    QVERIFY(!ListFiles(p.path("second Pawe\u0142/LDATA/"), "*.STR", false, false).empty());
    p.messages.clear();
    // Nothing ticked, nothing copied: no word of a complete backup.
    for (int i = 0; i < w.list()->topLevelItemCount(); ++i)
        w.list()->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
    w.startBackup();
    QCOMPARE(p.numbers(), std::vector<int>{1302});
    p.messages.clear();

    // Group names are shown whole, and a quoted folder is the folder inside the quotes.
    auto* list = w.list();
    QVERIFY(list->columnWidth(0) >= list->fontMetrics().horizontalAdvance(list->topLevelItem(1)->text(0)));
    w.target()->setText(QString::fromStdString("  \"" + p.path("quoted") + "\" "));
    QCOMPARE(w.target()->text(), QString::fromStdString(p.path("quoted")));

    // The game folder itself is no place for a backup of it: refused before anything is copied.
    const auto exeTime = std::filesystem::last_write_time(NativePath(p.path("game/GP3.EXE")));
    auto* typed = w.target()->findChild<QLineEdit*>();
    typed->clear();
    QTest::keyClicks(typed, QString::fromStdString(p.path("game")));
    pitwall::gui::test::Click(&w, "BitBtn3"); // "Back up now"
    QCOMPARE(p.numbers(), std::vector<int>{1301});
    QVERIFY(std::filesystem::last_write_time(NativePath(p.path("game/GP3.EXE"))) == exeTime);
}

// v1.00 has five languages: importing everything at start reads what the
// game has and has nothing to report about the three languages it lacks.
void MainWindowTest::alwaysImportOnVersion100StartsWithoutAMessage()
{
    GuiProgram p(1);
    p.program.settings.gameDirectory = p.path("game/");
    p.program.settings.alwaysImport = true;
    QVERIFY(p.window->firstActivation());
    QCOMPARE(p.program.gameVersion, 1);
    QCOMPARE(p.numbers(), std::vector<int>{});
    const TransferState& transfer = p.app->workingSet().transfer;
    QVERIFY(transfer.isLoaded(1) && transfer.isLoaded(172) && transfer.isLoaded(195));
    QVERIFY(!transfer.isLoaded(173) && !transfer.isLoaded(198));
    // What the start imported is no edit of the user's: quitting asks nothing.
    int asked = 0;
    p.app->askAboutEdits = [&asked] {
        ++asked;
        return AppContext::EditsAnswer::Cancel;
    };
    p.window->findChild<QAction*>("Beenden1")->trigger();
    QCOMPARE(asked, 0);
    QVERIFY(p.app->shutDown);
}

void MainWindowTest::menuTransfersRunOnTheTeamsArea()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // "Importieren": tick teams and drivers in the dialog.
    OnModal([&](QWidget* modal) {
        auto* d = qobject_cast<SelectionDialogWindow*>(modal);
        if (!d)
            return true;
        if (!d->box(1)->isChecked())
            d->box(1)->click();
        d->accept();
        return false;
    });
    p.window->findChild<QAction*>("Importieren1")->trigger();
    QVERIFY(p.app->workingSet().transfer.isLoaded(1));

    std::string carset = p.path("saved.GMS");
    p.app->chooseFileToSave = [&](const FileRequest& r) -> std::optional<std::string> {
        if (r.defaultName != "Carset.GMS")
            return std::nullopt;
        return carset;
    };
    p.window->findChild<QAction*>("KomplettesSetspeichern1")->trigger();
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    QVERIFY(archive.contains("TeamsDrivers.DAT"));

    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
    p.window->findChild<QAction*>("KomplettesSetladen2")->trigger();
    QVERIFY(p.numbers().empty());
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    QVERIFY(!p.app->loadingWindow->isVisible());
}

void MainWindowTest::fileFiltersShowTheirPatternOnce()
{
    QCOMPARE(DialogFilterEntry("Carsets (*.GMS)", "*.GMS"), QString("Carsets (*.GMS)"));
    QCOMPARE(DialogFilterEntry("Team- und Fahrerdateien (*.PER)", "*.PER"), QString("Team- und Fahrerdateien (*.PER)"));
    QCOMPARE(DialogFilterEntry("Bilder (*.BMP, *.JPG)", "*.BMP;*.JPG"), QString("Bilder (*.BMP *.JPG)"));
    QCOMPARE(DialogFilterEntry("Carsets", "*.GMS"), QString("Carsets (*.GMS)"));
}

void MainWindowTest::gameStartWithoutItsLauncherSaysWhatIsMissing()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.program.settings.startCommand = "pitwall-no-such-launcher --fullscreen";
    p.messages.clear();
    auto* start = p.window->findChild<QAction*>("GrandPrix3starten1");
    QVERIFY(start);
    start->trigger();
    QCOMPARE(p.numbers(), std::vector<int>{907});
    QVERIFY(p.messages[0].text.find("pitwall-no-such-launcher --fullscreen GP3.EXE") != std::string::npos);

    // The options dialog shows the command and takes a new one.
    auto* options = p.app->optionsDialog.get();
    options->show();
    auto* field = options->findChild<QLineEdit*>("EditStartCommand");
    QVERIFY(field);
    QCOMPARE(field->text(), QString("pitwall-no-such-launcher --fullscreen"));
    field->setText("  wine64 ");
    options->hide();
    QCOMPARE(p.program.settings.startCommand, std::string("wine64"));
}

void MainWindowTest::dragAndDropTickedInAnOpenEditorOutlivesQuitting()
{
    for (const auto& [editor, key] : {std::pair{"TForm12", "DnDTeams=1"}, std::pair{"TForm13", "DnDTracks=1"}}) {
        GuiProgram p(2);
        p.program.settings.gameDirectory = p.path("game/");
        QVERIFY(p.window->firstActivation());
        p.window->openEditor(editor);
        auto* drag = p.window->currentEditor()->findChild<QCheckBox*>("CheckBox3");
        QVERIFY(drag && !drag->isChecked());
        drag->click();
        p.window->close(); // "Beenden" with the editor still open
        const auto ini = pitwall::test::ReadBytes(p.path("program/PITWALL.INI"));
        QVERIFY2(std::string(ini.begin(), ini.end()).find(key) != std::string::npos, key);
    }
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
