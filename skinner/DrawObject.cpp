// The geometry stage's entry: an object with its placement, seen from the frame's camera, into
// the frame's triangle list (the work itself: ObjectTriangles.h). A large object is shared with
// the helper threads; a small one is drawn by the calling thread alone.
#include "Renderer.h"

#include "Angles.h"
#include "DrawShared.h"
#include "ObjectTriangles.h"
#include "RenderHelpers.h"

#include <cstddef>

namespace {

// Objects of fewer faces are drawn by the calling thread alone: sharing them costs more than it
// saves.
constexpr std::size_t FacesWorthSharing = 1024;

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
            DrawShared(context, *threads, g, object);
            return;
        }

    // The calling thread alone, through the renderer's working copy.
    WorkingCopyState& working = WorkingCopy();
    Object3D& copy = working.object;
    copy.lastPoint = object.lastPoint;
    copy.lastFace = object.lastFace;
    const TransformedPoints transformed{copy.x.data(), copy.y.data(), copy.z.data(), working.screenX.data(),
                                        working.screenY.data()};
    TransformPoints(g, 0, points, nullptr, transformed);
    AppendFaces(g, transformed, context);
}
