// Setting the rasteriser up: its tables once per view, and each triangle once (edges, light,
// tables, texture plane) into a TriangleSetup that its rows are then filled from (Rasteriser.cpp).
// 32-bit integer arithmetic throughout (Arithmetic32.h).
#include "Rasteriser.h"

#include "Arithmetic32.h"
#include "Object3D.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

std::array<std::int32_t, 7> viewOf(const RenderContext& c)
{
    return {c.centreX, c.centreY, c.focalX, c.focalY, c.spanStep, c.maxX, c.maxY};
}

// The texture plane of a textured triangle.
void setPlane(const RenderTriangle& t, i32 subdivision, TriangleSetup& s)
{
    i32 ax = t.x1, ay = t.y1, az = t.z1, bx = t.x2, by = t.y2, bz = t.z2, cx = t.x3, cy = t.y3, cz = t.z3;
    i64 e1x, e1y, e1z, e2x, e2y, e2z;
    // The subdivision reduces the normal so that the plane arithmetic stays within 32 bits.
    const i32 reduce = subdivision * 128;
    auto reduceNormal = [&] {
        e1x = Wrap(i64(bx) - ax), e1y = Wrap(i64(by) - ay), e1z = Wrap(i64(bz) - az); // B - A
        e2x = Wrap(i64(cx) - bx), e2y = Wrap(i64(cy) - by), e2z = Wrap(i64(cz) - bz); // C - B
        s.rx = Div(Wrap(e1y * e2z - e1z * e2y), reduce);
        s.ry = Div(Wrap(e1z * e2x - e1x * e2z), reduce);
        s.rz = Div(Wrap(e1x * e2y - e1y * e2x), reduce);
    };
    reduceNormal();
    if (s.rx == 0 && s.ry == 0 && s.rz == 0) {
        if (const i32 k = SmallFaceScale(t, subdivision); k > 1) {
            for (i32* corner : {&ax, &ay, &az, &bx, &by, &bz, &cx, &cy, &cz})
                *corner *= k; // within 16384
            reduceNormal();
        }
    }
    s.plane = Wrap(i64(Dot3(ax, s.rx, ay, s.ry, az, s.rz)) * 256);
    s.ax = ax, s.ay = ay, s.az = az;
    // The texture plane is the one the normal stands most nearly upright on; q = subdivision x the
    // normal's component across it. With the plane's two coordinates taken in turn (x, y; z, x;
    // y, z), the texture coordinates of a point P are the cross products (P - A) x (C - B) and
    // (B - A) x (P - A), each divided by q: u = (a cb2 - b cb1) div q, v = (a (-ba2) - b (-ba1))
    // div q, (a, b) being P - A. Wrapped to 32 bits, -ba gives the same products.
    const i32 cb[3] = {Wrap(e2x), Wrap(e2y), Wrap(e2z)}, ba[3] = {Wrap(e1x), Wrap(e1y), Wrap(e1z)};
    int first = 0, second = 1;
    i32 q = 0;
    const i64 nx = Abs64(s.rx), ny = Abs64(s.ry), nz = Abs64(s.rz);
    if (nz >= nx && nz >= ny) {
        s.kind = FillKind::TexturedXY;
        q = Wrap(i64(subdivision) * s.rz);
    } else if (ny > nx && ny > nz) {
        s.kind = FillKind::TexturedXZ;
        first = 2, second = 0;
        q = Wrap(i64(subdivision) * s.ry);
    } else {
        s.kind = FillKind::TexturedYZ;
        first = 1, second = 2;
        q = Wrap(i64(subdivision) * s.rx);
    }
    s.q = Divisor(q);
    s.uA = cb[second], s.uB = cb[first];
    s.vA = Wrap(-i64(ba[second])), s.vB = Wrap(-i64(ba[first]));
    // Bit 1 of the mapping mirrors the texture on its diagonal: u and v change places.
    if (t.mapping & 2) {
        std::swap(s.uA, s.vA);
        std::swap(s.uB, s.vB);
    }
    // The quotient by |q| becomes n div q, then turned by half a turn (127 less it) when bit 0
    // of the mapping says so, as (quotient xor turnXor) + turnAdd: -x = (x xor -1) + 1,
    // 127 - x = (x xor -1) + 128, 127 - (-x) = x + 127. 32-bit wrapping throughout.
    const bool negative = s.q.negative(), halfTurn = (t.mapping & 1) != 0;
    s.turnXor = negative == halfTurn ? 0 : ~0u;
    s.turnAdd = halfTurn ? (negative ? 127 : 128) : (negative ? 1 : 0);
}

} // namespace

void PrepareRasteriser(RenderContext& c)
{
    // Helpers still drawing an earlier frame read the tables.
    if (c.threads)
        c.threads->settle();
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
        c.segmentReciprocal[n] = static_cast<i64>((std::uint64_t(1) << 32) / n + 1);
}

std::int32_t TriangleSubdivision(const RenderTriangle& t)
{
    const i32 abx = Wrap(i64(t.x1) - t.x2), aby = Wrap(i64(t.y1) - t.y2), abz = Wrap(i64(t.z1) - t.z2);
    const i32 acx = Wrap(i64(t.x1) - t.x3), acy = Wrap(i64(t.y1) - t.y3), acz = Wrap(i64(t.z1) - t.z3);
    const i32 size2 = Wrap(i64(Dot3(abx, abx, aby, aby, abz, abz)) + Dot3(acx, acx, acy, acy, acz, acz));
    return std::min(Div(size2, 70000) + 1, 10);
}

std::int32_t SmallFaceScale(const RenderTriangle& t, std::int32_t subdivision)
{
    const i64 e1x = Wrap(i64(t.x2) - t.x1), e1y = Wrap(i64(t.y2) - t.y1), e1z = Wrap(i64(t.z2) - t.z1);
    const i64 e2x = Wrap(i64(t.x3) - t.x2), e2y = Wrap(i64(t.y3) - t.y2), e2z = Wrap(i64(t.z3) - t.z2);
    const i64 nx = Wrap(e1y * e2z - e1z * e2y), ny = Wrap(e1z * e2x - e1x * e2z), nz = Wrap(e1x * e2y - e1y * e2x);
    const i64 reduce = i64(subdivision) * 128;
    const i64 largest = std::max({Abs64(Wrap(nx)), Abs64(Wrap(ny)), Abs64(Wrap(nz))});
    if (t.faceType == FacePlain || largest == 0 || largest >= reduce)
        return 1; // nothing to draw with, or a normal that survives
    const i64 reach = std::max({Abs64(t.x1), Abs64(t.y1), Abs64(t.z1), Abs64(t.x2), Abs64(t.y2), Abs64(t.z2),
                                Abs64(t.x3), Abs64(t.y3), Abs64(t.z3)});
    i32 k = 1;
    while (largest * k * k < 64 * reduce && reach * k * 2 <= 16384)
        k *= 2;
    return k;
}

void EnsureRasteriserTables(RenderContext& c)
{
    if (c.tablesMadeFor != viewOf(c))
        PrepareRasteriser(c);
}

bool PrepareTriangle(const RenderContext& c, const RenderTriangle& t, const std::uint8_t* texture, TriangleSetup& s)
{
    const bool flat = t.faceType == FacePlain;
    if ((!flat && texture == nullptr) || t.blendLevel < 0 || t.blendLevel > 16)
        return false;

    // Screen points top first, by the same three exchanges as the clipping, each only when the
    // later point is strictly higher.
    i32* const px = s.px;
    i32* const py = s.py;
    px[0] = t.sx1, px[1] = t.sx2, px[2] = t.sx3;
    py[0] = t.sy1, py[1] = t.sy2, py[2] = t.sy3;
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
        return false;
    const i32 subdivision = TriangleSubdivision(t);
    if (subdivision == 0)
        return false;

    // The two halves: rows from the top point to the middle one and from there to the bottom
    // one, within rows 0 up to, not including, maxY.
    s.longSlope = Div(Wrap((i64(px[2]) - px[0]) * EdgeOne), Wrap(i64(py[2]) - py[0]));
    s.upperFirst = s.upperLast = s.lowerFirst = s.lowerLast = 0;
    s.upperSlope = s.lowerSlope = 0;
    if (py[1] != py[0] && py[1] >= 0) {
        s.upperSlope = Div(Wrap((i64(px[0]) - px[1]) * EdgeOne), Wrap(i64(py[0]) - py[1]));
        s.upperFirst = std::max(py[0], 0);
        s.upperLast = std::min(py[1], maxY);
    }
    if (py[2] != py[1] && py[1] <= maxY) {
        s.lowerSlope = Div(Wrap((i64(px[2]) - px[1]) * EdgeOne), Wrap(i64(py[2]) - py[1]));
        s.lowerFirst = std::max(py[1], 0);
        s.lowerLast = std::min(py[2], maxY);
    }
    s.top = std::max(py[0], 0);
    s.bottom = std::min(py[2], maxY);

    const i32 light = std::clamp<i32>(Div(Wrap(i64(t.light1) + t.light2 + t.light3), 3), 0, 255);
    s.shade = c.bank.shadeTable->entries.data() + light * 256;
    s.blend = c.bank.blendTables->entries.data() + t.blendLevel * BlendTables::LevelSize;
    s.widen = t.blendLevel <= 8 ? 1 : 0;
    s.texture = texture;
    // Only textured faces are keyed: a flat one is opaque or blended.
    const bool keyed = t.faceType == FaceTexturedKeyed;
    s.ink = t.blendLevel == 0 ? (keyed ? Ink::Keyed : Ink::Opaque) : (keyed ? Ink::BlendKeyed : Ink::Blend);
    if (flat) {
        s.kind = FillKind::Flat;
        s.colour = s.shade[c.bank.colourRemap[t.texture & 255]];
        return true;
    }
    setPlane(t, subdivision, s);
    return true;
}
