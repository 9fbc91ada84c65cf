#pragma once
// Angles in AngleUnits (radians = units x 3.1415 / 16384), the rotation matrices made from them,
// and the direction of a vector in degrees.
#include <array>
#include <cstdint>

// Sine and cosine of an angle in AngleUnits, rounded to single precision.
float AngleSin(std::int32_t units);
float AngleCos(std::int32_t units);

// Rows of the rotation for yaw a, pitch b and roll c, each entry a single-precision value:
//   ca.cc + sa.sb.sc   -cb.sc   -sa.cc + sb.sc.ca
//   ca.sc - cc.sa.sb    cb.cc   -sa.sc - ca.cc.sb
//   sa.cb               sb       ca.cb
using RotationMatrix = std::array<float, 9>;
RotationMatrix MakeRotation(std::int32_t yaw, std::int32_t pitch, std::int32_t roll);

struct IntPoint {
    std::int32_t x, y, z;
};
// (row1 . p, row2 . p, row3 . p): each dot product in double precision, rounded half to even.
IntPoint Rotate(const RotationMatrix& m, std::int32_t x, std::int32_t y, std::int32_t z);

// The direction of the vector (a, b) in whole degrees, 0..360.
std::int32_t ViewAngle(std::int32_t a, std::int32_t b);
