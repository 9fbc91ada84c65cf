#pragma once
// Drawing a large object with the helper threads.
#include "RenderContext.h"

// Draws the object described by `g` (its points and faces those of `object`) with the ready
// helpers: copies the object in, since its caller may change it once DrawObject returns while a
// helper whose piece was taken back still reads it, then transforms its points and works through
// its faces in pieces. The frame's triangle list comes out as the calling thread alone makes it.
void DrawShared(RenderContext& context, RenderThreads& threads, ObjectGeometry g, const Object3D& object);
