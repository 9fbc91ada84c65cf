// Frames of the demo's large object, of a 20,000-face one and of the peer benchmark's two spheres
// at 640 x 480 and 1280 x 960, and the fill rate of one large triangle, each against the plain rasteriser kept beside the tests.
//     build/bin/renderer_bench --benchmark_counters_tabular=true
#include "BenchContext.h"
#include "EditorFrame.h"
#include "Rasteriser.h"
#include "ReferenceRasteriser.h"
#include "Renderer.h"

#include <benchmark/benchmark.h>

namespace {

// The objects measured: the demo's large object (96 x 28 quads, 5,376 faces) and one of 200 x 50
// quads (20,000 faces), both reaching 1520 units from their centre, seen from above so that they
// fill about three quarters of the view; and the peer benchmark's spheres of 2,000 and 20,000
// faces. The view scales with the screen, so a larger screen is filled alike.
enum BenchObject { DemoTorus, LargeTorus, SmallSphere, LargeSphere };

const Object3D& benchObject(int which)
{
    switch (which) {
    case DemoTorus:
        return BenchTorus(96, 28);
    case LargeTorus:
        return BenchTorus(200, 50);
    case SmallSphere:
        return BenchSphere(50, 21);
    default:
        return BenchSphere(100, 101);
    }
}

EditorView benchView(int which)
{
    return which == SmallSphere || which == LargeSphere ? BenchSphereView() : BenchTorusView();
}

// (object, screen width, threads: 0 one per processor)
void frame(benchmark::State& state, TriangleDrawer draw)
{
    const int which = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), height = width * 3 / 4;
    auto context = MakeBenchContext(width, height);
    SetRenderThreads(*context, static_cast<int>(state.range(2)));
    const Object3D& object = benchObject(which);
    const EditorView view = benchView(which);
    DrawEditorFrame(*context, object, view, draw);
    for (auto _ : state) {
        DrawEditorFrame(*context, object, view, draw);
        benchmark::DoNotOptimize(context->screen.pixels.data());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["covered"] = CoveredShare(*context);
    state.counters["triangles"] = context->triangleCount + 1;
}

void BM_Frame(benchmark::State& state) { frame(state, DrawTriangle); }
void BM_FramePlain(benchmark::State& state) { frame(state, ReferenceDrawTriangle); }

// One textured, shaded triangle over most of a 1280 x 960 view, leaning away from the eye.
void fill(benchmark::State& state, TriangleDrawer draw)
{
    auto context = MakeBenchContext(1280, 960);
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
    const double pixels = CoveredShare(*context) * 1280 * 960;
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

// Every object at 640 x 480 and 1280 x 960, on one thread and on one per processor.
void frameSizes(benchmark::internal::Benchmark* b)
{
    for (const int which : {DemoTorus, LargeTorus, SmallSphere, LargeSphere})
        for (const int width : {640, 1280})
            for (const int threads : {1, 0})
                b->Args({which, width, threads});
}

// The plain rasteriser draws on one thread.
void plainFrameSizes(benchmark::internal::Benchmark* b)
{
    for (const int which : {DemoTorus, LargeTorus, SmallSphere, LargeSphere})
        for (const int width : {640, 1280})
            b->Args({which, width, 1});
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
BENCHMARK(BM_FramePlain)->Apply(plainFrameSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRate)->Apply(fillKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRatePlain)->Apply(fillKinds)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
