#pragma once
// Geometry of the slot grid: the 513 image slots of a bank laid out row by row in cells of
// 68 x 68 pixels, as many columns as the view is wide, scrolled by whole rows. A cell holds a
// 64 x 64 thumbnail two pixels in from its corner, with a one-pixel frame around it.
#include <cstdint>

constexpr int CellSize = 68;
constexpr int ThumbnailSize = 64;
constexpr int ThumbnailInset = 2;
constexpr std::int32_t LastSlot = 512; // slots 0 to 512

struct CellPlace {
    int x;
    int y;
};

// Columns of a view `viewWidth` pixels wide; at least one, so that a narrow view still shows
// the slots in a single column instead of dividing by zero.
int GridColumns(int viewWidth);

// Top-left corner of slot `slot`'s cell in the view whose top visible grid row is `topRow`.
CellPlace CellCorner(std::int32_t slot, int columns, int topRow);

// The slot under the view point (x, y), both counted from the view's top-left corner. Points
// right of the last column (the strip narrower than a cell) count as the last column, so they
// never pick a slot of the next row; rows past the last slot give 512, rows above give 0.
std::int32_t SlotAt(int x, int y, int columns, int topRow);

// The largest top row the row scroller offers: just enough for the last row to show whole in a
// view `viewHeight` pixels high (at least the last row itself when not one row fits).
int TopRowMaximum(int columns, int viewHeight);

// The slots whose cells meet a view `viewHeight` pixels high, as [first, last]; empty
// (first > last) when none does.
struct SlotRange {
    std::int32_t first;
    std::int32_t last;
};
SlotRange VisibleSlots(int columns, int topRow, int viewHeight);
