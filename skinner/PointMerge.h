#pragma once
// Merging coincident points: points whose x, y and z are all exactly equal become one, and the
// faces that used the removed ones use the point that stays.
#include "Object3D.h"

#include <cstddef>

// One run of the merge. Points are examined in order from index 1; a point that coincides with
// an earlier one is removed, its faces re-pointed to the first earlier point at the same place,
// and the points after it move down by one. The point that moves into a removed point's index is
// not examined in the same run (so three points at one place need two runs); running the merge
// again takes what is left.
//
// Corners of triangles and the anchor p1 of virtual faces follow their points; a virtual face's
// width and height (p2, p3) are left alone, as is any index beyond lastPoint. Takes time linear
// in points plus faces. Answers the number of points removed.
std::size_t MergeCoincidentPoints(Object3D& object);
