#include "cockpit/LcdEmulation.h"

#include <algorithm>

namespace pitwall {

namespace {

void StretchGlyph(Image& picture, const Image& font, Rect from, Rect to)
{
    for (int y = to.top; y < to.bottom; ++y)
        for (int x = to.left; x < to.right; ++x) {
            if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height())
                continue;
            const int sx = from.left + (x - to.left) * from.width() / to.width();
            const int sy = from.top + (y - to.top) * from.height() / to.height();
            picture.setPixel(x, y, font.pixel(sx, sy));
        }
}

void Invert(Image& picture, Rect r)
{
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, picture.height()); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, picture.width()); ++x)
            picture.setPixel(x, y, picture.pixel(x, y) ^ 0xFFFFFFu);
}

// The outside text at normal size, from (x, y) on.
void DrawPlainText(Image& picture, const LcdFont& font, std::string_view text, int x, int y)
{
    for (char c : text) {
        if (auto g = font.glyph(static_cast<unsigned char>(c)))
            picture.drawRect(font.picture(), *g, x, y);
        x += kLcdGlyphWidth;
    }
}

} // namespace

void DrawLcdText(Image& picture, const LcdFont& font, std::string_view text, int column, int fineX, int row,
                 int fineY)
{
    const int top = (row * 10 + 1 + fineY) * 2;
    const int bottom = (row * 10 + fineY + 10) * 2;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        const int c = column + static_cast<int>(i);
        const auto glyph = font.glyph(static_cast<unsigned char>(text[i]));
        if (!glyph)
            continue;
        const Rect to{(c * 6 + 1 + fineX) * 2, top, (c * 6 + fineX + 6) * 2, bottom};
        StretchGlyph(picture, font.picture(), *glyph, to);
    }
}

Image RenderLcd(const LcdScene& scene, const LcdFont& font)
{
    Image picture(kLcdPictureWidth, kLcdPictureHeight);
    if (!scene.preview || scene.preview->isNull())
        return picture;
    const LcdScreen* screen = scene.screen;
    if (screen && (*screen)[0][LcdElement::kOutside] != 0) {
        DrawPlainText(picture, font, scene.outsideText, 10, picture.height() / 2);
        return picture;
    }
    picture.draw(scene.preview->copy(kLcdPreviewArea).stretched(kLcdPictureWidth, kLcdPictureHeight), 0, 0);
    if (!screen)
        return picture;
    for (std::size_t n = 0; n < screen->size(); ++n) {
        const LcdElement& e = (*screen)[n];
        if (e.is(LcdType::Highlight)) {
            const int row = kHighlightRows[e[LcdElement::kIndex] < kLcdHighlightCount ? e[LcdElement::kIndex] : 0];
            Invert(picture, Rect{((e[1] + 2) * 6 + 1 + e[2]) * 2, (row + 1) * 2, ((e[3] + 2) * 6 + 1 + e[4]) * 2,
                                 (row + 11) * 2});
        } else if (e.is(LcdType::Placeholder)) {
            const auto index = e[LcdElement::kIndex] < kLcdPlaceholderCount ? e[LcdElement::kIndex] : 0;
            DrawLcdText(picture, font, kLcdPlaceholderSamples[index], e[1] + 1, e[2], e[3], e[4]);
        } else if (e.is(LcdType::Text) && !e.text().empty()) {
            if (e[0] != 0 && static_cast<int>(n) != scene.chosenElement)
                continue;
            DrawLcdText(picture, font, e.text(), e[1] + 2, e[2], e[3], e[4]);
        }
    }
    return picture;
}

} // namespace pitwall
