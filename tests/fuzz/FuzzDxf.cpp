// DXF meshes: any text either imports into an object whose faces name only its own points, or is
// refused with a FormatError; the object survives a .3do round trip, and draws.
#include "DxfImport.h"
#include "Errors.h"
#include "FuzzRender.h"
#include "FuzzSupport.h"
#include "ObjectFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Object3D object;
    try {
        ImportDxfText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.dxf", object);
    } catch (const FormatError&) {
        return 0;
    }
    const std::size_t points = object.pointCount();
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        const Face& face = object.faces[f];
        FuzzCheck(face.p1 < points && face.p2 < points && face.p3 < points);
    }
    Object3D reread;
    DecodeObject(EncodeObject(object), "fuzz.3do", reread);
    FuzzCheck(reread.x == object.x && reread.y == object.y && reread.z == object.z && reread.faces == object.faces);
    RenderFuzzedObject(object);
    return 0;
}
