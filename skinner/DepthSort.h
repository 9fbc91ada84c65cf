#pragma once
// The painter's order: the frame's (triangle index, depth key) pairs sorted by key, largest
// (farthest) first, by one particular quicksort whose order among equal keys other renderers of
// these frames reproduce.
#include "RenderContext.h"

#include <span>

// Sorts keys[lo..hi] (inclusive) in place.
void SortByDepth(std::span<SortKey> keys, int lo, int hi);

// Sorts the whole of `keys` into exactly the order SortByDepth gives, faster when no two keys
// are equal: the order is then the only descending one, which a radix sort finds in linear
// time. When some keys are equal (their order is the quicksort's own), the quicksort runs.
// `scratch` holds at least twice as many entries as `keys`.
void SortFrameByDepth(std::span<SortKey> keys, std::span<SortKey> scratch);
