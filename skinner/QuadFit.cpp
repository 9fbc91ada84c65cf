#include "QuadFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

struct Vec {
    double x, y, z;
    Vec operator-(const Vec& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
    double dot(const Vec& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec cross(const Vec& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double length() const { return std::sqrt(dot(*this)); }
};

// Two triangles that make a quad, its corners in the faces' turning order.
struct Pair {
    std::uint32_t first, second; // face indices, first < second
    std::array<std::uint16_t, 4> quad;
    double shared; // squared length of the shared edge
};

std::array<std::uint16_t, 3> pointsOf(const Face& face) { return {face.p1, face.p2, face.p3}; }

} // namespace

std::size_t FitTexturesToQuads(Object3D& object, const FaceFlags& faces)
{
    const std::size_t points = object.pointCount();
    const std::size_t count = std::min(object.faceCount(), faces.size());
    const std::vector<std::uint32_t> place = PointPlaces(object);
    const auto at = [&](std::uint16_t p) { return Vec{double(object.x[p]), double(object.y[p]), double(object.z[p])}; };
    const auto normal = [&](const Face& face) {
        const Vec a = at(face.p1), b = at(face.p2), c = at(face.p3);
        return (b - a).cross(c - b);
    };

    // Every edge of every candidate face, by the two places it joins.
    struct Edge {
        std::uint64_t key;
        std::uint32_t face;
        int corner; // the edge runs from this corner to the next
    };
    std::vector<Edge> edges;
    for (std::size_t f = 0; f < count; ++f) {
        const Face& face = object.faces[f];
        if (faces[f] == 0 || face.faceType == FaceVirtual || face.p1 >= points || face.p2 >= points || face.p3 >= points)
            continue;
        const auto p = pointsOf(face);
        for (int e = 0; e < 3; ++e) {
            const std::uint64_t a = place[p[e]], b = place[p[(e + 1) % 3]];
            if (a != b)
                edges.push_back({std::min(a, b) << 32 | std::max(a, b), static_cast<std::uint32_t>(f), e});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) {
        return l.key != r.key ? l.key < r.key : l.face < r.face;
    });

    const double leastCos = std::cos(std::numbers::pi / 180);
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i + 1 < edges.size();) {
        std::size_t j = i + 1;
        while (j < edges.size() && edges[j].key == edges[i].key)
            ++j;
        const Edge first = edges[i], second = edges[i + 1];
        const bool two = j - i == 2 && first.face != second.face;
        i = j;
        if (!two)
            continue;
        const auto p = pointsOf(object.faces[first.face]);
        const auto q = pointsOf(object.faces[second.face]);
        // first runs a -> b, then c; second must run b -> a (the same side toward the eye), then d.
        const std::uint16_t a = p[first.corner], b = p[(first.corner + 1) % 3], c = p[(first.corner + 2) % 3];
        const std::uint16_t d = q[(second.corner + 2) % 3];
        if (place[q[second.corner]] != place[b] || place[d] == place[c])
            continue;
        const Vec n1 = normal(object.faces[first.face]), n2 = normal(object.faces[second.face]);
        const double l1 = n1.length(), l2 = n2.length();
        if (l1 == 0 || l2 == 0 || n1.dot(n2) < leastCos * l1 * l2)
            continue;
        const std::array<std::uint16_t, 4> quad{b, c, a, d};
        bool convex = true;
        for (int k = 0; k < 4; ++k) {
            const Vec u = at(quad[(k + 1) % 4]) - at(quad[k]), v = at(quad[(k + 2) % 4]) - at(quad[(k + 1) % 4]);
            convex = convex && u.cross(v).dot(n1) > 0;
        }
        if (convex)
            pairs.push_back({first.face, second.face, quad, (at(b) - at(a)).dot(at(b) - at(a))});
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& l, const Pair& r) { return l.shared > r.shared; });

    std::vector<std::uint8_t> paired(count, 0);
    std::size_t fitted = 0;
    for (const Pair& pair : pairs) {
        if (paired[pair.first] != 0 || paired[pair.second] != 0)
            continue;
        paired[pair.first] = paired[pair.second] = 1;
        // The corner to start from: the texture's downward direction (from the top edge's middle to
        // the bottom edge's) as far toward -Y as it goes, then toward -Z, then -X.
        int best = 0;
        Vec bestDown{};
        for (int k = 0; k < 4; ++k) {
            const auto corner = [&](int i) { return at(pair.quad[(k + i) % 4]); };
            Vec down = (corner(2) + corner(3)) - (corner(0) + corner(1));
            const double length = down.length();
            down = {down.x / length, down.y / length, down.z / length};
            const auto lower = [](double a, double b) { return a < b - 1e-9; };
            const auto same = [&](double a, double b) { return !lower(a, b) && !lower(b, a); };
            const bool better = k == 0 || lower(down.y, bestDown.y) ||
                                (same(down.y, bestDown.y) &&
                                 (lower(down.z, bestDown.z) || (same(down.z, bestDown.z) && lower(down.x, bestDown.x))));
            if (better) {
                best = k;
                bestDown = down;
            }
        }
        const auto q = [&](int i) { return pair.quad[(best + i) % 4]; };
        Face& one = object.faces[pair.first];
        Face& other = object.faces[pair.second];
        one.p1 = q(0), one.p2 = q(1), one.p3 = q(2), one.mapping = 0;
        other.p1 = q(2), other.p2 = q(3), other.p3 = q(0), other.mapping = 1;
        ++fitted;
    }
    return fitted;
}
