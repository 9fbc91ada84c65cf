#pragma once
// What k3x info and k3x check say about a 3D object: counts, extent, skins and broken faces.
#include "Object3D.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

struct ObjectSummary {
    std::size_t points = 0, faces = 0;
    std::array<std::int32_t, 3> lowest{}, highest{}; // x, y, z over every point
    std::array<std::size_t, 4> byType{};             // FaceTextured .. FacePlain
    std::size_t otherTypes = 0;                      // face types the renderer does not know
    std::size_t doubleSided = 0, transparent = 0;
    std::map<std::uint16_t, std::size_t> textures;   // texture number -> faces (types 0 to 2)
    std::map<std::uint16_t, std::size_t> colours;    // colour -> plain faces
    std::size_t brokenFaces = 0;                     // naming points the object does not have
    std::size_t firstBrokenFace = 0;
};

// A face names only points of the object; a virtual face holds its width and height in p2, p3.
bool FacePointsInside(const Face& face, std::size_t pointCount);

ObjectSummary SummariseObject(const Object3D& object);
