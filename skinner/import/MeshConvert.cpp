#include "MeshConvert.h"

#include "Errors.h"
#include "FileResolver.h"
#include "MeshOrientation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>

namespace {

constexpr std::size_t MaxCount = 65536; // point and face indices are 16-bit

using WholePoint = std::array<std::int32_t, 3>;

// The object's axes are X right, Y up, Z away from the eye: a left-handed frame, so turning a
// right-handed file upright also mirrors one axis, which keeps the shape as drawn (not mirrored)
// and reverses the winding of its faces.
MeshPoint upright(const MeshPoint& p, UpAxis up)
{
    return up == UpAxis::Y ? MeshPoint{p[0], p[1], -p[2]} : MeshPoint{p[0], p[2], p[1]};
}

// A coordinate in a message: "1e+308", not its 309 digits.
std::string shortText(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct Placement {
    double scale = 1;
    MeshPoint offset{}; // subtracted before scaling
};

Placement placementFor(const MeshSoup& soup, const MeshImportOptions& options, const std::string& name)
{
    MeshPoint low, high;
    low.fill(std::numeric_limits<double>::infinity());
    high.fill(-std::numeric_limits<double>::infinity());
    for (const MeshTriangle& t : soup.triangles)
        for (const MeshPoint& corner : t.corners) {
            const MeshPoint p = upright(corner, options.up);
            for (int a = 0; a < 3; ++a) {
                if (std::isnan(p[a]))
                    throw FormatError(name + ": a point has a coordinate that is not a number");
                if (std::isinf(p[a]))
                    throw FormatError(name + ": a point has a coordinate too large for a number (an overflow)");
                low[a] = std::min(low[a], p[a]);
                high[a] = std::max(high[a], p[a]);
            }
        }
    const double extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    // Points farther apart than a double holds (1e308 and -1e308) overflow the extent: that is
    // no flat mesh, and the message says what it is.
    if (std::isinf(extent))
        throw FormatError(name + ": the mesh is too large: the distance between its points overflows (coordinates from " +
                          shortText(*std::min_element(low.begin(), low.end())) + " to " +
                          shortText(*std::max_element(high.begin(), high.end())) + ")");
    if (!(extent > 0))
        throw FormatError(name + ": the mesh has no extent (all its points are one point)");
    Placement placement;
    placement.scale = options.size / extent;
    // Halves first: the sum of two coordinates near the largest double would overflow.
    placement.offset = {low[0] / 2 + high[0] / 2, low[1], low[2] / 2 + high[2] / 2};
    return placement;
}

WholePoint rounded(const MeshPoint& p, const Placement& place)
{
    WholePoint out;
    for (int a = 0; a < 3; ++a)
        out[a] = static_cast<std::int32_t>(std::nearbyint((p[a] - place.offset[a]) * place.scale));
    return out;
}

bool hasArea(const WholePoint& a, const WholePoint& b, const WholePoint& c)
{
    const std::int64_t ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
    const std::int64_t vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
    return uy * vz - uz * vy != 0 || uz * vx - ux * vz != 0 || ux * vy - uy * vx != 0;
}

struct PointHash {
    std::size_t operator()(const WholePoint& p) const
    {
        std::uint64_t h = std::uint32_t(p[0]);
        h = h * 0x9e3779b97f4a7c15ull ^ std::uint32_t(p[1]);
        h = h * 0x9e3779b97f4a7c15ull ^ std::uint32_t(p[2]);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

Face skinOf(const MeshTriangle& t, const MeshSoup& soup, const MeshSkin& skin)
{
    Face face;
    const MeshMaterial* material =
        t.material >= 0 && static_cast<std::size_t>(t.material) < soup.materials.size() ? &soup.materials[t.material]
                                                                                         : nullptr;
    if (material)
        if (const auto texture = TextureFor(skin, material->textureFile)) {
            face.faceType = FaceTextured;
            face.texture = static_cast<std::uint16_t>(*texture);
            return face;
        }
    constexpr MeshColour plainGrey{200, 200, 200};
    const MeshColour colour = t.vertexColour ? *t.vertexColour
                              : material && material->colour ? *material->colour
                                                             : plainGrey;
    face.faceType = FacePlain;
    face.texture = static_cast<std::uint16_t>(FlatColourFor(skin, colour));
    return face;
}

} // namespace

ImportedMesh ConvertMesh(const MeshSoup& soup, const MeshImportOptions& options, const MeshSkin& skin,
                         const std::string& name)
{
    const Placement place = placementFor(soup, options, name);
    ImportedMesh out;
    std::unordered_map<WholePoint, std::uint32_t, PointHash> pointIndex;
    pointIndex.reserve(soup.triangles.size());
    std::vector<WholePoint> points;
    std::vector<Face> faces;
    faces.reserve(soup.triangles.size());
    for (const MeshTriangle& t : soup.triangles) {
        // Written in the other order: the turn upright mirrored the face (see upright).
        const WholePoint a = rounded(upright(t.corners[2], options.up), place);
        const WholePoint b = rounded(upright(t.corners[1], options.up), place);
        const WholePoint c = rounded(upright(t.corners[0], options.up), place);
        if (!hasArea(a, b, c)) {
            ++out.droppedTriangles;
            continue;
        }
        std::uint32_t index[3];
        const WholePoint* corner[3] = {&a, &b, &c};
        for (int i = 0; i < 3; ++i) {
            const auto [it, added] = pointIndex.try_emplace(*corner[i], static_cast<std::uint32_t>(points.size()));
            if (added)
                points.push_back(*corner[i]);
            index[i] = it->second;
        }
        Face face = skinOf(t, soup, skin);
        // Indices past 65,535 wrap here; such an object is refused below before anything uses them.
        face.p1 = static_cast<std::uint16_t>(index[0]);
        face.p2 = static_cast<std::uint16_t>(index[1]);
        face.p3 = static_cast<std::uint16_t>(index[2]);
        faces.push_back(face);
    }
    if (faces.empty())
        throw FormatError(name + ": no triangle keeps an area at size " + std::to_string(options.size));
    if (points.size() > MaxCount || faces.size() > MaxCount)
        throw FormatError(name + ": " + std::to_string(points.size()) + " points and " + std::to_string(faces.size()) +
                          " faces after sharing corners; an object holds at most 65,536 of each");

    Object3D& object = out.object;
    AllocateObject(object, static_cast<std::int32_t>(points.size() - 1), static_cast<std::int32_t>(faces.size() - 1));
    for (std::size_t i = 0; i < points.size(); ++i) {
        object.x[i] = points[i][0];
        object.y[i] = points[i][1];
        object.z[i] = points[i][2];
    }
    std::copy(faces.begin(), faces.end(), object.faces.begin());
    // Closed pieces are seen only from outside; open ones (a sheet, a box without a lid) show both
    // sides.
    const std::vector<bool> closed = OrientFacesOutward(object);
    for (std::size_t f = 0; f < faces.size(); ++f)
        object.faces[f].doubleSided = closed[f] ? 0 : 1;
    return out;
}

UpAxis UsualUpAxis(const std::string& name)
{
    return HasExtension(name, ".stl") || HasExtension(name, ".dxf") ? UpAxis::Z : UpAxis::Y;
}
