#include "AssimpMesh.h"

#include "Errors.h"

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cmath>

namespace {

// Triangles only, in the scene's own units, every node's transform applied; the structure is
// checked, so an index outside its mesh is an error and never read.
constexpr unsigned Steps = aiProcess_Triangulate | aiProcess_PreTransformVertices | aiProcess_SortByPType |
                           aiProcess_ValidateDataStructure;

std::uint8_t channel(float v)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(std::isfinite(v) ? v : 0.0f, 0.0f, 1.0f) * 255));
}

MeshColour colourOf(const aiColor4D& c) { return {channel(c.r), channel(c.g), channel(c.b)}; }

MeshMaterial materialOf(const aiMaterial& material)
{
    MeshMaterial out;
    aiColor4D colour;
    if (material.Get(AI_MATKEY_BASE_COLOR, colour) == AI_SUCCESS ||
        material.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS)
        out.colour = colourOf(colour);
    aiString path;
    for (aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}) {
        if (material.GetTexture(type, 0, &path) == AI_SUCCESS && path.length > 0) {
            out.textureFile = path.C_Str();
            break;
        }
    }
    return out;
}

MeshSoup soupOf(const aiScene* scene, const std::string& name)
{
    MeshSoup soup;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m)
        soup.materials.push_back(materialOf(*scene->mMaterials[m]));
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& mesh = *scene->mMeshes[i];
        if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE))
            continue;
        const aiColor4D* colours = mesh.mColors[0];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3)
                continue;
            MeshTriangle triangle;
            triangle.material = mesh.mMaterialIndex < soup.materials.size() ? static_cast<int>(mesh.mMaterialIndex) : -1;
            aiColor4D sum(0, 0, 0, 0);
            for (int c = 0; c < 3; ++c) {
                const unsigned v = face.mIndices[c];
                if (v >= mesh.mNumVertices)
                    throw FormatError(name + ": a face names a point the mesh does not have");
                const aiVector3D& p = mesh.mVertices[v];
                triangle.corners[c] = {p.x, p.y, p.z};
                if (colours)
                    sum = sum + colours[v];
            }
            if (colours)
                triangle.vertexColour = colourOf(sum / 3.0f);
            soup.triangles.push_back(triangle);
        }
    }
    if (soup.triangles.empty())
        throw FormatError(name + " holds no triangle to import");
    return soup;
}

std::string reasonOf(const Assimp::Importer& importer)
{
    const std::string reason = importer.GetErrorString();
    return reason.empty() ? "not a mesh the import reads" : reason;
}

} // namespace

MeshSoup ReadAssimpMesh(const std::string& path)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, Steps);
    if (!scene)
        throw FormatError(path + ": " + reasonOf(importer));
    return soupOf(scene, path);
}

MeshSoup ReadAssimpMeshFromMemory(std::span<const std::uint8_t> file, const std::string& hint, const std::string& name)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(file.data(), file.size(), Steps, hint.c_str());
    if (!scene)
        throw FormatError(name + ": " + reasonOf(importer));
    return soupOf(scene, name);
}
