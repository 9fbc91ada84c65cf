#pragma once
// The whole-object tools of the skinning editor: each changes every face (or every point) of
// the object at once, in place. None asks or reports anything.
#include "Object3D.h"

#include <cstddef>
#include <cstdint>

// Every triangle becomes plain in `colour`. Virtual faces keep their type, texture and size.
void ColourAllFaces(Object3D& object, std::uint8_t colour);
// Every triangle becomes textured (type 0) with `texture`. Virtual faces are left alone.
void TextureAllFaces(Object3D& object, std::uint16_t texture);
void SetAllTransparency(Object3D& object, std::uint16_t transparency);
// 1: every face is drawn from both sides; 0: only from its front.
void SetAllDoubleSided(Object3D& object, std::int16_t doubleSided);

// Every plain face whose colour is the `texture` field of face `sample` (whatever that face's
// type) gets `colour`. Faces of other types keep their texture even when it has that number.
// Nothing happens when `sample` is not a face of the object.
void ReplaceColour(Object3D& object, std::int32_t sample, std::uint8_t colour);

// Turns every triangle over by exchanging p1 and p3; virtual faces stay as they are.
void TurnFacesOver(Object3D& object);

enum class Axis { X, Y, Z };
// Negates one coordinate of every point.
void MirrorObject(Object3D& object, Axis axis);
// A quarter turn of every point about the axis: about Z, x = -y and y = x; about X, y = -z and
// z = y; about Y, x = -z and z = x. Four turns give the points back.
void QuarterTurn(Object3D& object, Axis axis);

// What TakeOverSkin did: faces that took the other's record, and faces whose record was not taken
// because it names a point the object does not have.
struct SkinTakeOver {
    std::size_t taken = 0;
    std::size_t skipped = 0;
};

// Takes over the skin of an earlier version of the same mesh, face by face in index order: face i
// takes the whole record of the other object's face i while the other has one. A record that
// names a point the object does not have is not taken: that face keeps its own.
SkinTakeOver TakeOverSkin(Object3D& object, const Object3D& other);
