// The slot grid's geometry: the layout for a view, cell places, the slot under a point, the row
// scroller.
#include "SlotGrid.h"

#include <gtest/gtest.h>

namespace {

// The design's cells: 64-pixel thumbnails two pixels in, 68 x 68, no band strip.
GridLayout designCells(int columns) { return {64, 2, 0, columns}; }

} // namespace

TEST(SlotGrid, ThumbnailsGrowInWholeStepsWhileEightColumnsFit)
{
    const struct {
        int width;
        double scale;
        GridLayout layout;
    } cases[] = {
        {548, 1, {64, 2, 14, 8}},    // the design's view: 8 cells of 68
        {543, 1, {64, 2, 14, 7}},
        {1055, 1, {64, 2, 14, 15}},  // 8 cells of 132 need 1056
        {1056, 1, {128, 2, 14, 8}},
        {1748, 1, {128, 2, 14, 13}}, // a maximised window on 1920 x 1080
        {2200, 1, {256, 2, 14, 8}},
        {5000, 1, {512, 2, 14, 9}},
        {1096, 2, {128, 4, 28, 8}},  // the design's view at scale 2: every image pixel shows
        {600, 1.5, {128, 3, 21, 4}}, // never below 64 window pixels, even when 8 columns do not fit
        {0, 1, {64, 2, 14, 1}},
        {-5, 1, {64, 2, 14, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseGridLayout(c.width, c.scale), c.layout) << c.width << " at " << c.scale;
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
        EXPECT_EQ(SlotAt(c.x, c.y, designCells(c.columns), c.topRow), c.slot) << c.x << "," << c.y << " top " << c.topRow;
    // Cells 68 wide and 82 high with the band strip.
    const GridLayout banded{64, 2, 14, 8};
    EXPECT_EQ(SlotAt(5, 81, banded, 0), 0);
    EXPECT_EQ(SlotAt(5, 82, banded, 0), 8);
    EXPECT_EQ(CellCorner(17, banded, 1).y, 82);
}

TEST(SlotGrid, EverySlotCanBeScrolledIntoAWholeRow)
{
    for (int columns : {1, 3, 8, 9, 20, 513, 600}) {
        for (int height : {0, 40, 68, 329, 700, 40000}) {
            const GridLayout layout = designCells(columns);
            const int maximum = TopRowMaximum(layout, height);
            const int wholeRows = std::max(1, height / 68);
            EXPECT_GE(maximum, 0);
            // At the maximum the last slot's row is visible whole...
            const int lastRowPlace = CellCorner(LastSlot, layout, maximum).y;
            EXPECT_GE(lastRowPlace, 0) << columns << " " << height;
            EXPECT_LT(lastRowPlace / 68, wholeRows) << columns << " " << height;
            // ...and one row less would not show it whole.
            if (maximum > 0) {
                EXPECT_GE(CellCorner(LastSlot, layout, maximum - 1).y / 68, wholeRows) << columns << " " << height;
            }
        }
    }
    EXPECT_EQ(TopRowMaximum(designCells(8), 329), 61);
}

TEST(SlotGrid, VisibleSlotsCoverThePartlyShownRows)
{
    const SlotRange top = VisibleSlots(designCells(8), 0, 329);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.last, 39); // rows 0 to 4, the fifth shown in part
    const SlotRange bottom = VisibleSlots(designCells(8), 61, 329);
    EXPECT_EQ(bottom.first, 488);
    EXPECT_EQ(bottom.last, 512);
    const SlotRange none = VisibleSlots(designCells(8), 0, 0);
    EXPECT_GT(none.first, none.last);
    const SlotRange past = VisibleSlots(designCells(8), 65, 329);
    EXPECT_GT(past.first, past.last);
}
