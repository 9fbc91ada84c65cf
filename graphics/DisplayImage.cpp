#include "DisplayImage.h"

#include <cstdlib>
#include <new>
#include <utility>

bool CreateImage(DisplayImage& image, int width, int height, bool trueColour)
{
    constexpr int MaxSide = 32768;
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide)
        return false;
    const int bytesPerPixel = trueColour ? 3 : 1;
    try {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * (height + DisplayImageSpareRows) * bytesPerPixel);
        image.pixels = std::move(pixels);
    } catch (const std::bad_alloc&) {
        return false;
    }
    image.width = width;
    image.height = height;
    image.bytesPerPixel = bytesPerPixel;
    image.paletteRealised = false;
    return true;
}

void FreeImage(DisplayImage& image)
{
    image.pixels = {};
    image.width = image.height = 0;
    image.paletteRealised = false;
}

void SetColourTable(DisplayImage& image, const PalettePlanes& palette)
{
    for (int i = 0; i < 256; ++i)
        image.colourTable[i] = {palette.blue[i], palette.green[i], palette.red[i], 1};
}

void SetPixel(DisplayImage& image, int x, int y, std::uint8_t colour)
{
    if (x >= 0 && x < image.width && y >= 0 && y < image.height && image.bytesPerPixel == 1)
        image.pixels[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * image.width] = colour;
}

void DrawLine(DisplayImage& image, int x1, int y1, int x2, int y2, std::uint8_t colour)
{
    y1 = image.height - 1 - y1;
    y2 = image.height - 1 - y2;
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int stepX = x2 >= x1 ? 1 : -1, stepY = y2 >= y1 ? 1 : -1;
    const bool alongX = dx >= dy;
    const int major = alongX ? dx : dy, minor = alongX ? dy : dx;
    int error = 2 * minor - major;
    int x = x1, y = y1;
    for (int i = 0; i < major; ++i) {
        SetPixel(image, x, y, colour);
        if (error > 0) {
            // The minor axis takes its step.
            if (alongX)
                y += stepY;
            else
                x += stepX;
            error -= 2 * major;
        }
        error += 2 * minor;
        if (alongX)
            x += stepX;
        else
            y += stepY;
    }
    SetPixel(image, x2, y2, colour);
}
