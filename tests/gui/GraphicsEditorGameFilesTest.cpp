// The 3D graphics editor against the files it writes: flag colours and
// car-number positions in GP3.EXE and back, the cockpit converted to the
// software JAM, the pit-crew preview of the chosen crew, and the hardware
// jack and helmet pictures saved to files, each read byte for byte.

#include "GuiTestSupport.h"

#include "ColorPicker.h"
#include "GP3Image.h"
#include "GraphicsEditor.h"
#include "formats/Bmp.h"
#include "graphics/GraphicsSet.h"
#include "graphics/RampTables.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Bytes;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::Enabled;
using pitwall::gui::test::FileBytes;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::PutU32;
using pitwall::gui::test::U16;
using pitwall::gui::test::U32;

namespace {

// Where v1.13 keeps the car-number positions (11 x 96 bytes, then 11 x 24)
// and the four flag ramp tables.
constexpr std::size_t kCarNumbersAt = 0x182430;
constexpr std::size_t kFlagColoursAt = 0x41D398;

// A Windows BMP as stored: header fields and the colour of a pixel, read
// straight from the bytes (rows bottom-up, 8-bit through the colour table,
// 32-bit as blue, green, red, unused).
struct BmpBytes {
    Bytes b;
    std::uint32_t pixelOffset() const { return U32(b, 10); }
    int width() const { return static_cast<std::int32_t>(U32(b, 18)); }
    int height() const { return static_cast<std::int32_t>(U32(b, 22)); }
    unsigned bits() const { return U16(b, 28); }
    std::uint32_t compression() const { return U32(b, 30); }
    Pixel tableColour(int index) const
    {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(index);
        return MakePixel(b.at(at + 2), b.at(at + 1), b.at(at));
    }
    std::size_t at(int x, int y) const
    {
        const std::size_t row = static_cast<std::size_t>(width()) * bits() / 8;
        return pixelOffset() + static_cast<std::size_t>(height() - 1 - y) * row
            + static_cast<std::size_t>(x) * bits() / 8;
    }
    int index(int x, int y) const { return b.at(at(x, y)); }
    Pixel colour(int x, int y) const
    {
        if (bits() == 8)
            return tableColour(index(x, y));
        const std::size_t p = at(x, y);
        return MakePixel(b.at(p + 2), b.at(p + 1), b.at(p));
    }
};

GraphicsEditor* OpenOnPage(GuiProgram& p, int page)
{
    auto* editor = pitwall::gui::test::openEditor<GraphicsEditor>(p, "TForm15");
    if (editor)
        Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(page);
    return editor;
}

void Answer(GuiProgram& p, const std::string& file)
{
    p.app->chooseFileToSave = [file](const FileRequest&) -> std::optional<std::string> { return file; };
    p.app->chooseFileToOpen = [file](const FileRequest&) -> std::optional<std::string> { return file; };
}

void ClickGrid(GraphicsEditor* editor, const char* grid, int index)
{
    emit Child<GP3Image>(editor, grid)
        ->mousePressed(Qt::LeftButton, QPoint(index % 16 * 14 + 3, index / 16 * 13 + 3), Qt::NoModifier);
}

// The hardware pair saved as one 32-bit picture: `top` above `bottom`.
void CheckSavedPair(const std::string& file, const TJAMFile& top, const TJAMFile& bottom)
{
    const BmpBytes bmp{FileBytes(file)};
    QCOMPARE(bmp.b.at(0), std::uint8_t('B'));
    QCOMPARE(bmp.b.at(1), std::uint8_t('M'));
    QCOMPARE(U32(bmp.b, 2), std::uint32_t(bmp.b.size()));
    QCOMPARE(bmp.width(), 256);
    QCOMPARE(bmp.height(), top.pageHeight() + bottom.pageHeight());
    QCOMPARE(bmp.bits(), 32u);
    QCOMPARE(bmp.compression(), 0u);
    QCOMPARE(bmp.b.size(), bmp.pixelOffset() + 4u * 256 * static_cast<std::size_t>(bmp.height()));
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < 256; ++x) {
            const bool onTop = y < top.pageHeight();
            const Pixel want = (onTop ? top : bottom).page().pixel(x, onTop ? y : y - top.pageHeight()) & 0xFFFFFFu;
            if (bmp.colour(x, y) != want)
                QFAIL(qPrintable(QString("%1: pixel (%2, %3)").arg(QString::fromStdString(file)).arg(x).arg(y)));
        }
}

} // namespace

class GraphicsEditorGameFilesTest : public QObject {
    Q_OBJECT
private slots:
    void flagColoursAndCarNumbersGoIntoTheGameAndBack();
    void cockpitConvertedToSoftwareIsAnEightBitPalettePicture();
    void pitCrewPreviewShowsTheChosenCrew();
    void hardwareJackAndHelmetPicturesAreSavedWhole();
};

void GraphicsEditorGameFilesTest::flagColoursAndCarNumbersGoIntoTheGameAndBack()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 0);
    QVERIFY(editor);
    const std::string exeFile = p.path("game/GP3.EXE");
    Bytes want = FileBytes(exeFile);
    Click(editor, "NumbersImport");
    Child<QListWidget>(editor, "ListBox6")->setCurrentRow(2);
    Child<QRadioButton>(editor, "RadioButton2")->setChecked(true); // the second number
    // Twelve source values of the second number, six targets of the team.
    for (int f = 0; f < 18; ++f) {
        const int value = 100 + 7 * f;
        Child<QLineEdit>(editor, QString("Edit%1").arg(f + 1))->setText(QString::number(value));
        PutU32(want, f < 12 ? kCarNumbersAt + 96 * 2 + 4 * (12 + f) : kCarNumbersAt + 11 * 96 + 24 * 2 + 4 * (f - 12),
               static_cast<std::uint32_t>(value));
    }
    auto* pages = Child<QTabWidget>(editor, "PageControl2");
    pages->setCurrentIndex(6);
    Click(editor, "FlagImport");
    Child<QListWidget>(editor, "ListBox4")->setCurrentRow(2);
    ClickGrid(editor, "Image23", 53); // "Farbe 1"
    ClickGrid(editor, "Image24", 66); // "Farbe 2"
    want[kFlagColoursAt + 16 * 2 + 4] = 53;
    want[kFlagColoursAt + 16 * 2 + 6] = 66;
    p.messages.clear();
    Click(editor, "FlagExport");
    pages->setCurrentIndex(0);
    Click(editor, "NumbersExport");
    QVERIFY(p.numbers().empty());
    const Bytes written = FileBytes(exeFile);
    QCOMPARE(written.size(), want.size());
    const auto [wanted, got] = std::mismatch(want.begin(), want.end(), written.begin());
    QVERIFY2(wanted == want.end(), qPrintable(QString("GP3.EXE byte 0x%1").arg(wanted - want.begin(), 0, 16)));

    // Read back over other values, then the editor closed and opened again.
    auto& graphics = p.app->workingSet().graphics;
    graphics.carNumbers[2].fill(0);
    graphics.flags[2].fill(0);
    Click(editor, "NumbersImport");
    pages->setCurrentIndex(6);
    Click(editor, "FlagImport");
    p.window->openEditor("TForm13");
    p.window->openEditor("TForm15");
    editor = qobject_cast<GraphicsEditor*>(p.window->currentEditor());
    QVERIFY(editor);
    QCOMPARE(Child<QListWidget>(editor, "ListBox4")->currentRow(), 2);
    QCOMPARE(int{graphics.flags[2][4]}, 53);
    QCOMPARE(int{graphics.flags[2][6]}, 66);
    // The grid frames the sixteen colours from the base on.
    const QImage grid = Child<GP3Image>(editor, "Image23")->picture();
    QCOMPARE(grid.pixel(53 % 16 * 14, 53 / 16 * 13) & 0xFFFFFFu, 0u);
    QCOMPARE(grid.pixel(52 % 16 * 14, 52 / 16 * 13) & 0xFFFFFFu, p.program.palette.pixel(52));
    QCOMPARE(grid.pixel(69 % 16 * 14, 69 / 16 * 13) & 0xFFFFFFu, p.program.palette.pixel(69));
    Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(0);
    QCOMPARE(Child<QListWidget>(editor, "ListBox6")->currentRow(), 2);
    Child<QRadioButton>(editor, "RadioButton2")->setChecked(true);
    for (int f = 0; f < 18; ++f)
        QCOMPARE(Child<QLineEdit>(editor, QString("Edit%1").arg(f + 1))->text(), QString::number(100 + 7 * f));
}

void GraphicsEditorGameFilesTest::cockpitConvertedToSoftwareIsAnEightBitPalettePicture()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 1);
    QVERIFY(editor);
    Child<QListWidget>(editor, "ListBox7")->setCurrentRow(4);
    Click(editor, "CockpitImport");
    Child<QRadioButton>(editor, "RadioGroup1_1")->setChecked(true);
    Click(editor, "CockpitImport");
    auto& cockpits = p.app->workingSet().graphics.cockpits;
    QVERIFY(cockpits.soft[4] && cockpits.hard[4]);
    const Image softBefore = cockpits.soft[4]->page();
    const int softHeight = cockpits.soft[4]->pageHeight(), hardHeight = cockpits.hard[4]->pageHeight();
    const int rows = std::min(softHeight, hardHeight);

    // A hardware picture in colours the palette mostly does not have.
    Image picture(256, hardHeight, 24, 0);
    for (int y = 0; y < hardHeight; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, MakePixel(x, (y * 255) / std::max(1, hardHeight - 1), (x * 3 + y) % 256));
    const std::string file = p.path("cockpit.BMP");
    SaveBmpFile(picture, file);
    Answer(p, file);
    Click(editor, "CockpitLoadBmp");
    QVERIFY(p.numbers().empty());
    QVERIFY(Enabled(editor, "CockpitToSoft"));
    Click(editor, "CockpitToSoft");
    QVERIFY(p.numbers().empty());

    // Each pixel the file keeps becomes the nearest palette colour; rows the
    // hardware page does not have stay; what lies outside every image is
    // black, as the saved file gives it back.
    const Palette& palette = p.program.palette;
    const Image soft = cockpits.soft[4]->page();
    QCOMPARE(soft.height(), softHeight);
    for (int y = 0; y < softHeight; ++y)
        for (int x = 0; x < 256; ++x) {
            const bool kept = cockpits.soft[4]->StoredValueAt(x, y).has_value();
            const Pixel want = !kept ? Pixel(0)
                : y < rows           ? palette.pixel(palette.nearestIndexOfPixel(picture.pixel(x, y)))
                                     : softBefore.pixel(x, y);
            if ((soft.pixel(x, y) & 0xFFFFFFu) != want)
                QFAIL(qPrintable(QString("software pixel (%1, %2)").arg(x).arg(y)));
        }

    // Saved from the software variant: an 8-bit BMP with the game palette.
    Child<QRadioButton>(editor, "RadioGroup1_0")->setChecked(true);
    const std::string saved = p.path("soft.BMP");
    Answer(p, saved);
    Click(editor, "CockpitSaveBmp");
    const BmpBytes bmp{FileBytes(saved)};
    QCOMPARE(bmp.b.size(), std::size_t(256) * static_cast<std::size_t>(softHeight) + 1078);
    QCOMPARE(U32(bmp.b, 2), std::uint32_t(bmp.b.size()));
    QCOMPARE(bmp.pixelOffset(), 1078u);
    QCOMPARE(U32(bmp.b, 14), 40u);
    QCOMPARE(bmp.width(), 256);
    QCOMPARE(bmp.height(), softHeight);
    QCOMPARE(bmp.bits(), 8u);
    QCOMPARE(bmp.compression(), 0u);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(bmp.tableColour(i), palette.pixel(i));
    for (int y = 0; y < softHeight; y += 3)
        for (int x = 0; x < 256; x += 5)
            if (bmp.colour(x, y) != (soft.pixel(x, y) & 0xFFFFFFu))
                QFAIL(qPrintable(QString("saved pixel (%1, %2)").arg(x).arg(y)));

    // Into the game and back: the same pictures (the file holds the
    // JAM's images, not the page around them).
    Click(editor, "CockpitExport");
    QVERIFY(p.numbers().empty());
    cockpits.soft[4].reset();
    Click(editor, "CockpitImport");
    QVERIFY(cockpits.soft[4]);
    const TJAMFile& back = *cockpits.soft[4];
    QVERIFY(back.is8Bit());
    QCOMPARE(back.pageHeight(), softHeight);
    QVERIFY(back.imageCount() > 0);
    for (int i = 0; i < back.imageCount(); ++i) {
        const Rect r = back.ImageRect(i);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (back.page().pixel(x, y) != soft.pixel(x, y))
                    QFAIL(qPrintable(QString("image %1, pixel (%2, %3)").arg(i).arg(x).arg(y)));
    }
}

void GraphicsEditorGameFilesTest::pitCrewPreviewShowsTheChosenCrew()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 4);
    QVERIFY(editor);
    auto* teams = Child<QListWidget>(editor, "ListBox2");
    auto* parts = Child<QListWidget>(editor, "ListBox3");
    auto* textures = Child<QListWidget>(editor, "ListBox1");
    auto* preview = Child<GP3Image>(editor, "Image20");
    Click(editor, "CrewImportAll");
    auto& ramps = p.app->workingSet().graphics.pitCrew;
    const Palette& palette = p.program.palette;
    teams->setCurrentRow(1);
    textures->setCurrentRow(0);
    const QImage first = preview->picture();
    QCOMPARE(first.size(), QSize(256, 256));

    // Another texture, another picture.
    textures->setCurrentRow(1);
    QVERIFY(preview->picture() != first);
    textures->setCurrentRow(0);
    QVERIFY(preview->picture() == first);

    // A body part given another colour ramp: its pixels move from the old
    // ramp to the same place of the new one, the others stay.
    bool moved = false;
    for (int part = 0; part < 13 && !moved; ++part) {
        parts->setCurrentRow(part);
        const int old = ramps[1][static_cast<std::size_t>(kPitCrewFirstBodyPart + part)];
        const int chosen = old == 128 ? 144 : 128;
        const QImage before = preview->picture();
        emit Child<ColorPicker>(editor, "Image21")->colorClicked(chosen);
        const QImage after = preview->picture();
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const Pixel was = before.pixel(x, y) & 0xFFFFFFu, now = after.pixel(x, y) & 0xFFFFFFu;
                if (was == now)
                    continue;
                moved = true;
                bool sameShade = false;
                for (int shade = 0; shade < 16 && !sameShade; ++shade)
                    sameShade = was == palette.pixel(old + shade) && now == palette.pixel(chosen + shade);
                if (!sameShade)
                    QFAIL(qPrintable(QString("part %1, pixel (%2, %3)").arg(part).arg(x).arg(y)));
            }
    }
    QVERIFY(moved);

    // Another crew with other ramps shows another picture of the texture.
    const QImage ours = preview->picture();
    int other = 0;
    while (other < kTeamCount && ramps[static_cast<std::size_t>(other)] == ramps[1])
        ++other;
    QVERIFY(other < kTeamCount);
    teams->setCurrentRow(other);
    QVERIFY(preview->picture() != ours);
}

void GraphicsEditorGameFilesTest::hardwareJackAndHelmetPicturesAreSavedWhole()
{
    GuiProgram p;
    GraphicsEditor* editor = OpenOnPage(p, 2);
    QVERIFY(editor);
    Child<QListWidget>(editor, "ListBox8")->setCurrentRow(3);
    Child<QRadioButton>(editor, "RadioGroup2_1")->setChecked(true);
    Click(editor, "JackImport");
    auto& graphics = p.app->workingSet().graphics;
    QVERIFY(graphics.jacks.hard[3] && graphics.jacks.hard[3 + kTeamCount]);
    QVERIFY(!graphics.jacks.hard[3]->is8Bit());
    const std::string jacks = p.path("jacks.BMP");
    Answer(p, jacks);
    Click(editor, "JackSaveBmp");
    // The second jack file on top, the first below.
    CheckSavedPair(jacks, *graphics.jacks.hard[3 + kTeamCount], *graphics.jacks.hard[3]);
    if (QTest::currentTestFailed())
        return;

    Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(3);
    Child<QRadioButton>(editor, "RadioGroup4_1")->setChecked(true);
    Click(editor, "HelmetImportAll");
    QVERIFY(graphics.helmets.hard[0] && graphics.helmets.hard[1]);
    const std::string helmets = p.path("helmets.BMP");
    Answer(p, helmets);
    Click(editor, "HelmetSaveBmp");
    // "Helmetsd.JAM" on top.
    CheckSavedPair(helmets, *graphics.helmets.hard[0], *graphics.helmets.hard[1]);
}

QTEST_MAIN(GraphicsEditorGameFilesTest)
#include "GraphicsEditorGameFilesTest.moc"
