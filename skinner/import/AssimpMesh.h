#pragma once
// Reading meshes of today's formats through Assimp: OBJ (with its MTL), STL, PLY, glTF 2.0,
// FBX, Collada, 3DS and the others Assimp knows. Every node's placement is applied, polygons
// are cut into triangles, points and lines are left out.
#include "MeshSoup.h"

#include <cstdint>
#include <span>
#include <string>

// The file and the files it names (an OBJ's MTL, a glTF's buffers). FormatError naming the file
// and Assimp's reason when it cannot be read or holds no triangle.
MeshSoup ReadAssimpMesh(const std::string& path);
// The same from memory; `hint` is the format's usual extension ("obj", "glb", ...). Files that
// name other files find none.
MeshSoup ReadAssimpMeshFromMemory(std::span<const std::uint8_t> file, const std::string& hint, const std::string& name);
