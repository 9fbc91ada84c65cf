#pragma once
// The 3D object: integer points and triangular faces, each face carrying its own skin (texture
// or flat colour, placement, sides, transparency). The editor holds one; the renderer holds its
// own WorkingCopy, into which every drawn object's faces and transformed points are copied.
#include <cstddef>
#include <cstdint>
#include <vector>

enum FaceTypeValue : std::uint16_t {
    FaceTextured = 0,      // textured triangle p1, p2, p3
    FaceTexturedKeyed = 1, // textured; texels of colour 0 are not drawn
    FaceVirtual = 2,       // a p2 x p3 rectangle standing at point p1, always facing the eye
    FacePlain = 3,         // one flat colour, `texture` being the colour number
};

// One face as it lies in memory and on disk: 16 bytes, every field little-endian in the file.
struct Face {
    std::uint16_t p1 = 0;      // first point; for a virtual face the point it stands at
    std::uint16_t p2 = 0;      // second point; for a virtual face its width in object units
    std::uint16_t p3 = 0;      // third point; for a virtual face its height
    std::uint16_t texture = 0; // texture number (types 0..2) or palette colour (type 3)
    std::int16_t mapping = 0;  // 0..3: bit 0 and bit 1 each mirror the texture along one axis
    std::int16_t doubleSided = 0;
    std::uint16_t faceType = 0;     // FaceTypeValue
    std::uint16_t transparency = 0; // 0..100 percent

    bool operator==(const Face&) const = default;
};
static_assert(sizeof(Face) == 16);

// Counts are held as last indices, so an object has at least one point and one face (a new or
// freed object holds one point at the origin and one zero face). They are the object's one size:
// every walk over its points or faces goes to pointCount() or faceCount(). The arrays hold at
// least that many, more when the object was allocated larger than it is (the editor's start
// object is allocated large and then holds a single triangle); whoever fills them keeps it so.
struct Object3D {
    std::uint16_t lastPoint = 0;
    std::uint16_t lastFace = 0;
    std::vector<std::int32_t> x{0}, y{0}, z{0}; // object space: X right, Y up, Z away from the eye
    std::vector<Face> faces{Face{}};

    std::size_t pointCount() const { return static_cast<std::size_t>(lastPoint) + 1; }
    std::size_t faceCount() const { return static_cast<std::size_t>(lastFace) + 1; }
};

// Makes `object` a new object with room for lastPoint + 1 points and lastFace + 1 zero-filled
// faces (coordinates are zero-filled too), after making sure the renderer's WorkingCopy can take
// it. The header keeps the low 16 bits of both indices.
void AllocateObject(Object3D& object, std::int32_t lastPoint, std::int32_t lastFace);
void FreeObject(Object3D& object);

// The renderer's private object, into which every drawn object's faces and transformed points are
// copied. The process starts with room for 5001 points and 15001 faces; its arrays' lengths are
// its room.
struct WorkingCopyState {
    Object3D object;
    // The renderer's screen position of every point in front of the near distance, as long as
    // the point arrays.
    std::vector<std::int32_t> screenX, screenY;
};
WorkingCopyState& WorkingCopy();

// The copy's one growth rule: when an object needs more points or more faces than the copy has
// room for, that array grows to one more than the object needs (a copy made for last indices
// lastPoint + 1 and lastFace + 1); it never shrinks. AllocateObject asks it for every object, and
// the renderer again before it copies one in.
void EnsureWorkingCopyHolds(std::size_t points, std::size_t faces);
