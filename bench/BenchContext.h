#pragma once
// Render contexts for the renderer's benchmarks: a bank of eight noisy textures with see-through
// texels, and tables that spread colours about (their contents do not change the work done).
#include "EditorFrame.h"
#include "Object3D.h"
#include "RenderContext.h"

#include <memory>

// The bench bank's textures; the torus takes the first BenchTorusTextures in bands.
constexpr int BenchTextureCount = 16;
constexpr int BenchTorusTextures = 8;

std::unique_ptr<RenderContext> MakeBenchContext(int width, int height);

// The sphere the renderer is measured on against its peer: 2 x slices x (stacks - 1) faces of
// texture 0, radius 1,000. Seen at 1,310 units it spans 295 pixels from the centre of a 640 x 480
// view with focal factor 256: about 82% of the view, cut at the top and bottom; only the cap
// that faces the eye shows, about an eighth of the faces.
const Object3D& BenchSphere(int slices, int stacks);
// The same with textures 0..textures - 1 in turn, face after face: a texture change at every
// triangle, as a model skinned face by face gives.
const Object3D& BenchSphereOfTextures(int slices, int stacks, int textures);
// Tilted towards the eye so that the top pole shows.
EditorView BenchSphereView();

// A torus of rings x sides quads (2 x rings x sides faces) of textures 0..BenchTorusTextures - 1,
// reaching 1,520 units from its centre; 96 x 28 is the demo's large object.
const Object3D& BenchTorus(int rings, int sides);
// From above, so that the torus fills about three quarters of the view.
EditorView BenchTorusView();

// The share of the screen's pixels that are not colour 0.
double CoveredShare(const RenderContext& context);
