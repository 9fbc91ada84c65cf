#include "MeshSimplify.h"

#include "Errors.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <meshoptimizer.h>
#include <tuple>

namespace {

// Triangles of one skin, on points shared by the whole model.
struct Part {
    const MeshTriangle* first = nullptr; // gives the part's material and colour
    std::vector<unsigned> indices;       // three per triangle, into the shared points
    std::map<unsigned, MeshUv> uv;       // each point's texture coordinates within the part
};

using SkinKey = std::tuple<std::int32_t, bool, std::uint8_t, std::uint8_t, std::uint8_t>;

SkinKey skinOf(const MeshTriangle& t)
{
    const MeshColour c = t.vertexColour.value_or(MeshColour{});
    return {t.material, t.vertexColour.has_value(), c.red, c.green, c.blue};
}

// Simplifies one part towards `target` triangles, first keeping its border and within a growing
// error, then, if that is not enough, regardless of its shape.
std::vector<unsigned> simplified(const Part& part, const std::vector<float>& points, std::size_t target)
{
    const std::size_t pointCount = points.size() / 3;
    std::vector<unsigned> out(part.indices.size());
    std::size_t kept = part.indices.size();
    for (const float error : {0.01f, 0.05f, 0.2f, 1.0f}) {
        kept = meshopt_simplify(out.data(), part.indices.data(), part.indices.size(), points.data(), pointCount,
                                3 * sizeof(float), target * 3, error, meshopt_SimplifyLockBorder, nullptr);
        if (kept <= target * 3)
            break;
    }
    if (kept > target * 3)
        kept = meshopt_simplifySloppy(out.data(), part.indices.data(), part.indices.size(), points.data(), pointCount,
                                      3 * sizeof(float), target * 3, 1.0f, nullptr);
    out.resize(kept);
    return out;
}

} // namespace

MeshSoup SimplifyMesh(const MeshSoup& soup, std::size_t most, const std::string& name)
{
    most = std::max<std::size_t>(most, 1);
    if (soup.triangles.size() <= most)
        return soup;
    // Shared points (the same position is one point), in floats relative to the model's first
    // corner, which keeps their precision.
    std::map<MeshPoint, unsigned> pointIndex;
    std::vector<float> points;
    const MeshPoint origin = soup.triangles.front().corners[0];
    std::map<SkinKey, Part> parts;
    for (const MeshTriangle& t : soup.triangles) {
        Part& part = parts[skinOf(t)];
        if (!part.first)
            part.first = &t;
        for (int c = 0; c < 3; ++c) {
            const auto [it, added] = pointIndex.try_emplace(t.corners[c], static_cast<unsigned>(points.size() / 3));
            if (added)
                for (int a = 0; a < 3; ++a)
                    points.push_back(static_cast<float>(t.corners[c][a] - origin[a]));
            part.indices.push_back(it->second);
            if (t.uv)
                part.uv.try_emplace(it->second, (*t.uv)[c]);
        }
    }
    std::vector<MeshPoint> positions(points.size() / 3);
    for (const auto& [position, index] : pointIndex)
        positions[index] = position;

    // Each part gets its share of the triangles allowed, and keeps at least one.
    MeshSoup out;
    out.materials = soup.materials;
    const double share = static_cast<double>(most) / static_cast<double>(soup.triangles.size());
    for (const auto& [key, part] : parts) {
        const std::size_t count = part.indices.size() / 3;
        const std::size_t target = std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(count * share)));
        const std::vector<unsigned> kept = count <= target ? part.indices : simplified(part, points, target);
        for (std::size_t i = 0; i + 2 < kept.size(); i += 3) {
            MeshTriangle t;
            t.material = part.first->material;
            t.vertexColour = part.first->vertexColour;
            std::array<MeshUv, 3> uv{};
            bool hasUv = true;
            for (int c = 0; c < 3; ++c) {
                t.corners[c] = positions[kept[i + c]];
                const auto found = part.uv.find(kept[i + c]);
                hasUv = hasUv && found != part.uv.end();
                if (found != part.uv.end())
                    uv[c] = found->second;
            }
            if (hasUv)
                t.uv = uv;
            out.triangles.push_back(t);
        }
    }
    if (out.triangles.size() > most)
        throw FormatError(name + ": " + std::to_string(soup.triangles.size()) + " triangles in " +
                          std::to_string(parts.size()) + " materials cannot be simplified to " + std::to_string(most) +
                          " (each material keeps at least one)");
    return out;
}
