#include "MeshImport.h"

#include "AssimpMesh.h"
#include "DxfMesh.h"
#include "DxfPairs.h"
#include "Errors.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "MeshSimplify.h"

MeshSoup ReadMeshFile(const std::string& path)
{
    if (!FileExists(path))
        throw IoError(path + ": the file does not exist or cannot be read");
    if (!HasExtension(path, ".dxf"))
        return ReadAssimpMesh(path);
    // Assimp's DXF reader leaves out MESH entities and colours: DXF drawings take our own.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (IsBinaryDxf(text))
        throw FormatError(path + ": a binary DXF file; save the drawing as a text (ASCII) DXF");
    return ReadDxfMesh(text, path);
}

ImportedMesh ImportMeshSoup(const MeshSoup& soup, const MeshImportOptions& options, const MeshSkin& skin,
                            const std::string& name)
{
    if (options.maxFaces > 0 && soup.triangles.size() > options.maxFaces)
        return ConvertMesh(SimplifyMesh(soup, options.maxFaces, name), options, skin, name);
    return ConvertMesh(soup, options, skin, name);
}

ImportedMesh ImportMeshFile(const std::string& path, const MeshImportOptions& options, const MeshSkin& skin)
{
    return ImportMeshSoup(ReadMeshFile(path), options, skin, path);
}
