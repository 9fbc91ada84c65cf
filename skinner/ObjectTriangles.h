#pragma once
// The geometry stage's work on one object described by an ObjectGeometry, over any run of its
// points or faces: points into eye space and onto the screen, faces into the triangles that may
// show. DrawObject runs it on the calling thread alone; a large object is run in pieces by the
// helper threads too (DrawShared.h).
#include "RenderContext.h"

#include <cstddef>
#include <cstdint>

// Helpers look at their watch every so many points or faces; no piece of a job is smaller.
constexpr std::size_t ItemsBetweenLooks = 64;

// Transforms points first..last - 1 into `out`. On a helper, `watch` tells its progress; false
// when the piece was taken back (the rest left undone). Null on the calling thread.
bool TransformPoints(const ObjectGeometry& g, std::size_t first, std::size_t last, BandWatch* watch,
                     const TransformedPoints& out);

// Appends the triangles of every face to the frame's list, growing it when full.
void AppendFaces(const ObjectGeometry& g, const TransformedPoints& points, RenderContext& context);

// Puts the triangles of faces first..last - 1 into `room` (two entries a face is always enough)
// and their number into `count`; false when the helper's piece was taken back, as TransformPoints.
bool AppendFaces(const ObjectGeometry& g, const TransformedPoints& points, std::size_t first, std::size_t last,
                 BandWatch* watch, RenderTriangle* room, std::int32_t& count);

// Doubles the frame's triangle list (at least 1,024 entries) and the lists kept as long as it.
// No helper may be reading the draw list.
void GrowTriangleList(RenderContext& context);
