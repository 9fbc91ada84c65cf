// Frames drawn in bands of rows by several threads are the frames one thread draws.
#include "DemoObjects.h"
#include "Rasteriser.h"
#include "ReferenceRasteriser.h"
#include "RenderTestSupport.h"
#include "RendererThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <random>
#include <vector>

namespace {

// A frame of one byte a band: each band writes the frame's number into its byte, through a
// helper's copy or directly.
struct NumberedFrame {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(RenderThreads::MaxBands);
    std::uint8_t number = 0;
    std::atomic<int> helperBands{0};
    std::atomic<bool> helpersStalled{false}; // helpers stop on their first band until cleared

    static void draw(void* data, int band, std::uint8_t* screen, BandWatch* watch)
    {
        auto& frame = *static_cast<NumberedFrame*>(data);
        if (watch != nullptr) {
            ++frame.helperBands;
            while (frame.helpersStalled) // as if the system did not schedule the helper
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else if (frame.helpersStalled) {
            // The calling thread goes slowly until a helper has taken a band.
            for (int wait = 0; wait < 1000 && frame.helperBands == 0; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        (screen != nullptr ? screen : frame.bytes.data())[band] = frame.number;
    }
    static void copy(void* data, int band, const std::uint8_t* from)
    {
        if (from == nullptr)
            return;
        auto& frame = *static_cast<NumberedFrame*>(data);
        frame.bytes[static_cast<std::size_t>(band)] = from[band];
    }
};

} // namespace

TEST(RenderThreads, PutsEveryBandInTheFrameOnce)
{
    RenderThreads threads(3);
    NumberedFrame frame;
    for (int number = 1; number <= 200; ++number) {
        const int bands = number % 7 == 0 ? 1 : number % 5 == 0 ? RenderThreads::MaxBands : 300;
        frame.number = static_cast<std::uint8_t>(number);
        ASSERT_TRUE(threads.ready());
        threads.run(bands, frame.bytes.size(), {NumberedFrame::draw, NumberedFrame::copy, &frame});
        for (int band = 0; band < bands; ++band)
            ASSERT_EQ(frame.bytes[static_cast<std::size_t>(band)], frame.number) << "frame " << number << " band " << band;
    }
}

TEST(RenderThreads, NeverWaitsForAHelperTheSystemLeavesAside)
{
    RenderThreads threads(1);
    NumberedFrame frame;
    frame.number = 9;
    frame.helpersStalled = true;
    const auto start = std::chrono::steady_clock::now();
    threads.run(64, frame.bytes.size(), {NumberedFrame::draw, NumberedFrame::copy, &frame});
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(frame.helperBands, 1) << "the helper took no band";
    for (int band = 0; band < 64; ++band)
        EXPECT_EQ(frame.bytes[static_cast<std::size_t>(band)], 9) << "band " << band;
    // The calling thread took the stalled band back rather than wait for it (the helper stays
    // stalled for the whole test until released below).
    EXPECT_FALSE(threads.ready());
    EXPECT_LT(took, std::chrono::seconds(5));
    frame.helpersStalled = false;
    threads.settle();
    EXPECT_TRUE(threads.ready());
    // The helper let go without writing anything of its band into the frame afterwards.
    frame.number = 10;
    threads.run(64, frame.bytes.size(), {NumberedFrame::draw, NumberedFrame::copy, &frame});
    for (int band = 0; band < 64; ++band)
        EXPECT_EQ(frame.bytes[static_cast<std::size_t>(band)], 10) << "band " << band;
}

namespace {

// A 32 x 32 view whose ray through row y is (X - 16, 16 - y, 256) / 256 x 256.
std::unique_ptr<RenderContext> smallView()
{
    auto context = MakeTestContext(32, 32);
    SetView(*context, 16, 16, 256, 256, 4, 10, 16);
    return context;
}

std::vector<std::uint8_t> drawnInBands(RenderContext& context, const RenderTriangle& t, const std::uint8_t* texture,
                                       const std::vector<int>& edges)
{
    ClearScreen(context, 77);
    int top = 0;
    for (const int edge : edges) {
        DrawTriangleRows(context, t, texture, top, edge);
        top = edge;
    }
    DrawTriangleRows(context, t, texture, top, context.maxY);
    return context.screen.pixels;
}

std::vector<std::uint8_t> drawnWhole(RenderContext& context, int index, const std::uint8_t* texture)
{
    ClearScreen(context, 77);
    DrawTriangle(context, index, texture);
    return context.screen.pixels;
}

// Random texels, a quarter of them 0 (the key colour), none 77 (the colour the screen is cleared
// to), so that a drawn pixel always shows.
TextureImage noise(std::mt19937& random)
{
    TextureImage texture;
    for (auto& texel : texture) {
        texel = static_cast<std::uint8_t>(random() % 4 == 0 ? 0 : random());
        if (texel == 77)
            texel = 78;
    }
    return texture;
}

} // namespace

TEST(DrawTriangleRows, BandsCutAnywhereDrawTheWholeTriangle)
{
    // Triangles of every kind, cut at every row: bands that hold no row of the triangle, bands
    // whose edge is a corner's row, bands of one row.
    std::mt19937 random(21);
    const TextureImage texture = noise(random);
    auto context = MakeTestContext(48, 40);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int i = 0; i < 300; ++i) {
        RenderTriangle t{};
        const int z = between(30, 400);
        t.x1 = between(-60, 60), t.y1 = between(-60, 60), t.z1 = z + between(-20, 20);
        t.x2 = between(-60, 60), t.y2 = between(-60, 60), t.z2 = z + between(-20, 20);
        t.x3 = between(-60, 60), t.y3 = between(-60, 60), t.z3 = z + between(-20, 20);
        t.sx1 = between(-10, 57), t.sy1 = between(-10, 49);
        t.sx2 = between(-10, 57), t.sy2 = between(-10, 49);
        t.sx3 = between(-10, 57), t.sy3 = between(-10, 49);
        t.faceType = std::array<int, 3>{FaceTextured, FaceTexturedKeyed, FacePlain}[between(0, 2)];
        t.blendLevel = between(0, 2) == 0 ? between(1, 16) : 0;
        t.mapping = between(0, 3);
        t.light1 = t.light2 = t.light3 = 128;
        t.texture = between(0, 255);
        context->triangles[0] = t;
        const std::vector<std::uint8_t> whole = drawnWhole(*context, 0, texture.data());
        for (int edge = -2; edge <= 41; ++edge)
            ASSERT_EQ(drawnInBands(*context, t, texture.data(), {edge}), whole) << "triangle " << i << " cut at " << edge;
        for (const int corner : {t.sy1, t.sy2, t.sy3})
            ASSERT_EQ(drawnInBands(*context, t, texture.data(), {corner, corner + 1}), whole) << "triangle " << i;
    }
}

TEST(DrawTriangleRows, AHalfEndedAboveTheBandStaysEndedInIt)
{
    // The face's reduced normal is (0, -32, 1): the denominator 256 - 32 (16 - y) is 0 on row 8,
    // where the ray runs parallel to the plane and the upper half ends. The lower half, from
    // row 20, is drawn again.
    auto context = smallView();
    std::mt19937 random(8);
    const TextureImage texture = noise(random);
    RenderTriangle t{};
    t.x1 = 0, t.y1 = 0, t.z1 = 100;
    t.x2 = 64, t.y2 = 0, t.z2 = 100;
    t.x3 = 64, t.y3 = 2, t.z3 = 164;
    t.sx1 = 10, t.sy1 = 2, t.sx2 = 4, t.sy2 = 20, t.sx3 = 26, t.sy3 = 28;
    t.light1 = t.light2 = t.light3 = 200;
    context->triangles[0] = t;
    const std::vector<std::uint8_t> whole = drawnWhole(*context, 0, texture.data());
    for (int y = 8; y < 20; ++y)
        ASSERT_EQ(ScreenPixel(*context, 10, y), 77) << "row " << y << " lies below the end of the upper half";
    ASSERT_NE(ScreenPixel(*context, 10, 5), 77);
    ASSERT_NE(ScreenPixel(*context, 12, 22), 77);
    for (int edge = 0; edge <= 31; ++edge)
        EXPECT_EQ(drawnInBands(*context, t, texture.data(), {edge}), whole) << "cut at " << edge;
}

namespace {

struct View {
    int width, height;
};

// The demo house and torus from several sides, drawn by `threads` threads: each frame, then its
// triangle list (the torus is large enough for helpers to share its points and faces).
std::vector<std::vector<std::uint8_t>> frames(const View& view, int threads, TriangleDrawer draw = nullptr)
{
    std::mt19937 random(4);
    auto context = MakeTestContext(view.width, view.height);
    for (int n = 0; n <= 3; ++n) {
        context->bank.images[n] = std::make_unique<TextureImage>(noise(random));
        context->bank.textures[n] = {n, n, n};
    }
    DemoSkins skins;
    skins.roof = 1, skins.grate = 2, skins.water = 3, skins.conveyor = 3;
    const Object3D house = BuildHouse(skins);
    const Object3D torus = BuildTorus(48, 20, 200, {0, 1, 2, 3});
    SetRenderThreads(*context, threads);
    std::vector<std::vector<std::uint8_t>> drawn;
    for (const Object3D* object : {&house, &torus}) {
        for (const std::int32_t yaw : {0, 3000, 11000, 20000}) {
            ClearScreen(*context, 0);
            SetCamera(*context, 0, 0, 0, 0, 0, 0);
            AddLight(*context, 0, 0, 250, 300);
            DrawObject(*context, *object, 0, -20, 250, yaw, -1500, 0, 40, 0, 0);
            RenderScene(*context, draw);
            drawn.push_back(context->screen.pixels);
            const auto* list = reinterpret_cast<const std::uint8_t*>(context->triangles.data());
            drawn.emplace_back(list, list + (context->triangleCount + 1) * sizeof(RenderTriangle));
        }
    }
    return drawn;
}

} // namespace

TEST(RenderScene, DrawsTheSameFramesWithOneThreadOrSeveral)
{
    // Views whose bands are even, uneven, one row high, or hold no triangle at all (the objects
    // leave the top and bottom rows of the tall view empty).
    for (const View view : {View{640, 480}, View{380, 384}, View{100, 61}, View{36, 7}, View{12, 2}, View{64, 300}}) {
        const auto plain = frames(view, 1, ReferenceDrawTriangle);
        EXPECT_EQ(frames(view, 1), plain) << view.width << " x " << view.height << ", one thread";
        for (const int threads : {2, 3, 5})
            EXPECT_EQ(frames(view, threads), plain) << view.width << " x " << view.height << ", " << threads << " threads";
    }
}
