#include "ProgramPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace pitwall::gui {

QPixmap ProgramPicture(int width, int height)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0, 0, 96));
    sky.setColorAt(1, QColor(10, 30, 140));
    p.fillRect(pixmap.rect(), sky);

    // A chequered flag band along the bottom.
    const int cell = std::max(4, height / 12);
    const int top = height - 2 * cell;
    for (int row = 0; row < 2; ++row)
        for (int x = 0, col = 0; x < width; x += cell, ++col)
            p.fillRect(x, top + row * cell, cell, cell, (row + col) % 2 ? Qt::black : Qt::white);

    QFont font("Sans Serif");
    font.setBold(true);
    font.setPixelSize(std::max(10, height / 3));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, top), Qt::AlignCenter, "Pitwall");
    return pixmap;
}

} // namespace pitwall::gui
