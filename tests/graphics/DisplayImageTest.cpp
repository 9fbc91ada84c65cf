#include "DisplayImage.h"
#include "GraphicsSamples.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
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

// The line stepped plainly from its first point to its last, in 64 bits: what DrawLine must draw.
std::set<std::pair<int, int>> plainLine(const DisplayImage& image, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                                        std::int64_t y2)
{
    std::set<std::pair<int, int>> rows;
    const auto plot = [&](std::int64_t x, std::int64_t y) {
        if (x >= 0 && x < image.width && y >= 0 && y < image.height)
            rows.emplace(int(x), int(y));
    };
    y1 = image.height - 1 - y1;
    y2 = image.height - 1 - y2;
    const std::int64_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const bool alongX = dx >= dy;
    const std::int64_t major = alongX ? dx : dy, minor = alongX ? dy : dx;
    std::int64_t error = 2 * minor - major, x = x1, y = y1;
    for (std::int64_t i = 0; i < major; ++i) {
        plot(x, y);
        if (error > 0) {
            (alongX ? y : x) += (alongX ? y2 >= y1 : x2 >= x1) ? 1 : -1;
            error -= 2 * major;
        }
        error += 2 * minor;
        (alongX ? x : y) += (alongX ? x2 >= x1 : y2 >= y1) ? 1 : -1;
    }
    plot(x2, y2);
    return rows;
}

TEST(DrawLine, LinesFromFarOffTheImageDrawWhatStepByStepDrawingWould)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> near(-40, 60), far(-300000, 300000);
    for (int n = 0; n < 400; ++n) {
        DisplayImage image;
        CreateImage(image, 23, 17);
        const int x1 = near(random), y1 = near(random);
        const int x2 = n % 2 ? far(random) : near(random), y2 = n % 3 ? near(random) : far(random);
        DrawLine(image, x1, y1, x2, y2, 5);
        ASSERT_EQ(setPixels(image), plainLine(image, x1, y1, x2, y2)) << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
    // Across the whole range of ints, at once.
    const int lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    DisplayImage image;
    CreateImage(image, 8, 4);
    DrawLine(image, lowest, 2, highest, 2, 5);
    EXPECT_EQ(setPixels(image).size(), 8u);
    image.pixels.assign(image.pixels.size(), 0);
    DrawLine(image, lowest, lowest, highest, highest, 5);
    EXPECT_EQ(setPixels(image), (std::set<std::pair<int, int>>{{0, 3}, {1, 2}, {2, 1}, {3, 0}}));
}

} // namespace
