#pragma once
// Truncating division by a divisor that stays the same for many numerators (the rasteriser's
// texture-plane factor q, fixed per triangle), done as a multiplication and two shifts. The
// answer is exactly n div d for every 32-bit n.
//
// For |d| with 2^(L-1) < |d| <= 2^L, k = 31 + L and m = floor(2^k / |d|) + 1, so m = 2^k / |d| + e
// with 0 < e <= 1, and m < 2^32. For 0 <= n < 2^31, n m / 2^k = n / |d| + n e / 2^k, the excess
// below 2^31 / 2^k = 2^-L <= 1 / |d|: never enough to carry past the next whole number, so
// floor(n m / 2^k) = n div |d|. For -2^31 <= n < 0 the excess lies in (0, 1 / |d|]: above every
// whole multiple, never past the next one, so floor(n m / 2^k) + 1 = -(|n| div |d|) = n div |d|.
// The product stays within 64 bits (|n m| < 2^63); its sign is n's, so the correction is the
// product's sign. The divisor's sign is put back last, as truncation toward zero wants.
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
        multiplier_ = static_cast<i64>((std::uint64_t(1) << shift_) / magnitude + 1);
        negative_ = d < 0;
    }

    // n div |d|, without branches (0 for d = 0: the product is 0).
    i32 divideByMagnitude(i32 n) const
    {
        const i64 product = i64(n) * multiplier_;
        return Wrap((product >> shift_) - (product >> 63));
    }
    bool negative() const { return negative_; }

    // n div d; INT_MIN div -1 comes out wrapped, as Div answers it.
    i32 divide(i32 n) const
    {
        const i32 quotient = divideByMagnitude(n);
        return negative_ ? Wrap(-i64(quotient)) : quotient;
    }

private:
    i64 multiplier_ = 0;
    int shift_ = 0;
    bool negative_ = false;
};
