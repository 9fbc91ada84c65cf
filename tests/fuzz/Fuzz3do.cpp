// 3D objects (.3do): any bytes either give an object of the counts the file states, or a
// FormatError; the object writes back to the bytes it came from, draws, and goes through the
// skinning editor's whole-object tools, which never make a face name a point that is not there.
#include "Errors.h"
#include "FuzzRender.h"
#include "FuzzSupport.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "PointMerge.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace {

// For each face, whether all three corners name points of the object (virtual faces: p1 only).
std::vector<bool> facesInside(const Object3D& object)
{
    std::vector<bool> inside;
    const std::size_t points = object.pointCount();
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        const Face& face = object.faces[f];
        inside.push_back(face.p1 < points &&
                         (face.faceType == FaceVirtual || (face.p2 < points && face.p3 < points)));
    }
    return inside;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Object3D object;
    try {
        DecodeObject(std::span<const std::uint8_t>(data, size), "fuzz.3do", object);
    } catch (const FormatError&) {
        return 0;
    }
    const std::vector<std::uint8_t> written = EncodeObject(object);
    FuzzCheck(written.size() <= size && std::equal(written.begin(), written.end(), data));
    RenderFuzzedObject(object);

    // The merge keeps every sound face sound, on the same places.
    const std::vector<bool> before = facesInside(object);
    Object3D merged = object;
    MergeCoincidentPoints(merged);
    const std::vector<bool> after = facesInside(merged);
    for (std::size_t f = 0; f < before.size(); ++f)
        FuzzCheck(!before[f] || (after[f] && merged.x[merged.faces[f].p1] == object.x[object.faces[f].p1]));

    const Face& first = object.faces[0];
    ReplaceColour(merged, first.p1, static_cast<std::uint8_t>(first.texture));
    TurnFacesOver(merged);
    MirrorObject(merged, static_cast<Axis>(first.mapping & 1));
    QuarterTurn(merged, static_cast<Axis>(first.doubleSided & 1 ? 2 : first.mapping & 1));
    TakeOverSkin(merged, object);
    RenderFuzzedObject(merged);
    return 0;
}
