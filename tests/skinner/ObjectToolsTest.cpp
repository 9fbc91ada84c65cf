#include "ObjectTools.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

Face triangle(std::uint16_t p1, std::uint16_t p2, std::uint16_t p3, std::uint16_t type, std::uint16_t texture)
{
    Face face{p1, p2, p3, texture};
    face.faceType = type;
    return face;
}

// Four points and the faces given.
Object3D objectWith(std::initializer_list<Face> faces)
{
    Object3D object;
    AllocateObject(object, 3, static_cast<std::int32_t>(faces.size()) - 1);
    const std::int32_t coordinates[4][3] = {{1, 2, 3}, {-4, 5, -6}, {7, -8, 9}, {INT32_MIN, INT32_MAX, 0}};
    for (int p = 0; p < 4; ++p) {
        object.x[p] = coordinates[p][0];
        object.y[p] = coordinates[p][1];
        object.z[p] = coordinates[p][2];
    }
    std::copy(faces.begin(), faces.end(), object.faces.begin());
    return object;
}

const Face sign = triangle(2, 40, 60, FaceVirtual, 9); // stands on point 2, 40 x 60

} // namespace

TEST(ObjectTools, ColourAndTextureAllLeaveVirtualFacesAlone)
{
    Object3D object = objectWith({triangle(0, 1, 2, FaceTextured, 4), sign, triangle(1, 2, 3, FaceTexturedKeyed, 7)});
    ColourAllFaces(object, 200);
    EXPECT_EQ(object.faces[0], triangle(0, 1, 2, FacePlain, 200));
    EXPECT_EQ(object.faces[2], triangle(1, 2, 3, FacePlain, 200));
    EXPECT_EQ(object.faces[1], sign);
    TextureAllFaces(object, 31000);
    EXPECT_EQ(object.faces[0], triangle(0, 1, 2, FaceTextured, 31000));
    EXPECT_EQ(object.faces[2], triangle(1, 2, 3, FaceTextured, 31000));
    EXPECT_EQ(object.faces[1], sign);
}

TEST(ObjectTools, ReplaceColourChangesOnlyPlainFacesOfTheSampledNumber)
{
    Object3D object = objectWith({triangle(0, 1, 2, FaceTextured, 5), triangle(0, 1, 2, FacePlain, 5),
                                  triangle(0, 1, 2, FacePlain, 6), triangle(0, 1, 2, FaceTexturedKeyed, 5), sign});
    ReplaceColour(object, 0, 77); // a textured sample of texture 5 still names colour 5
    EXPECT_EQ(object.faces[0].texture, 5);
    EXPECT_EQ(object.faces[1].texture, 77);
    EXPECT_EQ(object.faces[2].texture, 6);
    EXPECT_EQ(object.faces[3].texture, 5);
    const Object3D before = object;
    ReplaceColour(object, 5, 1); // no such face
    ReplaceColour(object, -1, 1);
    EXPECT_EQ(object.faces, before.faces);
}

TEST(ObjectTools, TurningFacesOverSwapsTheOuterCornersOfTriangles)
{
    Object3D object = objectWith({triangle(0, 1, 2, FaceTextured, 4), sign});
    TurnFacesOver(object);
    EXPECT_EQ(object.faces[0], triangle(2, 1, 0, FaceTextured, 4));
    EXPECT_EQ(object.faces[1], sign);
    TurnFacesOver(object);
    EXPECT_EQ(object.faces[0], triangle(0, 1, 2, FaceTextured, 4));
}

TEST(ObjectTools, MirrorsAndQuarterTurnsGiveThePointsBack)
{
    const Object3D start = objectWith({triangle(0, 1, 2, FaceTextured, 4)});
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        Object3D object = start;
        MirrorObject(object, axis);
        EXPECT_FALSE(object.x == start.x && object.y == start.y && object.z == start.z);
        MirrorObject(object, axis);
        EXPECT_EQ(object.x, start.x);
        EXPECT_EQ(object.y, start.y);
        EXPECT_EQ(object.z, start.z);
        for (int turn = 0; turn < 4; ++turn)
            QuarterTurn(object, axis);
        EXPECT_EQ(object.x, start.x);
        EXPECT_EQ(object.y, start.y);
        EXPECT_EQ(object.z, start.z);
        EXPECT_EQ(object.faces, start.faces);
    }
}

TEST(ObjectTools, MirrorsAndQuarterTurnsMoveEveryAxisAsTheMenuSays)
{
    // Worked by hand from point 1 (-4, 5, -6) and point 2 (7, -8, 9): every coordinate has its
    // own size, so a swapped axis or a sign on the wrong one shows.
    struct Expected {
        std::int32_t x, y, z;
    };
    const struct {
        const char* tool;
        void (*run)(Object3D&);
        Expected point1, point2;
    } cases[] = {
        {"mirror X", [](Object3D& o) { MirrorObject(o, Axis::X); }, {4, 5, -6}, {-7, -8, 9}},
        {"mirror Y", [](Object3D& o) { MirrorObject(o, Axis::Y); }, {-4, -5, -6}, {7, 8, 9}},
        {"mirror Z", [](Object3D& o) { MirrorObject(o, Axis::Z); }, {-4, 5, 6}, {7, -8, -9}},
        {"90 Z: x = -y, y = x", [](Object3D& o) { QuarterTurn(o, Axis::Z); }, {-5, -4, -6}, {8, 7, 9}},
        {"90 X: y = -z, z = y", [](Object3D& o) { QuarterTurn(o, Axis::X); }, {-4, 6, 5}, {7, -9, -8}},
        {"90 Y: x = -z, z = x", [](Object3D& o) { QuarterTurn(o, Axis::Y); }, {6, 5, -4}, {-9, -8, 7}},
    };
    for (const auto& c : cases) {
        Object3D object = objectWith({triangle(0, 1, 2, FaceTextured, 4)});
        c.run(object);
        EXPECT_EQ((std::vector<std::int32_t>{object.x[1], object.y[1], object.z[1]}),
                  (std::vector<std::int32_t>{c.point1.x, c.point1.y, c.point1.z}))
            << c.tool;
        EXPECT_EQ((std::vector<std::int32_t>{object.x[2], object.y[2], object.z[2]}),
                  (std::vector<std::int32_t>{c.point2.x, c.point2.y, c.point2.z}))
            << c.tool;
    }
    Object3D object = objectWith({triangle(0, 1, 2, FaceTextured, 4)});
    MirrorObject(object, Axis::X);
    EXPECT_EQ(object.x[3], INT32_MIN); // the lowest value has no opposite in 32 bits
}

TEST(ObjectTools, TakeOverSkinCopiesFaceByFaceWhileTheOtherHasFaces)
{
    Object3D object = objectWith({triangle(0, 1, 2, FacePlain, 1), triangle(1, 2, 3, FacePlain, 2),
                                  triangle(2, 3, 0, FacePlain, 3)});
    Face skinned = triangle(2, 1, 0, FaceTexturedKeyed, 12);
    skinned.mapping = 3;
    skinned.doubleSided = 1;
    skinned.transparency = 40;
    const Object3D other = objectWith({skinned, sign});
    const SkinTakeOver result = TakeOverSkin(object, other);
    EXPECT_EQ(result.taken, 2u);
    EXPECT_EQ(result.skipped, 0u);
    EXPECT_EQ(object.faces[0], skinned);
    EXPECT_EQ(object.faces[1], sign);
    EXPECT_EQ(object.faces[2], triangle(2, 3, 0, FacePlain, 3)); // beyond the other's faces
}

TEST(ObjectTools, TakeOverSkinSkipsRecordsNamingMissingPoints)
{
    Object3D object = objectWith({triangle(0, 1, 2, FacePlain, 1), triangle(1, 2, 3, FacePlain, 2),
                                  triangle(2, 3, 0, FacePlain, 3)});
    Object3D bigger;
    AllocateObject(bigger, 9, 2);
    bigger.faces[0] = triangle(0, 9, 1, FaceTextured, 5);   // point 9 is not in the object
    bigger.faces[1] = triangle(4, 40, 60, FaceVirtual, 6); // nor is anchor 4
    bigger.faces[2] = triangle(3, 60, 60, FaceVirtual, 7);  // width and height are no points
    const SkinTakeOver result = TakeOverSkin(object, bigger);
    EXPECT_EQ(result.taken, 1u);
    EXPECT_EQ(result.skipped, 2u);
    EXPECT_EQ(object.faces[0].texture, 1);
    EXPECT_EQ(object.faces[1].texture, 2);
    EXPECT_EQ(object.faces[2], bigger.faces[2]);
}
