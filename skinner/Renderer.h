#pragma once
// The software renderer's operations. A frame: SetCamera, AddLight..., DrawObject...,
// RenderScene; the triangle list then stays for PickFace until the next SetCamera.
#include "Object3D.h"
#include "RenderContext.h"

#include <cstdint>

// (Re)creates the screen for a view of width x height pixels, takes its colours from the bank
// palette, and sets the view: centre (width div 2, height div 2), focal factors width x 128 div 320
// and height x 128 div 240, span step width div 10, near distance 10, room for 100000 triangles.
// Views narrower than 12 pixels or lower than 2 are refused (OrmelError), the old one kept.
void ResizeView(RenderContext& context, int width, int height);
void SetView(RenderContext& context, int centreX, int centreY, int focalX, int focalY, int spanStep, int nearZ,
             int capacity);
// Also tells RenderScene that the screen holds nothing but `colour`: helper threads then start
// their bands from it (on a screen drawn on since, the calling thread draws the frame alone).
void ClearScreen(RenderContext& context, std::uint8_t colour);
// Starts a frame: the camera's position and angles, no lights, no triangles.
void SetCamera(RenderContext& context, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
               std::int32_t pitch, std::int32_t roll);
// Lights beyond the 256th of a frame are ignored.
void AddLight(RenderContext& context, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius);
// Appends the object's visible faces to the frame's triangle list.
void DrawObject(RenderContext& context, const Object3D& object, std::int32_t offsetX, std::int32_t offsetY,
                std::int32_t offsetZ, std::int32_t yaw, std::int32_t pitch, std::int32_t roll, std::int32_t ambient,
                std::int32_t transparencyBias, std::int32_t objectId);
// Draws one triangle of the frame with its texture image (null for flat triangles).
using TriangleDrawer = void (*)(RenderContext& context, int triangleIndex, const std::uint8_t* texture);

// Lights, sorts far to near and draws the frame's triangles, with DrawTriangle unless told
// otherwise (the benchmarks and tests pass the plain rasteriser).
void RenderScene(RenderContext& context, TriangleDrawer draw = nullptr);

struct PickedFace {
    std::int32_t objectId = -1;
    std::int32_t faceIndex = -1;
};
// The nearest triangle of the last frame that covers pixel (x, y) of the view; -1, -1 for none.
PickedFace PickFace(const RenderContext& context, int x, int y);

// How many threads draw each frame's triangles, each taking horizontal bands of rows in turn; the
// frame is the same whatever the number. 0 (the start value) takes one per processor, 1 draws on
// the calling thread alone. The geometry, lighting and ordering stay on the calling thread.
void SetRenderThreads(RenderContext& context, int threads);

// Waits until no helper thread still draws a band of an earlier frame, which it may do for as
// long as the system leaves it unscheduled (the frame itself never waits for it). Whoever changes
// what the helpers read, the bank's images and tables or the view, calls it first; the renderer
// does for the view.
void SettleRenderThreads(RenderContext& context);

// The 100 ms animation step of every texture 0..lastTexture.
void AnimateTextures(RenderContext& context);
