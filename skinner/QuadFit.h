#pragma once
// "Fit textures to quads": pairs of triangles that make one flat four-cornered face (as modellers
// split every quad in two) get the point order and mapping with which one whole texture covers
// the quad without a seam, upright on upright quads.
#include "FaceSelection.h"
#include "Object3D.h"

#include <cstddef>

// Within `faces` (flags as long as the object's faces), every two triangles that share an edge,
// are seen from the same side, lie in one plane (their normals within 1 degree) and together
// make a convex quad are laid out as quad Q0 Q1 Q2 Q3 (in the faces' own turning order, so each
// keeps its front side): the one with the lower index becomes Q0 Q1 Q2 with mapping 0, the other
// Q2 Q3 Q0 with mapping 1 (the texture turned by half a turn), so that texel (0, 0) lies at Q0,
// the texture's top edge along Q0 Q1 and its bottom edge along Q3 Q2. Q0 is the corner that puts
// that top edge highest (toward +Y); on level quads, farthest toward +Z. The pair's diagonal
// becomes Q0 Q2 (the quad is flat, so it shows the same). Where a triangle could pair with more
// than one neighbour, the pairs along the longest shared edges (a rectangle's diagonal) come
// first. Other faces, virtual faces and faces naming points the object lacks are left as they
// are. Answers the number of quads fitted.
std::size_t FitTexturesToQuads(Object3D& object, const FaceFlags& faces);
