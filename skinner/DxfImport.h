#pragma once
// Importing meshes from DXF text files: pairs of lines, a group code and its value. Only these
// codes are read, wherever they stand in the file (no section, entity or layer is looked at):
//
//   10 11 12 13   X of corners 1..4   -> x of the face's points
//   20 21 22 23   Y of corners 1..4   -> z (the DXF's Y is the object's depth)
//   30 31 32 33   Z of corners 1..4   -> y (the DXF's vertical Z is the object's up axis)
//   62            colour number, kept until the next 62
//
// A face is made whenever all twelve coordinates have been read since the previous face: two
// triangles (P, P+1, P+2) and (P+2, P+3, P), or one when corners 3 and 4 are the same point.
// Values are decimal numbers, rounded to single precision and then to the nearest integer.
#include "Object3D.h"

#include <string>
#include <string_view>

// Replaces `object` by a new object holding the file's faces, each plain (texture = colour + 1,
// colour 0 before any code 62), double-sided, opaque, its mapping the parity of the line pair
// that completed it. A file that is missing, that holds no complete face, more than 65536 points
// or faces, or a coordinate that is not a number throws an OrmelError naming the file, and
// `object` is left as it was.
void ImportDxf(const std::string& name, Object3D& object);
// The same from text held in memory; `name` names it in messages.
void ImportDxfText(std::string_view text, const std::string& name, Object3D& object);
