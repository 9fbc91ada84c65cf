// The rasteriser. Each triangle is set up once (light, plane, texture plane, edges); each row
// is filled in spans whose texture coordinates are exact at both ends, every spanStep pixels,
// and interpolated in 8.8 fixed point in between. The pixel loops are specialised for the
// texture plane and for keying and blending, so none of them tests anything per pixel that is
// fixed for the triangle. The results are exactly those of the plain version beside the tests
// (skinner/reference), which they are checked against.
#include "Rasteriser.h"

#include "Arithmetic32.h"
#include "Divisor.h"
#include "Object3D.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Edge slopes: pixels per row x 32768.
constexpr i32 EdgeOne = 32768;
// Span steps and accumulators: 8.8 fixed point held in 16 bits, as the span walk defines them.
using Fixed8 = std::int16_t;

enum class Plane { XY, XZ, YZ };
enum class Ink { Opaque, Keyed, Blend, BlendKeyed };

struct Texel {
    i32 u, v;
};

// What a textured triangle needs for its exact texture coordinates.
struct TexturePlane {
    i32 rx, ry, rz;      // the reduced normal: n div (subdivision x 128)
    i32 plane;           // D = (A . r) x 256
    Divisor q;           // subdivision x the component of r that chose the texture plane
    i32 ax, ay, az;      // corner A
    i64 cbx, cby, cbz;   // C - B
    i64 bax, bay, baz;   // B - A
    i32 mapping;
};

struct Tables {
    const std::uint8_t* shade; // the shade table's row for the triangle's light
    const std::uint8_t* blend; // the blend table of its level
};

// Where the eye ray through (column x, row y) meets the plane, as texture coordinates; false
// when the ray runs parallel to it (which ends the half-triangle).
template <Plane P>
inline bool exactAt(const TexturePlane& t, i32 rowDen, i32 dx, i32 dy, Texel& out)
{
    const i32 den = Wrap(rowDen + i64(dx) * t.rx);
    if (den == 0)
        return false;
    const i32 depth = Div(t.plane, den);
    // Point on the plane: the ray times depth, the ray being x 256.
    const i64 px = Wrap(i64(depth) * dx) >> 8, py = Wrap(i64(depth) * dy) >> 8, pz = depth;
    const i64 pax = Wrap(px - t.ax), pay = Wrap(py - t.ay), paz = Wrap(pz - t.az);
    i32 u, v;
    if constexpr (P == Plane::XY) {
        u = t.q.divide(Wrap(pax * t.cby - pay * t.cbx));
        v = t.q.divide(Wrap(pay * t.bax - pax * t.bay));
    } else if constexpr (P == Plane::XZ) {
        u = t.q.divide(Wrap(paz * t.cbx - pax * t.cbz));
        v = t.q.divide(Wrap(pax * t.baz - paz * t.bax));
    } else {
        u = t.q.divide(Wrap(pay * t.cbz - paz * t.cby));
        v = t.q.divide(Wrap(paz * t.bay - pay * t.baz));
    }
    // Bit 0 of the mapping turns the texture by half a turn, bit 1 mirrors it on its diagonal.
    if (t.mapping & 1) {
        u = Wrap(127 - i64(u));
        v = Wrap(127 - i64(v));
    }
    if (t.mapping & 2)
        std::swap(u, v);
    out = {std::clamp(u, 0, 127), std::clamp(v, 0, 127)};
    return true;
}

// (difference x 256) div count, for a difference of two coordinates in 0..127 and the segment's
// reciprocal ceil(2^32 / count): with |difference x 256| < 2^15 the product overshoots the
// quotient by less than 2^15 / 2^32, far less than the 1 / count that would carry it past a
// whole number, so this is exact truncating division. The sign is taken off and put back.
inline Fixed8 segmentStep(i32 difference, std::uint64_t reciprocal)
{
    const i32 sign = difference >> 31; // 0 or -1
    const auto magnitude = static_cast<std::uint64_t>(((difference ^ sign) - sign) * 256);
    const auto quotient = static_cast<i32>((magnitude * reciprocal) >> 32);
    return static_cast<Fixed8>((quotient ^ sign) - sign);
}

// `count` pixels from `pixel`, texel k read at (u + (k.du >> 8), v + (k.dv >> 8)). Both ends of a
// span lie in 0..127 and |du|, |dv| <= 127 x 256 / count, so the 16-bit accumulators never wrap
// and every read stays inside the 128 x 128 image; "mod 256" of the row keeps the low 8 bits.
template <Ink I>
inline void spanPixels(std::uint8_t* pixel, i32 count, const std::uint8_t* texture, Texel start, Fixed8 du, Fixed8 dv,
                       const Tables& tables)
{
    // Local copies: the pixel stores could otherwise alias the tables' pointers and reload them.
    const std::uint8_t* const shade = tables.shade;
    const std::uint8_t* const blend = tables.blend;
    Fixed8 accU = 0, accV = 0;
    for (i32 k = 0; k < count; ++k) {
        const std::uint8_t texel = texture[((start.v + (accV >> 8)) & 255) * 128 + start.u + (accU >> 8)];
        accU = static_cast<Fixed8>(accU + du);
        accV = static_cast<Fixed8>(accV + dv);
        if constexpr (I == Ink::Keyed || I == Ink::BlendKeyed)
            if (texel == 0)
                continue; // colour 0 is the key: what lies behind shows
        const std::uint8_t shaded = shade[texel];
        if constexpr (I == Ink::Opaque || I == Ink::Keyed)
            pixel[k] = shaded;
        else
            pixel[k] = blend[shaded * 256 + pixel[k]];
    }
}

// The screen points, top first, with the long edge (P1 to P3) and the rows of the two halves.
struct Edges {
    i32 px[3], py[3];
    i32 longSlope;
};

// The columns of row y between the long edge and the short one, widened and clamped; false when
// the row lies wholly outside the view. `longAcc` and `shortAcc` hold (y - start y) x slope.
struct Row {
    i32 left, right;
};

// Rows top..bottom - 1: the part of the screen one thread draws.
struct Band {
    i32 top, bottom;
};

inline bool rowSpan(const RenderContext& c, i32 blendLevel, i32 longAcc, i32 p1x, i32 shortAcc, i32 p2x, Row& row)
{
    const i32 xs = Wrap(i64(shortAcc / EdgeOne) + p2x);
    const i32 xl = Wrap(i64(longAcc / EdgeOne) + p1x);
    i32 left = std::min(xs, xl), right = std::max(xs, xl);
    // Spans that let less than half of the background through are one column wider.
    if (blendLevel <= 8)
        right = Wrap(i64(right) + 1);
    if (left > c.maxX || right < 0)
        return false;
    row = {std::max(left, 0), std::min<i32>(right, c.maxX)};
    return true;
}

std::uint8_t* screenRow(RenderContext& c, i32 y)
{
    // The screen is stored bottom-up.
    return c.screen.pixels.data() + static_cast<std::size_t>(c.maxY - y) * c.screen.width;
}

// Rows from..to - 1 of one half. The edge x of row y is (y - start y) x slope div 32768 + start
// x; the products are kept as running sums, which wrap exactly as the products do. False when
// `fill` abandoned the half.
template <typename RowFill>
bool walkRows(const RenderContext& c, i32 blendLevel, const Edges& e, i32 from, i32 to, i32 shortSlope, RowFill fill)
{
    i32 longAcc = Wrap((i64(from) - e.py[0]) * e.longSlope);
    i32 shortAcc = Wrap((i64(from) - e.py[1]) * shortSlope);
    for (i32 y = from; y < to; ++y) {
        Row row;
        if (rowSpan(c, blendLevel, longAcc, e.px[0], shortAcc, e.px[1], row) && !fill(y, row))
            return false;
        longAcc = Wrap(i64(longAcc) + e.longSlope);
        shortAcc = Wrap(i64(shortAcc) + shortSlope);
    }
    return true;
}

// The rows of both halves that lie in the band. A half that a band enters below its first row
// is drawn only if `rowsKept` (first, from, slope) says that none of the rows above the band
// abandoned it, as drawing it whole would have.
template <typename RowFill, typename RowsKept>
void walkTriangle(const RenderContext& c, i32 blendLevel, const Edges& e, Band band, RowFill fill, RowsKept rowsKept)
{
    auto half = [&](i32 first, i32 last, i32 slope) {
        const i32 from = std::max(first, band.top), to = std::min(last, band.bottom);
        if (from >= to)
            return;
        if (from > first && !rowsKept(first, from, slope))
            return;
        walkRows(c, blendLevel, e, from, to, slope, fill);
    };
    const i32 maxY = c.maxY;
    if (e.py[1] != e.py[0] && e.py[1] >= 0) {
        const i32 slope = Div(Wrap((i64(e.px[0]) - e.px[1]) * EdgeOne), Wrap(i64(e.py[0]) - e.py[1]));
        half(std::max(e.py[0], 0), std::min(e.py[1], maxY), slope);
    }
    if (e.py[2] != e.py[1] && e.py[1] <= maxY) {
        const i32 slope = Div(Wrap((i64(e.px[2]) - e.px[1]) * EdgeOne), Wrap(i64(e.py[2]) - e.py[1]));
        half(std::max(e.py[1], 0), std::min(e.py[2], maxY), slope);
    }
}

void drawFlat(RenderContext& c, const RenderTriangle& t, const Edges& e, Band band, const Tables& tables,
              std::uint8_t colour)
{
    const std::uint8_t shaded = tables.shade[colour];
    const i32 level = t.blendLevel;
    // Flat rows never abandon their half.
    auto everyRowKept = [](i32, i32, i32) { return true; };
    walkTriangle(c, level, e, band, [&](i32 y, const Row& row) {
        std::uint8_t* pixel = screenRow(c, y);
        if (level == 0) {
            // Opaque flat rows stop one column short of `right`.
            std::fill(pixel + row.left, pixel + std::max(row.right, row.left), shaded);
        } else {
            const std::uint8_t* blend = tables.blend + shaded * 256;
            for (i32 x = row.left; x <= row.right; ++x)
                pixel[x] = blend[pixel[x]];
        }
        return true;
    }, everyRowKept);
}

// Whether an eye ray through rows from..to - 1 might run parallel to the plane. The denominator
// rz x 256 + dy x ry + dx x rx is linear in the ray (dx, dy); over the whole width of those rows
// it stays between its values at the corners. When that range, reckoned without wrapping, keeps
// one sign within 32 bits, no ray is parallel.
bool raysMayRunParallel(const RenderContext& c, const TexturePlane& p, i32 from, i32 to)
{
    const i64 dyHigh = c.rayY[static_cast<std::size_t>(from)], dyLow = c.rayY[static_cast<std::size_t>(to) - 1];
    const i64 dxLow = c.rayX.front(), dxHigh = c.rayX.back();
    const i64 base = i64(p.rz) * 256;
    const i64 low = base + std::min(dyLow * p.ry, dyHigh * p.ry) + std::min(dxLow * p.rx, dxHigh * p.rx);
    const i64 high = base + std::max(dyLow * p.ry, dyHigh * p.ry) + std::max(dxLow * p.rx, dxHigh * p.rx);
    return !((low > 0 && high <= INT32_MAX) || (high < 0 && low >= INT32_MIN));
}

// Whether every exact evaluation of the row's span finds its ray crossing the plane: at `left`,
// every spanStep pixels after it, and at `right`, as the span walk evaluates them.
bool rowRaysCrossPlane(const RenderContext& c, const TexturePlane& p, i32 y, const Row& row)
{
    const i32 rowDen = Wrap(i64(p.rz) * 256 + i64(c.rayY[static_cast<std::size_t>(y)]) * p.ry);
    auto crosses = [&](i32 x) { return Wrap(rowDen + i64(c.rayX[static_cast<std::size_t>(x)]) * p.rx) != 0; };
    if (!crosses(row.left) || !crosses(row.right))
        return false;
    for (i32 x = row.left + c.spanStep; x < row.right; x += c.spanStep)
        if (!crosses(x))
            return false;
    return true;
}

template <Plane P, Ink I>
void drawTextured(RenderContext& c, const RenderTriangle& t, const Edges& e, Band band, const TexturePlane& plane,
                  const Tables& tables, const std::uint8_t* texture)
{
    const i32 step = c.spanStep;
    const i32* rayX = c.rayX.data();
    // A ray parallel to the plane in a row above the band would have ended the half there.
    auto rowsKept = [&](i32 first, i32 from, i32 slope) {
        return !raysMayRunParallel(c, plane, first, from) ||
               walkRows(c, t.blendLevel, e, first, from, slope,
                        [&](i32 y, const Row& row) { return rowRaysCrossPlane(c, plane, y, row); });
    };
    walkTriangle(c, t.blendLevel, e, band, [&](i32 y, const Row& row) {
        const i32 dy = c.rayY[y];
        const i32 rowDen = Wrap(i64(plane.rz) * 256 + i64(dy) * plane.ry);
        std::uint8_t* pixel = screenRow(c, y) + row.left;
        const i32 right = row.right;
        i32 x0 = row.left;
        Texel start;
        if (!exactAt<P>(plane, rowDen, rayX[x0], dy, start))
            return false;
        // Segments of spanStep pixels; the last one ends at `right`. A single-column span still
        // draws its one pixel.
        for (bool lastSegment = false; !lastSegment;) {
            i32 x1 = x0 + step;
            if (x1 >= right) {
                x1 = right;
                lastSegment = true;
                if (x0 > x1)
                    x0 = x1 - 1;
            }
            if (x0 == x1)
                x0 = x0 - 1;
            Texel end;
            if (!exactAt<P>(plane, rowDen, rayX[x1], dy, end))
                return false;
            const i32 count = x1 - x0;
            const std::uint64_t reciprocal = c.segmentReciprocal[count];
            const Fixed8 du = segmentStep(end.u - start.u, reciprocal);
            const Fixed8 dv = segmentStep(end.v - start.v, reciprocal);
            spanPixels<I>(pixel, count, texture, start, du, dv, tables);
            pixel += count;
            start = end;
            x0 = x1;
        }
        return true;
    }, rowsKept);
}

template <Plane P>
void drawTexturedInk(RenderContext& c, const RenderTriangle& t, const Edges& e, Band band, const TexturePlane& plane,
                     const Tables& tables, const std::uint8_t* texture)
{
    const bool keyed = t.faceType == FaceTexturedKeyed;
    if (t.blendLevel == 0) {
        if (keyed)
            drawTextured<P, Ink::Keyed>(c, t, e, band, plane, tables, texture);
        else
            drawTextured<P, Ink::Opaque>(c, t, e, band, plane, tables, texture);
    } else {
        if (keyed)
            drawTextured<P, Ink::BlendKeyed>(c, t, e, band, plane, tables, texture);
        else
            drawTextured<P, Ink::Blend>(c, t, e, band, plane, tables, texture);
    }
}

std::array<std::int32_t, 7> viewOf(const RenderContext& c)
{
    return {c.centreX, c.centreY, c.focalX, c.focalY, c.spanStep, c.maxX, c.maxY};
}

} // namespace

void PrepareRasteriser(RenderContext& c)
{
    c.tablesMadeFor = viewOf(c);
    c.rayX.resize(static_cast<std::size_t>(c.maxX) + 1);
    c.rayY.resize(static_cast<std::size_t>(c.maxY) + 1);
    for (std::size_t x = 0; x < c.rayX.size(); ++x)
        c.rayX[x] = Div(Wrap((i64(x) - c.centreX) * 256), c.focalX);
    for (std::size_t y = 0; y < c.rayY.size(); ++y)
        c.rayY[y] = Div(Wrap((i64(c.centreY) - i64(y)) * 256), c.focalY);
    // Segments are 1 to spanStep pixels long.
    c.segmentReciprocal.resize(static_cast<std::size_t>(c.spanStep) + 1);
    for (std::size_t n = 1; n < c.segmentReciprocal.size(); ++n)
        c.segmentReciprocal[n] = ((std::uint64_t(1) << 32) + n - 1) / n;
}

std::int32_t TriangleSubdivision(const RenderTriangle& t)
{
    const i32 abx = Wrap(i64(t.x1) - t.x2), aby = Wrap(i64(t.y1) - t.y2), abz = Wrap(i64(t.z1) - t.z2);
    const i32 acx = Wrap(i64(t.x1) - t.x3), acy = Wrap(i64(t.y1) - t.y3), acz = Wrap(i64(t.z1) - t.z3);
    const i32 size2 = Wrap(i64(Dot3(abx, abx, aby, aby, abz, abz)) + Dot3(acx, acx, acy, acy, acz, acz));
    return std::min(Div(size2, 70000) + 1, 10);
}

void EnsureRasteriserTables(RenderContext& c)
{
    if (c.tablesMadeFor != viewOf(c))
        PrepareRasteriser(c);
}

void DrawTriangle(RenderContext& c, int triangleIndex, const std::uint8_t* texture)
{
    EnsureRasteriserTables(c);
    const RenderTriangle& t = c.triangles[triangleIndex];
    c.subdivision = TriangleSubdivision(t);
    DrawTriangleRows(c, t, texture, 0, c.maxY);
}

void DrawTriangleRows(RenderContext& c, const RenderTriangle& t, const std::uint8_t* texture, std::int32_t top,
                      std::int32_t bottom)
{
    const bool flat = t.faceType == FacePlain;
    if ((!flat && texture == nullptr) || t.blendLevel < 0 || t.blendLevel > 16)
        return;

    // Screen points top first, by the same three exchanges as the clipping, each only when the
    // later point is strictly higher.
    Edges e{{t.sx1, t.sx2, t.sx3}, {t.sy1, t.sy2, t.sy3}, 0};
    auto order = [&](int a, int b) {
        if (e.py[b] < e.py[a]) {
            std::swap(e.px[a], e.px[b]);
            std::swap(e.py[a], e.py[b]);
        }
    };
    order(0, 1);
    order(0, 2);
    order(1, 2);
    const Band band{std::max<i32>(top, 0), std::min<i32>(bottom, c.maxY)};
    const i32 maxX = c.maxX, maxY = c.maxY;
    if ((e.px[0] < 0 && e.px[1] < 0 && e.px[2] < 0) || (e.px[0] > maxX && e.px[1] > maxX && e.px[2] > maxX) ||
        e.py[0] > maxY || e.py[2] < 0 || e.py[0] == e.py[2] || e.py[0] >= band.bottom || e.py[2] <= band.top)
        return;

    // The subdivision reduces the normal so that the plane arithmetic stays within 32 bits.
    const i32 subdivision = TriangleSubdivision(t);
    if (subdivision == 0)
        return;
    e.longSlope = Div(Wrap((i64(e.px[2]) - e.px[0]) * EdgeOne), Wrap(i64(e.py[2]) - e.py[0]));

    const i32 light = std::clamp<i32>(Div(Wrap(i64(t.light1) + t.light2 + t.light3), 3), 0, 255);
    const Tables tables{c.bank.shadeTable->entries.data() + light * 256,
                        c.bank.blendTables->entries.data() + t.blendLevel * BlendTables::LevelSize};
    if (flat) {
        drawFlat(c, t, e, band, tables, c.bank.colourRemap[t.texture & 255]);
        return;
    }

    const i64 e1x = Wrap(i64(t.x2) - t.x1), e1y = Wrap(i64(t.y2) - t.y1), e1z = Wrap(i64(t.z2) - t.z1); // B - A
    const i64 e2x = Wrap(i64(t.x3) - t.x2), e2y = Wrap(i64(t.y3) - t.y2), e2z = Wrap(i64(t.z3) - t.z2);
    const i32 reduce = subdivision * 128;
    TexturePlane p{};
    p.rx = Div(Wrap(e1y * e2z - e1z * e2y), reduce);
    p.ry = Div(Wrap(e1z * e2x - e1x * e2z), reduce);
    p.rz = Div(Wrap(e1x * e2y - e1y * e2x), reduce);
    p.plane = Wrap(i64(Dot3(t.x1, p.rx, t.y1, p.ry, t.z1, p.rz)) * 256);
    p.ax = t.x1, p.ay = t.y1, p.az = t.z1;
    p.cbx = e2x, p.cby = e2y, p.cbz = e2z;
    p.bax = e1x, p.bay = e1y, p.baz = e1z;
    p.mapping = t.mapping;

    // The texture plane is the one the normal stands most nearly upright on.
    const i64 nx = Abs64(p.rx), ny = Abs64(p.ry), nz = Abs64(p.rz);
    if (nz >= nx && nz >= ny) {
        p.q = Divisor(Wrap(i64(subdivision) * p.rz));
        drawTexturedInk<Plane::XY>(c, t, e, band, p, tables, texture);
    } else if (ny > nx && ny > nz) {
        p.q = Divisor(Wrap(i64(subdivision) * p.ry));
        drawTexturedInk<Plane::XZ>(c, t, e, band, p, tables, texture);
    } else {
        p.q = Divisor(Wrap(i64(subdivision) * p.rx));
        drawTexturedInk<Plane::YZ>(c, t, e, band, p, tables, texture);
    }
}
