#pragma once
// Importing a mesh file of another format as a 3D object: the reader chosen by the file (DXF
// drawings by the suite's own reader, everything else through Assimp), then the conversion. The
// skinning editor's import runs `k3x import-mesh`, a thin call on this, as a child process.
#include "MeshConvert.h"

#include <string>

// IoError when the file cannot be read; FormatError naming it when it is not a mesh the import
// reads or its object would be too large.
ImportedMesh ImportMeshFile(const std::string& path, const MeshImportOptions& options, const MeshSkin& skin);
