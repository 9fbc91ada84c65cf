// Virtual faces in 32-bit integer arithmetic (Arithmetic32.h), as the rest of the geometry stage.
#include "VirtualFaces.h"

#include "Angles.h"
#include "Arithmetic32.h"

namespace {

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

// A corner of one of a virtual face's triangles: its eye-space x and y, and its screen point.
struct RectangleCorner {
    i32 x, y, sx, sy;
};

// The triangle's corners, all at depth z.
void setCorners(RenderTriangle& t, i32 z, const RectangleCorner (&c)[3])
{
    t.x1 = c[0].x, t.y1 = c[0].y, t.z1 = z, t.sx1 = c[0].sx, t.sy1 = c[0].sy;
    t.x2 = c[1].x, t.y2 = c[1].y, t.z2 = z, t.sx2 = c[1].sx, t.sy2 = c[1].sy;
    t.x3 = c[2].x, t.y3 = c[2].y, t.z3 = z, t.sx3 = c[2].sx, t.sy3 = c[2].sy;
}

} // namespace

bool VirtualFaceTriangles(const ObjectGeometry& g, const Face& face, const TransformedPoints& points,
                          const RenderTriangle& fields, RenderTriangle (&pair)[2])
{
    const i32 ax = points.x[face.p1], ay = points.y[face.p1], z = points.z[face.p1];
    const i32 number = face.texture;
    if (z <= g.nearZ || number >= SkinnerBank::Capacity)
        return false; // behind the viewer, or a texture outside the bank
    bool drawn = false;
    const i32 image = virtualFrame(g, g.textures[number], g.x[face.p1], g.z[face.p1], drawn);
    if (!drawn)
        return false;

    const i32 width = face.p2, height = face.p3;
    const i32 lx = Wrap(i64(ax) - Div(width, 2)), ly = Wrap(i64(ay) - Div(height, 2));
    const i32 sx = Wrap(i64(Div(Wrap(i64(g.focalX) * lx), z)) + g.centreX);
    const i32 sy = Wrap(g.centreY - i64(Div(Wrap(i64(g.focalY) * ly), z)));
    const i32 sw = Div(Wrap(i64(g.focalX) * width), z);
    const i32 sh = Div(Wrap(-(i64(g.focalY) * height)), z);
    const i32 right = Wrap(i64(lx) + width), top = Wrap(i64(ly) + height);
    const i32 sRight = Wrap(i64(sx) + sw), sTop = Wrap(i64(sy) + sh);

    RenderTriangle& first = pair[0];
    first = fields;
    first.texture = image;
    first.faceType = FaceTexturedKeyed;
    first.direct = 1;
    first.depthKey = Wrap(Abs64(z));
    setCorners(first, z, {{right, ly, sx, sTop}, {lx, ly, sx, sy}, {lx, top, sRight, sy}});
    first.mapping = 1;

    RenderTriangle& second = pair[1];
    second = first;
    setCorners(second, z, {{lx, top, sx, sTop}, {right, top, sRight, sTop}, {right, ly, sRight, sy}});
    second.mapping = 0;
    return true;
}
