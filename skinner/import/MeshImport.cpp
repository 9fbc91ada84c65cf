#include "MeshImport.h"

#include "AssimpMesh.h"
#include "DxfMesh.h"
#include "DxfPairs.h"
#include "Errors.h"
#include "FileResolver.h"
#include "K3xFiles.h"

ImportedMesh ImportMeshFile(const std::string& path, const MeshImportOptions& options, const MeshSkin& skin)
{
    if (!FileExists(path))
        throw IoError(path + ": the file does not exist or cannot be read");
    if (!HasExtension(path, ".dxf"))
        return ConvertMesh(ReadAssimpMesh(path), options, skin, path);
    // Assimp's DXF reader leaves out MESH entities and colours: DXF drawings take our own.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (IsBinaryDxf(text))
        throw FormatError(path + ": a binary DXF file; save the drawing as a text (ASCII) DXF");
    return ConvertMesh(ReadDxfMesh(text, path), options, skin, path);
}
