#pragma once
// The triangle rasteriser written as plainly as its rules read, one step after another with no
// tables or specialised loops. The tests hold the renderer's own rasteriser to it pixel for pixel
// and the benchmarks measure against it; no program uses it.
#include "RenderContext.h"

#include <cstdint>

void ReferenceDrawTriangle(RenderContext& context, int triangleIndex, const std::uint8_t* texture);
