// The slot grid's geometry: columns, cell places, the slot under a point, the row scroller.
#include "SlotGrid.h"

#include <gtest/gtest.h>

TEST(SlotGrid, ColumnsFollowTheViewWidth)
{
    const struct {
        int width;
        int columns;
    } cases[] = {{549, 8}, {543, 7}, {544, 8}, {68, 1}, {67, 1}, {0, 1}, {-5, 1}, {1400, 20}};
    for (const auto& c : cases)
        EXPECT_EQ(GridColumns(c.width), c.columns) << c.width;
}

TEST(SlotGrid, SlotUnderAPoint)
{
    const struct {
        int x, y, columns, topRow;
        int slot;
    } cases[] = {
        {0, 0, 8, 0, 0},          // top-left corner of the first cell
        {67, 67, 8, 0, 0},        // its last pixel
        {68, 0, 8, 0, 1},         // next cell
        {5, 70, 8, 0, 8},         // second row's first cell
        {5, 70, 8, 3, 32},        // scrolled down three rows
        {548, 10, 8, 0, 7},       // strip right of the last column: still that row's last slot
        {549, 10, 8, 0, 7},       // the view's right edge counts too
        {200, 320, 8, 63, 512},   // last row's empty cells: 512 at most
        {10, 5000, 8, 0, 512},    // far below
        {-3, -3, 8, 0, 0},        // above and left clamp to the first slot
        {10, 10, 1, 600, 512},    // a single column scrolled beyond the bank
    };
    for (const auto& c : cases)
        EXPECT_EQ(SlotAt(c.x, c.y, c.columns, c.topRow), c.slot) << c.x << "," << c.y << " top " << c.topRow;
}

TEST(SlotGrid, EverySlotCanBeScrolledIntoAWholeRow)
{
    for (int columns : {1, 3, 8, 9, 20, 513, 600}) {
        for (int height : {0, 40, 68, 329, 700, 40000}) {
            const int maximum = TopRowMaximum(columns, height);
            const int wholeRows = std::max(1, height / CellSize);
            EXPECT_GE(maximum, 0);
            // At the maximum the last slot's row is visible whole...
            const int lastRowPlace = CellCorner(LastSlot, columns, maximum).y;
            EXPECT_GE(lastRowPlace, 0) << columns << " " << height;
            EXPECT_LT(lastRowPlace / CellSize, wholeRows) << columns << " " << height;
            // ...and one row less would not show it whole.
            if (maximum > 0) {
                EXPECT_GE(CellCorner(LastSlot, columns, maximum - 1).y / CellSize, wholeRows) << columns << " " << height;
            }
        }
    }
    EXPECT_EQ(TopRowMaximum(8, 329), 61);
}

TEST(SlotGrid, VisibleSlotsCoverThePartlyShownRows)
{
    const SlotRange top = VisibleSlots(8, 0, 329);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.last, 39); // rows 0 to 4, the fifth shown in part
    const SlotRange bottom = VisibleSlots(8, 61, 329);
    EXPECT_EQ(bottom.first, 488);
    EXPECT_EQ(bottom.last, 512);
    const SlotRange none = VisibleSlots(8, 0, 0);
    EXPECT_GT(none.first, none.last);
    const SlotRange past = VisibleSlots(8, 65, 329);
    EXPECT_GT(past.first, past.last);
}
