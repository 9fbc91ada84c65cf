#include "DemoPalettes.h"

#include <algorithm>
#include <cmath>

namespace {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

} // namespace

PalettePlanes DemoFlatColourPalette()
{
    PalettePlanes palette;
    for (int i = 0; i < 256; ++i) {
        const int row = i / 16, level = i % 16;
        float red, green, blue;
        if (row == 0) {
            red = green = blue = level * 17.0f;
        } else {
            // Hue round the colour wheel, light from dark to pale.
            const float hue = (row - 1) / 15.0f * 6.0f;
            const float r = clamp01(std::fabs(hue - 3) - 1), g = clamp01(2 - std::fabs(hue - 2)),
                        b = clamp01(2 - std::fabs(hue - 4));
            const float light = (level + 1) / 16.0f;
            red = r * 255, green = g * 255, blue = b * 255;
            if (light < 0.6f) {
                const float k = light / 0.6f;
                red *= k, green *= k, blue *= k;
            } else {
                const float t = (light - 0.6f) / 0.5f;
                red = red * (1 - t) + 255 * t, green = green * (1 - t) + 255 * t, blue = blue * (1 - t) + 255 * t;
            }
        }
        palette.red[i] = static_cast<std::uint8_t>(clamp01(red / 255) * 255 + 0.5f);
        palette.green[i] = static_cast<std::uint8_t>(clamp01(green / 255) * 255 + 0.5f);
        palette.blue[i] = static_cast<std::uint8_t>(clamp01(blue / 255) * 255 + 0.5f);
    }
    return palette;
}
