#pragma once
// Changes the skinning editor makes to the one face being edited: each control of the face panel
// is one of these calls, which the form wraps in an undoable step.
#include "Object3D.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The texture number (types 0 to 2) or the colour number (a plain face): the low 16 bits.
void SetFaceTexture(Face& face, std::int32_t texture);

// A texture the face shows: the number, and a plain face becomes textured (type 0); faces of the
// other types keep theirs. `points` is the object's count, as ChangeFaceType takes it.
void GiveFaceTexture(Face& face, std::int32_t texture, std::size_t points);

// 1 when drawn from both sides, else 0.
void SetFaceDoubleSided(Face& face, bool doubleSided);

// Percent of see-through blending, as the transparency bar gives it (0 to 100).
void SetFaceTransparency(Face& face, int transparency);

// A virtual face's width (p2) or height (p3) in object units.
enum class VirtualSide { Width, Height };
void SetVirtualFaceSize(Face& face, VirtualSide side, std::uint16_t size);

// Gives the face a new type. A virtual face made a triangle holds a width and a height where
// point indices belong: a p2 or p3 that names no point (`points` is the object's count) becomes
// p1, so the triangle names only points that are there.
void ChangeFaceType(Face& face, std::uint16_t faceType, std::size_t points);

// The next of the four ways to lay the texture on the face: 0, 1, 2, 3, then 0 again.
void NextMapping(Face& face);

// Moves the texture's corners round the face without turning it over: p1 takes p2, p2 takes p3,
// p3 takes p1.
void RotateFacePoints(Face& face);

// A virtual face's width or height as typed: a whole number ("12", "-3", "$1F"), kept in 16 bits.
// Nothing when the text is not a whole number.
std::optional<std::uint16_t> FaceSizeFromText(std::string_view text);
