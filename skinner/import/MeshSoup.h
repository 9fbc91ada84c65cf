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
    std::optional<MeshColour> colour; // the diffuse colour, when the file gives one
    std::string textureFile;          // the diffuse texture's file name as the file writes it
};

using MeshPoint = std::array<double, 3>;

struct MeshTriangle {
    std::array<MeshPoint, 3> corners{};
    std::int32_t material = -1;             // index into MeshSoup::materials, or -1
    std::optional<MeshColour> vertexColour; // the corners' own colours, averaged
};

struct MeshSoup {
    std::vector<MeshTriangle> triangles;
    std::vector<MeshMaterial> materials;
};
