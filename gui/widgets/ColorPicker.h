#pragma once
// TColorPicker: a grid of palette colours from which a colour ramp is chosen.
// Cells run row by row from index 0; the selected index and the 15 after it
// (one ramp of 16 entries) are drawn with a black frame. A left click on a
// cell selects its index when that is at most numColors(); with the focus,
// the arrow keys move the selection a cell or a row, as a click would.

#include "formats/Palette.h"

#include <QImage>
#include <QWidget>

#include <array>

namespace pitwall::gui {

class ColorPicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int numColors READ numColors WRITE setNumColors)
    Q_PROPERTY(int inARow READ inARow WRITE setInARow)
    Q_PROPERTY(int selected READ selected WRITE setSelected NOTIFY selectedChanged)

public:
    // Entries in one framed ramp.
    static constexpr int kRampLength = 16;

    explicit ColorPicker(QWidget* parent = nullptr);

    // Copies the 256 colours shown and redraws.
    void setPaletteColors(const Palette& palette);
    void setPaletteColors(const std::array<Pixel, Palette::kSize>& colors);
    const std::array<Pixel, Palette::kSize>& paletteColors() const { return colors_; }

    // The highest index a click may select, 0..65535 (default 255). The grid
    // has numColors() / inARow() full rows.
    int numColors() const { return numColors_; }
    void setNumColors(int count);
    // Cells per row, 1..65535 (default 16).
    int inARow() const { return inARow_; }
    void setInARow(int count);
    // First index of the framed ramp, 0..65535; stores, redraws and tells
    // selectedChanged when it differs.
    int selected() const { return selected_; }
    void setSelected(int index);

    // Control width / inARow and height / (numColors / inARow), in pixels;
    // 0 when the control is too small for a whole cell.
    int cellWidth() const;
    int cellHeight() const;
    // The index a left click at `pos` would pick (possibly above numColors),
    // -1 when the cells have no size.
    int indexAt(QPoint pos) const;

    // Paints the grid into the picture and shows it.
    void draw();
    // The painted grid, the control's size.
    const QImage& picture() const { return picture_; }

    QSize sizeHint() const override;

signals:
    // The selection changed, by a click or by setSelected.
    void selectedChanged(int index);
    // A left click picked an index (also when it was selected already).
    void colorClicked(int index);
    // Every press, after a left click has updated the selection and before
    // the grid is redrawn.
    void mousePressed(Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void drawPaletteColors(QImage& target) const;
    // Selects `index` as a left click on its cell does.
    void choose(int index);

    std::array<Pixel, Palette::kSize> colors_{};
    int numColors_ = 255;
    int inARow_ = 16;
    int selected_ = 0;
    QImage picture_;
};

} // namespace pitwall::gui
