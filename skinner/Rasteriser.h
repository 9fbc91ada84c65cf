#pragma once
// The triangle rasteriser: one RenderTriangle of the frame into the context's screen, flat or
// perspective-correct textured, lit by one level per triangle, optionally keyed (texels of colour
// 0 not drawn) and see-through. All integer arithmetic, nothing allocated.
#include "RenderContext.h"

#include <cstdint>

// Draws triangle `triangleIndex` of the frame with `texture` (128 x 128 bytes, row v at v x 128;
// flat triangles ignore it and may pass null). Sets context.subdivision.
void DrawTriangle(RenderContext& context, int triangleIndex, const std::uint8_t* texture);

// Sets triangle `t` up for drawing with `texture` (null for flat triangles); false when it draws
// nothing at all (outside the view, on one row, textured without an image). Leaves `setup.index`
// to the caller.
bool PrepareTriangle(const RenderContext& context, const RenderTriangle& t, const std::uint8_t* texture,
                     TriangleSetup& setup);

// Draws rows top..bottom - 1 of a triangle set up by PrepareTriangle, exactly the pixels
// DrawTriangle draws on those rows, and changes nothing else: threads may draw bands of rows of
// one frame at once. Into `pixels` when given, a block laid out as the screen's pixels (a
// helper's copy of the screen), else the screen. Reads only the setup, the per-view tables
// (which must be ready: EnsureRasteriserTables) and the view's size.
void DrawPreparedRows(RenderContext& context, const TriangleSetup& setup, std::int32_t top, std::int32_t bottom,
                      std::uint8_t* pixels = nullptr);

// PrepareTriangle then DrawPreparedRows.
void DrawTriangleRows(RenderContext& context, const RenderTriangle& t, const std::uint8_t* texture, std::int32_t top,
                      std::int32_t bottom);

// The precision factor DrawTriangle sets in context.subdivision for the triangle.
std::int32_t TriangleSubdivision(const RenderTriangle& t);

// A textured face so small that its normal does not survive the reduction by subdivision x 128
// would meet no eye ray and draw nothing, while the same face plain shows. It is set up instead
// as if its corners lay k times as far from the eye, which changes neither its screen points nor
// its texture coordinates: k = 2, 4, ... until the largest reduced component reaches 64 (the
// texture's scale then within a 64th), its corners staying within 16384 of the eye so that the
// plane's arithmetic keeps within 32 bits. Answers 1 for every other face.
std::int32_t SmallFaceScale(const RenderTriangle& t, std::int32_t subdivision);

// Builds the rasteriser's per-view tables after the view changed (SetView calls it, and
// DrawTriangle whenever the view's fields no longer match them).
void PrepareRasteriser(RenderContext& context);
void EnsureRasteriserTables(RenderContext& context);
