#include "DisplayImage.h"

#include <algorithm>
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

namespace {

// Pixel i of a Bresenham line lies i steps along its major axis and k(i) steps along its minor
// one, k(i) = ceil((2 minor i - major) / (2 major)): the error term's stepping in closed form.
// With minor i = q major + r, that is q, plus one when 2r > major. 128-bit, since i and both
// counts may pass 2^32.
struct MinorStart {
    std::int64_t steps;
    std::int64_t error; // the error term at pixel i, before its test
};

MinorStart minorStart(std::int64_t i, std::int64_t minor, std::int64_t major)
{
    __extension__ using Wide = __int128;
    const Wide product = Wide(minor) * i;
    const auto q = static_cast<std::int64_t>(product / major);
    const auto r = static_cast<std::int64_t>(product % major);
    const bool extra = 2 * r > major;
    // 2 minor (i + 1) - major - 2 major k(i), written with r so that nothing overflows.
    return {q + extra, 2 * r + 2 * minor - major - (extra ? 2 * major : 0)};
}

} // namespace

void DrawLine(DisplayImage& image, int x1, int y1, int x2, int y2, std::uint8_t colour)
{
    // 64 bits hold every difference of two ints. Rows count from the bottom.
    const std::int64_t fromX = x1, toX = x2;
    const std::int64_t fromY = image.height - 1 - std::int64_t(y1), toY = image.height - 1 - std::int64_t(y2);
    const auto plot = [&image, colour](std::int64_t x, std::int64_t y) {
        if (x >= 0 && x < image.width && y >= 0 && y < image.height)
            SetPixel(image, static_cast<int>(x), static_cast<int>(y), colour);
    };
    const std::int64_t dx = std::abs(toX - fromX), dy = std::abs(toY - fromY);
    const bool alongX = dx >= dy;
    const std::int64_t major = alongX ? dx : dy, minor = alongX ? dy : dx;
    const std::int64_t majorFrom = alongX ? fromX : fromY, minorFrom = alongX ? fromY : fromX;
    const std::int64_t majorStep = (alongX ? toX >= fromX : toY >= fromY) ? 1 : -1;
    const std::int64_t minorStep = (alongX ? toY >= fromY : toX >= fromX) ? 1 : -1;
    const std::int64_t extent = alongX ? image.width : image.height;

    // Only the steps that fall inside the image along the major axis are taken: a line from far
    // off the screen costs no more than one across it.
    const std::int64_t first = std::max<std::int64_t>(0, majorStep > 0 ? -majorFrom : majorFrom - (extent - 1));
    const std::int64_t last = std::min<std::int64_t>(major - 1, majorStep > 0 ? extent - 1 - majorFrom : majorFrom);
    if (first <= last) {
        auto [k, error] = minorStart(first, minor, major);
        for (std::int64_t i = first; i <= last; ++i) {
            const std::int64_t along = majorFrom + majorStep * i, across = minorFrom + minorStep * k;
            alongX ? plot(along, across) : plot(across, along);
            if (error > 0) {
                ++k; // the minor axis takes its step
                error -= 2 * major;
            }
            error += 2 * minor;
        }
    }
    plot(toX, toY);
}
