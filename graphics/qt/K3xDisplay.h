#pragma once
// Showing DisplayImages in Qt windows, painted with QPainter. An image's rows lie bottom up, as
// in a device-independent bitmap; its 256-entry colour table gives the colours. True-colour
// displays show every colour of the table, so realising a window palette only records it: the
// window shows the new colours at its next repaint.
#include "DisplayImage.h"
#include "Palette.h"
#include "TextureImage.h"

#include <QImage>

#include <cstdint>

class QPainter;

// The image's pixels as a QImage in memory order (row 0 on top, so the picture upside down),
// without copying: valid while the image's pixels are neither freed nor reallocated.
QImage DisplayImageView(const DisplayImage& image);

// A 128 x 128 texture (rows top first) in the palette's colours at `side` x `side` pixels, each
// pixel sampled at whole steps (every second one for 64, repeated for 256 and up), so that it
// stays crisp; the image says it is `scale` screen pixels per window pixel.
QImage TextureThumbnail(const std::uint8_t* pixels, const PalettePlanes& palette, int side, double scale);

// Makes the image's colour table the colours its window shows.
void RealizeWindowPalette(DisplayImage& image);
// SetColourTable(screen, palette), then RealizeWindowPalette(screen).
void ApplyBankPalette(const PalettePlanes& palette, DisplayImage& screen);

// The image at (x, y), as is.
void DrawImage(const DisplayImage& image, int x, int y, QPainter& canvas);
// The image stretched into the rectangle from (x, y) to (x + width, y + height), nearest pixel. A
// negative height turns it upside down: the image's first row (in memory) comes out on top, which
// is how the editors show textures (y = top + height, height negative).
void StretchImage(const DisplayImage& image, int x, int y, QPainter& canvas, int height, int width);
// The image's colours as 32-bit pixels, top row first, into `shown`, made anew only when its size
// differs: painting an 8-bit image makes a new 32-bit copy of it every time (8 MB at 1920 x 1080,
// whose allocation alone costs more than the conversion).
void ShowColours(const DisplayImage& image, QImage& shown);
// The screen image at (x, y): stretched to width x height when asked and the sizes differ, else
// through a 32-bit copy kept between frames.
void PresentScreen(QPainter& form, bool stretch, int x, int y, int width, int height, const DisplayImage& screen);
// The screen image at (x, y) with one of its pixels on each device pixel of a canvas whose device
// pixel ratio is `deviceScale` (the image then covers its size divided by the ratio): sharp on
// screens of any density.
void PresentScreen(QPainter& form, int x, int y, double deviceScale, const DisplayImage& screen);
