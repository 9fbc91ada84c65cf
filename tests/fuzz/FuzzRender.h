#pragma once
// Draws a fuzzed object as the skinning editor does, into a small view with the editor's stand-in
// bank, from straight ahead and from a turn taken from the object itself; then picks and outlines
// faces. The context is made once: it holds over a megabyte of tables.
#include "EditorFrame.h"
#include "Object3D.h"
#include "Renderer.h"

#include <memory>

inline void RenderFuzzedObject(const Object3D& object)
{
    static const auto context = [] {
        auto made = std::make_unique<RenderContext>();
        ResizeView(*made, 64, 48);
        SetBankPlaceholders(made->bank);
        return made;
    }();
    EditorView view;
    DrawEditorFrame(*context, object, view);
    if (object.pointCount() > 0) {
        view.yaw = object.x[0];
        view.pitch = object.y[0];
        view.roll = object.z[0];
        view.distance = object.x[object.pointCount() - 1];
        view.height = object.y[object.pointCount() - 1];
    }
    DrawEditorFrame(*context, object, view);
    const PickedFace picked = PickFace(*context, 32, 24);
    std::uint8_t highlight = 0;
    OutlineFace(*context, picked.faceIndex, HighlightColours{255, 1}, highlight);
    OutlineFace(*context, static_cast<std::int32_t>(object.faceCount()) - 1, HighlightColours{255, 1}, highlight);
}
