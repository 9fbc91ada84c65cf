#include "NearestColourSearch.h"

#include <algorithm>

namespace {

// Smallest and largest squared distance along one channel from `value` to the span lo..hi.
inline int nearSquare(int value, int lo, int hi)
{
    const int d = value < lo ? lo - value : (value > hi ? value - hi : 0);
    return d * d;
}

inline int farSquare(int value, int lo, int hi)
{
    const int d = std::max(value - lo, hi - value);
    return d * d;
}

} // namespace

NearestColourSearch::NearestColourSearch(const PalettePlanes& palette, int first, int last)
    : coarse_(16 * 16 * 16), fine_(32 * 32 * 32)
{
    emptyAnswer_ = static_cast<std::uint8_t>(first);
    first = std::max(first, 0);
    last = std::min(last, 255);
    // Of two equal colours the lower index never wins (the higher one ties it everywhere), so
    // only the highest index of each colour is kept. Palettes often repeat black many times.
    for (int c = first; c <= last; ++c) {
        const Candidate candidate{palette.red[c], palette.green[c], palette.blue[c], static_cast<std::uint8_t>(c)};
        bool repeated = false;
        for (int later = c + 1; later <= last && !repeated; ++later)
            repeated = palette.red[later] == candidate.red && palette.green[later] == candidate.green &&
                       palette.blue[later] == candidate.blue;
        if (!repeated)
            colours_.push_back(candidate);
    }
    pool_.reserve(colours_.size() * 64);
}

void NearestColourSearch::fill(Cell& cell, int shift, int r, int g, int b, const std::vector<Candidate>& source,
                               std::uint32_t start, std::uint32_t count)
{
    const int size = 1 << shift;
    const int r0 = (r >> shift) << shift, g0 = (g >> shift) << shift, b0 = (b >> shift) << shift;
    const int r1 = r0 + size - 1, g1 = g0 + size - 1, b1 = b0 + size - 1;

    // The nearest colour of any point of the cell is at most this far from it.
    int bound = 0x7fffffff;
    for (std::uint32_t i = start; i < start + count; ++i) {
        const Candidate& c = source[i];
        bound = std::min(bound, farSquare(c.red, r0, r1) + farSquare(c.green, g0, g1) + farSquare(c.blue, b0, b1));
    }
    // `source` may be the pool itself, which grows here: elements are taken by index and copied.
    cell.start = static_cast<std::uint32_t>(pool_.size());
    for (std::uint32_t i = start; i < start + count; ++i) {
        const Candidate c = source[i];
        if (nearSquare(c.red, r0, r1) + nearSquare(c.green, g0, g1) + nearSquare(c.blue, b0, b1) <= bound)
            pool_.push_back(c);
    }
    cell.count = static_cast<std::uint32_t>(pool_.size()) - cell.start;
}

const NearestColourSearch::Cell& NearestColourSearch::fineCell(int r, int g, int b)
{
    Cell& fine = fine_[((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)];
    if (fine.start == Unfilled) {
        Cell& coarse = coarse_[((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4)];
        if (coarse.start == Unfilled)
            fill(coarse, 4, r, g, b, colours_, 0, static_cast<std::uint32_t>(colours_.size()));
        fill(fine, 3, r, g, b, pool_, coarse.start, coarse.count);
    }
    return fine;
}

std::uint8_t NearestColourSearch::find(int r, int g, int b)
{
    if (colours_.empty())
        return emptyAnswer_;
    const Cell& cell = fineCell(r, g, b);
    const Candidate* c = pool_.data() + cell.start;
    const Candidate* end = c + cell.count;
    int bestDistance = 0x7fffffff;
    std::uint8_t best = 0;
    for (; c != end; ++c) {
        const int dr = c->red - r, dg = c->green - g, db = c->blue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance <= bestDistance) { // ascending indices: the highest wins a tie
            bestDistance = distance;
            best = c->index;
        }
    }
    return best;
}
