#pragma once
// Turning a mesh of another format into a 3D object: axes turned so that the object stands
// upright, scaled so that its largest extent is `size` units, standing on the origin (its lowest
// point at height 0, centred on the vertical axis), corners rounded to whole units and shared
// (one point per distinct position), triangles left without area dropped, faces wound to face out
// and skinned from the mesh's colours and textures.
#include "MeshSkin.h"
#include "MeshSoup.h"
#include "Errors.h"
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
    std::size_t maxFaces = 0; // more triangles than this are simplified to it first; 0: none
};

// An object would need more than 65,536 points or faces: simplifying the model can make it fit.
class MeshTooLargeError : public FormatError {
public:
    using FormatError::FormatError;
};

struct ImportedMesh {
    Object3D object;
    std::size_t droppedTriangles = 0; // triangles that kept no area after rounding
    // Of those, the ones that had an area before (they collapsed at this size), and the smallest
    // size (up to 1,000,000) at which none would: 0 when none collapsed or no size keeps them.
    std::size_t collapsedTriangles = 0;
    int keepingSize = 0;
    std::vector<std::int32_t> faceMaterial; // each face's material in the soup, or -1
};

// How a texture is laid on a face: the turn of its corners (p1 takes corner `turn`) and the
// `mapping` (0..3). The renderer lays texel (0, 0) on p1, the top right on p2 and the bottom right
// on p3, then mirrors by the mapping's bits: of the twelve ways, the one whose corners come
// closest to where the model's texture coordinates put them.
struct TextureLay {
    int turn = 0;
    int mapping = 0;
    double distance = 0; // the squared distances of the corners from where the model puts them, summed
};
TextureLay ClosestTextureLay(const std::array<MeshUv, 3>& uv);

// FormatError naming `name` when no triangle keeps an area, or when the object would need more
// than 65,536 points or faces (the message says how many). Faces keep their material's opacity as
// transparency, and a textured face the corner order and mapping closest to its texture
// coordinates.
ImportedMesh ConvertMesh(const MeshSoup& soup, const MeshImportOptions& options, const MeshSkin& skin,
                         const std::string& name);

// The up axis a file of this name has once read: Z for .stl and .dxf, else Y.
UpAxis UsualUpAxis(const std::string& name);
