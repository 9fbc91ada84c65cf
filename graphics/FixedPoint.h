#pragma once
// Arithmetic shifts of 32-bit values for the renderer's fixed-point arithmetic. C++20 defines
// both for negative values: right shifts keep the sign, left shifts wrap like the hardware.
#include <cstdint>

constexpr std::int32_t ShiftRight(std::int32_t value, int n)
{
    return value >> n;
}

constexpr std::int32_t ShiftLeft(std::int32_t value, int n)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << n);
}
