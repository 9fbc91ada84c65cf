#pragma once
// Bank images are always 128 x 128 colour indices, first row first (row v at byte v * 128).
#include <array>
#include <cstddef>
#include <cstdint>

constexpr int TextureSide = 128;
constexpr std::size_t TexturePixels = TextureSide * TextureSide; // 16,384 bytes

using TextureImage = std::array<std::uint8_t, TexturePixels>;
