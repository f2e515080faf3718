#include "cockpit/LcdEmulation.h"

#include <algorithm>
#include <string_view>
#include <vector>

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

// The text broken at spaces into lines of at most `width` characters; a
// word longer than a line is cut.
std::vector<std::string_view> WrappedLines(std::string_view text, std::size_t width)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        while (start < text.size() && text[start] == ' ')
            ++start;
        if (start == text.size())
            break;
        std::size_t end = std::min(text.size(), start + width);
        if (end < text.size() && text[end] != ' ') {
            const std::size_t space = text.rfind(' ', end);
            if (space != std::string_view::npos && space > start)
                end = space;
        }
        std::size_t last = end;
        while (last > start && text[last - 1] == ' ')
            --last;
        lines.push_back(text.substr(start, last - start));
        start = end;
    }
    return lines;
}

// The message of a screen shown outside the cockpit, in as many lines as it
// needs to stay inside the picture, around its middle.
void DrawOutsideText(Image& picture, const LcdFont& font, std::string_view text)
{
    constexpr int kMargin = 10, kLineHeight = kLcdGlyphHeight + 2;
    const auto width = static_cast<std::size_t>(std::max(1, (picture.width() - 2 * kMargin) / kLcdGlyphWidth));
    const auto lines = WrappedLines(text, width);
    int y = picture.height() / 2 - static_cast<int>(lines.size() > 0 ? lines.size() - 1 : 0) * kLineHeight / 2;
    for (std::string_view line : lines) {
        DrawPlainText(picture, font, line, kMargin, y);
        y += kLineHeight;
    }
}

} // namespace

void DrawLcdText(Image& picture, const LcdFont& font, std::string_view text, int column, int fineX, int row, int fineY)
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
        DrawOutsideText(picture, font, scene.outsideText);
        return picture;
    }
    picture.draw(scene.preview->copy(kLcdPreviewArea).stretched(kLcdPictureWidth, kLcdPictureHeight), 0, 0);
    if (!screen)
        return picture;
    for (std::size_t n = 0; n < screen->size(); ++n) {
        const LcdElement& e = (*screen)[n];
        if (e.is(LcdType::Highlight)) {
            const int row = kHighlightRows[e[LcdElement::kIndex] < kLcdHighlightCount ? e[LcdElement::kIndex] : 0];
            Invert(
                picture,
                Rect{((e[1] + 2) * 6 + 1 + e[2]) * 2, (row + 1) * 2, ((e[3] + 2) * 6 + 1 + e[4]) * 2, (row + 11) * 2});
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
