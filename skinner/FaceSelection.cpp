#include "FaceSelection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>

std::size_t CountSelected(const FaceFlags& flags)
{
    return static_cast<std::size_t>(std::count_if(flags.begin(), flags.end(), [](std::uint8_t f) { return f != 0; }));
}

std::vector<std::uint32_t> SelectedFaces(const FaceFlags& flags)
{
    std::vector<std::uint32_t> faces;
    faces.reserve(CountSelected(flags));
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != 0)
            faces.push_back(static_cast<std::uint32_t>(i));
    return faces;
}

FaceFlags SelectSameSkin(const Object3D& object, std::int32_t sample)
{
    FaceFlags flags(object.faceCount(), 0);
    if (sample < 0 || static_cast<std::size_t>(sample) >= object.faceCount())
        return flags;
    const Face& model = object.faces[static_cast<std::size_t>(sample)];
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = object.faces[i].faceType == model.faceType && object.faces[i].texture == model.texture;
    return flags;
}

namespace {

constexpr std::uint32_t NoPlace = std::numeric_limits<std::uint32_t>::max();

} // namespace

std::vector<std::uint32_t> PointPlaces(const Object3D& object)
{
    const std::size_t points = object.pointCount();
    std::size_t slots = 16;
    while (slots < points * 2)
        slots *= 2;
    std::vector<std::uint32_t> table(slots, NoPlace); // the first point seen at each place
    std::vector<std::uint32_t> place(points);
    for (std::size_t p = 0; p < points; ++p) {
        const auto x = static_cast<std::uint32_t>(object.x[p]), y = static_cast<std::uint32_t>(object.y[p]),
                   z = static_cast<std::uint32_t>(object.z[p]);
        std::uint64_t h = (x * 0x9E3779B1u) ^ (std::uint64_t{y} * 0x85EBCA77u) ^ (std::uint64_t{z} * 0xC2B2AE3Du);
        h ^= h >> 15;
        for (std::size_t slot = h & (slots - 1);; slot = (slot + 1) & (slots - 1)) {
            const std::uint32_t seen = table[slot];
            if (seen == NoPlace) {
                table[slot] = static_cast<std::uint32_t>(p);
                place[p] = static_cast<std::uint32_t>(p);
                break;
            }
            if (object.x[seen] == object.x[p] && object.y[seen] == object.y[p] && object.z[seen] == object.z[p]) {
                place[p] = seen;
                break;
            }
        }
    }
    return place;
}

namespace {

// The faces that meet at each place, and each face's three places (NoPlace for faces that share
// no edges).
class FaceGraph {
public:
    explicit FaceGraph(const Object3D& object)
        : corners_(object.faceCount())
    {
        const std::vector<std::uint32_t> place = PointPlaces(object);
        const std::size_t points = object.pointCount();
        std::vector<std::uint32_t> counts(points + 1, 0);
        for (std::size_t f = 0; f < corners_.size(); ++f) {
            const Face& face = object.faces[f];
            if (face.faceType == FaceVirtual || face.p1 >= points || face.p2 >= points || face.p3 >= points) {
                corners_[f] = {NoPlace, NoPlace, NoPlace};
                continue;
            }
            corners_[f] = {place[face.p1], place[face.p2], place[face.p3]};
            for (const std::uint32_t c : corners_[f])
                ++counts[c + 1];
        }
        for (std::size_t p = 0; p < points; ++p)
            counts[p + 1] += counts[p];
        start_ = counts;
        faces_.resize(counts[points]);
        for (std::size_t f = 0; f < corners_.size(); ++f)
            if (corners_[f][0] != NoPlace)
                for (const std::uint32_t c : corners_[f])
                    faces_[counts[c]++] = static_cast<std::uint32_t>(f);
    }

    // Calls visit(g) for every face g that shares an edge with face f.
    template <typename Visit>
    void forNeighbours(std::uint32_t f, Visit&& visit) const
    {
        const std::array<std::uint32_t, 3>& c = corners_[f];
        if (c[0] == NoPlace)
            return;
        for (int e = 0; e < 3; ++e) {
            const std::uint32_t a = c[e], b = c[(e + 1) % 3];
            for (std::uint32_t k = start_[a]; k < start_[a + 1]; ++k) {
                const std::uint32_t g = faces_[k];
                const std::array<std::uint32_t, 3>& d = corners_[g];
                if (g != f && (d[0] == b || d[1] == b || d[2] == b))
                    visit(g);
            }
        }
    }

private:
    std::vector<std::array<std::uint32_t, 3>> corners_;
    std::vector<std::uint32_t> start_; // faces at place p: faces_[start_[p] .. start_[p + 1])
    std::vector<std::uint32_t> faces_;
};

// Grows the selection from every selected face across the edges `joins` allows.
template <typename Joins>
void grow(const Object3D& object, FaceFlags& flags, Joins&& joins)
{
    flags.resize(object.faceCount(), 0);
    const FaceGraph graph(object);
    std::vector<std::uint32_t> queue = SelectedFaces(flags);
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const std::uint32_t f = queue[next];
        graph.forNeighbours(f, [&](std::uint32_t g) {
            if (flags[g] == 0 && joins(f, g)) {
                flags[g] = 1;
                queue.push_back(g);
            }
        });
    }
}

} // namespace

void SelectConnected(const Object3D& object, FaceFlags& flags)
{
    grow(object, flags, [](std::uint32_t, std::uint32_t) { return true; });
}

void SelectFlatRegion(const Object3D& object, FaceFlags& flags, double degrees)
{
    // Unit normals of the faces that share edges (the graph leaves the others out).
    const std::size_t points = object.pointCount();
    std::vector<std::array<double, 3>> normals(object.faceCount(), {0, 0, 0});
    for (std::size_t f = 0; f < normals.size(); ++f) {
        const Face& face = object.faces[f];
        if (face.faceType == FaceVirtual || face.p1 >= points || face.p2 >= points || face.p3 >= points)
            continue;
        const auto corner = [&](std::uint16_t p) {
            return std::array<double, 3>{double(object.x[p]), double(object.y[p]), double(object.z[p])};
        };
        const auto a = corner(face.p1), b = corner(face.p2), c = corner(face.p3);
        const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        std::array<double, 3> n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0)
            normals[f] = {n[0] / length, n[1] / length, n[2] / length};
    }
    const double least = std::cos(degrees * std::numbers::pi / 180) - 1e-12;
    grow(object, flags, [&](std::uint32_t f, std::uint32_t g) {
        const auto& m = normals[f];
        const auto& n = normals[g];
        return m[0] * n[0] + m[1] * n[1] + m[2] * n[2] >= least;
    });
}

namespace {

// Rounded toward minus infinity, and toward plus infinity; `d` > 0.
std::int64_t floorDiv(std::int64_t n, std::int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
std::int64_t ceilDiv(std::int64_t n, std::int64_t d) { return -floorDiv(-n, d); }

// Narrows [first, last] to the x of the row where an edge function that is `e` at x = `at` and
// grows by `step` per pixel is 0 or more.
[[gnu::always_inline]] inline void keepInside(std::int64_t e, std::int64_t step, std::int64_t at, std::int64_t& first, std::int64_t& last)
{
    // Only an edge that cuts the run costs a division.
    if (step > 0) {
        if (e < 0)
            first = std::max(first, at + ceilDiv(-e, step));
    } else if (step < 0) {
        if (e + step * (last - at) < 0)
            last = std::min(last, at + floorDiv(e, -step));
    } else if (e < 0) {
        last = first - 1;
    }
}

} // namespace

ShownFaces FacesShown(const RenderContext& context, int left, int top, int right, int bottom)
{
    ShownFaces shown;
    FacesShown(context, left, top, right, bottom, shown);
    return shown;
}

void FacesShown(const RenderContext& context, int left, int top, int right, int bottom, ShownFaces& shown)
{
    shown.left = shown.top = shown.width = shown.height = 0;
    shown.faces.clear();
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, int(context.maxX));
    bottom = std::min(bottom, int(context.maxY));
    const std::int64_t last = std::min<std::int64_t>(context.triangleCount, std::int64_t(context.triangles.size()) - 1);
    if (right < left || bottom < top)
        return;
    shown.left = left, shown.top = top, shown.width = right - left + 1, shown.height = bottom - top + 1;
    const int width = shown.width;
    const std::size_t pixels = std::size_t(width) * std::size_t(shown.height);
    shown.faces.assign(pixels, -1);
    // Keys are 32-bit: their size fits 32 unsigned bits.
    shown.depth.assign(pixels, std::numeric_limits<std::uint32_t>::max());
    for (std::int64_t i = 0; i <= last; ++i) {
        const RenderTriangle& t = context.triangles[static_cast<std::size_t>(i)];
        if (t.objectId < 0)
            continue;
        const std::int64_t x1 = t.sx1, y1 = t.sy1, x2 = t.sx2, y2 = t.sy2, x3 = t.sx3, y3 = t.sy3;
        const std::int64_t area = (x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1);
        if (area == 0)
            continue;
        const std::int64_t x0 = std::max<std::int64_t>(std::min({x1, x2, x3}), left),
                           xe = std::min<std::int64_t>(std::max({x1, x2, x3}), right),
                           y0 = std::max<std::int64_t>(std::min({y1, y2, y3}), top),
                           ye = std::min<std::int64_t>(std::max({y1, y2, y3}), bottom);
        if (x0 > xe || y0 > ye)
            continue;
        const std::int32_t face = t.faceIndex;
        const auto key = static_cast<std::uint32_t>(std::abs(std::int64_t{t.depthKey}));
        const std::int64_t sign = area > 0 ? 1 : -1;
        // A pixel is the triangle's when its three edge functions are 0 or more; along a row each
        // is linear in x, so the row's pixels inside form one run, found by three divisions.
        const std::int64_t d1 = -sign * (y2 - y1), d2 = -sign * (y3 - y2), d3 = -sign * (y1 - y3);
        std::int64_t e1 = sign * ((x2 - x1) * (y0 - y1) - (y2 - y1) * (x0 - x1));
        std::int64_t e2 = sign * ((x3 - x2) * (y0 - y2) - (y3 - y2) * (x0 - x2));
        std::int64_t e3 = sign * ((x1 - x3) * (y0 - y3) - (y1 - y3) * (x0 - x3));
        const std::int64_t down1 = sign * (x2 - x1), down2 = sign * (x3 - x2), down3 = sign * (x1 - x3);
        for (std::int64_t y = y0; y <= ye; ++y, e1 += down1, e2 += down2, e3 += down3) {
            std::int64_t first = x0, end = xe;
            keepInside(e1, d1, x0, first, end);
            keepInside(e2, d2, x0, first, end);
            keepInside(e3, d3, x0, first, end);
            if (first > end)
                continue;
            const std::size_t at = std::size_t(y - top) * std::size_t(width) + std::size_t(first - left);
            std::int32_t* faces = shown.faces.data() + at;
            std::uint32_t* keys = shown.depth.data() + at;
            for (std::int64_t n = 0; n <= end - first; ++n)
                if (key <= keys[n]) {
                    keys[n] = key;
                    faces[n] = face;
                }
        }
    }
}

std::vector<std::int32_t> FacesInBox(const RenderContext& context, int left, int top, int right, int bottom)
{
    return FacesInBox(FacesShown(context, left, top, right, bottom), left, top, right, bottom);
}

std::vector<std::int32_t> FacesInBox(const ShownFaces& shown, int left, int top, int right, int bottom)
{
    left = std::max(left, shown.left);
    top = std::max(top, shown.top);
    right = std::min(right, shown.left + shown.width - 1);
    bottom = std::min(bottom, shown.top + shown.height - 1);
    if (left > right || top > bottom)
        return {};
    // Flags for faces -1 (none) and up, set without a test at each pixel.
    const auto rowOf = [&](int y) { return shown.faces.data() + std::size_t(y - shown.top) * std::size_t(shown.width); };
    std::int32_t highest = -1;
    for (int y = top; y <= bottom; ++y)
        highest = std::max(highest, *std::max_element(rowOf(y) + (left - shown.left), rowOf(y) + (right - shown.left) + 1));
    std::vector<std::uint8_t> flags(std::size_t(highest) + 2, 0);
    for (int y = top; y <= bottom; ++y) {
        const std::int32_t* row = rowOf(y);
        for (int x = left; x <= right; ++x)
            flags[std::size_t(row[x - shown.left] + 1)] = 1;
    }
    const std::span<const std::uint8_t> seen(flags.data() + 1, flags.size() - 1);
    std::vector<std::int32_t> found;
    for (std::size_t f = 0; f < seen.size(); ++f)
        if (seen[f] != 0)
            found.push_back(static_cast<std::int32_t>(f));
    return found;
}
