#include "NearestColourSearch.h"

#include <algorithm>

namespace {

// Largest squared distance along one channel from `value` to the span lo..hi.
inline int farSquare(int value, int lo, int hi)
{
    const int d = std::max(value - lo, hi - value);
    return d * d;
}

} // namespace

NearestColourSearch::NearestColourSearch(const PalettePlanes& palette, int first, int last)
    : palette_(palette), first_(first), last_(last)
{
    for (int level = 0; level < Levels; ++level) {
        const int cellsPerSide = 4 << level;
        levels_[level].resize(static_cast<std::size_t>(cellsPerSide) * cellsPerSide * cellsPerSide);
    }
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
    const int lo[3] = {(r >> shift) << shift, (g >> shift) << shift, (b >> shift) << shift};
    const int hi[3] = {lo[0] + size - 1, lo[1] + size - 1, lo[2] + size - 1};

    // The anchor: the colour whose farthest point of the cell is nearest.
    int bound = 0x7fffffff;
    Candidate anchor{};
    for (std::uint32_t i = start; i < start + count; ++i) {
        const Candidate& c = source[i];
        const int far = farSquare(c.red, lo[0], hi[0]) + farSquare(c.green, lo[1], hi[1]) + farSquare(c.blue, lo[2], hi[2]);
        if (far < bound) {
            bound = far;
            anchor = c;
        }
    }
    const int anchorSquare = anchor.red * anchor.red + anchor.green * anchor.green + anchor.blue * anchor.blue;

    // A colour c can only be nearest where it is at least as near as the anchor, on the anchor's
    // side of their bisecting plane: where 2 p.(c - anchor) >= |c|^2 - |anchor|^2. The cell holds
    // such a point p when its corner that maximises p.(c - anchor) does. Ties are kept.
    // `source` may be the pool itself, which grows here: elements are taken by index and copied.
    cell.start = static_cast<std::uint32_t>(pool_.size());
    for (std::uint32_t i = start; i < start + count; ++i) {
        const Candidate c = source[i];
        const int d[3] = {c.red - anchor.red, c.green - anchor.green, c.blue - anchor.blue};
        int reach = 0;
        for (int k = 0; k < 3; ++k)
            reach += d[k] * (d[k] > 0 ? hi[k] : lo[k]);
        if (2 * reach >= c.red * c.red + c.green * c.green + c.blue * c.blue - anchorSquare)
            pool_.push_back(c);
    }
    cell.count = static_cast<std::uint32_t>(pool_.size()) - cell.start;
}

const NearestColourSearch::Cell& NearestColourSearch::cellAt(int level, int r, int g, int b)
{
    const int shift = 6 - level, bits = 2 + level;
    Cell& cell = levels_[level][((r >> shift) << (2 * bits)) | ((g >> shift) << bits) | (b >> shift)];
    if (cell.start == Unfilled) {
        if (level == 0) {
            fill(cell, shift, r, g, b, colours_, 0, static_cast<std::uint32_t>(colours_.size()));
        } else {
            const Cell& parent = cellAt(level - 1, r, g, b);
            fill(cell, shift, r, g, b, pool_, parent.start, parent.count);
        }
    }
    return cell;
}

std::uint8_t NearestColourSearch::find(int r, int g, int b)
{
    if (colours_.empty() || ((r | g | b) & ~255) != 0)
        return NearestColour(palette_, r, g, b, first_, last_);
    const Cell& cell = cellAt(Levels - 1, r, g, b);
    const Candidate* const c = pool_.data() + cell.start;
    // The least of distance * 256 + (255 - index): the smallest distance and, among equal
    // distances, the highest index, found without a branch the processor could mispredict.
    int bestKey = 0x7fffffff;
    for (std::uint32_t i = 0; i < cell.count; ++i) {
        const int dr = c[i].red - r, dg = c[i].green - g, db = c[i].blue - b;
        const int key = ((dr * dr + dg * dg + db * db) << 8) | (255 - c[i].index);
        bestKey = std::min(bestKey, key);
    }
    return static_cast<std::uint8_t>(255 - (bestKey & 255));
}
