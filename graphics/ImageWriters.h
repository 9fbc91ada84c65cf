#pragma once
// Writing 8-bit images with their palette: PCX (version 5, run-length, one plane, 0x0C and the
// 768-byte palette after the pixels) and PNG (indexed colour; the pixel data stored, not
// compressed, so no compression library is needed). Pixels are width x height, first row on top.
#include "Palette.h"

#include <cstdint>
#include <span>
#include <vector>

// Width and height 1..65535 (PCX) and 1..2^31 - 1 (PNG); pixels holds at least width x height.
std::vector<std::uint8_t> EncodePcx(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette);
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette);
