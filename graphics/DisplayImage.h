#pragma once
// DisplayImage: an 8-bit image with its 256-entry colour table, laid out as a device-independent
// bitmap: rows `width` bytes apart, row 0 at the bottom of the picture as shown, five spare rows
// after the last. The renderer and the editors' small views draw into it; the Qt display layer
// (graphics/qt) shows it.
#include "Palette.h"

#include <array>
#include <cstdint>
#include <vector>

// One colour-table entry, in the bitmap's order.
struct ColourTableEntry {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};
static_assert(sizeof(ColourTableEntry) == 4);

struct DisplayImage {
    std::array<ColourTableEntry, 256> colourTable{};
    std::vector<std::uint8_t> pixels; // width x (height + 5) x bytesPerPixel, zero-filled
    std::int32_t width = 0;           // pixels per row; a multiple of 4 for 8-bit images
    std::int32_t height = 0;
    std::int32_t bytesPerPixel = 1;   // 3 for a true-colour image (blue, green, red)
    bool paletteRealised = false;     // RealizeWindowPalette has shown this image's colours

    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width * bytesPerPixel; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width * bytesPerPixel; }
};

// The spare rows after the last one, room for drawing routines that run a little past the end.
constexpr int DisplayImageSpareRows = 5;

// Allocates the pixels for width x height (both 1..32768); false when the sizes are not
// allowed or memory runs out, leaving the image as it was.
bool CreateImage(DisplayImage& image, int width, int height, bool trueColour = false);
void FreeImage(DisplayImage& image);
// Colour-table entry i = (blue[i], green[i], red[i], 1).
void SetColourTable(DisplayImage& image, const PalettePlanes& palette);

// Writes pixels[x + y * width] inside the image; nothing outside it.
void SetPixel(DisplayImage& image, int x, int y, std::uint8_t colour);
// A line in screen coordinates (y grows downwards, turned into row height - 1 - y), Bresenham
// stepping the longer axis, both end points set. Any ints: the time taken follows the part of
// the line inside the image.
void DrawLine(DisplayImage& image, int x1, int y1, int x2, int y2, std::uint8_t colour);
