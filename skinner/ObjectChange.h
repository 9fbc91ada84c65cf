#pragma once
// What a whole-object tool changed, so that an undo step keeps only that: the faces (16 bytes
// each: 1 MB for 65,536 faces), the points (12 bytes each), or the whole object when its counts
// changed (the point merge). A step keeps the other state of the part it changed and exchanges
// it with the object's on undo and redo, element by element, allocating nothing.
#include "Object3D.h"

#include <cstdint>
#include <vector>

enum class ObjectPart { Nothing, Faces, Points, Whole };

// Which part differs between `before` and `after`, counting only the points and faces in use.
ObjectPart ChangedPart(const Object3D& before, const Object3D& after);

// A copy of the object's points and faces in use and no more (the editor's start object has room
// for 150,001 points): what a tool works on before its change is kept.
Object3D UsedPart(const Object3D& object);

struct ObjectPoints {
    std::vector<std::int32_t> x, y, z;
};

// Exchange `held` with the object's faces or points in use; `held` has exactly as many entries as
// the object has faces or points.
void ExchangeFaces(Object3D& object, std::vector<Face>& held);
void ExchangePoints(Object3D& object, ObjectPoints& held);

