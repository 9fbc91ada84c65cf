// A maximised view: the frame of 1920 x 1080 painted into a window's 32-bit image, by Qt's own
// painting of the 8-bit image against PresentScreen's conversion kept between frames; and the
// whole of what a frame costs the editor there (DrawEditorFrame, then PresentScreen) for the demo
// torus framed whole and for a 20,000-face sphere filling the view, on one thread and on one per
// processor. A display frame lasts 16.7 ms.
//     build/bin/display_bench --benchmark_counters_tabular=true
#include "BenchContext.h"
#include "EditorFrame.h"
#include "K3xDisplay.h"
#include "ObjectFile.h"
#include "Renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr int Width = 1920, Height = 1080;

std::unique_ptr<RenderContext> demoContext()
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, Width, Height);
    LoadRenderBank("DEMO.DEF", *context);
    return context;
}

// (0: Qt paints the 8-bit image, 1: PresentScreen)
void BM_PaintFrame(benchmark::State& state)
{
    auto context = demoContext();
    Object3D torus;
    LoadObject("TORUS.3DO", torus);
    const ObjectFit fit = FitObjectInView(torus, *context);
    EditorView view;
    view.pitch = -3000;
    view.distance = fit.distance;
    view.height = fit.height;
    DrawEditorFrame(*context, torus, view);
    QImage window(Width, Height, QImage::Format_RGB32);
    QPainter painter(&window);
    for (auto _ : state) {
        if (state.range(0) == 0)
            DrawImage(context->screen, 0, 0, painter);
        else
            PresentScreen(painter, false, 0, 0, Width, Height, context->screen);
    }
}

// (0: the demo torus framed whole, 1: the 20,000-face sphere filling the view; threads, 0 one
// per processor)
void BM_DrawAndPaint(benchmark::State& state)
{
    auto context = demoContext();
    SetRenderThreads(*context, static_cast<int>(state.range(1)));
    Object3D torus;
    LoadObject("TORUS.3DO", torus);
    const Object3D& object = state.range(0) == 0 ? torus : BenchSphere(100, 101);
    EditorView view;
    if (state.range(0) == 0) {
        const ObjectFit fit = FitObjectInView(torus, *context);
        view.pitch = -3000;
        view.distance = fit.distance;
        view.height = fit.height;
    } else {
        view = BenchSphereView();
        view.distance = 1100;
    }
    QImage window(Width, Height, QImage::Format_RGB32);
    QPainter painter(&window);
    for (auto _ : state) {
        DrawEditorFrame(*context, object, view);
        PresentScreen(painter, false, 0, 0, Width, Height, context->screen);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["covered"] = CoveredShare(*context);
}

} // namespace

BENCHMARK(BM_PaintFrame)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawAndPaint)->Args({0, 1})->Args({0, 0})->Args({1, 1})->Args({1, 0})->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::filesystem::current_path(ORMEL_DEMO_DIR);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
