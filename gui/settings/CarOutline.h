#pragma once
// The car outline of the damage page: a top view of the car in which every
// car part is a closed area. A part is found by its point (picture
// coordinates, doubled) and flood-filled: red for every part, blue for the
// one under the pointer.

#include <QImage>
#include <QLabel>

#include <array>

namespace pitwall::gui {

inline constexpr int kOutlineParts = 22;

// The points of the parts, in the damage record's order, before doubling.
inline constexpr std::array<QPoint, kOutlineParts> kCarPartPoints = {{
    {30, 10},  {45, 15},  {15, 15},  {45, 5},   {15, 5},   {40, 33},  {50, 33},  {15, 33},
    {5, 33},   {40, 90},  {10, 90},  {25, 120}, {45, 132}, {50, 132}, {15, 132}, {10, 132},
    {30, 140}, {30, 140}, {30, 140}, {30, 148}, {40, 61},  {15, 61},
}};

inline const QColor kPartColour = QColor(0xD0, 0x20, 0x20);
inline const QColor kHighlightColour = QColor(0x20, 0x40, 0xE0);

// The outline with every part filled red.
QImage CarOutlineImage();
// Fills the area around `point` (already doubled) with `colour`.
void FloodFill(QImage& image, QPoint point, QColor colour);

class CarOutline : public QLabel {
    Q_OBJECT
public:
    explicit CarOutline(QWidget* parent = nullptr);
    // Fills `part` blue and the part highlighted before red again; -1 for none.
    void highlight(int part);
    int highlighted() const { return highlighted_; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
    int highlighted_ = -1;
};

} // namespace pitwall::gui
