#include "Palette.h"

std::uint8_t NearestColour(const PalettePlanes& palette, int r, int g, int b, int first, int last)
{
    if (last < first)
        return static_cast<std::uint8_t>(first);
    first = first < 0 ? 0 : first;
    last = last > 255 ? 255 : last;
    int best = first;
    int bestDistance = 0x7fffffff;
    for (int c = first; c <= last; ++c) {
        const int dr = palette.red[c] - r, dg = palette.green[c] - g, db = palette.blue[c] - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance <= bestDistance) { // "<=": the later (higher) colour wins a tie
            bestDistance = distance;
            best = c;
        }
    }
    return static_cast<std::uint8_t>(best);
}

ColourTranslation BuildTranslation(const PalettePlanes& from, const PalettePlanes& onto, int first, int last)
{
    ColourTranslation translation{};
    for (int c = 1; c < 256; ++c)
        translation[c] = NearestColour(onto, from.red[c], from.green[c], from.blue[c], first, last);
    return translation;
}

void Translate(std::span<std::uint8_t> pixels, const ColourTranslation& translation)
{
    for (std::uint8_t& p : pixels)
        p = translation[p];
}
