#include "QuadFit.h"

#include <gtest/gtest.h>

namespace {

using Corners = std::array<std::array<std::int32_t, 3>, 4>;
using Points = std::array<std::uint16_t, 3>;

// Four points (0 to 3) and two faces on them, mapping 3 to start with.
Object3D quad(const Corners& corners, Points first, Points second)
{
    Object3D object;
    AllocateObject(object, 3, 1);
    for (int p = 0; p < 4; ++p)
        object.x[p] = corners[p][0], object.y[p] = corners[p][1], object.z[p] = corners[p][2];
    object.faces[0] = Face{first[0], first[1], first[2], 5, 3, 0, FaceTextured, 0};
    object.faces[1] = Face{second[0], second[1], second[2], 5, 3, 0, FaceTextured, 0};
    return object;
}

Points pointsOf(const Face& face) { return {face.p1, face.p2, face.p3}; }

// Corners listed top left, top right, bottom right, bottom left as seen from the front.
const Corners WallTowardEye{{{0, 100, 0}, {100, 100, 0}, {100, 0, 0}, {0, 0, 0}}};   // front toward -Z
const Corners WallTowardX{{{0, 100, 0}, {0, 100, 100}, {0, 0, 100}, {0, 0, 0}}};     // front toward +X
const Corners Ground{{{0, 0, 100}, {100, 0, 100}, {100, 0, 0}, {0, 0, 0}}};          // front toward +Y, top far
const Corners Bent{{{0, 100, 0}, {100, 100, 0}, {100, 0, 0}, {0, 0, 4}}};            // 2.3 degrees out of plane
const Corners Dart{{{0, 100, 0}, {100, 100, 0}, {30, 70, 0}, {0, 0, 0}}};            // corner 2 pushed inside

} // namespace

TEST(FitTexturesToQuads, LaysOneUprightTexturePerQuadWithTheSecondHalfTurned)
{
    // Texel (0, 0) at the top left corner: the first face 0 1 2 mapping 0, the second 2 3 0
    // mapping 1, whichever diagonal the model had.
    const struct {
        const char* name;
        const Corners& corners;
        Points first, second;
    } cases[] = {
        {"wall, other diagonal", WallTowardEye, {3, 0, 1}, {1, 2, 3}},
        {"wall, same diagonal", WallTowardEye, {1, 2, 0}, {3, 0, 2}},
        {"faces listed the other way", WallTowardEye, {2, 3, 1}, {0, 1, 3}},
        {"side wall", WallTowardX, {3, 0, 1}, {1, 2, 3}},
        {"ground", Ground, {1, 2, 3}, {3, 0, 1}},
    };
    for (const auto& c : cases) {
        Object3D object = quad(c.corners, c.first, c.second);
        EXPECT_EQ(FitTexturesToQuads(object, AllFaces(2)), 1u) << c.name;
        EXPECT_EQ(pointsOf(object.faces[0]), (Points{0, 1, 2})) << c.name;
        EXPECT_EQ(object.faces[0].mapping, 0) << c.name;
        EXPECT_EQ(pointsOf(object.faces[1]), (Points{2, 3, 0})) << c.name;
        EXPECT_EQ(object.faces[1].mapping, 1) << c.name;
        EXPECT_EQ(object.faces[1].texture, 5) << c.name;
    }
}

TEST(FitTexturesToQuads, LeavesTrianglesWithoutAPartnerAsTheyAre)
{
    const struct {
        const char* name;
        const Corners& corners;
        Points first, second;
        FaceFlags faces;
    } cases[] = {
        {"not in one plane", Bent, {3, 0, 1}, {1, 2, 3}, AllFaces(2)},
        {"not convex", Dart, {3, 0, 1}, {1, 2, 3}, AllFaces(2)},
        {"one turned over", WallTowardEye, {3, 0, 1}, {3, 2, 1}, AllFaces(2)},
        {"one not chosen", WallTowardEye, {3, 0, 1}, {1, 2, 3}, FaceFlags{1, 0}},
    };
    for (const auto& c : cases) {
        Object3D object = quad(c.corners, c.first, c.second);
        const Object3D before = object;
        EXPECT_EQ(FitTexturesToQuads(object, c.faces), 0u) << c.name;
        EXPECT_EQ(object.faces, before.faces) << c.name;
    }
}
