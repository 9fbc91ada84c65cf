#include "PointMerge.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace {

// Open addressing over point indices, keyed by the points' coordinates; -1 marks a free slot.
class PointTable {
public:
    PointTable(const Object3D& object, std::size_t points)
        : object_(object)
        , slots_(std::bit_ceil(points * 2 + 2), -1)
        , mask_(slots_.size() - 1)
    {
    }

    // The first point entered at the same place as point `p`, or -1.
    std::int32_t find(std::size_t p) const
    {
        for (std::size_t s = home(p);; s = (s + 1) & mask_) {
            const std::int32_t q = slots_[s];
            if (q < 0 || same(static_cast<std::size_t>(q), p))
                return q;
        }
    }

    // Enters point `p` unless a point at its place is there already.
    void enter(std::size_t p)
    {
        for (std::size_t s = home(p);; s = (s + 1) & mask_) {
            const std::int32_t q = slots_[s];
            if (q < 0) {
                slots_[s] = static_cast<std::int32_t>(p);
                return;
            }
            if (same(static_cast<std::size_t>(q), p))
                return;
        }
    }

private:
    bool same(std::size_t a, std::size_t b) const
    {
        return object_.x[a] == object_.x[b] && object_.y[a] == object_.y[b] && object_.z[a] == object_.z[b];
    }

    std::size_t home(std::size_t p) const
    {
        // Mix the three coordinates so that grids of small whole numbers spread over the table.
        std::uint64_t h = static_cast<std::uint32_t>(object_.x[p]);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(object_.y[p]);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(object_.z[p]);
        h *= 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> 32) & mask_;
    }

    const Object3D& object_;
    std::vector<std::int32_t> slots_;
    std::size_t mask_;
};

} // namespace

std::size_t MergeCoincidentPoints(Object3D& object)
{
    const std::size_t points = object.pointCount();
    if (points < 2)
        return 0;

    // The run in terms of the points as they stand: each point is kept or removed, and a removed
    // point's faces go to the first kept point at its place. A removal lets the next point slide
    // into the index just looked at, so that point is passed over.
    PointTable table(object, points);
    std::vector<std::int32_t> target(points); // the kept point each point's faces go to
    target[0] = 0;
    table.enter(0);
    bool passOver = false;
    for (std::size_t p = 1; p < points; ++p) {
        const std::int32_t first = passOver ? -1 : table.find(p);
        passOver = false;
        if (first >= 0) {
            target[p] = first;
            passOver = true;
        } else {
            target[p] = static_cast<std::int32_t>(p);
            table.enter(p); // a point passed over may stand where a kept one does: the first stays
        }
    }

    // Kept points move down over the removed ones; newIndex maps every point to its final index.
    std::vector<std::uint16_t> newIndex(points);
    std::size_t kept = 0;
    for (std::size_t p = 0; p < points; ++p) {
        if (target[p] != static_cast<std::int32_t>(p))
            continue;
        object.x[kept] = object.x[p];
        object.y[kept] = object.y[p];
        object.z[kept] = object.z[p];
        newIndex[p] = static_cast<std::uint16_t>(kept++);
    }
    for (std::size_t p = 0; p < points; ++p)
        newIndex[p] = newIndex[static_cast<std::size_t>(target[p])];

    const auto follow = [&](std::uint16_t& index) {
        if (index < points)
            index = newIndex[index];
    };
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        Face& face = object.faces[f];
        follow(face.p1);
        if (face.faceType != FaceVirtual) {
            follow(face.p2);
            follow(face.p3);
        }
    }
    const std::size_t removed = points - kept;
    object.lastPoint = static_cast<std::uint16_t>(kept - 1);
    return removed;
}
