#pragma once
// The painter's order: the frame's (triangle index, depth key) pairs sorted by key, largest
// (farthest) first, by one particular quicksort whose order among equal keys other renderers of
// these frames reproduce.
#include "RenderContext.h"

#include <span>

// Sorts keys[lo..hi] (inclusive) in place.
void SortByDepth(std::span<SortKey> keys, int lo, int hi);

// Sorts the whole of `keys` into an order that draws exactly the frame SortByDepth's order
// draws, in linear time whenever it can: a radix sort gives the only descending order of the
// keys, which differs from the quicksort's at most among equal keys. Triangles with equal keys
// may be drawn in any order when no two of them can touch the same pixel (their screen
// rectangles, as the rasteriser can reach them, do not meet); otherwise the quicksort runs.
// `scratch` holds at least twice as many entries as `keys`; `triangles` are the frame's.
void SortFrameByDepth(std::span<SortKey> keys, std::span<SortKey> scratch,
                      std::span<const RenderTriangle> triangles);

// Whether DrawTriangle could write or read a pixel of both triangles.
bool FootprintsMayMeet(const RenderTriangle& a, const RenderTriangle& b);
