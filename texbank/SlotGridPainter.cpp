#include "SlotGridPainter.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int LargestThumbnail = 512;

// The thumbnail of side `side` at the view point (x, y), y counted from the top, clipped to the
// view. Thumbnail pixel (u, v) is image pixel (u * 128 / side, v * 128 / side); rows that repeat
// an image row are copies of the row drawn before them.
void drawThumbnail(DisplayImage& view, const DisplayImage& image, int side, int x, int y,
                   const std::array<int, LargestThumbnail>& sourceColumn)
{
    const int firstU = std::max(0, -x), lastU = std::min(side, view.width - x);
    const int firstV = std::max(0, -y), lastV = std::min(side, view.height - y);
    if (firstU >= lastU)
        return;
    const std::uint8_t* drawnSource = nullptr;
    const std::uint8_t* drawnRow = nullptr;
    for (int v = firstV; v < lastV; ++v) {
        const std::uint8_t* source = image.row(v * TextureSide / side);
        std::uint8_t* target = view.row(view.height - 1 - (y + v)) + x; // view rows lie bottom up
        if (source == drawnSource) {
            std::memcpy(target + firstU, drawnRow + firstU, static_cast<std::size_t>(lastU - firstU));
        } else {
            for (int u = firstU; u < lastU; ++u)
                target[u] = source[sourceColumn[u]];
        }
        drawnSource = source;
        drawnRow = target;
    }
}

} // namespace

void DrawSlotGrid(DisplayImage& view, const EditorBank& bank, const GridLayout& layout, int topRow)
{
    if (view.pixels.empty() || view.bytesPerPixel != 1)
        return;
    std::fill(view.pixels.begin(), view.pixels.begin() + static_cast<std::ptrdiff_t>(view.width) * view.height, 0);
    const int side = std::min(layout.thumbnail, LargestThumbnail);
    std::array<int, LargestThumbnail> sourceColumn{};
    for (int u = 0; u < side; ++u)
        sourceColumn[u] = u * TextureSide / side;
    const SlotRange slots = VisibleSlots(layout, topRow, view.height);
    for (std::int32_t i = slots.first; i <= slots.last; ++i) {
        const CellPlace cell = CellCorner(i, layout, topRow);
        if (cell.x >= view.width)
            continue;
        const DisplayImage* image = bank.slots[i].image.get();
        if (image && image->width >= TextureSide && image->height >= TextureSide)
            drawThumbnail(view, *image, side, cell.x + layout.inset, cell.y + layout.band + layout.inset, sourceColumn);
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
