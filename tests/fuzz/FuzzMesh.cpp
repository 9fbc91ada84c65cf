// Meshes of other formats: any bytes, read by Assimp from memory (which tells the format from the
// contents), either become an object whose faces name only its own points (and that survives a .3do
// round trip and draws), or are refused with an OrmelError.
#include "AssimpMesh.h"
#include "Errors.h"
#include "FuzzRender.h"
#include "FuzzSupport.h"
#include "MeshConvert.h"
#include "ObjectFile.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The file stays whole, so that seeds are real files; its size picks the options.
    const MeshImportOptions options{1 + static_cast<int>(size % 4000), size % 2 ? UpAxis::Z : UpAxis::Y};
    ImportedMesh mesh;
    try {
        const MeshSoup soup = ReadAssimpMeshFromMemory(std::span<const std::uint8_t>(data, size), "", "fuzz");
        mesh = ConvertMesh(soup, options, DemoMeshSkin(), "fuzz");
    } catch (const OrmelError&) {
        return 0;
    }
    const Object3D& object = mesh.object;
    const std::size_t points = object.pointCount();
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        const Face& face = object.faces[f];
        FuzzCheck(face.p1 < points && face.p2 < points && face.p3 < points);
    }
    Object3D reread;
    DecodeObject(EncodeObject(object), "fuzz.3do", reread);
    FuzzCheck(reread.x == object.x && reread.faces == object.faces);
    RenderFuzzedObject(object);
    return 0;
}
