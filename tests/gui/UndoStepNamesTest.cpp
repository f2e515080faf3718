// The Edit menu names an undo step by the control and the record it changed
// ("Undo change of Engine (Team 3: Ferrano)"), in English and German, driven
// as a user does: clicking list rows, choosing from drop-downs, typing into
// fields. The record is the one chosen when the edit started.
#include "GuiTestSupport.h"

#include "CarNumbersBox.h"
#include "GP3Image.h"
#include "Mnemonics.h"
#include "SplashWindow.h"
#include "base/UITexts.h"
#include "cockpit/CockpitData.h"
#include "tracks/TrackTable.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

const std::string kGerman = "[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n";

void StartImported(GuiProgram& p)
{
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
}

// Types into a field as a user does; `settle` waits for the program to take
// the edit in (a user who types and clicks on at once does not wait).
void TypeInto(QWidget* field, const QString& text, bool settle = true)
{
    field->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
        spin->selectAll();
    QTest::keyClicks(field, text);
    if (settle)
        QTest::qWait(20);
}

void ClickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QTest::qWait(20);
}

void ShowPage(QTabWidget* pages, int page)
{
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(page).center());
    QCOMPARE(pages->currentIndex(), page);
}

QString UndoText(GuiProgram& p) { return WithoutMnemonic(p.window->findChild<QAction*>("Rueckgaengig1")->text()); }

QString NameOfTeam(GuiProgram& p, int slot)
{
    return FromGameText(p.app->workingSet().teams.teams[static_cast<std::size_t>(slot)].name.text());
}

} // namespace

class UndoStepNamesTest : public QObject {
    Q_OBJECT
private:
    static void languages_data();

private slots:
    void teamAndDriverFieldsNameTheirRecord_data() { languages_data(); }
    void teamAndDriverFieldsNameTheirRecord();
    void exchangeNamesTheTeamShownNotTheOneChosen_data() { languages_data(); }
    void exchangeNamesTheTeamShownNotTheOneChosen();
    void clickChoosingAnotherTeamEndsTheEditBeforeIt();
    void trackFieldsNameTheTrack_data() { languages_data(); }
    void trackFieldsNameTheTrack();
    void graphicsFieldsNameThePageAndTheTeam_data() { languages_data(); }
    void graphicsFieldsNameThePageAndTheTeam();
    void cockpitFieldsNameThePageAndTheObject();
    void splashAndDoubleSizeViewAreDescribed();
};

void UndoStepNamesTest::languages_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("undo");   // the Edit menu's entry up to the control's caption
    QTest::addColumn<QString>("driver"); // the word for a driver
    QTest::addColumn<QString>("track");  // the word for a track
    QTest::newRow("English") << QString::fromStdString(kEnglish) << "Undo change of " << "Driver" << "Track";
    QTest::newRow("German") << QString::fromStdString(kGerman) << QString::fromUtf8("Rückgängig: Änderung von ")
                            << "Fahrer" << "Strecke";
}

void UndoStepNamesTest::teamAndDriverFieldsNameTheirRecord()
{
    QFETCH(QString, ini);
    QFETCH(QString, undo);
    QFETCH(QString, driver);
    GuiProgram p(2, ini.toStdString());
    StartImported(p);
    EditorWindow* teams = p.window->currentEditor();
    auto* pages = Child<QTabWidget>(teams, "PageControl1");
    ClickRow(Child<QListWidget>(teams, "ListBox1"), 2);
    const QString team3 = NameOfTeam(p, 2);

    TypeInto(Child<QLineEdit>(teams, "Edit2"), "EngineX");
    QCOMPARE(p.app->workingSet().teams.teams[2].engine.text(), std::string("EngineX"));
    QVERIFY2(UndoText(p).startsWith(undo), qPrintable(UndoText(p)));
    QVERIFY2(UndoText(p).endsWith(" (Team 3: " + team3 + ")"), qPrintable(UndoText(p)));

    // The team's own name field names the team as it was called before.
    TypeInto(Child<QLineEdit>(teams, "Edit1"), "Renamed");
    QVERIFY2(UndoText(p).endsWith(" (Team 3: " + team3 + ")"), qPrintable(UndoText(p)));

    // Team 3's second driver is driver 6.
    ShowPage(pages, 1);
    const QString driver6 = FromGameText(p.app->workingSet().teams.driver(5).name.text());
    TypeInto(Child<QLineEdit>(teams, "Edit4"), "Driver Y");
    QCOMPARE(p.app->workingSet().teams.driver(5).name.text(), std::string("Driver Y"));
    QVERIFY2(UndoText(p).endsWith(" (" + driver + " 6: " + driver6 + ")"), qPrintable(UndoText(p)));

    // The quick settings change every team: no record is named.
    ShowPage(pages, 0);
    QTest::mouseClick(Child<QPushButton>(teams, "Button4"), Qt::LeftButton);
    QTest::qWait(20);
    QVERIFY2(UndoText(p).startsWith(undo) && !UndoText(p).contains("Team 3"), qPrintable(UndoText(p)));
}

void UndoStepNamesTest::exchangeNamesTheTeamShownNotTheOneChosen()
{
    QFETCH(QString, ini);
    GuiProgram p(2, ini.toStdString());
    StartImported(p);
    EditorWindow* teams = p.window->currentEditor();
    const QString team1 = NameOfTeam(p, 0), team8 = NameOfTeam(p, 7);
    QVERIFY(team1 != team8);

    // "Exchange with" lists the other teams; choosing team 8 from its list
    // swaps it with team 1, the team shown.
    auto* exchange = Child<QComboBox>(teams, "ComboBox5");
    QTest::mouseClick(exchange, Qt::LeftButton);
    QAbstractItemView* entries = exchange->view();
    QTRY_VERIFY(entries->isVisible());
    const QRect entry = entries->visualRect(exchange->model()->index(7, 0));
    QTest::mouseMove(entries->viewport(), entry.center());
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, entry.center());
    QTest::qWait(20);
    QCOMPARE(NameOfTeam(p, 0), team8);
    QVERIFY2(UndoText(p).endsWith(" (Team 1: " + team1 + ")"), qPrintable(UndoText(p)));
    QVERIFY2(!UndoText(p).contains("Team 8"), qPrintable(UndoText(p)));

    p.window->findChild<QAction*>("Rueckgaengig1")->trigger();
    QCOMPARE(NameOfTeam(p, 0), team1);
    QCOMPARE(NameOfTeam(p, 7), team8);
}

void UndoStepNamesTest::clickChoosingAnotherTeamEndsTheEditBeforeIt()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    EditorWindow* teams = p.window->currentEditor();
    auto* list = Child<QListWidget>(teams, "ListBox1");
    auto* engine = Child<QLineEdit>(teams, "Edit2");
    const QString team1 = NameOfTeam(p, 0), team5 = NameOfTeam(p, 4);
    const std::string engine5 = p.app->workingSet().teams.teams[4].engine.text();

    // Typed for team 1, then at once a click on team 5: the typing is team
    // 1's step, named so, though team 5 is chosen when it is taken in.
    TypeInto(engine, "EngineX", false);
    ClickRow(list, 4);
    QCOMPARE(p.app->session.edits.size(), std::size_t{1});
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));
    QVERIFY2(UndoText(p).endsWith(" (Team 1: " + team1 + ")"), qPrintable(UndoText(p)));

    // Typing on in the same field is now team 5's step, not more of team 1's.
    TypeInto(engine, "EngineY");
    QCOMPARE(p.app->session.edits.size(), std::size_t{2});
    QVERIFY2(UndoText(p).endsWith(" (Team 5: " + team5 + ")"), qPrintable(UndoText(p)));
    p.window->findChild<QAction*>("Rueckgaengig1")->trigger();
    QCOMPARE(p.app->workingSet().teams.teams[4].engine.text(), engine5);
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));
}

void UndoStepNamesTest::trackFieldsNameTheTrack()
{
    QFETCH(QString, ini);
    QFETCH(QString, undo);
    QFETCH(QString, track);
    GuiProgram p(2, ini.toStdString());
    StartImported(p);
    p.window->openEditor("TForm13");
    EditorWindow* tracks = p.window->currentEditor();
    ShowPage(Child<QTabWidget>(tracks, "PageControl1"), 0);
    ClickRow(Child<QListWidget>(tracks, "ListBox2"), 2);
    const QString city = FromGameText(p.app->workingSet().tracks.info[2].texts[kTrackCity][1].text());
    QVERIFY(!city.isEmpty());

    TypeInto(Child<QLineEdit>(tracks, "Edit1"), "Record Holder"); // the qualifying record's driver
    QCOMPARE(p.app->workingSet().tracks.info[2].qualifying.driver.text(), std::string("Record Holder"));
    QVERIFY2(UndoText(p).startsWith(undo), qPrintable(UndoText(p)));
    QVERIFY2(UndoText(p).endsWith(" (" + track + " 3: " + city + ")"), qPrintable(UndoText(p)));
}

void UndoStepNamesTest::graphicsFieldsNameThePageAndTheTeam()
{
    QFETCH(QString, ini);
    QFETCH(QString, undo);
    GuiProgram p(2, ini.toStdString());
    StartImported(p);
    p.window->openEditor("TForm15");
    EditorWindow* graphics = p.window->currentEditor();
    auto* pages = Child<QTabWidget>(graphics, "PageControl2");
    ShowPage(pages, 0);
    ClickRow(Child<QListWidget>(graphics, "ListBox6"), 2);
    auto* hardware = Child<QRadioButton>(graphics, "RadioGroup8_1");
    QTest::mouseClick(hardware, Qt::LeftButton);
    QVERIFY(hardware->isChecked());
    const auto before = p.app->workingSet().graphics.carNumbers;

    TypeInto(graphics->findChild<CarNumbersBox*>()->findChild<QLineEdit*>("Edit1"), "77");
    QVERIFY(p.app->workingSet().graphics.carNumbers != before);
    const QString record = pages->tabText(0).remove('&') + ", Team 3: " + NameOfTeam(p, 2) + ", " + hardware->text();
    QVERIFY2(UndoText(p).startsWith(undo), qPrintable(UndoText(p)));
    QVERIFY2(UndoText(p).endsWith(" (" + record + ")"), qPrintable(UndoText(p)));
}

void UndoStepNamesTest::cockpitFieldsNameThePageAndTheObject()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm16");
    EditorWindow* cockpit = p.window->currentEditor();
    auto* pages = Child<QTabWidget>(cockpit, "PageControl6");
    ShowPage(pages, 1);
    auto* objects = Child<QListWidget>(cockpit, "ListBox12");
    ClickRow(objects, 9);
    TypeInto(Child<QSpinBox>(cockpit, "SpinEdit73"), "20"); // the object's left edge
    QCOMPARE(p.app->workingSet().cockpit.objects[9].left(), 20);
    const QString undo = UndoText(p);
    QVERIFY2(undo.contains(" (" + pages->tabText(1).remove('&') + ", " + objects->item(9)->text() + ", "),
             qPrintable(undo));
}

void UndoStepNamesTest::splashAndDoubleSizeViewAreDescribed()
{
    for (const std::string& ini : {kEnglish, kGerman}) {
        GuiProgram p(2, ini);
        SplashWindow splash;
        splash.describe(p.program.texts);
        auto* picture = Child<QLabel>(&splash, "Image1");
        QCOMPARE(picture->accessibleDescription(), FromGameText(p.program.texts.text(1250)));
        QVERIFY(!picture->accessibleName().isEmpty());

        // The double-size view of a livery is told as the livery is.
        StartImported(p);
        p.window->openEditor("TForm15");
        auto* livery = Child<GP3Image>(p.window->currentEditor(), "ListBox6Image");
        QTRY_VERIFY(!livery->accessibleDescription().isEmpty());
        QTest::mousePress(livery, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(livery, Qt::RightButton, {}, QPoint(10, 10));
        QPointer<QWidget> zoom = livery->zoomWindow();
        QVERIFY(zoom);
        QCOMPARE(zoom->accessibleName(), livery->accessibleName());
        QCOMPARE(zoom->accessibleDescription(), livery->accessibleDescription());
        zoom->close();
    }
}

QTEST_MAIN(UndoStepNamesTest)
#include "UndoStepNamesTest.moc"
