#include "GuiTestSupport.h"

#include "DirectoryMaskChooser.h"
#include "ProgressWindow.h"
#include "SwapListWidget.h"
#include "TracksEditor.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "tracks/Gp3InfoValues.h"
#include "tracks/TrackPictures.h"
#include "tracks/TracksArea.h"

#include <QApplication>
#include <QTimer>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::openEditor;

class TracksEditorTest : public QObject {
    Q_OBJECT
private slots:
    void importAllFillsThePagesAndTheComputeButtonsWork();
    void movingATrackToTheTopTakesEverythingAlong();
    void picturesOfTheWrongSizeAreRefused();
    void jamChecksNameTheMissingJam();
    void gp3InfoLapRecordsAndPerfectingTheStrategy();
    void allPicturesGoOutAndInWithAProgressWindow();
    void standardLoadsTheTracksOfStandardDat();
    void englishCaptionsReplaceTheGermanOnes();
    void editedBumpsReachTheGame();
};

void TracksEditorTest::importAllFillsThePagesAndTheComputeButtonsWork()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    QCOMPARE(pages->count(), 10);
    QVERIFY(!pages->widget(0)->isEnabled());
    Click(editor, "Button2"); // "Alles importieren"
    for (int item : TrackItems())
        QVERIFY(p.app->workingSet().transfer.isLoaded(item));
    for (int page = 0; page < 10; ++page)
        QVERIFY(pages->widget(page)->isEnabled());
    TrackTable& tracks = p.app->workingSet().tracks;
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit1")->value(), int{tracks.info[0].grip});
    QCOMPARE(Child<QLineEdit>(editor, "Edit1")->text(), FromGameText(tracks.info[0].qualifying.driver.text()));
    QVERIFY(Child<QListWidget>(editor, "ListBox3")->count() >= 16);
    QCOMPARE(Child<QListWidget>(editor, "ListBox3")->findItems("SILVERSTONE98.DAT", Qt::MatchExactly).size(), 0);

    // 63 laps give 4873 m and back; 0 leaves the other value as it was.
    auto* laps = Child<QSpinBox>(editor, "SpinEdit2");
    auto* metres = Child<QSpinBox>(editor, "SpinEdit3");
    laps->setValue(63);
    Click(editor, "Button7");
    QCOMPARE(metres->value(), 4873);
    laps->setValue(1);
    Click(editor, "Button8");
    QCOMPARE(laps->value(), 63);
    laps->setValue(0);
    Click(editor, "Button7");
    QCOMPARE(metres->value(), 4873);
    metres->setValue(0);
    laps->setValue(60);
    Click(editor, "Button8");
    QCOMPARE(laps->value(), 60);

    // Strategies: 40/40/20 and "Weniger Stopps" with 60 laps.
    Child<QSpinBox>(editor, "SpinEdit10")->setValue(40);
    Child<QSpinBox>(editor, "SpinEdit13")->setValue(40);
    Child<QSpinBox>(editor, "SpinEdit18")->setValue(20);
    Click(editor, "BitBtn22");
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit10")->value(), 43);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit13")->value(), 42);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit18")->value(), 15);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit11")->value(), 30);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit21")->value(), 30); // 3-stop, stop 2

    // Choosing another track stores the shown one.
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(4);
    QCOMPARE(tracks.info[0].laps, 60);
    QCOMPARE(tracks.info[0].strategies[0], 43);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit1")->value(), int{tracks.info[4].grip});
}

void TracksEditorTest::movingATrackToTheTopTakesEverythingAlong()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    TrackTable& tracks = p.app->workingSet().tracks;
    const TrackTable before = tracks;
    p.app->workingSet().transfer.loaded[TrackSectionsItem(1)] = 0;
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(3);
    Click(editor, "Button33"); // "Oben"
    QCOMPARE(tracks.info[0].grip, before.info[3].grip);
    QVERIFY(tracks.sections[0] == before.sections[3]);
    for (int t = 1; t <= 3; ++t)
        QVERIFY(tracks.info[static_cast<std::size_t>(t)] == before.info[static_cast<std::size_t>(t - 1)]);
    QVERIFY(!p.app->workingSet().transfer.isLoaded(TrackSectionsItem(2)));
    QVERIFY(p.app->workingSet().transfer.isLoaded(TrackSectionsItem(1)));
    QCOMPARE(Child<QListWidget>(editor, "ListBox2")->currentRow(), 0);
}

void TracksEditorTest::picturesOfTheWrongSizeAreRefused()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    const std::string full = p.path("full.bmp");
    SaveBmpFile(Image(800, 600, 24, MakePixel(10, 200, 30)), full);
    p.messages.clear();
    editor->loadPicture(full); // as a small picture: refused
    QCOMPARE(p.numbers(), std::vector<int>{710});
    auto* kind = Child<QComboBox>(editor, "ComboBox2");
    kind->setCurrentIndex(1);
    p.messages.clear();
    editor->loadPicture(full);
    QVERIFY(p.messages.empty());
    auto* view = Child<QLabel>(editor, "Image7");
    QVERIFY(!view->pixmap().isNull());
    QCOMPARE(view->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
}

void TracksEditorTest::jamChecksNameTheMissingJam()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    auto* list = Child<QListWidget>(editor, "ListBox2");
    list->setCurrentRow(0);
    p.messages.clear();
    Click(editor, "BitBtn25");
    Click(editor, "BitBtn1");
    QCOMPARE(p.numbers(), (std::vector<int>{516, 516}));
    list->setCurrentRow(15);
    p.messages.clear();
    Click(editor, "BitBtn25");
    QCOMPARE(p.numbers(), std::vector<int>{515});
    QVERIFY(QString::fromStdString(p.messages[0].text).contains("SUZUKAX.JAM"));
    // A track file that is not there: the list says so, the checks are off.
    p.app->workingSet().tracks.info[2].fileName = "NOSUCH.DAT";
    list->setCurrentRow(2);
    QVERIFY(!Child<QPushButton>(editor, "BitBtn25")->isEnabled());
    QVERIFY(Child<QListWidget>(editor, "ListBox4")->item(0)->text().contains("NOSUCH.DAT"));
}

void TracksEditorTest::gp3InfoLapRecordsAndPerfectingTheStrategy()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(2);
    TrackInfo& track = p.app->workingSet().tracks.info[2];
    // The values the page lists are the ones the buttons take.
    auto* values = Child<QTreeWidget>(editor, "ListView2");
    const QString qualifying = values->topLevelItem(12)->text(1), race = values->topLevelItem(11)->text(1);
    QVERIFY(!qualifying.isEmpty());
    Click(editor, "Button46"); // "Rundenrekord Qualifying"
    Click(editor, "Button47"); // "Rundenrekord Rennen"
    QCOMPARE(track.qualifying.lapTime, ParseGp3InfoLapRecord(qualifying.toStdString(), {})->lapTime);
    QCOMPARE(track.race.lapTime, ParseGp3InfoLapRecord(race.toStdString(), {})->lapTime);
    QCOMPARE(Child<QLineEdit>(editor, "MaskEdit1")->text().remove(' '),
             QString(qualifying).replace(QChar(0x3A), QChar(0x2E)));
    QVERIFY(!Child<QPushButton>(editor, "Button48")->isEnabled()); // no field for the tyre wear

    // "Take all" renames the city; the track list follows at once.
    track.texts[0][1].assign("Elsewhere");
    editor->restore();
    auto* list = Child<QListWidget>(editor, "ListBox2");
    QCOMPARE(list->item(2)->text(), QString("3. Elsewhere"));
    Click(editor, "Button40");
    QVERIFY(track.texts[0][1].text() != "Elsewhere");
    QCOMPARE(list->item(2)->text(), "3. " + QString::fromStdString(track.texts[0][1].text()));

    // "Stoppstrategie perfektionieren": 40/40/40 becomes 34/33/33, laps anew.
    Child<QSpinBox>(editor, "SpinEdit2")->setValue(60);
    Child<QSpinBox>(editor, "SpinEdit10")->setValue(40);
    Child<QSpinBox>(editor, "SpinEdit13")->setValue(40);
    Child<QSpinBox>(editor, "SpinEdit18")->setValue(40);
    Click(editor, "BitBtn24");
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit10")->value(), 34);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit13")->value(), 33);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit18")->value(), 33);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit21")->value(), 30); // 3-stop, stop 2
}

void TracksEditorTest::allPicturesGoOutAndInWithAProgressWindow()
{
    GuiProgram p;
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(5);
    const std::string folder = p.path("pictures/");
    ForceDirectories(folder);
    // The sequence dialog is answered as it opens; while the pictures run,
    // the progress window's caption and first line are noted.
    auto answer = [&](const QString& mask) {
        QTimer::singleShot(0, [&, mask] {
            auto* chooser = qobject_cast<DirectoryMaskChooser*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            chooser->setDirectory(QString::fromStdString(folder));
            chooser->setMask(mask);
            chooser->accept();
        });
    };
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (auto* progress : editor->findChildren<ProgressWindow*>())
            if (progress->isVisible())
                seen << progress->windowTitle() + "/" + progress->firstLine();
    });
    watch.start(0);
    answer("Shot*.BMP");
    Click(editor, "Button11"); // "Alle Streckengrafiken speichern"
    for (int n = 0; n < 8; ++n)
        QVERIFY(FileExists(folder + "Shot" + std::to_string(n) + ".BMP"));
    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen.front().section('/', 0, 0), FromGameText(p.program.texts.text(554)));
    QVERIFY(seen.contains(FromGameText(p.program.texts.text(554)) + "/"
                          + FromGameText(p.program.texts.format(1009, Args(8, 8)))));

    seen.clear();
    answer("Shot*.BMP");
    Click(editor, "Button12"); // "Alle Streckengrafiken laden"
    for (int kind = 0; kind < 2; ++kind)
        for (int view = 0; view < 4; ++view)
            QVERIFY(FileExists(p.program.directories.working + TrackPictureMember(5, kind, view)));
    QVERIFY(seen.contains(FromGameText(p.program.texts.text(554)) + "/"
                          + FromGameText(p.program.texts.format(1010, Args(8, 8)))));

    // Without a folder OK does nothing: no pictures land wherever the
    // program runs.
    const QString previousDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(p.path(""))));
    bool okEnabled = true;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<DirectoryMaskChooser*>(QApplication::activeModalWidget());
        QVERIFY(chooser);
        chooser->setDirectory("");
        chooser->setMask("Lost*.BMP");
        okEnabled = Child<QPushButton>(chooser, "BitBtn1")->isEnabled();
        Click(chooser, "BitBtn1");
        chooser->accept();
        QVERIFY(chooser->isVisible());
        chooser->reject();
    });
    Click(editor, "Button11");
    QVERIFY(!okEnabled);
    QDir::setCurrent(previousDirectory);
    QVERIFY(ListFiles(p.path(""), "Lost*", false, false).empty());
    // Loading from a mask that matches nothing says so.
    p.messages.clear();
    answer("None*.BMP");
    Click(editor, "Button12");
    QCOMPARE(p.numbers(), std::vector<int>{163});
}

void TracksEditorTest::standardLoadsTheTracksOfStandardDat()
{
    GuiProgram p;
    QVERIFY(FileExists(PITWALL_RUNTIME_DIR "/Standard.DAT"));
    CopyFileForced(PITWALL_RUNTIME_DIR "/Standard.DAT", p.program.directories.program + "Standard.DAT");
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    QVERIFY(!pages->widget(0)->isEnabled());
    Click(editor, "Button1"); // "Standard"
    QVERIFY(p.numbers().empty());
    const TrackTable& tracks = p.app->workingSet().tracks;
    for (int t = 0; t < kTrackCount; ++t) {
        QVERIFY(p.app->workingSet().transfer.isLoaded(TrackInfoItem(t)));
        QVERIFY(p.app->workingSet().transfer.isLoaded(TrackSectionsItem(t)));
        QVERIFY(tracks.info[static_cast<std::size_t>(t)].grip != 0);
        QVERIFY(!tracks.info[static_cast<std::size_t>(t)].fileName.text().empty());
    }
    QVERIFY(tracks.sections[3].views[0].count > 0);
    QVERIFY(pages->widget(0)->isEnabled());
    QVERIFY(pages->widget(TracksEditor::kSectionsPage)->isEnabled());
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit1")->value(), int{tracks.info[0].grip});
}

void TracksEditorTest::englishCaptionsReplaceTheGermanOnes()
{
    GuiProgram p(2, "[General]\r\nLanguage=ENGLISH.LNG\r\nFirstTime=0\r\n");
    TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    // Captions that share one text line by line, and texts with a number.
    QCOMPARE(Child<QLabel>(editor, "Label22")->text(), QString("Driver:"));
    QCOMPARE(Child<QLabel>(editor, "Label29")->text(), QString("Date:"));
    QCOMPARE(Child<QComboBox>(editor, "ComboBox1")->itemText(1), QString("Friday"));
    QCOMPARE(Child<QComboBox>(editor, "ComboBox5")->itemText(3), QString("View 4"));
    QCOMPARE(Child<QLabel>(editor, "Label107")->text(), QString("Gear 6:"));
    QCOMPARE(Child<QLabel>(editor, "Label158")->text(), QString("laps after it"));
    QCOMPARE(Child<QListWidget>(editor, "ListBox2")->item(15)->text(), QString("Track 16"));
    QCOMPARE(Child<QPushButton>(editor, "Button46")->text(), QString("Qualifying lap record"));
    QCOMPARE(Child<QLabel>(editor, "Label91")->text(), QString("Sections: 0 of at most 30"));
    DirectoryMaskChooser chooser(p.program.texts, editor);
    QCOMPARE(chooser.windowTitle(), QString("Choose a folder"));
    QCOMPARE(Child<QPushButton>(&chooser, "BitBtn2")->text(), QString("Cancel"));
}

void TracksEditorTest::editedBumpsReachTheGame()
{
    for (int version : {1, 2}) {
        GuiProgram p(version);
        TracksEditor* editor = openEditor<TracksEditor>(p, "TForm13");
        QVERIFY(editor);
        Click(editor, "Button2"); // "Alles importieren"
        for (int slot : {0, 15}) {
            Child<QListWidget>(editor, "ListBox2")->setCurrentRow(slot);
            auto* pages = Child<QTabWidget>(editor, "PageControl1");
            pages->setCurrentIndex(TracksEditor::kBumpsPage);
            auto* bumps = Child<QTreeWidget>(editor, "ListView1");
            QVERIFY(bumps->topLevelItemCount() > 1);
            TrackInfo& info = p.app->workingSet().tracks.info[static_cast<std::size_t>(slot)];
            const Bump second = info.bumps[1];
            bumps->setCurrentItem(bumps->topLevelItem(0));
            Child<QSpinBox>(editor, "SpinEdit41")->setValue(1234 + slot);
            Child<QSpinBox>(editor, "SpinEdit42")->setValue(56);
            p.messages.clear();
            Click(editor, "Button15"); // "Exportieren"
            QVERIFY(p.numbers().empty() || p.numbers() == std::vector<int>{753});

            // Read back: whatever the working set held is replaced by the game's.
            info.bumps[0] = {};
            Click(editor, "Button16"); // "Importieren"
            QCOMPARE(info.bumps[0], (Bump{static_cast<std::uint16_t>(1234 + slot), 56}));
            QCOMPARE(info.bumps[1], second);
            QCOMPARE(bumps->topLevelItem(0)->text(1), QString::number(1234 + slot));
        }
    }
}

QTEST_MAIN(TracksEditorTest)
#include "TracksEditorTest.moc"
#include "transfer/ReportedFormats.h"
