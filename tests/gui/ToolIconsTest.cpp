// The tool bar's standard icons and the bars' extension-button icons are
// read one picture at a time when painted; they must look exactly like the
// style's own icons at every size, scale and mode, through both ways Qt draws
// an icon (pixmap and paint).

#include "ToolIcons.h"
#include "DeferredIconStyle.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include <initializer_list>
#include <memory>

using namespace pitwall::gui;

namespace {

struct Pair {
    ToolIcon icon;
    QStyle::StandardPixmap standard;
};

constexpr Pair kPairs[] = {
    {ToolIcon::Open, QStyle::SP_DialogOpenButton},
    {ToolIcon::Save, QStyle::SP_DialogSaveButton},
    {ToolIcon::Import, QStyle::SP_ArrowDown},
    {ToolIcon::Export, QStyle::SP_ArrowUp},
    {ToolIcon::Quit, QStyle::SP_DialogCloseButton},
    {ToolIcon::CarsetInfo, QStyle::SP_FileDialogInfoView},
    {ToolIcon::Backup, QStyle::SP_DriveHDIcon},
    {ToolIcon::Options, QStyle::SP_FileDialogDetailedView},
    {ToolIcon::StartGame, QStyle::SP_MediaPlay},
    {ToolIcon::Help, QStyle::SP_DialogHelpButton},
    {ToolIcon::About, QStyle::SP_TitleBarContextHelpButton},
    {ToolIcon::Info, QStyle::SP_MessageBoxInformation},
};

QImage Painted(const QIcon& icon, int side, qreal scale, QIcon::Mode mode)
{
    QImage image(QSize(side, side) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    icon.paint(&p, QRect(0, 0, side, side), Qt::AlignCenter, mode);
    return image;
}

// Compares at every size in `sides`, four scales and every mode.
void ExpectSameLook(const QIcon& ours, const QIcon& style, const QString& what, std::initializer_list<int> sides)
{
    QVERIFY2(!ours.isNull(), qPrintable(what));
    for (int side : sides)
        for (qreal scale : {1.0, 1.5, 2.0, 3.0})
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                const QString where =
                    QString("%1, %2 px at %3x, mode %4").arg(what).arg(side).arg(scale).arg(int(mode));
                QPixmap a = ours.pixmap(QSize(side, side), scale, mode);
                QPixmap b = style.pixmap(QSize(side, side), scale, mode);
                QVERIFY2(a.size() == b.size(), qPrintable(where));
                QVERIFY2(a.devicePixelRatio() == b.devicePixelRatio(), qPrintable(where));
                QVERIFY2(a.toImage() == b.toImage(), qPrintable(where));
                QVERIFY2(Painted(ours, side, scale, mode) == Painted(style, side, scale, mode), qPrintable(where));
                QVERIFY2(ours.actualSize(QSize(side, side), mode) == style.actualSize(QSize(side, side), mode),
                         qPrintable(where));
            }
    QVERIFY2(ours.availableSizes() == style.availableSizes(), qPrintable(what));
}

} // namespace

class ToolIconsTest : public QObject {
    Q_OBJECT
private slots:
    void standardIconsLookAsTheStyleDrawsThem();
    void extensionButtonsLookAsTheStyleDrawsThem();
};

void ToolIconsTest::standardIconsLookAsTheStyleDrawsThem()
{
    for (const Pair& pair : kPairs) {
        ExpectSameLook(MakeToolIcon(pair.icon), QApplication::style()->standardIcon(pair.standard),
                       QString("icon %1").arg(int(pair.icon)),
                       {12, 16, 18, 20, 24, 31, 32, 33, 36, 48, 64, 100, 128, 160});
        if (QTest::currentTestFailed())
            return;
    }
}

void ToolIconsTest::extensionButtonsLookAsTheStyleDrawsThem()
{
    const DeferredIconStyle deferred("fusion");
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("fusion"));
    QVERIFY(fusion);
    for (QStyle::StandardPixmap standard :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton})
        for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            QStyleOption option;
            option.direction = direction;
            ExpectSameLook(deferred.standardIcon(standard, &option), fusion->standardIcon(standard, &option),
                           QString("extension %1, direction %2").arg(int(standard)).arg(int(direction)),
                           {5, 8, 10, 12, 16, 20, 24, 32, 48});
            if (QTest::currentTestFailed())
                return;
        }
    // Without an option the application's direction counts, as for the style.
    ExpectSameLook(deferred.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton),
                   fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton), "no option", {8, 16, 32});
}

QTEST_MAIN(ToolIconsTest)
#include "ToolIconsTest.moc"
