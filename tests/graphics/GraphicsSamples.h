#pragma once
// Images and palettes for the graphics tests, written as files into the current (temporary) folder.
#include "ImageWriters.h"
#include "Palette.h"
#include "PcxFormat.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// A palette with 256 different colours spread over the cube, repeatable from its seed.
inline PalettePlanes RandomPalette(unsigned seed)
{
    std::mt19937 random(seed);
    PalettePlanes palette;
    for (int i = 0; i < 256; ++i) {
        palette.red[i] = static_cast<std::uint8_t>(random());
        palette.green[i] = static_cast<std::uint8_t>(random());
        palette.blue[i] = static_cast<std::uint8_t>(random());
    }
    return palette;
}

inline std::vector<std::uint8_t> RandomPixels(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(count));
    for (auto& p : pixels)
        p = static_cast<std::uint8_t>(random());
    return pixels;
}

inline std::string AsText(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

inline std::string PcxFile(int width, int height, const std::vector<std::uint8_t>& pixels, const PalettePlanes& palette)
{
    return AsText(EncodePcx(width, height, pixels, palette));
}

// A PCX file made by hand: header of width x height with the given line length, the run-length
// data as given, the marker and `palette`.
inline std::string HandMadePcx(int width, int height, const std::vector<std::uint8_t>& data, const PalettePlanes& palette,
                               int bytesPerLine = 0)
{
    PcxHeader header;
    header.xmax = static_cast<std::uint16_t>(width - 1);
    header.ymax = static_cast<std::uint16_t>(height - 1);
    header.bytesPerLine = static_cast<std::uint16_t>(bytesPerLine ? bytesPerLine : width);
    std::vector<std::uint8_t> file(PcxHeaderSize);
    WritePcxHeader(header, file.data());
    file.insert(file.end(), data.begin(), data.end());
    file.push_back(PcxPaletteMarker);
    for (int i = 0; i < 256; ++i)
        file.insert(file.end(), {palette.red[i], palette.green[i], palette.blue[i]});
    return AsText(file);
}
