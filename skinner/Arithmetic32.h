#pragma once
// The renderer's integer arithmetic is 32-bit and wraps like the hardware; division truncates
// toward zero; floating values become integers by rounding half to even. Sums, differences and
// products are formed in 64 bits and brought back with Wrap, which gives exactly the 32-bit
// wrapped result (wrapping commutes with them); divisions, shifts and comparisons work on the
// wrapped 32-bit values. Coordinates large enough to wrap are outside what the renderer
// handles, but they must not crash it: hence the checked division.
#include <climits>
#include <cmath>
#include <cstdint>

using i32 = std::int32_t;
using i64 = std::int64_t;

// The low 32 bits of v as a signed value (C++20 defines the conversion as modular).
constexpr i32 Wrap(i64 v)
{
    return static_cast<i32>(v);
}

// a div b, truncating toward zero. The two cases the hardware traps on answer what cannot harm:
// a zero divisor 0, and INT_MIN div -1 its wrapped value.
constexpr i32 Div(i32 a, i32 b)
{
    if (b == 0)
        return 0;
    if (b == -1)
        return Wrap(-static_cast<i64>(a));
    return a / b;
}

// The nearest integer, halves to the even neighbour (the FPU's default rounding), wrapped into
// 32 bits; values that are not numbers at all become 0.
inline i32 RoundToI32(double v)
{
    if (!(std::fabs(v) < 9.0e18))
        return 0;
    return Wrap(std::llrint(v));
}

// a.b + c.d + e.f wrapped to 32 bits, whatever the sizes (formed modulo 2^64, whose low 32 bits
// are those of the 32-bit result).
constexpr i32 Dot3(i32 a, i32 b, i32 c, i32 d, i32 e, i32 f)
{
    using u64 = std::uint64_t;
    return Wrap(static_cast<i64>(u64(i64(a)) * u64(i64(b)) + u64(i64(c)) * u64(i64(d)) + u64(i64(e)) * u64(i64(f))));
}

inline i64 Abs64(i32 v)
{
    return v < 0 ? -static_cast<i64>(v) : v;
}
