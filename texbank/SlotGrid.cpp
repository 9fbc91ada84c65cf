#include "SlotGrid.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Division rounding toward minus infinity, for points above or left of the view.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Thumbnail sides with whole-pixel steps from the 128-pixel image: half, then 1 to 4 times.
constexpr int ThumbnailSides[] = {64, 128, 256, 384, 512};

} // namespace

GridLayout ChooseGridLayout(int viewWidth, double scale)
{
    scale = std::max(1.0, scale);
    GridLayout layout;
    layout.inset = static_cast<int>(std::lround(InsetWidth * scale));
    layout.band = static_cast<int>(std::lround(BandHeight * scale));
    const double smallest = 64 * scale - 0.01;
    bool found = false;
    for (int side : ThumbnailSides) {
        if (side < smallest)
            continue;
        const bool fits = viewWidth / (side + 2 * layout.inset) >= MinimumColumns;
        if (!found || fits)
            layout.thumbnail = side;
        found = true;
        if (!fits)
            break;
    }
    if (!found)
        layout.thumbnail = ThumbnailSides[std::size(ThumbnailSides) - 1];
    layout.columns = std::max(1, viewWidth / layout.CellWidth());
    return layout;
}

CellPlace CellCorner(std::int32_t slot, const GridLayout& layout, int topRow)
{
    return {(slot % layout.columns) * layout.CellWidth(), (slot / layout.columns - topRow) * layout.CellHeight()};
}

std::int32_t SlotAt(int x, int y, const GridLayout& layout, int topRow)
{
    const int column = std::clamp(floorDiv(x, layout.CellWidth()), 0, layout.columns - 1);
    const long long row = static_cast<long long>(topRow) + floorDiv(y, layout.CellHeight());
    const long long slot = row * layout.columns + column;
    return static_cast<std::int32_t>(std::clamp<long long>(slot, 0, LastSlot));
}

int TopRowMaximum(const GridLayout& layout, int viewHeight)
{
    const int lastRow = LastSlot / layout.columns;
    const int wholeRows = std::max(1, viewHeight / layout.CellHeight());
    return std::max(0, lastRow + 1 - wholeRows);
}

SlotRange VisibleSlots(const GridLayout& layout, int topRow, int viewHeight)
{
    if (viewHeight <= 0)
        return {1, 0};
    const long long firstRow = std::max(0, topRow);
    const long long lastRow = static_cast<long long>(topRow) + (viewHeight - 1) / layout.CellHeight();
    const long long first = firstRow * layout.columns;
    const long long last = std::min<long long>((lastRow + 1) * layout.columns - 1, LastSlot);
    if (lastRow < 0 || first > LastSlot)
        return {1, 0};
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}
