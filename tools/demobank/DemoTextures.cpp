#include "DemoTextures.h"

#include <algorithm>

namespace {

constexpr float Pi = 3.14159265f;

Rgb rgb(int r, int g, int b) { return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)}; }

template <typename Paint>
Canvas paint(Paint paintPixel)
{
    Canvas canvas;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            canvas.at(x, y) = paintPixel(static_cast<float>(x), static_cast<float>(y));
    return canvas;
}

// Light from the top left on a bevelled rectangle: edges within `width` pixels of the border
// are lit or shaded, giving the picture relief.
float bevel(float x, float y, float left, float top, float right, float bottom, float width)
{
    const float l = x - left, t = y - top, r = right - x, b = bottom - y;
    const float edge = std::min(std::min(l, t), std::min(r, b));
    if (edge >= width)
        return 1.0f;
    return (edge == l || edge == t) ? 1.25f : 0.7f;
}

} // namespace

Canvas DrawBricks()
{
    return paint([](float x, float y) {
        const int row = static_cast<int>(y) / 16;
        const float shifted = x + (row % 2 ? 16.0f : 0.0f);
        const int column = static_cast<int>(shifted) / 32;
        const float bx = std::fmod(shifted, 32.0f), by = std::fmod(y, 16.0f);
        const float grain = Fbm(x, y, 16, 3, 7);
        if (bx < 2 || by < 2)
            return rgb(170, 165, 150) * (0.75f + 0.4f * grain);
        const float tone = Hash(column % 4, row, 11);
        Rgb brick = Mix(rgb(150, 52, 36), rgb(190, 84, 52), tone);
        brick = brick * (0.8f + 0.45f * grain) * bevel(bx, by, 2, 2, 32, 16, 1.5f);
        return brick;
    });
}

Canvas DrawWood()
{
    return paint([](float x, float y) {
        const int plank = static_cast<int>(x) / 32;
        const float px = std::fmod(x, 32.0f);
        if (px < 1.5f)
            return rgb(45, 25, 12);
        const float wobble = Fbm(x, y, 4, 3, 30 + plank) * 6;
        const float rings = 0.5f + 0.5f * std::sin((px + wobble * 2) * 0.9f + Noise(x, y, 2, 40 + plank) * 4);
        const float fibre = Fbm(x * 4, y * 0.25f, 8, 2, 50);
        Rgb wood = Mix(rgb(110, 62, 28), rgb(186, 122, 66), rings * 0.6f + fibre * 0.4f);
        // Plank ends and nail holes.
        const float endY = std::fmod(y + plank * 40, 128.0f);
        if (endY < 1.5f)
            return rgb(55, 30, 14);
        if ((std::fabs(px - 6) < 1.5f || std::fabs(px - 26) < 1.5f) && std::fabs(endY - 6) < 1.5f)
            return rgb(40, 40, 45);
        return wood * (0.85f + 0.3f * Hash(plank, 0, 61));
    });
}

Canvas DrawStone()
{
    return paint([](float x, float y) {
        const CellDistance c = Cells(x, y, 18, 5);
        const float crack = c.second - c.nearest;
        const float grain = Fbm(x, y, 8, 4, 9);
        Rgb stone = Mix(rgb(112, 104, 92), rgb(168, 158, 140), Hash(c.id, 2, 13));
        stone = stone * (0.75f + 0.5f * grain);
        // Rounded tops: darker towards the joints.
        stone = stone * (0.7f + 0.3f * Smooth(0, 4, crack));
        if (crack < 1.2f)
            return rgb(40, 36, 32);
        return stone;
    });
}

Canvas DrawMetal()
{
    return paint([](float x, float y) {
        const float px = std::fmod(x, 64.0f), py = std::fmod(y, 64.0f);
        const float brushed = Fbm(x * 0.1f, y * 3, 4, 3, 71);
        Rgb steel = Mix(rgb(96, 110, 128), rgb(170, 184, 200), brushed) * bevel(px, py, 0, 0, 64, 64, 2);
        for (float cx : {6.0f, 58.0f})
            for (float cy : {6.0f, 58.0f}) {
                const float d = std::hypot(px - cx, py - cy);
                if (d < 3.2f)
                    return (px - cx + py - cy < 0) ? rgb(215, 225, 235) : rgb(70, 80, 96);
            }
        return steel;
    });
}

Canvas DrawGrass()
{
    return paint([](float x, float y) {
        const float base = Fbm(x, y, 4, 4, 81);
        const float blades = Fbm(x * 2, y * 0.5f, 32, 2, 83);
        Rgb grass = Mix(rgb(38, 92, 28), rgb(110, 178, 62), base * 0.5f + blades * 0.7f);
        const float flower = Hash(static_cast<int>(x) / 2, static_cast<int>(y) / 2, 85);
        if (flower > 0.997f)
            return rgb(240, 220, 90);
        return grass;
    });
}

Canvas DrawSky()
{
    return paint([](float x, float y) {
        const float cloud = Smooth(0.45f, 0.75f, Fbm(x, y, 4, 5, 91));
        const Rgb sky = Mix(rgb(70, 130, 215), rgb(120, 175, 235), Noise(x, y, 2, 93));
        return Mix(sky, rgb(245, 248, 255), cloud);
    });
}

Canvas DrawSand()
{
    return paint([](float x, float y) {
        const float ripple = 0.5f + 0.5f * std::sin((y + Fbm(x, y, 4, 2, 101) * 24) * 2 * Pi / 16);
        const float grain = Hash(static_cast<int>(x), static_cast<int>(y), 103);
        return Mix(rgb(196, 160, 92), rgb(236, 210, 150), ripple * 0.7f + grain * 0.3f);
    });
}

Canvas DrawTiles()
{
    return paint([](float x, float y) {
        const int tx = static_cast<int>(x) / 32, ty = static_cast<int>(y) / 32;
        const float px = std::fmod(x, 32.0f), py = std::fmod(y, 32.0f);
        if (px < 1 || py < 1)
            return rgb(60, 56, 52);
        const bool light = (tx + ty) % 2 == 0;
        const Rgb tile = light ? rgb(226, 214, 192) : rgb(164, 76, 48);
        return tile * (0.9f + 0.15f * Fbm(x, y, 8, 3, 111)) * bevel(px, py, 1, 1, 32, 32, 2);
    });
}

Canvas DrawMarble()
{
    return paint([](float x, float y) {
        const float turbulence = Fbm(x, y, 4, 5, 121);
        const float vein = std::fabs(std::sin((x + y) * 2 * Pi / 128 + turbulence * 9));
        const Rgb base = Mix(rgb(232, 224, 222), rgb(206, 188, 194), Noise(x, y, 4, 123));
        return Mix(rgb(120, 96, 110), base, Smooth(0.0f, 0.25f, vein));
    });
}

Canvas DrawRoof()
{
    return paint([](float x, float y) {
        const int row = static_cast<int>(y) / 16;
        const float shifted = x + (row % 2 ? 8.0f : 0.0f);
        const float px = std::fmod(shifted, 16.0f), py = std::fmod(y, 16.0f);
        // Each shingle is rounded at the bottom: darker towards its lower edge and sides.
        const float round = std::hypot((px - 8) / 8, py / 16);
        const float shade = 1.15f - 0.55f * Smooth(0.55f, 1.0f, round);
        const Rgb tile = Mix(rgb(150, 58, 36), rgb(196, 98, 52), Hash(static_cast<int>(shifted) / 16 % 8, row, 131));
        return tile * shade * (0.85f + 0.25f * Fbm(x, y, 16, 2, 133));
    });
}

Canvas DrawLava()
{
    return paint([](float x, float y) {
        const CellDistance c = Cells(x, y, 14, 141);
        const float crack = c.second - c.nearest;
        const float heat = 1 - Smooth(0, 7, crack);
        const Rgb crust = Mix(rgb(40, 24, 22), rgb(84, 48, 40), Fbm(x, y, 8, 3, 143));
        const Rgb glow = Mix(rgb(220, 70, 20), rgb(255, 220, 90), heat * heat);
        return Mix(crust, glow, heat);
    });
}

Canvas DrawCrate()
{
    return paint([](float x, float y) {
        const float grain = Fbm(x * 0.3f, y * 3, 4, 3, 151);
        Rgb board = Mix(rgb(150, 104, 56), rgb(206, 160, 96), grain);
        // Frame, diagonal brace and the boards' joints.
        const bool frame = x < 12 || x >= 116 || y < 12 || y >= 116;
        const bool brace = std::fabs(x - y) < 9 && !frame;
        if (frame || brace)
            board = Mix(rgb(120, 78, 38), rgb(176, 124, 68), grain) * (frame ? bevel(x, y, 0, 0, 128, 128, 3) : 1.1f);
        if (!frame && !brace && std::fmod(y - 12, 26.0f) < 1.2f)
            return rgb(70, 44, 22);
        if (frame && (std::hypot(std::fmod(x, 116) - 6, std::fmod(y, 116) - 6) < 2.5f))
            return rgb(60, 60, 66);
        return board;
    });
}

Canvas DrawRust()
{
    return paint([](float x, float y) {
        const float rust = Smooth(0.4f, 0.65f, Fbm(x, y, 4, 5, 161));
        const Rgb paint = Mix(rgb(52, 96, 120), rgb(76, 126, 150), Fbm(x, y, 16, 2, 163));
        const Rgb corrosion = Mix(rgb(110, 50, 22), rgb(196, 104, 40), Fbm(x, y, 32, 2, 165));
        const float seam = std::fmod(y, 64.0f) < 2 ? 0.6f : 1.0f;
        return Mix(paint, corrosion, rust) * seam;
    });
}

Canvas DrawGrate(std::vector<bool>& hole)
{
    hole.assign(Side * Side, false);
    Canvas canvas = paint([](float x, float y) {
        const float px = std::fmod(x, 16.0f), py = std::fmod(y, 16.0f);
        return rgb(120, 128, 136) * bevel(px, py, 0, 0, 16, 16, 3) * (0.85f + 0.3f * Fbm(x, y, 8, 2, 171));
    });
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            hole[y * Side + x] = x % 16 >= 4 && y % 16 >= 4;
    return canvas;
}

Canvas DrawWater(int frame)
{
    // Two layers drift one texture width in opposite directions over the eight frames, so the
    // last frame leads back to the first.
    const float shift = frame * (Side / 8.0f);
    return paint([shift, frame](float x, float y) {
        const float a = Fbm(x + shift, y, 4, 3, 181);
        const float b = Fbm(x, y - shift, 4, 3, 183);
        const float wave = 0.5f + 0.5f * std::sin((x + y) * 2 * Pi / 32 + frame * 2 * Pi / 8 + (a - b) * 6);
        const float sparkle = Smooth(0.72f, 0.9f, (a + b) * 0.5f + wave * 0.35f);
        const Rgb deep = Mix(rgb(24, 70, 140), rgb(40, 110, 170), a);
        return Mix(Mix(deep, rgb(70, 150, 200), wave * 0.5f), rgb(200, 235, 250), sparkle);
    });
}

Canvas DrawConveyor(int frame)
{
    const float shift = frame * 8.0f;
    return paint([shift](float x, float y) {
        if (x < 8 || x >= 120)
            return rgb(90, 100, 112) * bevel(x < 8 ? x : x - 120, y, 0, -1, 8, 129, 2);
        // Chevrons pointing up, moving up as the frames advance.
        const float v = std::fmod(y + shift - std::fabs(x - 64) * 0.6f + 64, 32.0f);
        const Rgb belt = rgb(48, 48, 54) * (0.85f + 0.3f * Fbm(x, y, 16, 2, 191));
        return v < 10 ? Mix(rgb(230, 180, 40), rgb(250, 220, 110), v / 10) : belt;
    });
}
