#pragma once
// The rasteriser's pixel loops: one segment of a textured span, between two points whose texture
// coordinates are exact, interpolated in 8.8 fixed point. Only the rasteriser includes this.
#include "Arithmetic32.h"
#include "RasteriserSetup.h"

#include <algorithm>
#include <cstdint>

namespace spans {

// Span steps: 8.8 fixed point held in 16 bits, as the span walk defines them.
using Fixed8 = std::int16_t;

struct Texel {
    i32 u, v;
};

// (difference x 256) div count, for a difference of two coordinates in 0..127 and the segment's
// reciprocal floor(2^32 / count) + 1 = 2^32 / count + e, 0 < e <= 1. With x = difference x 256,
// |x| <= 32512, x x reciprocal / 2^32 exceeds x / count by |x| e / 2^32, more than 0 and less than
// the 1 / count that would carry it past a whole number (count is at most the view's width, below
// 2^17): so its floor is x div count for x >= 0, and one less than x div count for x < 0, where
// the product's sign adds the one back. Exact truncating division, without branches.
inline Fixed8 SegmentStep(i32 difference, i64 reciprocal)
{
    const i64 product = i64(difference * 256) * reciprocal;
    return static_cast<Fixed8>((product >> 32) - (product >> 63));
}

template <Ink I>
inline void Plot(std::uint8_t* pixel, std::uint8_t texel, const std::uint8_t* shade, const std::uint8_t* blend)
{
    if constexpr (I == Ink::Keyed || I == Ink::BlendKeyed)
        if (texel == 0)
            return; // colour 0 is the key: what lies behind shows
    const std::uint8_t shaded = shade[texel];
    if constexpr (I == Ink::Opaque || I == Ink::Keyed)
        *pixel = shaded;
    else
        *pixel = blend[shaded * 256 + *pixel];
}

// Eight 16-bit lanes (GCC and Clang vector types: SSE2 registers on x86-64, plain code elsewhere).
using Lanes = std::uint16_t __attribute__((vector_size(16)));

// `count` pixels from `pixel`: pixel k reads the texel at (u + (k du >> 8), v + (k dv >> 8)),
// the accumulated k du and k dv kept in 16 bits.
//
// Both ends of a segment lie in 0..127 and |du|, |dv| <= |end - start| x 256 / count, so k du
// never wraps in 16 bits, v + (k dv >> 8) stays in 0..127 (its "mod 256" changes nothing) and
// u + (k du >> 8) = ((u << 8) + k du) >> 8 with (u << 8) + k du in 0..32512. Eight pixels'
// texel numbers, ((v8 >> 8) << 7) + (u8 >> 8) from those 8.8 values, are therefore worked out
// at once in 16-bit lanes whose wrapping arithmetic is exact for every pixel of the segment;
// lanes past its end hold numbers that are never used.
template <Ink I>
inline void SpanPixels(std::uint8_t* pixel, i32 count, const std::uint8_t* texture, Texel start, Fixed8 du,
                       Fixed8 dv, const std::uint8_t* shade, const std::uint8_t* blend)
{
    constexpr Lanes laneNumbers = {0, 1, 2, 3, 4, 5, 6, 7};
    Lanes u = static_cast<std::uint16_t>(start.u << 8) + laneNumbers * static_cast<std::uint16_t>(du);
    Lanes v = static_cast<std::uint16_t>(start.v << 8) + laneNumbers * static_cast<std::uint16_t>(dv);
    const auto eightU = static_cast<std::uint16_t>(du * 8), eightV = static_cast<std::uint16_t>(dv * 8);
    for (; count >= 8; count -= 8, pixel += 8) {
        const Lanes at = ((v >> 8) << 7) + (u >> 8);
        for (int k = 0; k < 8; ++k)
            Plot<I>(pixel + k, texture[at[k]], shade, blend);
        u += eightU;
        v += eightV;
    }
    if (count > 0) {
        const Lanes at = ((v >> 8) << 7) + (u >> 8);
        for (int k = 0; k < count; ++k)
            Plot<I>(pixel + k, texture[at[k]], shade, blend);
    }
}

} // namespace spans
