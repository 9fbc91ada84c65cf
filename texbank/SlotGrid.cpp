#include "SlotGrid.h"

#include <algorithm>

namespace {

// Division rounding toward minus infinity, for points above or left of the view.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

int GridColumns(int viewWidth) { return std::max(1, viewWidth / CellSize); }

CellPlace CellCorner(std::int32_t slot, int columns, int topRow)
{
    return {(slot % columns) * CellSize, (slot / columns - topRow) * CellSize};
}

std::int32_t SlotAt(int x, int y, int columns, int topRow)
{
    const int column = std::clamp(floorDiv(x, CellSize), 0, columns - 1);
    const long long row = static_cast<long long>(topRow) + floorDiv(y, CellSize);
    const long long slot = row * columns + column;
    return static_cast<std::int32_t>(std::clamp<long long>(slot, 0, LastSlot));
}

int TopRowMaximum(int columns, int viewHeight)
{
    const int lastRow = LastSlot / columns;
    const int wholeRows = std::max(1, viewHeight / CellSize);
    return std::max(0, lastRow + 1 - wholeRows);
}

SlotRange VisibleSlots(int columns, int topRow, int viewHeight)
{
    if (viewHeight <= 0)
        return {1, 0};
    const long long firstRow = std::max(0, topRow);
    const long long lastRow = static_cast<long long>(topRow) + (viewHeight - 1) / CellSize;
    const long long first = firstRow * columns;
    const long long last = std::min<long long>((lastRow + 1) * columns - 1, LastSlot);
    if (lastRow < 0 || first > LastSlot)
        return {1, 0};
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}
