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
#include <QTest>

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

// Types as a user does; `settle` waits for the program to take the edit in
// (a user who types and clicks on at once does not wait).
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

// Opens the drop-down and clicks an entry of its list.
void ChooseEntry(QComboBox* combo, int entry)
{
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* entries = combo->view();
    QTRY_VERIFY(entries->isVisible());
    const QPoint at = entries->visualRect(combo->model()->index(entry, 0)).center();
    QTest::mouseMove(entries->viewport(), at);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, at);
    QTest::qWait(20);
}

QString UndoText(GuiProgram& p) { return WithoutMnemonic(p.window->findChild<QAction*>("Rueckgaengig1")->text()); }

QString NameOfTeam(GuiProgram& p, int slot)
{
    return FromGameText(p.app->workingSet().teams.teams[static_cast<std::size_t>(slot)].name.text());
}

#define VERIFY_UNDO(p, condition) QVERIFY2(condition, qPrintable(UndoText(p)))

} // namespace

class UndoStepNamesTest : public QObject {
    Q_OBJECT
private slots:
    void editorsNameTheRecordChanged_data();
    void editorsNameTheRecordChanged();
    void clickChoosingAnotherTeamEndsTheEditBeforeIt();
    void splashAndDoubleSizeViewAreDescribed();
};

void UndoStepNamesTest::editorsNameTheRecordChanged_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("undo"); // the Edit menu's entry up to the control's caption
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("track");
    QTest::newRow("English") << QString::fromStdString(kEnglish) << "Undo change of "
                             << "Driver"
                             << "Track";
    QTest::newRow("German") << QString::fromStdString(kGerman) << QString::fromUtf8("Rückgängig: Änderung von ")
                            << "Fahrer"
                            << "Strecke";
}

void UndoStepNamesTest::editorsNameTheRecordChanged()
{
    QFETCH(QString, ini);
    QFETCH(QString, undo);
    QFETCH(QString, driver);
    QFETCH(QString, track);
    GuiProgram p(2, ini.toStdString());
    StartImported(p);
    const TeamTable& teams = p.app->workingSet().teams;

    // Teams editor: "Exchange with" lists the other teams; choosing team 8
    // there swaps it with team 1, the team shown, which the step names.
    EditorWindow* editor = p.window->currentEditor();
    const QString team1 = NameOfTeam(p, 0), team8 = NameOfTeam(p, 7);
    ChooseEntry(Child<QComboBox>(editor, "ComboBox5"), 7);
    QCOMPARE(NameOfTeam(p, 0), team8);
    VERIFY_UNDO(p, UndoText(p).startsWith(undo) && UndoText(p).endsWith(" (Team 1: " + team1 + ")"));

    // A field of team 3; its name field names it as it was called before.
    ClickRow(Child<QListWidget>(editor, "ListBox1"), 2);
    const QString team3 = NameOfTeam(p, 2);
    TypeInto(Child<QLineEdit>(editor, "Edit2"), "EngineX");
    QCOMPARE(teams.teams[2].engine.text(), std::string("EngineX"));
    VERIFY_UNDO(p, UndoText(p).startsWith(undo) && UndoText(p).endsWith(" (Team 3: " + team3 + ")"));
    TypeInto(Child<QLineEdit>(editor, "Edit1"), "Renamed");
    VERIFY_UNDO(p, UndoText(p).endsWith(" (Team 3: " + team3 + ")"));
    // The quick settings change every team: no record.
    QTest::mouseClick(Child<QPushButton>(editor, "Button4"), Qt::LeftButton);
    QTest::qWait(20);
    VERIFY_UNDO(p, UndoText(p).startsWith(undo) && !UndoText(p).contains(" (Team"));

    // Team 3's second driver is driver 6.
    ShowPage(Child<QTabWidget>(editor, "PageControl1"), 1);
    const QString driver6 = FromGameText(teams.driver(5).name.text());
    TypeInto(Child<QLineEdit>(editor, "Edit4"), "Driver Y");
    QCOMPARE(teams.driver(5).name.text(), std::string("Driver Y"));
    VERIFY_UNDO(p, UndoText(p).endsWith(" (" + driver + " 6: " + driver6 + ")"));

    // Tracks editor: the track chosen, by its city.
    p.window->openEditor("TForm13");
    editor = p.window->currentEditor();
    ShowPage(Child<QTabWidget>(editor, "PageControl1"), 0);
    ClickRow(Child<QListWidget>(editor, "ListBox2"), 2);
    const QString city = FromGameText(p.app->workingSet().tracks.info[2].texts[kTrackCity][1].text());
    TypeInto(Child<QLineEdit>(editor, "Edit1"), "Record Holder"); // the qualifying record's driver
    QCOMPARE(p.app->workingSet().tracks.info[2].qualifying.driver.text(), std::string("Record Holder"));
    VERIFY_UNDO(p, UndoText(p).startsWith(undo) && UndoText(p).endsWith(" (" + track + " 3: " + city + ")"));

    // 3D graphics: the page, the team and the variant chosen.
    p.window->openEditor("TForm15");
    editor = p.window->currentEditor();
    auto* pages = Child<QTabWidget>(editor, "PageControl2");
    ShowPage(pages, 0);
    ClickRow(Child<QListWidget>(editor, "ListBox6"), 4);
    auto* hardware = Child<QRadioButton>(editor, "RadioGroup8_1");
    QTest::mouseClick(hardware, Qt::LeftButton);
    const auto numbers = p.app->workingSet().graphics.carNumbers;
    TypeInto(editor->findChild<CarNumbersBox*>()->findChild<QLineEdit*>("Edit1"), "77");
    QVERIFY(p.app->workingSet().graphics.carNumbers != numbers);
    const QString livery = pages->tabText(0).remove('&') + ", Team 5: " + NameOfTeam(p, 4) + ", " + hardware->text();
    VERIFY_UNDO(p, UndoText(p).startsWith(undo) && UndoText(p).endsWith(" (" + livery + ")"));

    // Cockpit: the page and the object chosen.
    p.window->openEditor("TForm16");
    editor = p.window->currentEditor();
    pages = Child<QTabWidget>(editor, "PageControl6");
    ShowPage(pages, 1);
    auto* objects = Child<QListWidget>(editor, "ListBox12");
    ClickRow(objects, 9);
    TypeInto(Child<QSpinBox>(editor, "SpinEdit73"), "20"); // the object's left edge
    QCOMPARE(p.app->workingSet().cockpit.objects[9].left(), 20);
    VERIFY_UNDO(p, UndoText(p).contains(" (" + pages->tabText(1).remove('&') + ", " + objects->item(9)->text() + ", "));
}

void UndoStepNamesTest::clickChoosingAnotherTeamEndsTheEditBeforeIt()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    EditorWindow* teams = p.window->currentEditor();
    auto* engine = Child<QLineEdit>(teams, "Edit2");
    const QString team1 = NameOfTeam(p, 0), team5 = NameOfTeam(p, 4);
    const std::string engine5 = p.app->workingSet().teams.teams[4].engine.text();

    // Typed for team 1, then at once a click on team 5: the typing is team
    // 1's step, named so, though team 5 is chosen when it is taken in.
    TypeInto(engine, "EngineX", false);
    ClickRow(Child<QListWidget>(teams, "ListBox1"), 4);
    QCOMPARE(p.app->session.edits.size(), std::size_t{1});
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));
    VERIFY_UNDO(p, UndoText(p).endsWith(" (Team 1: " + team1 + ")"));

    // Typing on in the same field is team 5's step, not more of team 1's.
    TypeInto(engine, "EngineY");
    QCOMPARE(p.app->session.edits.size(), std::size_t{2});
    VERIFY_UNDO(p, UndoText(p).endsWith(" (Team 5: " + team5 + ")"));
    p.window->findChild<QAction*>("Rueckgaengig1")->trigger();
    QCOMPARE(p.app->workingSet().teams.teams[4].engine.text(), engine5);
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));
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
        QTest::mouseClick(livery, Qt::RightButton, {}, QPoint(10, 10));
        QPointer<QWidget> zoom = livery->zoomWindow();
        QVERIFY(zoom);
        QCOMPARE(zoom->accessibleName(), livery->accessibleName());
        QCOMPARE(zoom->accessibleDescription(), livery->accessibleDescription());
        zoom->close();
    }
}

QTEST_MAIN(UndoStepNamesTest)
#include "UndoStepNamesTest.moc"
