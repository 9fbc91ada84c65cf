// k3x dxf: imports a DXF mesh into the skinning editor's start object and saves it as .3do.
#include "DxfImport.h"
#include "EditorFrame.h"
#include "K3xCommand.h"
#include "ObjectFile.h"

#include <cstdio>

int RunDxf(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {});
    args.expectPositional(2);
    Object3D object;
    MakeStartObject(object);
    ImportDxf(args.positional[0], object);
    SaveObject(args.positional[1], object);
    std::printf("%s: %d points, %d faces\n", args.positional[1].c_str(), object.lastPoint + 1, object.lastFace + 1);
    return 0;
}
