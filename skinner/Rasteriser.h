#pragma once
// The triangle rasteriser: one RenderTriangle of the frame into the context's screen, flat or
// perspective-correct textured, lit by one level per triangle, optionally keyed (texels of colour
// 0 not drawn) and see-through. All integer arithmetic, nothing allocated.
#include "RenderContext.h"

#include <cstdint>

// Draws triangle `triangleIndex` of the frame with `texture` (128 x 128 bytes, row v at v x 128;
// flat triangles ignore it and may pass null). Sets context.subdivision.
void DrawTriangle(RenderContext& context, int triangleIndex, const std::uint8_t* texture);

// Builds the rasteriser's per-view tables after the view changed (SetView calls it, and
// DrawTriangle whenever the view's fields no longer match them).
void PrepareRasteriser(RenderContext& context);
