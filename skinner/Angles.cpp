#include "Angles.h"

#include "Arithmetic32.h"

#include <cmath>
#include <numbers>

namespace {

// Not pi to more places: the angle unit is defined with this value.
constexpr double AngleUnitRadians = 3.1415 / 16384;

} // namespace

float AngleSin(std::int32_t units)
{
    return static_cast<float>(std::sin(units * AngleUnitRadians));
}

float AngleCos(std::int32_t units)
{
    return static_cast<float>(std::cos(units * AngleUnitRadians));
}

RotationMatrix MakeRotation(std::int32_t yaw, std::int32_t pitch, std::int32_t roll)
{
    const float ca = AngleCos(yaw), sa = AngleSin(yaw);
    const float cb = AngleCos(pitch), sb = AngleSin(pitch);
    const float cc = AngleCos(roll), sc = AngleSin(roll);
    // Single-precision products and sums, left to right as written.
    return {ca * cc + sa * sb * sc, -cb * sc, -sa * cc + sb * sc * ca,
            ca * sc - cc * sa * sb, cb * cc,  -sa * sc - ca * cc * sb,
            sa * cb,                sb,       ca * cb};
}

IntPoint Rotate(const RotationMatrix& m, std::int32_t x, std::int32_t y, std::int32_t z)
{
    const double px = x, py = y, pz = z;
    return {RoundToI32(double(m[0]) * px + double(m[1]) * py + double(m[2]) * pz),
            RoundToI32(double(m[3]) * px + double(m[4]) * py + double(m[5]) * pz),
            RoundToI32(double(m[6]) * px + double(m[7]) * py + double(m[8]) * pz)};
}

std::int32_t ViewAngle(std::int32_t a, std::int32_t b)
{
    double radians;
    if (a == 0) {
        radians = b < 0 ? -std::numbers::pi / 2 : std::numbers::pi / 2;
    } else {
        const float quotient = static_cast<float>(static_cast<double>(b) / a);
        radians = std::atan(static_cast<double>(quotient));
        if (a < 0)
            radians += std::numbers::pi;
    }
    double degrees = radians * 180 / std::numbers::pi;
    if (degrees < 0)
        degrees += 360;
    return RoundToI32(degrees);
}
