#include "Divisor.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(Divisor, DividesEveryNumeratorExactlyAsTruncatingDivision)
{
    std::vector<i32> divisors{1, -1, 2, -2, 3, -3, 7, 128, -128, 255, 1000, -65535, 65536, 0x7fff, 1 << 30,
                              (1 << 30) + 1, INT32_MAX, -INT32_MAX, INT32_MIN, 0};
    std::vector<i32> numerators{0, 1, -1, 2, -2, 127, -127, 128, 65535, -65536, INT32_MAX, INT32_MIN, INT32_MIN + 1,
                                INT32_MAX - 1};
    std::mt19937 random(99);
    for (int i = 0; i < 200; ++i)
        divisors.push_back(static_cast<i32>(random()));
    for (int i = 0; i < 2000; ++i)
        numerators.push_back(static_cast<i32>(random()) >> (random() % 31));
    for (const i32 d : divisors) {
        const Divisor divisor(d);
        for (const i32 n : numerators) {
            ASSERT_EQ(divisor.divide(n), Div(n, d)) << n << " div " << d;
            // Numerators next to multiples of the divisor, where a rounding error would show.
            const i64 multiple = i64(n / (d == 0 || d == -1 ? 1 : d)) * d;
            for (const i64 near : {multiple - 1, multiple, multiple + 1}) {
                if (near >= INT32_MIN && near <= INT32_MAX) {
                    ASSERT_EQ(divisor.divide(i32(near)), Div(i32(near), d)) << near << " div " << d;
                }
            }
        }
    }
}
