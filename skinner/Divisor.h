#pragma once
// Truncating division by a divisor that stays the same for many numerators (the rasteriser's
// texture-plane factor q, fixed per triangle), done as a multiplication and a shift. The answer
// is exactly n div d for every 32-bit n.
//
// For |n| <= 2^31 and |d| with 2^(L-1) < |d| <= 2^L, m = ceil(2^(31+L) / |d|) <= 2^32 gives
// floor(|n| m / 2^(31+L)) = floor(|n| / |d|): the product exceeds |n| / |d| by less than
// 2^-L <= 1 / |d|, which never carries it past the next whole number, and it stays below 2^64.
// The sign is put back afterwards, as truncation toward zero wants.
#include "Arithmetic32.h"

#include <bit>
#include <cstdint>

class Divisor {
public:
    Divisor() = default; // divides by 0, answering 0 as Div does
    explicit Divisor(i32 d)
    {
        if (d == 0)
            return;
        const std::uint64_t magnitude = d < 0 ? std::uint64_t(-static_cast<i64>(d)) : std::uint64_t(d);
        // L: the least with 2^L >= |d|.
        const int l = std::bit_width(magnitude - 1);
        shift_ = 31 + l;
        multiplier_ = ((std::uint64_t(1) << shift_) + magnitude - 1) / magnitude;
        sign_ = d < 0 ? -1 : 0;
    }

    // Without branches: the bound holds for |n| = 2^31 too (the product stays below 2^64), so
    // INT_MIN div -1 comes out wrapped, as Div answers it.
    i32 divide(i32 n) const
    {
        const i64 sign = n >> 31; // 0 or -1
        const auto magnitude = static_cast<std::uint64_t>((i64(n) ^ sign) - sign);
        const auto quotient = static_cast<i64>((magnitude * multiplier_) >> shift_);
        const i64 resultSign = sign ^ sign_;
        return Wrap((quotient ^ resultSign) - resultSign);
    }

private:
    std::uint64_t multiplier_ = 0;
    int shift_ = 0;
    i64 sign_ = 0;
};
