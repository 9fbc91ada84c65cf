#pragma once
// Importing meshes from DXF text files (pairs of lines, a group code and its value; DxfPairs.h).
// The corners of every 3DFACE entity become points, and the colour number is kept from wherever
// it last appeared:
//
//   10 11 12 13   X of corners 1..4   -> x of the face's points
//   20 21 22 23   Y of corners 1..4   -> z (the DXF's Y is the object's depth)
//   30 31 32 33   Z of corners 1..4   -> y (the DXF's vertical Z is the object's up axis)
//   62            colour number, kept until the next 62
//
// A face is made when all twelve coordinates of one 3DFACE have been read: two triangles
// (P, P+1, P+2) and (P+2, P+3, P), or one when corners 3 and 4 are the same point. Every group
// code 0 starts a new entity and forgets the corners read so far, so values of other entities
// never complete a face. Values are decimal numbers, rounded to single precision and then to the
// nearest integer.
#include "Object3D.h"

#include <string>
#include <string_view>

// Replaces `object` by a new object holding the file's faces, each plain (texture = colour + 1,
// colour 0 before any code 62), double-sided, opaque, its mapping the parity of the line pair
// that completed it. Throws an OrmelError naming the file, and leaves `object` as it was, for a
// file that is missing, a folder, empty, binary DXF, not DXF at all, without a 3DFACE (saying how
// many polyface and MESH entities it holds instead), without a complete face, with more than
// 65536 points or faces, or with a face value that is not a number or out of range.
void ImportDxf(const std::string& name, Object3D& object);
// The same from text held in memory; `name` names it in messages.
void ImportDxfText(std::string_view text, const std::string& name, Object3D& object);
