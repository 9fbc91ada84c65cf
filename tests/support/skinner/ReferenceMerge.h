#pragma once
// The merge of coincident points written step by step as the rule reads, for the tests and the
// benchmarks to hold MergeCoincidentPoints to. Its time grows with the square of the points plus,
// for every removal, the later points times the faces.
#include "Object3D.h"

#include <cstddef>

std::size_t ReferenceMergeCoincidentPoints(Object3D& object);
