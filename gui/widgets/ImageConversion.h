#pragma once
// Between the core's pictures and colours and Qt's. The core keeps pixels as
// 0x00RRGGBB; a QImage of Format_RGB32 holds the same value with the top byte
// set, so a conversion is a copy, not a colour transformation.

#include "formats/Image.h"

#include <QColor>
#include <QImage>

namespace pitwall::gui {

// An RGB32 picture of the same size; a null picture gives a null QImage.
QImage ToQImage(const Image& image);
// A 32-bit picture of the same size; alpha is dropped (any format is taken,
// transparent pixels keep the colour they carry).
Image ToImage(const QImage& image);

QColor ToQColor(Pixel pixel);
Pixel ToPixel(const QColor& color);

} // namespace pitwall::gui
