// The 3D graphics editor's cockpit, jack, pit-crew and tyre pages as the
// user works them: pictures saved and loaded, colours chosen, and what goes
// into the game comes back from it.

#include "GuiTestSupport.h"

#include "ColorPicker.h"
#include "GP3Image.h"
#include "GraphicsEditor.h"
#include "formats/Bmp.h"
#include "formats/Pictures.h"
#include "graphics/GraphicsSet.h"
#include "graphics/RampTables.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTest>

#include <cstdlib>
#include <tuple>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::Enabled;
using pitwall::gui::test::GuiProgram;

namespace {

GraphicsEditor* OpenOnPage(GuiProgram& p, int page)
{
    auto* editor = pitwall::gui::test::openEditor<GraphicsEditor>(p, "TForm15");
    if (editor)
        Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(page);
    return editor;
}

std::vector<int> Selected(GuiProgram& p)
{
    std::vector<int> items;
    for (int n = 0; n < kItemCount; ++n)
        if (p.app->workingSet().transfer.selected(n))
            items.push_back(n);
    return items;
}

// Every file dialog answers with `file`.
void Answer(GuiProgram& p, const std::string& file)
{
    p.app->chooseFileToSave = [file](const FileRequest&) -> std::optional<std::string> { return file; };
    p.app->chooseFileToOpen = [file](const FileRequest&) -> std::optional<std::string> { return file; };
}

Image Rows(const Image& picture, int top, int height)
{
    Image part(picture.width(), height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < picture.width(); ++x)
            part.setPixel(x, y, picture.pixel(x, top + y) & 0xFFFFFFu);
    return part;
}

Image Opaque(const Image& picture) { return Rows(picture, 0, picture.height()); }

bool Near(QColor shown, Pixel wanted)
{
    const QColor w(RedOf(wanted), GreenOf(wanted), BlueOf(wanted));
    return std::abs(shown.red() - w.red()) < 9 && std::abs(shown.green() - w.green()) < 9
        && std::abs(shown.blue() - w.blue()) < 9;
}

} // namespace

class GraphicsEditorPagesTest : public QObject {
    Q_OBJECT
private slots:
    void cockpitLiveryGoesThroughAPictureIntoTheGame();
    void jacksShowTheSecondFileOnTopAndConvert();
    void pitCrewColourGoesIntoTheRampAndTheGame();
    void tyreSheetsAreSavedAndLoadedByView();
    void helmetEntriesShowTheirHelmetAndFlagsAnimate();
    void carAndHelmetPicturesGoOutAndTheCarToHardware();
};

void GraphicsEditorPagesTest::cockpitLiveryGoesThroughAPictureIntoTheGame()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 1);
    QVERIFY(editor);
    QVERIFY(!Enabled(editor, "CockpitLoadBmp")); // nothing loaded yet
    Child<QListWidget>(editor, "ListBox7")->setCurrentRow(3);
    Click(editor, "CockpitImport");
    QCOMPARE(Selected(p), std::vector<int>{36}); // 33 + team 3, software
    auto& cockpits = p.app->workingSet().graphics.cockpits.soft;
    QVERIFY(cockpits[3].has_value());
    QVERIFY(Enabled(editor, "CockpitLoadBmp"));
    QVERIFY(!Enabled(editor, "CockpitToSoft")); // the software variant is shown
    const Image page = cockpits[3]->page();
    const QImage& shown = Child<GP3Image>(editor, "ListBox7Image")->picture();
    QCOMPARE(shown.pixel(20, 30) & 0xFFFFFFu, page.pixel(20, 30));

    const std::string file = p.path("cockpit.bmp");
    Answer(p, file);
    Click(editor, "CockpitSaveBmp");
    Image picture = LoadBmpFile(file);
    QCOMPARE(picture.width(), 256);
    QCOMPARE(picture.height(), cockpits[3]->pageHeight());
    QVERIFY(Opaque(picture) == Opaque(page));

    // A patch in a palette colour, loaded back, exported and imported again.
    const Pixel colour = p.program.palette.pixel(37);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x)
            picture.setPixel(x, y, colour);
    picture.setDepth(24);
    SaveBmpFile(picture, file);
    Click(editor, "CockpitLoadBmp");
    QVERIFY(p.numbers().empty());
    QCOMPARE(cockpits[3]->page().pixel(15, 15), colour);
    QCOMPARE(Child<GP3Image>(editor, "ListBox7Image")->picture().pixel(15, 15) & 0xFFFFFFu, colour);
    Click(editor, "CockpitExport");
    QCOMPARE(Selected(p), std::vector<int>{36});
    QVERIFY(p.numbers().empty());
    cockpits[3].reset();
    Click(editor, "CockpitImport");
    QVERIFY(cockpits[3].has_value());
    QCOMPARE(cockpits[3]->page().pixel(15, 15), colour);
    QVERIFY(Opaque(Rows(cockpits[3]->page(), 40, 20)) == Opaque(Rows(page, 40, 20)));
}

void GraphicsEditorPagesTest::jacksShowTheSecondFileOnTopAndConvert()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 2);
    QVERIFY(editor);
    Child<QListWidget>(editor, "ListBox8")->setCurrentRow(1);
    Click(editor, "JackImport");
    QCOMPARE(Selected(p), std::vector<int>{56}); // 55 + team 1
    auto& jacks = p.app->workingSet().graphics.jacks;
    QVERIFY(jacks.soft[1] && jacks.soft[1 + kTeamCount]);
    const int firstHeight = jacks.soft[1]->pageHeight(), secondHeight = jacks.soft[1 + kTeamCount]->pageHeight();

    // One picture: the second jack file on top, the first below.
    const std::string file = p.path("jacks.bmp");
    Answer(p, file);
    Click(editor, "JackSaveBmp");
    Image picture = LoadBmpFile(file);
    QCOMPARE(picture.height(), firstHeight + secondHeight);
    QVERIFY(Rows(picture, 0, secondHeight) == Opaque(jacks.soft[1 + kTeamCount]->page()));
    QVERIFY(Rows(picture, secondHeight, firstHeight) == Opaque(jacks.soft[1]->page()));

    const Pixel top = p.program.palette.pixel(40), bottom = p.program.palette.pixel(90);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, y < secondHeight ? top : bottom);
    picture.setDepth(24);
    SaveBmpFile(picture, file);
    Click(editor, "JackLoadBmp");
    QVERIFY(p.numbers().empty());
    QCOMPARE(jacks.soft[1 + kTeamCount]->page().pixel(100, 10), top);
    QCOMPARE(jacks.soft[1]->page().pixel(100, 10), bottom);
    const QImage& shown = Child<GP3Image>(editor, "ListBox8Image")->picture();
    QVERIFY(Near(shown.pixelColor(90, 90), top));
    QVERIFY(Near(shown.pixelColor(90, 187 + 90), bottom));

    // To hardware: refused while the hardware jacks are not loaded, then
    // both files take the software pictures.
    p.messages.clear();
    Click(editor, "JackToHard");
    QCOMPARE(p.numbers(), std::vector<int>{772});
    QVERIFY(!jacks.hard[1]);
    Child<QRadioButton>(editor, "RadioGroup2_1")->setChecked(true);
    Click(editor, "JackImport");
    QCOMPARE(Selected(p), std::vector<int>{67});
    QVERIFY(jacks.hard[1] && jacks.hard[1 + kTeamCount]);
    QVERIFY(!Enabled(editor, "JackToHard"));
    Child<QRadioButton>(editor, "RadioGroup2_0")->setChecked(true);
    p.messages.clear();
    Click(editor, "JackToHard");
    QVERIFY(p.numbers().empty());
    const Image secondHard = jacks.hard[1 + kTeamCount]->page(), firstHard = jacks.hard[1]->page();
    const auto colourAt = [](const Image& image, int x, int y) {
        const Pixel px = image.pixel(x, y);
        return QColor(RedOf(px), GreenOf(px), BlueOf(px));
    };
    QVERIFY(Near(colourAt(secondHard, 100, 10), top));
    QVERIFY(Near(colourAt(firstHard, 100, 10), bottom));
}

void GraphicsEditorPagesTest::pitCrewColourGoesIntoTheRampAndTheGame()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 4);
    QVERIFY(editor);
    auto& ramps = p.app->workingSet().graphics.pitCrew;
    auto* picker = Child<ColorPicker>(editor, "Image21");
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(2);
    Child<QListWidget>(editor, "ListBox3")->setCurrentRow(3);
    // Not loaded: a click changes nothing.
    emit picker->colorClicked(37);
    QCOMPARE(int{ramps[2][kPitCrewFirstBodyPart + 3]}, 0);
    Click(editor, "CrewImport");
    QCOMPARE(Selected(p), std::vector<int>{180}); // 178 + team 2
    QVERIFY(picker->isEnabled());
    QCOMPARE(picker->selected(), int{ramps[2][kPitCrewFirstBodyPart + 3]});
    const std::uint8_t otherPart = ramps[2][kPitCrewFirstBodyPart + 4];
    const auto otherTeam = ramps[3];

    const int chosen = ramps[2][kPitCrewFirstBodyPart + 3] == 37 ? 38 : 37;
    emit picker->colorClicked(chosen);
    QCOMPARE(int{ramps[2][kPitCrewFirstBodyPart + 3]}, chosen);
    QCOMPARE(picker->selected(), chosen);
    emit picker->colorClicked(192); // beyond the 192 colours of the picker
    QCOMPARE(int{ramps[2][kPitCrewFirstBodyPart + 3]}, chosen);
    QCOMPARE(ramps[2][kPitCrewFirstBodyPart + 4], otherPart);
    QVERIFY(ramps[3] == otherTeam);
    // Another body part shows its own base.
    Child<QListWidget>(editor, "ListBox3")->setCurrentRow(4);
    QCOMPARE(picker->selected(), int{otherPart});

    Click(editor, "CrewExport");
    QCOMPARE(Selected(p), std::vector<int>{180});
    QVERIFY(p.numbers().empty());
    ramps[2][kPitCrewFirstBodyPart + 3] = 0;
    Click(editor, "CrewImport");
    QCOMPARE(int{ramps[2][kPitCrewFirstBodyPart + 3]}, chosen);
}

void GraphicsEditorPagesTest::tyreSheetsAreSavedAndLoadedByView()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 5);
    QVERIFY(editor);
    QVERIFY(!Enabled(editor, "TyreLoad"));
    Click(editor, "TyreImport");
    QCOMPARE(Selected(p), std::vector<int>{189});
    auto& tyres = p.app->workingSet().graphics.tyres;
    QVERIFY(tyres[0].has_value());
    QVERIFY(Enabled(editor, "TyreLoad"));

    // The wheel sheet ("Hardware Cockpit-Ansicht").
    const std::string wheel = p.path("wheel.BMP");
    Answer(p, wheel);
    Click(editor, "TyreSave");
    Image saved = LoadBmpFile(wheel);
    QCOMPARE(saved.width(), tyres[0]->wheel.width());
    QCOMPARE(saved.height(), tyres[0]->wheel.height());
    QVERIFY(Opaque(saved) == Opaque(tyres[0]->wheel));
    // Only BMP names are taken.
    Answer(p, p.path("wheel.png"));
    p.messages.clear();
    Click(editor, "TyreSave");
    QCOMPARE(p.numbers(), std::vector<int>{985});
    QVERIFY(!FileExists(p.path("wheel.png")));
    // A picture of another size is refused and changes nothing.
    const Image wheelBefore = tyres[0]->wheel;
    SaveBmpFile(Image(100, 100, 24, MakePixel(1, 2, 3)), p.path("small.BMP"));
    Answer(p, p.path("small.BMP"));
    p.messages.clear();
    Click(editor, "TyreLoad");
    QCOMPARE(p.messages.size(), std::size_t(1));
    QVERIFY(tyres[0]->wheel == wheelBefore);

    // The tread sheet ("Regenreifen"), loaded, shown, exported, imported.
    Child<QRadioButton>(editor, "RadioGroup5_1")->setChecked(true);
    Image tread(kTreadWidth, 2 * kTreadHeight, 24, MakePixel(250, 120, 10));
    // A PNG is taken as well: its transparent pixel on black, said once.
    std::vector<std::uint8_t> alpha(tread.pixels().size(), 255);
    alpha[0] = 0;
    pitwall::test::WriteRgbaPng(p.path("tread.png"), tread, alpha);
    Answer(p, p.path("tread.png"));
    p.messages.clear();
    Click(editor, "TyreLoad");
    QCOMPARE(p.numbers(), std::vector<int>{kTransparentOnBlackText});
    QCOMPARE(tyres[0]->tread.pixel(0, 0), Pixel{0});
    QCOMPARE(tyres[0]->tread.pixel(5, 300), MakePixel(250, 120, 10));
    const std::string treadFile = p.path("tread.BMP");
    SaveBmpFile(tread, treadFile);
    Answer(p, treadFile);
    p.messages.clear();
    Click(editor, "TyreLoad");
    QVERIFY(p.messages.empty());
    QCOMPARE(tyres[0]->tread.pixel(5, 300), MakePixel(250, 120, 10));
    QCOMPARE(Child<GP3Image>(editor, "Image22")->picture().pixelColor(5, 5), QColor(250, 120, 10));
    Click(editor, "TyreExport");
    QCOMPARE(Selected(p), std::vector<int>{189});
    QVERIFY(p.numbers().empty());
    tyres[0].reset();
    Click(editor, "TyreImport");
    QVERIFY(tyres[0].has_value());
    QCOMPARE(tyres[0]->tread.pixel(5, 300), MakePixel(250, 120, 10));
    QVERIFY(tyres[0]->wheel == wheelBefore);

    // The wheel JAMs ("Externe Ansicht") as one picture, JAM 0 on top.
    Child<QRadioButton>(editor, "RadioGroup5_2")->setChecked(true);
    const std::string jams = p.path("jams.BMP");
    Answer(p, jams);
    Click(editor, "TyreSave");
    saved = LoadBmpFile(jams);
    const int top = tyres[0]->wheelJam0.pageHeight();
    QCOMPARE(saved.height(), top + tyres[0]->wheelJam1.pageHeight());
    QVERIFY(Rows(saved, 0, top) == Opaque(tyres[0]->wheelJam0.page()));
}

void GraphicsEditorPagesTest::helmetEntriesShowTheirHelmetAndFlagsAnimate()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 3);
    QVERIFY(editor);
    Click(editor, "HelmetImportAll");
    auto& helmets = p.app->workingSet().graphics.helmets;
    QVERIFY(helmets.soft[0] && helmets.soft[1] && helmets.hard[0] && helmets.hard[1]);
    auto* list = Child<QListWidget>(editor, "ListBox5");
    auto* image = Child<GP3Image>(editor, "ListBox5Image");
    const auto shownAt = [image](int x, int y) { return image->picture().pixel(x, y) & 0xFFFFFFu; };
    // Entry 0: both sheets, the second 180 rows down.
    list->setCurrentRow(0);
    QCOMPARE(shownAt(70, 20), helmets.soft[0]->page().pixel(70, 20));
    QCOMPARE(shownAt(70, 180 + 20), helmets.soft[1]->page().pixel(70, 20));
    // A driver's entry: that helmet of its sheet in the top left corner.
    const auto helmetAt = [&](const TJAMFile& sheet, QRect source, int x, int y) {
        return sheet.page().pixel(source.left() + x * source.width() / 128, source.top() + y * source.height() / 30);
    };
    for (const auto& [entry, sheet, n] : {std::tuple{2, 0, 1}, std::tuple{14, 1, 1}}) {
        list->setCurrentRow(entry);
        const TJAMFile& jam = *helmets.soft[static_cast<std::size_t>(sheet)];
        const Rect r = jam.ImageRect(n);
        QCOMPARE(shownAt(64, 15), helmetAt(jam, QRect(r.left, r.top, r.width(), r.height()), 64, 15));
    }
    // The hardware sheets hold the helmets two to a row.
    Child<QRadioButton>(editor, "RadioGroup4_1")->setChecked(true);
    list->setCurrentRow(4); // helmet 3: second column, second row
    const Image hard = helmets.hard[0]->page();
    QVERIFY(hard.width() >= 256 && hard.height() >= 60);
    QCOMPARE(shownAt(64, 15), hard.pixel(128 + 64, 30 + 15));

    // Flags: "Animation" hides the frame buttons and steps with the timer
    // on this page only.
    auto* pages = Child<QTabWidget>(editor, "PageControl2");
    pages->setCurrentIndex(6);
    Click(editor, "FlagImport");
    auto* timer = Child<QTimer>(editor, "Timer2");
    QVERIFY(!timer->isActive());
    auto* frame = Child<GP3Image>(editor, "Image25");
    const QImage first = frame->picture();
    Child<QCheckBox>(editor, "CheckBox1")->setChecked(true);
    QVERIFY(timer->isActive());
    QVERIFY(Child<QPushButton>(editor, "NextFrame")->isHidden());
    QVERIFY(Child<QPushButton>(editor, "PreviousFrame")->isHidden());
    for (int step = 1; step <= 8; ++step)
        editor->advanceFlagFrame();
    QCOMPARE(editor->flagFrame(), 0);
    editor->advanceFlagFrame();
    QCOMPARE(editor->flagFrame(), 1);
    QVERIFY(frame->picture() != first);
    // While a transfer fills the working set (on another thread, too) the
    // animation leaves it alone.
    p.app->workingSet().transfer.busy = true;
    editor->advanceFlagFrame();
    QCOMPARE(editor->flagFrame(), 1);
    p.app->workingSet().transfer.busy = false;
    pages->setCurrentIndex(5);
    QVERIFY(!timer->isActive());
    pages->setCurrentIndex(6);
    QVERIFY(timer->isActive());
    Child<QCheckBox>(editor, "CheckBox1")->setChecked(false);
    QVERIFY(!timer->isActive());
    QVERIFY(!Child<QPushButton>(editor, "NextFrame")->isHidden());
}

void GraphicsEditorPagesTest::carAndHelmetPicturesGoOutAndTheCarToHardware()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 0);
    QVERIFY(editor);
    auto& cars = p.app->workingSet().graphics.cars;
    Child<QListWidget>(editor, "ListBox6")->setCurrentRow(5);
    Click(editor, "CarImport");
    QVERIFY(cars.soft[5].has_value());
    const std::string file = p.path("car.bmp");
    Answer(p, file);
    Click(editor, "CarSaveBmp");
    QVERIFY(Opaque(LoadBmpFile(file)) == Opaque(cars.soft[5]->page()));

    // The software livery into the hardware one, once that is loaded.
    Child<QRadioButton>(editor, "RadioGroup8_1")->setChecked(true);
    Click(editor, "CarImport");
    QCOMPARE(Selected(p), std::vector<int>{27}); // 22 + team 5
    Child<QRadioButton>(editor, "RadioGroup8_0")->setChecked(true);
    // A patch the hardware livery does not have yet.
    Image patched = LoadBmpFile(file);
    const Pixel colour = p.program.palette.pixel(37);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x)
            patched.setPixel(x, y, colour);
    patched.setDepth(24);
    SaveBmpFile(patched, file);
    Click(editor, "CarLoadBmp");
    const Pixel before = cars.hard[5]->page().pixel(15, 15);
    QVERIFY(!Near(QColor(RedOf(before), GreenOf(before), BlueOf(before)), colour));
    const Image soft = cars.soft[5]->page();
    QCOMPARE(soft.pixel(15, 15), colour);
    QVERIFY(soft.height() > 20);
    p.messages.clear();
    Click(editor, "CarToHard");
    QVERIFY(p.numbers().empty());
    const Image hard = cars.hard[5]->page();
    QCOMPARE(hard.width(), soft.width());
    for (const QPoint at :
         {QPoint(15, 15), QPoint(soft.width() / 2, soft.height() / 2), QPoint(soft.width() - 10, soft.height() - 10)}) {
        const Pixel px = hard.pixel(at.x(), at.y());
        QVERIFY(Near(QColor(RedOf(px), GreenOf(px), BlueOf(px)), soft.pixel(at.x(), at.y())));
    }
    QVERIFY(cars.soft[5]->page() == soft);

    // Both helmet sheets as one picture, "Helmetsd.JAM" on top.
    Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(3);
    Click(editor, "HelmetImportAll");
    auto& helmets = p.app->workingSet().graphics.helmets;
    const std::string sheets = p.path("helmets.bmp");
    Answer(p, sheets);
    Click(editor, "HelmetSaveBmp");
    const Image picture = LoadBmpFile(sheets);
    const int top = helmets.soft[0]->pageHeight();
    QCOMPARE(picture.height(), top + helmets.soft[1]->pageHeight());
    QVERIFY(Rows(picture, 0, top) == Opaque(helmets.soft[0]->page()));
    QVERIFY(Rows(picture, top, helmets.soft[1]->pageHeight()) == Opaque(helmets.soft[1]->page()));
}

QTEST_MAIN(GraphicsEditorPagesTest)
#include "GraphicsEditorPagesTest.moc"
