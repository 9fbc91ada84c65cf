// The rasteriser's rows. Each triangle is set up once (RasteriserSetup.cpp); its rows are then
// filled in spans whose texture coordinates are exact at both ends, every spanStep pixels, and
// interpolated in 8.8 fixed point in between. The row loops are specialised for the texture plane
// and the ink, so none of them tests anything per pixel that is fixed for the triangle. The
// results are exactly those of the plain version beside the tests (tests/support/skinner), which
// they are checked against.
#include "Rasteriser.h"

#include "Arithmetic32.h"
#include "RasteriserSpans.h"

#include <algorithm>
#include <cstring>

namespace {

using spans::Fixed8;
using spans::Texel;

// 32-bit wrapping sum and product, as the hardware forms them.
inline i32 AddWrapped(i32 a, i32 b)
{
    return static_cast<i32>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline i32 MulWrapped(i32 a, i32 b)
{
    return static_cast<i32>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

enum class Plane { XY, XZ, YZ };

// What the row loops read of the context, in locals: the pixel stores could otherwise alias the
// context's fields and make the compiler fetch them again after every span.
struct Target {
    std::uint8_t* rowZero; // row y starts at rowZero - y x stride (the screen is stored bottom-up)
    std::ptrdiff_t stride;
    i32 maxX;
    i32 spanStep;
    const i32* rayX;
    const i32* rayY;
    const i64* segmentReciprocal;
};

Target targetOf(const RenderContext& c, std::uint8_t* pixels)
{
    return {pixels + static_cast<std::ptrdiff_t>(c.maxY) * c.screen.width,
            c.screen.width,
            c.maxX,
            c.spanStep,
            c.rayX.data(),
            c.rayY.data(),
            c.segmentReciprocal.data()};
}

// Rows top..bottom - 1: the part of the screen one thread draws.
struct Band {
    i32 top, bottom;
};

// Where the eye ray through (column x, row y) meets the plane, as texture coordinates; false
// when the ray runs parallel to it (which ends the half-triangle). `rowDen` is the row's part of
// the denominator, rz x 256 + dy x ry.
//
// Every step wraps to 32 bits, so it is done in unsigned 32-bit arithmetic, which wraps alike,
// except the division and the arithmetic shifts, which see the wrapped signed values.
template <Plane P>
inline bool exactAt(const TriangleSetup& t, i32 rowDen, i32 dx, i32 dy, Texel& out)
{
    const i32 den = AddWrapped(rowDen, MulWrapped(dx, t.rx));
    if (den == 0)
        return false;
    const i32 depth = Div(t.plane, den);
    // The point on the plane is the ray times depth, the ray being x 256; (a, b) is the point
    // less corner A in the plane's two coordinates.
    auto along = [depth](i32 ray) { return static_cast<std::uint32_t>(MulWrapped(depth, ray) >> 8); };
    std::uint32_t a, b;
    if constexpr (P == Plane::XY) {
        a = along(dx) - std::uint32_t(t.ax);
        b = along(dy) - std::uint32_t(t.ay);
    } else if constexpr (P == Plane::XZ) {
        a = std::uint32_t(depth) - std::uint32_t(t.az);
        b = along(dx) - std::uint32_t(t.ax);
    } else {
        a = along(dy) - std::uint32_t(t.ay);
        b = std::uint32_t(depth) - std::uint32_t(t.az);
    }
    auto coordinate = [&t](std::uint32_t numerator) {
        const auto quotient = static_cast<std::uint32_t>(t.q.divideByMagnitude(static_cast<i32>(numerator)));
        return std::clamp(static_cast<i32>((quotient ^ t.turnXor) + t.turnAdd), 0, 127);
    };
    out = {coordinate(a * t.uA - b * t.uB), coordinate(a * t.vA - b * t.vB)};
    return true;
}

// Rows from..to - 1 of one half, between the long edge (from P1) and the half's short edge
// (from P2). The edge x of row y is (y - start y) x slope div 32768 + start x; the products are
// kept as running sums, which wrap exactly as the products do. Each row's columns are widened,
// clamped to the view and handed to fill(y, row pixels, left, right); rows wholly outside the
// view are passed over. False when `fill` abandoned the half.
template <typename RowFill>
bool walkRows(const Target& target, const TriangleSetup& s, i32 from, i32 to, i32 shortSlope, RowFill fill)
{
    i32 longAcc = Wrap((i64(from) - s.py[0]) * s.longSlope);
    i32 shortAcc = Wrap((i64(from) - s.py[1]) * shortSlope);
    const i32 longX = s.px[0], shortX = s.px[1], widen = s.widen, maxX = target.maxX;
    std::uint8_t* row = target.rowZero - from * target.stride;
    for (i32 y = from; y < to; ++y, row -= target.stride) {
        const i32 xs = Wrap(i64(shortAcc / EdgeOne) + shortX);
        const i32 xl = Wrap(i64(longAcc / EdgeOne) + longX);
        longAcc = AddWrapped(longAcc, s.longSlope);
        shortAcc = AddWrapped(shortAcc, shortSlope);
        // Spans that let less than half of the background through are one column wider.
        const i32 left = std::min(xs, xl), right = AddWrapped(std::max(xs, xl), widen);
        if (left > maxX || right < 0)
            continue;
        if (!fill(y, row, std::max(left, 0), std::min(right, maxX)))
            return false;
    }
    return true;
}

// The rows of both halves that lie in the band. A half that a band enters below its first row
// is drawn only if `rowsKept` (first, from, slope) says that none of the rows above the band
// abandoned it, as drawing it whole would have.
template <typename RowFill, typename RowsKept>
void walkTriangle(const Target& target, const TriangleSetup& s, Band band, RowFill fill, RowsKept rowsKept)
{
    auto half = [&](i32 first, i32 last, i32 slope) {
        const i32 from = std::max(first, band.top), to = std::min(last, band.bottom);
        if (from >= to)
            return;
        if (from > first && !rowsKept(first, from, slope))
            return;
        walkRows(target, s, from, to, slope, fill);
    };
    half(s.upperFirst, s.upperLast, s.upperSlope);
    half(s.lowerFirst, s.lowerLast, s.lowerSlope);
}

void drawFlat(const Target& target, const TriangleSetup& s, Band band)
{
    const std::uint8_t shaded = s.colour;
    // Flat rows never abandon their half.
    auto everyRowKept = [](i32, i32, i32) { return true; };
    if (s.ink == Ink::Opaque) {
        // Opaque flat rows stop one column short of `right`.
        walkTriangle(target, s, band, [&](i32, std::uint8_t* row, i32 left, i32 right) {
            if (right > left)
                std::memset(row + left, shaded, static_cast<std::size_t>(right - left));
            return true;
        }, everyRowKept);
    } else {
        const std::uint8_t* blend = s.blend + shaded * 256;
        walkTriangle(target, s, band, [&](i32, std::uint8_t* row, i32 left, i32 right) {
            for (i32 x = left; x <= right; ++x)
                row[x] = blend[row[x]];
            return true;
        }, everyRowKept);
    }
}

// Whether an eye ray through rows from..to - 1 might run parallel to the plane. The denominator
// rz x 256 + dy x ry + dx x rx is linear in the ray (dx, dy); over the whole width of those rows
// it stays between its values at the corners. When that range, reckoned without wrapping, keeps
// one sign within 32 bits, no ray is parallel.
bool raysMayRunParallel(const Target& target, const TriangleSetup& s, i32 from, i32 to)
{
    const i64 dyHigh = target.rayY[from], dyLow = target.rayY[to - 1];
    const i64 dxLow = target.rayX[0], dxHigh = target.rayX[target.maxX];
    const i64 base = i64(s.rz) * 256;
    const i64 low = base + std::min(dyLow * s.ry, dyHigh * s.ry) + std::min(dxLow * s.rx, dxHigh * s.rx);
    const i64 high = base + std::max(dyLow * s.ry, dyHigh * s.ry) + std::max(dxLow * s.rx, dxHigh * s.rx);
    return !((low > 0 && high <= INT32_MAX) || (high < 0 && low >= INT32_MIN));
}

// Whether every exact evaluation of the row's span finds its ray crossing the plane: at `left`,
// every spanStep pixels after it, and at `right`, as the span walk evaluates them.
bool rowRaysCrossPlane(const Target& target, const TriangleSetup& s, i32 y, i32 left, i32 right)
{
    const i32 rowDen = Wrap(i64(s.rz) * 256 + i64(target.rayY[y]) * s.ry);
    auto crosses = [&](i32 x) { return Wrap(rowDen + i64(target.rayX[x]) * s.rx) != 0; };
    if (!crosses(left) || !crosses(right))
        return false;
    for (i32 x = left + target.spanStep; x < right; x += target.spanStep)
        if (!crosses(x))
            return false;
    return true;
}

template <Plane P, Ink I>
void drawTextured(const Target& target, const TriangleSetup& s, Band band)
{
    // A ray parallel to the plane in a row above the band would have ended the half there.
    auto rowsKept = [&](i32 first, i32 from, i32 slope) {
        return !raysMayRunParallel(target, s, first, from) ||
               walkRows(target, s, first, from, slope, [&](i32 y, std::uint8_t*, i32 left, i32 right) {
                   return rowRaysCrossPlane(target, s, y, left, right);
               });
    };
    const i32 step = target.spanStep;
    const i32* const rayX = target.rayX;
    const std::uint8_t* const texture = s.texture;
    const std::uint8_t* const shade = s.shade;
    const std::uint8_t* const blend = s.blend;
    const i32 rowBase = Wrap(i64(s.rz) * 256);
    walkTriangle(target, s, band, [&](i32 y, std::uint8_t* row, i32 left, i32 right) {
        const i32 dy = target.rayY[y];
        const i32 rowDen = Wrap(rowBase + i64(dy) * s.ry);
        std::uint8_t* pixel = row + left;
        i32 x0 = left;
        Texel start;
        if (!exactAt<P>(s, rowDen, rayX[x0], dy, start))
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
            if (!exactAt<P>(s, rowDen, rayX[x1], dy, end))
                return false;
            const i32 count = x1 - x0;
            const i64 reciprocal = target.segmentReciprocal[count];
            const Fixed8 du = spans::SegmentStep(end.u - start.u, reciprocal);
            const Fixed8 dv = spans::SegmentStep(end.v - start.v, reciprocal);
            spans::SpanPixels<I>(pixel, count, texture, start, du, dv, shade, blend);
            pixel += count;
            start = end;
            x0 = x1;
        }
        return true;
    }, rowsKept);
}

template <Plane P>
void drawTexturedInk(const Target& target, const TriangleSetup& s, Band band)
{
    switch (s.ink) {
    case Ink::Opaque:
        return drawTextured<P, Ink::Opaque>(target, s, band);
    case Ink::Keyed:
        return drawTextured<P, Ink::Keyed>(target, s, band);
    case Ink::Blend:
        return drawTextured<P, Ink::Blend>(target, s, band);
    case Ink::BlendKeyed:
        return drawTextured<P, Ink::BlendKeyed>(target, s, band);
    }
}

} // namespace

void DrawPreparedRows(RenderContext& c, const TriangleSetup& s, std::int32_t top, std::int32_t bottom,
                      std::uint8_t* pixels)
{
    const Band band{std::max(top, s.top), std::min(bottom, s.bottom)};
    if (band.top >= band.bottom)
        return;
    const Target target = targetOf(c, pixels != nullptr ? pixels : c.screen.pixels.data());
    switch (s.kind) {
    case FillKind::Flat:
        return drawFlat(target, s, band);
    case FillKind::TexturedXY:
        return drawTexturedInk<Plane::XY>(target, s, band);
    case FillKind::TexturedXZ:
        return drawTexturedInk<Plane::XZ>(target, s, band);
    case FillKind::TexturedYZ:
        return drawTexturedInk<Plane::YZ>(target, s, band);
    }
}

void DrawTriangle(RenderContext& c, int triangleIndex, const std::uint8_t* texture)
{
    EnsureRasteriserTables(c);
    const RenderTriangle& t = c.triangles[static_cast<std::size_t>(triangleIndex)];
    c.subdivision = TriangleSubdivision(t);
    c.clearedTo = -1;
    DrawTriangleRows(c, t, texture, 0, c.maxY);
}

void DrawTriangleRows(RenderContext& c, const RenderTriangle& t, const std::uint8_t* texture, std::int32_t top,
                      std::int32_t bottom)
{
    TriangleSetup s;
    c.clearedTo = -1;
    if (PrepareTriangle(c, t, texture, s))
        DrawPreparedRows(c, s, top, bottom);
}
