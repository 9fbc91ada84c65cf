#include "ObjectTools.h"

#include <algorithm>
#include <utility>

namespace {

template <typename Change>
void forEachFace(Object3D& object, Change change)
{
    for (std::size_t f = 0; f < object.faceCount(); ++f)
        change(object.faces[f]);
}

template <typename Change>
void forEachPoint(Object3D& object, Change change)
{
    for (std::size_t p = 0; p < object.pointCount(); ++p)
        change(object.x[p], object.y[p], object.z[p]);
}

// Whether every point index of the face lies within the object's points.
bool namesOnlyPointsOf(const Face& face, const Object3D& object)
{
    const std::size_t points = object.pointCount();
    if (face.faceType == FaceVirtual)
        return face.p1 < points; // p2 and p3 are its width and height
    return face.p1 < points && face.p2 < points && face.p3 < points;
}

// Coordinates wrap in 32 bits as they do in the file: negating the lowest value gives it back.
std::int32_t negated(std::int32_t c) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(c)); }

// Every face but the virtual ones takes the type and the texture (or colour).
void skinAllTriangles(Object3D& object, std::uint16_t faceType, std::uint16_t texture)
{
    forEachFace(object, [faceType, texture](Face& face) {
        if (face.faceType == FaceVirtual)
            return;
        face.texture = texture;
        face.faceType = faceType;
    });
}

} // namespace

void ColourAllFaces(Object3D& object, std::uint8_t colour) { skinAllTriangles(object, FacePlain, colour); }

void TextureAllFaces(Object3D& object, std::uint16_t texture) { skinAllTriangles(object, FaceTextured, texture); }

void SetAllTransparency(Object3D& object, std::uint16_t transparency)
{
    forEachFace(object, [transparency](Face& face) { face.transparency = transparency; });
}

void SetAllDoubleSided(Object3D& object, std::int16_t doubleSided)
{
    forEachFace(object, [doubleSided](Face& face) { face.doubleSided = doubleSided; });
}

void ReplaceColour(Object3D& object, std::int32_t sample, std::uint8_t colour)
{
    if (sample < 0 || static_cast<std::size_t>(sample) >= object.faceCount())
        return;
    const std::uint16_t old = object.faces[static_cast<std::size_t>(sample)].texture;
    forEachFace(object, [old, colour](Face& face) {
        if (face.faceType == FacePlain && face.texture == old)
            face.texture = colour;
    });
}

void TurnFacesOver(Object3D& object)
{
    forEachFace(object, [](Face& face) {
        if (face.faceType != FaceVirtual)
            std::swap(face.p1, face.p3);
    });
}

void MirrorObject(Object3D& object, Axis axis)
{
    forEachPoint(object, [axis](std::int32_t& x, std::int32_t& y, std::int32_t& z) {
        std::int32_t& c = axis == Axis::X ? x : axis == Axis::Y ? y : z;
        c = negated(c);
    });
}

void QuarterTurn(Object3D& object, Axis axis)
{
    forEachPoint(object, [axis](std::int32_t& x, std::int32_t& y, std::int32_t& z) {
        const std::int32_t ox = x, oy = y, oz = z;
        switch (axis) {
        case Axis::Z:
            x = negated(oy);
            y = ox;
            break;
        case Axis::X:
            y = negated(oz);
            z = oy;
            break;
        case Axis::Y:
            x = negated(oz);
            z = ox;
            break;
        }
    });
}

SkinTakeOver TakeOverSkin(Object3D& object, const Object3D& other)
{
    SkinTakeOver result;
    const std::size_t faces = std::min(object.faceCount(), other.faceCount());
    for (std::size_t f = 0; f < faces; ++f) {
        if (!namesOnlyPointsOf(other.faces[f], object)) {
            ++result.skipped;
            continue;
        }
        object.faces[f] = other.faces[f];
        ++result.taken;
    }
    return result;
}
