#include "DisplayImage.h"
#include "GraphicsSamples.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The (column, row) pairs set in the image.
std::set<std::pair<int, int>> setPixels(const DisplayImage& image)
{
    std::set<std::pair<int, int>> set;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.row(y)[x])
                set.insert({x, y});
    return set;
}

TEST(DisplayImage, CreatesRowsWithFiveSpareOnes)
{
    DisplayImage image;
    ASSERT_TRUE(CreateImage(image, 16, 8));
    EXPECT_EQ(image.pixels.size(), 16u * 13u);
    ASSERT_TRUE(CreateImage(image, 4, 2, true));
    EXPECT_EQ(image.pixels.size(), 4u * 7u * 3u);
    for (const auto& [w, h] : {std::pair{0, 4}, {4, 0}, {-4, 4}, {40000, 4}})
        EXPECT_FALSE(CreateImage(image, w, h)) << w << " x " << h;
    EXPECT_EQ(image.width, 4); // a refused size leaves the image as it was
    FreeImage(image);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(DisplayImage, ColourTableIsBlueGreenRedAndOne)
{
    DisplayImage image;
    const PalettePlanes palette = RandomPalette(40);
    SetColourTable(image, palette);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(image.colourTable[i].blue, palette.blue[i]);
        EXPECT_EQ(image.colourTable[i].green, palette.green[i]);
        EXPECT_EQ(image.colourTable[i].red, palette.red[i]);
        EXPECT_EQ(image.colourTable[i].reserved, 1);
    }
}

TEST(SetPixel, WritesOnlyInsideTheImage)
{
    DisplayImage image;
    CreateImage(image, 8, 4);
    for (const auto& [x, y] : {std::pair{-1, 0}, {8, 0}, {0, -1}, {0, 4}, {100, 100}})
        SetPixel(image, x, y, 9);
    EXPECT_TRUE(setPixels(image).empty());
    for (std::uint8_t p : image.pixels)
        EXPECT_EQ(p, 0); // the spare rows too
    SetPixel(image, 7, 3, 9);
    EXPECT_EQ(image.pixels[7 + 3 * 8], 9);
}

TEST(DrawLine, DrawsBresenhamLinesInScreenCoordinates)
{
    const struct {
        int x1, y1, x2, y2;
        std::set<std::pair<int, int>> rows; // (x, row) with row = 3 - y
    } cases[] = {
        {2, 1, 2, 1, {{2, 2}}},
        {0, 0, 3, 0, {{0, 3}, {1, 3}, {2, 3}, {3, 3}}},
        {1, 0, 1, 3, {{1, 3}, {1, 2}, {1, 1}, {1, 0}}},
        {0, 0, 3, 3, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
        {0, 0, 6, 3, {{0, 3}, {1, 3}, {2, 2}, {3, 2}, {4, 1}, {5, 1}, {6, 0}}},
        {6, 3, 0, 0, {{6, 0}, {5, 0}, {4, 1}, {3, 1}, {2, 2}, {1, 2}, {0, 3}}},
        {-2, 1, 1, 1, {{0, 2}, {1, 2}}}, // clipped by SetPixel
    };
    for (const auto& c : cases) {
        DisplayImage image;
        CreateImage(image, 8, 4);
        DrawLine(image, c.x1, c.y1, c.x2, c.y2, 5);
        EXPECT_EQ(setPixels(image), c.rows) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
}

} // namespace
