#pragma once
// A mesh as the readers of other formats hand it over, before it becomes an object: triangles
// with real-number corners in the file's own axes and units, and what colours them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MeshColour {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const MeshColour&) const = default;
};

struct MeshMaterial {
    std::string name;
    std::optional<MeshColour> colour; // the diffuse colour, when the file gives one
    std::string textureFile;          // the diffuse texture's file name as the file writes it
    // A texture held inside the model file (glTF binary, FBX): its picture file's bytes, and the
    // name it goes by (the model's own, else "texture" and its number).
    std::vector<std::uint8_t> embeddedTexture;
    double opacity = 1;               // 1 opaque, 0 wholly see-through
};

using MeshPoint = std::array<double, 3>;
// Where a corner lies on the material's texture: 0..1 across, 0..1 from the bottom up (the
// picture repeats outside).
using MeshUv = std::array<double, 2>;

struct MeshTriangle {
    std::array<MeshPoint, 3> corners{};
    std::int32_t material = -1;             // index into MeshSoup::materials, or -1
    std::optional<MeshColour> vertexColour; // the corners' own colours, averaged
    std::optional<std::array<MeshUv, 3>> uv;
};

struct MeshSoup {
    std::vector<MeshTriangle> triangles;
    std::vector<MeshMaterial> materials;
};
