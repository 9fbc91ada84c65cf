#include "DxfImport.h"

#include "DxfPairs.h"
#include "Errors.h"
#include "FatalError.h"
#include "K3xFiles.h"
#include "TextLine.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr std::size_t MaxCount = 65536; // indices are 16-bit
constexpr double CoordinateLimit = 2147483648.0; // what a signed 32-bit coordinate holds, in size

enum class ValueState { Good, NotANumber, OutOfRange };

// A value as the nearest integer of its single-precision value (halves to even).
ValueState integerValue(std::string_view text, std::int32_t& value)
{
    const std::optional<double> number = DxfReal(text);
    if (!number)
        return ValueState::NotANumber;
    const double single = static_cast<float>(*number);
    if (!(std::fabs(*number) < CoordinateLimit) || !(std::fabs(single) < CoordinateLimit))
        return ValueState::OutOfRange;
    value = static_cast<std::int32_t>(std::nearbyint(single));
    return ValueState::Good;
}

// A value that could not be used, remembered until a face takes it (header variables carry
// 1E+20 under the coordinate codes; they matter only when they would become a point).
struct BadValue {
    ValueState state = ValueState::Good;
    std::int64_t line = 0;
    std::string text;
};

[[noreturn]] void refuseValue(const std::string& name, const BadValue& bad)
{
    const std::string where = name + ", line " + std::to_string(bad.line) + ": ";
    if (bad.state == ValueState::NotANumber)
        throw FormatError(where + "'" + bad.text + "' is not a number");
    throw FormatError(where + bad.text + " is out of range: coordinates and colours lie between -2147483648 and " +
                      "2147483647");
}

std::string plural(std::int64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Why a text holds nothing to import, before its pairs are read; empty when it may.
std::string unreadable(std::string_view text, const std::string& name)
{
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return name + " is empty";
    if (IsBinaryDxf(text))
        return name + " is a binary DXF file: save it as ASCII DXF";
    DxfPairs pairs(text);
    DxfPair first;
    if (!pairs.next(first) || first.code < 0)
        return name + " is not a DXF file: it does not start with a group code and its value";
    return {};
}

// The entities a drawing holds that bear on the import.
struct EntityCounts {
    std::int64_t faces = 0;     // 3DFACE
    std::int64_t polyfaces = 0; // POLYLINE with the polyface flag (64 in code 70)
    std::int64_t meshes = 0;    // MESH
};

std::string noFaceMessage(const std::string& name, const EntityCounts& counts)
{
    if (counts.polyfaces == 0 && counts.meshes == 0)
        return name + " holds no 3D face (3DFACE entity)";
    std::string found;
    if (counts.polyfaces > 0)
        found = plural(counts.polyfaces, "polyface mesh (POLYLINE)", "polyface meshes (POLYLINE)");
    if (counts.meshes > 0)
        found += (found.empty() ? "" : " and ") + plural(counts.meshes, "MESH entity", "MESH entities");
    return name + " holds no 3D face (3DFACE entity), only " + found +
           ", which are not imported: export the mesh as 3D faces";
}

} // namespace

void ImportDxfText(std::string_view text, const std::string& name, Object3D& object)
{
    if (const std::string why = unreadable(text, name); !why.empty())
        throw FormatError(why);

    // corner[c][axis]: the latest value read for each of the twelve coordinates of this entity.
    std::array<std::array<std::int32_t, 3>, 4> corner{};
    std::array<std::array<BadValue, 3>, 4> badCorner; // no braces: clang 14 crashes compiling them here
    BadValue badColour;
    int flags = 0; // bit c x 3 + axis: read since the entity started
    std::int32_t colour = 0;
    std::string entity;
    EntityCounts counts;
    std::vector<std::int32_t> x, y, z;
    std::vector<Face> faces;

    DxfPairs pairs(text);
    DxfPair pair;
    while (pairs.next(pair)) {
        if (pair.code == 0) {
            // A new entity: no value of the one before may complete a face of this one.
            flags = 0;
            entity = NormaliseLine(pair.value);
            counts.faces += entity == "3DFACE";
            counts.meshes += entity == "MESH";
            continue;
        }
        if (pair.code == 70 && entity == "POLYLINE") {
            std::int32_t polylineFlags = 0;
            if (integerValue(pair.value, polylineFlags) == ValueState::Good && (polylineFlags & 64) != 0)
                ++counts.polyfaces;
            continue;
        }
        const int code = pair.code;
        const bool coordinate = code >= 10 && code <= 33 && code % 10 <= 3;
        // Corners count only inside a 3DFACE: other entities (the SOLID arrow heads of a
        // dimension, a LINE's ends, the LAYOUT's paper size) carry the same codes.
        if ((!coordinate || entity != "3DFACE") && code != 62)
            continue;
        std::int32_t value = 0;
        const ValueState state = integerValue(pair.value, value);
        const BadValue bad{state, pair.valueLine, state == ValueState::Good ? std::string() : std::string(pair.value)};
        if (code == 62) {
            colour = value;
            badColour = bad;
            continue;
        }
        // DXF X, Y, Z become the object's x, z, y.
        const int cornerIndex = code % 10, axis = code / 10 - 1;
        const int objectAxis = axis == 0 ? 0 : axis == 1 ? 2 : 1;
        corner[cornerIndex][objectAxis] = value;
        badCorner[cornerIndex][objectAxis] = bad;
        flags |= 1 << (cornerIndex * 3 + axis);
        if (flags != 0xfff)
            continue;

        flags = 0;
        if (badColour.state != ValueState::Good)
            refuseValue(name, badColour);
        for (const auto& values : badCorner)
            for (const BadValue& v : values)
                if (v.state != ValueState::Good)
                    refuseValue(name, v);
        const bool triangle = corner[2] == corner[3];
        const std::size_t p = x.size();
        const std::size_t newPoints = triangle ? 3 : 4;
        if (p + newPoints > MaxCount || faces.size() + (triangle ? 1 : 2) > MaxCount)
            throw FormatError(name + " holds more than 65536 points or faces, more than an object can keep");
        for (std::size_t c = 0; c < newPoints; ++c) {
            x.push_back(corner[c][0]);
            y.push_back(corner[c][1]);
            z.push_back(corner[c][2]);
        }
        Face face;
        face.texture = static_cast<std::uint16_t>(colour + 1);
        // The parity of the line pair that completed the face (the pair counter runs modulo 256).
        face.mapping = static_cast<std::int16_t>(pairs.pairsRead() % 256 % 2);
        face.doubleSided = 1;
        face.faceType = FacePlain;
        face.transparency = 0;
        const auto index = [&](std::size_t i) { return static_cast<std::uint16_t>(p + i); };
        face.p1 = index(0), face.p2 = index(1), face.p3 = index(2);
        faces.push_back(face);
        if (!triangle) {
            face.p1 = index(2), face.p2 = index(3), face.p3 = index(0);
            faces.push_back(face);
        }
    }
    if (counts.faces == 0)
        throw FormatError(noFaceMessage(name, counts));
    if (faces.empty())
        throw FormatError(name + " holds no complete 3D face (codes 10-13, 20-23 and 30-33 of all four corners)");

    Object3D imported;
    AllocateObject(imported, static_cast<std::int32_t>(x.size() - 1), static_cast<std::int32_t>(faces.size() - 1));
    imported.x = std::move(x);
    imported.y = std::move(y);
    imported.z = std::move(z);
    imported.faces = std::move(faces);
    object = std::move(imported);
}

void ImportDxf(const std::string& name, Object3D& object)
{
    const std::vector<std::uint8_t> bytes = ReadNamedFile(name);
    ImportDxfText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), name, object);
}
