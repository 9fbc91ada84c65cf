#pragma once
// A virtual face: a rectangle standing at one point of the object and always turned to the eye,
// showing the image of its texture's run that belongs to the direction it is seen from.
#include "RenderContext.h"

// The two triangles of virtual face `face` (standing at point p1, p2 wide and p3 high), from the
// transformed points, each with the face's fields given in `fields`; false when it shows nothing
// (behind the viewer, a texture outside the bank, a run of no images). The camera roll is not
// followed (the editor always draws with roll 0).
bool VirtualFaceTriangles(const ObjectGeometry& g, const Face& face, const TransformedPoints& points,
                          const RenderTriangle& fields, RenderTriangle (&pair)[2]);
