#include "ReferenceMerge.h"

namespace {

// Every index a face holds that follows a point: all three corners of a triangle, the anchor
// of a virtual face (its p2 and p3 are a width and a height).
void movePointIndex(Object3D& object, int from, int to)
{
    for (std::size_t f = 0; f <= object.lastFace; ++f) {
        Face& face = object.faces[f];
        if (face.p1 == from)
            face.p1 = static_cast<std::uint16_t>(to);
        if (face.faceType == FaceVirtual)
            continue;
        if (face.p2 == from)
            face.p2 = static_cast<std::uint16_t>(to);
        if (face.p3 == from)
            face.p3 = static_cast<std::uint16_t>(to);
    }
}

} // namespace

std::size_t ReferenceMergeCoincidentPoints(Object3D& object)
{
    std::size_t removed = 0;
    int i = 1;
    while (i <= object.lastPoint) {
        bool merged = false;
        for (int j = 0; j <= i - 1; ++j) {
            if (merged || object.x[i] != object.x[j] || object.y[i] != object.y[j] || object.z[i] != object.z[j])
                continue;
            movePointIndex(object, i, j);
            for (int k = i; k <= object.lastPoint - 1; ++k) {
                object.x[k] = object.x[k + 1];
                object.y[k] = object.y[k + 1];
                object.z[k] = object.z[k + 1];
                movePointIndex(object, k + 1, k);
            }
            --object.lastPoint;
            ++removed;
            merged = true;
        }
        ++i;
    }
    return removed;
}
