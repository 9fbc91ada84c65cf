#pragma once
// Which faces the skinning editor's controls act on, and the ways of choosing them: by their skin,
// by the edges they share, by how flat they lie together, and by a box drawn over the view.
#include "Object3D.h"
#include "RenderContext.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One flag per face of the object, 1 for a selected face.
using FaceFlags = std::vector<std::uint8_t>;

std::size_t CountSelected(const FaceFlags& flags);
// Every face selected: `count` flags of 1.
inline FaceFlags AllFaces(std::size_t count) { return FaceFlags(count, 1); }
std::vector<std::uint32_t> SelectedFaces(const FaceFlags& flags);

// Each point's place: points at the same coordinates get the same number (the lowest index among
// them). Meshes repeat points along material and texture seams; faces meeting there still touch.
std::vector<std::uint32_t> PointPlaces(const Object3D& object);

// Every face with the type and the texture number of face `sample` (for plain faces the number
// is their colour). Nothing when `sample` is not a face of the object.
FaceFlags SelectSameSkin(const Object3D& object, std::int32_t sample);

// The selection grown across shared edges, again and again until nothing more joins. Two faces
// share an edge when two of their corners lie at the same two places, whether or not they name
// the same points (meshes repeat points along material and texture seams). Virtual faces and
// faces naming points the object lacks share no edges.
void SelectConnected(const Object3D& object, FaceFlags& flags);

// The selection grown across the shared edges whose two faces lie within `degrees` of each other
// (the angle between their planes' normals), again and again.
void SelectFlatRegion(const Object3D& object, FaceFlags& flags, double degrees = 10);

// What each pixel of the box of view pixels from (left, top) to (right, bottom) shows in the last
// frame drawn: the face of the nearest triangle there (by the depth keys a pick compares; among
// equal keys the later triangle, as a pick has it), -1 where none is. Row by row, the box clipped
// to the view: answers its width too (0 for an empty box).
struct ShownFaces {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::int32_t> faces;
    std::vector<std::uint32_t> depth; // the nearest key at each pixel while searching
};
ShownFaces FacesShown(const RenderContext& context, int left, int top, int right, int bottom);
// The same into `shown`, whose room is kept from one frame to the next.
void FacesShown(const RenderContext& context, int left, int top, int right, int bottom, ShownFaces& shown);

// The faces of the last frame drawn (the context's triangle list) that show in the box of view
// pixels from (left, top) to (right, bottom), both corners included: those with a pixel in the box
// that no nearer triangle covers. The frame holds only what faces the eye (single-sided faces seen
// from behind are not drawn), so nothing hidden behind the front is taken. Each face once, in
// increasing order.
std::vector<std::int32_t> FacesInBox(const RenderContext& context, int left, int top, int right, int bottom);
// The same from what a larger box showed (the whole view, kept while the frame stands).
std::vector<std::int32_t> FacesInBox(const ShownFaces& shown, int left, int top, int right, int bottom);
