// k3x import-mesh IN OUT.3do [--size N] [--up y|z] [--bank BANK.def]: a mesh of another format
// (OBJ, STL, PLY, glTF, FBX, Collada, 3DS, DXF ...) becomes a 3D object.
#include "K3xCommand.h"

#include "MeshImport.h"
#include "ObjectFile.h"
#include "FileResolver.h"

#include <cstdio>

namespace {

UpAxis parseUp(const std::string& text)
{
    if (text == "y")
        return UpAxis::Y;
    if (text == "z")
        return UpAxis::Z;
    throw UsageError("--up takes y or z, not " + text);
}

} // namespace

int RunImportMesh(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"size", "up", "bank"});
    args.expectPositional(2);
    const std::string& in = args.positional[0];
    const std::string& out = args.positional[1];
    if (!HasExtension(out, ".3do"))
        throw UsageError("the output must be a .3do file, not " + out);
    MeshImportOptions options;
    const long long size = args.number("size", options.size);
    if (size < 1 || size > 1000000)
        throw UsageError("--size takes a whole number from 1 to 1000000, not " + std::to_string(size));
    options.size = static_cast<int>(size);
    options.up = args.has("up") ? parseUp(args.option("up")) : UsualUpAxis(in);
    const MeshSkin skin = args.has("bank") ? LoadMeshSkin(args.option("bank")) : DemoMeshSkin();
    const ImportedMesh mesh = ImportMeshFile(in, options, skin);
    SaveObject(out, mesh.object);
    std::printf("%s: %zu points, %zu faces", out.c_str(), mesh.object.pointCount(), mesh.object.faceCount());
    if (mesh.droppedTriangles > 0)
        std::printf(" (%zu triangles without area dropped)", mesh.droppedTriangles);
    std::printf("\n");
    return 0;
}
