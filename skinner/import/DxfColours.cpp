#include "DxfColours.h"

#include <array>
#include <cmath>

MeshColour DxfIndexColour(int number)
{
    static constexpr std::array<MeshColour, 10> named{{{255, 255, 255},
                                                       {255, 0, 0},
                                                       {255, 255, 0},
                                                       {0, 255, 0},
                                                       {0, 255, 255},
                                                       {0, 0, 255},
                                                       {255, 0, 255},
                                                       {255, 255, 255},
                                                       {128, 128, 128},
                                                       {192, 192, 192}}};
    static constexpr std::array<std::uint8_t, 6> greys{51, 91, 132, 173, 214, 255};
    if (number < 1 || number > 255)
        return named[0];
    if (number < 10)
        return named[number];
    if (number >= 250) {
        const std::uint8_t g = greys[number - 250];
        return {g, g, g};
    }
    // Ten numbers per hue: brightness 255, 165, 127, 76, 38, each full then half saturated.
    static constexpr std::array<int, 5> brightness{255, 165, 127, 76, 38};
    const int hue = (number - 10) / 10 * 15, step = number % 10;
    const int high = brightness[step / 2], low = step % 2 ? high / 2 : 0;
    const int sector = hue / 60;
    const double fraction = (hue % 60) / 60.0;
    const auto between = [&](double f) { return static_cast<std::uint8_t>(low + std::lround((high - low) * f)); };
    const std::uint8_t h = static_cast<std::uint8_t>(high), l = static_cast<std::uint8_t>(low);
    const std::uint8_t rising = between(fraction), falling = between(1 - fraction);
    switch (sector) {
    case 0: return {h, rising, l};
    case 1: return {falling, h, l};
    case 2: return {l, h, rising};
    case 3: return {l, falling, h};
    case 4: return {rising, l, h};
    default: return {h, l, falling};
    }
}
