// The geometry stage: an object's points into eye space, back faces dropped, faces clipped at
// the near distance and projected, the visible pieces appended to the frame's triangle list.
// Everything after the rotations is 32-bit integer arithmetic (Arithmetic32.h).
#include "Renderer.h"

#include "Angles.h"
#include "Arithmetic32.h"

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

// The list's next entry, made room for; it counts once kept. Triangles are built in place.
RenderTriangle& reserveSlot(RenderContext& context)
{
    if (context.triangleCount < 0)
        context.triangleCount = 0;
    const std::size_t at = static_cast<std::size_t>(context.triangleCount);
    if (at >= context.triangles.size()) {
        // More than the view's capacity: the list grows rather than overflows. Helpers still
        // drawing an earlier frame read the draw list.
        SettleRenderThreads(context);
        const std::size_t grown = std::max<std::size_t>(1024, context.triangles.size() * 2);
        context.triangles.resize(grown);
        context.sortKeys.resize(grown);
        context.sortScratch.resize(2 * grown);
        context.drawList.resize(grown);
    }
    return context.triangles[at];
}

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

ScreenPoint project(const RenderContext& context, const EyePoint& p)
{
    return {Wrap(i64(Div(Wrap(i64(context.focalX) * p.x), p.z)) + context.centreX),
            Wrap(context.centreY - i64(Div(Wrap(i64(context.focalY) * p.y), p.z)))};
}

// A piece wholly to one side of the view is dropped.
bool offScreen(const RenderContext& context, const ScreenPoint (&s)[3])
{
    const i32 minX = std::min({s[0].x, s[1].x, s[2].x}), maxX = std::max({s[0].x, s[1].x, s[2].x});
    const i32 minY = std::min({s[0].y, s[1].y, s[2].y}), maxY = std::max({s[0].y, s[1].y, s[2].y});
    return minX > context.maxX || maxX < 0 || minY > context.maxY || maxY < 0;
}

void setScreen(RenderTriangle& t, const ScreenPoint (&s)[3])
{
    t.sx1 = s[0].x, t.sy1 = s[0].y;
    t.sx2 = s[1].x, t.sy2 = s[1].y;
    t.sx3 = s[2].x, t.sy3 = s[2].y;
}

// Gives the next entry (holding the face's fields) the piece's screen points and keeps it,
// unless the piece lies wholly outside the view.
void keepPiece(RenderContext& context, const ScreenPoint (&s)[3])
{
    if (offScreen(context, s))
        return;
    setScreen(context.triangles[static_cast<std::size_t>(context.triangleCount)], s);
    ++context.triangleCount;
}

void keepPiece(RenderContext& context, const EyePoint& p1, const EyePoint& p2, const EyePoint& p3)
{
    keepPiece(context, {project(context, p1), project(context, p2), project(context, p3)});
}

// A face seen from its back: n = (B - A) x (C - B), each component shifted right by 8 bits,
// against the centroid g; only a positive n . g hides it, so an edge-on face is drawn.
bool facesAway(const EyePoint& a, const EyePoint& b, const EyePoint& c)
{
    const i64 e1x = Wrap(i64(b.x) - a.x), e1y = Wrap(i64(b.y) - a.y), e1z = Wrap(i64(b.z) - a.z);
    const i64 e2x = Wrap(i64(c.x) - b.x), e2y = Wrap(i64(c.y) - b.y), e2z = Wrap(i64(c.z) - b.z);
    const i32 nx = Wrap(e1y * e2z - e1z * e2y) >> 8;
    const i32 ny = Wrap(e1z * e2x - e1x * e2z) >> 8;
    const i32 nz = Wrap(e1x * e2y - e1y * e2x) >> 8;
    const i32 gx = Div(Wrap(i64(a.x) + b.x + c.x), 3);
    const i32 gy = Div(Wrap(i64(a.y) + b.y + c.y), 3);
    const i32 gz = Div(Wrap(i64(a.z) + b.z + c.z), 3);
    return Dot3(nx, gx, ny, gy, nz, gz) > 0;
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
// the face's fields are in the list's next entry.
void appendClipped(RenderContext& context, Corner f, Corner m, Corner n)
{
    // Farthest first: F, M, N.
    if (m.eye.z > f.eye.z)
        std::swap(f, m);
    if (n.eye.z > f.eye.z)
        std::swap(f, n);
    if (n.eye.z > m.eye.z)
        std::swap(m, n);
    const i32 nearZ = context.nearZ;
    if (m.eye.z <= nearZ) {
        keepPiece(context, f.eye, nearCrossing(f.eye, m.eye, nearZ), nearCrossing(f.eye, n.eye, nearZ));
    } else if (n.eye.z <= nearZ) {
        const EyePoint fn = nearCrossing(f.eye, n.eye, nearZ);
        const i32 first = context.triangleCount;
        keepPiece(context, f.eye, m.eye, fn);
        if (context.triangleCount != first) {
            // The second piece takes the next entry, with the same face fields.
            RenderTriangle& second = reserveSlot(context);
            second = context.triangles[static_cast<std::size_t>(first)];
        }
        keepPiece(context, fn, m.eye, nearCrossing(m.eye, n.eye, nearZ));
    } else {
        // Whole: its points were projected once each, with the object's points.
        keepPiece(context, {f.screen, m.screen, n.screen});
    }
}

// The frame of a virtual face's texture that shows from this direction of view.
i32 virtualFrame(const RenderContext& context, const AnimTexture& texture, i32 sourceX, i32 sourceZ, i32 offsetX,
                 i32 offsetZ, i32 yaw, bool& drawn)
{
    const i32 frames = Wrap(i64(texture.last) - texture.first + 1);
    drawn = frames != 0; // a run of no images shows nothing
    if (!drawn)
        return 0;
    i32 angle = ViewAngle(Wrap(i64(sourceX) + offsetX - context.cameraX), Wrap(i64(sourceZ) + offsetZ - context.cameraZ));
    angle = Wrap(i64(angle) - Div(Wrap(i64(yaw) * 180), 16384));
    angle = Wrap(i64(Div(160, frames)) + angle) % 360;
    if (angle < 0)
        angle += 360;
    return Wrap(i64(Div(Wrap(i64(angle) * frames), 360)) + texture.first);
}

// Two triangles of a p2 x p3 rectangle facing the eye, standing at corner A. The camera roll is
// not followed (the editor always draws with roll 0).
void appendVirtual(RenderContext& context, const RenderTriangle& t, const EyePoint& a, i32 width, i32 height)
{
    const i32 z = a.z;
    const i32 lx = Wrap(i64(a.x) - Div(width, 2)), ly = Wrap(i64(a.y) - Div(height, 2));
    const i32 sx = Wrap(i64(Div(Wrap(i64(context.focalX) * lx), z)) + context.centreX);
    const i32 sy = Wrap(context.centreY - i64(Div(Wrap(i64(context.focalY) * ly), z)));
    const i32 sw = Div(Wrap(i64(context.focalX) * width), z);
    const i32 sh = Div(Wrap(-(i64(context.focalY) * height)), z);
    const i32 right = Wrap(i64(lx) + width), top = Wrap(i64(ly) + height);
    const i32 sRight = Wrap(i64(sx) + sw), sTop = Wrap(i64(sy) + sh);

    {
        // Making room for the second triangle may move the list: no reference outlives this block.
        RenderTriangle& first = reserveSlot(context);
        first = t;
        first.faceType = FaceTexturedKeyed;
        first.direct = 1;
        first.depthKey = Wrap(Abs64(z));
        first.x1 = right, first.y1 = ly, first.z1 = z;
        first.x2 = lx, first.y2 = ly, first.z2 = z;
        first.x3 = lx, first.y3 = top, first.z3 = z;
        setScreen(first, {{sx, sTop}, {sx, sy}, {sRight, sy}});
        first.mapping = 1;
        ++context.triangleCount;
    }

    RenderTriangle& second = reserveSlot(context);
    second = context.triangles[static_cast<std::size_t>(context.triangleCount) - 1];
    second.x1 = lx, second.y1 = top, second.z1 = z;
    second.x2 = right, second.y2 = top, second.z2 = z;
    second.x3 = right, second.y3 = ly, second.z3 = z;
    setScreen(second, {{sx, sTop}, {sRight, sTop}, {sRight, sy}});
    second.mapping = 0;
    ++context.triangleCount;
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
    WorkingCopyState& working = WorkingCopy();
    Object3D& copy = working.object;
    std::int32_t* const screenX = working.screenX.data();
    std::int32_t* const screenY = working.screenY.data();
    copy.lastPoint = object.lastPoint;
    copy.lastFace = object.lastFace;
    // The faces are read where they are: the copy would only repeat them.

    // Object rotation, then eye space: offset, less the camera, turned by the camera. A camera
    // that is not turned leaves every point exactly where it is (whole numbers times 1 and 0).
    const bool turned = yaw != 0 || pitch != 0 || roll != 0;
    const RotationMatrix rotation = turned ? MakeRotation(yaw, pitch, roll) : RotationMatrix{};
    const bool cameraTurned = context.cameraMatrix != RotationMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (std::size_t i = 0; i < points; ++i) {
        IntPoint p{object.x[i], object.y[i], object.z[i]};
        if (turned)
            p = Rotate(rotation, p.x, p.y, p.z);
        p = {Wrap(i64(p.x) + offsetX - context.cameraX), Wrap(i64(p.y) + offsetY - context.cameraY),
             Wrap(i64(p.z) + offsetZ - context.cameraZ)};
        if (cameraTurned)
            p = Rotate(context.cameraMatrix, p.x, p.y, p.z);
        copy.x[i] = p.x;
        copy.y[i] = p.y;
        copy.z[i] = p.z;
        if (p.z > context.nearZ) {
            const ScreenPoint s = project(context, {p.x, p.y, p.z});
            screenX[i] = s.x;
            screenY[i] = s.y;
        }
    }

    const i32 nearZ = context.nearZ;
    for (std::size_t k = 0; k < faces; ++k) {
        const Face& face = object.faces[k];
        const bool isVirtual = face.faceType == FaceVirtual;
        // Faces naming points the object does not have are not drawn.
        if (face.p1 >= points || (!isVirtual && (face.p2 >= points || face.p3 >= points)))
            continue;
        const EyePoint a{copy.x[face.p1], copy.y[face.p1], copy.z[face.p1]};
        if (isVirtual) {
            const i32 number = face.texture;
            if (a.z <= nearZ || number >= SkinnerBank::Capacity)
                continue; // behind the viewer, or a texture outside the bank
            bool drawn = false;
            const i32 image = virtualFrame(context, context.bank.textures[number], object.x[face.p1],
                                           object.z[face.p1], offsetX, offsetZ, yaw, drawn);
            if (!drawn)
                continue;
            RenderTriangle t{};
            t.texture = image;
            t.light1 = ambient;
            t.objectId = objectId;
            t.faceIndex = static_cast<i32>(k);
            t.blendLevel = blendLevel(face, transparencyBias);
            appendVirtual(context, t, a, face.p2, face.p3);
            continue;
        }

        const EyePoint b{copy.x[face.p2], copy.y[face.p2], copy.z[face.p2]};
        const EyePoint c{copy.x[face.p3], copy.y[face.p3], copy.z[face.p3]};
        if (a.z <= nearZ && b.z <= nearZ && c.z <= nearZ)
            continue;
        if (face.doubleSided == 0 && facesAway(a, b, c))
            continue;
        {
            // The face's fields go into the list's next entry. Clipping may append a second
            // piece and grow the list, moving its entries: no reference outlives this block.
            RenderTriangle& t = reserveSlot(context);
            t.x1 = a.x, t.y1 = a.y, t.z1 = a.z;
            t.x2 = b.x, t.y2 = b.y, t.z2 = b.z;
            t.x3 = c.x, t.y3 = c.y, t.z3 = c.z;
            t.texture = face.texture;
            t.mapping = face.mapping;
            t.depthKey = depthKey(a, b, c);
            t.faceType = face.faceType;
            t.direct = 0;
            t.light1 = ambient;
            t.objectId = objectId;
            t.faceIndex = static_cast<i32>(k);
            t.light2 = t.light3 = 0;
            t.blendLevel = blendLevel(face, transparencyBias);
        }
        auto corner = [&](const EyePoint& eye, std::uint16_t point) {
            return Corner{eye, {screenX[point], screenY[point]}};
        };
        appendClipped(context, corner(a, face.p1), corner(b, face.p2), corner(c, face.p3));
    }
}
