#pragma once
// A triangle of the frame made ready for the rasteriser: everything its rows need that is fixed
// for the triangle (edges, light, tables, texture plane), worked out once, however many bands of
// rows draw it afterwards. A plain record: the frame keeps one per triangle drawn.
#include "Divisor.h"

#include <cstdint>

// How the rows are filled.
enum class FillKind : std::uint8_t {
    Flat,
    TexturedXY, // texture coordinates in the plane the normal stands most nearly upright on
    TexturedXZ,
    TexturedYZ,
};
enum class Ink : std::uint8_t { Opaque, Keyed, Blend, BlendKeyed };

// Edge slopes are fixed point: pixels per row x EdgeOne.
constexpr std::int32_t EdgeOne = 32768;

struct TriangleSetup {
    // Rows top..bottom - 1 hold everything the triangle draws (inside the view): a band of rows
    // that misses them passes the triangle over.
    std::int32_t top, bottom;
    std::int32_t index; // the triangle's place in the frame's list
    FillKind kind;
    Ink ink;
    std::uint8_t widen;     // 1 when spans are one column wider (less than half see-through)
    const std::uint8_t* texture; // 128 x 128 texels; null for flat triangles
    const std::uint8_t* shade;   // the shade table's row for the triangle's light
    const std::uint8_t* blend;   // the blend table of its level
    std::uint8_t colour;         // flat triangles: the shaded colour

    // Screen points top first; edge slopes in 1/EdgeOne pixel a row (the long edge P1 to P3, the
    // short ones from P2); the rows of each half inside the view, empty when first >= last.
    std::int32_t px[3], py[3];
    std::int32_t longSlope;
    std::int32_t upperSlope, upperFirst, upperLast;
    std::int32_t lowerSlope, lowerFirst, lowerLast;

    // Textured triangles: the reduced normal r, the plane constant D = (A . r) x 256, corner A,
    // the factors of the texture coordinates' numerators (u = a uA - b uB, v = a vA - b vB, for
    // P - A = (a, b) in the texture plane; 32-bit wrapped), the divisor q = subdivision x the
    // chosen component, and how a quotient by |q| becomes a coordinate (see setPlane).
    std::int32_t rx, ry, rz, plane;
    std::int32_t ax, ay, az;
    std::uint32_t uA, uB, vA, vB;
    std::uint32_t turnXor, turnAdd;
    Divisor q;
};
