#include "GuiTestSupport.h"

#include "SelectionDialogWindow.h"
#include "SimulationWindow.h"
#include "SwapListWidget.h"
#include "TeamsEditor.h"
#include "teams/PitLane.h"
#include "teams/TeamsGameFiles.h"
#include "transfer/GameFile.h"
#include "transfer/SavegameChecksum.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;
using pitwall::gui::test::OnModal;

namespace {

// The program after its first activation, with the teams editor open.
TeamsEditor* OpenTeamsEditor(GuiProgram& p)
{
    p.program.settings.gameDirectory = p.path("game/");
    if (!p.window->firstActivation())
        return nullptr;
    return qobject_cast<TeamsEditor*>(p.window->currentEditor());
}

// "Importieren" of the editor: teams and drivers from the demo installation.
void ImportTeams(TeamsEditor* editor) { Click(editor, "Button16"); }

// Drags row `from` of a swap list onto row `to`, as a drag with the mouse
// enters the list and ends there.
void DropRow(SwapListWidget* list, int from, int to)
{
    std::unique_ptr<QMimeData> data(list->dragData(from));
    QPointF at = list->visualItemRect(list->item(to)).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
}

// Answers the next selection dialog with only teams and drivers ticked.
void TickTeamsInNextSelection()
{
    OnModal([](QWidget* modal) {
        auto* d = qobject_cast<SelectionDialogWindow*>(modal);
        if (!d)
            return true;
        if (!d->box(1)->isChecked())
            d->box(1)->click();
        d->accept();
        return false;
    });
}

} // namespace

class TeamsEditorTest : public QObject {
    Q_OBJECT
private slots:
    void pagesFollowTheLoadedFlagAndImportFillsTheEditor();
    void namesAreCutAndUntouchedValuesStay();
    void pitLaneButtonsAndDrag();
    void quickSettingsAndTheirRememberedSteps();
    void exchangesAndTeamDragMoveWholeRecords();
    void equaliseButtonsCopyOverAllTeamsAndDrivers();
    void perFilesThroughTheDialogs();
    void standardLoadsTheTeamsOfStandardDat();
    void simulationShowsLapTimesAndGaps();
    void languageReachesBothWindows();
    void renamedDriverTravelsThroughACarsetIntoAnotherInstallation();
};

void TeamsEditorTest::pagesFollowTheLoadedFlagAndImportFillsTheEditor()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    QVERIFY(editor);
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    auto* panel0 = Child<QLabel>(editor, "Panel0");
    QCOMPARE(pages->count(), 3);
    for (int page = 0; page < 3; ++page)
        QVERIFY(!pages->widget(page)->isEnabled());
    QCOMPARE(panel0->text(), FromGameText(p.program.texts.text(843)));

    ImportTeams(editor);
    QVERIFY(p.app->workingSet().transfer.isLoaded(1));
    for (int page = 0; page < 3; ++page)
        QVERIFY(pages->widget(page)->isEnabled());
    QCOMPARE(panel0->text(), FromGameText(p.program.texts.text(842)));
    const TeamTable& teams = p.app->workingSet().teams;
    auto* list = Child<QListWidget>(editor, "ListBox1");
    QCOMPARE(list->count(), 11);
    QCOMPARE(list->item(10)->text(), FromGameText(teams.teams[10].name.text()));
    QCOMPARE(Child<QLineEdit>(editor, "Edit3")->text(), FromGameText(teams.teams[0].drivers[0].name.text()));
    QCOMPARE(Child<QComboBox>(editor, "ComboBox3")->count(), 22);
    QCOMPARE(Child<QComboBox>(editor, "ComboBox5")->count(), 11);

    // The failure rate follows the susceptibility and cannot be typed into.
    auto* failure = Child<QSpinBox>(editor, "SpinEdit1");
    auto* rate = Child<QLineEdit>(editor, "Edit5");
    QVERIFY(rate->isReadOnly());
    failure->setValue(12'999);
    QCOMPARE(rate->text(), QString("25"));
}

void TeamsEditorTest::namesAreCutAndUntouchedValuesStay()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;

    // Values the controls cannot show survive showing and storing the team.
    teams.teams[0].drivers[1].carNumber = 150;
    teams.teams[0].tqp = 32719;
    teams.teams[0].drivers[0].selected = 0x93;
    teams.teams[0].tyreType = 2; // neither type: the game reads it as Goodyear
    // Control characters of a name are not shown, and not lost either.
    teams.teams[0].engine = std::string_view("V10\x1B[2J\x9D");
    teams.teams[1].name = std::string_view("Evil\r\nTeam");
    editor->restore();
    QCOMPARE(Child<QLineEdit>(editor, "Edit2")->text(), QString("V10[2J"));
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->item(1)->text(), QString("EvilTeam"));
    TeamTable before = teams;
    editor->store();
    QVERIFY(teams == before);

    auto* team = Child<QLineEdit>(editor, "Edit1");
    team->clear();
    QTest::keyClicks(team, "ABCDEFGHIJKLMNOP");
    QCOMPARE(team->text(), QString("ABCDEFGHIJKLMN")); // 14 can be typed
    auto* driver = Child<QLineEdit>(editor, "Edit4");
    driver->clear();
    QTest::keyClicks(driver, "Heinz-Harald Frentzen Jr.");
    // The whole name is in view, not only its end.
    editor->show();
    QApplication::processEvents();
    QVERIFY2(driver->width() >= driver->fontMetrics().horizontalAdvance(driver->text()) + 8,
             qPrintable(QString("%1 px for %2 px of text")
                            .arg(driver->width())
                            .arg(driver->fontMetrics().horizontalAdvance(driver->text()))));
    Child<QCheckBox>(editor, "CheckBox2")->setChecked(true);
    Child<QRadioButton>(editor, "RadioGroup1_1")->setChecked(true);
    Child<QSpinBox>(editor, "SpinEdit13")->setValue(42);

    // Choosing another team stores the one shown.
    Child<QListWidget>(editor, "ListBox1")->setCurrentRow(3);
    QCOMPARE(teams.teams[0].name.text(), std::string("ABCDEFGHIJKLM"));
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->item(0)->text(), QString("ABCDEFGHIJKLM"));
    QCOMPARE(teams.teams[0].drivers[1].name.text(), std::string("Heinz-Harald Frentzen Jr"));
    QCOMPARE(teams.teams[0].drivers[1].selected, std::uint8_t{1});
    QCOMPARE(teams.teams[0].drivers[1].carNumber, std::uint8_t{42});
    QCOMPARE(teams.teams[0].tyreType, kTyreBridgestone);
    QCOMPARE(teams.teams[0].drivers[0].selected, std::uint8_t{0x93});
    QCOMPARE(Child<QLineEdit>(editor, "Edit1")->text(), FromGameText(teams.teams[3].name.text()));
}

void TeamsEditorTest::pitLaneButtonsAndDrag()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;
    auto* pit = Child<SwapListWidget>(editor, "ListBox10");
    QCOMPARE(pit->count(), 11);
    PitOrder start = BuildPitOrder(teams);
    QCOMPARE(pit->item(4)->text(), QString("5: ") + FromGameText(teams.teams[start[4]].name.text()));
    // The selected line is the shown team's place.
    QCOMPARE(pit->currentRow(), int(teams.teams[0].pitPosition));

    pit->setCurrentRow(0);
    Click(editor, "Button50"); // -1 on the first
    QCOMPARE(BuildPitOrder(teams), start);
    pit->setCurrentRow(10);
    Click(editor, "Button51"); // +1 on the last
    QCOMPARE(BuildPitOrder(teams), start);
    pit->setCurrentRow(4);
    Click(editor, "Button51");
    QCOMPARE(BuildPitOrder(teams)[5], start[4]);
    QCOMPARE(BuildPitOrder(teams)[4], start[5]);
    pit->setCurrentRow(5);
    Click(editor, "Button50");
    QCOMPARE(BuildPitOrder(teams), start);

    Click(editor, "Button19");
    for (int position = 0; position < 11; ++position)
        QCOMPARE(BuildPitOrder(teams)[position], start[10 - position]);
    Click(editor, "Button19");
    QCOMPARE(BuildPitOrder(teams), start);

    pit->setCurrentRow(6);
    Click(editor, "Button2"); // Oben
    QCOMPARE(BuildPitOrder(teams)[0], start[6]);
    pit->setCurrentRow(0);
    Click(editor, "Button3"); // Unten
    QCOMPARE(BuildPitOrder(teams)[10], start[6]);
    QCOMPARE(BuildPitOrder(teams)[0], start[10]);

    // Only the shown team's own line can be dragged.
    PitOrder now = BuildPitOrder(teams);
    int own = teams.teams[0].pitPosition;
    int other = own == 0 ? 1 : 0;
    int target = own == 2 ? 3 : 2;
    DropRow(pit, other, target);
    QCOMPARE(BuildPitOrder(teams), now);
    DropRow(pit, own, target);
    QCOMPARE(int(teams.teams[0].pitPosition), target);
    QCOMPARE(pit->count(), 11);
    QCOMPARE(pit->currentRow(), target);
}

void TeamsEditorTest::quickSettingsAndTheirRememberedSteps()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;
    auto setPerformances = [&](int first, int second, int third) {
        for (auto& t : teams.teams)
            t.tqp = 750;
        teams.teams[0].tqp = static_cast<std::uint16_t>(first);
        teams.teams[1].tqp = static_cast<std::uint16_t>(second);
        teams.teams[2].tqp = static_cast<std::uint16_t>(third);
        editor->restore();
    };
    auto performances = [&] { return std::vector<int>{teams.teams[0].tqp, teams.teams[1].tqp, teams.teams[2].tqp}; };
    Child<QRadioButton>(editor, "RadioGroup2_1")->click(); // Leistung - Quali, steps 10
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit16")->value(), 10);
    setPerformances(700, 750, 800);
    Click(editor, "Button9"); // Maximum +
    QCOMPARE(performances(), (std::vector<int>{700, 755, 810}));
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit2")->value(), 700); // shown again
    setPerformances(700, 750, 800);
    Click(editor, "Button7"); // Minimum +
    QCOMPARE(performances(), (std::vector<int>{710, 755, 800}));

    // What is typed but not stored yet takes part.
    Child<QRadioButton>(editor, "RadioGroup2_0")->click(); // Defektanfälligkeit, steps 100
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit14")->value(), 100);
    Child<QSpinBox>(editor, "SpinEdit1")->setValue(31'950);
    Click(editor, "Button5"); // Durchschnitt +
    QCOMPARE(int(teams.teams[0].failure), 32'000);
    Child<QSpinBox>(editor, "SpinEdit1")->setValue(50);
    Click(editor, "Button4"); // Durchschnitt -
    QCOMPARE(int(teams.teams[0].failure), 0);

    // The driver maximum covers all 22 drivers.
    for (int d = 0; d < 22; ++d)
        teams.driver(d).qp = 16'000;
    teams.driver(21).qp = 17'000;
    editor->restore();
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(1);
    Child<QSpinBox>(editor, "SpinEdit17")->setValue(100);
    Click(editor, "Button25"); // Maximum + over driver qualifying strength
    QCOMPARE(int(teams.driver(21).qp), 17'100);
    QCOMPARE(int(teams.driver(0).qp), 16'000);

    // Steps are kept per field and, like team, page and fields, survive
    // reopening the editor.
    Child<QSpinBox>(editor, "SpinEdit15")->setValue(25);
    Child<QRadioButton>(editor, "RadioGroup2_2")->click();
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit15")->value(), 10);
    Child<QRadioButton>(editor, "RadioGroup2_0")->click();
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit15")->value(), 25);
    Child<QListWidget>(editor, "ListBox1")->setCurrentRow(7);
    p.window->openEditor("TForm13");
    p.window->openEditor("TForm12");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* reopened = qobject_cast<TeamsEditor*>(p.window->currentEditor());
    QVERIFY(reopened && reopened != editor);
    QCOMPARE(Child<QListWidget>(reopened, "ListBox1")->currentRow(), 7);
    QCOMPARE(Child<QTabWidget>(reopened, "PageControl1")->currentIndex(), 1);
    QVERIFY(Child<QRadioButton>(reopened, "RadioGroup2_0")->isChecked());
    QCOMPARE(Child<QSpinBox>(reopened, "SpinEdit15")->value(), 25);
    QCOMPARE(Child<QSpinBox>(reopened, "SpinEdit17")->value(), 100);
    QCOMPARE(Child<QLineEdit>(reopened, "Edit1")->text(), FromGameText(teams.teams[7].name.text()));
}

void TeamsEditorTest::exchangesAndTeamDragMoveWholeRecords()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;
    TeamTable start = teams;

    auto* driver1 = Child<QComboBox>(editor, "ComboBox3");
    driver1->setCurrentIndex(0);
    emit driver1->activated(0); // driver 1 of team 1 with himself
    QVERIFY(teams == start);

    auto* driver2 = Child<QComboBox>(editor, "ComboBox4");
    emit driver2->activated(6); // driver 2 of team 1 with driver 1 of team 4
    QVERIFY(teams.teams[0].drivers[1] == start.teams[3].drivers[0]);
    QVERIFY(teams.teams[3].drivers[0] == start.teams[0].drivers[1]);
    QCOMPARE(Child<QLineEdit>(editor, "Edit4")->text(), FromGameText(start.teams[3].drivers[0].name.text()));
    QCOMPARE(driver2->itemText(1), FromGameText(start.teams[3].drivers[0].name.text()));
    teams = start;
    editor->restore();

    emit Child<QComboBox>(editor, "ComboBox5")->activated(5);
    QVERIFY(teams.teams[0] == start.teams[5]);
    QVERIFY(teams.teams[5] == start.teams[0]);
    QCOMPARE(Child<QLineEdit>(editor, "Edit1")->text(), FromGameText(start.teams[5].name.text()));
    teams = start;
    editor->restore();

    // Moving past the closed drop-down with the keys, or scrolling over it,
    // swaps nothing; a choice in its opened list does.
    auto* teamExchange = Child<QComboBox>(editor, "ComboBox5");
    teamExchange->setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_F, Qt::Key_End})
        QTest::keyClick(teamExchange, key);
    QWheelEvent wheel(QPointF(5, 5), teamExchange->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(teamExchange, &wheel);
    QVERIFY(teams == start);
    QTest::keyClick(teamExchange, Qt::Key_Space);
    QTRY_VERIFY(teamExchange->view()->isVisible());
    QTest::keyClick(teamExchange->view(), Qt::Key_Down);
    QTest::keyClick(teamExchange->view(), Qt::Key_Down);
    QTest::keyClick(teamExchange->view(), Qt::Key_Return);
    QVERIFY(!(teams == start));
    teams = start;
    editor->restore();

    // Dragging teams needs the switch, which the settings keep.
    auto* list = Child<SwapListWidget>(editor, "ListBox1");
    DropRow(list, 2, 8);
    QVERIFY(teams == start);
    Child<QCheckBox>(editor, "CheckBox3")->setChecked(true);
    DropRow(list, 2, 8);
    QVERIFY(teams.teams[2] == start.teams[8]);
    QVERIFY(teams.teams[8] == start.teams[2]);
    QCOMPARE(list->item(2)->text(), FromGameText(start.teams[8].name.text()));
    QCOMPARE(list->item(8)->text(), FromGameText(start.teams[2].name.text()));
    QCOMPARE(list->count(), 11);
    editor->store();
    QVERIFY(p.program.settings.dndTeams);
}

void TeamsEditorTest::equaliseButtonsCopyOverAllTeamsAndDrivers()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;
    Child<QSpinBox>(editor, "SpinEdit3")->setValue(333); // typed race performance counts
    Click(editor, "BitBtn12");
    for (const TeamRecord& t : teams.teams)
        QCOMPARE(t.tqp, t.trp);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit2")->value(), 333);

    for (int d = 0; d < 22; ++d)
        teams.driver(d).ra = static_cast<std::uint16_t>(100 + d);
    editor->restore();
    Click(editor, "BitBtn16"); // qualifying consistency := race consistency
    for (int d = 0; d < 22; ++d)
        QCOMPARE(int(teams.driver(d).qa), 100 + d);
    Click(editor, "BitBtn14"); // qualifying strength := race strength
    for (int d = 0; d < 22; ++d)
        QCOMPARE(teams.driver(d).qp, teams.driver(d).rp);
}

void TeamsEditorTest::perFilesThroughTheDialogs()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    ImportTeams(editor);
    TeamTable& teams = p.app->workingSet().teams;
    std::string per = p.path("teams.PER");
    std::vector<FileRequest> asked;
    p.app->chooseFileToSave = [&](const FileRequest& r) -> std::optional<std::string> {
        asked.push_back(r);
        return per;
    };
    p.app->chooseFileToOpen = [&](const FileRequest& r) -> std::optional<std::string> {
        asked.push_back(r);
        return per;
    };
    Child<QSpinBox>(editor, "SpinEdit7")->setValue(1234); // race consistency, typed
    Click(editor, "Button18");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].defaultName, std::string("Pitwall.PER"));
    QCOMPARE(asked[0].filters, std::vector<int>{986});

    TeamTable saved = teams;
    teams.teams[0].drivers[0].ra = 1;
    teams.teams[4].name = "Changed";
    editor->restore();
    Click(editor, "Button17");
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[1].key, std::string("TeamsLoad"));
    QVERIFY(teams == saved);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit7")->value(), 1234);
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->item(4)->text(), FromGameText(saved.teams[4].name.text()));

    // Only .PER names are taken.
    per = p.path("teams.txt");
    Click(editor, "Button17");
    QCOMPARE(p.numbers(), std::vector<int>{985});

    // A file with none of the .PER sections is refused with a message; the
    // grid and what was typed stay.
    per = p.path("settings.PER");
    pitwall::test::WriteText(per, "[General]\r\nGP3Path=C:\\GP3\\\r\n");
    Click(editor, "Button17");
    QCOMPARE(p.messages.size(), std::size_t{2});
    QVERIFY(p.messages[1].text.find("is not a .PER file") != std::string::npos);
    QVERIFY(teams == saved);
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit7")->value(), 1234);
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->item(4)->text(), FromGameText(saved.teams[4].name.text()));
}

void TeamsEditorTest::standardLoadsTheTeamsOfStandardDat()
{
    GuiProgram p;
    QVERIFY(FileExists(PITWALL_RUNTIME_DIR "/Standard.DAT"));
    CopyFileForced(PITWALL_RUNTIME_DIR "/Standard.DAT", p.program.directories.program + "Standard.DAT");
    TeamsEditor* editor = OpenTeamsEditor(p);
    std::string neutral = p.app->workingSet().teams.teams[0].name.text();
    // The user's own carset information is not the defaults' business.
    p.app->workingSet().carsetInfo.lines = {"v1.0", "Mira", "07/12/26", "0"};
    Click(editor, "Button1");
    QVERIFY(p.numbers().empty());
    QCOMPARE(p.app->workingSet().carsetInfo.lines, (std::vector<std::string>{"v1.0", "Mira", "07/12/26", "0"}));
    QVERIFY(p.app->workingSet().transfer.isLoaded(1));
    QVERIFY(p.app->workingSet().teams.teams[0].name.text() != neutral);
    QVERIFY(Child<QTabWidget>(editor, "PageControl1")->widget(0)->isEnabled());
    QCOMPARE(Child<QLineEdit>(editor, "Edit1")->text(), FromGameText(p.app->workingSet().teams.teams[0].name.text()));
}

void TeamsEditorTest::simulationShowsLapTimesAndGaps()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    // The neutral teams the program starts with, made editable.
    p.app->workingSet().transfer.loaded[1] = 1;
    editor->restore();
    Click(editor, "Button53");
    auto* simulation = p.window->findChild<SimulationWindow*>("TForm2");
    QVERIFY(simulation);
    QVERIFY(simulation->isVisible());
    for (int row = 1; row <= 12; ++row)
        QCOMPARE(Child<QLabel>(simulation, ("QualifyingTime" + std::to_string(row)).c_str())->text(),
                 QString("1.33.200"));
    QCOMPARE(Child<QLabel>(simulation, "QualifyingName1")->text(),
             FromGameText(p.app->workingSet().teams.teams[0].drivers[0].name.text()));

    Child<QRadioButton>(simulation, "RadioGroup3_1")->click(); // Relativ
    QCOMPARE(Child<QLabel>(simulation, "QualifyingTime1")->text(), QString("1.33.200"));
    for (int row = 2; row <= 12; ++row)
        QCOMPARE(Child<QLabel>(simulation, ("QualifyingTime" + std::to_string(row)).c_str())->text(),
                 QString("0.00.000"));
    Child<QRadioButton>(simulation, "RadioGroup1_1")->click(); // positions 13-22
    QCOMPARE(Child<QLabel>(simulation, "QualifyingName1")->text(),
             FromGameText(p.app->workingSet().teams.driver(12).name.text()));
    QVERIFY(Child<QLabel>(simulation, "QualifyingTime10")->isVisible());
    QVERIFY(!Child<QLabel>(simulation, "QualifyingTime11")->isVisible());
    QVERIFY(!Child<QLabel>(simulation, "QualifyingName12")->isVisible());

    // A stronger driver, typed in the editor, wins the race; team names show.
    simulation->hide();
    Child<QSpinBox>(editor, "SpinEdit10")->setValue(17'000); // race strength, driver 2 of team 1
    Child<QRadioButton>(simulation, "RadioGroup4_1")->click();
    Child<QRadioButton>(simulation, "RadioGroup3_0")->click();
    Click(editor, "Button54");
    QVERIFY(simulation->isVisible());
    QCOMPARE(Child<QLabel>(simulation, "RaceName1")->text(),
             FromGameText(p.app->workingSet().teams.teams[0].name.text()) + "[1]");
    // Race performance 770: 93700 for the others, 2000 less for him.
    QCOMPARE(Child<QLabel>(simulation, "RaceTime1")->text(), QString("1.31.700"));
    QCOMPARE(Child<QLabel>(simulation, "RaceTime2")->text(), QString("1.33.700"));
    QCOMPARE(simulation->lines(SimulationWindow::Ranking::Race).size(), std::size_t{22});
}

void TeamsEditorTest::languageReachesBothWindows()
{
    GuiProgram p;
    TeamsEditor* editor = OpenTeamsEditor(p);
    p.app->workingSet().transfer.loaded[1] = 1;
    editor->restore();
    Click(editor, "Button54");
    auto* simulation = p.window->findChild<SimulationWindow*>("TForm2");
    const UITexts& texts = p.program.texts;
    QCOMPARE(Child<QPushButton>(editor, "Button16")->text(), FromGameText(texts.text(6)));
    QCOMPARE(Child<QTabWidget>(editor, "PageControl1")->tabText(2), FromGameText(texts.text(13)));
    QCOMPARE(Child<QRadioButton>(editor, "RadioGroup3_3")->text(), FromGameText(texts.text(50)));
    QCOMPARE(simulation->windowTitle(), FromGameText(texts.text(1049)));
    QCOMPARE(Child<QGroupBox>(simulation, "GroupBox2")->title(), FromGameText(texts.text(198)));
    QCOMPARE(Child<QRadioButton>(simulation, "RadioGroup2_1")->text(), FromGameText(texts.text(845)));
    QCOMPARE(Child<QCheckBox>(simulation, "CheckBox1")->text(), FromGameText(texts.text(736)));
}

void TeamsEditorTest::renamedDriverTravelsThroughACarsetIntoAnotherInstallation()
{
    QTemporaryDir shared;
    std::string carset = shared.path().toStdString() + "/renamed.GMS";
    const std::string newName = "Jacques Villeneuve";
    int driverIndex = 2 * 4 + 1;
    {
        GuiProgram p;
        TeamsEditor* editor = OpenTeamsEditor(p);
        ImportTeams(editor);
        Child<QListWidget>(editor, "ListBox1")->setCurrentRow(4);
        auto* name = Child<QLineEdit>(editor, "Edit4");
        name->clear();
        QTest::keyClicks(name, QString::fromStdString(newName));
        p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
        TickTeamsInNextSelection();
        p.window->findChild<QAction*>("Setspeichern1")->trigger();
        QVERIFY(QFile::exists(QString::fromStdString(carset)));
        QVERIFY(p.numbers().empty());
    }

    GuiProgram second;
    TeamsEditor* editor = OpenTeamsEditor(second);
    std::string savegame = second.path("game/F1GSTATE.SAV");
    auto driverInGame = [&] {
        TeamTable installed;
        GameFile exe(second.path("game/GP3.EXE"));
        GameFile save(savegame);
        ReadTeamsFromGame(installed, exe, save, second.program.gameVersion, second.program.savegameFormat);
        return installed.driver(driverIndex).name.text();
    };
    QVERIFY(driverInGame() != newName);
    second.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
    TickTeamsInNextSelection();
    second.window->findChild<QAction*>("Setladen1")->trigger();
    QCOMPARE(second.app->workingSet().teams.driver(driverIndex).name.text(), newName);
    Click(editor, "Button15");
    QVERIFY(second.numbers().empty());

    QCOMPARE(driverInGame(), newName);
    auto bytes = ReadWholeFile(savegame);
    QCOMPARE(StoredSavegameChecksum(bytes), ComputeSavegameChecksum(bytes));
}

QTEST_MAIN(TeamsEditorTest)
#include "TeamsEditorTest.moc"
