#pragma once
// Turning a true-colour 128 x 128 picture into a texture's colour indices. Colour 0 is the
// renderer's see-through key: a pixel becomes 0 exactly where it is less than half opaque, and
// every other pixel takes one of the palette's other colours.
#include "Palette.h"
#include "TextureImage.h"

#include <array>
#include <cstdint>
#include <span>

// 128 x 128 pixels of red, green, blue and alpha (not premultiplied), first row on top.
using RgbaTexture = std::array<std::uint8_t, TexturePixels * 4>;

constexpr std::uint8_t HalfOpaque = 128; // alpha from here on is drawn; below it is the key

// Each drawn pixel becomes the nearest of palette colours 1..last (last 1..255); with `dither` the
// difference is spread onto the pixels to the right and below (Floyd-Steinberg), never across
// see-through pixels.
TextureImage QuantiseTexture(const RgbaTexture& picture, const PalettePlanes& palette, int last, bool dither);

// A palette made for the picture (libimagequant): its drawn pixels' colours in entries 1..N
// (N <= 255), colour 0 black as the key, the entries past N black too.
struct MadePalette {
    PalettePlanes palette;
    int last = 1; // N; at least 1, so a picture that is wholly see-through still has a colour
};
MadePalette MakeTexturePalette(const RgbaTexture& picture);
// One palette for many pictures together, every drawn pixel of each having its say: what a
// bank whose pictures share colour 1..255 needs. Null entries are skipped.
MadePalette MakeSharedPalette(std::span<const RgbaTexture* const> pictures);

// A picture of the palette itself: 16 x 16 cells of 8 x 8 pixels, cell c (row by row) in colour
// c, cell 0 the key. It keeps a bank's palette as its slot 0 image.
TextureImage PaletteSwatches();
