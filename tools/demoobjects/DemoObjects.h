#pragma once
// The demo installation's 3D objects, built from code: a small house that shows every kind of
// face, a large textured torus, and a lathe-turned vase written as a DXF mesh for the import.
// The benchmarks build their meshes here too.
#include "Object3D.h"

#include <cstdint>
#include <string>
#include <vector>

// Texture numbers of the bank the objects are skinned with.
struct DemoSkins {
    std::uint16_t bricks = 0, roof = 0, wood = 0, stone = 0, grass = 0, tiles = 0, metal = 0, marble = 0;
    std::uint16_t grate = 0;    // has see-through holes (colour 0)
    std::uint16_t water = 0;    // animated
    std::uint16_t conveyor = 0; // animated, four frames
};

// About 130 faces: textured walls and roof, a keyed fence (double-sided), plain door and chimney,
// a see-through pond, a double-sided flag and two virtual signs.
Object3D BuildHouse(const DemoSkins& skins);

// A torus of rings x sides quads (two textured faces each) whose outer edge reaches `outer`
// units from its centre; the textures change in bands round the ring.
Object3D BuildTorus(int rings, int sides, std::int32_t outer, const std::vector<std::uint16_t>& textures);

// A sphere of `slices` x `stacks` cells round the Y axis, `radius` units from its centre, all of
// one texture: 2 x slices x (stacks - 1) faces, the cells at the poles being single triangles.
// Each cell shows the whole texture; the cells' faces are thin and oblique near the rim, the
// benchmarks' hardest case for a rasteriser.
Object3D BuildSphere(int slices, int stacks, std::int32_t radius, std::uint16_t texture);

// A vase turned on a lathe, as the 3DFACE entities of a DXF file: coloured bands of four-cornered
// faces and a base of three-cornered ones.
std::string BuildVaseDxf();
