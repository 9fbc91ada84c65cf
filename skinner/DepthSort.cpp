#include "DepthSort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

// Pivot: the last key. i and j start just outside the range, and each scan steps before it
// tests: i moves up past keys larger than the pivot, j down past keys smaller than it; the two
// entries are exchanged, until the scans meet. The last exchange is then undone and the pivot
// put in place. Only the smaller part is sorted by a nested call, the larger one by the loop,
// so sorted input cannot exhaust the stack; the order of the operations is the same.
void SortByDepth(std::span<SortKey> keys, int lo, int hi)
{
    while (lo < hi) {
        const int pivot = keys[hi].key;
        int i = lo - 1, j = hi;
        do {
            do
                ++i;
            while (keys[i].key > pivot && i < hi);
            do
                --j;
            while (keys[j].key < pivot && j > lo);
            std::swap(keys[i], keys[j]);
        } while (i < j);
        std::swap(keys[i], keys[j]);
        std::swap(keys[i], keys[hi]);
        if (i - lo < hi - i) {
            SortByDepth(keys, lo, i - 1);
            lo = i + 1;
        } else {
            SortByDepth(keys, i + 1, hi);
            hi = i - 1;
        }
    }
}

namespace {

struct Footprint {
    std::int32_t left, top, right, bottom; // inclusive
};

// Rows of a triangle lie between its top and bottom screen points; on each row the columns
// between its edges, whose x stay between the smallest and largest sx as long as the edge
// arithmetic cannot wrap (screen points within 2^15 of the origin), plus the one column a span
// may be widened by. False when the triangle's points lie too far out for that to hold.
bool footprint(const RenderTriangle& t, Footprint& f)
{
    constexpr std::int32_t reach = 1 << 15;
    for (const std::int32_t v : {t.sx1, t.sy1, t.sx2, t.sy2, t.sx3, t.sy3})
        if (v <= -reach || v >= reach)
            return false;
    f = {std::min({t.sx1, t.sx2, t.sx3}), std::min({t.sy1, t.sy2, t.sy3}), std::max({t.sx1, t.sx2, t.sx3}) + 1,
         std::max({t.sy1, t.sy2, t.sy3})};
    return true;
}

// Runs of equal keys longer than this go to the quicksort rather than to pairwise tests.
constexpr std::size_t LongestRunTested = 32;

} // namespace

bool FootprintsMayMeet(const RenderTriangle& a, const RenderTriangle& b)
{
    Footprint fa, fb;
    if (!footprint(a, fa) || !footprint(b, fb))
        return true;
    return fa.left <= fb.right && fb.left <= fa.right && fa.top <= fb.bottom && fb.top <= fa.bottom;
}

void SortFrameByDepth(std::span<SortKey> keys, std::span<SortKey> scratch, std::span<const RenderTriangle> triangles)
{
    const std::size_t n = keys.size();
    if (n < 2)
        return;
    // Largest key first is smallest first of ~(key with its sign bit flipped), taken a byte at
    // a time by four stable counting passes between the two halves of `scratch`. The keys stay
    // as they were for the quicksort until the order is known to be the only one.
    auto digit = [](const SortKey& k, int pass) {
        const auto order = ~(static_cast<std::uint32_t>(k.key) ^ 0x80000000u);
        return (order >> (pass * 8)) & 0xffu;
    };
    std::array<std::array<std::uint32_t, 256>, 4> counts{};
    for (const SortKey& k : keys)
        for (int pass = 0; pass < 4; ++pass)
            ++counts[pass][digit(k, pass)];
    std::span<SortKey> from = keys, to = scratch.first(n), spare = scratch.subspan(n, n);
    for (int pass = 0; pass < 4; ++pass) {
        if (counts[pass][digit(keys[0], pass)] == n)
            continue; // every key has the same byte here
        std::array<std::uint32_t, 256> next;
        std::uint32_t total = 0;
        for (int d = 0; d < 256; ++d) {
            next[d] = total;
            total += counts[pass][d];
        }
        for (const SortKey& k : from)
            to[next[digit(k, pass)]++] = k;
        from = to;
        std::swap(to, spare);
    }
    // Equal keys come in runs; within each, every pair must stay apart on screen.
    for (std::size_t start = 0; start < n;) {
        std::size_t end = start + 1;
        while (end < n && from[end].key == from[start].key)
            ++end;
        bool apart = end - start <= LongestRunTested;
        for (std::size_t i = start; apart && i < end; ++i)
            for (std::size_t j = i + 1; apart && j < end; ++j)
                apart = !FootprintsMayMeet(triangles[static_cast<std::size_t>(from[i].index)],
                                           triangles[static_cast<std::size_t>(from[j].index)]);
        if (!apart) {
            SortByDepth(keys, 0, static_cast<int>(n) - 1);
            return;
        }
        start = end;
    }
    if (from.data() != keys.data())
        std::copy(from.begin(), from.end(), keys.begin());
}
