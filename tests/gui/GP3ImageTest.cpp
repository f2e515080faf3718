// The magnifier of GP3Image, judged on the pixels the control shows, and the
// core picture adapter it is fed through.

#include "GP3Image.h"
#include "ImageConversion.h"

#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
constexpr QRgb kRed = 0xFFFF0000u;

// Every pixel its own colour, so a shown pixel tells where it came from.
Image Pattern()
{
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, MakePixel(x, y, 7));
    return image;
}

QRgb Original(int x, int y) { return 0xFF000000u | MakePixel(x, y, 7); }

QImage Shown(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

void MoveTo(QWidget& widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

} // namespace

class GP3ImageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GP3Image> makeImage()
    {
        auto image = std::make_unique<GP3Image>();
        image->setImage(Pattern());
        image->resize(kWidth, kHeight);
        image->show();
        if (!QTest::qWaitForWindowExposed(image.get()))
            qFatal("window not exposed");
        return image;
    }

private slots:
    void conversionKeepsEveryPixel()
    {
        const Image pattern = Pattern();
        const QImage q = ToQImage(pattern);
        QCOMPARE(q.size(), QSize(kWidth, kHeight));
        QCOMPARE(q.pixel(3, 9), Original(3, 9));
        QVERIFY(ToImage(q) == pattern);
        QVERIFY(ToQImage(Image()).isNull());
        QCOMPARE(ToPixel(ToQColor(MakePixel(1, 2, 3))), MakePixel(1, 2, 3));
        // Other formats are taken too; alpha is dropped.
        QImage argb(1, 1, QImage::Format_ARGB32);
        argb.setPixel(0, 0, qRgba(10, 20, 30, 40));
        QCOMPARE(ToImage(argb).pixel(0, 0), MakePixel(10, 20, 30));
    }

    void propertiesKeepTheirRanges()
    {
        GP3Image image;
        QCOMPARE(image.magZoom(), 2);
        QCOMPARE(image.magSize(), 50);
        QVERIFY(image.magnifier() && image.magBorder() && image.rmbZooming() && !image.showCursor());
        QCOMPARE(image.magShape(), GP3Image::MagShape::Rect);
        image.setMagZoom(1);
        QCOMPARE(image.magZoom(), 2);
        image.setMagZoom(300);
        QCOMPARE(image.magZoom(), 255);
        // The enlarged half-side: max(2, size / zoom rounded) x zoom.
        image.setMagZoom(3);
        QCOMPARE(image.glassRadius(), 51);
        image.setMagZoom(4);
        QCOMPARE(image.glassRadius(), 48); // 12.5 rounds to the even 12
        image.setMagSize(0);
        QCOMPARE(image.glassRadius(), 8);
    }

    void squareGlassEnlargesAndFrames()
    {
        auto image = makeImage();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        QVERIFY(image->isMagnifying());
        const QImage shown = Shown(*image);
        // Zoom 2, size 50: the 50 x 50 square around (100, 75) fills 100 x 100.
        QCOMPARE(shown.pixel(100, 75), Original(100, 75));
        QCOMPARE(shown.pixel(50, 25), Original(75, 50));
        QCOMPARE(shown.pixel(51, 26), Original(75, 50));
        QCOMPARE(shown.pixel(52, 25), Original(76, 50));
        QCOMPARE(shown.pixel(149, 124), Original(124, 99));
        // The one-pixel frame hugs the enlarged square; beyond it the picture.
        QCOMPARE(shown.pixel(49, 75), 0xFF000000u);
        QCOMPARE(shown.pixel(150, 75), 0xFF000000u);
        QCOMPARE(shown.pixel(100, 24), 0xFF000000u);
        QCOMPARE(shown.pixel(100, 125), 0xFF000000u);
        QCOMPARE(shown.pixel(48, 75), Original(48, 75));
        QCOMPARE(shown.pixel(151, 75), Original(151, 75));
        // The picture itself is untouched.
        QCOMPARE(image->picture().pixel(50, 25), Original(50, 25));

        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        QVERIFY(!image->isMagnifying());
        QCOMPARE(Shown(*image), ToQImage(Pattern()));
    }

    void glassFollowsTheMouseAndClipsAtTheEdge()
    {
        auto image = makeImage();
        image->setMagZoom(3);
        image->setMagBorder(false);
        image->setMagColor(QColor(kRed));
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        MoveTo(*image, QPoint(10, 10));
        const QImage shown = Shown(*image);
        // Zoom 3: r = 17, R = 51; the earlier place is clean again.
        QCOMPARE(shown.pixel(150, 120), Original(150, 120));
        QCOMPARE(shown.pixel(0, 0), Original(10 - 17 + 41 / 3, 10 - 17 + 41 / 3));
        QCOMPARE(shown.pixel(60, 10), Original(10 - 17 + 101 / 3, 10));
        QCOMPARE(shown.pixel(61, 10), Original(61, 10)); // no border asked for
    }

    void circleGlassKeepsCornersAndDrawsRing()
    {
        auto image = makeImage();
        image->setMagShape(GP3Image::MagShape::Circle);
        image->setMagColor(QColor(kRed));
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        QImage shown = Shown(*image);
        // Inside the circle of radius 50 the picture is enlarged...
        QCOMPARE(shown.pixel(100, 75), Original(100, 75));
        QCOMPARE(shown.pixel(55, 75), Original(77, 75));
        QCOMPARE(shown.pixel(100, 30), Original(100, 52));
        // ...the corners of the square stay as they were...
        QCOMPARE(shown.pixel(52, 27), Original(52, 27));
        QCOMPARE(shown.pixel(147, 122), Original(147, 122));
        // ...and a two-pixel ring in the frame colour lies just outside.
        QCOMPARE(shown.pixel(49, 75), kRed);
        QCOMPARE(shown.pixel(48, 75), kRed);
        QCOMPARE(shown.pixel(151, 75), kRed);
        QCOMPARE(shown.pixel(100, 23), kRed);
        QCOMPARE(shown.pixel(47, 75), Original(47, 75));
        QCOMPARE(shown.pixel(152, 75), Original(152, 75));

        // A black frame colour must still show (it is not a transparency key).
        image->setMagColor(Qt::black);
        shown = Shown(*image);
        QCOMPARE(shown.pixel(49, 75), 0xFF000000u);
        image->setMagBorder(false);
        shown = Shown(*image);
        QCOMPARE(shown.pixel(49, 75), Original(49, 75));
    }

    void cursorHiddenOrCrossWhileMagnifying()
    {
        auto image = makeImage();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(image->cursor().shape(), Qt::BlankCursor);
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(image->cursor().shape(), Qt::ArrowCursor);

        image->setShowCursor(true);
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(image->cursor().shape(), Qt::CrossCursor);
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(image->cursor().shape(), Qt::ArrowCursor);
    }

    void leavingTheControlEndsTheGlass()
    {
        auto image = makeImage();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        MoveTo(*image, QPoint(kWidth + 5, 75));
        QVERIFY(!image->isMagnifying());
        QCOMPARE(Shown(*image), ToQImage(Pattern()));
        QCOMPARE(image->cursor().shape(), Qt::ArrowCursor);
        // Coming back with the button still held does not start it again.
        MoveTo(*image, QPoint(100, 75));
        QVERIFY(!image->isMagnifying());
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(100, 75));

        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(image.get(), &leave);
        QVERIFY(!image->isMagnifying());
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(100, 75));

        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        image->hide();
        QVERIFY(!image->isMagnifying());
        QCOMPARE(image->shownPicture(), image->picture());
    }

    void pressSignalComesFirstAndMagnifierCanBeOff()
    {
        auto image = makeImage();
        bool magnifyingAtSignal = true;
        QPoint signalled;
        connect(image.get(), &GP3Image::mousePressed, this, [&](Qt::MouseButton, QPoint pos, Qt::KeyboardModifiers) {
            magnifyingAtSignal = image->isMagnifying();
            signalled = pos;
        });
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(30, 40));
        QVERIFY(!magnifyingAtSignal);
        QCOMPARE(signalled, QPoint(30, 40));
        QVERIFY(image->isMagnifying());
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(30, 40));

        image->setMagnifier(false);
        QSignalSpy pressed(image.get(), &GP3Image::mousePressed);
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(60, 70));
        QCOMPARE(pressed.count(), 1);
        QVERIFY(!image->isMagnifying());
        QCOMPARE(Shown(*image), ToQImage(Pattern()));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(60, 70));
    }

    void newPictureWhileMagnifyingGetsTheGlass()
    {
        auto image = makeImage();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        image->setImage(Image(kWidth, kHeight, 32, MakePixel(0, 0, 200)));
        const QImage shown = Shown(*image);
        QCOMPARE(shown.pixel(60, 60), 0xFF0000C8u);
        QCOMPARE(shown.pixel(49, 75), 0xFF000000u);
        QCOMPARE(image->picture().pixel(49, 75), 0xFF0000C8u);
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(100, 75));
        QCOMPARE(Shown(*image).pixel(49, 75), 0xFF0000C8u);
    }

    void rightButtonOpensDoubleSizeView()
    {
        auto image = makeImage();
        image->move(200, 150);
        QTest::mousePress(image.get(), Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(image.get(), Qt::RightButton, {}, QPoint(10, 10));
        QPointer<QWidget> zoom = image->zoomWindow();
        QVERIFY(zoom);
        QVERIFY(!image->isMagnifying());
        QVERIFY(QTest::qWaitForWindowExposed(zoom));
        QCOMPARE(zoom->size(), QSize(2 * kWidth, 2 * kHeight));
        QVERIFY(zoom->windowFlags() & Qt::FramelessWindowHint);
        const QPoint centre = image->mapToGlobal(QPoint(kWidth / 2, kHeight / 2));
        QCOMPARE(zoom->geometry().topLeft(), centre - QPoint(kWidth, kHeight));
        const QImage shown = Shown(*zoom);
        QCOMPARE(shown.pixel(61, 81), Original(30, 40));
        QCOMPARE(shown.pixel(60, 80), Original(30, 40));

        // A right click does not close it; a left click on it does.
        QTest::mouseClick(zoom, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(zoom && zoom->isVisible());
        QTest::mouseClick(zoom, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(!zoom);
        QVERIFY(!image->zoomWindow());

        // Where centring would push it off the screen it is moved back on.
        image->move(0, 0);
        QTest::mousePress(image.get(), Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(image.get(), Qt::RightButton, {}, QPoint(10, 10));
        zoom = image->zoomWindow();
        QVERIFY(zoom);
        QVERIFY(image->screen()->availableGeometry().contains(zoom->geometry()));
        QCOMPARE(zoom->size(), QSize(2 * kWidth, 2 * kHeight));
        zoom->close();
        QTRY_VERIFY(!zoom);

        image->setRmbZooming(false);
        QTest::mousePress(image.get(), Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(!image->zoomWindow());
        QTest::mouseRelease(image.get(), Qt::RightButton, {}, QPoint(10, 10));
    }
};

QTEST_MAIN(GP3ImageTest)
#include "GP3ImageTest.moc"
