#pragma once
// Geometry of the slot grid: the 513 image slots of a bank laid out row by row in cells, as many
// columns as the view is wide, scrolled by whole rows. Sizes are in view pixels, which are the
// screen's own pixels (two per window pixel on a screen at scale factor 2), so thumbnails stay
// sharp. A cell holds a strip on top for the bands that mark texture runs, then the thumbnail
// `inset` pixels in from the cell's sides and bottom, room for a frame around it.
#include <cstdint>

constexpr std::int32_t LastSlot = 512; // slots 0 to 512

struct GridLayout {
    int thumbnail = 64; // 64 (every second pixel of the image) or a multiple of 128 (pixels repeated)
    int inset = 2;
    int band = 0;       // the band strip's height
    int columns = 1;

    int CellWidth() const { return thumbnail + 2 * inset; }
    int CellHeight() const { return band + thumbnail + 2 * inset; }
    bool operator==(const GridLayout&) const = default;
};

// Thumbnails grow with the view in whole steps while at least this many columns fit.
constexpr int MinimumColumns = 8;
// The band strip's height and the thumbnail's inset in window pixels.
constexpr int BandHeight = 14;
constexpr int InsetWidth = 2;

// The layout of a view `viewWidth` view pixels wide on a screen of `scale` view pixels per window
// pixel: the largest thumbnail (64, 128, 256, 384 or 512) that leaves MinimumColumns columns,
// never less than 64 window pixels; at least one column.
GridLayout ChooseGridLayout(int viewWidth, double scale);

struct CellPlace {
    int x;
    int y;
};

// Top-left corner of slot `slot`'s cell in the view whose top visible grid row is `topRow`.
CellPlace CellCorner(std::int32_t slot, const GridLayout& layout, int topRow);

// The slot under the view point (x, y), both counted from the view's top-left corner. Points
// right of the last column (the strip narrower than a cell) count as the last column, so they
// never pick a slot of the next row; rows past the last slot give 512, rows above give 0.
std::int32_t SlotAt(int x, int y, const GridLayout& layout, int topRow);

// The largest top row the row scroller offers: just enough for the last row to show whole in a
// view `viewHeight` pixels high (at least the last row itself when not one row fits).
int TopRowMaximum(const GridLayout& layout, int viewHeight);

// The slots whose cells meet a view `viewHeight` pixels high, as [first, last]; empty
// (first > last) when none does.
struct SlotRange {
    std::int32_t first;
    std::int32_t last;
};
SlotRange VisibleSlots(const GridLayout& layout, int topRow, int viewHeight);
