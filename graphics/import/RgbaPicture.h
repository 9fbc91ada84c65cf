#pragma once
// A picture as the import's own readers (TGA, PCX) hand it over, before it is fitted to a texture.
#include <cstdint>
#include <vector>

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // width x height x 4, first row on top, not premultiplied
};

// The most pixels the import's own readers take: 64 million (256 MB of red, green, blue and alpha),
// so that a few bytes of run-length data can never claim more.
constexpr std::uint64_t MostPicturePixels = 64ull * 1024 * 1024;
