#include "SlotGridPainter.h"

#include "SlotGrid.h"

#include <algorithm>
#include <cstring>

namespace {

// One pixel around the thumbnail: the outline from (x + 1, y + 1) to (x + 66, y + 66).
void drawFrame(DisplayImage& view, CellPlace cell, std::uint8_t colour)
{
    const int left = cell.x + 1, top = cell.y + 1;
    const int right = cell.x + CellSize - 2, bottom = cell.y + CellSize - 2;
    DrawLine(view, left, top, right, top, colour);
    DrawLine(view, right, top, right, bottom, colour);
    DrawLine(view, right, bottom, left, bottom, colour);
    DrawLine(view, left, bottom, left, top, colour);
}

// The 64 x 64 thumbnail at the view point (x, y), y counted from the top, clipped to the view.
// Thumbnail pixel (u, v) is image pixel (2u, 2v).
void drawThumbnail(DisplayImage& view, const DisplayImage& image, int x, int y)
{
    const int firstU = std::max(0, -x), lastU = std::min(ThumbnailSize, view.width - x);
    const int firstV = std::max(0, -y), lastV = std::min(ThumbnailSize, view.height - y);
    for (int v = firstV; v < lastV; ++v) {
        const std::uint8_t* source = image.row(2 * v);
        std::uint8_t* target = view.row(view.height - 1 - (y + v)) + x; // view rows lie bottom up
        for (int u = firstU; u < lastU; ++u)
            target[u] = source[2 * u];
    }
}

} // namespace

void DrawSlotGrid(DisplayImage& view, const EditorBank& bank, const GridPaint& paint)
{
    if (view.pixels.empty() || view.bytesPerPixel != 1)
        return;
    std::fill(view.pixels.begin(), view.pixels.begin() + static_cast<std::ptrdiff_t>(view.width) * view.height, 0);
    const SlotRange slots = VisibleSlots(paint.columns, paint.topRow, view.height);
    for (std::int32_t i = slots.first; i <= slots.last; ++i) {
        const CellPlace cell = CellCorner(i, paint.columns, paint.topRow);
        if (cell.x >= view.width)
            continue;
        const DisplayImage* image = bank.slots[i].image.get();
        if (image && image->width >= TextureSide && image->height >= TextureSide)
            drawThumbnail(view, *image, cell.x + ThumbnailInset, cell.y + ThumbnailInset);
        if (i == paint.chosen.first || i == paint.chosen.last)
            drawFrame(view, cell, paint.frames.red);
        if (i == paint.chosen.current)
            drawFrame(view, cell, paint.frames.green);
        if (i == paint.cursor)
            drawFrame(view, cell, i == 0 ? paint.paletteSlotFrame : paint.frames.white);
    }
}

bool DrawPreview(DisplayImage& preview, const EditorBank& bank, const AnimTexture& chosen)
{
    const std::int32_t b = chosen.current;
    if (b < 0 || b > LastSlot || !bank.slots[b].image)
        return false;
    const DisplayImage& image = *bank.slots[b].image;
    if (preview.width != TextureSide || preview.height < TextureSide || image.width != TextureSide ||
        image.height < TextureSide)
        return false;
    std::memcpy(preview.pixels.data(), image.pixels.data(), TexturePixels);
    return true;
}
