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

Placement placementFor(const MeshSoup& soup, const MeshImportOptions& options, const std::string& name, int size)
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
    placement.scale = size / extent;
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

bool hasArea(const MeshTriangle& t)
{
    const MeshPoint& a = t.corners[0];
    const MeshPoint& b = t.corners[1];
    const MeshPoint& c = t.corners[2];
    const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
    const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
    return uy * vz - uz * vy != 0 || uz * vx - ux * vz != 0 || ux * vy - uy * vx != 0;
}

// Triangles with an area in the file that have none once rounded at `size`.
std::size_t collapsedAt(const MeshSoup& soup, const MeshImportOptions& options, const std::string& name, int size)
{
    const Placement place = placementFor(soup, options, name, size);
    std::size_t collapsed = 0;
    for (const MeshTriangle& t : soup.triangles)
        if (hasArea(t) && !hasArea(rounded(upright(t.corners[0], options.up), place),
                                   rounded(upright(t.corners[1], options.up), place),
                                   rounded(upright(t.corners[2], options.up), place)))
            ++collapsed;
    return collapsed;
}

// The smallest size from `size` up to 1,000,000 at which no triangle collapses; 0 when none does.
int sizeKeepingAll(const MeshSoup& soup, const MeshImportOptions& options, const std::string& name)
{
    constexpr int Largest = 1000000;
    int low = options.size, high = options.size;
    while (collapsedAt(soup, options, name, high) > 0) {
        if (high >= Largest)
            return 0;
        low = high;
        high = std::min(Largest, high * 2);
    }
    while (high - low > std::max(1, low / 100)) { // within one per cent
        const int middle = low + (high - low) / 2;
        (collapsedAt(soup, options, name, middle) > 0 ? low : high) = middle;
    }
    return high;
}

// The twelve ways as texture coordinates of p1, p2, p3 (across, down, 0..1).
using Lay = std::array<std::array<double, 2>, 3>;
Lay layOf(int mapping)
{
    Lay lay{{{0, 0}, {1, 0}, {1, 1}}};
    for (auto& [u, v] : lay) {
        if (mapping & 1)
            u = 1 - u, v = 1 - v;
        if (mapping & 2)
            std::swap(u, v);
    }
    return lay;
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
        face.transparency = static_cast<std::uint16_t>(std::lround((1 - material->opacity) * 100));
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

TextureLay ClosestTextureLay(const std::array<MeshUv, 3>& uv)
{
    // Across and down the picture, the triangle moved by whole pictures near the first one (the
    // picture repeats), as the renderer lays it.
    std::array<std::array<double, 2>, 3> at;
    for (int k = 0; k < 3; ++k)
        at[k] = {uv[k][0], 1 - uv[k][1]};
    for (int axis = 0; axis < 2; ++axis) {
        const double shift = std::floor(std::min({at[0][axis], at[1][axis], at[2][axis]}));
        for (auto& corner : at)
            corner[axis] = std::isfinite(shift) ? corner[axis] - shift : 0;
    }
    TextureLay best;
    double bestCost = std::numeric_limits<double>::infinity();
    for (int turn = 0; turn < 3; ++turn)
        for (int mapping = 0; mapping < 4; ++mapping) {
            const Lay lay = layOf(mapping);
            double cost = 0;
            for (int k = 0; k < 3; ++k) {
                const auto& corner = at[(turn + k) % 3];
                cost += (corner[0] - lay[k][0]) * (corner[0] - lay[k][0]) + (corner[1] - lay[k][1]) * (corner[1] - lay[k][1]);
            }
            if (cost < bestCost)
                bestCost = cost, best = {turn, mapping, cost};
        }
    return best;
}

namespace {

MeshPoint minus(const MeshPoint& p, const MeshPoint& q) { return {p[0] - q[0], p[1] - q[1], p[2] - q[2]}; }
MeshPoint cross(const MeshPoint& u, const MeshPoint& v)
{
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}
double dot(const MeshPoint& u, const MeshPoint& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }

// How far the texture lies from the model's coordinates on a triangle as the object writes it
// (its corners last to first).
double layDistance(const std::array<MeshUv, 3>& uv) { return ClosestTextureLay({uv[2], uv[1], uv[0]}).distance; }

// Assimp cuts a quad a-b-c-d into a-b-c and a-c-d. The renderer lays a picture on a triangle only
// as the half on one side of the picture's diagonal from its top left to its bottom right, or
// that half turned or mirrored: a quad whose picture runs the other way shows it whole only when
// cut along b-d. A flat, convex quad is cut that way when that lays both halves closer.
void cutQuadsAlongTheirPictures(std::vector<MeshTriangle>& triangles)
{
    for (std::size_t i = 0; i + 1 < triangles.size(); ++i) {
        MeshTriangle& one = triangles[i];
        MeshTriangle& two = triangles[i + 1];
        if (!one.uv || !two.uv || one.material != two.material || two.corners[0] != one.corners[0] ||
            two.corners[1] != one.corners[2] || (*two.uv)[0] != (*one.uv)[0] || (*two.uv)[1] != (*one.uv)[2])
            continue;
        const MeshPoint a = one.corners[0], b = one.corners[1], c = one.corners[2], d = two.corners[2];
        const MeshUv ua = (*one.uv)[0], ub = (*one.uv)[1], uc = (*one.uv)[2], ud = (*two.uv)[2];
        const MeshPoint n = cross(minus(b, a), minus(c, a));
        const double size = std::sqrt(dot(n, n));
        if (!(size > 0) || std::abs(dot(n, minus(d, a))) > 1e-9 * size * std::sqrt(dot(minus(d, a), minus(d, a))))
            continue; // not flat
        // Cut along b-d, both halves facing as the quad does: it is convex.
        if (dot(cross(minus(b, a), minus(d, a)), n) <= 0 || dot(cross(minus(c, b), minus(d, b)), n) <= 0)
            continue;
        const std::array<MeshUv, 3> abd{ua, ub, ud}, bcd{ub, uc, ud};
        if (layDistance(abd) + layDistance(bcd) + 1e-9 >= layDistance(*one.uv) + layDistance(*two.uv))
            continue;
        one.corners = {a, b, d};
        one.uv = abd;
        two.corners = {b, c, d};
        two.uv = bcd;
        ++i; // the pair is done
    }
}

// The soup to convert: `given`, or when it has texture coordinates a copy in `cut` with its quads
// cut along their pictures.
const MeshSoup& withQuadsCut(const MeshSoup& given, MeshSoup& cut)
{
    if (std::none_of(given.triangles.begin(), given.triangles.end(),
                     [](const MeshTriangle& t) { return t.uv.has_value(); }))
        return given;
    cut = given;
    cutQuadsAlongTheirPictures(cut.triangles);
    return cut;
}

// Turns `face` so that its texture lies as the model's coordinates `uv` of the triangle's corners
// put it. `writtenP1` is the face's first point as written, before it may have been turned over.
void layTexture(Face& face, std::uint16_t writtenP1, std::array<MeshUv, 3> uv)
{
    // The face's corners were written last to first, and turning it over exchanged p1 and p3.
    std::swap(uv[0], uv[2]);
    if (face.p1 != writtenP1)
        std::swap(uv[0], uv[2]);
    const TextureLay lay = ClosestTextureLay(uv);
    const std::uint16_t corner[3] = {face.p1, face.p2, face.p3};
    face.p1 = corner[lay.turn];
    face.p2 = corner[(lay.turn + 1) % 3];
    face.p3 = corner[(lay.turn + 2) % 3];
    face.mapping = static_cast<std::int16_t>(lay.mapping);
}

} // namespace

ImportedMesh ConvertMesh(const MeshSoup& given, const MeshImportOptions& options, const MeshSkin& skin,
                         const std::string& name)
{
    MeshSoup cut;
    const MeshSoup& soup = withQuadsCut(given, cut);
    const Placement place = placementFor(soup, options, name, options.size);
    ImportedMesh out;
    std::unordered_map<WholePoint, std::uint32_t, PointHash> pointIndex;
    pointIndex.reserve(soup.triangles.size());
    std::vector<WholePoint> points;
    std::vector<Face> faces;
    faces.reserve(soup.triangles.size());
    std::vector<const MeshTriangle*> from; // the triangle each face comes from
    for (const MeshTriangle& t : soup.triangles) {
        // Written in the other order: the turn upright mirrored the face (see upright).
        const WholePoint a = rounded(upright(t.corners[2], options.up), place);
        const WholePoint b = rounded(upright(t.corners[1], options.up), place);
        const WholePoint c = rounded(upright(t.corners[0], options.up), place);
        if (!hasArea(a, b, c)) {
            ++out.droppedTriangles;
            out.collapsedTriangles += hasArea(t) ? 1 : 0;
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
        from.push_back(&t);
    }
    if (faces.empty())
        throw FormatError(name + ": no triangle keeps an area at size " + std::to_string(options.size));
    if (points.size() > MaxCount || faces.size() > MaxCount)
        throw MeshTooLargeError(name + ": " + std::to_string(points.size()) + " points and " +
                                std::to_string(faces.size()) +
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
    for (std::size_t f = 0; f < faces.size(); ++f) {
        out.faceMaterial.push_back(from[f]->material);
        object.faces[f].doubleSided = closed[f] ? 0 : 1;
        if (from[f]->uv) // laid on plain faces too, for a texture the user may give them later
            layTexture(object.faces[f], faces[f].p1, *from[f]->uv);
    }
    if (out.collapsedTriangles > 0)
        out.keepingSize = sizeKeepingAll(soup, options, name);
    return out;
}

UpAxis UsualUpAxis(const std::string& name)
{
    return HasExtension(name, ".stl") || HasExtension(name, ".dxf") ? UpAxis::Z : UpAxis::Y;
}
