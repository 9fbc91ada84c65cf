// The geometry stage, checked against screen points worked out by hand. The view is 320 x 240:
// centre (160, 120), focal factors 128, near distance 10.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct P3 {
    std::int32_t x, y, z;
};

Object3D oneFace(P3 a, P3 b, P3 c, Face skin = {})
{
    Object3D object;
    AllocateObject(object, 2, 0);
    object.x = {a.x, b.x, c.x};
    object.y = {a.y, b.y, c.y};
    object.z = {a.z, b.z, c.z};
    skin.p1 = 0, skin.p2 = 1, skin.p3 = 2;
    object.faces[0] = skin;
    return object;
}

Face doubleSided()
{
    Face face;
    face.doubleSided = 1;
    return face;
}

struct Screen {
    std::int32_t sx1, sy1, sx2, sy2, sx3, sy3;
    bool operator==(const Screen&) const = default;
};

Screen screenOf(const RenderTriangle& t)
{
    return {t.sx1, t.sy1, t.sx2, t.sy2, t.sx3, t.sy3};
}

class DrawObjectTest : public testing::Test {
protected:
    std::unique_ptr<RenderContext> context = MakeTestContext(320, 240);

    // The object placed `depth` in front of the eye, not turned.
    void draw(const Object3D& object, std::int32_t depth = 0, std::int32_t bias = 0)
    {
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        DrawObject(*context, object, 0, 0, depth, 0, 0, 0, 1, bias, 7);
    }
    std::vector<RenderTriangle> triangles() const
    {
        return {context->triangles.begin(), context->triangles.begin() + context->triangleCount};
    }
};

} // namespace

TEST_F(DrawObjectTest, ProjectsAFrontFaceAndKeepsItsEyeSpaceCorners)
{
    draw(oneFace({-50, 50, 0}, {50, 50, 0}, {50, -50, 0}), 100);
    const auto list = triangles();
    ASSERT_EQ(list.size(), 1u);
    const RenderTriangle& t = list[0];
    // -50 x 128 div 100 = -64: x 96; 120 - 50 x 128 div 100 = 56.
    EXPECT_EQ(screenOf(t), (Screen{96, 56, 224, 56, 224, 184}));
    EXPECT_EQ(t.z1, 100);
    EXPECT_EQ(t.x3, 50);
    EXPECT_EQ(t.y3, -50);
    EXPECT_EQ(t.depthKey, 45000); // three times 50^2 + 50^2 + 100^2
    EXPECT_EQ(t.light1, 1);
    EXPECT_EQ(t.objectId, 7);
    EXPECT_EQ(t.faceIndex, 0);
    EXPECT_EQ(t.direct, 0);
}

TEST_F(DrawObjectTest, DropsFacesSeenFromTheirBackUnlessDoubleSided)
{
    draw(oneFace({-50, 50, 0}, {50, -50, 0}, {50, 50, 0}), 100);
    EXPECT_EQ(context->triangleCount, 0);
    draw(oneFace({-50, 50, 0}, {50, -50, 0}, {50, 50, 0}, doubleSided()), 100);
    EXPECT_EQ(context->triangleCount, 1);
}

TEST_F(DrawObjectTest, DrawsAFaceSeenExactlyEdgeOn)
{
    // In the plane x = 0, which holds the eye: n . g is 0, and only a positive product hides.
    draw(oneFace({0, -50, 0}, {0, 50, 0}, {0, 50, 100}), 100);
    EXPECT_EQ(context->triangleCount, 1);
}

TEST_F(DrawObjectTest, SkipsFacesWhollyBehindTheNearDistance)
{
    draw(oneFace({-50, 50, 10}, {50, 50, 10}, {50, -50, 0}, doubleSided()));
    EXPECT_EQ(context->triangleCount, 0);
}

TEST_F(DrawObjectTest, ClipsAFaceWithOneCornerInFrontIntoOneSmallerTriangle)
{
    // F = (0, 0, 74) in front; (-64, 0, -54) and (0, 64, -54) behind. The edges meet depth 10
    // at (-32, 0, 10) and (0, 32, 10): slopes 32 and -32 x 64, times -64 div 64.
    draw(oneFace({-64, 0, -54}, {0, 0, 74}, {0, 64, -54}, doubleSided()));
    const auto list = triangles();
    ASSERT_EQ(list.size(), 1u);
    // F; -32 x 128 div 10 = -409: x -249; 32 x 128 div 10 = 409: y 120 - 409.
    EXPECT_EQ(screenOf(list[0]), (Screen{160, 120, -249, 120, 160, -289}));
    // The triangle keeps the whole face's corners.
    EXPECT_EQ(list[0].x1, -64);
    EXPECT_EQ(list[0].z1, -54);
}

TEST_F(DrawObjectTest, ClipsAFaceWithTwoCornersInFrontIntoTwoTriangles)
{
    // F = (0, 0, 138), M = (64, 0, 74), N = (0, 64, -54). F->N at depth 10: slope 64 x 64 div
    // -192 = -21, y = -128 x -21 div 64 = 42. M->N: slopes -32 and 32, point (32, 32, 10).
    // With room for one triangle, the list grows for the second piece.
    for (const int capacity : {100000, 1}) {
        SetView(*context, 160, 120, 128, 128, 32, 10, capacity);
        draw(oneFace({0, 64, -54}, {64, 0, 74}, {0, 0, 138}, doubleSided()));
        const auto list = triangles();
        ASSERT_EQ(list.size(), 2u);
        // (F, M, F->N): M at 64 x 128 div 74 = 110; F->N at y 120 - 537.
        EXPECT_EQ(screenOf(list[0]), (Screen{160, 120, 270, 120, 160, -417}));
        // (F->N, M, M->N): M->N at 160 + 409, 120 - 409.
        EXPECT_EQ(screenOf(list[1]), (Screen{160, -417, 270, 120, 569, -289}));
        for (const RenderTriangle& t : list) {
            EXPECT_EQ(t.depthKey, list[0].depthKey);
            EXPECT_EQ(t.z1, -54);
            EXPECT_EQ(t.x2, 64);
            EXPECT_EQ(t.objectId, 7);
        }
    }
}

TEST_F(DrawObjectTest, JudgesEachPieceOfAClippedFaceByItsOwnScreenPoints)
{
    // F = (0, 0, 138) on screen at (160, 120); M = (0, 200, 74) above the view at y 120 - 345.
    // F->N meets depth 10 at y 200 (slope -100), M->N at y 250 (slope -50): far above.
    draw(oneFace({0, 300, -54}, {0, 200, 74}, {0, 0, 138}, doubleSided()));
    const auto list = triangles();
    ASSERT_EQ(list.size(), 1u) << "the second piece lies wholly above the view";
    EXPECT_EQ(screenOf(list[0]), (Screen{160, 120, 160, -225, 160, -2440}));
}

TEST_F(DrawObjectTest, DropsPiecesWhollyOutsideTheView)
{
    // 125 x 128 div 100 + 160 = 320, one column right of the last (319).
    draw(oneFace({125, 50, 0}, {300, 50, 0}, {300, -50, 0}), 100);
    EXPECT_EQ(context->triangleCount, 0);
    // 124 x 128 div 100 + 160 = 318.
    draw(oneFace({124, 50, 0}, {300, 50, 0}, {300, -50, 0}), 100);
    EXPECT_EQ(context->triangleCount, 1);
}

TEST_F(DrawObjectTest, TurnsTransparencyIntoSixteenthsCappedAt100)
{
    const struct {
        std::uint16_t transparency;
        std::int32_t bias, level;
    } cases[] = {{0, 0, 0}, {50, 0, 8}, {57, 0, 9}, {100, 0, 16}, {60, 50, 16}, {300, 0, 16}, {30, 20, 8},
                 {10, -50, 0},
                 // Sixteenths truncated, where rounding would give one more: 0.64, 3.52, 7.52, 15.52, 15.84.
                 {4, 0, 0}, {22, 0, 3}, {47, 0, 7}, {70, 27, 15}, {99, 0, 15}};
    for (const auto& c : cases) {
        Face skin;
        skin.transparency = c.transparency;
        draw(oneFace({-50, 50, 0}, {50, 50, 0}, {50, -50, 0}, skin), 100, c.bias);
        ASSERT_EQ(context->triangleCount, 1);
        EXPECT_EQ(context->triangles[0].blendLevel, c.level) << c.transparency << " + " << c.bias;
    }
}

TEST_F(DrawObjectTest, NeverFollowsPointIndicesOutsideTheObject)
{
    Object3D object = oneFace({-50, 50, 0}, {50, 50, 0}, {50, -50, 0});
    object.faces.push_back(object.faces[0]);
    object.faces[0].p3 = 3;
    object.faces[0].p1 = 65535;
    object.lastFace = 1;
    draw(object, 100);
    ASSERT_EQ(context->triangleCount, 1);
    EXPECT_EQ(context->triangles[0].faceIndex, 1);
}

TEST_F(DrawObjectTest, TurnsTheObjectBeforePlacingIt)
{
    // A quarter turn of pitch (top away from the eye) stands a floor face up.
    draw(oneFace({-50, 0, 50}, {50, 0, 50}, {50, 0, -50}, doubleSided()), 100);
    ASSERT_EQ(context->triangleCount, 1);
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    DrawObject(*context, oneFace({-50, 0, 50}, {50, 0, 50}, {50, 0, -50}), 0, 0, 100, 0, -8192, 0, 1, 0, 0);
    ASSERT_EQ(context->triangleCount, 1);
    const RenderTriangle& t = context->triangles[0];
    EXPECT_EQ(t.z1, 100);
    EXPECT_EQ(t.y1, 50);
    EXPECT_EQ(t.y3, -50);
}

class VirtualFaceTest : public DrawObjectTest {
protected:
    Object3D sign(std::uint16_t texture)
    {
        Face skin;
        skin.faceType = FaceVirtual;
        skin.texture = texture;
        Object3D object = oneFace({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, skin);
        object.faces[0].p2 = 40; // width
        object.faces[0].p3 = 60; // height
        return object;
    }
};

TEST_F(VirtualFaceTest, StandsTwoKeyedTrianglesFacingTheEye)
{
    context->bank.textures[3] = {10, 13, 10};
    // With room for one triangle, the list grows for the second.
    SetView(*context, 160, 120, 128, 128, 32, 10, 1);
    draw(sign(3), 200);
    const auto list = triangles();
    ASSERT_EQ(list.size(), 2u);
    // Lower left corner (-20, -30, 200): x 160 - 12, y 120 + 19; 40 wide gives 25 columns,
    // 60 high -38 rows.
    EXPECT_EQ(screenOf(list[0]), (Screen{148, 101, 148, 139, 173, 139}));
    EXPECT_EQ(screenOf(list[1]), (Screen{148, 101, 173, 101, 173, 139}));
    EXPECT_EQ(list[0].x1, 20);
    EXPECT_EQ(list[0].y1, -30);
    EXPECT_EQ(list[1].y1, 30);
    EXPECT_EQ(list[0].mapping, 1);
    EXPECT_EQ(list[1].mapping, 0);
    for (const RenderTriangle& t : list) {
        EXPECT_EQ(t.faceType, FaceTexturedKeyed);
        EXPECT_EQ(t.direct, 1);
        EXPECT_EQ(t.depthKey, 200);
        // Seen straight ahead: 90 degrees, plus 160 div 4 frames = 130: frame 130 x 4 div 360.
        EXPECT_EQ(t.texture, 11);
    }
}

TEST_F(VirtualFaceTest, ShowsTheFrameOfTheDirectionItIsSeenFrom)
{
    context->bank.textures[3] = {10, 13, 10};
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    // A quarter turn of yaw takes 90 degrees off: (40 + 0) x 4 div 360 = frame 0.
    DrawObject(*context, sign(3), 0, 0, 200, 8192, 0, 0, 1, 0, 0);
    ASSERT_EQ(context->triangleCount, 2);
    EXPECT_EQ(context->triangles[0].texture, 10);
    // A run going down counts its frames negative.
    context->bank.textures[3] = {13, 11, 13};
    draw(sign(3), 200);
    ASSERT_EQ(context->triangleCount, 2);
    // N = -1: (160 div -1 + 90) mod 360 = -70, + 360 = 290; 290 x -1 div 360 = 0.
    EXPECT_EQ(context->triangles[0].texture, 13);
}

TEST_F(VirtualFaceTest, ATextureOfNoFramesOrOutsideTheBankShowsNothing)
{
    context->bank.textures[3] = {5, 4, 5};
    draw(sign(3), 200);
    EXPECT_EQ(context->triangleCount, 0);
    draw(sign(40000), 200);
    EXPECT_EQ(context->triangleCount, 0);
}

TEST_F(VirtualFaceTest, IsNotDrawnAtOrBehindTheNearDistance)
{
    draw(sign(0), 10);
    EXPECT_EQ(context->triangleCount, 0);
}
