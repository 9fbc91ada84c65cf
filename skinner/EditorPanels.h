#pragma once
// The two small views beside the skinning editor's rendered view: the 16 x 16 grid of face
// colours, and the current image of the chosen texture. Both are 128 x 128 DisplayImages.
#include "DisplayImage.h"
#include "SkinnerBank.h"
#include "TextureImage.h"

#include <array>
#include <cstdint>

// The colour grid's pixels, stored row y (row 0 shows at the bottom) and column x holding colour
// (x div 8) x 16 + (y div 8): column c of cells holds colours 16c (bottom) to 16c + 15 (top).
using PaletteGrid = std::array<std::uint8_t, TexturePixels>;
PaletteGrid MakePaletteGrid();

// The colour of the cell under the point (x, y) of the grid, counted from its top left corner, or
// -1 unless the point lies strictly inside the grid (0 < x < 128 and 0 < y < 128).
int GridColourAt(int x, int y);

// The grid into `image` with an 8 x 8 outline round the cell of `colour`, in `outline`.
void ShowPaletteGrid(DisplayImage& image, const PaletteGrid& grid, std::uint8_t colour, std::uint8_t outline);

// The image that texture `texture` shows now into `image`, first row first; colour 0 where the
// texture or its image is not in the bank.
void ShowTextureImage(DisplayImage& image, const SkinnerBank& bank, std::int32_t texture);
