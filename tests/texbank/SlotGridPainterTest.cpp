// Drawing the slot grid and the preview into 8-bit images.
#include "SlotGridPainter.h"

#include "SlotGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The view pixel at (x, y), y counted from the top as on screen.
std::uint8_t at(const DisplayImage& view, int x, int y) { return view.row(view.height - 1 - y)[x]; }

// A slot image whose pixel (x, y) is (x + y) mod 200 + 1 (never 0), first row on top.
std::unique_ptr<DisplayImage> slotImage(int seed)
{
    auto image = std::make_unique<DisplayImage>();
    CreateImage(*image, 128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            image->row(y)[x] = static_cast<std::uint8_t>((x + y + seed) % 200 + 1);
    return image;
}

struct Fixture {
    EditorBank bank;
    DisplayImage view;
    GridLayout layout;
    Fixture(int width, int height)
    {
        CreateImage(view, width, height);
        layout = {64, 2, 0, width / 68};
    }
};

} // namespace

TEST(SlotGridPainter, ThumbnailsTakeEverySecondPixelFirstRowOnTop)
{
    Fixture f(548, 328);
    f.bank.slots[9].image = slotImage(7);
    std::fill(f.view.pixels.begin(), f.view.pixels.end(), 99);
    DrawSlotGrid(f.view, f.bank, f.layout, 0);
    const CellPlace cell = CellCorner(9, f.layout, 0); // second row, second column
    for (int v : {0, 1, 31, 63})
        for (int u : {0, 5, 63})
            EXPECT_EQ(at(f.view, cell.x + 2 + u, cell.y + 2 + v), (2 * u + 2 * v + 7) % 200 + 1) << u << "," << v;
    // Around the thumbnail, and in empty cells, the view is colour 0.
    EXPECT_EQ(at(f.view, cell.x + 1, cell.y + 1), 0);
    EXPECT_EQ(at(f.view, cell.x + 66, cell.y + 66), 0);
    EXPECT_EQ(at(f.view, 10, 10), 0);
    EXPECT_EQ(at(f.view, 547, 327), 0);
}

TEST(SlotGridPainter, LargerThumbnailsRepeatEachPixelBelowTheBandStrip)
{
    for (const int side : {128, 256, 384}) {
        Fixture f(2 * (side + 8), side + 40);
        f.layout = {side, 4, 20, 2};
        f.bank.slots[1].image = slotImage(3);
        DrawSlotGrid(f.view, f.bank, f.layout, 0);
        const int x = side + 8 + 4, y = 20 + 4; // slot 1's thumbnail corner
        for (int v : {0, 1, 2, 5, side - 1})
            for (int u : {0, 1, 3, side - 1}) {
                const int imageX = u * 128 / side, imageY = v * 128 / side;
                EXPECT_EQ(at(f.view, x + u, y + v), (imageX + imageY + 3) % 200 + 1) << side << ": " << u << "," << v;
            }
        EXPECT_EQ(at(f.view, x + 5, y - 1), 0); // the band strip is left to the marks
    }
}

TEST(SlotGridPainter, ScrolledAndClippedCells)
{
    Fixture f(200, 100); // two columns, one whole row and a half
    for (int i = 0; i <= 512; ++i)
        f.bank.slots[i].image = slotImage(i);
    DrawSlotGrid(f.view, f.bank, f.layout, 3);
    // Slot 6 is at the top left; slot 8's thumbnail is cut by the bottom edge.
    EXPECT_EQ(at(f.view, 2, 2), (0 + 6) % 200 + 1);
    EXPECT_EQ(at(f.view, 70, 2), (0 + 7) % 200 + 1);
    EXPECT_EQ(at(f.view, 2, 70), (0 + 8) % 200 + 1);
    EXPECT_EQ(at(f.view, 2, 99), (2 * 29 + 8) % 200 + 1);
    // The strip right of the last column stays empty.
    EXPECT_EQ(at(f.view, 150, 10), 0);

    DrawSlotGrid(f.view, f.bank, f.layout, 256); // the last row: slot 512 alone
    EXPECT_EQ(at(f.view, 2, 2), (512 + 0) % 200 + 1);
    EXPECT_EQ(at(f.view, 70, 2), 0);
}
