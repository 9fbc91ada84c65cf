#include "ReferenceRasteriser.h"

#include "Arithmetic32.h"
#include "Rasteriser.h"

#include <algorithm>
#include <utility>

namespace {

enum class Mode { Flat, XY, XZ, YZ };

struct Setup {
    i32 light;
    i32 rx, ry, rz;
    i32 qx, qy, qz;
    i32 plane; // D
    Mode mode;
    i32 colour;
    i32 ax, ay, az, bx, by, bz, cx, cy, cz;
};

struct Texel {
    i32 u, v;
};

// Texture coordinates where the eye ray through column x of row y meets the triangle's plane;
// false when the ray runs parallel to it.
bool exactAt(const RenderContext& c, const Setup& s, const RenderTriangle& t, i32 x, i32 y, Texel& out)
{
    const i32 dx = Div(Wrap((i64(x) - c.centreX) * 256), c.focalX);
    const i32 dy = Div(Wrap((i64(c.centreY) - y) * 256), c.focalY);
    const i32 den = Wrap(i64(s.rz) * 256 + i64(dx) * s.rx + i64(dy) * s.ry);
    if (den == 0)
        return false;
    const i32 depth = Div(s.plane, den);
    const i32 px = Wrap(i64(depth) * dx) >> 8, py = Wrap(i64(depth) * dy) >> 8, pz = depth;
    const i64 pax = Wrap(i64(px) - s.ax), pay = Wrap(i64(py) - s.ay), paz = Wrap(i64(pz) - s.az);
    const i64 cbx = Wrap(i64(s.cx) - s.bx), cby = Wrap(i64(s.cy) - s.by), cbz = Wrap(i64(s.cz) - s.bz);
    const i64 bax = Wrap(i64(s.bx) - s.ax), bay = Wrap(i64(s.by) - s.ay), baz = Wrap(i64(s.bz) - s.az);
    i32 u = 0, v = 0;
    switch (s.mode) {
    case Mode::XY:
        u = Div(Wrap(pax * cby - pay * cbx), s.qz);
        v = Div(Wrap(pay * bax - pax * bay), s.qz);
        break;
    case Mode::XZ:
        u = Div(Wrap(paz * cbx - pax * cbz), s.qy);
        v = Div(Wrap(pax * baz - paz * bax), s.qy);
        break;
    case Mode::YZ:
        u = Div(Wrap(pay * cbz - paz * cby), s.qx);
        v = Div(Wrap(paz * bay - pay * baz), s.qx);
        break;
    case Mode::Flat:
        break;
    }
    if (t.mapping & 1) {
        u = Wrap(127 - i64(u));
        v = Wrap(127 - i64(v));
    }
    if (t.mapping & 2)
        std::swap(u, v);
    out = {std::clamp(u, 0, 127), std::clamp(v, 0, 127)};
    return true;
}

void plot(RenderContext& c, const Setup& s, const RenderTriangle& t, std::uint8_t* pixel, std::uint8_t colour)
{
    const std::uint8_t shaded = c.bank.shadeTable->entries[s.light * 256 + colour];
    if (t.blendLevel == 0)
        *pixel = shaded;
    else
        *pixel = c.bank.blendTables->entries[t.blendLevel * 65536 + shaded * 256 + *pixel];
}

// One half of the triangle: rows first..last - 1 between the long edge (from p1) and a short one
// (from p2). False when a ray parallel to the plane abandoned it.
void drawHalf(RenderContext& c, const Setup& s, const RenderTriangle& t, const std::uint8_t* texture, i32 first,
              i32 last, i32 p1x, i32 p1y, i32 longSlope, i32 p2x, i32 p2y, i32 shortSlope)
{
    for (i32 y = first; y < last; ++y) {
        const i32 xs = Wrap(i64(Div(Wrap((i64(y) - p2y) * shortSlope), 32768)) + p2x);
        const i32 xl = Wrap(i64(Div(Wrap((i64(y) - p1y) * longSlope), 32768)) + p1x);
        i32 left = std::min(xs, xl), right = std::max(xs, xl);
        if (t.blendLevel <= 8)
            right = Wrap(i64(right) + 1);
        if (left > c.maxX || right < 0)
            continue;
        left = std::max(left, 0);
        right = std::min<i32>(right, c.maxX);
        std::uint8_t* row = c.screen.pixels.data() + static_cast<std::size_t>(c.maxY - y) * c.screen.width;

        if (s.mode == Mode::Flat) {
            const i32 end = t.blendLevel == 0 ? right - 1 : right;
            for (i32 x = left; x <= end; ++x)
                plot(c, s, t, row + x, static_cast<std::uint8_t>(s.colour));
            continue;
        }

        Texel start;
        if (!exactAt(c, s, t, left, y, start))
            return;
        i32 x0 = left, column = left;
        bool lastSegment = false;
        while (!lastSegment) {
            i32 x1 = x0 + c.spanStep;
            if (x1 >= right) {
                x1 = right;
                lastSegment = true;
                if (x0 > x1)
                    x0 = x1 - 1;
            }
            if (x0 == x1)
                x0 = x0 - 1;
            Texel end;
            if (!exactAt(c, s, t, x1, y, end))
                return;
            const i32 len = x1 - x0;
            const i32 du = (end.u - start.u) * 256 / len, dv = (end.v - start.v) * 256 / len;
            std::int16_t accU = 0, accV = 0;
            for (i32 k = 0; k < len; ++k) {
                const std::uint8_t texel = texture[((start.v + (accV >> 8)) & 255) * 128 + start.u + (accU >> 8)];
                if (!(t.faceType == 1 && texel == 0))
                    plot(c, s, t, row + column + k, texel);
                accU = static_cast<std::int16_t>(accU + du);
                accV = static_cast<std::int16_t>(accV + dv);
            }
            column += len;
            start = end;
            x0 = x1;
        }
    }
}

} // namespace

void ReferenceDrawTriangle(RenderContext& c, int triangleIndex, const std::uint8_t* texture)
{
    const RenderTriangle& t = c.triangles[triangleIndex];
    Setup s{};
    s.light = std::clamp<i32>(Div(Wrap(i64(t.light1) + t.light2 + t.light3), 3), 0, 255);
    s.ax = t.x1, s.ay = t.y1, s.az = t.z1, s.bx = t.x2, s.by = t.y2, s.bz = t.z2, s.cx = t.x3, s.cy = t.y3, s.cz = t.z3;

    const i32 abx = Wrap(i64(s.ax) - s.bx), aby = Wrap(i64(s.ay) - s.by), abz = Wrap(i64(s.az) - s.bz);
    const i32 acx = Wrap(i64(s.ax) - s.cx), acy = Wrap(i64(s.ay) - s.cy), acz = Wrap(i64(s.az) - s.cz);
    const i32 size2 = Wrap(i64(Dot3(abx, abx, aby, aby, abz, abz)) + Dot3(acx, acx, acy, acy, acz, acz));
    const i32 subdivision = std::min(Div(size2, 70000) + 1, 10);
    c.subdivision = subdivision;
    if (subdivision == 0)
        return;
    const i32 k = SmallFaceScale(t, subdivision);
    for (i32* corner : {&s.ax, &s.ay, &s.az, &s.bx, &s.by, &s.bz, &s.cx, &s.cy, &s.cz})
        *corner *= k;

    const i64 e1x = Wrap(i64(s.bx) - s.ax), e1y = Wrap(i64(s.by) - s.ay), e1z = Wrap(i64(s.bz) - s.az);
    const i64 e2x = Wrap(i64(s.cx) - s.bx), e2y = Wrap(i64(s.cy) - s.by), e2z = Wrap(i64(s.cz) - s.bz);
    const i32 reduce = Wrap(i64(subdivision) * 128);
    s.rx = Div(Wrap(e1y * e2z - e1z * e2y), reduce);
    s.ry = Div(Wrap(e1z * e2x - e1x * e2z), reduce);
    s.rz = Div(Wrap(e1x * e2y - e1y * e2x), reduce);
    s.plane = Wrap(i64(Dot3(s.ax, s.rx, s.ay, s.ry, s.az, s.rz)) * 256);
    s.qx = Wrap(i64(subdivision) * s.rx);
    s.qy = Wrap(i64(subdivision) * s.ry);
    s.qz = Wrap(i64(subdivision) * s.rz);

    const i64 ax = Abs64(s.rx), ay = Abs64(s.ry), az = Abs64(s.rz);
    if (t.faceType == 3) {
        s.mode = Mode::Flat;
        s.colour = c.bank.colourRemap[t.texture & 255];
    } else if (az >= ax && az >= ay) {
        s.mode = Mode::XY;
    } else if (ay > ax && ay > az) {
        s.mode = Mode::XZ;
    } else {
        s.mode = Mode::YZ;
    }
    if (s.mode != Mode::Flat && texture == nullptr)
        return;

    // Screen points top first, by the same three exchanges as the clipping.
    i32 px[3] = {t.sx1, t.sx2, t.sx3}, py[3] = {t.sy1, t.sy2, t.sy3};
    auto order = [&](int a, int b) {
        if (py[b] < py[a]) {
            std::swap(px[a], px[b]);
            std::swap(py[a], py[b]);
        }
    };
    order(0, 1);
    order(0, 2);
    order(1, 2);
    const i32 maxX = c.maxX, maxY = c.maxY;
    if ((px[0] < 0 && px[1] < 0 && px[2] < 0) || (px[0] > maxX && px[1] > maxX && px[2] > maxX) || py[0] > maxY ||
        py[2] < 0 || py[0] == py[2])
        return;

    const i32 longSlope = Div(Wrap((i64(px[2]) - px[0]) * 32768), Wrap(i64(py[2]) - py[0]));
    if (py[1] != py[0] && py[1] >= 0) {
        const i32 shortSlope = Div(Wrap((i64(px[0]) - px[1]) * 32768), Wrap(i64(py[0]) - py[1]));
        drawHalf(c, s, t, texture, std::max(py[0], 0), std::min(py[1], maxY), px[0], py[0], longSlope, px[1], py[1],
                 shortSlope);
    }
    if (py[2] != py[1] && py[1] <= maxY) {
        const i32 shortSlope = Div(Wrap((i64(px[2]) - px[1]) * 32768), Wrap(i64(py[2]) - py[1]));
        drawHalf(c, s, t, texture, std::max(py[1], 0), std::min(py[2], maxY), px[0], py[0], longSlope, px[1], py[1],
                 shortSlope);
    }
}
