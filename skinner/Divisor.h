#pragma once
// Truncating division by a divisor that stays the same for many numerators (the rasteriser's
// texture-plane factor q, fixed per triangle), done as a multiplication and a shift. The answer
// is exactly n div d for every 32-bit n.
//
// For |n| < 2^31 and d > 0 with 2^(L-1) < d <= 2^L, m = ceil(2^(31+L) / d) gives
// floor(|n| m / 2^(31+L)) = floor(|n| / d): the product exceeds |n| / d by less than 1 / d,
// which never carries it past the next whole number, and it stays below 2^64. The sign is put
// back afterwards, as truncation toward zero wants.
#include "Arithmetic32.h"

#include <cstdint>

class Divisor {
public:
    Divisor() = default;
    explicit Divisor(i32 d) : d_(d)
    {
        if (d == 0 || d == INT32_MIN)
            return; // answered by Div itself
        const std::uint64_t magnitude = d < 0 ? static_cast<std::uint64_t>(-static_cast<i64>(d)) : std::uint64_t(d);
        int l = 0;
        while ((std::uint64_t(1) << l) < magnitude)
            ++l;
        shift_ = 31 + l;
        multiplier_ = ((std::uint64_t(1) << shift_) + magnitude - 1) / magnitude;
        negative_ = d < 0;
    }

    i32 divide(i32 n) const
    {
        if (shift_ == 0 || n == INT32_MIN)
            return Div(n, d_);
        const std::uint64_t magnitude = n < 0 ? std::uint64_t(-static_cast<i64>(n)) : std::uint64_t(n);
        const auto quotient = static_cast<i64>((magnitude * multiplier_) >> shift_);
        return Wrap((n < 0) != negative_ ? -quotient : quotient);
    }

private:
    i32 d_ = 0;
    std::uint64_t multiplier_ = 0;
    int shift_ = 0;
    bool negative_ = false;
};
