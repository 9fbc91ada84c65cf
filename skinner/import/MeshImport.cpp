#include "MeshImport.h"

#include "AssimpMesh.h"
#include "Errors.h"
#include "K3xFiles.h"

ImportedMesh ImportMeshFile(const std::string& path, const MeshImportOptions& options, const MeshSkin& skin)
{
    if (!FileExists(path))
        throw IoError(path + ": the file does not exist or cannot be read");
    return ConvertMesh(ReadAssimpMesh(path), options, skin, path);
}
