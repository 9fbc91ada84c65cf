#pragma once
// The nearest-colour search for many queries on one palette: the same answers as NearestColour
// (smallest squared distance, highest index on ties) at a small part of the cost.
//
// The colour cube is cut into cells of 8 x 8 x 8. A cell keeps as candidates only the colours
// that can be nearest to some point inside it: a colour that is farther than the cell's anchor
// colour (the one whose farthest point of the cell is nearest) from every point of the cell never
// wins there, not even a tie. Cells are filled on first use from their parent cell of twice
// the side (whose candidates include the child's), up to cells of 64 filled from the palette.
#include "Palette.h"

#include <cstdint>
#include <vector>

class NearestColourSearch {
public:
    NearestColourSearch(const PalettePlanes& palette, int first, int last);

    // Values outside 0..255 are answered by the plain search.
    std::uint8_t find(int r, int g, int b);

private:
    struct Candidate {
        std::uint8_t red, green, blue, index;
    };
    struct Cell {
        std::uint32_t start = Unfilled;
        std::uint32_t count = 0;
    };
    static constexpr std::uint32_t Unfilled = 0xffffffff;

    // Cell sides 64, 32, 16 and 8: level n has cells of side 1 << (6 - n).
    static constexpr int Levels = 4;

    void fill(Cell& cell, int shift, int r, int g, int b, const std::vector<Candidate>& source, std::uint32_t start,
              std::uint32_t count);
    const Cell& cellAt(int level, int r, int g, int b);

    std::vector<Candidate> colours_;   // distinct colours of first..last, ascending index
    std::vector<Cell> levels_[Levels]; // (256 >> shift)^3 cells each
    std::vector<Candidate> pool_;      // every cell's candidates, ascending index
    PalettePlanes palette_;
    int first_, last_;
};
