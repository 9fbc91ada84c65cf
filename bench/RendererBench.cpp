// Frames of the demo's large object and of a 20,000-face one at 640 x 480 and 1280 x 960, and
// the fill rate of one large triangle, each against the plain rasteriser kept beside the tests.
//     build/bench/renderer_bench --benchmark_counters_tabular=true
#include "DemoObjects.h"
#include "EditorFrame.h"
#include "Rasteriser.h"
#include "ReferenceRasteriser.h"
#include "Renderer.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int TextureCount = 8;

// A context whose bank holds eight noisy textures with see-through texels, and tables that
// spread colours about (their contents do not change the work done).
std::unique_ptr<RenderContext> makeContext(int width, int height)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, width, height);
    std::mt19937 random(7);
    for (int n = 0; n < TextureCount; ++n) {
        context->bank.images[n] = std::make_unique<TextureImage>();
        for (int v = 0; v < 128; ++v)
            for (int u = 0; u < 128; ++u)
                (*context->bank.images[n])[v * 128 + u] =
                    static_cast<std::uint8_t>(((u / 16 + v / 16) % 2 ? 40 : 160) + n * 4 + random() % 8);
        context->bank.textures[n] = {n, n, n};
    }
    for (int level = 0; level < 256; ++level)
        for (int c = 0; c < 256; ++c)
            context->bank.shadeTable->entries[level * 256 + c] = static_cast<std::uint8_t>(c * level / 256);
    for (std::size_t i = 0; i < BlendTables::Size; ++i)
        context->bank.blendTables->entries[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    return context;
}

std::vector<std::uint16_t> textureNumbers()
{
    std::vector<std::uint16_t> numbers;
    for (int n = 0; n < TextureCount; ++n)
        numbers.push_back(static_cast<std::uint16_t>(n));
    return numbers;
}

// The demo's large object (96 x 28 quads, 5,376 faces) and one of 200 x 50 quads (20,000 faces),
// both reaching 1520 units from their centre, seen from above so that they fill about three
// quarters of the view. The view scales with the screen, so a larger screen is filled alike.
const Object3D& torus(int faces)
{
    static const Object3D demo = BuildTorus(96, 28, 1520, textureNumbers());
    static const Object3D large = BuildTorus(200, 50, 1520, textureNumbers());
    return faces == 5376 ? demo : large;
}

EditorView benchView()
{
    EditorView view;
    view.yaw = 1200;
    view.pitch = -6500;
    view.distance = 1400;
    return view;
}

double coveredShare(const RenderContext& context)
{
    std::size_t drawn = 0;
    const std::size_t pixels = static_cast<std::size_t>(context.screen.width) * context.screen.height;
    for (std::size_t i = 0; i < pixels; ++i)
        drawn += context.screen.pixels[i] != 0;
    return static_cast<double>(drawn) / pixels;
}

void frame(benchmark::State& state, TriangleDrawer draw)
{
    const int faces = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), height = width * 3 / 4;
    auto context = makeContext(width, height);
    const Object3D& object = torus(faces);
    const EditorView view = benchView();
    DrawEditorFrame(*context, object, view, draw);
    for (auto _ : state) {
        DrawEditorFrame(*context, object, view, draw);
        benchmark::DoNotOptimize(context->screen.pixels.data());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["covered"] = coveredShare(*context);
    state.counters["triangles"] = context->triangleCount + 1;
}

void BM_Frame(benchmark::State& state) { frame(state, DrawTriangle); }
void BM_FramePlain(benchmark::State& state) { frame(state, ReferenceDrawTriangle); }

// One textured, shaded triangle over most of a 1280 x 960 view, leaning away from the eye.
void fill(benchmark::State& state, TriangleDrawer draw)
{
    auto context = makeContext(1280, 960);
    RenderTriangle t{};
    // Eye-space corners of a face leaning back; its screen points reach the view's corners.
    t.x1 = -640, t.y1 = 500, t.z1 = 600;
    t.x2 = 640, t.y2 = 500, t.z2 = 600;
    t.x3 = 640, t.y3 = -500, t.z3 = 450;
    t.sx1 = 0, t.sy1 = 0, t.sx2 = 1279, t.sy2 = 0, t.sx3 = 1279, t.sy3 = 959;
    t.faceType = static_cast<std::int32_t>(state.range(1));
    t.blendLevel = static_cast<std::int32_t>(state.range(0));
    t.light1 = t.light2 = t.light3 = 200;
    t.mapping = 0;
    context->triangles[0] = t;
    context->triangleCount = 1;
    const std::uint8_t* texture = context->bank.image(3);
    ClearScreen(*context, 0);
    draw(*context, 0, texture);
    const double pixels = coveredShare(*context) * 1280 * 960;
    for (auto _ : state) {
        draw(*context, 0, texture);
        benchmark::DoNotOptimize(context->screen.pixels.data());
    }
    state.counters["Mpixel/s"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()) / 1e6,
                                                    benchmark::Counter::kIsRate);
    state.counters["pixels"] = pixels;
}

void BM_FillRate(benchmark::State& state) { fill(state, DrawTriangle); }
void BM_FillRatePlain(benchmark::State& state) { fill(state, ReferenceDrawTriangle); }

// (faces, screen width): the demo object and the 20,000-face one at 640 x 480 and 1280 x 960.
void frameSizes(benchmark::internal::Benchmark* b)
{
    for (const int faces : {5376, 20000})
        for (const int width : {640, 1280})
            b->Args({faces, width});
}

// (blend level, face type): opaque textured, see-through (level 8), keyed.
void fillKinds(benchmark::internal::Benchmark* b)
{
    b->Args({0, 0});
    b->Args({8, 0});
    b->Args({0, 1});
}

} // namespace

BENCHMARK(BM_Frame)->Apply(frameSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePlain)->Apply(frameSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRate)->Apply(fillKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRatePlain)->Apply(fillKinds)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
