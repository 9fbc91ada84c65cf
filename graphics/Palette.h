#pragma once
// 256-colour palettes as the library holds them: three planes, the 256 red values, then the 256
// green, then the 256 blue (the layout of the bank's palette and its colour tables). Colour 0 is
// the renderer's see-through key: remapping keeps it and never produces it for another colour.
#include <array>
#include <cstdint>
#include <span>

struct PalettePlanes {
    std::array<std::uint8_t, 256> red{};
    std::array<std::uint8_t, 256> green{};
    std::array<std::uint8_t, 256> blue{};

    bool operator==(const PalettePlanes&) const = default;
};
static_assert(sizeof(PalettePlanes) == 768);

// Among colours first..last, the one nearest to (r, g, b) by squared distance; on equal distances
// the highest index wins. When last < first the answer is first.
std::uint8_t NearestColour(const PalettePlanes& palette, int r, int g, int b, int first, int last);

// A colour translation: entry 0 stays 0; entry c (1..255) is the colour of `onto` among
// first..last nearest to colour c of `from`.
using ColourTranslation = std::array<std::uint8_t, 256>;
ColourTranslation BuildTranslation(const PalettePlanes& from, const PalettePlanes& onto, int first, int last);
void Translate(std::span<std::uint8_t> pixels, const ColourTranslation& translation);
