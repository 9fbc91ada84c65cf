// The geometry stage's work on an object's points and faces: points into eye space, back faces
// dropped, faces clipped at the near distance and projected (virtual faces: VirtualFaces.h).
// Everything after the rotations is 32-bit integer arithmetic (Arithmetic32.h).
#include "ObjectTriangles.h"

#include "Angles.h"
#include "Arithmetic32.h"
#include "RenderHelpers.h"
#include "Renderer.h"
#include "VirtualFaces.h"

#include <algorithm>
#include <utility>

namespace {

// Clipping slopes are fixed point with this factor.
constexpr i32 SlopeOne = 64;

struct EyePoint {
    i32 x, y, z;
};

struct ScreenPoint {
    i32 x, y;
};

// Where the face loop puts the triangles it makes: the frame's list, or a piece's room.
// `next` is the entry after the kept ones, made room for (the face's fields are built in it);
// `keep` counts it.
class ListSink {
public:
    explicit ListSink(RenderContext& context) : context_(context) {}
    RenderTriangle& next()
    {
        if (context_.triangleCount < 0)
            context_.triangleCount = 0;
        const std::size_t at = static_cast<std::size_t>(context_.triangleCount);
        if (at >= context_.triangles.size()) {
            // More than the view's capacity: the list grows rather than overflows. Helpers still
            // drawing an earlier frame read the draw list.
            SettleRenderThreads(context_);
            GrowTriangleList(context_);
        }
        return context_.triangles[at];
    }
    RenderTriangle& at(i32 index) { return context_.triangles[static_cast<std::size_t>(index)]; }
    i32 count() const { return context_.triangleCount; }
    void keep() { ++context_.triangleCount; }

private:
    RenderContext& context_;
};

// A piece's room: two entries a face, enough for any face (a virtual face or a face cut at the
// near distance makes two triangles).
class PieceSink {
public:
    explicit PieceSink(RenderTriangle* room) : room_(room) {}
    RenderTriangle& next() { return room_[count_]; }
    RenderTriangle& at(i32 index) { return room_[index]; }
    i32 count() const { return count_; }
    void keep() { ++count_; }

private:
    RenderTriangle* room_;
    i32 count_ = 0;
};

// The point where edge p -> q meets depth nearZ, one axis at a time with a slope x 64.
EyePoint nearCrossing(const EyePoint& p, const EyePoint& q, i32 nearZ)
{
    const i32 dz = Wrap(i64(q.z) - p.z);
    const i32 toNear = Wrap(i64(nearZ) - p.z);
    auto axis = [&](i32 from, i32 to) {
        const i32 slope = Div(Wrap((i64(to) - from) * SlopeOne), dz);
        return Wrap(from + i64(Div(Wrap(i64(toNear) * slope), SlopeOne)));
    };
    return {axis(p.x, q.x), axis(p.y, q.y), axis(p.z, q.z)};
}

ScreenPoint project(const ObjectGeometry& g, const EyePoint& p)
{
    return {Wrap(i64(Div(Wrap(i64(g.focalX) * p.x), p.z)) + g.centreX),
            Wrap(g.centreY - i64(Div(Wrap(i64(g.focalY) * p.y), p.z)))};
}

// A piece wholly to one side of the view is dropped.
bool offScreen(const ObjectGeometry& g, const ScreenPoint (&s)[3])
{
    const i32 minX = std::min({s[0].x, s[1].x, s[2].x}), maxX = std::max({s[0].x, s[1].x, s[2].x});
    const i32 minY = std::min({s[0].y, s[1].y, s[2].y}), maxY = std::max({s[0].y, s[1].y, s[2].y});
    return minX > g.maxX || maxX < 0 || minY > g.maxY || maxY < 0;
}

void setScreen(RenderTriangle& t, const ScreenPoint (&s)[3])
{
    t.sx1 = s[0].x, t.sy1 = s[0].y;
    t.sx2 = s[1].x, t.sy2 = s[1].y;
    t.sx3 = s[2].x, t.sy3 = s[2].y;
}

// Gives the next entry (holding the face's fields) the piece's screen points and keeps it,
// unless the piece lies wholly outside the view.
template <typename Sink>
void keepPiece(const ObjectGeometry& g, Sink& sink, const ScreenPoint (&s)[3])
{
    if (offScreen(g, s))
        return;
    setScreen(sink.next(), s);
    sink.keep();
}

template <typename Sink>
void keepPiece(const ObjectGeometry& g, Sink& sink, const EyePoint& p1, const EyePoint& p2, const EyePoint& p3)
{
    keepPiece(g, sink, {project(g, p1), project(g, p2), project(g, p3)});
}

// A face seen from its back: n = (B - A) x (C - B), each component shifted right by 8 bits,
// against the centroid g; only a positive n . g hides it, so an edge-on face is drawn. Every
// step but the shifts and the divisions wraps to 32 bits, so it is done in unsigned 32-bit
// arithmetic, which wraps alike.
bool facesAway(const EyePoint& a, const EyePoint& b, const EyePoint& c)
{
    using u32 = std::uint32_t;
    const u32 e1x = u32(b.x) - u32(a.x), e1y = u32(b.y) - u32(a.y), e1z = u32(b.z) - u32(a.z);
    const u32 e2x = u32(c.x) - u32(b.x), e2y = u32(c.y) - u32(b.y), e2z = u32(c.z) - u32(b.z);
    const u32 nx = u32(i32(e1y * e2z - e1z * e2y) >> 8);
    const u32 ny = u32(i32(e1z * e2x - e1x * e2z) >> 8);
    const u32 nz = u32(i32(e1x * e2y - e1y * e2x) >> 8);
    const u32 gx = u32(i32(u32(a.x) + u32(b.x) + u32(c.x)) / 3);
    const u32 gy = u32(i32(u32(a.y) + u32(b.y) + u32(c.y)) / 3);
    const u32 gz = u32(i32(u32(a.z) + u32(b.z) + u32(c.z)) / 3);
    return i32(nx * gx + ny * gy + nz * gz) > 0;
}

i32 depthKey(const EyePoint& a, const EyePoint& b, const EyePoint& c)
{
    return Wrap(i64(Dot3(a.x, a.x, a.y, a.y, a.z, a.z)) + Dot3(b.x, b.x, b.y, b.y, b.z, b.z) +
                Dot3(c.x, c.x, c.y, c.y, c.z, c.z));
}

// Sixteenths of see-through; the caller's bias cannot take a face beyond 100 percent.
i32 blendLevel(const Face& face, i32 transparencyBias)
{
    const i64 percent = std::clamp<i64>(i64(face.transparency) + transparencyBias, 0, 100);
    return static_cast<i32>(percent * 16 / 100);
}

// A face's corner in eye space with its screen point (known when it lies in front of the near
// distance).
struct Corner {
    EyePoint eye;
    ScreenPoint screen;
};

// Near clipping and projection of a face whose corners are not all behind the near distance;
// the face's fields are in the sink's next entry.
template <typename Sink>
void appendClipped(const ObjectGeometry& g, Sink& sink, Corner f, Corner m, Corner n)
{
    // Farthest first: F, M, N.
    if (m.eye.z > f.eye.z)
        std::swap(f, m);
    if (n.eye.z > f.eye.z)
        std::swap(f, n);
    if (n.eye.z > m.eye.z)
        std::swap(m, n);
    const i32 nearZ = g.nearZ;
    if (m.eye.z <= nearZ) {
        keepPiece(g, sink, f.eye, nearCrossing(f.eye, m.eye, nearZ), nearCrossing(f.eye, n.eye, nearZ));
    } else if (n.eye.z <= nearZ) {
        const EyePoint fn = nearCrossing(f.eye, n.eye, nearZ);
        const i32 first = sink.count();
        keepPiece(g, sink, f.eye, m.eye, fn);
        if (sink.count() != first) {
            // The second piece takes the next entry, with the same face fields.
            RenderTriangle& second = sink.next();
            second = sink.at(first);
        }
        keepPiece(g, sink, fn, m.eye, nearCrossing(m.eye, n.eye, nearZ));
    } else {
        // Whole: its points were projected once each, with the object's points.
        keepPiece(g, sink, {f.screen, m.screen, n.screen});
    }
}

// Object rotation, then eye space: offset, less the camera, turned by the camera; then the
// screen, when in front of the near distance. A rotation that does not turn leaves every point
// exactly where it is (whole numbers times 1 and 0), so it is not applied.
void transformPoint(const ObjectGeometry& g, std::size_t i, const TransformedPoints& out)
{
    IntPoint p{g.x[i], g.y[i], g.z[i]};
    if (g.turned)
        p = Rotate(g.rotation, p.x, p.y, p.z);
    p = {Wrap(i64(p.x) + g.offsetX - g.cameraX), Wrap(i64(p.y) + g.offsetY - g.cameraY),
         Wrap(i64(p.z) + g.offsetZ - g.cameraZ)};
    if (g.cameraTurned)
        p = Rotate(g.cameraMatrix, p.x, p.y, p.z);
    out.x[i] = p.x;
    out.y[i] = p.y;
    out.z[i] = p.z;
    if (p.z > g.nearZ) {
        const ScreenPoint s = project(g, {p.x, p.y, p.z});
        out.screenX[i] = s.x;
        out.screenY[i] = s.y;
    }
}

// The triangles of a face that may show: its fields, then near clipping and projection.
template <typename Sink>
[[gnu::noinline]] void appendShown(const ObjectGeometry& g, const TransformedPoints& points, std::size_t k, Sink& sink)
{
    const Face& face = g.faces[k];
    const EyePoint a{points.x[face.p1], points.y[face.p1], points.z[face.p1]};
    const EyePoint b{points.x[face.p2], points.y[face.p2], points.z[face.p2]};
    const EyePoint c{points.x[face.p3], points.y[face.p3], points.z[face.p3]};
    {
        // The face's fields go into the sink's next entry. Clipping may append a second piece and
        // grow the list, moving its entries: no reference outlives this block.
        RenderTriangle& t = sink.next();
        t.x1 = a.x, t.y1 = a.y, t.z1 = a.z;
        t.x2 = b.x, t.y2 = b.y, t.z2 = b.z;
        t.x3 = c.x, t.y3 = c.y, t.z3 = c.z;
        t.texture = face.texture;
        t.mapping = face.mapping;
        t.depthKey = depthKey(a, b, c);
        t.faceType = face.faceType;
        t.direct = 0;
        t.light1 = g.ambient;
        t.objectId = g.objectId;
        t.faceIndex = static_cast<i32>(k);
        t.light2 = t.light3 = 0;
        t.blendLevel = blendLevel(face, g.transparencyBias);
    }
    auto corner = [&](const EyePoint& eye, std::uint16_t point) {
        return Corner{eye, {points.screenX[point], points.screenY[point]}};
    };
    appendClipped(g, sink, corner(a, face.p1), corner(b, face.p2), corner(c, face.p3));
}

// A virtual face's two triangles, with the face's fields as every face has them.
template <typename Sink>
[[gnu::noinline]] void appendVirtualFace(const ObjectGeometry& g, const TransformedPoints& points, std::size_t k,
                                         Sink& sink)
{
    const Face& face = g.faces[k];
    RenderTriangle fields{};
    fields.light1 = g.ambient;
    fields.objectId = g.objectId;
    fields.faceIndex = static_cast<i32>(k);
    fields.blendLevel = blendLevel(face, g.transparencyBias);
    RenderTriangle pair[2];
    if (!VirtualFaceTriangles(g, face, points, fields, pair))
        return;
    for (const RenderTriangle& triangle : pair) {
        sink.next() = triangle;
        sink.keep();
    }
}

// Face k's visible triangles, from the transformed points: most faces are dropped here, as
// seen from their back or behind the viewer.
template <typename Sink>
inline void appendFace(const ObjectGeometry& g, const TransformedPoints& points, std::size_t k, Sink& sink)
{
    const Face& face = g.faces[k];
    // Faces naming points the object does not have are not drawn.
    if (face.faceType == FaceVirtual) {
        if (face.p1 < g.points)
            appendVirtualFace(g, points, k, sink);
        return;
    }
    if (face.p1 >= g.points || face.p2 >= g.points || face.p3 >= g.points)
        return;
    const EyePoint a{points.x[face.p1], points.y[face.p1], points.z[face.p1]};
    const EyePoint b{points.x[face.p2], points.y[face.p2], points.z[face.p2]};
    const EyePoint c{points.x[face.p3], points.y[face.p3], points.z[face.p3]};
    const i32 nearZ = g.nearZ;
    if (a.z <= nearZ && b.z <= nearZ && c.z <= nearZ)
        return;
    if (face.doubleSided == 0 && facesAway(a, b, c))
        return;
    appendShown(g, points, k, sink);
}

} // namespace

void GrowTriangleList(RenderContext& context)
{
    const std::size_t grown = std::max<std::size_t>(1024, context.triangles.size() * 2);
    context.triangles.resize(grown);
    context.sortKeys.resize(grown);
    context.sortScratch.resize(2 * grown);
    context.drawList.resize(grown);
}

bool TransformPoints(const ObjectGeometry& g, std::size_t first, std::size_t last, BandWatch* watch,
                     const TransformedPoints& out)
{
    return WorkThrough(first, last, watch, ItemsBetweenLooks, [&](std::size_t i) { transformPoint(g, i, out); });
}

void AppendFaces(const ObjectGeometry& g, const TransformedPoints& points, RenderContext& context)
{
    ListSink sink(context);
    for (std::size_t k = 0; k < g.faceCount; ++k)
        appendFace(g, points, k, sink);
}

bool AppendFaces(const ObjectGeometry& g, const TransformedPoints& points, std::size_t first, std::size_t last,
                 BandWatch* watch, RenderTriangle* room, std::int32_t& count)
{
    PieceSink sink(room);
    const bool whole =
        WorkThrough(first, last, watch, ItemsBetweenLooks, [&](std::size_t k) { appendFace(g, points, k, sink); });
    count = sink.count();
    return whole;
}
