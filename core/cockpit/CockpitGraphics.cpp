#include "cockpit/CockpitGraphics.h"

#include <stdexcept>

namespace pitwall {

namespace {

constexpr const char* kJamPaths[kCockpitJamCount] = {"Liveries\\DSH1_EMP.JAM", "Liveries\\DSH2_EMP.JAM",
                                                     "Main\\STEERAC9.JAM", "Main\\STEERB9.JAM"};

// The two halves of wheel sheet slot 2 and where the preview and the sheet
// put them; slot 3 (the wheel's middle) likewise. Right and bottom exclusive.
// In the preview the halves flank the middle (171..339): the left one at
// 103..169, the right one at 339..405 (page column x at x + 272).
struct Piece {
    int slot;
    Rect from;
    int previewX, previewY;
    // The sheet keeps each half without its last column and row: sheets
    // saved by other tools have a gap there, which must not come back as the
    // wheel's edge.
    Rect sheetFrom;
    int sheetX, sheetY;
};
constexpr Piece kWheelPieces[] = {
    {2, {0, 0, 67, 210}, 103, 39, {0, 0, 66, 209}, 700, 0},
    {2, {67, 0, 134, 210}, 67 + 272, 39, {67, 0, 133, 209}, 770, 0},
};
constexpr Piece kWheelMiddle = {3, {0, 0, 169, 256}, 171, 39, {0, 0, 169, 256}, 520, 0};
constexpr int kSheetPageX[] = {0, 260, -1, 520};

void DrawKeyed(Image& target, const Image& page, Rect from, int x, int y)
{
    if (page.isNull())
        return;
    const Pixel key = page.pixel(0, 0);
    for (int sy = from.top; sy < from.bottom && sy < page.height(); ++sy)
        for (int sx = from.left; sx < from.right && sx < page.width(); ++sx) {
            const Pixel p = page.pixel(sx, sy);
            const int tx = x + sx - from.left, ty = y + sy - from.top;
            if (p != key && tx >= 0 && ty >= 0 && tx < target.width() && ty < target.height())
                target.setPixel(tx, ty, p);
        }
}

void Require(const std::vector<TJAMFile>& jams)
{
    if (jams.size() != kCockpitJamCount)
        throw std::invalid_argument("a cockpit set has four JAMs");
}

// Copies the sheet's rectangle at (x, y) of `from`'s size into the page at
// from's position, clipped to the page.
void TakeRect(Image& page, const Image& sheet, Rect from, int x, int y)
{
    for (int py = from.top; py < from.bottom && py < page.height(); ++py)
        for (int px = from.left; px < from.right && px < page.width(); ++px)
            page.setPixel(px, py, sheet.pixel(x + px - from.left, y + py - from.top));
}

} // namespace

std::string CockpitJamGamePath(int set, int slot)
{
    return std::string(set == 0 ? "GP3JAMS\\" : "GP3JAMSH\\") + kJamPaths[slot];
}

std::string CockpitJamMember(int set, int slot)
{
    return std::string(set == 0 ? "CockpitSoftware" : "CockpitHardware") + std::to_string(slot + 1) + ".JAM";
}

Image ComposeCockpitPreview(const std::vector<TJAMFile>& jams)
{
    Require(jams);
    Image preview(kCockpitPreviewWidth, kCockpitPreviewHeight);
    preview.draw(jams[0].page(), 0, 0);
    preview.draw(jams[1].page(), 256, 0);
    for (const Piece& p : kWheelPieces)
        DrawKeyed(preview, jams[static_cast<std::size_t>(p.slot)].page(), p.from, p.previewX, p.previewY);
    DrawKeyed(preview, jams[3].page(), kWheelMiddle.from, kWheelMiddle.previewX, kWheelMiddle.previewY);
    return preview;
}

Image ComposeCockpitSheet(const std::vector<TJAMFile>& jams)
{
    Require(jams);
    Image sheet(kCockpitSheetWidth, kCockpitSheetHeight);
    sheet.draw(jams[0].page(), 0, 0);
    sheet.draw(jams[1].page(), 260, 0);
    sheet.draw(jams[3].page(), 520, 0);
    for (const Piece& p : kWheelPieces)
        sheet.drawRect(jams[2].page(), p.sheetFrom, p.sheetX, p.sheetY);
    return sheet;
}

void TakeCockpitSheet(std::vector<TJAMFile>& jams, const Image& sheet)
{
    Require(jams);
    if (sheet.width() != kCockpitSheetWidth || sheet.height() != kCockpitSheetHeight)
        throw std::invalid_argument("a cockpit sheet is 840 x 256 pixels, this picture is "
                                    + std::to_string(sheet.width()) + " x " + std::to_string(sheet.height()));
    std::vector<TJAMFile> taken = jams;
    TakeRect(taken[0].page(), sheet, {0, 0, 256, 256}, kSheetPageX[0], 0);
    TakeRect(taken[1].page(), sheet, {0, 0, 256, 256}, kSheetPageX[1], 0);
    // Slot 3 shows up to where slot 2's halves start.
    TakeRect(taken[3].page(), sheet, {0, 0, 700 - 520, 256}, kSheetPageX[3], 0);
    for (const Piece& p : kWheelPieces)
        TakeRect(taken[2].page(), sheet, p.sheetFrom, p.sheetX, p.sheetY);
    for (TJAMFile& jam : taken) {
        if (!jam.is8Bit()) {
            // The page holds what an RGB565 pixel can.
            const int depth = jam.page().depth();
            jam.page() = jam.page().convertedToDepth(16);
            jam.page().setDepth(depth);
            continue;
        }
        for (Pixel& p : jam.page().pixels())
            p = jam.palette().pixel(jam.palette().nearestIndexOfPixel(p));
        jam.BlankOutsideImages();
        for (int i = 0; i < jam.imageCount(); ++i)
            jam.RebuildTables(i);
    }
    jams = std::move(taken);
}

} // namespace pitwall
