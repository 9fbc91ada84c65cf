// The geometry stage: an object's points into eye space, back faces dropped, faces clipped at
// the near distance and projected, the visible pieces appended to the frame's triangle list.
// Everything after the rotations is 32-bit integer arithmetic (Arithmetic32.h).
#include "Renderer.h"

#include "Angles.h"
#include "Arithmetic32.h"
#include "RenderHelpers.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Clipping slopes are fixed point with this factor.
constexpr i32 SlopeOne = 64;

// Objects of fewer faces are drawn by the calling thread alone: sharing them costs more than it
// saves.
constexpr std::size_t FacesWorthSharing = 1024;
// Helpers look at their watch every so many points or faces.
constexpr std::size_t ItemsBetweenLooks = 64;

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
            growTriangleList(context_);
        }
        return context_.triangles[at];
    }
    RenderTriangle& at(i32 index) { return context_.triangles[static_cast<std::size_t>(index)]; }
    i32 count() const { return context_.triangleCount; }
    void keep() { ++context_.triangleCount; }

    static void growTriangleList(RenderContext& context)
    {
        const std::size_t grown = std::max<std::size_t>(1024, context.triangles.size() * 2);
        context.triangles.resize(grown);
        context.sortKeys.resize(grown);
        context.sortScratch.resize(2 * grown);
        context.drawList.resize(grown);
    }

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

// The frame of a virtual face's texture that shows from this direction of view.
i32 virtualFrame(const ObjectGeometry& g, const AnimTexture& texture, i32 sourceX, i32 sourceZ, bool& drawn)
{
    const i32 frames = Wrap(i64(texture.last) - texture.first + 1);
    drawn = frames != 0; // a run of no images shows nothing
    if (!drawn)
        return 0;
    i32 angle = ViewAngle(Wrap(i64(sourceX) + g.offsetX - g.cameraX), Wrap(i64(sourceZ) + g.offsetZ - g.cameraZ));
    angle = Wrap(i64(angle) - Div(Wrap(i64(g.yaw) * 180), 16384));
    angle = Wrap(i64(Div(160, frames)) + angle) % 360;
    if (angle < 0)
        angle += 360;
    return Wrap(i64(Div(Wrap(i64(angle) * frames), 360)) + texture.first);
}

// Two triangles of a p2 x p3 rectangle facing the eye, standing at corner A. The camera roll is
// not followed (the editor always draws with roll 0).
template <typename Sink>
void appendVirtual(const ObjectGeometry& g, Sink& sink, const RenderTriangle& t, const EyePoint& a, i32 width,
                   i32 height)
{
    const i32 z = a.z;
    const i32 lx = Wrap(i64(a.x) - Div(width, 2)), ly = Wrap(i64(a.y) - Div(height, 2));
    const i32 sx = Wrap(i64(Div(Wrap(i64(g.focalX) * lx), z)) + g.centreX);
    const i32 sy = Wrap(g.centreY - i64(Div(Wrap(i64(g.focalY) * ly), z)));
    const i32 sw = Div(Wrap(i64(g.focalX) * width), z);
    const i32 sh = Div(Wrap(-(i64(g.focalY) * height)), z);
    const i32 right = Wrap(i64(lx) + width), top = Wrap(i64(ly) + height);
    const i32 sRight = Wrap(i64(sx) + sw), sTop = Wrap(i64(sy) + sh);

    {
        // Making room for the second triangle may move the list: no reference outlives this block.
        RenderTriangle& first = sink.next();
        first = t;
        first.faceType = FaceTexturedKeyed;
        first.direct = 1;
        first.depthKey = Wrap(Abs64(z));
        first.x1 = right, first.y1 = ly, first.z1 = z;
        first.x2 = lx, first.y2 = ly, first.z2 = z;
        first.x3 = lx, first.y3 = top, first.z3 = z;
        setScreen(first, {{sx, sTop}, {sx, sy}, {sRight, sy}});
        first.mapping = 1;
        sink.keep();
    }

    RenderTriangle& second = sink.next();
    second = sink.at(sink.count() - 1);
    second.x1 = lx, second.y1 = top, second.z1 = z;
    second.x2 = right, second.y2 = top, second.z2 = z;
    second.x3 = right, second.y3 = ly, second.z3 = z;
    setScreen(second, {{sx, sTop}, {sRight, sTop}, {sRight, sy}});
    second.mapping = 0;
    sink.keep();
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

template <typename Sink>
[[gnu::noinline]] void appendVirtualFace(const ObjectGeometry& g, const TransformedPoints& points, std::size_t k,
                                         Sink& sink)
{
    const Face& face = g.faces[k];
    const EyePoint a{points.x[face.p1], points.y[face.p1], points.z[face.p1]};
    const i32 number = face.texture;
    if (a.z <= g.nearZ || number >= SkinnerBank::Capacity)
        return; // behind the viewer, or a texture outside the bank
    bool drawn = false;
    const i32 image = virtualFrame(g, g.textures[number], g.x[face.p1], g.z[face.p1], drawn);
    if (!drawn)
        return;
    RenderTriangle t{};
    t.texture = image;
    t.light1 = g.ambient;
    t.objectId = g.objectId;
    t.faceIndex = static_cast<i32>(k);
    t.blendLevel = blendLevel(face, g.transparencyBias);
    appendVirtual(g, sink, t, a, face.p2, face.p3);
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

// The object shared with helpers: its points, then its faces, each in pieces (SharedGeometry
// lays out the blocks the pieces go to).

TransformedPoints pointsIn(std::uint8_t* block, std::size_t room)
{
    auto* const base = reinterpret_cast<i32*>(block);
    return {base, base + room, base + 2 * room, base + 3 * room, base + 4 * room};
}

RenderTriangle* roomIn(std::uint8_t* block) { return reinterpret_cast<RenderTriangle*>(block); }

i32* countsIn(std::uint8_t* block, std::size_t faces)
{
    return reinterpret_cast<i32*>(block + 2 * faces * sizeof(RenderTriangle));
}

void transformPiece(void* data, int piece, std::uint8_t* copy, BandWatch* watch)
{
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const ObjectGeometry& g = shared.object;
    const TransformedPoints out = pointsIn(copy != nullptr ? copy : shared.points.data(), shared.pointRoom);
    const auto [first, last] = PieceItems(g.points, shared.pieces, piece);
    WorkThrough(first, last, watch, ItemsBetweenLooks, [&](std::size_t i) { transformPoint(g, i, out); });
}

void copyPoints(void* data, int piece, const std::uint8_t* from)
{
    if (from == nullptr)
        return; // transformed in place
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const auto [first, last] = PieceItems(shared.object.points, shared.pieces, piece);
    const std::size_t room = shared.pointRoom * sizeof(i32);
    for (std::size_t array = 0; array < 5; ++array) {
        const std::size_t at = array * room + first * sizeof(i32);
        std::memcpy(shared.points.data() + at, from + at, (last - first) * sizeof(i32));
    }
}

void facesPiece(void* data, int piece, std::uint8_t* copy, BandWatch* watch)
{
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const ObjectGeometry& g = shared.object;
    const TransformedPoints points = pointsIn(shared.points.data(), shared.pointRoom);
    std::uint8_t* const block = copy != nullptr ? copy : shared.triangles.data();
    const auto [first, last] = PieceItems(g.faceCount, shared.pieces, piece);
    PieceSink sink(roomIn(block) + 2 * first);
    if (WorkThrough(first, last, watch, ItemsBetweenLooks, [&](std::size_t k) { appendFace(g, points, k, sink); }))
        countsIn(block, g.faceCount)[piece] = sink.count();
}

// Appends the piece's triangles to the frame's list, in turn. The list may grow here without
// waiting for helpers: no helper reads it while it draws an object's pieces, and none holds an
// earlier frame's draw list (the object is shared only when they are all ready).
void appendPiece(void* data, int piece, const std::uint8_t* from)
{
    RenderContext& context = *static_cast<RenderContext*>(data);
    const SharedGeometry& shared = context.shared;
    std::uint8_t* const block = from != nullptr ? const_cast<std::uint8_t*>(from) : context.shared.triangles.data();
    const std::size_t faces = shared.object.faceCount;
    const auto first = PieceItems(faces, shared.pieces, piece).first;
    const auto count = static_cast<std::size_t>(countsIn(block, faces)[piece]);
    if (count == 0)
        return;
    context.triangleCount = std::max(context.triangleCount, 0);
    const auto at = static_cast<std::size_t>(context.triangleCount);
    while (at + count > context.triangles.size())
        ListSink::growTriangleList(context);
    std::memcpy(context.triangles.data() + at, roomIn(block) + 2 * first, count * sizeof(RenderTriangle));
    context.triangleCount += static_cast<i32>(count);
}

template <typename T>
void copyInto(std::vector<T>& to, const std::vector<T>& from, std::size_t count)
{
    if (to.size() < count)
        to.resize(count);
    std::copy(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(count), to.begin());
}

// Copies the object in (its caller may change it once DrawObject returns, while a helper that
// lost its piece still reads), then transforms its points and works through its faces in pieces.
// When a helper kept a piece of the points, the calling thread works through the faces alone,
// leaving everything that helper reads as it was.
void drawShared(RenderContext& context, RenderThreads& threads, ObjectGeometry g, const Object3D& object)
{
    SharedGeometry& shared = context.shared;
    copyInto(shared.x, object.x, g.points);
    copyInto(shared.y, object.y, g.points);
    copyInto(shared.z, object.z, g.points);
    copyInto(shared.faces, object.faces, g.faceCount);
    g.x = shared.x.data(), g.y = shared.y.data(), g.z = shared.z.data();
    g.faces = shared.faces.data();
    shared.object = g;
    shared.pointRoom = g.points;
    const std::size_t pointBytes = 5 * g.points * sizeof(i32);
    if (shared.points.size() < pointBytes)
        shared.points.resize(pointBytes);
    shared.pieces = PiecesFor(threads, g.points, ItemsBetweenLooks);
    threads.run(shared.pieces, pointBytes, {transformPiece, copyPoints, &context});

    const TransformedPoints points = pointsIn(shared.points.data(), shared.pointRoom);
    if (!threads.ready()) {
        ListSink sink(context);
        for (std::size_t k = 0; k < g.faceCount; ++k)
            appendFace(g, points, k, sink);
        return;
    }
    shared.pieces = PiecesFor(threads, g.faceCount, ItemsBetweenLooks);
    const std::size_t faceBytes = 2 * g.faceCount * sizeof(RenderTriangle) + std::size_t(shared.pieces) * sizeof(i32);
    if (shared.triangles.size() < faceBytes)
        shared.triangles.resize(faceBytes);
    threads.run(shared.pieces, faceBytes, {facesPiece, appendPiece, &context});
}

} // namespace

void DrawObject(RenderContext& context, const Object3D& object, std::int32_t offsetX, std::int32_t offsetY,
                std::int32_t offsetZ, std::int32_t yaw, std::int32_t pitch, std::int32_t roll, std::int32_t ambient,
                std::int32_t transparencyBias, std::int32_t objectId)
{
    const std::size_t points = object.pointCount(), faces = object.faceCount();
    if (points == 0 || faces == 0)
        return;
    EnsureWorkingCopyHolds(points, faces);
    ObjectGeometry g{};
    g.focalX = context.focalX, g.focalY = context.focalY, g.centreX = context.centreX, g.centreY = context.centreY;
    g.maxX = context.maxX, g.maxY = context.maxY, g.nearZ = context.nearZ;
    g.cameraX = context.cameraX, g.cameraY = context.cameraY, g.cameraZ = context.cameraZ;
    g.cameraMatrix = context.cameraMatrix;
    g.cameraTurned = context.cameraMatrix != RotationMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    g.x = object.x.data(), g.y = object.y.data(), g.z = object.z.data();
    g.faces = object.faces.data();
    g.points = points, g.faceCount = faces;
    g.turned = yaw != 0 || pitch != 0 || roll != 0;
    if (g.turned)
        g.rotation = MakeRotation(yaw, pitch, roll);
    g.offsetX = offsetX, g.offsetY = offsetY, g.offsetZ = offsetZ, g.yaw = yaw;
    g.ambient = ambient, g.transparencyBias = transparencyBias, g.objectId = objectId;
    g.textures = context.bank.textures.data();

    if (faces >= FacesWorthSharing)
        if (RenderThreads* threads = ReadyHelpers(context)) {
            drawShared(context, *threads, g, object);
            return;
        }

    // The calling thread alone, through the renderer's working copy.
    WorkingCopyState& working = WorkingCopy();
    Object3D& copy = working.object;
    copy.lastPoint = object.lastPoint;
    copy.lastFace = object.lastFace;
    const TransformedPoints transformed{copy.x.data(), copy.y.data(), copy.z.data(), working.screenX.data(),
                                        working.screenY.data()};
    for (std::size_t i = 0; i < points; ++i)
        transformPoint(g, i, transformed);
    ListSink sink(context);
    for (std::size_t k = 0; k < faces; ++k)
        appendFace(g, transformed, k, sink);
}
