#include "Object3D.h"

#include "Errors.h"

#include <algorithm>
#include <string>

std::size_t Object3D::pointCount() const
{
    return std::min({static_cast<std::size_t>(lastPoint) + 1, x.size(), y.size(), z.size()});
}

std::size_t Object3D::faceCount() const
{
    return std::min(static_cast<std::size_t>(lastFace) + 1, faces.size());
}

std::size_t ObjectByteFigure(std::int64_t lastPoint, std::int64_t lastFace)
{
    return static_cast<std::size_t>((lastPoint + 1) * 12 + (lastFace + 1) * 16);
}

WorkingCopyState& WorkingCopy()
{
    static WorkingCopyState copy = [] {
        WorkingCopyState start;
        constexpr int lastPoint = 5000, lastFace = 15000;
        start.object.lastPoint = lastPoint;
        start.object.lastFace = lastFace;
        start.object.x.resize(lastPoint + 1);
        start.object.y.resize(lastPoint + 1);
        start.object.z.resize(lastPoint + 1);
        start.object.faces.resize(lastFace + 1);
        start.screenX.resize(lastPoint + 1);
        start.screenY.resize(lastPoint + 1);
        start.capacity = ObjectByteFigure(lastPoint, lastFace);
        return start;
    }();
    return copy;
}

void AllocateObject(Object3D& object, std::int32_t lastPoint, std::int32_t lastFace)
{
    if (lastPoint < 0 || lastFace < 0 || lastPoint == INT32_MAX || lastFace == INT32_MAX)
        throw OrmelError("An object needs at least one point and one face, not " + std::to_string(lastPoint + 1LL) +
                         " and " + std::to_string(lastFace + 1LL));
    WorkingCopyState& copy = WorkingCopy();
    const std::size_t need = ObjectByteFigure(lastPoint, lastFace);
    if (&object != &copy.object && need > copy.capacity) {
        // The figure is raised first so that allocating the copy itself does not grow it again.
        copy.capacity = 2 * need;
        AllocateObject(copy.object, lastPoint + 1, lastFace + 1);
        copy.capacity = need;
    }
    // The figure weighs points and faces together; the copy must also hold as many of each.
    if (&object != &copy.object)
        EnsureWorkingCopyHolds(static_cast<std::size_t>(lastPoint) + 1, static_cast<std::size_t>(lastFace) + 1);
    FreeObject(object);
    if (&object == &copy.object) {
        copy.screenX.assign(static_cast<std::size_t>(lastPoint) + 1, 0);
        copy.screenY.assign(static_cast<std::size_t>(lastPoint) + 1, 0);
    }
    object.x.assign(static_cast<std::size_t>(lastPoint) + 1, 0);
    object.y.assign(static_cast<std::size_t>(lastPoint) + 1, 0);
    object.z.assign(static_cast<std::size_t>(lastPoint) + 1, 0);
    object.faces.assign(static_cast<std::size_t>(lastFace) + 1, Face{});
    object.lastPoint = static_cast<std::uint16_t>(lastPoint);
    object.lastFace = static_cast<std::uint16_t>(lastFace);
}

void FreeObject(Object3D& object)
{
    object.x = {};
    object.y = {};
    object.z = {};
    object.faces = {};
    object.lastPoint = object.lastFace = 0;
}

void EnsureWorkingCopyHolds(std::size_t points, std::size_t faces)
{
    WorkingCopyState& state = WorkingCopy();
    Object3D& copy = state.object;
    if (copy.x.size() < points) {
        copy.x.resize(points);
        copy.y.resize(points);
        copy.z.resize(points);
    }
    if (state.screenX.size() < copy.x.size()) {
        state.screenX.resize(copy.x.size());
        state.screenY.resize(copy.x.size());
    }
    if (copy.faces.size() < faces)
        copy.faces.resize(faces);
}
