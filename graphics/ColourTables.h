#pragma once
// The colour lookup tables with which the renderer lights and blends in one memory access per
// pixel. Each is a flat byte array; its shape is written beside it.
#include "Palette.h"

#include <array>
#include <cstddef>
#include <cstdint>

// 256 light levels x 256 colours: entry [level * 256 + c] is the bank colour (1..254) nearest to
// colour c darkened towards the fog colour; level 0 is the fog, level 255 almost the colour
// itself. Colour 0 stays 0 at every level.
struct ShadeTable {
    std::array<std::uint8_t, 256 * 256> entries{};

    const std::uint8_t* row(int level) const { return entries.data() + level * 256; }
};
static_assert(sizeof(ShadeTable) == 65536);

// 17 levels x 256 x 256: entry [j * 65536 + a * 256 + b] is the bank colour (0..254) nearest to
// colour a moved j/16 of the way towards colour b. Level 0 gives a, level 16 gives b. The
// renderer takes a = the new (shaded) colour and b = the colour already on screen.
struct BlendTables {
    static constexpr int Levels = 17;
    static constexpr std::size_t LevelSize = 256 * 256;
    static constexpr std::size_t Size = Levels * LevelSize; // 1,114,112 bytes, also the cache's size

    std::array<std::uint8_t, Size> entries{};

    const std::uint8_t* level(int j) const { return entries.data() + j * LevelSize; }
};
static_assert(sizeof(BlendTables) == 1114112);

// Flat face colours: entry c is the bank colour (1..254) nearest to colour c of the colour
// palette; entry 0 stays 0.
using ColourRemap = ColourTranslation;

void BuildShadeTable(const PalettePlanes& bankPalette, int fogRed, int fogGreen, int fogBlue, ShadeTable& table);
ColourRemap BuildColourRemap(const PalettePlanes& bankPalette, const PalettePlanes& colourPalette);
// Computes the tables from the bank palette (the cache's contents; see BlendCache.h).
void BuildBlendTables(const PalettePlanes& bankPalette, BlendTables& tables);

// One channel of a blend: round(from + (to - from) * j / 16), halves to the even neighbour.
constexpr int BlendChannel(int from, int to, int j)
{
    const int sixteenths = from * 16 + (to - from) * j; // exact: never negative, at most 4080
    const int whole = sixteenths >> 4, rest = sixteenths & 15;
    return whole + (rest > 8 || (rest == 8 && (whole & 1)) ? 1 : 0);
}
