#pragma once
// Turning a mesh of another format into a 3D object: axes turned so that the object stands
// upright, scaled so that its largest extent is `size` units, standing on the origin (its lowest
// point at height 0, centred on the vertical axis), corners rounded to whole units and shared
// (one point per distinct position), triangles left without area dropped, faces wound to face out
// and skinned from the mesh's colours and textures.
#include "MeshSkin.h"
#include "MeshSoup.h"
#include "Object3D.h"

#include <cstddef>
#include <string>

enum class UpAxis {
    Y, // the file's Y is up and its front looks along +Z (OBJ, glTF, FBX, PLY; Collada and 3DS
       // files too, which Assimp turns to Y up as it reads them)
    Z, // the file's Z is up and its front looks along -Y (STL, DXF and CAD programs)
};

struct MeshImportOptions {
    int size = 1000; // the largest extent, in object units (1 or more)
    UpAxis up = UpAxis::Y;
};

struct ImportedMesh {
    Object3D object;
    std::size_t droppedTriangles = 0; // triangles that kept no area after rounding
};

// FormatError naming `name` when no triangle keeps an area, or when the object would need more
// than 65,536 points or faces (the message says how many).
ImportedMesh ConvertMesh(const MeshSoup& soup, const MeshImportOptions& options, const MeshSkin& skin,
                         const std::string& name);

// The up axis a file of this name has once read: Z for .stl and .dxf, else Y.
UpAxis UsualUpAxis(const std::string& name);
