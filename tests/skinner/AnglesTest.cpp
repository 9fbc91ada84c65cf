#include "Angles.h"

#include <gtest/gtest.h>

TEST(ViewAngle, AnswersWholeDegreesRoundTheCircle)
{
    const struct {
        std::int32_t a, b, degrees;
    } cases[] = {
        {0, 200, 90},   // straight ahead along +Z
        {0, -5, 270},   // a = 0 below: -90, plus 360
        {0, 0, 90},     // no direction at all counts as ahead
        {5, 0, 0},      {-5, 0, 180}, {10, 10, 45}, {-10, 10, 135}, {-10, -10, 225}, {10, -10, 315},
        {1000, 1, 0},   // 0.057 degrees
        {100, 1, 1},    // 0.573 degrees
        {1, -1000, 270}, // 270.057
    };
    for (const auto& c : cases)
        EXPECT_EQ(ViewAngle(c.a, c.b), c.degrees) << c.a << ", " << c.b;
}

TEST(Rotate, RoundsEachDotProductHalfToEven)
{
    const RotationMatrix half{0.5f, 0, 0, 0, 0.5f, 0, 0, 0, 0.5f};
    const IntPoint p = Rotate(half, 5, 7, -5);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 4);
    EXPECT_EQ(p.z, -2);
}

TEST(MakeRotation, AQuarterTurnOfYawTakesXIntoDepthAndPitchTakesUpIntoDepth)
{
    // 8192 units are 1.57075 radians, a hair short of a right angle.
    const IntPoint yawed = Rotate(MakeRotation(8192, 0, 0), 100, 0, 0);
    EXPECT_EQ(yawed.x, 0);
    EXPECT_EQ(yawed.z, 100);
    const IntPoint pitched = Rotate(MakeRotation(0, 8192, 0), 0, 100, 0);
    EXPECT_EQ(pitched.y, 0);
    EXPECT_EQ(pitched.z, 100);
    // The hair shows at a large enough distance: cos(1.57075) x 100000 = 4.63.
    EXPECT_EQ(Rotate(MakeRotation(8192, 0, 0), 100000, 0, 0).x, 5);
}

TEST(AngleSin, UsesTheUnitsOwnValueOfPi)
{
    // 16384 units are 3.1415 radians, not a half turn: the sine is sin(3.1415), not 0.
    EXPECT_FLOAT_EQ(AngleSin(16384), 9.26535896e-05f);
    EXPECT_EQ(AngleCos(0), 1.0f);
}
