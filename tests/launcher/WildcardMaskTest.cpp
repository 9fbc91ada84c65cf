#include "WildcardMask.h"

#include <gtest/gtest.h>

TEST(MatchesMask, FollowsTheWildcardsWithoutRegardToCase)
{
    const struct {
        const char* name;
        const char* mask;
        bool matches;
    } cases[] = {
        {"README", "*.*", true},   {".hidden", "*.*", true},     {"PIC.BMP", "*.bmp", true},
        {"pic.bmp", "*.BMP", true}, {"PIC.BMPX", "*.BMP", false}, {"level1.lev", "LEVEL?.LEV", true},
        {"LEVEL.LEV", "LEVEL?.LEV", false}, {"aXbYYc", "a*b*c", true}, {"ab", "a*b", true},
        {"abc", "a*b", false},     {"", "*", true},              {"x", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " against " << c.mask;
}
