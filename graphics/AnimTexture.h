#pragma once
// Animated textures: a run of image slots from `first` to `last`, `current` being the image shown
// now. A run may go down (first > last): its images then play in descending order.
#include <cstdint>

struct AnimTexture {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t current = 0;

    bool operator==(const AnimTexture&) const = default;
};

// One animation step: `current` moves one image towards `last` and wraps back to `first`.
void StepTexture(AnimTexture& texture);
