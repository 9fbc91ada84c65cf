// Draws the demo installation's texture bank: 128 x 128 PCX images sharing one palette, a
// flat-colour palette image, and the bank file naming them.
//     MakeDemoBank FOLDER    writes FOLDER/TEXTURES/*.PCX and FOLDER/DEMO.DEF
#include "BankFile.h"
#include "DemoPalettes.h"
#include "DemoTextures.h"
#include "ImageWriters.h"
#include "NearestColourSearch.h"
#include "SafeWrite.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// The bank palette: colour 0 (black) is the see-through key; then 16 ramps of 16 shades from
// near black through the ramp's colour to its highlight, so that every colour can be lit and
// darkened by the shade table.
PalettePlanes bankPalette()
{
    struct Ramp {
        Rgb base, highlight;
    };
    const Ramp ramps[16] = {
        {{128, 128, 128}, {255, 255, 255}}, // grey
        {{140, 125, 105}, {232, 222, 204}}, // stone
        {{165, 60, 40}, {240, 172, 142}},   // brick
        {{196, 104, 34}, {255, 214, 126}},  // rust and fire
        {{130, 80, 40}, {222, 172, 112}},   // wood
        {{200, 170, 90}, {255, 246, 192}},  // sand
        {{110, 120, 50}, {212, 222, 142}},  // moss
        {{60, 140, 40}, {172, 242, 122}},   // grass
        {{30, 130, 120}, {142, 242, 222}},  // teal
        {{30, 90, 170}, {152, 212, 255}},   // water
        {{90, 150, 220}, {232, 246, 255}},  // sky
        {{40, 50, 140}, {152, 162, 242}},   // deep blue
        {{110, 50, 150}, {212, 162, 242}},  // purple
        {{180, 60, 120}, {255, 182, 222}},  // pink
        {{210, 150, 120}, {255, 226, 206}}, // skin
        {{90, 105, 125}, {212, 226, 242}},  // steel
    };
    PalettePlanes palette;
    for (int ramp = 0; ramp < 16; ++ramp) {
        for (int shade = 0; shade < 16; ++shade) {
            const float t = shade / 15.0f;
            const Rgb colour = t < 0.65f ? ramps[ramp].base * (0.1f + 0.9f * t / 0.65f)
                                         : Mix(ramps[ramp].base, ramps[ramp].highlight, (t - 0.65f) / 0.35f);
            const int i = ramp * 16 + shade;
            palette.red[i] = static_cast<std::uint8_t>(colour.r + 0.5f);
            palette.green[i] = static_cast<std::uint8_t>(colour.g + 0.5f);
            palette.blue[i] = static_cast<std::uint8_t>(colour.b + 0.5f);
        }
    }
    palette.red[0] = palette.green[0] = palette.blue[0] = 0;
    return palette;
}

// Onto the bank palette's colours 1..254 with a light ordered dither, which keeps gradients smooth.
std::vector<std::uint8_t> quantise(const Canvas& canvas, NearestColourSearch& search, const std::vector<bool>& hole = {})
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<std::uint8_t> pixels(Side * Side);
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const Rgb c = canvas.pixels[y * Side + x];
            const float d = (bayer[y % 4][x % 4] - 7.5f) * 0.8f;
            auto channel = [d](float v) { return static_cast<int>(Clamp01((v + d) / 255) * 255 + 0.5f); };
            pixels[y * Side + x] = !hole.empty() && hole[y * Side + x] ? 0 : search.find(channel(c.r), channel(c.g), channel(c.b));
        }
    }
    return pixels;
}

// A 16 x 16 grid of 8 x 8 cells, cell i in colour i.
std::vector<std::uint8_t> swatches()
{
    std::vector<std::uint8_t> pixels(Side * Side);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            pixels[y * Side + x] = static_cast<std::uint8_t>((y / 8) * 16 + x / 8);
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDemoBank FOLDER\n");
        return 2;
    }
    try {
        const fs::path folder = argv[1];
        fs::create_directories(folder / "TEXTURES");
        const PalettePlanes palette = bankPalette();
        NearestColourSearch search(palette, 1, 254);
        std::vector<BankImageEntry> images;
        auto save = [&](const std::string& name, const std::vector<std::uint8_t>& pixels, const PalettePlanes& own) {
            WriteFileAtomically(folder / "TEXTURES" / (name + ".PCX"), EncodePcx(Side, Side, pixels, own));
            images.push_back({static_cast<std::int32_t>(images.size()), "TEXTURES\\" + name + ".PCX"});
        };

        // Slot 0 gives the bank its palette, slot 1 the flat face colours.
        save("PALETTE", swatches(), palette);
        save("COLOURS", swatches(), DemoFlatColourPalette());

        std::vector<BankTextureEntry> textures;
        auto still = [&](const std::string& name, const Canvas& canvas, const std::vector<bool>& hole = {}) {
            textures.push_back({static_cast<std::int32_t>(textures.size()), static_cast<std::int32_t>(images.size()),
                                static_cast<std::int32_t>(images.size())});
            save(name, quantise(canvas, search, hole), palette);
        };
        still("BRICKS", DrawBricks());
        still("WOOD", DrawWood());
        still("STONE", DrawStone());
        still("METAL", DrawMetal());
        still("GRASS", DrawGrass());
        still("SKY", DrawSky());
        still("SAND", DrawSand());
        still("TILES", DrawTiles());
        still("MARBLE", DrawMarble());
        still("ROOF", DrawRoof());
        still("LAVA", DrawLava());
        still("CRATE", DrawCrate());
        still("RUST", DrawRust());
        std::vector<bool> hole;
        const Canvas grate = DrawGrate(hole);
        still("GRATE", grate, hole);

        // Animated runs: the water loops through eight frames; the conveyor's four frames play
        // forwards in one texture and backwards (first above last) in another.
        const std::int32_t water = static_cast<std::int32_t>(images.size());
        for (int frame = 0; frame < 8; ++frame)
            save("WATER" + std::to_string(frame), quantise(DrawWater(frame), search), palette);
        textures.push_back({static_cast<std::int32_t>(textures.size()), water, water + 7});
        const std::int32_t conveyor = static_cast<std::int32_t>(images.size());
        for (int frame = 0; frame < 4; ++frame)
            save("BELT" + std::to_string(frame), quantise(DrawConveyor(frame), search), palette);
        textures.push_back({static_cast<std::int32_t>(textures.size()), conveyor, conveyor + 3});
        textures.push_back({static_cast<std::int32_t>(textures.size()), conveyor + 3, conveyor});

        WriteFileAtomically(folder / "DEMO.DEF", FormatBank(images, textures));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "MakeDemoBank: %s\n", error.what());
        return 1;
    }
    return 0;
}
