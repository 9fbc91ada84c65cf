#pragma once
// What the geometry stage reads to draw one object: the view, the frame's camera, the object
// with its placement, and where its points go once transformed. DrawObject fills it once; the
// points and the faces are then worked through it, by the calling thread alone or in pieces by
// helper threads too, which see nothing else.
#include "Angles.h"
#include "AnimTexture.h"
#include "Object3D.h"

#include <cstddef>
#include <cstdint>

struct ObjectGeometry {
    // The view.
    std::int32_t focalX, focalY, centreX, centreY, maxX, maxY, nearZ;
    // The frame's camera.
    std::int32_t cameraX, cameraY, cameraZ;
    RotationMatrix cameraMatrix;
    bool cameraTurned; // a camera that is not turned leaves points where they are
    // The object, object space; its placement and how it is drawn.
    const std::int32_t *x, *y, *z;
    const Face* faces;
    std::size_t points, faceCount;
    RotationMatrix rotation;
    bool turned;
    std::int32_t offsetX, offsetY, offsetZ, yaw, ambient, transparencyBias, objectId;
    const AnimTexture* textures; // the bank's, for the frames of virtual faces
};

// The object's points transformed: in eye space, and on the screen for those in front of the
// near distance (the others' screen entries are left as they were).
struct TransformedPoints {
    std::int32_t *x, *y, *z, *screenX, *screenY;
};
