// The colour grid: which index a click picks and accepts, where each colour
// and the framed ramp land on screen, and what the editors hear.

#include "ColorPicker.h"

#include <QSignalSpy>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

// Entry i is (i, 255 - i, 100): no two alike, none black.
Palette Distinct()
{
    std::array<Pixel, Palette::kSize> colors{};
    for (int i = 0; i < Palette::kSize; ++i)
        colors[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, 100);
    return Palette(colors);
}

QRgb Entry(int i) { return 0xFF000000u | MakePixel(i, 255 - i, 100); }

QImage Shown(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

} // namespace

class ColorPickerTest : public QObject {
    Q_OBJECT

private:
    // The pit-crew picker of the graphics editor.
    std::unique_ptr<ColorPicker> makePicker()
    {
        auto picker = std::make_unique<ColorPicker>();
        picker->setNumColors(192);
        picker->setInARow(16);
        picker->setPaletteColors(Distinct());
        picker->resize(224, 169);
        picker->show();
        if (!QTest::qWaitForWindowExposed(picker.get()))
            qFatal("window not exposed");
        picker->clearFocus(); // its frame would cover the cells' edges
        return picker;
    }

    static QPoint cellPoint(int column, int row, int dx = 5, int dy = 5)
    {
        return QPoint(column * 14 + dx, row * 14 + dy);
    }

private slots:
    void defaults()
    {
        ColorPicker picker;
        QCOMPARE(picker.numColors(), 255);
        QCOMPARE(picker.inARow(), 16);
        QCOMPARE(picker.selected(), 0);
    }

    void clickRuleAcceptsUpToNumColors()
    {
        auto picker = makePicker();
        QCOMPARE(picker->cellWidth(), 14);
        QCOMPARE(picker->cellHeight(), 14);
        QSignalSpy changed(picker.get(), &ColorPicker::selectedChanged);

        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, cellPoint(3, 2));
        QCOMPARE(picker->selected(), 35);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 35);

        // Row 12 is the single pixel line at y 168: column 8 is index 200,
        // column 1 is 193, both above 192 and ignored.
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(8 * 14 + 3, 168));
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(14 + 3, 168));
        QCOMPARE(picker->selected(), 35);
        QCOMPARE(changed.count(), 1);
        // Column 0 of that row is index 192 itself, which is taken.
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(3, 168));
        QCOMPARE(picker->selected(), 192);

        // The right button never selects.
        QTest::mouseClick(picker.get(), Qt::RightButton, {}, cellPoint(0, 0));
        QCOMPARE(picker->selected(), 192);
    }

    void rampOfSixteenIsFramed()
    {
        auto picker = makePicker();
        picker->setSelected(20);
        const QImage shown = Shown(*picker);
        // Index 20 is row 1, column 4; the ramp runs to 35 (row 2, column 3).
        for (int index = 19; index <= 36; ++index) {
            const int left = (index % 16) * 14;
            const int top = (index / 16) * 14;
            const bool framed = index >= 20 && index <= 35;
            QCOMPARE(shown.pixel(left + 7, top + 7), Entry(index));
            QCOMPARE(shown.pixel(left, top), framed ? 0xFF000000u : Entry(index));
            QCOMPARE(shown.pixel(left + 13, top + 13), framed ? 0xFF000000u : Entry(index));
            QCOMPARE(shown.pixel(left + 1, top + 1), Entry(index));
        }
    }

    void everyColourInItsCell()
    {
        ColorPicker picker;
        picker.setNumColors(256);
        picker.setPaletteColors(Distinct());
        picker.setSelected(240);
        picker.resize(256, 128);
        QCOMPARE(picker.cellWidth(), 16);
        QCOMPARE(picker.cellHeight(), 8);
        const QImage shown = Shown(picker);
        for (int index = 0; index < 256; ++index)
            QCOMPARE(shown.pixel((index % 16) * 16 + 8, (index / 16) * 8 + 4), Entry(index));
        // The last ramp is framed too.
        QCOMPARE(shown.pixel(15 * 16, 15 * 8), 0xFF000000u);
        QCOMPARE(shown.pixel(15 * 16, 14 * 8), Entry(239));
    }

    void newPaletteIsShown()
    {
        auto picker = makePicker();
        std::array<Pixel, Palette::kSize> colors{};
        colors.fill(MakePixel(0, 0, 255));
        picker->setPaletteColors(colors);
        QCOMPARE(Shown(*picker).pixel(cellPoint(10, 10)), 0xFF0000FFu);
    }

    void signalsForTheEditors()
    {
        auto picker = makePicker();
        QSignalSpy changed(picker.get(), &ColorPicker::selectedChanged);
        QSignalSpy clicked(picker.get(), &ColorPicker::colorClicked);
        int selectedAtPress = -1;
        Qt::MouseButton button = Qt::NoButton;
        connect(picker.get(), &ColorPicker::mousePressed, this, [&](Qt::MouseButton b, QPoint, Qt::KeyboardModifiers) {
            selectedAtPress = picker->selected();
            button = b;
        });

        // The selection is in place when the press is reported.
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, cellPoint(0, 4));
        QCOMPARE(selectedAtPress, 64);
        QCOMPARE(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(changed.count(), 1);

        // Picking the same colour again is a choice but not a change.
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, cellPoint(0, 4));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(changed.count(), 1);

        // An ignored click is still a press, but no choice.
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(15 * 14 + 3, 168));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(selectedAtPress, 64);
        QTest::mouseClick(picker.get(), Qt::RightButton, {}, cellPoint(1, 1));
        QCOMPARE(button, Qt::RightButton);
        QCOMPARE(clicked.count(), 2);

        picker->setSelected(64);
        QCOMPARE(changed.count(), 1);
        picker->setSelected(80);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(clicked.count(), 2);

        // The arrow keys choose as a click on the next cell or row does,
        // never past the first or the last.
        QTest::keyClick(picker.get(), Qt::Key_Right);
        QTest::keyClick(picker.get(), Qt::Key_Down);
        QCOMPARE(picker->selected(), 97);
        QCOMPARE(clicked.count(), 4);
        picker->setSelected(5);
        QTest::keyClick(picker.get(), Qt::Key_Up);
        QCOMPARE(picker->selected(), 5);
        picker->setSelected(192);
        QTest::keyClick(picker.get(), Qt::Key_Right);
        QCOMPARE(picker->selected(), 192);
        QCOMPARE(clicked.count(), 4);
    }

    void tooSmallForACellPicksNothing()
    {
        ColorPicker picker;
        picker.setSelected(40);
        picker.resize(10, 10);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.cellWidth(), 0);
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(picker.selected(), 40);
    }
};

QTEST_MAIN(ColorPickerTest)
#include "ColorPickerTest.moc"
