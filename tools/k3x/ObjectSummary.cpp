#include "ObjectSummary.h"

#include <algorithm>

bool FacePointsInside(const Face& face, std::size_t pointCount)
{
    if (face.faceType == FaceVirtual)
        return face.p1 < pointCount;
    return face.p1 < pointCount && face.p2 < pointCount && face.p3 < pointCount;
}

ObjectSummary SummariseObject(const Object3D& object)
{
    ObjectSummary summary;
    summary.points = object.pointCount();
    summary.faces = object.faceCount();
    for (std::size_t i = 0; i < summary.points; ++i) {
        const std::array<std::int32_t, 3> p{object.x[i], object.y[i], object.z[i]};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            summary.lowest[axis] = i == 0 ? p[axis] : std::min(summary.lowest[axis], p[axis]);
            summary.highest[axis] = i == 0 ? p[axis] : std::max(summary.highest[axis], p[axis]);
        }
    }
    for (std::size_t k = 0; k < summary.faces; ++k) {
        const Face& face = object.faces[k];
        if (face.faceType < summary.byType.size())
            ++summary.byType[face.faceType];
        else
            ++summary.otherTypes;
        if (face.faceType == FacePlain)
            ++summary.colours[face.texture];
        else
            ++summary.textures[face.texture];
        summary.doubleSided += face.doubleSided != 0 ? 1 : 0;
        summary.transparent += face.transparency != 0 ? 1 : 0;
        if (!FacePointsInside(face, summary.points) && summary.brokenFaces++ == 0)
            summary.firstBrokenFace = k;
    }
    return summary;
}
