#include "ToolIcons.h"

#include "DeferredStyleIcon.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace pitwall::gui {

QIcon MakeToolIcon(ToolIcon icon)
{
    QStyle* style = QApplication::style();
    switch (icon) {
    case ToolIcon::Open:
        return DeferredStyleIcon(QStyle::SP_DialogOpenButton, StyleIconFiles("standardbutton-open", {16, 32, 128}));
    case ToolIcon::Save:
        return DeferredStyleIcon(QStyle::SP_DialogSaveButton, StyleIconFiles("standardbutton-save", {16, 32, 128}));
    case ToolIcon::Import:
        return DeferredStyleIcon(QStyle::SP_ArrowDown, StyleIconFiles("down", {16, 32, 128}));
    case ToolIcon::Export:
        return DeferredStyleIcon(QStyle::SP_ArrowUp, StyleIconFiles("up", {16, 32, 128}));
    case ToolIcon::Quit:
        return DeferredStyleIcon(QStyle::SP_DialogCloseButton, StyleIconFiles("standardbutton-close", {16, 32, 128}));
    case ToolIcon::CarsetInfo:
        return DeferredStyleIcon(QStyle::SP_FileDialogInfoView, StyleIconFiles("fileinfo", {16, 32, 128}));
    case ToolIcon::Backup:
        // The style's icon is its 16-pixel picture alone.
        return DeferredStyleIcon(QStyle::SP_DriveHDIcon, StyleIconFiles("harddrive", {16}));
    case ToolIcon::Options:
        return DeferredStyleIcon(QStyle::SP_FileDialogDetailedView, StyleIconFiles("viewdetailed", {16, 32, 128}));
    case ToolIcon::StartGame:
        return DeferredStyleIcon(QStyle::SP_MediaPlay, StyleIconFiles("media-play", {16, 32}));
    case ToolIcon::Help:
        return DeferredStyleIcon(QStyle::SP_DialogHelpButton, StyleIconFiles("standardbutton-help", {16, 32, 128}));
    case ToolIcon::About:
        return DeferredStyleIcon(QStyle::SP_TitleBarContextHelpButton,
                                 StyleIconFiles("titlebar-contexthelp", {16, 32, 48}));
    case ToolIcon::Info:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    return {};
}

QIcon MakeEditorIcon(const QString& letters, const QColor& colour)
{
    QPixmap pixmap(36, 36);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawRoundedRect(QRectF(1, 1, 34, 34), 6, 6);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(letters.size() > 1 ? 15 : 20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}

} // namespace pitwall::gui
