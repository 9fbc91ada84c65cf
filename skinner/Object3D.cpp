#include "Object3D.h"

#include "Errors.h"

#include <string>

namespace {

constexpr std::size_t StartPoints = 5001; // last indices 5000 and 15000
constexpr std::size_t StartFaces = 15001;

void growPoints(WorkingCopyState& state, std::size_t points)
{
    Object3D& copy = state.object;
    for (std::vector<std::int32_t>* axis : {&copy.x, &copy.y, &copy.z, &state.screenX, &state.screenY})
        axis->resize(points);
}

} // namespace

WorkingCopyState& WorkingCopy()
{
    static WorkingCopyState copy = [] {
        WorkingCopyState start;
        start.object.lastPoint = static_cast<std::uint16_t>(StartPoints - 1);
        start.object.lastFace = static_cast<std::uint16_t>(StartFaces - 1);
        growPoints(start, StartPoints);
        start.object.faces.resize(StartFaces);
        return start;
    }();
    return copy;
}

void EnsureWorkingCopyHolds(std::size_t points, std::size_t faces)
{
    WorkingCopyState& state = WorkingCopy();
    if (state.object.x.size() < points)
        growPoints(state, points + 1);
    if (state.object.faces.size() < faces)
        state.object.faces.resize(faces + 1);
}

void AllocateObject(Object3D& object, std::int32_t lastPoint, std::int32_t lastFace)
{
    if (lastPoint < 0 || lastFace < 0 || lastPoint == INT32_MAX || lastFace == INT32_MAX)
        throw OrmelError("An object needs at least one point and one face, not " + std::to_string(lastPoint + 1LL) +
                         " and " + std::to_string(lastFace + 1LL));
    const std::size_t points = static_cast<std::size_t>(lastPoint) + 1;
    const std::size_t faces = static_cast<std::size_t>(lastFace) + 1;
    EnsureWorkingCopyHolds(points, faces);
    FreeObject(object);
    object.x.assign(points, 0);
    object.y.assign(points, 0);
    object.z.assign(points, 0);
    object.faces.assign(faces, Face{});
    object.lastPoint = static_cast<std::uint16_t>(lastPoint);
    object.lastFace = static_cast<std::uint16_t>(lastFace);
}

void FreeObject(Object3D& object) { object = Object3D{}; }
