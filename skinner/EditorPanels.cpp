#include "EditorPanels.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int CellSide = 8; // 16 cells of 8 pixels make the 128-pixel grid

bool holdsTexture(const DisplayImage& image)
{
    return image.width == TextureSide && image.height >= TextureSide && image.bytesPerPixel == 1 &&
           image.pixels.size() >= TexturePixels;
}

} // namespace

PaletteGrid MakePaletteGrid()
{
    PaletteGrid grid;
    for (int y = 0; y < TextureSide; ++y)
        for (int x = 0; x < TextureSide; ++x)
            grid[static_cast<std::size_t>(y * TextureSide + x)] =
                static_cast<std::uint8_t>((x / CellSide) * 16 + y / CellSide);
    return grid;
}

int GridColourAt(int x, int y)
{
    if (x <= 0 || x >= TextureSide || y <= 0 || y >= TextureSide)
        return -1;
    return (x / CellSide) * 16 + 15 - y / CellSide;
}

void ShowPaletteGrid(DisplayImage& image, const PaletteGrid& grid, std::uint8_t colour, std::uint8_t outline)
{
    if (!holdsTexture(image))
        return;
    std::memcpy(image.pixels.data(), grid.data(), grid.size());
    // DrawLine counts rows from the top: colour 16c + 15 is the top cell of column c.
    const int left = (colour / 16) * CellSide, top = 120 - (colour % 16) * CellSide;
    const int right = left + CellSide - 1, bottom = top + CellSide - 1;
    DrawLine(image, left, top, right, top, outline);
    DrawLine(image, right, top, right, bottom, outline);
    DrawLine(image, right, bottom, left, bottom, outline);
    DrawLine(image, left, bottom, left, top, outline);
}

void ShowTextureImage(DisplayImage& image, const SkinnerBank& bank, std::int32_t texture)
{
    if (!holdsTexture(image))
        return;
    const std::uint8_t* pixels = nullptr;
    if (texture >= 0 && texture < SkinnerBank::Capacity)
        pixels = bank.image(bank.textures[static_cast<std::size_t>(texture)].current);
    if (pixels != nullptr)
        std::memcpy(image.pixels.data(), pixels, TexturePixels);
    else
        std::fill_n(image.pixels.begin(), TexturePixels, std::uint8_t{0});
}
