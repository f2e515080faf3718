#include "ColorPicker.h"

#include "ImageConversion.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pitwall::gui {

namespace {

// The counts and the selection are 16-bit values in the forms.
constexpr int kMaxWord = 65535;

} // namespace

ColorPicker::ColorPicker(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus); // the arrow keys choose too
    draw();
}

void ColorPicker::setPaletteColors(const Palette& palette) { setPaletteColors(palette.pixels()); }

void ColorPicker::setPaletteColors(const std::array<Pixel, Palette::kSize>& colors)
{
    colors_ = colors;
    draw();
}

void ColorPicker::setNumColors(int count)
{
    numColors_ = std::clamp(count, 0, kMaxWord);
    updateGeometry();
    draw();
}

void ColorPicker::setInARow(int count)
{
    inARow_ = std::clamp(count, 1, kMaxWord);
    updateGeometry();
    draw();
}

void ColorPicker::setSelected(int index)
{
    index = std::clamp(index, 0, kMaxWord);
    const bool changed = index != selected_;
    selected_ = index;
    draw();
    if (changed)
        emit selectedChanged(index);
}

int ColorPicker::cellWidth() const { return width() / inARow_; }

int ColorPicker::cellHeight() const
{
    const int rows = numColors_ / inARow_;
    return rows == 0 ? 0 : height() / rows;
}

int ColorPicker::indexAt(QPoint pos) const
{
    const int w = cellWidth();
    const int h = cellHeight();
    if (w == 0 || h == 0 || pos.x() < 0 || pos.y() < 0)
        return -1;
    return pos.x() / w + (pos.y() / h) * inARow_;
}

void ColorPicker::draw()
{
    QImage grid(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    grid.fill(palette().color(QPalette::Window));
    drawPaletteColors(grid);
    picture_ = grid;
    update();
}

void ColorPicker::drawPaletteColors(QImage& target) const
{
    const int w = cellWidth();
    const int h = cellHeight();
    if (w == 0 || h == 0)
        return;
    const int perRow = width() / w;
    // Every index a click can select has a cell, so the one after the full
    // rows (index numColors itself) is drawn too, as far as it fits.
    const int last = std::min(numColors_, Palette::kSize - 1);
    QPainter painter(&target);
    for (int index = 0; index <= last; ++index) {
        const QRect cell((index % perRow) * w, (index / perRow) * h, w, h);
        const QColor color = ToQColor(colors_[static_cast<std::size_t>(index)]);
        if (index >= selected_ && index < selected_ + kRampLength) {
            painter.fillRect(cell, Qt::black);
            painter.fillRect(cell.adjusted(1, 1, -1, -1), color);
        } else {
            painter.fillRect(cell, color);
        }
    }
}

QSize ColorPicker::sizeHint() const
{
    const int rows = std::max(1, numColors_ / inARow_);
    return QSize(inARow_ * 14, rows * 14);
}

void ColorPicker::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_, event->rect());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ColorPicker::choose(int index)
{
    const bool changed = index != selected_;
    selected_ = index;
    if (changed)
        emit selectedChanged(index);
    emit colorClicked(index);
}

// The arrow keys move the choice a cell or a row, as a click on that cell
// would.
void ColorPicker::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -inARow_;
        break;
    case Qt::Key_Down:
        step = inARow_;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const int index = selected_ + step;
    if (index >= 0 && index <= numColors_) {
        choose(index);
        draw();
    }
}

void ColorPicker::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void ColorPicker::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ColorPicker::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int index = indexAt(pos);
        if (index >= 0 && index <= numColors_)
            choose(index);
    }
    emit mousePressed(event->button(), pos, event->modifiers());
    draw();
}

void ColorPicker::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    draw();
}

void ColorPicker::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        draw();
}

} // namespace pitwall::gui
