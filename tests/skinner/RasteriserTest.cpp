// The rasteriser's rules on small scenes worked out by hand, then the whole of it held to the
// plainly written version on many random triangles and on the demo objects.
#include "DemoObjects.h"
#include "Rasteriser.h"
#include "ReferenceRasteriser.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Row = std::vector<int>;

// Columns first..last of screen row y.
Row screenRow(const RenderContext& context, int y, int first, int last)
{
    Row row;
    for (int x = first; x <= last; ++x)
        row.push_back(ScreenPixel(context, x, y));
    return row;
}

Row run(int first, int last, int step = 1)
{
    Row row;
    for (int v = first; step > 0 ? v <= last : v >= last; v += step)
        row.push_back(v);
    return row;
}

Row join(Row a, const Row& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

RenderTriangle screenTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int faceType, int blendLevel)
{
    RenderTriangle t{};
    t.sx1 = x1, t.sy1 = y1, t.sx2 = x2, t.sy2 = y2, t.sx3 = x3, t.sy3 = y3;
    t.faceType = faceType;
    t.blendLevel = blendLevel;
    t.light1 = t.light2 = t.light3 = 200;
    t.z1 = t.z2 = t.z3 = 100;
    return t;
}

// A 16 x 12 view (columns 0..15, rows 0..11) and one flat triangle of colour 50 on it.
class FlatTriangleTest : public testing::Test {
protected:
    std::unique_ptr<RenderContext> context = MakeTestContext(16, 12);

    void draw(const RenderTriangle& t)
    {
        ClearScreen(*context, 1);
        context->triangles[0] = t;
        context->triangles[0].texture = 50;
        DrawTriangle(*context, 0, nullptr);
    }
};

// A 32 x 32 view with focal factors 256 and exact texture coordinates every 4 pixels. The face
// A (-8, 8, 256), B (8, 8, 256), C (8, -8, 256) shows at (8, 8), (24, 8), (24, 24); the ray
// through column X of row y meets it at (X - 16, 16 - y, 256), so u = 8 (X - 8), v = 8 (y - 8).
// The texture is 16 x 16 cells of 8 x 8 texels, cell (column c, row r) of colour 16 r + c.
class TexturedTriangleTest : public testing::Test {
protected:
    std::unique_ptr<RenderContext> context = MakeTestContext(32, 32);
    TextureImage texture;

    TexturedTriangleTest()
    {
        SetView(*context, 16, 16, 256, 256, 4, 10, 16);
        for (int v = 0; v < 128; ++v)
            for (int u = 0; u < 128; ++u)
                texture[v * 128 + u] = static_cast<std::uint8_t>((v / 8) * 16 + u / 8);
    }

    RenderTriangle face(int faceType = FaceTextured, int mapping = 0, int blendLevel = 0) const
    {
        RenderTriangle t = screenTriangle(8, 8, 24, 8, 24, 24, faceType, blendLevel);
        t.x1 = -8, t.y1 = 8, t.z1 = 256;
        t.x2 = 8, t.y2 = 8, t.z2 = 256;
        t.x3 = 8, t.y3 = -8, t.z3 = 256;
        t.mapping = mapping;
        return t;
    }

    void draw(const RenderTriangle& t)
    {
        ClearScreen(*context, 77);
        context->triangles[0] = t;
        DrawTriangle(*context, 0, texture.data());
    }
};

} // namespace

TEST_F(FlatTriangleTest, OpaqueRowsStopOneColumnShortOfTheWidenedEdge)
{
    // Rows 1..8; the short edge from (10, 1) to (2, 9) is at x = 11 - y, widened to 12 - y, and
    // an opaque row fills up to the column before it.
    draw(screenTriangle(2, 1, 10, 1, 2, 9, FacePlain, 0));
    for (int y = 1; y <= 8; ++y)
        EXPECT_EQ(screenRow(*context, y, 0, 15), join(join(Row(2, 1), Row(10 - y, 50)), Row(y + 4, 1))) << y;
    EXPECT_EQ(screenRow(*context, 0, 0, 15), Row(16, 1));
    EXPECT_EQ(screenRow(*context, 9, 0, 15), Row(16, 1)) << "the last row is not drawn";
}

TEST_F(FlatTriangleTest, SeeThroughRowsIncludeTheirLastColumnAndLevel8IsWidened)
{
    // Level 8 still widens (2 .. 12 - y inclusive); level 9 does not (2 .. 11 - y inclusive).
    const struct {
        int level, extra;
    } cases[] = {{1, 1}, {8, 1}, {9, 0}, {16, 0}};
    for (const auto& c : cases) {
        draw(screenTriangle(2, 1, 10, 1, 2, 9, FacePlain, c.level));
        for (int y = 1; y <= 8; ++y) {
            const int width = 10 - y + c.extra;
            EXPECT_EQ(screenRow(*context, y, 0, 15),
                      join(join(Row(2, 1), Row(width, 100 + c.level)), Row(14 - width, 1)))
                << "level " << c.level << " row " << y;
        }
    }
}

TEST_F(FlatTriangleTest, DrawsOnlyRowsZeroToTheOneBeforeTheLast)
{
    draw(screenTriangle(0, -5, 15, -5, 0, 20, FacePlain, 0));
    for (int y = 0; y <= 10; ++y)
        EXPECT_NE(ScreenPixel(*context, 0, y), 1) << y;
    EXPECT_EQ(screenRow(*context, 11, 0, 15), Row(16, 1));
}

TEST_F(FlatTriangleTest, SkipsTrianglesOnOneRowOrOutsideTheView)
{
    for (const RenderTriangle& t : {screenTriangle(0, 5, 15, 5, 7, 5, FacePlain, 0),
                                    screenTriangle(-9, 0, -1, 5, -3, 11, FacePlain, 0),
                                    screenTriangle(0, 12, 15, 14, 7, 20, FacePlain, 0)}) {
        draw(t);
        for (int y = 0; y < 12; ++y)
            ASSERT_EQ(screenRow(*context, y, 0, 15), Row(16, 1));
    }
}

TEST_F(FlatTriangleTest, APlainFaceTakesItsColourThroughTheRemapAndTheShadeRow)
{
    context->bank.colourRemap[50] = 60;
    context->bank.shadeTable->entries[200 * 256 + 60] = 61; // light (200 + 200 + 200) div 3
    RenderTriangle t = screenTriangle(2, 1, 10, 1, 2, 9, FacePlain, 0);
    draw(t);
    EXPECT_EQ(ScreenPixel(*context, 2, 1), 61);
    t.texture = 256 + 50; // only the low 8 bits choose the colour
    context->triangles[0] = t;
    DrawTriangle(*context, 0, nullptr);
    EXPECT_EQ(ScreenPixel(*context, 2, 1), 61);
}

TEST_F(TexturedTriangleTest, InterpolatesBetweenExactPointsEveryFourPixels)
{
    draw(face());
    // u = 0, 8, .. 88 exactly; the last exact point is clamped to 127, so the span from 96
    // steps 1984 / 256: 96, 103, 111, 119; the last column has its own exact 127.
    EXPECT_EQ(screenRow(*context, 8, 7, 25), join(join(Row{77}, run(0, 12)), Row{12, 13, 14, 15, 77}));
    EXPECT_EQ(screenRow(*context, 16, 15, 25), join(join(Row{77}, run(128 + 8, 128 + 12)), Row{140, 141, 142, 143, 77}));
    // The last row drawn, 23: from u 120 to the clamped 127 in two pixels.
    EXPECT_EQ(screenRow(*context, 23, 22, 25), (Row{77, 255, 255, 77}));
    EXPECT_EQ(screenRow(*context, 24, 0, 31), Row(32, 77));
    EXPECT_EQ(screenRow(*context, 7, 0, 31), Row(32, 77));
    EXPECT_EQ(context->subdivision, 1);
}

TEST_F(TexturedTriangleTest, MappingsTurnAndMirrorTheTexture)
{
    // 1: half a turn. Stepping down by 2048 / 256 and, from 31 to the clamped 0, by -1984 / 256
    // (arithmetic shifts round down: 31, 23, 15, 7).
    draw(face(FaceTextured, 1));
    EXPECT_EQ(screenRow(*context, 8, 8, 24), join(run(255, 240, -1), Row{240}));
    // 2: mirrored on the diagonal: row 8 shows the texture's first column.
    draw(face(FaceTextured, 2));
    EXPECT_EQ(screenRow(*context, 8, 8, 24), join(run(0, 176, 16), Row{192, 192, 208, 224, 240}));
    // 3: both: u = 127 - v, v = 127 - u.
    draw(face(FaceTextured, 3));
    EXPECT_EQ(screenRow(*context, 8, 8, 11), (Row{255, 239, 223, 207}));
}

TEST_F(TexturedTriangleTest, KeyedTexelsOfColourZeroLeaveThePixelBehind)
{
    draw(face(FaceTexturedKeyed));
    EXPECT_EQ(screenRow(*context, 8, 8, 10), (Row{77, 1, 2}));
    draw(face(FaceTextured));
    EXPECT_EQ(screenRow(*context, 8, 8, 10), (Row{0, 1, 2}));
    draw(face(FaceTexturedKeyed, 0, 4));
    EXPECT_EQ(screenRow(*context, 8, 8, 10), (Row{77, 104, 104}));
}

TEST_F(TexturedTriangleTest, ASingleColumnSpanDrawsItsPixel)
{
    // Apex (10, 2): its first row runs from column 10 to column 10 (level 9 does not widen).
    RenderTriangle t = face(FaceTextured, 0, 9);
    t.sx1 = 10, t.sy1 = 2, t.sx2 = 6, t.sy2 = 10, t.sx3 = 14, t.sy3 = 10;
    draw(t);
    EXPECT_EQ(screenRow(*context, 2, 0, 31), join(join(Row(10, 77), Row{109}), Row(21, 77)));
}

TEST_F(TexturedTriangleTest, ARayParallelToThePlaneEndsTheHalf)
{
    // The face stands in the plane y = 0, which the rays of row 16 run along: rows 8 to 15 are
    // drawn, the half ends at row 16, while the same screen points drawn flat show there.
    RenderTriangle t = face();
    t.y1 = t.y2 = t.y3 = 0;
    t.z3 = 300;
    draw(t);
    EXPECT_NE(ScreenPixel(*context, 20, 12), 77);
    for (int y = 16; y < 32; ++y)
        ASSERT_EQ(screenRow(*context, y, 0, 31), Row(32, 77)) << y;
    t.faceType = FacePlain;
    draw(t);
    EXPECT_NE(ScreenPixel(*context, 20, 20), 77);
}

TEST_F(TexturedTriangleTest, AFaceTooSmallForItsNormalIsDrawnAsIfFarther)
{
    // The face an eighth of the size at an eighth of the distance shows at the same screen
    // points: its normal (0, 0, -4) reduces to 0, yet it draws exactly what the large one does.
    draw(face());
    const std::vector<std::uint8_t> large = context->screen.pixels;
    RenderTriangle t = face();
    t.x1 = -1, t.y1 = 1, t.z1 = 32;
    t.x2 = 1, t.y2 = 1, t.z2 = 32;
    t.x3 = 1, t.y3 = -1, t.z3 = 32;
    EXPECT_EQ(SmallFaceScale(t, 1), 64);
    draw(t);
    EXPECT_EQ(context->screen.pixels, large);
    EXPECT_EQ(context->subdivision, 1);
    // Faces whose normal survives, plain faces and faces with no area at all are left as they are.
    EXPECT_EQ(SmallFaceScale(face(), 1), 1);
    t.faceType = FacePlain;
    EXPECT_EQ(SmallFaceScale(t, 1), 1);
    t = face();
    t.x3 = t.x2, t.y3 = t.y2, t.z3 = t.z2;
    EXPECT_EQ(SmallFaceScale(t, 1), 1);
}

TEST_F(TexturedTriangleTest, TexturedTrianglesWithoutAnImageAreNotDrawn)
{
    ClearScreen(*context, 77);
    context->triangles[0] = face();
    DrawTriangle(*context, 0, nullptr);
    EXPECT_EQ(ScreenPixel(*context, 12, 10), 77);
}

namespace {

// Random tables, textures and triangles: small, realistic and absurd.
struct Scene {
    std::mt19937 random{12345};

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    void fillTables(RenderContext& context)
    {
        for (auto& entry : context.bank.shadeTable->entries)
            entry = static_cast<std::uint8_t>(between(0, 255));
        for (auto& entry : context.bank.blendTables->entries)
            entry = static_cast<std::uint8_t>(between(0, 255));
        for (auto& entry : context.bank.colourRemap)
            entry = static_cast<std::uint8_t>(between(0, 255));
    }

    RenderTriangle triangle(const RenderContext& context)
    {
        RenderTriangle t{};
        const int reach = std::array<int, 4>{100, 2000, 30000, 2000000000}[between(0, 3)];
        std::int32_t* corners[9] = {&t.x1, &t.y1, &t.z1, &t.x2, &t.y2, &t.z2, &t.x3, &t.y3, &t.z3};
        for (int i = 0; i < 9; ++i)
            *corners[i] = static_cast<std::int32_t>(std::int64_t(between(-reach, reach)) + ((i % 3 == 2) ? reach / 2 + 20 : 0));
        std::int32_t* screen[6] = {&t.sx1, &t.sy1, &t.sx2, &t.sy2, &t.sx3, &t.sy3};
        if (between(0, 3) > 0) {
            // Projected from the corners, as the geometry stage would.
            for (int i = 0; i < 3; ++i) {
                const std::int64_t z = std::max(*corners[i * 3 + 2], 11);
                *screen[i * 2] = static_cast<std::int32_t>(context.focalX * std::int64_t(*corners[i * 3]) / z + context.centreX);
                *screen[i * 2 + 1] =
                    static_cast<std::int32_t>(context.centreY - context.focalY * std::int64_t(*corners[i * 3 + 1]) / z);
            }
        } else {
            const int spread = between(0, 1) ? 40 : 3000;
            for (int i = 0; i < 6; ++i)
                *screen[i] = between(-spread, context.maxX + spread);
        }
        t.faceType = std::array<int, 5>{0, 0, 1, 3, 9}[between(0, 4)];
        t.mapping = between(-1, 4);
        t.blendLevel = between(0, 3) == 0 ? between(1, 16) : 0;
        t.light1 = between(-10, 265);
        t.light2 = between(0, 255);
        t.light3 = between(0, 255);
        t.texture = between(0, 600);
        return t;
    }
};

void expectSameScreens(const RenderContext& a, const RenderContext& b, const std::string& what)
{
    ASSERT_EQ(a.screen.pixels.size(), b.screen.pixels.size());
    for (std::size_t i = 0; i < a.screen.pixels.size(); ++i)
        ASSERT_EQ(a.screen.pixels[i], b.screen.pixels[i]) << what << ": byte " << i << " of " << a.screen.pixels.size();
}

} // namespace

TEST(Rasteriser, DrawsExactlyWhatThePlainVersionDrawsOnRandomTriangles)
{
    Scene scene;
    TextureImage texture;
    for (auto& texel : texture)
        texel = static_cast<std::uint8_t>(scene.between(0, 3) == 0 ? 0 : scene.between(0, 255));
    const struct {
        int width, height, spanStep;
    } views[] = {{16, 12, 0}, {64, 48, 0}, {380, 384, 0}, {100, 60, 1}, {100, 60, 7}};
    for (const auto& view : views) {
        auto fast = MakeTestContext(view.width, view.height);
        auto plain = MakeTestContext(view.width, view.height);
        if (view.spanStep > 0)
            for (RenderContext* c : {fast.get(), plain.get()})
                SetView(*c, view.width / 2, view.height / 2, c->focalX, c->focalY, view.spanStep, 10, 4);
        scene.fillTables(*fast);
        *plain->bank.shadeTable = *fast->bank.shadeTable;
        *plain->bank.blendTables = *fast->bank.blendTables;
        plain->bank.colourRemap = fast->bank.colourRemap;
        for (int i = 0; i < 1500; ++i) {
            const RenderTriangle t = scene.triangle(*fast);
            fast->triangles[0] = plain->triangles[0] = t;
            DrawTriangle(*fast, 0, texture.data());
            ReferenceDrawTriangle(*plain, 0, texture.data());
            ASSERT_EQ(fast->subdivision, plain->subdivision);
            expectSameScreens(*fast, *plain, "triangle " + std::to_string(i) + " on " + std::to_string(view.width));
        }
    }
}

TEST(Rasteriser, FollowsFocalFactorsSetByHandAfterAResize)
{
    // The editor sets focalX and focalY to 256 after its first ResizeView.
    DemoSkins skins;
    const Object3D house = BuildHouse(skins);
    auto context = MakeTestContext(380, 384);
    context->bank.images[0] = std::make_unique<TextureImage>();
    for (std::size_t i = 0; i < context->bank.images[0]->size(); ++i)
        (*context->bank.images[0])[i] = static_cast<std::uint8_t>(i * 13);
    auto frame = [&](TriangleDrawer draw) {
        ClearScreen(*context, 0);
        SetCamera(*context, 0, 0, 0, 0, 0, 0);
        DrawObject(*context, house, 0, 0, 300, 2000, -1500, 0, 1, 0, 0);
        RenderScene(*context, draw);
        return context->screen.pixels;
    };
    frame(DrawTriangle);
    context->focalX = context->focalY = 256;
    EXPECT_EQ(frame(DrawTriangle), frame(ReferenceDrawTriangle));
}

TEST(Rasteriser, DrawsTheDemoObjectsExactlyAsThePlainVersion)
{
    Scene scene;
    DemoSkins skins;
    skins.roof = 1, skins.wood = 2, skins.stone = 3, skins.grass = 4, skins.tiles = 5, skins.metal = 6;
    skins.marble = 7, skins.grate = 8, skins.water = 9, skins.conveyor = 10;
    const Object3D house = BuildHouse(skins);
    const Object3D torus = BuildTorus(48, 20, 200, {0, 1, 2, 3, 8});
    for (const Object3D* object : {&house, &torus}) {
        for (const int yaw : {0, 3000, 11000}) {
            auto context = MakeTestContext(380, 384);
            scene.fillTables(*context);
            for (int n = 0; n <= 10; ++n) {
                context->bank.images[n] = std::make_unique<TextureImage>();
                for (auto& texel : *context->bank.images[n])
                    texel = static_cast<std::uint8_t>(scene.between(0, 4) == 0 ? 0 : scene.between(1, 255));
                context->bank.textures[n] = {n, n, n};
            }
            auto frame = [&](TriangleDrawer draw) {
                ClearScreen(*context, 0);
                SetCamera(*context, 0, 0, 0, 0, 0, 0);
                AddLight(*context, 0, 0, 250, 300);
                DrawObject(*context, *object, 0, -20, 250, yaw, -1500, 0, 40, 0, 0);
                RenderScene(*context, draw);
                return context->screen.pixels;
            };
            const std::vector<std::uint8_t> drawn = frame(DrawTriangle);
            ASSERT_GT(context->triangleCount, 20);
            ASSERT_EQ(drawn, frame(ReferenceDrawTriangle)) << "yaw " << yaw;
        }
    }
}
