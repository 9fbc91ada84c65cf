#pragma once
// The nearest-colour search for many queries on one palette: the same answers as NearestColour
// (smallest squared distance, highest index on ties) at a small part of the cost.
//
// The colour cube is cut into cells of 8 x 8 x 8. A cell keeps as candidates only the colours
// that can be nearest to some point inside it: a colour whose smallest possible distance to the
// cell exceeds the largest possible distance of another colour (to the cell's farthest corner)
// never wins there, not even a tie. Cells are filled on first use from their 16 x 16 x 16 parent
// cell (whose candidates include the child's), which is filled from the whole palette.
#include "Palette.h"

#include <cstdint>
#include <vector>

class NearestColourSearch {
public:
    NearestColourSearch(const PalettePlanes& palette, int first, int last);

    // r, g and b in 0..255.
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

    void fill(Cell& cell, int shift, int r, int g, int b, const std::vector<Candidate>& source, std::uint32_t start,
              std::uint32_t count);
    const Cell& fineCell(int r, int g, int b);

    std::vector<Candidate> colours_; // distinct colours of first..last, ascending index
    std::vector<Cell> coarse_;       // 16 x 16 x 16 cells of 16
    std::vector<Cell> fine_;         // 32 x 32 x 32 cells of 8
    std::vector<Candidate> pool_;    // every cell's candidates, ascending index
    std::uint8_t emptyAnswer_ = 0;
};
