#include "MeshOrientation.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

struct HalfEdge {
    std::uint64_t key; // lower point index in the high half, higher one in the low half
    std::uint32_t face;
    bool forward; // walked from the lower point to the higher one
};

struct Link {
    std::uint32_t face;
    bool sameWay; // both faces walk the edge the same way: one of them must turn
};

// Six times the signed volume the piece's faces enclose, as they are wound now.
double enclosedVolume(const Object3D& object, const std::vector<std::uint32_t>& piece, const std::vector<bool>& turn)
{
    const Face& first = object.faces[piece.front()];
    const double ox = object.x[first.p1], oy = object.y[first.p1], oz = object.z[first.p1];
    double volume = 0;
    for (std::uint32_t f : piece) {
        const Face& face = object.faces[f];
        std::uint16_t a = face.p1, b = face.p2, c = face.p3;
        if (turn[f])
            std::swap(a, c);
        const double ax = object.x[a] - ox, ay = object.y[a] - oy, az = object.z[a] - oz;
        const double bx = object.x[b] - ox, by = object.y[b] - oy, bz = object.z[b] - oz;
        const double cx = object.x[c] - ox, cy = object.y[c] - oy, cz = object.z[c] - oz;
        volume += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx);
    }
    return volume;
}

} // namespace

std::vector<bool> OrientFacesOutward(Object3D& object)
{
    const std::size_t count = object.faceCount();
    std::vector<HalfEdge> edges;
    edges.reserve(count * 3);
    for (std::uint32_t f = 0; f < count; ++f) {
        const Face& face = object.faces[f];
        const std::uint16_t corner[3] = {face.p1, face.p2, face.p3};
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t a = corner[i], b = corner[(i + 1) % 3];
            edges.push_back({std::uint64_t(std::min(a, b)) << 32 | std::max(a, b), f, a < b});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const HalfEdge& l, const HalfEdge& r) { return l.key < r.key; });

    // Each face's neighbours across its shared edges; an edge with one face, or more than two,
    // opens the piece.
    std::vector<bool> open(count, false);
    std::vector<std::uint32_t> start(count + 1, 0);
    std::vector<std::pair<std::uint32_t, Link>> links;
    for (std::size_t i = 0; i < edges.size();) {
        std::size_t j = i;
        while (j < edges.size() && edges[j].key == edges[i].key)
            ++j;
        if (j - i == 2) {
            const bool same = edges[i].forward == edges[i + 1].forward;
            links.push_back({edges[i].face, {edges[i + 1].face, same}});
            links.push_back({edges[i + 1].face, {edges[i].face, same}});
        } else {
            for (std::size_t k = i; k < j; ++k)
                open[edges[k].face] = true;
        }
        i = j;
    }
    for (const auto& link : links)
        ++start[link.first + 1];
    for (std::size_t f = 0; f < count; ++f)
        start[f + 1] += start[f];
    std::vector<Link> neighbours(links.size());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (const auto& link : links)
        neighbours[fill[link.first]++] = link.second;

    std::vector<bool> turn(count, false), seen(count, false), closed(count, false);
    std::vector<std::uint32_t> piece;
    for (std::uint32_t seed = 0; seed < count; ++seed) {
        if (seen[seed])
            continue;
        // Walk the piece, each face turned to agree with the one it was reached from.
        piece.assign(1, seed);
        seen[seed] = true;
        bool pieceOpen = false;
        for (std::size_t k = 0; k < piece.size(); ++k) {
            const std::uint32_t f = piece[k];
            pieceOpen = pieceOpen || open[f];
            for (std::uint32_t n = start[f]; n < start[f + 1]; ++n) {
                const Link& link = neighbours[n];
                if (seen[link.face])
                    continue;
                seen[link.face] = true;
                turn[link.face] = turn[f] != link.sameWay;
                piece.push_back(link.face);
            }
        }
        const std::size_t turned = static_cast<std::size_t>(std::count_if(
            piece.begin(), piece.end(), [&turn](std::uint32_t f) { return turn[f]; }));
        const bool flipAll = pieceOpen ? turned * 2 > piece.size() : enclosedVolume(object, piece, turn) < 0;
        for (std::uint32_t f : piece) {
            turn[f] = turn[f] != flipAll;
            closed[f] = !pieceOpen;
        }
    }
    for (std::size_t f = 0; f < count; ++f)
        if (turn[f])
            std::swap(object.faces[f].p1, object.faces[f].p3);
    return closed;
}
