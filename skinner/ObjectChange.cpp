#include "ObjectChange.h"

#include <algorithm>
#include <cstddef>

namespace {

template <typename T>
bool sameFirst(const std::vector<T>& a, const std::vector<T>& b, std::size_t count)
{
    return std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(count), b.begin());
}

template <typename T>
std::vector<T> first(const std::vector<T>& values, std::size_t count)
{
    return {values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count)};
}

template <typename T>
void exchange(std::vector<T>& held, std::vector<T>& own)
{
    std::swap_ranges(held.begin(), held.end(), own.begin());
}

} // namespace

ObjectPart ChangedPart(const Object3D& before, const Object3D& after)
{
    if (before.lastPoint != after.lastPoint || before.lastFace != after.lastFace)
        return ObjectPart::Whole;
    const std::size_t points = before.pointCount();
    const bool samePoints = sameFirst(before.x, after.x, points) && sameFirst(before.y, after.y, points) &&
                            sameFirst(before.z, after.z, points);
    const bool sameFaces = sameFirst(before.faces, after.faces, before.faceCount());
    if (samePoints)
        return sameFaces ? ObjectPart::Nothing : ObjectPart::Faces;
    return sameFaces ? ObjectPart::Points : ObjectPart::Whole;
}

Object3D UsedPart(const Object3D& object)
{
    Object3D part;
    part.lastPoint = object.lastPoint;
    part.lastFace = object.lastFace;
    part.x = first(object.x, object.pointCount());
    part.y = first(object.y, object.pointCount());
    part.z = first(object.z, object.pointCount());
    part.faces = first(object.faces, object.faceCount());
    return part;
}

void ExchangeFaces(Object3D& object, std::vector<Face>& held) { exchange(held, object.faces); }

void ExchangePoints(Object3D& object, ObjectPoints& held)
{
    exchange(held.x, object.x);
    exchange(held.y, object.y);
    exchange(held.z, object.z);
}

