#include "ToolIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace pitwall::gui {

QIcon MakeToolIcon(ToolIcon icon)
{
    QStyle* style = QApplication::style();
    switch (icon) {
    case ToolIcon::Open: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case ToolIcon::Save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case ToolIcon::Import: return style->standardIcon(QStyle::SP_ArrowDown);
    case ToolIcon::Export: return style->standardIcon(QStyle::SP_ArrowUp);
    case ToolIcon::Quit: return style->standardIcon(QStyle::SP_DialogCloseButton);
    case ToolIcon::CarsetInfo: return style->standardIcon(QStyle::SP_FileDialogInfoView);
    case ToolIcon::Backup: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case ToolIcon::Options: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case ToolIcon::StartGame: return style->standardIcon(QStyle::SP_MediaPlay);
    case ToolIcon::Help: return style->standardIcon(QStyle::SP_DialogHelpButton);
    case ToolIcon::About: return style->standardIcon(QStyle::SP_TitleBarContextHelpButton);
    case ToolIcon::Info: return style->standardIcon(QStyle::SP_MessageBoxInformation);
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
