// The workshop window over a demo installation: the art-bank page against
// the bank's own bytes, the JAM page's clicks, kinds and saves, and the zoom.

#include "GuiTestSupport.h"
#include "transfer/ReportedFormats.h"

#include "ArtBankPage.h"
#include "ExpansionDialog.h"
#include "JamWorkshopPage.h"
#include "WorkshopsWindow.h"
#include "ZoomView.h"
#include "base/ByteReader.h"
#include "base/GamePath.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/JamScramble.h"
#include "formats/Jpeg.h"
#include "formats/Png.h"
#include "transfer/RestorePoints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

#include <optional>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

WorkshopsWindow* OpenWorkshops(GuiProgram& p)
{
    auto* w = openEditor<WorkshopsWindow>(p, "TForm20");
    if (w)
        w->resize(900, 640);
    return w;
}

std::string GamePath(GuiProgram& p, const char* relative) { return ResolveGamePath(p.path("game/"), relative); }

// A copy of a demo JAM in the test's own directory.
std::string CopyJam(GuiProgram& p, const char* relative, const char* name)
{
    const std::string target = p.path(name);
    CopyFileForced(GamePath(p, relative), target);
    return target;
}

// A point of the page that lies strictly inside no image, or (-1, -1).
QPoint PointInNoImage(const TJAMFile& jam)
{
    for (int y = 0; y < jam.pageHeight(); ++y)
        for (int x = 0; x < 256; ++x) {
            bool inside = false;
            for (const JamEntry& e : jam.entries())
                inside = inside || (e.x < x && x < e.x + e.width && e.y < y && y < e.y + e.height);
            if (!inside)
                return QPoint(x, y);
        }
    return QPoint(-1, -1);
}

// Whether two pages agree inside every image of the JAM (the page outside
// the images is not stored in the file).
bool SameInImages(const TJAMFile& jam, const Image& a, const Image& b)
{
    for (int i = 0; i < jam.imageCount(); ++i) {
        const Rect r = jam.ImageRect(i);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (a.pixelOr(x, y, 0) != b.pixelOr(x, y, 0))
                    return false;
    }
    return true;
}

} // namespace

class WorkshopsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void artPageShowsTheBanksOwnRecordAndRemembersTheEntry();
    void artPageSavesPicturesAndFiltersTheGrid();
    void artPageExpandsBehindOneRestorePointAndWaitsForOtherWriters();
    void clicksInThePagePickImagesAndAPointInNoneGivesImageZero();
    void sixteenBitJamHasNoSingleImagesAndNoJad();
    void jadHoldsThePageInMemoryAndAFailedOpenKeepsTheJam();
    void zoomKeepsThePixelUnderThePointer();
    void paletteIndexFollowsTheImageUnderTheMouseAndTheSelection();
    void rightClickBesideASingleTextureShowsAllTextures();
    void droppedFilesOpenAndLoad();
};

void WorkshopsWindowTest::artPageShowsTheBanksOwnRecordAndRemembersTheEntry()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    QCOMPARE(w->objectName(), QString("TForm20"));
    ArtBankPage* art = w->artPage();
    QCOMPARE(art->list()->count(), 839);
    QVERIFY(Child<QLabel>(w, "Label138")->text().endsWith("839"));

    // Entry 1's directory record, read from the bank's bytes here: 24 bytes
    // from offset 32 + 24, six little-endian words.
    const auto bytes = pitwall::test::ReadBytes(GamePath(p, "BITMAPS\\GP3ART5.BIN"));
    ByteReader r{std::span<const std::uint8_t>(bytes).subspan(32 + 24, 24)};
    const std::uint32_t keptA = r.u32(), keptB = r.u32(), width = r.u32(), height = r.u32(), size = r.u32(),
                        offset = r.u32();
    art->list()->setCurrentRow(0);
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit1")->value(), 1.0);
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit76")->value(), double(width));
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit77")->value(), double(height));
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit78")->value(), double(size));
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit79")->value(), double(offset));
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit80")->value(), double(keptA));
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit81")->value(), double(keptB));
    QCOMPARE(Child<QCheckBox>(w, "CheckBox5")->isChecked(), std::uint64_t{width} * height * 2 <= size);
    QCOMPARE(art->view()->picture().size(), QSize(int(width), int(height)));

    // The entry chosen is shown again when the window is opened again.
    art->list()->setCurrentRow(41);
    p.window->openEditor("TForm12");
    p.window->openEditor("TForm20");
    w = qobject_cast<WorkshopsWindow*>(p.window->currentEditor());
    QVERIFY(w);
    QCOMPARE(w->artPage()->entry(), 42);
    QCOMPARE(Child<QDoubleSpinBox>(w, "SpinEdit1")->value(), 42.0);

    // A bank that went away meanwhile is reported once, not once for the
    // list's choice and again for the page.
    const std::string bank = GamePath(p, "BITMAPS\\GP3ART5.BIN");
    p.window->openEditor("TForm12");
    QCOMPARE(std::rename(bank.c_str(), (bank + ".away").c_str()), 0);
    p.messages.clear();
    p.window->openEditor("TForm20");
    QCOMPARE(p.messages.size(), std::size_t(1));
}

void WorkshopsWindowTest::artPageSavesPicturesAndFiltersTheGrid()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    ArtBankPage* art = w->artPage();
    art->list()->setCurrentRow(754); // entry 755
    std::vector<FileRequest> asked;
    p.app->chooseFileToSave = [&](const FileRequest& r) -> std::optional<std::string> {
        asked.push_back(r);
        return p.path("entry.PNG");
    };
    art->exportEntryPicture();
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].key, std::string("GP3ARTBinWSSave"));
    QCOMPARE(asked[0].defaultName, std::string("Artwork755.BMP"));
    ArtPicture picture;
    QVERIFY(ReadArtImage(GamePath(p, "BITMAPS\\GP3ART5.BIN"), 755, picture, nullptr));
    QVERIFY(LoadPngFile(p.path("entry.PNG")).pixels() == ArtPictureToImage(picture).pixels());
    // JPG is offered, and a .jpg name gives a JPEG.
    QVERIFY(std::find(asked[0].filters.begin(), asked[0].filters.end(), 946) != asked[0].filters.end());
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return p.path("entry.jpg"); };
    art->exportEntryPicture();
    QCOMPARE(DecodeJpeg(pitwall::test::ReadBytes(p.path("entry.jpg"))).width(), ArtPictureToImage(picture).width());

    // The grid lists every entry; the filter hides what does not match.
    Child<QCheckBox>(w, "CheckBoxArtGrid")->setChecked(true);
    QCOMPARE(art->grid()->count(), 839);
    QVERIFY(art->grid()->isVisibleTo(w) && !art->list()->isVisibleTo(w));
    const QString name = art->list()->item(754)->text();
    art->setNameFilter(name);
    int shown = 0;
    for (int i = 0; i < art->grid()->count(); ++i)
        shown += art->grid()->item(i)->isHidden() ? 0 : 1;
    QVERIFY(shown >= 1 && shown < 839);
    QVERIFY(!art->grid()->item(754)->isHidden());
    art->grid()->setCurrentItem(art->grid()->item(754));
    QCOMPARE(art->entry(), 755);
}

void WorkshopsWindowTest::artPageExpandsBehindOneRestorePointAndWaitsForOtherWriters()
{
    GuiProgram p;
    p.program.restorePointRoot = p.path("restore-points/");
    p.program.writer.wait = std::chrono::milliseconds(200);
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    const std::string bankFile = GamePath(p, "BITMAPS\\GP3ART5.BIN");
    const auto bank = pitwall::test::ReadBytes(bankFile);
    // Three entries without room for a new picture.
    const ArtDirectory directory = ParseArtDirectory(bank);
    std::vector<int> tight;
    for (std::size_t e = 1; e < kArtEntryCount && tight.size() < 3; ++e)
        if (!directory.entries[e].fits())
            tight.push_back(static_cast<int>(e));
    QCOMPARE(tight.size(), std::size_t{3});
    // "Expandieren": the three ticked, the chosen ones expanded.
    auto expand = [&] {
        OnModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<ExpansionDialog*>(modal);
            if (!dialog)
                return true;
            for (int e : tight)
                dialog->findChild<QListWidget*>()->item(e)->setCheckState(Qt::Checked);
            dialog->findChild<QPushButton*>("BitBtn2")->click();
            return false;
        });
        Click(w, "BitBtn32");
    };
    RestorePoints points(p.program.restorePointRoot, p.program.settings.gameDirectory);

    // Another program writing into the installation, its points and lock
    // files elsewhere: the page writes nothing and says so.
    RestorePoints other(p.path("other-points/"), p.program.settings.gameDirectory);
    WriterInfo writer;
    writer.program = "pitwall-cli";
    writer.runStarted = 1;
    writer.lockDirectory = p.path("other-locks/");
    other.setWriter(writer);
    std::optional<InstallationLock> held(other.lock("apply"));
    p.messages.clear();
    expand();
    QVERIFY(pitwall::test::ReadBytes(bankFile) == bank);
    QVERIFY(points.list().empty());
    QVERIFY(!p.messages.empty());
    QVERIFY2(p.messages.back().text.find("Another run is writing into") != std::string::npos,
             p.messages.back().text.c_str());

    // Free again: the entries get their room, behind exactly one new point
    // that gives the bank back byte for byte.
    held.reset();
    p.messages.clear();
    expand();
    QVERIFY(p.messages.empty());
    const ArtDirectory after = ParseArtDirectory(pitwall::test::ReadBytes(bankFile));
    for (int e : tight)
        QVERIFY(after.entries[static_cast<std::size_t>(e)].fits());
    QVERIFY(p.app->workingSet().artIndex.entries[static_cast<std::size_t>(tight[0])].fits());
    const auto made = points.list();
    QCOMPARE(made.size(), std::size_t{1});
    QCOMPARE(made[0].what.kind, std::string(point_kind::kArtExpand));
    QVERIFY(points.restore(made[0]).ok());
    QVERIFY(pitwall::test::ReadBytes(bankFile) == bank);
}

void WorkshopsWindowTest::clicksInThePagePickImagesAndAPointInNoneGivesImageZero()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    JamWorkshopPage* page = w->jamPage();
    QVERIFY(page->openJam(GamePath(p, "GP3JAMS\\Liveries\\JORDAN98.JAM")));
    const TJAMFile& jam = *page->jam();
    QVERIFY(jam.is8Bit() && jam.imageCount() >= 2);
    QCOMPARE(Child<QComboBox>(w, "ComboBox2")->currentIndex(), 0);
    QCOMPARE(Child<QSpinBox>(w, "SpinEdit41")->value(), jam.imageCount());
    QCOMPARE(Child<QSpinBox>(w, "SpinEdit42")->value(), jam.pageHeight());
    QCOMPARE(Child<QSpinBox>(w, "SpinEdit40")->maximum(), jam.imageCount() - 1);

    // A click inside image 1 picks it and shows it alone at its own size.
    const Rect r = jam.ImageRect(1);
    page->pickImageAt(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), Qt::LeftButton);
    QCOMPARE(page->chosenImage(), jam.ImageAt((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    QVERIFY(Child<QRadioButton>(w, "RadioButton2")->isChecked());
    const Rect chosen = jam.ImageRect(page->chosenImage());
    QCOMPARE(page->view()->picture().size(), QSize(chosen.width(), chosen.height()));
    QCOMPARE(Child<QSpinBox>(w, "SpinEditTexWidth")->value(), chosen.width());
    // Right click: the whole page again.
    page->pickImageAt(QPoint(0, 0), Qt::RightButton);
    QVERIFY(Child<QRadioButton>(w, "RadioButton1")->isChecked());
    QCOMPARE(page->view()->picture().size(), QSize(256, jam.pageHeight()));

    // A point in no image: image 0, whatever was chosen before.
    Child<QSpinBox>(w, "SpinEdit40")->setValue(1);
    Child<QRadioButton>(w, "RadioButton1")->setChecked(true);
    const QPoint none = PointInNoImage(jam);
    QVERIFY(none.x() >= 0);
    page->pickImageAt(none, Qt::LeftButton);
    QCOMPARE(page->chosenImage(), 0);
    QVERIFY(Child<QRadioButton>(w, "RadioButton2")->isChecked());

    // The mouse over the page names the colour's position in image 0's table.
    page->pickImageAt(QPoint(0, 0), Qt::RightButton);
    page->showPixelUnderMouse(QPoint(0, 0));
    const int index = jam.palette().exactIndexOfPixel(jam.page().pixel(0, 0));
    const auto& table = jam.tables(0)[0];
    const int position = int(std::find(table.begin(), table.end(), index) - table.begin()) % 256;
    QCOMPARE(Child<QLabel>(w, "Label2")->text(), FromGameText(p.program.texts.format(917, Args(position))));
}

void WorkshopsWindowTest::sixteenBitJamHasNoSingleImagesAndNoJad()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    JamWorkshopPage* page = w->jamPage();
    QVERIFY(page->openJam(GamePath(p, "GP3JAMSH\\Liveries\\JORDAN98.JAM")));
    QVERIFY(!page->jam()->is8Bit());
    QCOMPARE(Child<QComboBox>(w, "ComboBox2")->currentText(), QString("Hardware"));
    QVERIFY(!Child<QRadioButton>(w, "RadioButton2")->isEnabled());
    QVERIFY(!Child<QSpinBox>(w, "SpinEdit40")->isEnabled());
    // A click in the page picks nothing.
    page->pickImageAt(QPoint(10, 10), Qt::LeftButton);
    QVERIFY(Child<QRadioButton>(w, "RadioButton1")->isChecked());

    std::vector<int> filters;
    p.app->chooseFileToSave = [&](const FileRequest& r) -> std::optional<std::string> {
        filters = r.filters;
        return p.path("hard.JAD");
    };
    page->saveJamToFile();
    QVERIFY(std::find(filters.begin(), filters.end(), 992) == filters.end());
    QVERIFY(std::find(filters.begin(), filters.end(), 994) != filters.end());
    QVERIFY(std::find(filters.begin(), filters.end(), 944) != filters.end());
    // Typed anyway: refused, nothing written.
    QVERIFY(!FileExists(p.path("hard.JAD")));
    QCOMPARE(p.numbers().back(), 985);

    // The 16-bit page through PNG and back: exactly the same page.
    const Image before = page->jam()->page();
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return p.path("hard.png"); };
    page->saveJamToFile();
    QVERIFY(page->loadPicture(p.path("hard.png")));
    QVERIFY(page->jam()->page() == before);
}

void WorkshopsWindowTest::jadHoldsThePageInMemoryAndAFailedOpenKeepsTheJam()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    JamWorkshopPage* page = w->jamPage();
    const std::string file = CopyJam(p, "GP3JAMS\\Liveries\\JORDAN98.JAM", "soft.JAM");
    QVERIFY(page->openJam(file));
    const TJAMFile& jam = *page->jam();

    // A picture of palette colours: stripes of entries 16..31.
    Image picture(256, jam.pageHeight(), 8);
    picture.setColorTable(jam.palette().table());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, jam.palette().pixel(16 + (x / 16 + y) % 16));
    SavePngFile(picture, p.path("stripes.png"));
    QVERIFY(page->loadPicture(p.path("stripes.png")));
    QVERIFY(SameInImages(jam, jam.page(), picture));

    p.app->chooseFileToSave = [&](const FileRequest& r) -> std::optional<std::string> {
        [&] { QCOMPARE(r.defaultName, file); }();
        return p.path("copy.JAD");
    };
    page->saveJamToFile();
    // The copy is the JAM unscrambled: read raw it holds the new page, not
    // the page of the file on disk.
    TJAMFile copy(jam.palette());
    copy.Decode(pitwall::test::ReadBytes(p.path("copy.JAD")), true);
    QVERIFY(SameInImages(jam, copy.page(), picture));
    TJAMFile onDisk(jam.palette(), file);
    QVERIFY(!SameInImages(jam, onDisk.page(), picture));

    // Saved as .JAM over the opened file: the file now holds the new page.
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return file; };
    page->saveJamToFile();
    TJAMFile saved(jam.palette(), file);
    QVERIFY(SameInImages(jam, saved.page(), picture));

    // A damaged JAM does not replace the open one.
    auto bytes = pitwall::test::ReadBytes(file);
    bytes.resize(bytes.size() / 3);
    pitwall::test::WriteBytes(p.path("cut.JAM"), bytes);
    p.messages.clear();
    QVERIFY(!page->openJam(p.path("cut.JAM")));
    QVERIFY(!p.messages.empty());
    QCOMPARE(page->jamFile(), file);
    QCOMPARE(Child<QLineEdit>(w, "FilenameEdit1")->text(), QString::fromStdString(file));
    // The page still shown is the one saved, black where no image is.
    QVERIFY(page->jam()->page().pixels() == saved.page().pixels());
    QVERIFY(!page->openJam(p.path("missing.JAM")));
    QCOMPARE(page->jamFile(), file);
}

void WorkshopsWindowTest::zoomKeepsThePixelUnderThePointer()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    w->show();
    w->pages()->setCurrentWidget(w->jamPage());
    JamWorkshopPage* page = w->jamPage();
    QVERIFY(page->openJam(GamePath(p, "GP3JAMS\\Liveries\\JORDAN98.JAM")));
    ZoomView* view = page->view();
    view->setFixedSize(240, 120);
    QCoreApplication::processEvents();
    QVERIFY(page->jam()->pageHeight() >= 80);
    const QPoint pointer(120, 70);
    const QPoint before = view->pictureAt(pointer);
    view->setZoom(4, pointer);
    QCOMPARE(view->scale(), 4.0);
    QCOMPARE(view->pictureAt(pointer), before);
    view->setZoom(8, pointer);
    QCOMPARE(view->pictureAt(pointer), before);
    view->setZoom(2, QPoint(10, 100));
    const QPoint corner = view->pictureAt(QPoint(10, 100));
    view->setZoom(8, QPoint(10, 100));
    QCOMPARE(view->pictureAt(QPoint(10, 100)), corner);
    // The zoom choice follows.
    QCOMPARE(Child<QComboBox>(w, "ComboBoxJamZoom")->currentData().toInt(), 8);
    view->setZoom(ZoomView::kFit);
    QVERIFY(view->scale() > 0 && view->scale() * 256 <= view->maximumViewportSize().width() + 1);
}

// The JAM page shown, with the demo's 8-bit livery open.
JamWorkshopPage* ShowJamPage(GuiProgram& p, WorkshopsWindow* w)
{
    w->show();
    w->pages()->setCurrentWidget(w->jamPage());
    JamWorkshopPage* page = w->jamPage();
    if (!page->openJam(GamePath(p, "GP3JAMS\\Liveries\\JORDAN98.JAM")))
        return nullptr;
    QCoreApplication::processEvents();
    return page;
}

void WorkshopsWindowTest::paletteIndexFollowsTheImageUnderTheMouseAndTheSelection()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    JamWorkshopPage* page = ShowJamPage(p, w);
    QVERIFY(page);
    const TJAMFile& jam = *page->jam();
    const Palette& palette = jam.palette();
    auto* label = Child<QLabel>(w, "Label2");
    const auto textFor = [&](int value) { return FromGameText(p.program.texts.format(917, Args(value))); };

    // A pixel of a later image whose colour sits at another place in that
    // image's own table than in image 0's: the file stores the former.
    const auto positionIn = [&](int image, Pixel colour) {
        const JamEntry& e = jam.entries()[static_cast<std::size_t>(image)];
        const int count = e.tableSize == 0 ? 256 : e.tableSize;
        for (int j = 0; j < count; ++j)
            if (palette.pixel(jam.tables(image)[0][static_cast<std::size_t>(j)]) == colour)
                return j;
        return -1;
    };
    const auto coveredLater = [&](int image, int x, int y) {
        for (int k = image + 1; k < jam.imageCount(); ++k) {
            const Rect o = jam.ImageRect(k);
            if (o.left <= x && x < o.right && o.top <= y && y < o.bottom)
                return true;
        }
        return false;
    };
    QPoint at(-1, -1);
    int expected = -1;
    for (int i = jam.imageCount() - 1; i >= 1 && at.x() < 0; --i) {
        if (jam.entries()[static_cast<std::size_t>(i)].tableSize == 0)
            continue;
        const Rect r = jam.ImageRect(i);
        for (int y = r.top; y < r.bottom && at.x() < 0; ++y)
            for (int x = r.left; x < r.right && at.x() < 0; ++x) {
                const Pixel colour = jam.page().pixel(x, y);
                const int own = positionIn(i, colour);
                if (!coveredLater(i, x, y) && own > 0 && own != std::max(0, positionIn(0, colour))) {
                    at = QPoint(x, y);
                    expected = own;
                }
            }
    }
    QVERIFY2(at.x() >= 0, "the demo livery has no image with a table of its own");
    QWidget* canvas = page->view()->widget();
    QTest::mouseMove(canvas, at);
    QCOMPARE(label->text(), textFor(expected));

    // Showing one small image leaves the mouse over nothing stored: no
    // number stays behind from the page.
    int small = -1;
    for (int i = 0; i < jam.imageCount() && small < 0; ++i) {
        const Rect r = jam.ImageRect(i);
        if (r.width() <= at.x() || r.height() <= at.y())
            small = i;
    }
    QVERIFY(small >= 0);
    Child<QSpinBox>(w, "SpinEdit40")->setValue(small);
    Child<QRadioButton>(w, "RadioButton2")->setChecked(true);
    QVERIFY(!label->text().contains(QRegularExpression("[0-9]")));
    // Over the image shown alone, its own table counts.
    const Rect r = jam.ImageRect(small);
    const QPoint middle(r.width() / 2, r.height() / 2);
    QVERIFY(!coveredLater(small, r.left + middle.x(), r.top + middle.y()));
    QTest::mouseMove(canvas, middle);
    QCOMPARE(label->text(), textFor(positionIn(small, jam.page().pixel(r.left + middle.x(), r.top + middle.y()))));
}

void WorkshopsWindowTest::rightClickBesideASingleTextureShowsAllTextures()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    JamWorkshopPage* page = ShowJamPage(p, w);
    QVERIFY(page);
    const TJAMFile& jam = *page->jam();
    ZoomView* view = page->view();
    // The smallest image, chosen by a click into the page.
    int small = 0;
    for (int i = 1; i < jam.imageCount(); ++i)
        if (jam.ImageRect(i).width() * jam.ImageRect(i).height()
            < jam.ImageRect(small).width() * jam.ImageRect(small).height())
            small = i;
    const Rect r = jam.ImageRect(small);
    QTest::mouseClick(view->widget(), Qt::LeftButton, {}, QPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    QVERIFY(Child<QRadioButton>(w, "RadioButton2")->isChecked());
    QCOMPARE(page->chosenImage(), small);
    QCoreApplication::processEvents();
    QCOMPARE(view->widget()->size(), QSize(r.width(), r.height()));

    // A right click in the view beside the texture: all textures again.
    const QPoint beside(r.width() + 20, r.height() + 20);
    QVERIFY(beside.x() < view->viewport()->width() && beside.y() < view->viewport()->height());
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, beside);
    QVERIFY(Child<QRadioButton>(w, "RadioButton1")->isChecked());
    QCOMPARE(view->picture().size(), QSize(256, jam.pageHeight()));
}

void WorkshopsWindowTest::droppedFilesOpenAndLoad()
{
    GuiProgram p;
    WorkshopsWindow* w = OpenWorkshops(p);
    QVERIFY(w);
    QVERIFY(!w->dropFile(p.path("picture.png"))); // no JAM open yet
    const std::string a = CopyJam(p, "GP3JAMS\\Liveries\\JORDAN98.JAM", "a.JAM");
    const std::string b = CopyJam(p, "GP3JAMSH\\Liveries\\JORDAN98.JAM", "b.jam");
    QVERIFY(w->dropFile(a));
    QCOMPARE(w->pages()->currentWidget(), static_cast<QWidget*>(w->jamPage()));
    QVERIFY(w->dropFile(b));
    QCOMPARE(w->jamPage()->jamFile(), b);
    auto* recent = Child<QListWidget>(w, "ListBoxRecentJams");
    QCOMPARE(recent->count(), 2);
    QCOMPARE(recent->item(0)->data(Qt::UserRole).toString().toStdString(), b);
    emit recent->itemActivated(recent->item(1));
    QCOMPARE(w->jamPage()->jamFile(), a);

    Image picture = w->jamPage()->jam()->page();
    picture.fill(w->jamPage()->jam()->palette().pixel(77));
    SavePngFile(picture, p.path("flat.png"));
    QVERIFY(w->dropFile(p.path("flat.png")));
    QVERIFY(SameInImages(*w->jamPage()->jam(), w->jamPage()->jam()->page(), picture));
    QVERIFY(!w->dropFile(p.path("notes.txt")));
}

QTEST_MAIN(WorkshopsWindowTest)
#include "WorkshopsWindowTest.moc"
