#include "GuiTestSupport.h"

#include "GP3Image.h"
#include "GraphicsEditor.h"
#include "base/GamePath.h"
#include "formats/Bmp.h"
#include "formats/PaletteReduction.h"
#include "formats/Png.h"
#include "graphics/GraphicsSet.h"

#include <QCheckBox>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::openEditor;

namespace {

std::vector<int> Selected(GuiProgram& p)
{
    std::vector<int> items;
    for (int n = 0; n < kItemCount; ++n)
        if (p.app->workingSet().transfer.selected(n))
            items.push_back(n);
    return items;
}

} // namespace

class GraphicsEditorTest : public QObject {
    Q_OBJECT
private slots:
    void carPageTransfersExactlyItsItems()
    {
        GuiProgram p;
        GraphicsEditor* editor = openEditor<GraphicsEditor>(p, "TForm15");
        QVERIFY(editor);
        QCOMPARE(editor->objectName(), QString("TForm15"));
        QCOMPARE(Child<QTabWidget>(editor, "PageControl2")->count(), 7);
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(4);
        Child<QRadioButton>(editor, "RadioGroup8_1")->setChecked(true);
        Child<QPushButton>(editor, "CarImport")->click();
        // The hardware car livery of team 4: item 22 + 4.
        QCOMPARE(Selected(p), std::vector<int>{26});
        QVERIFY(p.app->workingSet().transfer.isLoaded(26));
        QVERIFY(p.app->workingSet().graphics.cars.hard[4].has_value());
        // The hardware variant is shown: only the conversion to software.
        QVERIFY(Child<QPushButton>(editor, "CarToSoft")->isEnabled());
        QVERIFY(!Child<QPushButton>(editor, "CarToHard")->isEnabled());

        Child<QPushButton>(editor, "CarImportAll")->click();
        std::vector<int> all;
        for (int n = 11; n <= 32; ++n)
            all.push_back(n);
        all.insert(all.begin(), 6);
        QCOMPARE(Selected(p), all);
    }

    void trueColourPngGoesIntoTheSoftwareLiveryInPaletteColours()
    {
        GuiProgram p;
        GraphicsEditor* editor = openEditor<GraphicsEditor>(p, "TForm15");
        QVERIFY(editor);
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(2);
        Child<QPushButton>(editor, "CarImport")->click();
        auto& livery = p.app->workingSet().graphics.cars.soft[2];
        QVERIFY(livery.has_value());
        const int height = livery->pageHeight();
        // A smooth true-colour ramp, mostly between palette colours.
        Image picture(256, height, 24);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 256; ++x)
                picture.setPixel(x, y, MakePixel(x, (x + y) % 256, 90));
        const std::string png = p.path("livery.png");
        SavePngFile(picture, png);
        std::vector<int> filters;
        p.app->chooseFileToOpen = [&](const FileRequest& request) -> std::optional<std::string> {
            filters = request.filters;
            return png;
        };
        Child<QPushButton>(editor, "CarLoadBmp")->click();
        QCOMPARE(filters, (std::vector<int>{1204, 944, 881, 946})); // every picture read, BMP, PNG, JPG
        const Image plain = livery->page();
        for (Pixel px : plain.pixels())
            QVERIFY(p.program.palette.containsPixel(px));
        PaletteMatcher nearest(p.program.palette);
        for (int x : {0, 77, 200, 255})
            QCOMPARE(plain.pixel(x, 3), p.program.palette.pixel(nearest.nearestIndex(picture.pixel(x, 3))));

        // With dithering chosen the page mixes palette colours instead.
        Child<QCheckBox>(editor, "CheckBoxDither")->setChecked(true);
        Child<QPushButton>(editor, "CarLoadBmp")->click();
        QVERIFY(livery->page() != plain);
        for (Pixel px : livery->page().pixels())
            QVERIFY(p.program.palette.containsPixel(px));
        QVERIFY(p.numbers().empty());
    }

    // A picture covering the whole page: the preview shows black where no
    // image of the livery is, as the game file keeps nothing there, and the
    // exported file holds exactly the page the preview showed.
    void liveryPreviewShowsOnlyWhatTheGameFileHolds()
    {
        GuiProgram p;
        GraphicsEditor* editor = openEditor<GraphicsEditor>(p, "TForm15");
        QVERIFY(editor);
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(3);
        Child<QPushButton>(editor, "CarImport")->click();
        auto& livery = p.app->workingSet().graphics.cars.soft[3];
        QVERIFY(livery.has_value());
        QPoint outside(-1, -1), inside(-1, -1);
        for (int y = 0; y < livery->pageHeight() && outside.x() < 0; ++y)
            for (int x = 0; x < 256 && outside.x() < 0; ++x) {
                bool covered = false;
                for (const JamEntry& e : livery->entries())
                    covered = covered || (e.x <= x && x < e.x + e.width && e.y <= y && y < e.y + e.height);
                if (!covered)
                    outside = QPoint(x, y);
            }
        QVERIFY(outside.x() >= 0);
        const Rect r = livery->ImageRect(0);
        inside = QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);

        const Pixel colour = p.program.palette.pixel(37);
        Image picture(256, livery->pageHeight(), 24);
        picture.fill(colour);
        const std::string bmp = p.path("whole.bmp");
        SaveBmpFile(picture, bmp);
        p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return bmp; };
        Child<QPushButton>(editor, "CarLoadBmp")->click();
        QVERIFY(p.numbers().empty());
        const QImage& shown = editor->carPicture();
        QCOMPARE(shown.pixel(inside) & 0xFFFFFFu, colour);
        QCOMPARE(shown.pixel(outside) & 0xFFFFFFu, 0u);

        Child<QPushButton>(editor, "CarExport")->click();
        QVERIFY(p.numbers().empty());
        const TJAMFile written(p.program.palette, ResolveGamePath(p.path("game/"), "GP3JAMS\\Liveries\\MCLARE98.JAM"));
        QCOMPARE(written.pageHeight(), livery->pageHeight());
        QVERIFY(written.page() == livery->page());
    }

    void convertingToANeverLoadedVariantChangesNothing()
    {
        GuiProgram q;
        GraphicsEditor* fresh = openEditor<GraphicsEditor>(q, "TForm15");
        QVERIFY(fresh);
        Child<QRadioButton>(fresh, "RadioGroup8_1")->setChecked(true);
        Child<QPushButton>(fresh, "CarImport")->click();
        const Image before = q.app->workingSet().graphics.cars.hard[0]->page();
        q.messages.clear();
        Child<QPushButton>(fresh, "CarToSoft")->click();
        QCOMPARE(q.numbers(), std::vector<int>{771});
        QVERIFY(q.app->workingSet().graphics.cars.hard[0]->page() == before);
        QVERIFY(!q.app->workingSet().graphics.cars.soft[0].has_value());
    }

    void carNumberFieldsStoreBeforeTheyChange()
    {
        GuiProgram p;
        GraphicsEditor* editor = openEditor<GraphicsEditor>(p, "TForm15");
        QVERIFY(editor);
        Child<QPushButton>(editor, "NumbersImport")->click();
        QCOMPARE(Selected(p), std::vector<int>{6});
        auto& numbers = p.app->workingSet().graphics.carNumbers;
        const std::int32_t secondLeftX = numbers[0][12];
        auto* leftX = Child<QLineEdit>(editor, "Edit1");
        QCOMPARE(leftX->text(), QString::number(numbers[0][0]));
        leftX->setText("77");
        Child<QRadioButton>(editor, "RadioButton2")->setChecked(true);
        QCOMPARE(numbers[0][0], 77);
        QCOMPARE(leftX->text(), QString::number(secondLeftX));
        // Text that is no number is stored as 0; the target fields belong to
        // the team, not the set.
        leftX->setText("12a");
        Child<QLineEdit>(editor, "Edit13")->setText("5");
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(1);
        QCOMPARE(numbers[0][12], 0);
        QCOMPARE(numbers[0][24], 5);
        QCOMPARE(Child<QLineEdit>(editor, "Edit13")->text(), QString::number(numbers[1][24]));
        // A value longer than a field takes (a carset's) is shown cut, and
        // kept while the field is not edited.
        numbers[2][12] = -150;
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(2);
        QCOMPARE(leftX->text(), QString("-15"));
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(3);
        QCOMPARE(numbers[2][12], -150);
        Child<QListWidget>(editor, "ListBox6")->setCurrentRow(1);

        // The outline: the focused field's area in white while the blink is on.
        Child<QPushButton>(editor, "CarImport")->click();
        numbers[1][12] = 10, numbers[1][13] = 20, numbers[1][14] = 30, numbers[1][15] = 8;
        editor->restore();
        editor->show();
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(Child<QLineEdit>(editor, "Edit1"), &focus);
        if (!editor->blinkOn())
            editor->blinkCarOutline();
        else {
            editor->blinkCarOutline();
            editor->blinkCarOutline();
        }
        QVERIFY(editor->blinkOn());
        const QImage& car = editor->carPicture();
        QCOMPARE(car.pixel(10, 20), qRgb(255, 255, 255));
        QCOMPARE(car.pixel(40, 28), qRgb(255, 255, 255));
        editor->blinkCarOutline();
        QVERIFY(!editor->blinkOn());
    }

    void helmetsAndFlags()
    {
        GuiProgram p;
        GraphicsEditor* editor = openEditor<GraphicsEditor>(p, "TForm15");
        QVERIFY(editor);
        Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(3);
        Child<QPushButton>(editor, "HelmetImportAll")->click();
        QCOMPARE(Selected(p), (std::vector<int>{77, 102}));
        Child<QPushButton>(editor, "HelmetExportAll")->click();
        QCOMPARE(Selected(p), (std::vector<int>{77, 102}));
        QCOMPARE(Child<QListWidget>(editor, "ListBox5")->count(), 23);

        Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(6);
        Child<QPushButton>(editor, "FlagImport")->click();
        QCOMPARE(Selected(p), std::vector<int>{10});
        auto& flags = p.app->workingSet().graphics.flags;
        auto* grid = Child<GP3Image>(editor, "Image23");
        emit grid->mousePressed(Qt::LeftButton, QPoint(14 + 3, 12 * 13 + 2), Qt::NoModifier);
        QVERIFY(flags[0][4] != 193);
        const std::uint8_t kept = flags[0][4];
        emit grid->mousePressed(Qt::LeftButton, QPoint(14 + 3, 12 * 13 + 2), Qt::NoModifier);
        QCOMPARE(flags[0][4], kept);
        emit grid->mousePressed(Qt::LeftButton, QPoint(3, 12 * 13 + 2), Qt::NoModifier);
        QCOMPARE(flags[0][4], 192);
        emit Child<GP3Image>(editor, "Image24")->mousePressed(Qt::LeftButton, QPoint(2 * 14, 13), Qt::NoModifier);
        QCOMPARE(flags[0][6], 18);

        QCOMPARE(editor->flagFrame(), 0);
        Child<QPushButton>(editor, "PreviousFrame")->click();
        QCOMPARE(editor->flagFrame(), 7);
        Child<QPushButton>(editor, "NextFrame")->click();
        QCOMPARE(editor->flagFrame(), 0);
    }
};

QTEST_MAIN(GraphicsEditorTest)
#include "GraphicsEditorTest.moc"
