// The tracks editor's pages as the user works them: one slot's data going
// into the game and back from the page shown, the computer car setup,
// bumps, track-map sections, the track picture view and the texts of every
// language.

#include "GuiTestSupport.h"
#include "transfer/ReportedFormats.h"

#include "ExpansionDialog.h"
#include "SwapListWidget.h"
#include "TracksEditor.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/Bmp.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "tracks/TrackDates.h"
#include "tracks/TrackGameFiles.h"
#include "tracks/TracksArea.h"
#include "transfer/GameFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::Enabled;
using pitwall::gui::test::FileBytes;
using pitwall::gui::test::GuiProgram;

namespace {

// The editor after "Alles importieren", showing `slot` on `page`.
TracksEditor* ImportedEditor(GuiProgram& p, int slot, int page)
{
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    if (!editor)
        return nullptr;
    Click(editor, "Button2"); // "Alles importieren"
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(slot);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(page);
    return editor;
}

// The track data as the game's files hold them now.
TrackTable GameTracks(GuiProgram& p)
{
    TrackTable table;
    SlotMask all{};
    all.fill(true);
    GameFile exe(p.path("game/GP3.EXE"));
    GameFile save(p.path("game/F1GSTATE.SAV"));
    ReadTrackParameters(table, exe, p.program.gameVersion, all);
    ReadLapRecords(table, save, p.program.savegameFormat, all);
    return table;
}

// The numbers in a label's text, in order.
std::vector<int> NumbersIn(const QString& text)
{
    std::vector<int> numbers;
    static const QRegularExpression number("\\d+");
    for (auto it = number.globalMatch(text); it.hasNext();)
        numbers.push_back(it.next().captured().toInt());
    return numbers;
}

void MovePointer(QWidget* widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor Shown(QWidget* editor, int x, int y)
{
    return Child<QLabel>(editor, "Image7")->pixmap().toImage().pixelColor(x, y);
}

void Select(QTreeWidget* list, int row) { list->setCurrentItem(list->topLevelItem(row)); }

} // namespace

class TracksEditorPagesTest : public QObject {
    Q_OBJECT
private slots:
    void oneSlotGoesToTheGameAndBackFromThePageShown();
    void sectionsAreEditedOneAtATimeAndTravelWithTheirPage();
    void bumpsAreListedAndEditedOneAtATime();
    void pictureViewZoomsScrollsMarksAndNamesTheSection();
    void textsOfEachLanguageAndForEveryTrack();
    void moreStopsRecomputingAndMovingTracks();
    void gp3InfoTakesAndTheTrackFileChoice();
};

void TracksEditorPagesTest::oneSlotGoesToTheGameAndBackFromThePageShown()
{
    GuiProgram p;
    TrackTable& tracks = p.app->workingSet().tracks;
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    // A gear value beyond what the bar can show is shown as it is and kept
    // while the bar is not touched.
    tracks.info[2].setup[2] = 95;
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(2);
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    const TrackTable before = GameTracks(p);

    // Lap record and computer setup, typed on their pages.
    pages->setCurrentIndex(TracksEditor::kRecordsPage);
    Child<QLineEdit>(editor, "Edit1")->setText("Test Driver");
    Child<QLineEdit>(editor, "MaskEdit1")->setText("1.23.456");
    Child<QDateEdit>(editor, "DateTimePicker1")->setDate(QDate(1999, 3, 7));
    // Track data: every field has its place in GP3.EXE.
    pages->setCurrentIndex(TracksEditor::kTrackDataPage);
    const std::vector<std::pair<const char*, int>> data = {{"SpinEdit1", 1777},  {"SpinEdit2", 58},
                                                           {"SpinEdit4", 16404}, {"SpinEdit5", 301},
                                                           {"SpinEdit6", 299},   {"SpinEdit7", 1999}};
    for (const auto& [field, value] : data)
        Child<QSpinBox>(editor, field)->setValue(value);
    auto* practice = Child<QComboBox>(editor, "ComboBox1");
    const int day = before.info[2].practiceDay == 1 ? 0 : 1;
    practice->setCurrentIndex(day);
    pages->setCurrentIndex(TracksEditor::kSetupPage);
    QCOMPARE(Child<QLabel>(editor, "Label112")->text(), QString("95"));
    auto* frontWing = Child<QScrollBar>(editor, "ScrollBar3");
    const int wing = before.info[2].setup[0] == 17 ? 16 : 17;
    frontWing->setValue(wing);
    QCOMPARE(Child<QLabel>(editor, "Label110")->text(), QString::number(wing));
    Child<QScrollBar>(editor, "ScrollBar10")->setValue(80); // gear 6 at its highest
    QCOMPARE(Child<QLabel>(editor, "Label117")->text(), QString("80"));
    // The working set holds other slots changed too; only the shown one goes.
    tracks.info[3].setup[0] = static_cast<std::uint8_t>(before.info[3].setup[0] == 3 ? 4 : 3);
    p.messages.clear();
    Click(editor, "Button15"); // "Exportieren"
    QVERIFY(p.messages.empty());

    TrackTable game = GameTracks(p);
    QCOMPARE(int{game.info[2].setup[0]}, wing);
    QCOMPARE(int{game.info[2].setup[2]}, 95);
    QCOMPARE(int{game.info[2].setup[7]}, 80);
    QCOMPARE(game.info[2].qualifying.driver.text(), std::string("Test Driver"));
    QCOMPARE(game.info[2].qualifying.lapTime, 83456u);
    QCOMPARE(game.info[2].qualifying.date, SerialOfDate({1999, 3, 7}));
    QVERIFY(game.info[3] == before.info[3]);
    QCOMPARE(int{game.info[2].grip}, 1777);
    QCOMPARE(int{game.info[2].laps}, 58);
    QCOMPARE(int{game.info[2].feet}, 16404);
    QCOMPARE(int{game.info[2].fuelPlayer}, 301);
    QCOMPARE(int{game.info[2].fuelComputer}, 299);
    QCOMPARE(int{game.info[2].year}, 1999);
    QCOMPARE(int{game.info[2].practiceDay}, day);

    // "Importieren" brings the game's values back over an edit.
    frontWing->setValue(1);
    Click(editor, "Button16");
    QCOMPARE(frontWing->value(), wing);
    QCOMPARE(Child<QLabel>(editor, "Label110")->text(), QString::number(wing));
    QCOMPARE(Child<QLineEdit>(editor, "Edit1")->text(), QString("Test Driver"));

    // On the sections page the slot's sections go, not its information.
    Child<QSpinBox>(editor, "SpinEdit1")->setValue(game.info[2].grip == 111 ? 112 : 111);
    pages->setCurrentIndex(TracksEditor::kSectionsPage);
    auto* sections = Child<QTreeWidget>(editor, "ListView3");
    QVERIFY(sections->topLevelItemCount() > 1);
    Select(sections, 0);
    Child<QLineEdit>(editor, "Edit50")->setText("HAIRPIN");
    Select(sections, 1);
    const auto exeBefore = FileBytes(p.path("game/GP3.EXE"));
    // The slot's pictures go with its sections; the art bank is enlarged
    // for them when the dialog asks.
    pitwall::gui::test::OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ExpansionDialog*>(modal);
        if (!dialog)
            return true;
        dialog->accept();
        return false;
    });
    Click(editor, "Button15");
    QVERIFY(p.messages.empty());
    QVERIFY(FileBytes(p.path("game/GP3.EXE")) != exeBefore);
    QCOMPARE(GameTracks(p).info[2].grip, game.info[2].grip);
    Select(sections, 0);
    Child<QLineEdit>(editor, "Edit50")->setText("CHICANE");
    Click(editor, "Button16");
    QCOMPARE(tracks.sections[2].views[0].sections[0].label.text(), std::string("HAIRPIN"));
    QCOMPARE(sections->topLevelItem(0)->text(0), QString("HAIRPIN"));
}

void TracksEditorPagesTest::sectionsAreEditedOneAtATimeAndTravelWithTheirPage()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 1, TracksEditor::kSectionsPage);
    QVERIFY(editor);
    TrackTable& tracks = p.app->workingSet().tracks;
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(1); // "Ansicht 2"
    TrackView& view = tracks.sections[1].views[1];
    QVERIFY(view.count >= 2);
    auto* list = Child<QTreeWidget>(editor, "ListView3");
    QCOMPARE(list->topLevelItemCount(), int{view.count});
    QCOMPARE(list->topLevelItem(1)->text(0), QString::fromStdString(view.sections[1].label.text()));
    // No section chosen yet: the fields belong to none and take no typing.
    auto* name = Child<QLineEdit>(editor, "Edit50");
    QVERIFY(!name->isEnabled());
    QVERIFY(!Child<QSpinBox>(editor, "SpinEdit50")->isEnabled());

    Select(list, 1);
    QVERIFY(name->isEnabled());
    QCOMPARE(name->text(), QString::fromStdString(view.sections[1].label.text()));
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit54")->value(), std::max(1, int{view.sections[1].gear}));
    const TrackSection untouched = view.sections[0];
    name->setText("LONG RIGHT");
    Child<QSpinBox>(editor, "SpinEdit50")->setValue(120);
    Child<QSpinBox>(editor, "SpinEdit53")->setValue(444);
    Child<QSpinBox>(editor, "SpinEdit54")->setValue(5);
    Child<QSpinBox>(editor, "SpinEdit55")->setValue(187);
    Select(list, 0); // the edit goes into section 1, the fields show section 0
    QCOMPARE(view.sections[1].label.text(), std::string("LONG RIGHT"));
    QCOMPARE(int{view.sections[1].x1}, 120);
    QCOMPARE(int{view.sections[1].y2}, 444);
    QCOMPARE(int{view.sections[1].gear}, 5);
    QCOMPARE(int{view.sections[1].speed}, 187);
    QCOMPARE(list->topLevelItem(1)->text(0), QString("LONG RIGHT"));
    QVERIFY(view.sections[0] == untouched);
    QCOMPARE(name->text(), QString::fromStdString(untouched.label.text()));

    // Another view, and another slot, keep what was typed in the fields.
    name->setText("FIRST");
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(0);
    QCOMPARE(view.sections[0].label.text(), std::string("FIRST"));
    QVERIFY(tracks.sections[1].views[0].sections[0].label.text() != "FIRST");
    Select(list, 0);
    name->setText("OTHER VIEW");
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(4);
    QCOMPARE(tracks.sections[1].views[0].sections[0].label.text(), std::string("OTHER VIEW"));

    // The limits follow the label while it is typed, and say when the view's
    // text budget is overrun.
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(1);
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(1);
    Select(list, 0);
    auto* count = Child<QLabel>(editor, "Label91");
    auto* chars = Child<QLabel>(editor, "Label92");
    QCOMPARE(NumbersIn(count->text()), (std::vector<int>{int{view.count}, kMaxSections}));
    const std::vector<int> used = NumbersIn(chars->text());
    QCOMPARE(used.size(), std::size_t(2));
    QCOMPARE(used[1], int{view.budget});
    const int shorter = static_cast<int>(name->text().size()) - 1;
    name->setText(name->text().left(shorter));
    emit name->textEdited(name->text());
    QCOMPARE(NumbersIn(chars->text())[0], used[0] - 1);
    QVERIFY(chars->styleSheet().isEmpty());
    // Twenty characters on every section are more than any view holds.
    for (int s = 0; s < view.count; ++s)
        view.sections[static_cast<std::size_t>(s)].label = std::string(20, 'W');
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(2);
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(1);
    QVERIFY(NumbersIn(chars->text())[0] > view.budget);
    QVERIFY(!chars->styleSheet().isEmpty());

    // A label longer than the field takes keeps its end when it is only
    // looked at.
    const std::string longLabel = "VIRAGE DE LA RASCASSE"; // 21 characters
    view.sections[1].label = longLabel;
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(2);
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(1);
    Select(list, 1);
    QCOMPARE(name->text(), QString::fromStdString(longLabel.substr(0, 20)));
    Select(list, 0);
    QCOMPARE(view.sections[1].label.text(), longLabel);
}

void TracksEditorPagesTest::bumpsAreListedAndEditedOneAtATime()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 3, TracksEditor::kBumpsPage);
    QVERIFY(editor);
    TrackInfo& track = p.app->workingSet().tracks.info[3];
    QVERIFY(track.bumpCount() >= 3);
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    QCOMPARE(list->topLevelItemCount(), track.bumpCount());
    QCOMPARE(list->topLevelItem(2)->text(1), QString::number(track.bumps[2].position));
    QCOMPARE(list->topLevelItem(2)->text(2), QString::number(track.bumps[2].strength));

    auto* index = Child<QSpinBox>(editor, "SpinEdit40");
    auto* position = Child<QSpinBox>(editor, "SpinEdit41");
    auto* strength = Child<QSpinBox>(editor, "SpinEdit42");
    QVERIFY(index->isReadOnly());
    Select(list, 1);
    QCOMPARE(index->value(), 1);
    QCOMPARE(position->value(), int{track.bumps[1].position});
    QCOMPARE(strength->value(), int{track.bumps[1].strength});
    const Bump third = track.bumps[2];
    position->setValue(1234);
    strength->setValue(77);
    Select(list, 2);
    QVERIFY(track.bumps[1] == (Bump{1234, 77}));
    QVERIFY(track.bumps[2] == third);
    QCOMPARE(list->topLevelItem(1)->text(1), QString("1234"));
    QCOMPARE(list->topLevelItem(1)->text(2), QString("77"));
    QCOMPARE(position->value(), int{third.position});
    // Choosing another slot keeps the edit of the shown bump.
    strength->setValue(5);
    const int bumps = track.bumpCount();
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(4);
    QCOMPARE(int{track.bumps[2].strength}, 5);
    QCOMPARE(track.bumpCount(), bumps);
    QCOMPARE(list->topLevelItemCount(), p.app->workingSet().tracks.info[4].bumpCount());

    // A track without bumps lists none, and the fields write nothing.
    TrackInfo& flat = p.app->workingSet().tracks.info[5];
    flat.bumpCountMinusOne = 0xFF;
    const auto kept = flat.bumps;
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(5);
    QCOMPARE(list->topLevelItemCount(), 0);
    position->setValue(999);
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(6);
    QVERIFY(flat.bumps == kept);
    QCOMPARE(flat.bumpCount(), 0);
}

void TracksEditorPagesTest::pictureViewZoomsScrollsMarksAndNamesTheSection()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 0, TracksEditor::kPicturesPage);
    QVERIFY(editor);
    TrackView& view = p.app->workingSet().tracks.sections[0].views[0];
    view.count = 1;
    view.sections[0].label = "HAIRPIN";
    view.sections[0].gear = 2;
    view.sections[0].speed = 45;
    view.sections[0].x1 = 100, view.sections[0].y1 = 80, view.sections[0].x2 = 200, view.sections[0].y2 = 160;
    auto* image = Child<QLabel>(editor, "Image7");
    auto* under = Child<QLabel>(editor, "Label83");

    // A small picture in one colour.
    const QColor green(10, 200, 30);
    const std::string small = p.path("small.bmp");
    SaveBmpFile(Image(498, 359, 24, MakePixel(10, 200, 30)), small);
    FileRequest asked;
    p.app->chooseFileToOpen = [&](const FileRequest& request) -> std::optional<std::string> {
        asked = request;
        return small;
    };
    p.messages.clear();
    Click(editor, "Button64"); // "Streckengrafik laden"
    QCOMPARE(asked.defaultName, std::string("Track0-00"));
    QVERIFY(p.messages.empty());
    QCOMPARE(Shown(editor, 5, 5), green);
    // The section markers are drawn over the view only.
    Child<QCheckBox>(editor, "CheckBox1")->setChecked(true);
    QCOMPARE(Shown(editor, 100, 120), QColor(Qt::black));
    QCOMPARE(Shown(editor, 150, 80), QColor(Qt::black));
    QCOMPARE(Shown(editor, 150, 120), green);
    const std::string saved = p.path("saved.bmp");
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return saved; };
    Click(editor, "Button63"); // "Streckengrafik speichern"
    const Image written = LoadBmpFile(saved);
    QCOMPARE(written.width(), 498);
    QCOMPARE(written.height(), 359);
    QCOMPARE(written.pixel(100, 120), MakePixel(10, 200, 30));
    Child<QCheckBox>(editor, "CheckBox1")->setChecked(false);
    QCOMPARE(Shown(editor, 100, 120), green);
    // The pointer over the section names it.
    MovePointer(image, QPoint(150, 120));
    QVERIFY2(under->text().contains("HAIRPIN"), qPrintable(under->text()));
    QVERIFY(under->text().contains("45"));
    MovePointer(image, QPoint(300, 300));
    QVERIFY(under->text().isEmpty());

    // A full-screen picture, red left of x 400 and blue from there on.
    Child<QComboBox>(editor, "ComboBox2")->setCurrentIndex(1);
    Image full(800, 600, 24, MakePixel(200, 0, 0));
    for (int y = 0; y < 600; ++y)
        for (int x = 400; x < 800; ++x)
            full.setPixel(x, y, MakePixel(0, 0, 200));
    const std::string fullFile = p.path("full.bmp");
    SaveBmpFile(full, fullFile);
    editor->loadPicture(fullFile);
    view.sections[0].x1 = 650, view.sections[0].y1 = 20, view.sections[0].x2 = 750, view.sections[0].y2 = 100;
    auto* scrollX = Child<QScrollBar>(editor, "ScrollBar1");
    auto* scrollY = Child<QScrollBar>(editor, "ScrollBar2");
    // At full size the view scrolls over the picture.
    QCOMPARE(scrollX->maximum(), 800 - image->width());
    QCOMPARE(scrollY->maximum(), 600 - image->height());
    QCOMPARE(Shown(editor, 390, 5), QColor(200, 0, 0));
    MovePointer(image, QPoint(700 - 300, 50));
    QVERIFY(under->text().isEmpty());
    scrollX->setValue(300);
    QCOMPARE(Shown(editor, 95, 5), QColor(200, 0, 0));  // x 395
    QCOMPARE(Shown(editor, 105, 5), QColor(0, 0, 200)); // x 405
    MovePointer(image, QPoint(700 - 300, 50));
    QVERIFY(under->text().contains("HAIRPIN"));
    // At half size the whole picture fits: no scrolling, pointer doubled.
    Child<QComboBox>(editor, "ComboBox4")->setCurrentIndex(1);
    QCOMPARE(scrollX->maximum(), 0);
    QCOMPARE(scrollY->maximum(), 0);
    QCOMPARE(Shown(editor, 190, 10), QColor(200, 0, 0)); // x 380
    QCOMPARE(Shown(editor, 210, 10), QColor(0, 0, 200)); // x 420
    MovePointer(image, QPoint(200, 30));                 // (400, 60): no section
    QVERIFY(under->text().isEmpty());
    MovePointer(image, QPoint(350, 30)); // (700, 60)
    QVERIFY(under->text().contains("HAIRPIN"));
    // The small picture is never zoomed.
    Child<QComboBox>(editor, "ComboBox2")->setCurrentIndex(0);
    QCOMPARE(Shown(editor, 490, 350), green);
}

void TracksEditorPagesTest::textsOfEachLanguageAndForEveryTrack()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 1, TracksEditor::kTextsPage);
    QVERIFY(editor);
    TrackTable& tracks = p.app->workingSet().tracks;
    auto* city = Child<QLineEdit>(editor, "Edit30");
    Click(editor, "Image20"); // German
    QCOMPARE(city->text(), QString::fromStdString(tracks.info[1].texts[kTrackCity][0].text()));
    city->setText("Neustadt");
    Click(editor, "Image21"); // English: the German text is kept
    QCOMPARE(tracks.info[1].texts[kTrackCity][0].text(), std::string("Neustadt"));
    QCOMPARE(city->text(), QString::fromStdString(tracks.info[1].texts[kTrackCity][1].text()));
    QVERIFY(city->text() != "Neustadt");

    // "Text für alle Strecken benutzen" beside "Land 2", in English only.
    const auto germanCountry = tracks.info[7].texts[2][0];
    Child<QLineEdit>(editor, "Edit32")->setText("Freedonia");
    Click(editor, "Button72");
    for (const TrackInfo& track : tracks.info)
        QCOMPARE(track.texts[2][1].text(), std::string("Freedonia"));
    QVERIFY(tracks.info[7].texts[2][0] == germanCountry);
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(7);
    QCOMPARE(Child<QLineEdit>(editor, "Edit32")->text(), QString("Freedonia"));

    // The slot's texts go into the game's language files with its information.
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(1);
    p.messages.clear();
    Click(editor, "Button15");
    QVERIFY(p.messages.empty());
    std::vector<std::string> german;
    QVERIFY(ReadStringFile(ResolveGamePath(p.path("game/"), LanguageFileGamePath(0)), german, nullptr));
    QVERIFY(std::find(german.begin(), german.end(), "Neustadt") != german.end());
    Click(editor, "Image20");
    city->setText("Anderswo");
    Click(editor, "Button16");
    QCOMPARE(city->text(), QString("Neustadt"));
    QCOMPARE(tracks.info[1].texts[kTrackCity][0].text(), std::string("Neustadt"));
}

void TracksEditorPagesTest::moreStopsRecomputingAndMovingTracks()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 5, TracksEditor::kPitStopPage);
    QVERIFY(editor);
    auto spin = [editor](int n) { return Child<QSpinBox>(editor, QString("SpinEdit%1").arg(n)); };
    // "Mehr Stopps" on 40/40/20 with 60 laps: 35/42/23, stop laps anew.
    spin(2)->setValue(60);
    spin(10)->setValue(40);
    spin(13)->setValue(40);
    spin(18)->setValue(20);
    Click(editor, "BitBtn23");
    QCOMPARE(spin(10)->value(), 35);
    QCOMPARE(spin(13)->value(), 42);
    QCOMPARE(spin(18)->value(), 23);
    const std::vector<std::pair<int, int>> stops = {{11, 30}, {12, 6}, {14, 20}, {15, 6}, {16, 40}, {17, 6},
                                                    {19, 15}, {20, 6}, {21, 30}, {22, 6}, {23, 45}, {24, 6}};
    for (const auto& [field, value] : stops)
        QCOMPARE(spin(field)->value(), value);
    // "Rundenzahlen neu berechnen": a strategy nobody uses has no stops;
    // the others follow the laps shown.
    spin(10)->setValue(0);
    spin(2)->setValue(40);
    Click(editor, "Button9");
    QCOMPARE(spin(11)->value(), 0);
    QCOMPARE(spin(12)->value(), 0);
    QCOMPARE(spin(14)->value(), 13);
    QCOMPARE(spin(16)->value(), 26);
    QCOMPARE(spin(23)->value(), 30);
    QCOMPARE(spin(24)->value(), 4);

    // "-1", "+1", "Unten" and a drop take the whole track along.
    TrackTable& tracks = p.app->workingSet().tracks;
    editor->store();
    const TrackTable before = tracks;
    auto* list = Child<QListWidget>(editor, "ListBox2");
    Click(editor, "Button34");
    QVERIFY(tracks.info[4] == before.info[5]);
    QVERIFY(tracks.info[5] == before.info[4]);
    QCOMPARE(list->currentRow(), 4);
    QCOMPARE(spin(10)->value(), 0); // the moved track is still the one shown
    Click(editor, "Button35");
    QVERIFY(tracks.info == before.info);
    QCOMPARE(list->currentRow(), 5);
    Click(editor, "Button36");
    QVERIFY(tracks.info[15] == before.info[5]);
    QVERIFY(tracks.info[5] == before.info[6]);
    QVERIFY(tracks.info[14] == before.info[15]);
    QCOMPARE(list->currentRow(), 15);
    // Dragging is off until "Drag 'n Drop" is ticked; a drop exchanges.
    QVERIFY(!list->dragEnabled());
    Child<QCheckBox>(editor, "CheckBox3")->setChecked(true);
    QVERIFY(list->dragEnabled());
    const TrackTable moved = tracks;
    emit static_cast<SwapListWidget*>(list)->swapRequested(15, 2);
    QVERIFY(tracks.info[2] == moved.info[15]);
    QVERIFY(tracks.info[15] == moved.info[2]);
    QVERIFY(tracks.info[3] == moved.info[3]);
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(spin(10)->value(), 0);
}

void TracksEditorPagesTest::gp3InfoTakesAndTheTrackFileChoice()
{
    GuiProgram p;
    TracksEditor* editor = ImportedEditor(p, 2, TracksEditor::kGp3InfoPage);
    QVERIFY(editor);
    TrackInfo& track = p.app->workingSet().tracks.info[2];
    QVERIFY(Child<QCheckBox>(editor, "CheckBox2")->isChecked());
    auto* values = Child<QTreeWidget>(editor, "ListView2");
    const QString name = values->topLevelItem(0)->text(1), country = values->topLevelItem(1)->text(1);
    const QString year = values->topLevelItem(4)->text(1), laps = values->topLevelItem(7)->text(1);
    const QString metres = values->topLevelItem(10)->text(1);
    QVERIFY(!name.isEmpty() && !country.isEmpty());
    QVERIFY(year.toInt() > 0 && laps.toInt() > 0 && metres.toInt() > 0);

    // Each button takes its value over what the pages show.
    Child<QSpinBox>(editor, "SpinEdit7")->setValue(1);
    Child<QSpinBox>(editor, "SpinEdit2")->setValue(1);
    Child<QSpinBox>(editor, "SpinEdit3")->setValue(1);
    Click(editor, "Button43"); // "Jahr"
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit7")->value(), year.toInt());
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit2")->value(), 1);
    Click(editor, "Button44"); // "Rundenzahl"
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit2")->value(), laps.toInt());
    Click(editor, "Button45"); // "Länge (Meter)"
    QCOMPARE(Child<QSpinBox>(editor, "SpinEdit3")->value(), metres.toInt());
    QCOMPARE(int{track.metres}, metres.toInt());
    for (auto& kind : track.texts)
        for (auto& text : kind)
            text = std::string("X");
    editor->restore();
    Click(editor, "Button41"); // "Name": the city in every language
    for (int l = 0; l < kTrackLanguageCount; ++l) {
        QCOMPARE(QString::fromStdString(track.texts[kTrackCity][static_cast<std::size_t>(l)].text()), name);
        QCOMPARE(track.texts[kTrackCountry1][static_cast<std::size_t>(l)].text(), std::string("X"));
    }
    Click(editor, "Button42"); // "Land": the five countries in every language
    for (int k = kTrackCountry1; k < kTrackAttribute; ++k)
        QCOMPARE(QString::fromStdString(track.texts[static_cast<std::size_t>(k)][3].text()), country);
    QCOMPARE(track.texts[kTrackAttribute][3].text(), std::string("X"));
    // "Alles übernehmen" after new edits.
    Child<QSpinBox>(editor, "SpinEdit7")->setValue(2);
    Child<QSpinBox>(editor, "SpinEdit2")->setValue(2);
    Click(editor, "Button40");
    QCOMPARE(int{track.year}, year.toInt());
    QCOMPARE(int{track.laps}, laps.toInt());

    // Another file of the list becomes the slot's track file, and the JAM
    // page reads that file.
    auto* files = Child<QListWidget>(editor, "ListBox3");
    QListWidgetItem* other = nullptr;
    for (int row = 0; row < files->count() && !other; ++row)
        if (files->item(row)->text() != QString::fromStdString(track.fileName.text()))
            other = files->item(row);
    QVERIFY(other);
    const QString chosen = other->text();
    files->setCurrentItem(other);
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(3);
    QCOMPARE(QString::fromStdString(track.fileName.text()), chosen);
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(2);
    QCOMPARE(files->currentItem()->text(), chosen);
    QVERIFY(Enabled(editor, "BitBtn25"));
    QVERIFY(Child<QListWidget>(editor, "ListBox4")->count() > 0);

    // A carset's track not yet in CIRCUITS: none of the list is the slot's.
    // Tabbing into the list makes its first row current, but only a row the
    // user picks becomes the slot's file.
    auto* slotList = Child<QListWidget>(editor, "ListBox2");
    slotList->setCurrentRow(3);
    track.fileName = std::string("CARSET.DAT");
    slotList->setCurrentRow(2);
    QVERIFY(files->selectedItems().isEmpty());
    QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(files, &tabbedIn);
    QVERIFY(files->currentItem());
    slotList->setCurrentRow(3);
    QCOMPARE(track.fileName.text(), std::string("CARSET.DAT"));

    // A file name beyond ASCII is listed as the system spells it and goes to
    // the game in Windows-1252.
    WriteWholeFile(ResolveGamePath(p.path("game/"), "CIRCUITS") + "/\u00C9COLE.DAT", {0});
    slotList->setCurrentRow(2);
    const QList<QListWidgetItem*> ecole = files->findItems("\u00C9COLE.DAT", Qt::MatchExactly);
    QCOMPARE(ecole.size(), 1);
    files->setCurrentItem(ecole.front());
    slotList->setCurrentRow(3);
    QCOMPARE(track.fileName.text(),
             std::string("\xC9"
                         "COLE.DAT"));
    slotList->setCurrentRow(2);
    QCOMPARE(files->currentItem()->text(), QString("\u00C9COLE.DAT"));

    // A name spelt in other letter case than the file is found, and kept.
    slotList->setCurrentRow(3);
    track.fileName = std::string("\xE9"
                                 "cole.dat");
    slotList->setCurrentRow(2);
    QCOMPARE(files->currentItem()->text(), QString("\u00C9COLE.DAT"));
    slotList->setCurrentRow(3);
    QCOMPARE(track.fileName.text(),
             std::string("\xE9"
                         "cole.dat"));
}

QTEST_MAIN(TracksEditorPagesTest)
#include "TracksEditorPagesTest.moc"
