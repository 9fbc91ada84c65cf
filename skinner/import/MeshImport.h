#pragma once
// Importing a mesh file of another format as a 3D object: the reader chosen by the file (DXF
// drawings by the suite's own reader, everything else through Assimp), then the conversion. The
// skinning editor's import runs `k3x import-mesh`, a thin call on this, as a child process.
#include "MeshConvert.h"

#include <string>

// The file's triangles and materials. IoError when the file cannot be read; FormatError naming it
// when it is not a mesh the import reads.
MeshSoup ReadMeshFile(const std::string& path);
// The soup simplified to `options.maxFaces` when it has more and that is asked, then converted.
// MeshTooLargeError when the object would still need more points or faces than it can hold.
ImportedMesh ImportMeshSoup(const MeshSoup& soup, const MeshImportOptions& options, const MeshSkin& skin,
                            const std::string& name);
// Both.
ImportedMesh ImportMeshFile(const std::string& path, const MeshImportOptions& options, const MeshSkin& skin);
