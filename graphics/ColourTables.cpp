#include "ColourTables.h"

#include "NearestColourSearch.h"

void BuildShadeTable(const PalettePlanes& bankPalette, int fogRed, int fogGreen, int fogBlue, ShadeTable& table)
{
    NearestColourSearch search(bankPalette, 1, 254);
    for (int level = 0; level < 256; ++level) {
        std::uint8_t* row = table.entries.data() + level * 256;
        row[0] = 0;
        for (int c = 1; c < 256; ++c) {
            // Integer division truncates toward zero, also for colours darker than the fog.
            const int r = fogRed + (bankPalette.red[c] - fogRed) * level / 256;
            const int g = fogGreen + (bankPalette.green[c] - fogGreen) * level / 256;
            const int b = fogBlue + (bankPalette.blue[c] - fogBlue) * level / 256;
            row[c] = search.find(r, g, b);
        }
    }
}

ColourRemap BuildColourRemap(const PalettePlanes& bankPalette, const PalettePlanes& colourPalette)
{
    return BuildTranslation(colourPalette, bankPalette, 1, 254);
}

void BuildBlendTables(const PalettePlanes& bankPalette, BlendTables& tables)
{
    // Blending a towards b by j sixteenths lands on the same point as blending b towards a by
    // 16 - j (both are a + (b - a) * j / 16, exact in sixteenths), so levels 9..16 mirror levels
    // 7..0 with a and b exchanged, and level 8 mirrors itself. Level 0 ignores b altogether.
    NearestColourSearch search(bankPalette, 0, 254);
    std::uint8_t* const entries = tables.entries.data();
    std::uint8_t* const level0 = entries;
    std::uint8_t* const level16 = entries + 16 * BlendTables::LevelSize;
    for (int a = 0; a < 256; ++a) {
        const std::uint8_t self = search.find(bankPalette.red[a], bankPalette.green[a], bankPalette.blue[a]);
        for (int b = 0; b < 256; ++b) {
            level0[a * 256 + b] = self;
            level16[b * 256 + a] = self;
        }
    }
    // One level's channel blends at a time: [from * 256 + to].
    std::array<std::uint8_t, 256 * 256> channel;
    for (int j = 1; j <= 8; ++j) {
        for (int from = 0; from < 256; ++from)
            for (int to = 0; to < 256; ++to)
                channel[from * 256 + to] = static_cast<std::uint8_t>(BlendChannel(from, to, j));
        std::uint8_t* const level = entries + j * BlendTables::LevelSize;
        std::uint8_t* const mirror = entries + (16 - j) * BlendTables::LevelSize;
        for (int a = 0; a < 256; ++a) {
            const std::uint8_t* const redRow = channel.data() + bankPalette.red[a] * 256;
            const std::uint8_t* const greenRow = channel.data() + bankPalette.green[a] * 256;
            const std::uint8_t* const blueRow = channel.data() + bankPalette.blue[a] * 256;
            // Level 8 is its own mirror: half of it is enough.
            for (int b = (j == 8 ? a : 0); b < 256; ++b) {
                const std::uint8_t c = search.find(redRow[bankPalette.red[b]], greenRow[bankPalette.green[b]],
                                                   blueRow[bankPalette.blue[b]]);
                level[a * 256 + b] = c;
                mirror[b * 256 + a] = c;
            }
        }
    }
}
