// Lighting, ordering, drawing and picking a whole frame.
#include "DepthSort.h"
#include "DemoObjects.h"
#include "Errors.h"
#include "EditorFrame.h"
#include "Rasteriser.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct P3 {
    std::int32_t x, y, z;
};

// Square faces facing the eye, `half` units from their centre, at their own depth and colour.
struct Square {
    std::int32_t cx, cy, depth, half;
    std::uint16_t colour;
};

Object3D squares(const std::vector<Square>& list, std::uint16_t type = FacePlain)
{
    Object3D object;
    AllocateObject(object, static_cast<std::int32_t>(list.size() * 4) - 1, static_cast<std::int32_t>(list.size() * 2) - 1);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Square& s = list[i];
        const P3 corners[4] = {{s.cx - s.half, s.cy + s.half, s.depth}, {s.cx + s.half, s.cy + s.half, s.depth},
                               {s.cx + s.half, s.cy - s.half, s.depth}, {s.cx - s.half, s.cy - s.half, s.depth}};
        for (int c = 0; c < 4; ++c) {
            object.x[i * 4 + c] = corners[c].x;
            object.y[i * 4 + c] = corners[c].y;
            object.z[i * 4 + c] = corners[c].z;
        }
        const auto p = static_cast<std::uint16_t>(i * 4);
        Face face;
        face.texture = s.colour;
        face.faceType = type;
        face.p1 = p, face.p2 = p + 1, face.p3 = p + 2;
        object.faces[i * 2] = face;
        face.p1 = p + 2, face.p2 = p + 3, face.p3 = p;
        face.mapping = 1;
        object.faces[i * 2 + 1] = face;
    }
    return object;
}

class RenderSceneTest : public testing::Test {
protected:
    std::unique_ptr<RenderContext> context = MakeTestContext(320, 240);

    void frame(const Object3D& object, std::int32_t ambient = 1)
    {
        ClearScreen(*context, 0);
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        DrawObject(*context, object, 0, 0, 0, 0, 0, 0, ambient, 0, 0);
        RenderScene(*context);
    }
};

} // namespace

TEST_F(RenderSceneTest, AnEmptyFrameLeavesTheScreenAndAnswersNoFace)
{
    ClearScreen(*context, 9);
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    RenderScene(*context);
    EXPECT_EQ(context->triangleCount, -1);
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 9);
    const PickedFace picked = PickFace(*context, 160, 120);
    EXPECT_EQ(picked.objectId, -1);
    EXPECT_EQ(picked.faceIndex, -1);
}

TEST_F(RenderSceneTest, DrawsFarToNearSoTheNearFaceShows)
{
    // The near square is listed first; the far one, drawn first, shows only around it.
    frame(squares({{0, 0, 100, 20, 30}, {0, 0, 200, 100, 40}}));
    EXPECT_EQ(context->triangleCount, 3);
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 30);
    EXPECT_EQ(ScreenPixel(*context, 160 + 40, 120), 40);
    EXPECT_EQ(ScreenPixel(*context, 10, 10), 0);
}

TEST_F(RenderSceneTest, PicksTheNearestCoveringFace)
{
    frame(squares({{0, 0, 200, 100, 40}, {0, 0, 100, 20, 30}}));
    // The near square spans (135, 95) to (185, 145), the far one (96, 56) to (224, 184); each
    // is split along its diagonal from top left to bottom right.
    EXPECT_EQ(PickFace(*context, 160, 115).faceIndex, 2);
    EXPECT_EQ(PickFace(*context, 110, 170).faceIndex, 1);
    EXPECT_EQ(PickFace(*context, 5, 5).faceIndex, -1);
}

TEST_F(RenderSceneTest, AmongEqualKeysPicksTheLaterTriangle)
{
    frame(squares({{0, 0, 100, 20, 30}, {0, 0, 100, 20, 31}}));
    EXPECT_EQ(PickFace(*context, 170, 110).faceIndex, 2);
}

TEST_F(RenderSceneTest, PicksFacesWhateverTheirDistance)
{
    // Depth keys above 9,999,999 (a face 2,000 units away) can be picked all the same.
    frame(squares({{0, 0, 2000, 400, 30}}));
    ASSERT_GT(context->triangles[0].depthKey, 9999999);
    EXPECT_EQ(PickFace(*context, 170, 110).faceIndex, 0);
}

TEST_F(RenderSceneTest, TrianglesOfNegativeObjectsAreNotPicked)
{
    ClearScreen(*context, 0);
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    DrawObject(*context, squares({{0, 0, 100, 20, 30}}), 0, 0, 0, 0, 0, 0, 1, 0, -1);
    RenderScene(*context);
    EXPECT_EQ(PickFace(*context, 170, 110).faceIndex, -1);
}

TEST_F(RenderSceneTest, WithoutLightsEveryCornerTakesTheAmbientLevel)
{
    frame(squares({{0, 0, 100, 20, 30}}), 77);
    const RenderTriangle& t = context->triangles[0];
    EXPECT_EQ(t.light1, 77);
    EXPECT_EQ(t.light2, 77);
    EXPECT_EQ(t.light3, 77);
}

TEST_F(RenderSceneTest, TheEditorsLightIsFullWithin391Units)
{
    // A light of radius 100000: (d + 1) x 255 div 100000 is 0 up to d = 391.
    const struct {
        std::int32_t distance, level;
    } cases[] = {{0, 255}, {391, 255}, {392, 254}, {783, 254}, {784, 253}};
    for (const auto& c : cases) {
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        AddLight(*context, 0, 0, 100 + c.distance, 100000);
        DrawObject(*context, squares({{0, 0, 100, 0, 30}}), 0, 0, 0, 0, 0, 0, 0, 0, 0);
        RenderScene(*context);
        EXPECT_EQ(context->triangles[0].light1, c.level) << c.distance;
        EXPECT_EQ(context->lastLight, -1);
    }
}

TEST_F(RenderSceneTest, LightsAddUpAndClampAt255)
{
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    AddLight(*context, 0, 0, 100, 1000);   // d = 0: adds 255 - 0
    AddLight(*context, 300, 400, 100, 1000); // d = 500: adds 255 - 501 x 255 div 1000 = 128
    DrawObject(*context, squares({{0, 0, 100, 0, 30}}), 0, 0, 0, 0, 0, 0, -300, 0, 0);
    DrawObject(*context, squares({{0, 0, 100, 0, 30}}), 0, 0, 0, 0, 0, 0, 0, 0, 0);
    RenderScene(*context);
    EXPECT_EQ(context->triangles[0].light1, 255 + 128 - 300);
    EXPECT_EQ(context->triangles[2].light1, 255);
}

TEST_F(RenderSceneTest, IgnoresLightsBeyondThe256th)
{
    SetCamera(*context, 0, 0, 0, 0, 0, 0);
    for (int i = 0; i < 300; ++i)
        AddLight(*context, 0, 0, 0, 1);
    EXPECT_EQ(context->lastLight, 255);
}

TEST_F(RenderSceneTest, TheListGrowsBeyondTheViewsCapacity)
{
    SetView(*context, 160, 120, 128, 128, 32, 10, 3);
    std::vector<Square> many;
    for (int i = 0; i < 10; ++i)
        many.push_back({i * 10 - 50, 0, 100, 4, static_cast<std::uint16_t>(i + 1)});
    frame(squares(many));
    EXPECT_EQ(context->triangleCount, 19);
    // The last square spans columns 206 to 216 and rows 115 to 125.
    EXPECT_EQ(PickFace(*context, 214, 117).faceIndex, 18);
}

TEST_F(RenderSceneTest, LeavesTheSubdivisionOfTheLastTriangleDrawnEvenWhenItShowsNothing)
{
    // A far small square (subdivision 1), then, nearest and so last, a large face seen edge-on:
    // its three screen points lie on one row, so it draws nothing, yet it sets subdivision 2, as
    // drawing the triangles one by one does.
    const Object3D square = squares({{0, 0, 400, 10, 30}});
    Object3D object;
    AllocateObject(object, 6, 2);
    std::copy_n(square.faces.begin(), 2, object.faces.begin());
    const P3 points[7] = {{-10, 10, 400}, {10, 10, 400}, {10, -10, 400}, {-10, -10, 400},
                          {-150, 0, 20},  {150, 0, 20},  {0, 0, 170}};
    for (int i = 0; i < 7; ++i)
        object.x[i] = points[i].x, object.y[i] = points[i].y, object.z[i] = points[i].z;
    Face edgeOn;
    edgeOn.texture = 50;
    edgeOn.faceType = FacePlain;
    edgeOn.p1 = 4, edgeOn.p2 = 5, edgeOn.p3 = 6;
    object.faces[2] = edgeOn;
    for (const int threads : {1, 3}) {
        context->subdivision = 7;
        SetRenderThreads(*context, threads);
        ClearScreen(*context, 0);
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        DrawObject(*context, object, 0, 0, 0, 0, 0, 0, 1, 0, 0);
        RenderScene(*context);
        EXPECT_EQ(context->triangleCount, 2);
        EXPECT_EQ(context->subdivision, 2);
        EXPECT_EQ(ScreenPixel(*context, 160, 120), 30);
    }
}

TEST_F(RenderSceneTest, TexturesOfEmptySlotsOrOutsideTheBankAreNotDrawnButPicked)
{
    context->bank.textures[2] = {5, 5, 5}; // slot 5 holds no image
    frame(squares({{0, 0, 100, 20, 2}, {100, 0, 100, 20, 40000}}, FaceTextured));
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 0);
    EXPECT_EQ(PickFace(*context, 170, 110).faceIndex, 0);
    context->bank.images[5] = std::make_unique<TextureImage>();
    context->bank.images[5]->fill(88);
    frame(squares({{0, 0, 100, 20, 2}}, FaceTextured));
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 88);
}

TEST_F(RenderSceneTest, AnimationShowsTheNextFrameAtTheNextFrame)
{
    for (int image = 3; image <= 4; ++image) {
        context->bank.images[image] = std::make_unique<TextureImage>();
        context->bank.images[image]->fill(static_cast<std::uint8_t>(image * 10));
    }
    context->bank.textures[1] = {3, 4, 3};
    context->bank.lastTexture = 1;
    const Object3D object = squares({{0, 0, 100, 20, 1}}, FaceTextured);
    frame(object);
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 30);
    AnimateTextures(*context);
    frame(object);
    EXPECT_EQ(ScreenPixel(*context, 160, 120), 40);
}

TEST(AnimateTextures, PlaysRunsForwardsBackwardsAndStill)
{
    RenderContext context;
    context.bank.lastTexture = 2;
    context.bank.textures[0] = {2, 4, 2};
    context.bank.textures[1] = {4, 2, 4};
    context.bank.textures[2] = {7, 7, 9};
    context.bank.textures[3] = {0, 5, 0}; // beyond lastTexture
    std::vector<std::int32_t> forwards, backwards;
    for (int tick = 0; tick < 4; ++tick) {
        AnimateTextures(context);
        forwards.push_back(context.bank.textures[0].current);
        backwards.push_back(context.bank.textures[1].current);
    }
    EXPECT_EQ(forwards, (std::vector<std::int32_t>{3, 4, 2, 3}));
    EXPECT_EQ(backwards, (std::vector<std::int32_t>{3, 2, 4, 3}));
    EXPECT_EQ(context.bank.textures[2].current, 7);
    EXPECT_EQ(context.bank.textures[3].current, 0);
}

namespace {

// Keys and the order in which the quicksort leaves their indices, worked by hand. A stable sort,
// or a quicksort taking another pivot or scanning otherwise, orders the equal keys differently.
struct QuicksortTrace {
    std::vector<std::int32_t> keys;
    std::vector<std::int32_t> order;
};

const QuicksortTrace quicksortTraces[] = {
    // Pivot 3 (index 3): i stops at 1, j at 2, exchange (0 2 1 3); i stops at 2, j at 1: the
    // scans have met, undo, and the pivot goes to 2 (0 2 3 1). Then 0..1, pivot 5 (index 2):
    // i stops at 0, j at 0, exchange in place, undo, pivot to 0: (2 0 3 1).
    {{5, 1, 5, 3}, {2, 0, 3, 1}},
    // Four equal keys, pivot index 3: i stops at 0, j at 2, exchange (2 1 0 3); both stop at 1:
    // exchange in place, met, undo, pivot to 1 (2 3 0 1). Then 2..3, pivot index 1: both scans
    // stop at 2, the pivot goes to 2 (2 3 1 0).
    {{5, 5, 5, 5}, {2, 3, 1, 0}},
    // Pivot 3 (index 5): i stops at 0 (3), j at 3 (3), exchange (3 1 2 0 4 5); i passes 1 (9)
    // and stops at 2, j stops at 2: met, undo, pivot to 2 (3 1 5 0 4 2). Left 0..1, pivot 9
    // (index 1): i stops at 0, j at 0, pivot to 0 (1 3). Right 3..5, pivot 1 (index 2 at 5):
    // i stops at 3, j at 3, pivot to 3 (2 4 0); then 4..5, pivot 3 (index 0): i stops at 4, the
    // pivot goes to 4 (0 4). So (1 3 5 2 0 4), where a stable sort gives (1 0 2 3 5 4).
    {{3, 9, 3, 3, 1, 3}, {1, 3, 5, 2, 0, 4}},
};

std::vector<std::int32_t> indices(const std::vector<SortKey>& keys)
{
    std::vector<std::int32_t> order;
    for (const SortKey& k : keys)
        order.push_back(k.index);
    return order;
}

} // namespace

TEST(SortByDepth, OrdersEqualKeysAsTheQuicksortWorkedByHand)
{
    for (const QuicksortTrace& trace : quicksortTraces) {
        std::vector<SortKey> keys;
        for (std::size_t i = 0; i < trace.keys.size(); ++i)
            keys.push_back({static_cast<std::int32_t>(i), trace.keys[i]});
        SortByDepth(keys, 0, static_cast<int>(keys.size()) - 1);
        EXPECT_EQ(indices(keys), trace.order) << testing::PrintToString(trace.keys);
    }
}

TEST(SortFrameByDepth, OrdersEqualKeysOfMeetingTrianglesAsTheQuicksortWorkedByHand)
{
    // Every triangle covers the same pixels, so equal keys must keep the quicksort's order.
    RenderTriangle t{};
    t.sx2 = 50, t.sy3 = 50;
    for (const QuicksortTrace& trace : quicksortTraces) {
        const std::vector<RenderTriangle> triangles(trace.keys.size(), t);
        std::vector<SortKey> keys, scratch(2 * trace.keys.size());
        for (std::size_t i = 0; i < trace.keys.size(); ++i)
            keys.push_back({static_cast<std::int32_t>(i), trace.keys[i]});
        SortFrameByDepth(keys, scratch, triangles);
        EXPECT_EQ(indices(keys), trace.order) << testing::PrintToString(trace.keys);
    }
}

TEST(SortByDepth, SortsLongSortedRunsWithoutExhaustingTheStack)
{
    for (const bool ascending : {true, false}) {
        std::vector<SortKey> keys(20000);
        for (int i = 0; i < 20000; ++i)
            keys[i] = {i, ascending ? i : -i};
        SortByDepth(keys, 0, 19999);
        for (int i = 1; i < 20000; ++i)
            ASSERT_GE(keys[i - 1].key, keys[i].key);
    }
}

TEST(SortFrameByDepth, GivesTheQuicksortsOrderExceptAmongEqualKeysThatCannotMeet)
{
    // Triangles i and j meet on screen when i % 5 == j % 5.
    std::vector<RenderTriangle> triangles(5000);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const std::int32_t x = static_cast<std::int32_t>(i % 5) * 100;
        triangles[i] = RenderTriangle{};
        triangles[i].sx1 = x, triangles[i].sx2 = x + 50, triangles[i].sx3 = x;
        triangles[i].sy1 = 0, triangles[i].sy2 = 0, triangles[i].sy3 = 50;
    }
    std::mt19937 random(5);
    for (const int range : {1 << 30, 1000, 20, 1}) {
        for (const int n : {0, 1, 2, 3, 17, 700, 5000}) {
            std::vector<SortKey> keys(static_cast<std::size_t>(n)), scratch(2 * keys.size());
            for (int i = 0; i < n; ++i)
                keys[i] = {i, static_cast<std::int32_t>(random() % range) - range / 2 + (range == 1 << 30 ? INT32_MIN / 2 : 0)};
            std::vector<SortKey> expected = keys;
            if (n > 0)
                SortByDepth(expected, 0, n - 1);
            SortFrameByDepth(keys, scratch, triangles);
            for (int i = 0; i < n; ++i) {
                ASSERT_EQ(keys[i].key, expected[i].key) << "range " << range << ", " << n << " keys, at " << i;
                // Only triangles that cannot meet may change places.
                if (keys[i].index != expected[i].index) {
                    ASSERT_FALSE(FootprintsMayMeet(triangles[keys[i].index], triangles[expected[i].index]));
                }
            }
        }
    }
}

TEST(SortFrameByDepth, DrawsTheSameFrameAsTheQuicksortsOrder)
{
    // The house seen straight on is symmetric: many faces share their keys.
    DemoSkins skins;
    const Object3D house = BuildHouse(skins);
    auto context = MakeTestContext(380, 384);
    context->bank.images[0] = std::make_unique<TextureImage>();
    std::mt19937 random(3);
    for (auto& texel : *context->bank.images[0])
        texel = static_cast<std::uint8_t>(random());
    for (const std::int32_t yaw : {0, 8192, 16384}) {
        ClearScreen(*context, 0);
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        DrawObject(*context, house, 0, -20, 400, yaw, 0, 0, 1, 0, 0);
        RenderScene(*context);
        const std::vector<std::uint8_t> drawn = context->screen.pixels;
        std::vector<SortKey> keys;
        for (std::int32_t i = 0; i <= context->triangleCount; ++i)
            keys.push_back({i, context->triangles[static_cast<std::size_t>(i)].depthKey});
        SortByDepth(keys, 0, static_cast<int>(keys.size()) - 1);
        ClearScreen(*context, 0);
        for (const SortKey& k : keys) {
            const RenderTriangle& t = context->triangles[static_cast<std::size_t>(k.index)];
            const std::int32_t image = t.direct ? t.texture : context->bank.textures[t.texture].current;
            if (t.faceType == FacePlain || context->bank.image(image))
                DrawTriangle(*context, k.index, context->bank.image(image));
        }
        EXPECT_EQ(drawn, context->screen.pixels) << "yaw " << yaw;
    }
}

TEST(RenderScene, CoordinatesTooLargeToHandleDoNotCrashIt)
{
    // Points at the ends of the 32-bit range, turned and placed every way: the arithmetic wraps
    // and the frame is whatever it is, but nothing reads or writes outside its arrays.
    auto context = MakeTestContext(64, 48);
    SetBankPlaceholders(context->bank);
    Object3D object;
    AllocateObject(object, 5, 5);
    object.x = {INT32_MIN, INT32_MAX, 0, 40000, -40000, 7};
    object.y = {INT32_MAX, INT32_MIN, 100000000, -3, 20000, 11};
    object.z = {0, INT32_MAX, -100000000, 30000, 15, 12};
    const std::uint16_t corners[6][3] = {{0, 1, 2}, {1, 2, 3}, {2, 3, 4}, {3, 4, 5}, {5, 0, 3}, {4, 5, 1}};
    for (int f = 0; f < 6; ++f) {
        object.faces[f] = {corners[f][0], corners[f][1], corners[f][2], 0, static_cast<std::int16_t>(f % 4), 1,
                           static_cast<std::uint16_t>(f % 4), static_cast<std::uint16_t>(f * 20)};
    }
    object.faces[5].faceType = FaceVirtual;
    object.faces[5].p2 = 65535;
    for (const std::int32_t angle : {0, 1, 5000, -16384, 1 << 30}) {
        for (const std::int32_t distance : {0, 300, INT32_MAX}) {
            ClearScreen(*context, 0);
            SetCamera(*context, 0, 0, 0, angle, -angle, angle);
            AddLight(*context, INT32_MIN, 0, INT32_MAX, -5);
            AddLight(*context, 0, 0, 0, 0);
            DrawObject(*context, object, INT32_MAX, 0, distance, angle, angle, 0, 1, 0, 1);
            RenderScene(*context);
            PickFace(*context, 10, 10);
            std::uint8_t highlight = 0;
            for (int f = 0; f < 6; ++f)
                OutlineFace(*context, f, HighlightColours{3, 4}, highlight);
        }
    }
    SUCCEED();
}

TEST(ResizeView, RefusesViewsTooSmallForTheSpanStepAndKeepsTheOldOne)
{
    RenderContext context;
    ResizeView(context, 12, 2);
    EXPECT_EQ(context.spanStep, 1);
    EXPECT_EQ(context.maxY, 1);
    EXPECT_THROW(ResizeView(context, 11, 40), OrmelError);
    EXPECT_THROW(ResizeView(context, 40, 1), OrmelError);
    EXPECT_EQ(context.screen.width, 12);
    EXPECT_EQ(context.screen.height, 2);
    ResizeView(context, 380, 384);
    EXPECT_EQ(context.focalX, 152);
    EXPECT_EQ(context.focalY, 204);
    EXPECT_EQ(context.spanStep, 38);
    EXPECT_EQ(context.maxX, 379);
    EXPECT_EQ(context.maxY, 383);
    EXPECT_EQ(context.triangles.size(), 100000u);
}
