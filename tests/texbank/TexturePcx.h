#pragma once
// Small 256-colour PCX files for the texture bank editor's tests.
#include "ImageWriters.h"
#include "Palette.h"

#include <cstdint>
#include <string>
#include <vector>

// A palette whose colour c is (c, base, 255 - c): distinct palettes for distinct bases.
inline PalettePlanes RampPalette(std::uint8_t base)
{
    PalettePlanes palette;
    for (int c = 0; c < 256; ++c) {
        palette.red[c] = static_cast<std::uint8_t>(c);
        palette.green[c] = base;
        palette.blue[c] = static_cast<std::uint8_t>(255 - c);
    }
    return palette;
}

// A width x height image whose pixel (x, y) is (x + 3 y + seed) mod 256, first row on top.
inline std::vector<std::uint8_t> PatternPixels(int width, int height, int seed)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>((x + 3 * y + seed) % 256);
    return pixels;
}

inline std::string PcxFile(int width, int height, int seed, const PalettePlanes& palette)
{
    const std::vector<std::uint8_t> bytes = EncodePcx(width, height, PatternPixels(width, height, seed), palette);
    return std::string(bytes.begin(), bytes.end());
}
