#include "DeferredIconStyle.h"

#include "DeferredStyleIcon.h"

#include <QApplication>
#include <QStyleOption>

namespace pitwall::gui {

namespace {

// The style's files of an extension button's arrow with their pictures'
// sizes: three sizes each, the horizontal one mirrored for right-to-left.
std::vector<StyleIconFile> ExtensionFiles(QStyle::StandardPixmap standard, bool rightToLeft)
{
    const QString base = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");
    if (standard == QStyle::SP_ToolBarHorizontalExtensionButton) {
        const QString name = base + (rightToLeft ? "toolbar-ext-h-rtl-%1.png" : "toolbar-ext-h-%1.png");
        return {{name.arg(8), QSize(8, 5)}, {name.arg(16), QSize(16, 10)}, {name.arg(32), QSize(32, 20)}};
    }
    const QString name = base + "toolbar-ext-v-%1.png";
    return {{name.arg(5), QSize(5, 8)}, {name.arg(10), QSize(10, 16)}, {name.arg(20), QSize(20, 32)}};
}

} // namespace

DeferredIconStyle::DeferredIconStyle(const QString& key) : QProxyStyle(key) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap standard, const QStyleOption* option, const QWidget* widget) const
{
    if (standard != SP_ToolBarHorizontalExtensionButton && standard != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standard, option, widget);
    // The direction as the built-in style takes it: the option's, else the
    // application's.
    const bool rightToLeft = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
    if (QIcon icon = DeferredFileIcon(ExtensionFiles(standard, rightToLeft)); !icon.isNull())
        return icon;
    return QProxyStyle::standardIcon(standard, option, widget);
}

void UseDeferredIconStyle(QApplication& application)
{
    QStyle* current = QApplication::style();
    if (!StyleDrawsFromItsFiles(current) || qobject_cast<QProxyStyle*>(current))
        return;
    application.setStyle(new DeferredIconStyle(current->name()));
}

} // namespace pitwall::gui
