#pragma once
// Small tools for drawing seamless 128 x 128 textures in true colour: tileable noise, cells,
// and a canvas that is quantised onto the demo palette at the end.
#include <cmath>
#include <cstdint>
#include <vector>

constexpr int Side = 128;

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float Smooth(float edge0, float edge1, float v)
{
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

struct Canvas {
    std::vector<Rgb> pixels = std::vector<Rgb>(Side * Side);
    Rgb& at(int x, int y) { return pixels[((y % Side + Side) % Side) * Side + ((x % Side + Side) % Side)]; }
};

// A repeatable pseudo-random value in [0, 1) for integer coordinates and a seed.
inline float Hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xffffff) / 16777216.0f;
}

// Value noise in [0, 1) that repeats every `cells` lattice cells across the texture.
inline float Noise(float x, float y, int cells, std::uint32_t seed)
{
    const float fx = x / Side * cells, fy = y / Side * cells;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - x0, ty = fy - y0;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) { return Hash(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed); };
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Fractal noise in [0, 1): octaves of doubling detail and halving weight.
inline float Fbm(float x, float y, int cells, int octaves, std::uint32_t seed)
{
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise(x, y, cells << o, seed + o * 101) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

// Seamless cells around `count` random points: the distances to the nearest and second nearest
// point (wrapping round the edges) and the nearest point's number.
struct CellDistance {
    float nearest = 1e9f, second = 1e9f;
    int id = 0;
};

inline CellDistance Cells(float x, float y, int count, std::uint32_t seed)
{
    CellDistance d;
    for (int i = 0; i < count; ++i) {
        const float px = Hash(i, 0, seed) * Side, py = Hash(i, 1, seed) * Side;
        float dx = std::fabs(x - px), dy = std::fabs(y - py);
        dx = std::fmin(dx, Side - dx);
        dy = std::fmin(dy, Side - dy);
        const float distance = std::sqrt(dx * dx + dy * dy);
        if (distance < d.nearest) {
            d.second = d.nearest;
            d.nearest = distance;
            d.id = i;
        } else if (distance < d.second) {
            d.second = distance;
        }
    }
    return d;
}
