#pragma once
// The painter's order: the frame's (triangle index, depth key) pairs sorted by key, largest
// (farthest) first, by one particular quicksort whose order among equal keys other renderers of
// these frames reproduce.
#include "RenderContext.h"

#include <span>

// Sorts keys[lo..hi] (inclusive) in place.
void SortByDepth(std::span<SortKey> keys, int lo, int hi);
