#include "AssimpMesh.h"

#include "ColladaPlacements.h"
#include "Errors.h"
#include "K3xFiles.h"

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cmath>
#include <cstring>
#include <fstream>
#include <new>

namespace {

// Read first with the structure checked, so that an index outside its mesh is an error and never
// read, and the work the rest would do is counted; then triangles only, in the scene's own units,
// every node's transform applied.
constexpr unsigned FirstSteps = aiProcess_ValidateDataStructure;
constexpr unsigned LaterSteps = aiProcess_Triangulate | aiProcess_PreTransformVertices | aiProcess_SortByPType;

// A few kilobytes of nodes placing nodes can ask for millions of copies of a mesh: the copies are
// counted before they are made. Far more triangles than an object holds (65,536), so that a large
// model can still be simplified to fit, yet few enough to hold in memory.
constexpr unsigned long long MostPlacements = 100000;
constexpr unsigned long long MostTriangles = 4000000;

std::uint8_t channel(float v)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(std::isfinite(v) ? v : 0.0f, 0.0f, 1.0f) * 255));
}

MeshColour colourOf(const aiColor4D& c) { return {channel(c.r), channel(c.g), channel(c.b)}; }

// The picture file of an embedded texture: compressed ones (PNG, JPEG ...) as they are; plain
// texels (blue, green, red, alpha) as an uncompressed TGA picture, which the picture import reads.
std::vector<std::uint8_t> pictureOf(const aiTexture& texture)
{
    if (texture.mHeight == 0) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(texture.pcData);
        return {bytes, bytes + texture.mWidth};
    }
    const unsigned w = std::min(texture.mWidth, 16384u), h = std::min(texture.mHeight, 16384u);
    std::vector<std::uint8_t> tga{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8), 32, 8 | 32};
    tga.reserve(tga.size() + static_cast<std::size_t>(w) * h * 4);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            const aiTexel& t = texture.pcData[static_cast<std::size_t>(y) * texture.mWidth + x];
            tga.insert(tga.end(), {t.b, t.g, t.r, t.a});
        }
    return tga;
}

MeshMaterial materialOf(const aiScene& scene, const aiMaterial& material)
{
    MeshMaterial out;
    aiString name;
    if (material.Get(AI_MATKEY_NAME, name) == AI_SUCCESS)
        out.name = name.C_Str();
    aiColor4D colour;
    if (material.Get(AI_MATKEY_BASE_COLOR, colour) == AI_SUCCESS ||
        material.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS)
        out.colour = colourOf(colour);
    float opacity = 1;
    if (material.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && std::isfinite(opacity))
        out.opacity = std::clamp(opacity, 0.0f, 1.0f);
    aiString path;
    for (aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}) {
        if (material.GetTexture(type, 0, &path) != AI_SUCCESS || path.length == 0)
            continue;
        out.textureFile = path.C_Str();
        if (const aiTexture* embedded = scene.GetEmbeddedTexture(path.C_Str())) {
            out.embeddedTexture = pictureOf(*embedded);
            const std::string own = embedded->mFilename.length > 0 ? embedded->mFilename.C_Str() : "";
            if (out.textureFile.starts_with("*"))
                out.textureFile = own.empty() ? "texture" + out.textureFile.substr(1) : own;
        }
        break;
    }
    return out;
}

// The placements of meshes and the triangles they make before anything is copied or cut up: a
// polygon of n corners makes n - 2 triangles.
struct Work {
    unsigned long long placements = 0, triangles = 0;
};

void count(const aiScene& scene, const aiNode& node, Work& work, int depth)
{
    if (depth > 1000)
        throw FormatError("nodes placed more than 1,000 deep");
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        if (node.mMeshes[i] >= scene.mNumMeshes)
            continue;
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        ++work.placements;
        for (unsigned f = 0; f < mesh.mNumFaces && work.triangles <= MostTriangles; ++f)
            work.triangles += mesh.mFaces[f].mNumIndices > 2 ? mesh.mFaces[f].mNumIndices - 2 : 0;
        if (work.placements > MostPlacements || work.triangles > MostTriangles)
            return;
    }
    for (unsigned c = 0; c < node.mNumChildren && work.placements <= MostPlacements && work.triangles <= MostTriangles; ++c)
        count(scene, *node.mChildren[c], work, depth + 1);
}

[[noreturn]] void refuseManyPlacements(const std::string& name)
{
    throw FormatError(name + " places its parts more than 100,000 times (parts placed within parts multiply "
                             "them); the import takes no more");
}

// Collada's reader makes every placement while it reads, so its placements are counted from the
// text before it starts.
void checkColladaText(std::span<const std::uint8_t> file, const std::string& name)
{
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    if (!LooksLikeCollada(text))
        return;
    try {
        if (ColladaPlacements(text, MostPlacements) > MostPlacements)
            refuseManyPlacements(name);
    } catch (const FormatError& error) {
        if (std::string_view(error.what()).starts_with(name))
            throw;
        throw FormatError(name + ": " + error.what());
    }
}

// Whether the file's first kilobytes are a Collada document's start (the reader knows it by
// content, whatever the file's name).
bool startsLikeCollada(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return LooksLikeCollada(head);
}

void checkWork(const aiScene& scene, const std::string& name)
{
    Work work;
    try {
        if (scene.mRootNode)
            count(scene, *scene.mRootNode, work, 0);
    } catch (const FormatError& error) {
        throw FormatError(name + ": " + error.what());
    }
    if (work.placements > MostPlacements)
        refuseManyPlacements(name);
    if (work.triangles > MostTriangles)
        throw FormatError(name + " makes more than 4,000,000 triangles; the import takes no more");
}

MeshSoup soupOf(const aiScene* scene, const std::string& name)
{
    MeshSoup soup;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m)
        soup.materials.push_back(materialOf(*scene, *scene->mMaterials[m]));
    bool pointsOrLines = false;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& mesh = *scene->mMeshes[i];
        if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) {
            pointsOrLines = true;
            continue;
        }
        const aiColor4D* colours = mesh.mColors[0];
        const aiVector3D* uvs = mesh.mTextureCoords[0];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3)
                continue;
            MeshTriangle triangle;
            triangle.material = mesh.mMaterialIndex < soup.materials.size() ? static_cast<int>(mesh.mMaterialIndex) : -1;
            aiColor4D sum(0, 0, 0, 0);
            std::array<MeshUv, 3> uv{};
            for (int c = 0; c < 3; ++c) {
                const unsigned v = face.mIndices[c];
                if (v >= mesh.mNumVertices)
                    throw FormatError(name + ": a face names a point the mesh does not have");
                const aiVector3D& p = mesh.mVertices[v];
                triangle.corners[c] = {p.x, p.y, p.z};
                if (colours)
                    sum = sum + colours[v];
                if (uvs)
                    uv[c] = {uvs[v].x, uvs[v].y};
            }
            if (colours)
                triangle.vertexColour = colourOf(sum / 3.0f);
            if (uvs)
                triangle.uv = uv;
            soup.triangles.push_back(triangle);
        }
    }
    if (soup.triangles.empty())
        throw FormatError(name + (pointsOrLines ? ": the model holds points or lines but no faces"
                                                : " holds no triangle to import"));
    return soup;
}

// Assimp's reason in the suite's words where we know it; else Assimp's own, as the reader's.
std::string reasonOf(const Assimp::Importer& importer)
{
    const std::string reason = importer.GetErrorString();
    const auto says = [&reason](const char* text) { return reason.find(text) != std::string::npos; };
    if (reason.empty() || says("No suitable reader found"))
        return "not a model in a format the import reads";
    if (says("is a POINT") || says("is a LINE"))
        return "the model holds points or lines but no faces";
    if (says("out of range"))
        return "a face names a point the model does not have (the file may be cut short)";
    if (says("bad_alloc") || says("out of memory"))
        return "not enough memory to read the model";
    if (says("Unable to open file") || says("Cannot open file"))
        return "a file the model names cannot be opened (" + reason + ")";
    return "the model cannot be read (" + reason + ")";
}

MeshSoup read(Assimp::Importer& importer, const aiScene* scene, const std::string& name)
{
    if (!scene)
        throw FormatError(name + ": " + reasonOf(importer));
    checkWork(*scene, name);
    scene = importer.ApplyPostProcessing(LaterSteps);
    if (!scene)
        throw FormatError(name + ": " + reasonOf(importer));
    return soupOf(scene, name);
}

} // namespace

MeshSoup ReadAssimpMesh(const std::string& path)
{
    try {
        if (startsLikeCollada(path))
            checkColladaText(ReadWholeFile(path), path);
        Assimp::Importer importer;
        return read(importer, importer.ReadFile(path, FirstSteps), path);
    } catch (const std::bad_alloc&) {
        throw FormatError(path + ": not enough memory to read the model");
    }
}

MeshSoup ReadAssimpMeshFromMemory(std::span<const std::uint8_t> file, const std::string& hint, const std::string& name)
{
    try {
        checkColladaText(file, name);
        Assimp::Importer importer;
        return read(importer, importer.ReadFileFromMemory(file.data(), file.size(), FirstSteps, hint.c_str()), name);
    } catch (const std::bad_alloc&) {
        throw FormatError(name + ": not enough memory to read the model");
    }
}
