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
    GridPaint paint;
    Fixture(int width, int height)
    {
        CreateImage(view, width, height);
        paint.columns = GridColumns(width);
        paint.frames = {201, 202, 203};
        paint.paletteSlotFrame = 204;
        paint.cursor = 511; // out of sight unless a test moves it
    }
};

} // namespace

TEST(SlotGridPainter, ThumbnailsTakeEverySecondPixelFirstRowOnTop)
{
    Fixture f(548, 328);
    f.bank.slots[9].image = slotImage(7);
    std::fill(f.view.pixels.begin(), f.view.pixels.end(), 99);
    DrawSlotGrid(f.view, f.bank, f.paint);
    const CellPlace cell = CellCorner(9, 8, 0); // second row, second column
    for (int v : {0, 1, 31, 63})
        for (int u : {0, 5, 63})
            EXPECT_EQ(at(f.view, cell.x + 2 + u, cell.y + 2 + v), (2 * u + 2 * v + 7) % 200 + 1) << u << "," << v;
    // Around the thumbnail, and in empty cells, the view is colour 0.
    EXPECT_EQ(at(f.view, cell.x + 1, cell.y + 1), 0);
    EXPECT_EQ(at(f.view, cell.x + 66, cell.y + 66), 0);
    EXPECT_EQ(at(f.view, 10, 10), 0);
    EXPECT_EQ(at(f.view, 547, 327), 0);
}

TEST(SlotGridPainter, FramesMarkTheChosenTextureAndTheCursor)
{
    Fixture f(548, 328);
    f.paint.chosen = {3, 5, 4};
    f.paint.cursor = 5;
    DrawSlotGrid(f.view, f.bank, f.paint);
    const auto frameColour = [&](int slot) {
        const CellPlace cell = CellCorner(slot, 8, 0);
        const std::uint8_t corner = at(f.view, cell.x + 1, cell.y + 1);
        // The whole outline has one colour.
        for (int i = 1; i <= 66; ++i) {
            EXPECT_EQ(at(f.view, cell.x + i, cell.y + 1), corner);
            EXPECT_EQ(at(f.view, cell.x + i, cell.y + 66), corner);
            EXPECT_EQ(at(f.view, cell.x + 1, cell.y + i), corner);
            EXPECT_EQ(at(f.view, cell.x + 66, cell.y + i), corner);
        }
        return corner;
    };
    EXPECT_EQ(frameColour(3), 201); // first: red
    EXPECT_EQ(frameColour(4), 203); // current: green
    EXPECT_EQ(frameColour(5), 202); // last and cursor: white covers red
    EXPECT_EQ(frameColour(6), 0);
    f.paint.cursor = 0;
    f.paint.chosen = {0, 0, 0};
    DrawSlotGrid(f.view, f.bank, f.paint);
    EXPECT_EQ(frameColour(0), 204); // the palette slot's flickering frame covers them all
}

TEST(SlotGridPainter, ScrolledAndClippedCells)
{
    Fixture f(200, 100); // two columns, one whole row and a half
    f.paint.topRow = 3;
    for (int i = 0; i <= 512; ++i)
        f.bank.slots[i].image = slotImage(i);
    DrawSlotGrid(f.view, f.bank, f.paint);
    // Slot 6 is at the top left; slot 8's thumbnail is cut by the bottom edge.
    EXPECT_EQ(at(f.view, 2, 2), (0 + 6) % 200 + 1);
    EXPECT_EQ(at(f.view, 70, 2), (0 + 7) % 200 + 1);
    EXPECT_EQ(at(f.view, 2, 70), (0 + 8) % 200 + 1);
    EXPECT_EQ(at(f.view, 2, 99), (2 * 29 + 8) % 200 + 1);
    // The strip right of the last column stays empty.
    EXPECT_EQ(at(f.view, 150, 10), 0);

    f.paint.topRow = 256; // the last row: slot 512 alone
    DrawSlotGrid(f.view, f.bank, f.paint);
    EXPECT_EQ(at(f.view, 2, 2), (512 + 0) % 200 + 1);
    EXPECT_EQ(at(f.view, 70, 2), 0);
}
